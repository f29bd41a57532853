#include "SwayWallpaper.h"
#include "SwayIpc.h"
#include "WallpaperTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cctype>
#include <vector>

namespace tavlo::wallpaper {
namespace {

[[noreturn]] void fail(const std::string& cause, const std::string& what) {
    throw WallpaperError(cause, "sway: " + what);
}

// The reply is a list with one {"success": bool, "error": text} per
// command; `outputs` names the output of each command, for the message.
void checkReply(const std::string& reply, const std::vector<std::string>& outputs) {
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(reply));
    if (!document.isArray() || document.array().isEmpty())
        fail(texts::swayReplyUnknown(), "unexpected IPC reply: " + reply);
    const QJsonArray results = document.array();
    for (qsizetype i = 0; i < results.size(); ++i) {
        const QJsonObject object = results[i].toObject();
        if (object.value(QStringLiteral("success")).toBool()) continue;
        const std::string error = object.value(QStringLiteral("error"))
                                      .toString(QStringLiteral("no reason given"))
                                      .simplified()
                                      .toStdString();
        const std::string output =
            i < static_cast<qsizetype>(outputs.size()) ? outputs[static_cast<std::size_t>(i)] : "*";
        if (output == "*") fail(texts::swayRefused(), "the compositor refused the wallpaper: " + error);
        fail(texts::onMonitor(output, texts::swayRefused()),
             "the compositor refused the wallpaper of output " + output + ": " + error);
    }
}

// Sway splits commands at ; and , and arguments at blanks, then expands the
// file name like a shell. A backslash keeps a character plain through all of
// that, except that two escaped separators in a row split the command: those
// go in double quotes, which every stage respects too. Control characters
// cannot pass through the expansion.
std::string escapedPath(const std::string& path) {
    std::string escaped;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            fail(texts::pathHasControlCharacter(), "the picture path contains a control character");
        if (byte >= 0x80 || std::isalnum(byte) || c == '/' || c == '.' || c == '_' || c == '-')
            escaped += c;
        else if (c == ';' || c == ',')
            escaped += std::string("\"") + c + '"';
        else
            escaped += std::string("\\") + c;
    }
    return escaped;
}

}  // namespace

std::string SwayWallpaper::command(const std::filesystem::path& path, const std::string& output) {
    const std::string target = output == "*" ? output : escapedPath(output);
    return "output " + target + " bg " + escapedPath(std::filesystem::absolute(path).string()) + " stretch";
}

// Every bg command makes sway start a new background client, which reads
// the file again: the same path shows the new picture.
void SwayWallpaper::SetWallpaper(const std::filesystem::path& path) {
    checkReply(sway::request(socketPath_, sway::kRunCommand, command(path)), {"*"});
}

void SwayWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    std::string commands;
    std::vector<std::string> outputs;
    for (const MonitorPicture& picture : pictures) {
        if (!commands.empty()) commands += ';';
        commands += command(picture.picture, picture.monitor.name);
        outputs.push_back(picture.monitor.name);
    }
    if (commands.empty()) return;
    checkReply(sway::request(socketPath_, sway::kRunCommand, commands), outputs);
}

}  // namespace tavlo::wallpaper
