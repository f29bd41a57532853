// The calendar as other programs read it: RFC 5545 lines, and the tool's
// export read back by an independent reader (python3-icalendar).
#include "IcsWriter.h"
#include "MissingTool.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace tavlo::reminders {
namespace {

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[4096];
        for (std::size_t n; (n = fread(chunk, 1, sizeof(chunk), pipe)) > 0;) output.append(chunk, n);
        pclose(pipe);
    }
    return output;
}

std::vector<std::string> physicalLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(Ics, LongLinesFoldBeforeSeventyFiveOctetsBetweenCharacters) {
    const std::string summary = "春节假期（休）；" + std::string(40, 'a') + "，农历正月初一至初七，共七天\n第二行";
    const std::string line = icsLine("SUMMARY", icsText(summary));
    std::string unfolded;
    for (const std::string& physical : physicalLines(line)) {
        EXPECT_LE(physical.size(), 75u);
        // No line starts inside a character.
        const auto first = static_cast<unsigned char>(physical[unfolded.empty() ? 0 : 1]);
        EXPECT_NE(first & 0xC0, 0x80) << physical;
        unfolded += unfolded.empty() ? physical : physical.substr(1);
    }
    EXPECT_EQ(unfolded, "SUMMARY:春节假期（休）；" + std::string(40, 'a') + "，农历正月初一至初七，共七天\\n第二行");
    EXPECT_EQ(icsText("a,b;c\\d"), "a\\,b\\;c\\\\d");
}

// The tool's calendar, read by an independent iCalendar reader: every
// event a whole day, festivals, terms, 休 and 班 where the year's
// arrangement puts them, the same identities in every export.
TEST(Ics, ExportReadsBackInAnotherReaderWithStableIdentities) {
    TAVLO_REQUIRE_TOOL(run("/usr/bin/python3 -c 'import icalendar; print(1)' 2>/dev/null") == "1\n",
                       "python3-icalendar");
    test::TempFolder folder;
    const std::string tool = "'" TAVLO_CAL_TOOL "' ics --from 2026 --years 2 > ";
    ASSERT_EQ(std::system((tool + "'" + (folder / "a.ics").string() + "'").c_str()), 0);
    ASSERT_EQ(std::system((tool + "'" + (folder / "b.ics").string() + "'").c_str()), 0);
    const std::string text = test::readFileBytes(folder / "a.ics");
    for (const std::string& line : physicalLines(text)) EXPECT_LE(line.size(), 75u);

    const std::string reader =
        "import icalendar, sys\n"
        "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
        "for e in cal.walk('VEVENT'):\n"
        "    start, end = e.decoded('DTSTART'), e.decoded('DTEND')\n"
        "    assert (end - start).days == 1 and not hasattr(start, 'hour')\n"
        "    print(start.isoformat(), e.get('SUMMARY'), e.get('UID'), sep='\\t')\n";
    test::writeFileBytes(folder / "read.py", reader);
    const std::string a =
        run("/usr/bin/python3 '" + (folder / "read.py").string() + "' '" + (folder / "a.ics").string() + "'");
    const std::string b =
        run("/usr/bin/python3 '" + (folder / "read.py").string() + "' '" + (folder / "b.ics").string() + "'");
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, b);  // the same events under the same identities

    std::set<std::string> uids;
    int terms = 0, events = 0;
    for (std::size_t start = 0; start < a.size();) {
        const std::size_t end = a.find('\n', start);
        const std::string row = a.substr(start, end - start);
        start = end + 1;
        ++events;
        EXPECT_TRUE(uids.insert(row.substr(row.rfind('\t') + 1)).second) << "UID twice: " << row;
        for (const char* term : {"\t立春\t", "\t冬至\t", "\t清明\t"}) terms += row.find(term) != std::string::npos;
    }
    EXPECT_EQ(terms, 6);  // three terms, each year
    for (const char* row : {"2026-02-17\t春节\t", "2026-02-16\t除夕\t", "2026-02-17\t春节假期（休）\t",
                            "2026-02-14\t调休上班（班）\t", "2026-10-01\t国庆节\t", "2026-01-05\t小寒\t",
                            "2026-02-04\t立春\t", "2026-03-20\t春分\t", "2026-04-05\t清明\t"})
        EXPECT_NE(a.find(row), std::string::npos) << row;
    EXPECT_GT(events, 100);
}

// A real calendar program takes the export: khal imports it and lists the
// days of the Spring Festival as the calendar has them.
TEST(Ics, ACalendarProgramImportsTheExport) {
    TAVLO_REQUIRE_TOOL(run("command -v khal") != "", "khal");
    test::TempFolder folder;
    test::writeFileBytes(folder / "config", "[calendars]\n[[tavlo]]\npath = " + (folder / "calendar").string() +
                                                "\ntype = calendar\n[locale]\ndateformat = %Y-%m-%d\n"
                                                "longdateformat = %Y-%m-%d\ntimeformat = %H:%M\n"
                                                "datetimeformat = %Y-%m-%d %H:%M\nlongdatetimeformat = %Y-%m-%d %H:%M\n"
                                                "[sqlite]\npath = " +
                                                (folder / "khal.db").string() + "\n");
    std::filesystem::create_directories(folder / "calendar");
    const std::string khal = "LC_ALL=C.UTF-8 khal -c '" + (folder / "config").string() + "' ";
    ASSERT_EQ(std::system(("'" TAVLO_CAL_TOOL "' ics --from 2026 --what festivals,holidays > '" +
                           (folder / "2026.ics").string() + "'")
                              .c_str()),
              0);
    ASSERT_EQ(std::system((khal + "import --batch -a tavlo '" + (folder / "2026.ics").string() + "'").c_str()), 0);
    const std::string listed = run(khal + "list 2026-02-16 2026-02-17 2>&1");
    EXPECT_NE(listed.find("除夕"), std::string::npos) << listed;
    EXPECT_NE(listed.find("春节假期（休）"), std::string::npos) << listed;
    EXPECT_NE(listed.find("2026-02-17\n 春节\n"), std::string::npos) << listed;
}

}  // namespace
}  // namespace tavlo::reminders
