#include "ProgramFolder.h"

namespace tavlo {

std::filesystem::path executablePath() {
    return std::filesystem::read_symlink("/proc/self/exe");
}

}  // namespace tavlo
