#include "RenderCommand.h"

#include "CalendarArgs.h"
#include "ChnCalendarPicker.h"
#include "DateTimeValue.h"
#include "FontSubstitutions.h"

#include <QApplication>
#include <QDate>
#include <QImage>
#include <QImageWriter>

#include <cstdio>
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
    if (!std::regex_match(text, parts, form)) throw UsageError("malformed date: " + text + " (use YYYY-MM-DD)");
    const int year = std::stoi(parts[1]), month = std::stoi(parts[2]), day = std::stoi(parts[3]);
    double value = 0;
    if (!lunar::TryEncodeDate(year, month, day, value)) throw UsageError("no such day: " + text);
    if (year < 1 || year > 2100) throw UsageError("the calendar shows the years 0001..2100, not " + text);
    return value;
}

void parseSize(const std::string& text, RenderOptions& options) {
    static const std::regex form(R"((\d{1,5})x(\d{1,5}))");
    std::smatch parts;
    if (!std::regex_match(text, parts, form)) throw UsageError("malformed size: " + text + " (use WxH)");
    options.width = std::stoi(parts[1]);
    options.height = std::stoi(parts[2]);
    if (options.width < 1 || options.height < 1 || options.width > kLargestSide || options.height > kLargestSide)
        throw UsageError("size " + text + " is outside 1x1.." + std::to_string(kLargestSide) + "x" +
                         std::to_string(kLargestSide));
}

RenderOptions parseRender(const std::vector<std::string>& args) {
    RenderOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size") {
            if (i + 1 == args.size()) throw UsageError("--size needs WxH");
            parseSize(args[++i], options);
        } else if (args[i] == "--week-numbers") {
            options.weekNumbers = true;
        } else if (args[i] == "--no-title") {
            options.title = false;
        } else if (args[i].starts_with("--")) {
            throw UsageError("unknown option: " + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.empty() || positional.size() > 2)
        throw UsageError("usage: tavlo-cal render [YYYY-MM-DD] OUT.png [--size WxH] [--week-numbers] [--no-title]");
    options.out = positional.back();
    if (positional.size() == 2) {
        options.date = parseControlDay(positional.front());
    } else {
        const QDate today = QDate::currentDate();
        options.date = lunar::EncodeDate(today.year(), today.month(), today.day());
    }
    return options;
}

}  // namespace

int runRender(const std::vector<std::string>& args) {
    const RenderOptions options = parseRender(args);
    // Drawn off screen whatever display there is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "tavlo-cal";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    widgets::registerFontSubstitutions();

    TChnCalendar control;
    control.setAttribute(Qt::WA_DontShowOnScreen);
    control.resize(options.width, options.height);
    control.setShowWeekNum(options.weekNumbers);
    control.setShowTitle(options.title);
    control.setDateTime(options.date);
    control.show();
    QImage image(control.size(), QImage::Format_RGB32);
    control.render(&image);

    QImageWriter writer(QString::fromStdString(options.out), "png");
    if (!writer.write(image)) {
        std::fprintf(stderr, "tavlo-cal: cannot write %s: %s\n", options.out.c_str(),
                     writer.errorString().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

}  // namespace tavlo::cal
