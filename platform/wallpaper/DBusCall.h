#pragma once
#include <QDBusMessage>
#include <QString>

#include <string>

namespace tavlo::wallpaper {

// Sends a method call on the session bus and waits for the answer. Throws
// WallpaperError, prefixed with `desktop`, when the bus cannot be reached or
// the call comes back with an error.
QDBusMessage callSessionBus(const std::string& desktop, const QDBusMessage& call);

// The same, but an error answer is returned rather than thrown, for callers
// that expect some errors.
QDBusMessage callSessionBusAllowingErrors(const std::string& desktop, const QDBusMessage& call);

// The one-line text of an error answer to `call`.
std::string callError(const std::string& desktop, const QDBusMessage& call, const QDBusMessage& reply);

}  // namespace tavlo::wallpaper
