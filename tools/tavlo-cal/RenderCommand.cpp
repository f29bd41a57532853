#include "RenderCommand.h"

#include "AtomicFile.h"
#include "CalendarArgs.h"
#include "ChnCalendarPicker.h"
#include "DateTimeValue.h"
#include "FileError.h"
#include "FontSubstitutions.h"
#include "QtNotices.h"

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

RenderOptions parseRender(const tool::Invocation& call) {
    RenderOptions options;
    if (const auto size = call.value("--size")) parseSize(*size, options);
    options.weekNumbers = call.has("--week-numbers");
    options.title = !call.has("--no-title");
    const std::vector<std::string>& operands = call.operands;
    options.out = operands.back();
    if (operands.size() == 2) {
        options.date = parseControlDay(operands.front());
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

}  // namespace

tool::Command renderCommand() {
    return {.name = "render",
            .arguments = "[YYYY-MM-DD] 输出.png [--size 宽x高] [--week-numbers] [--no-title]",
            .summary = "把日历控件画成 PNG 图片：选中这一天（不写时为今天），标出放假和调休上班的日子",
            .details =
                "日期从 0001-01-01 到 2100-12-31（格里历）。输出是文件时整个换成新图片；"
                "也可以是设备或管道（如 /dev/stdout）。",
            .fewestOperands = 1,
            .mostOperands = 2,
            .options = {{"--size", "宽x高", "图片的尺寸，1x1 至 8000x8000，默认 419x255（主窗口中日历的大小）"},
                        {"--week-numbers", "", "在每行前面显示周数"},
                        {"--no-title", "", "不画标题栏（年月和翻页按钮）"}}};
}

int runRender(const tool::Invocation& call, std::shared_ptr<const holidays::HolidayTable> table) {
    const RenderOptions options = parseRender(call);
    // Drawn off screen whatever display there is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tool::quietQtNotices();
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
    if (!QImageWriter(&buffer, "png").write(image)) throw tool::Failure("无法把日历编码为 PNG");
    writePicture(options.out, png);
    return 0;
}

}  // namespace tavlo::cal
