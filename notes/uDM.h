#pragma once
#include "ProgramFolder.h"

#include <QObject>

namespace tavlo {

// The data module: holds the notes database connection and its query. Made
// first of all windows at start-up and kept for the whole run.
class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(const ProgramFolder& folder, QObject* parent = nullptr);

    // Its creation handler; does nothing.
    void DataModuleCreate() {}
};

}  // namespace tavlo
