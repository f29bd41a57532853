// An independent reader and writer of RTF: LibreOffice Writer, headless. It
// reads what we write (checked in its HTML export), and what it writes from a
// page of Chinese text loads in our reader with the same text and formats.
#include "MissingTool.h"
#include "Rtf.h"
#include "RtfTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavlo::rtf::test {
namespace {

// Text, bold and colour only: what both sides must agree on.
QStringList boldAndColour(const QTextCharFormat& f) {
    QStringList a;
    if (f.fontWeight() >= QFont::DemiBold) a << u"b"_qs;
    if (f.foreground().style() != Qt::NoBrush && f.foreground().color() != Qt::black)
        a << f.foreground().color().name();
    return a;
}

QString boldAndColours(const QTextDocument& document) {
    return describe(document, boldAndColour).replace(QChar::LineSeparator, u'\n');
}

QString decodeEntities(QString text) {
    static const QRegularExpression entity(u"&(#x[0-9a-fA-F]+|#[0-9]+|[a-z]+);"_qs);
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(text).sliced(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        char32_t c = u'?';
        if (name.startsWith(u"#x"))
            c = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(u'#'))
            c = name.mid(1).toUInt();
        else if (name == u"amp")
            c = u'&';
        else if (name == u"lt")
            c = u'<';
        else if (name == u"gt")
            c = u'>';
        else if (name == u"quot")
            c = u'"';
        else if (name == u"nbsp")
            c = 0xA0;
        out += QString::fromUcs4(&c, 1);
        last = m.capturedEnd();
    }
    out += QStringView(text).sliced(last);
    return out;
}

// The paragraphs of an HTML page in the notation of boldAndColours: each
// element may set bold or a colour for the text inside it.
QString boldAndColoursOfHtml(const QString& html) {
    static const QRegularExpression token(u"<(/?)([a-zA-Z0-9]+)([^>]*)>|([^<]+)"_qs);
    static const QRegularExpression colour(u"color(?:=\"|:\\s*)(#[0-9a-fA-F]{6})"_qs);
    struct Element {
        QString name;
        bool bold;
        QString colour;
    };
    std::vector<Element> open{{u"html"_qs, false, QString()}};
    QStringList paragraphs;
    QString line;
    QString previous;
    bool inBody = false;
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QString name = m.captured(2).toLower();
        if (!m.captured(4).isNull()) {
            if (!inBody || paragraphs.isEmpty()) continue;
            QString text = decodeEntities(m.captured(4)).replace(u'\n', u' ');
            text.replace(QRegularExpression(u"\\s+"_qs), u" "_qs);
            if (text.trimmed().isEmpty() && paragraphs.back().isEmpty() && line.isEmpty()) continue;
            QStringList a;
            if (open.back().bold) a << u"b"_qs;
            if (!open.back().colour.isEmpty() && open.back().colour != u"#000000") a << open.back().colour;
            const QString attributes = a.join(u',');
            if (attributes != previous) line += u'[' + attributes + u']';
            previous = attributes;
            line += text;
        } else if (name == u"body") {
            inBody = m.captured(1).isEmpty();
        } else if (name == u"br") {
            line += u'\n';
        } else if (m.captured(1).isEmpty()) {
            if (name == u"p" || name == u"h1" || name == u"h2") {
                if (!paragraphs.isEmpty()) paragraphs.back() = line;
                paragraphs << QString();
                line.clear();
                previous.clear();
            }
            const auto c = colour.match(m.captured(3));
            Element e{
                name,
                open.back().bold || name == u"b" || name == u"strong" || m.captured(3).contains(u"font-weight: bold"),
                c.hasMatch() ? c.captured(1).toLower() : open.back().colour};
            if (!m.captured(3).endsWith(u'/') && name != u"meta") open.push_back(e);
        } else {
            while (open.size() > 1 && open.back().name != name) open.pop_back();
            if (open.size() > 1) open.pop_back();
        }
    }
    if (!paragraphs.isEmpty()) paragraphs.back() = line;
    for (QString& p : paragraphs) {
        p = p.trimmed();
        p.replace(u"[] "_qs, u" []"_qs);
        p.replace(u"[]"_qs, u""_qs);
        p.replace(u" \n"_qs, u"\n"_qs);
        p.replace(u"\n "_qs, u"\n"_qs);
    }
    return paragraphs.join(u'\n');
}

QString clean(QString described) {
    return described.replace(u"[]"_qs, QString());
}

const TestDocument kOurNotes[] = {
    {{{"今天下午三点开会，"}, {"务必准时", fmt({"b", "#ff0000"})}, {"。"}},
     {{"议题：", fmt({"黑体", "14pt"})}, {"预算", fmt({"#0000ff"})}, {"与"}, {"人员安排", fmt({"#2e8b57", "i"})}},
     {{"English too: braces {x}, backslash \\ and ! ok", fmt({"Liberation Sans"})}}},
    {{{u"第一行"_qs + QChar::LineSeparator + u"第二行"_qs, fmt({"#c00000"})}},
     {{"符号：！～￥ é ü ", fmt({"b"})}, {"结束"}}},
};

const char* const kLibreOfficePage = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>记事</title></head><body>
<p>第一段：普通文字 plain text</p>
<p><b>粗体</b> 和 <span style="color:#ff0000">红色文字</span></p>
<p><span style="color:#0000ff"><b>蓝色粗体</b></span>最后一句。</p>
<p>符号：{大括号} \反斜杠 ！</p>
</body></html>
)";

