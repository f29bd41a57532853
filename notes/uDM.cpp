#include "uDM.h"

namespace tavlo {

TDM::TDM(const ProgramFolder& folder, QObject* parent)
    : QObject(parent), AdoCon(folder.path(kDatabaseName)), qryData(AdoCon) {
    setObjectName(QStringLiteral("DM"));
    DataModuleCreate();
}

}  // namespace tavlo
