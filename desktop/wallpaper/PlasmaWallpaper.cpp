#include "PlasmaWallpaper.h"
#include "DBusCall.h"
#include "PicturePath.h"
#include "WallpaperTexts.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace tavlo::wallpaper {
namespace {

// The image wallpaper's fill mode for "scale to fill, ignoring the aspect
// ratio" (the value of QML's Image.Stretch).
constexpr int kStretchFillMode = 0;

// A JavaScript string literal holding `text`.
QString scriptString(const QString& text) {
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

void evaluate(const QString& script) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
                                       QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << script;
    const QDBusMessage reply = callSessionBusAllowingErrors(BackendKind::Kde, call);
    if (reply.type() != QDBusMessage::ErrorMessage) return;
    // The shell refuses scripts that change desktops while widgets are locked.
    if (reply.errorMessage().contains(QLatin1String("locked"), Qt::CaseInsensitive))
        throw WallpaperError(texts::plasmaLocked(), "kde: " + reply.errorMessage().simplified().toStdString());
    throwCallError(BackendKind::Kde, call, reply);
}

}  // namespace

QString PlasmaWallpaper::script(const QString& imageUrl) {
    return QStringLiteral(
               "var all = desktops();\n"
               "for (var i = 0; i < all.length; ++i) {\n"
               "    var d = all[i];\n"
               "    d.wallpaperPlugin = \"org.kde.image\";\n"
               "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
               "    d.writeConfig(\"Image\", %1);\n"
               "    d.writeConfig(\"FillMode\", %2);\n"
               "}\n")
        .arg(scriptString(imageUrl), QString::number(kStretchFillMode));
}

QString PlasmaWallpaper::monitorScript(const std::vector<MonitorPicture>& pictures) {
    QString list;
    for (const MonitorPicture& picture : pictures)
        list += QStringLiteral("    {x: %1, y: %2, url: %3},\n")
                    .arg(QString::number(picture.monitor.x), QString::number(picture.monitor.y),
                         scriptString(fileAddress(picture.picture)));
    return QStringLiteral(
               "var pictures = [\n%1];\n"
               "var all = desktops();\n"
               "for (var i = 0; i < all.length; ++i) {\n"
               "    var d = all[i];\n"
               "    var g = screenGeometry(d.screen);\n"
               "    var url = pictures[0].url;\n"
               "    for (var k = 0; k < pictures.length; ++k)\n"
               "        if (g && pictures[k].x == g.x && pictures[k].y == g.y) url = pictures[k].url;\n"
               "    d.wallpaperPlugin = \"org.kde.image\";\n"
               "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
               "    d.writeConfig(\"Image\", url);\n"
               "    d.writeConfig(\"FillMode\", %2);\n"
               "}\n")
        .arg(list, QString::number(kStretchFillMode));
}

void PlasmaWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    if (!pictures.empty()) evaluate(monitorScript(pictures));
}

void PlasmaWallpaper::SetWallpaper(const std::filesystem::path& path) {
    const QString url = fileAddress(path);
    // Plasma keeps the picture it shows while the configured image stays the
    // same; the caller hands over a path other than the one it has.
    evaluate(script(url));
}

}  // namespace tavlo::wallpaper
