#pragma once
#include "DesktopDetection.h"

#include <QDBusMessage>
#include <QString>

#include <string>

namespace tavlo::wallpaper {

// Sends a method call on the session bus and waits for the answer. Throws
// WallpaperError, its cause naming `desktop`'s service, when the bus cannot
// be reached or the call comes back with an error.
QDBusMessage callSessionBus(BackendKind desktop, const QDBusMessage& call);

// The same, but an error answer is returned rather than thrown, for callers
// that expect some errors.
QDBusMessage callSessionBusAllowingErrors(BackendKind desktop, const QDBusMessage& call);

// The error for an error answer to `call`: a Chinese cause from the error's
// name, the service's own text for the log.
[[noreturn]] void throwCallError(BackendKind desktop, const QDBusMessage& call, const QDBusMessage& reply);

// A property of `service`'s object `path`, read through
// org.freedesktop.DBus.Properties; throws as callSessionBus does.
QVariant readProperty(BackendKind desktop, const QString& service, const QString& path, const QString& interface,
                      const QString& property);

// Whether the interface's error name says that no one answers at the name.
bool isServiceMissing(const QDBusMessage& reply);

}  // namespace tavlo::wallpaper