const char* const kLibreOfficeExpected =
    "第一段：普通文字 plain text\n"
    "[b]粗体[] 和 [#ff0000]红色文字\n"
    "[b,#0000ff]蓝色粗体[]最后一句。\n"
    "符号：{大括号} \\反斜杠 ！";

class LibreOffice : public testing::Test {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(!soffice_.isEmpty(), "soffice");
        ASSERT_TRUE(folder_.isValid());
    }

    QString input(const QString& name, const QByteArray& bytes) {
        QFile file(QDir(folder_.path()).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    // One soffice run for several files: it takes seconds to start.
    void convert(const QStringList& arguments) {
        QProcess soffice;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_qs, folder_.filePath(u"home"_qs));
        soffice.setProcessEnvironment(environment);
        soffice.setProcessChannelMode(QProcess::MergedChannels);
        soffice.start(soffice_, QStringList{u"--headless"_qs, u"--norestore"_qs,
                                            u"-env:UserInstallation=file://"_qs + folder_.filePath(u"profile"_qs)} +
                                    arguments + QStringList{u"--outdir"_qs, folder_.filePath(u"out"_qs)});
        ASSERT_TRUE(soffice.waitForFinished(180000)) << "soffice did not finish";
        ASSERT_EQ(soffice.exitCode(), 0) << soffice.readAll().toStdString();
    }

    QByteArray output(const QString& name) {
        QFile file(QDir(folder_.filePath(u"out"_qs)).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const QString soffice_ = QStandardPaths::findExecutable(u"soffice"_qs);
    QTemporaryDir folder_;
};

TEST_F(LibreOffice, ReadsOurNotesWithTheirTextBoldAndColours) {
    QStringList notes;
    for (size_t i = 0; i < std::size(kOurNotes); ++i)
        notes << input(QStringLiteral("note%1.rtf").arg(i), writeRtf(*makeDocument(kOurNotes[i])));
    ASSERT_NO_FATAL_FAILURE(convert(QStringList{u"--convert-to"_qs, u"html"_qs} + notes));
    for (size_t i = 0; i < std::size(kOurNotes); ++i) {
        const QByteArray html = output(QStringLiteral("note%1.html").arg(i));
        ASSERT_FALSE(html.isEmpty()) << "note " << i << " was not converted";
        EXPECT_EQ(boldAndColoursOfHtml(QString::fromUtf8(html)).toStdString(),
                  clean(boldAndColours(*makeDocument(kOurNotes[i]))).toStdString())
            << html.toStdString();
    }
}

TEST_F(LibreOffice, ItsRtfLoadsWithTheSameTextBoldAndColours) {
    const QString page = input(u"page.html"_qs, kLibreOfficePage);
    ASSERT_NO_FATAL_FAILURE(convert({u"--infilter=HTML (StarWriter)"_qs, u"--convert-to"_qs, u"rtf"_qs, page}));
    const QByteArray rtf = output(u"page.rtf"_qs);
    ASSERT_TRUE(rtf.startsWith("{\\rtf1")) << "page was not converted";
    QTextDocument document;
    ASSERT_TRUE(readRtf(rtf, document));
    EXPECT_EQ(boldAndColours(document).toStdString(), kLibreOfficeExpected) << rtf.toStdString();
    EXPECT_EQ(noteToPlainText(rtf), document.toPlainText());
}

// Cases where readers have gone astray, read by both. (In an unknown code
// page LibreOffice takes bytes 0x80 to 0x9F for C1 controls, we take them as
// Windows-1252's letters: the cases leave them out.)
TEST_F(LibreOffice, ReadsTheHardCasesAsItDoes) {
    const QByteArray cases[] = {
        "{\\rtf1\\ansi a{\\object\\objemb{\\*\\objclass Word}{\\*\\objdata 0102}{\\result R{\\b S}\\par T}}b}",
        "{\\rtf1\\ansi\\ansicpg936 x\\'80y\\'81\\'80z\\'c4\\'e3}",
        "{\\rtf1\\ansi\\ansicpg99999 a\\'e9\\'c4\\'ff}",
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\cpg77777 X;}}\\f0 a\\'e9\\'a3}",
        "{\\rtf1\\ansi a\\u70000?b\\u-40000?c\\u40000?d\\u65536?e\\u32768?f\\u100000x}",
    };
    QStringList files;
    for (size_t i = 0; i < std::size(cases); ++i) files << input(QStringLiteral("case%1.rtf").arg(i), cases[i]);
    ASSERT_NO_FATAL_FAILURE(convert(QStringList{u"--convert-to"_qs, u"txt:Text (encoded):UTF8"_qs} + files));
    for (size_t i = 0; i < std::size(cases); ++i) {
        QString theirs = QString::fromUtf8(output(QStringLiteral("case%1.txt").arg(i)));
        ASSERT_FALSE(theirs.isEmpty()) << "case " << i << " was not converted";
        if (theirs.startsWith(QChar(0xFEFF))) theirs.remove(0, 1);
        while (theirs.endsWith(u'\n') || theirs.endsWith(u'\r')) theirs.chop(1);
        theirs.replace(u"\r\n"_qs, u"\n"_qs);
        EXPECT_EQ(noteToPlainText(cases[i]).toStdString(), theirs.toStdString()) << cases[i].toStdString();
    }
}

}  // namespace
}  // namespace tavlo::rtf::test
