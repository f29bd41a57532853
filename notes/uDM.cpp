#include "uDM.h"

namespace tavlo {

TDM::TDM(const ProgramFolder& folder, QObject* parent, notes::Connection::Mode mode)
    : QObject(parent), AdoCon(folder.path(kDatabaseName), mode), qryData(AdoCon) {
    setObjectName(QStringLiteral("DM"));
    DataModuleCreate();
}

}  // namespace tavlo
