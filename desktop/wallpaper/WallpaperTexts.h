#pragma once
#include "DesktopDetection.h"

#include <filesystem>
#include <string>

// Every text of the wallpaper module that a user may see: the reasons for the
// choice of a backend and the causes of failures, one Chinese phrase each
// (no closing full stop: they are built into sentences).
namespace tavlo::wallpaper::texts {

// What the user is told when `picture` could not be made the wallpaper.
std::string failureMessage(const std::string& cause, const std::filesystem::path& picture);

// The desktop's name in a sentence ("GNOME", "KDE Plasma", "Deepin").
std::string desktopTitle(BackendKind kind);

// Reasons for a choice.
std::string namedBy(const std::string& variable, const std::string& value, BackendKind kind);
std::string sessionVariable(const std::string& variable, BackendKind kind);
std::string swaySocket(const std::string& socket);
std::string wlrootsCompositor(const std::string& value);
std::string unknownWayland(const std::string& display);
std::string x11Root(const std::string& display);
std::string noSession();
std::string drawsItsOwnBackground(const std::string& variable, const std::string& value);
std::string desktopWindowOf(const std::string& program, BackendKind kind);
std::string unknownDesktopWindow(const std::string& program);
std::string desktopProgramNotRunning(const std::string& reason, const std::string& program);
std::string noPortalUseSwaybg(const std::string& reason);
std::string nothingOnWayland(const std::string& reason);
std::string windowsDesktop();
std::string notOnThisPlatform(BackendKind kind);

// Causes: the settings store.
std::string schemaMissing(const std::string& schema);
std::string keyMissing(const std::string& schema, const std::string& key);
std::string noSettingsStore();
std::string pathNotUtf8();
std::string pathNotUri();
std::string settingLocked(const std::string& schema, const std::string& key);
std::string settingNotKept(const std::string& schema, const std::string& key);

// Causes: D-Bus services.
std::string noSessionBus();
std::string serviceNotRunning(BackendKind kind, const std::string& service);
std::string serviceSilent(BackendKind kind, const std::string& service);
std::string serviceDenied(BackendKind kind, const std::string& service);
std::string serviceRefused(BackendKind kind, const std::string& service, const std::string& method);
std::string plasmaLocked();
std::string noMonitor(BackendKind kind);
// One monitor's wallpaper was not set: the monitor named, then why.
std::string onMonitor(const std::string& monitor, const std::string& cause);
// The desktop lists no monitor of that name any more.
std::string monitorGone();
// A picture whose path holds a line break cannot be remembered for the next login.
std::string pathHasLineBreak();
// The program folder's path is not UTF-8: no desktop runs a login entry naming it.
std::string entryPathNotUtf8();

// Causes: sway's IPC.
std::string noSwaySocket();
std::string swaySocketPathTooLong();
std::string swayUnreachable();
std::string swayTalkBroken();
std::string swayRefused();
std::string swayReplyUnknown();
std::string pathHasControlCharacter();

// Causes: the X11 root window.
std::string pictureUnreadable();
std::string displayUnreachable(const std::string& display);
std::string noTrueColour();
std::string noMemoryForScreen();
std::string x11Refused();
std::string rootCovered(const std::string& program);

// Causes: desktop programs and background clients.
std::string programMissing(const std::string& program);
std::string programFailed(const std::string& program, int status);
std::string programHung(const std::string& program);
std::string desktopNotRunning(BackendKind kind, const std::string& program);
std::string pictureNotLoaded(BackendKind kind, const std::string& program);
std::string backgroundClientExited(const std::string& program);
std::string backgroundClientSilent(const std::string& program);
std::string backgroundClientCannotLoad(const std::string& program);
std::string wallpaperProgramRefused(const std::string& program);

// Causes: the desktop portal.
std::string portalMissing();
std::string portalCancelled();
std::string portalFailed();
std::string portalSilent();

// Causes: Windows.
std::string registryUnwritable();
std::string systemRefused();

// Restoring at login.
std::string nothingToRestore();

}  // namespace tavlo::wallpaper::texts
