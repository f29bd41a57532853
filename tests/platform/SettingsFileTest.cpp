#include "FileError.h"
#include "SettingsFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(SettingsFile, TextThatIsNotUtf8IsRefusedInChinese) {
    test::TempFolder temp;
    const auto path = temp / "tmppic.ini";
    try {
        writeSettingsLines(path, {"bad \xC0\xAF"});
        ADD_FAILURE() << "written";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "写入文件“" + path.string() + "”失败：文字中有无效的字符");
    }
    EXPECT_FALSE(std::filesystem::exists(path));
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
