// tavlo-cal render as a user runs it: a PNG of the control, or a message.
#include "MonthModel.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavlo::calendar {
namespace {

struct ToolRun {
    int status;
    QString errors;
};

ToolRun render(const QStringList& args) {
    QProcess tool;
    tool.start(QStringLiteral(TAVLO_CAL_PROGRAM), QStringList{QStringLiteral("render")} + args);
    tool.waitForFinished(60000);
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
}

TEST(RenderTool, WritesTheControlWithTheDaySelected) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("month.png"));
    ASSERT_EQ(render({QStringLiteral("2024-09-15"), out}).status, 0);
    const QImage image(out);
    ASSERT_EQ(image.size(), QSize(419, 255));
    // 15 September 2024, a Sunday, in row 3: column 1 of the grid at (8, 40).
    const QPoint selected(8 + 6 + 1, 40 + 18 + 2 * 27 + 1);
    EXPECT_LE(std::abs(image.pixelColor(selected).green() - bgr(0x53AE00).green()), 2);

    const QString small = dir.filePath(QStringLiteral("small.png"));
    ASSERT_EQ(render({QStringLiteral("2024-09-15"), small, QStringLiteral("--size"), QStringLiteral("313x253"),
                      QStringLiteral("--no-title"), QStringLiteral("--week-numbers")})
                  .status,
              0);
    const QImage titleless(small);
    ASSERT_EQ(titleless.size(), QSize(313, 253));
    // Without the title the grid starts at (2, 2); week numbers widen column 0 to 18.
    EXPECT_LE(std::abs(titleless.pixelColor(2 + 18 + 1, 2 + 18 + 2 * ((249 - 18) / 6 - 1) + 1).green() -
                       bgr(0x53AE00).green()),
              2);
}

TEST(RenderTool, RefusesBadArgumentsWithAMessage) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.png"));
    const QStringList cases[] = {
        {},
        {QStringLiteral("2101-01-01"), out},
        {QStringLiteral("0000-12-31"), out},
        {QStringLiteral("2024-02-30"), out},
        {QStringLiteral("2024-9-1"), out},
        {out, QStringLiteral("--size"), QStringLiteral("0x10")},
        {out, QStringLiteral("--size"), QStringLiteral("99999x10")},
        {out, QStringLiteral("--size")},
        {out, QStringLiteral("--colour")},
        {QStringLiteral("2024-01-01"), dir.filePath(QStringLiteral("missing/x.png"))},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const ToolRun run = render(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.errors.contains(QStringLiteral("tavlo-cal: "))) << run.errors.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

}  // namespace
}  // namespace tavlo::calendar
