#pragma once
#include <QDBusMessage>
#include <QString>

namespace tavlo::wallpaper {

// Sends a method call on the session bus and waits for the answer. Throws
// WallpaperError, prefixed with `desktop`, when the bus cannot be reached or
// the call comes back with an error.
QDBusMessage callSessionBus(const std::string& desktop, const QDBusMessage& call);

}  // namespace tavlo::wallpaper
