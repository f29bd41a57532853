#include "FileError.h"
#include "MappedFile.h"
#include "SettingsFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tavlo;
using test::readFileBytes;
using test::writeFileBytes;

TEST(SettingsFile, SplitsOnEveryKindOfLineEnd) {
    using Lines = std::vector<std::string>;
    const struct {
        std::string_view text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\rc\r\n\r\nd", {"a", "b", "c", "", "d"}},
        {"a\r\r\nb", {"a", "", "b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitLines(c.text), c.lines) << c.text;
}

TEST(SettingsFile, WritesGb18030WithCrLfAndReadsItBack) {
    test::TempFolder temp;
    const auto path = temp / "list.ini";
    // 背景 is GBK; 𠀀 (U+20000) exists only in GB18030's four-byte range.
    const std::vector<std::string> lines = {"A1.bmp", "背景.bmp", "𠀀.bmp", ""};
    writeSettingsLines(path, lines);
    EXPECT_EQ(readFileBytes(path), "A1.bmp\r\n\xB1\xB3\xBE\xB0.bmp\r\n\x95\x32\x82\x36.bmp\r\n\r\n");
    EXPECT_EQ(readSettingsLines(path), lines);

    // 锘 is EF BB in GBK: a file starting "锘縉" must not read back as a UTF-8 mark.
    writeSettingsLines(path, {"锘縉"});
    EXPECT_EQ(readSettingsLines(path), (std::vector<std::string>{"锘縉"}));
}

TEST(SettingsFile, ReadsFilesWrittenByOtherProgramsAndSkipsAByteOrderMark) {
    test::TempFolder temp;
    const auto path = temp / "x.ini";
    writeFileBytes(path, "\x84\x31\x95\x33\xB1\xB3\xBE\xB0\nB\rC");
    EXPECT_EQ(readSettingsLines(path), (std::vector<std::string>{"背景", "B", "C"}));
    writeFileBytes(path, "\xEF\xBB\xBF背景\r\n");
    EXPECT_EQ(readSettingsLines(path), (std::vector<std::string>{"背景"}));
    writeFileBytes(path, "\xEF\xBB\xBF\xEF\xBB\xBFNN");
    EXPECT_EQ(readSettingsLines(path), (std::vector<std::string>{"NN"}));
}

TEST(SettingsFile, MissingFileIsNoErrorAndBrokenTextReadsAsReplacement) {
    test::TempFolder temp;
    EXPECT_EQ(readSettingsLines(temp / "missing.ini"), std::nullopt);
    // Values are used as read: a stray byte spoils its character, not the file.
    writeFileBytes(temp / "bad.ini",
                   "ok\r\n\x81\x20"
                   "A1.bmp\r\n\xB1");
    EXPECT_EQ(readSettingsLines(temp / "bad.ini"), (std::vector<std::string>{"ok", "\uFFFD A1.bmp", "\uFFFD"}));
    writeFileBytes(temp / "bad.ini", "\xEF\xBB\xBFok\xFF\r\n");  // marked UTF-8, but is not
    EXPECT_EQ(readSettingsLines(temp / "bad.ini"), (std::vector<std::string>{"ok\uFFFD"}));
}

// A pipe in a settings file's place would make the reader wait for a writer
// that never comes; whatever is not a regular file reads as missing and is
// not replaced by the defaults the reader then writes.
TEST(SettingsFile, WhatIsNotARegularFileReadsAsMissingAndIsNotReplaced) {
    test::TempFolder temp;
    const auto fifo = temp / "FormSize.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto folder = temp / "BGPicList.ini";
    std::filesystem::create_directory(folder);
    for (const auto& path : {fifo, folder}) {
        EXPECT_EQ(readSettingsLines(path), std::nullopt) << path;
        EXPECT_THROW(writeSettingsLines(path, {"1"}), FileError) << path;
        EXPECT_NO_THROW(writeDefaultSettingsLines(path, {"1"})) << path;  // the reader keeps its defaults
    }
    writeDefaultSettingsLines(temp / "configSetBg.ini", {"1"});  // a missing file gets them
    EXPECT_EQ(readFileBytes(temp / "configSetBg.ini"), "1\r\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

// A file name from a file system that does not use UTF-8 (GBK 张三 here) is
// no text to convert: it is stored as it is, and its bytes can be read back.
TEST(SettingsFile, NamesThatAreNotUtf8AreWrittenByteForByte) {
    test::TempFolder temp;
    const auto path = temp / "tmppic.ini";
    const std::vector<std::string> names = {"/home/\xD5\xC5\xC8\xFD/a.bmp", "/home/\xD5\xC5\xC8\xFD/背景.bmp",
                                            "背景.bmp"};
    writeSettingsLines(path, names);
    // The whole of a line that is not UTF-8 keeps its bytes; UTF-8 text is GB18030.
    EXPECT_EQ(readFileBytes(path), names[0] + "\r\n" + names[1] + "\r\n\xB1\xB3\xBE\xB0.bmp\r\n");
    std::vector<std::string> bytes;
    const auto lines = readSettingsLines(path, &bytes);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->front(), "/home/张三/a.bmp");
    EXPECT_EQ(bytes, (std::vector<std::string>{names[0], names[1], "\xB1\xB3\xBE\xB0.bmp"}));
}

// A line longer than any path is no value: it is left out with one message,
// whatever the number of such lines, and never decoded.
TEST(SettingsFile, LinesLongerThanAnyPathAreSkippedWithOneMessage) {
    test::TempFolder temp;
    const auto path = temp / "BGPicList.ini";
    const std::string longest(kMaxSettingsLineBytes, 'x');
    writeFileBytes(path, "A1.bmp\r\n" + std::string(kMaxSettingsLineBytes + 1, '\xB1') + "\r\n" + longest +
                             "\nB.bmp\r" + std::string(3 * kMaxSettingsLineBytes, 'y'));
    std::vector<std::string> bytes;
    testing::internal::CaptureStderr();
    const auto lines = readSettingsLines(path, &bytes);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, (std::vector<std::string>{"A1.bmp", longest, "B.bmp"}));
    EXPECT_EQ(bytes, lines);
    EXPECT_EQ(message, "设置文件“" + path.string() + "”中有 2 行超过 128 KB，比任何路径都长，已跳过。\n");

    writeFileBytes(path, "A1.bmp\r\n" + longest);
    testing::internal::CaptureStderr();
    EXPECT_EQ(readSettingsLines(path), (std::vector<std::string>{"A1.bmp", longest}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Another program cuts or rewrites a settings file while it is read: the
// reader reports it instead of taking the bytes it happened to see.
TEST(SettingsFile, FileChangedWhileReadIsReported) {
    test::TempFolder temp;
    const auto path = temp / "BGPicList.ini";
    const std::string text = "A1.bmp\r\nB.bmp\r\n";
    const struct {
        const char* change;
        void (*apply)(const char* path);
    } cases[] = {
        {"cut short", [](const char* path) { ASSERT_EQ(::truncate(path, 3), 0); }},
        {"rewritten in place", [](const char* path) { test::rewriteInPlace(path, 8, "C"); }},
    };
    for (const auto& c : cases) {
        writeFileBytes(path, text);
        test::makeFileAnHourOld(path);
        const MappedFile file(path);
        EXPECT_EQ(settingsLinesOf(file), (std::vector<std::string>{"A1.bmp", "B.bmp"})) << c.change;
        c.apply(path.c_str());
        try {
            settingsLinesOf(file);
            ADD_FAILURE() << c.change << ": went unnoticed";
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()), "读取文件“" + path.string() + "”失败：读取时文件被其他程序改动")
                << c.change;
        }
    }
}

TEST(SettingsFile, ParsesIntegersAsStoredByHand) {
    const struct {
        std::string_view text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"1", 1},
        {"0", 0},
        {"-3", -3},
        {" 42 ", 42},
        {"+7", 7},
        {"-2000", -2000},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1.5", std::nullopt},
        {"12x", std::nullopt},
        {"+-1", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483648", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(parseInteger(c.text), c.value) << c.text;
}
