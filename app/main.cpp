#include "Program.h"

int main(int argc, char* argv[]) {
    return tavlo::app::runProgram(argc, argv, tavlo::ProgramFolder::ofExecutable());
}
