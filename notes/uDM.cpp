#include "uDM.h"

namespace tavlo {

TDM::TDM(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DM"));
    DataModuleCreate();
}

}  // namespace tavlo
