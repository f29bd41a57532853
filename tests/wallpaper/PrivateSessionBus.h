#pragma once
#include "ChildProcess.h"
#include "TempFolder.h"

#include <memory>

namespace tavlo::test {

// A D-Bus session bus of the test program's own, started on first use and
// ended when the program exits. Before it starts, the process environment is
// pointed at private folders (settings, runtime) so that the services the bus
// starts on demand (the settings store, xfconfd) keep nothing outside them;
// DBUS_SESSION_BUS_ADDRESS then names the bus for this process and its children.
class PrivateSessionBus {
public:
    // nullptr when dbus-daemon is not installed.
    static PrivateSessionBus* instance();

    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    PrivateSessionBus();

    TempFolder folder_;
    std::unique_ptr<ChildProcess> daemon_;
};

}  // namespace tavlo::test
