#include "PrivateSessionBus.h"

#include <gio/gio.h>  // before Qt, whose "signals" keyword clashes with it

#include <QCoreApplication>

#include <cstdlib>
#include <stdexcept>

namespace tavlo::test {

PrivateSessionBus::PrivateSessionBus() {
    for (const char* name : {"config", "runtime", "data"}) std::filesystem::create_directory(folder_ / name);
    std::filesystem::permissions(folder_ / "runtime", std::filesystem::perms::owner_all);
    setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (folder_ / "runtime").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
    setenv("GSETTINGS_BACKEND", "dconf", 1);
    unsetenv("GSETTINGS_SCHEMA_DIR");

    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--print-address=1"});
    const std::optional<std::string> address = daemon_->readLine();
    if (!address) throw std::runtime_error("dbus-daemon did not start");
    setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);

    // GIO's shared session connection (the settings store's too) ends the
    // process when the bus goes away, as it does when the tests end first.
    // The reference is kept: GIO forgets a shared connection nobody holds.
    if (GDBusConnection* shared = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr))
        g_dbus_connection_set_exit_on_close(shared, FALSE);
}

PrivateSessionBus* PrivateSessionBus::instance() {
    if (!programInPath("dbus-daemon")) return nullptr;
    static PrivateSessionBus bus;
    // Qt's D-Bus connections expect an application object; it lives as long
    // as the program.
    static int argc = 1;
    static char name[] = "wallpaper_dbus_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    return &bus;
}

}  // namespace tavlo::test
