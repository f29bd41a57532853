#include "uDM.h"

namespace tavlo {

TDM::TDM(const ProgramFolder&, QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DM"));
    DataModuleCreate();
}

}  // namespace tavlo
