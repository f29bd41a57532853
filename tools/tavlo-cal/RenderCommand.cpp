#include "RenderCommand.h"

#include "AtomicFile.h"
#include "CalendarArgs.h"
#include "ChnCalendarPicker.h"
#include "DateTimeValue.h"
#include "FileError.h"
#include "FontSubstitutions.h"

#include <QApplication>
#include <QBuffer>
#include <QDate>
#include <QImage>
#include <QImageWriter>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <regex>

namespace tavlo::cal {
namespace {

constexpr int kLargestSide = 8000;  // keeps the off-screen image to a sane size

struct RenderOptions {
    double date = 0;
    std::string out;
    int width = 419, height = 255;  // the main window's calendar
    bool weekNumbers = false;
    bool title = true;
};

// A day of the control's calendar: proleptic Gregorian, years 1..2100.
double parseControlDay(const std::string& text) {
    static const std::regex form(R"((\d{4})-(\d{2})-(\d{2}))");
    std::smatch parts;
    if (!std::regex_match(text, parts, form)) throw UsageError("日期格式不对：" + text + "（应为 YYYY-MM-DD）");
    const int year = std::stoi(parts[1]), month = std::stoi(parts[2]), day = std::stoi(parts[3]);
    double value = 0;
    if (!lunar::TryEncodeDate(year, month, day, value)) throw UsageError("没有这一天：" + text);
    if (year < 1 || year > 2100) throw UsageError("日历只显示 0001 至 2100 年，没有 " + text);
    return value;
}

void parseSize(const std::string& text, RenderOptions& options) {
    static const std::regex form(R"((\d{1,5})x(\d{1,5}))");
    std::smatch parts;
    if (!std::regex_match(text, parts, form)) throw UsageError("尺寸格式不对：" + text + "（应为 宽x高）");
    options.width = std::stoi(parts[1]);
    options.height = std::stoi(parts[2]);
    if (options.width < 1 || options.height < 1 || options.width > kLargestSide || options.height > kLargestSide)
        throw UsageError("尺寸 " + text + " 不在 1x1 至 " + std::to_string(kLargestSide) + "x" +
                         std::to_string(kLargestSide) + " 之内");
}

RenderOptions parseRender(const std::vector<std::string>& args) {
    RenderOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size") {
            if (i + 1 == args.size()) throw UsageError("--size 后面应有尺寸（宽x高）");
            parseSize(args[++i], options);
        } else if (args[i] == "--week-numbers") {
            options.weekNumbers = true;
        } else if (args[i] == "--no-title") {
            options.title = false;
        } else if (args[i].starts_with("--")) {
            throw UsageError("未知的选项：" + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.empty() || positional.size() > 2)
        throw UsageError("用法：tavlo-cal render [YYYY-MM-DD] 输出.png [--size 宽x高] [--week-numbers] [--no-title]");
    options.out = positional.back();
    if (positional.size() == 2) {
        options.date = parseControlDay(positional.front());
    } else {
        const QDate today = QDate::currentDate();
        options.date = lunar::EncodeDate(today.year(), today.month(), today.day());
    }
    return options;
}

// Writes to a device or a pipe (/dev/stdout, /dev/full) as it stands.
void writeStream(const std::filesystem::path& path, const QByteArray& bytes) {
#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"wb");
#else
    std::FILE* file = std::fopen(path.c_str(), "wb");
#endif
    if (!file) throw FileError("打开", path, errno);
    errno = 0;
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file) ==
                             static_cast<std::size_t>(bytes.size()) &&
                         std::fflush(file) == 0;
    const int error = errno;
    if (std::fclose(file) != 0 || !written) throw FileError("写入", path, error ? error : errno);
}

// A file is replaced whole or not at all; what cannot be replaced (a device,
// a pipe) is written to directly.
void writePicture(const std::string& out, const QByteArray& bytes) {
    const std::filesystem::path path(out);
    std::error_code unknown;
    const std::filesystem::file_type type = std::filesystem::status(path, unknown).type();
    if (type == std::filesystem::file_type::character || type == std::filesystem::file_type::fifo ||
        type == std::filesystem::file_type::block) {
        writeStream(path, bytes);
        return;
    }
    AtomicFile file(path, AtomicFile::Sync::Fast);
    file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    file.commit();
}

// Qt's own notices (a missing runtime folder, font fallbacks) are for
// developers; the tool's user reads only its own Chinese messages.
void quietQtNotices(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int runRender(const std::vector<std::string>& args, std::shared_ptr<const holidays::HolidayTable> table) {
    const RenderOptions options = parseRender(args);
    // Drawn off screen whatever display there is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQtNotices);
    int argc = 1;
    char name[] = "tavlo-cal";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    widgets::registerFontSubstitutions();

    TChnCalendar control(nullptr, std::move(table));
    control.setAttribute(Qt::WA_DontShowOnScreen);
    control.resize(options.width, options.height);
    control.setShowWeekNum(options.weekNumbers);
    control.setShowTitle(options.title);
    control.setDateTime(options.date);
    control.show();
    QImage image(control.size(), QImage::Format_RGB32);
    control.render(&image);

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(image)) {
        std::fprintf(stderr, "tavlo-cal: 无法把日历编码为 PNG\n");
        return 1;
    }
    try {
        writePicture(options.out, png);
    } catch (const FileError& error) {
        std::fprintf(stderr, "tavlo-cal: %s\n", error.what());
        return 1;
    }
    return 0;
}

}  // namespace tavlo::cal
