#include "SwayOutputs.h"
#include "SwayIpc.h"
#include "WallpaperBackend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace tavlo::wallpaper {

MonitorLayout parseSwayOutputs(const std::string& reply) {
    MonitorLayout monitors;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(reply));
    for (const QJsonValue& value : document.array()) {
        const QJsonObject output = value.toObject();
        if (!output.value(QStringLiteral("active")).toBool()) continue;
        const QJsonObject mode = output.value(QStringLiteral("current_mode")).toObject();
        const QJsonObject rect = output.value(QStringLiteral("rect")).toObject();
        const double scale = output.value(QStringLiteral("scale")).toDouble(1.0);
        Monitor monitor;
        monitor.name = output.value(QStringLiteral("name")).toString().toStdString();
        monitor.width = mode.value(QStringLiteral("width")).toInt();
        monitor.height = mode.value(QStringLiteral("height")).toInt();
        // A turned output shows its mode on its side.
        const QString transform = output.value(QStringLiteral("transform")).toString();
        if (transform.contains(QLatin1String("90")) || transform.contains(QLatin1String("270")))
            std::swap(monitor.width, monitor.height);
        monitor.x = static_cast<int>(std::lround(rect.value(QStringLiteral("x")).toDouble() * scale));
        monitor.y = static_cast<int>(std::lround(rect.value(QStringLiteral("y")).toDouble() * scale));
        monitor.primary = output.value(QStringLiteral("primary")).toBool();
        if (!monitor.name.empty() && monitor.width > 0 && monitor.height > 0) monitors.push_back(monitor);
    }
    return monitors;
}

std::optional<MonitorLayout> swayOutputs(const std::string& socketPath) {
    if (socketPath.empty()) return std::nullopt;
    try {
        return parseSwayOutputs(sway::request(socketPath, sway::kGetOutputs, {}));
    } catch (const WallpaperError&) {
        return std::nullopt;
    }
}

}  // namespace tavlo::wallpaper
