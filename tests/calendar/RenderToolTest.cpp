// tavlo-cal render as a user runs it: a PNG of the control, or a message.
#include "CellPainter.h"
#include "MonthModel.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavlo::calendar {
namespace {

struct ToolRun {
    int status;
    QString errors;
};

// The tool with these words, in the given locale (the test's own by default).
ToolRun runTool(const QStringList& words, const QString& locale = {}) {
    QProcess tool;
    if (!locale.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), locale);
        environment.insert(QStringLiteral("LANG"), locale);
        environment.remove(QStringLiteral("LANGUAGE"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));  // as for a user's cron job: the toolkit grumbles
        tool.setProcessEnvironment(environment);
    }
    tool.start(QStringLiteral(TAVLO_CAL_PROGRAM), words);
    tool.waitForFinished(60000);
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
}

ToolRun render(const QStringList& args, const QString& locale = {}) {
    return runTool(QStringList{QStringLiteral("render")} + args, locale);
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

TEST(RenderTool, DrawsAlikeInEveryLocaleAndSaysNothingElse) {
    QTemporaryDir dir;
    QImage first;
    for (const char* locale : {"zh_CN.UTF-8", "C", "C.UTF-8", "en_US.UTF-8"}) {
        SCOPED_TRACE(locale);
        const QString out = dir.filePath(QString::fromLatin1(locale) + QStringLiteral(".png"));
        const ToolRun run = render({QStringLiteral("2024-02-10"), out}, QString::fromLatin1(locale));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.errors, QString());  // no notices of the toolkit's
        const QImage image(out);
        if (first.isNull()) first = image;
        EXPECT_EQ(image, first);
    }
}

// Red ink in the 休 corner of a day cell of February 2024 in the main
// window's size: row and column of the grid's day cells.
int restInkOfCell(const QImage& image, int column, int row) {
    const QRect box = HolidayMarkBox(55, 27).translated(8 + 6 + (column - 1) * 55, 40 + 18 + (row - 1) * 27);
    int ink = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            ink += pixel.red() > 200 && pixel.green() < 100 && pixel.blue() < 100;
        }
    return ink;
}

TEST(RenderTool, MarksTheRestDaysOfTheProgramFoldersTable) {
    QTemporaryDir dir;
    const QString builtIn = dir.filePath(QStringLiteral("built-in.png"));
    ASSERT_EQ(render({QStringLiteral("2024-02-20"), builtIn}).status, 0);
    EXPECT_GT(restInkOfCell(QImage(builtIn), 4, 3), 0);  // Wednesday 14 February

    // A user's 2024 that knows only New Year's Day replaces the built-in year.
    QDir(dir.path()).mkdir(QStringLiteral("Data"));
    QFile table(dir.filePath(QStringLiteral("Data/Holidays.txt")));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.write("2024 元旦 休 2024-01-01\n");
    table.close();
    const QString user = dir.filePath(QStringLiteral("user.png"));
    const ToolRun run =
        runTool({QStringLiteral("--folder"), dir.path(), QStringLiteral("render"), QStringLiteral("2024-02-20"), user});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(restInkOfCell(QImage(user), 4, 3), 0);
}

TEST(RenderTool, RefusesBadArgumentsWithAChineseMessage) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.png"));
    const struct {
        QStringList args;
        int status;  // 2: the command line is wrong, 1: the picture cannot be written
    } cases[] = {
        {{}, 2},
        {{QStringLiteral("2101-01-01"), out}, 2},
        {{QStringLiteral("0000-12-31"), out}, 2},
        {{QStringLiteral("2024-02-30"), out}, 2},
        {{QStringLiteral("2024-9-1"), out}, 2},
        {{out, QStringLiteral("--size"), QStringLiteral("0x10")}, 2},
        {{out, QStringLiteral("--size"), QStringLiteral("99999x10")}, 2},
        {{out, QStringLiteral("--size")}, 2},
        {{out, QStringLiteral("--colour")}, 2},
        {{out, QStringLiteral("--no-title=yes")}, 2},
        {{QStringLiteral("2024-01-01"), dir.filePath(QStringLiteral("missing/x.png"))}, 1},
        {{QStringLiteral("2024-01-01"), dir.path()}, 1},
    };
    const QRegularExpression chinese(QStringLiteral("^tavlo-cal: .*[\\x{4e00}-\\x{9fff}]"));
    const QString usage = QStringLiteral("\n用法：tavlo-cal [--folder 程序文件夹] render [YYYY-MM-DD] 输出.png");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ToolRun run = render(c.args, QStringLiteral("C"));
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(chinese.match(run.errors).hasMatch()) << run.errors.toStdString();
        EXPECT_EQ(run.errors.contains(usage), c.status == 2) << run.errors.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST(RenderTool, AFullDiskIsNamedAsTheCause) {
    const ToolRun run = render({QStringLiteral("2024-02-10"), QStringLiteral("/dev/full")}, QStringLiteral("C"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, QStringLiteral("tavlo-cal: 写入“/dev/full”失败：磁盘空间不足\n"));
}

}  // namespace
}  // namespace tavlo::calendar
