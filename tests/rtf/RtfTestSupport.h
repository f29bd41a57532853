#pragma once
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextDocument>

#include <memory>
#include <vector>

namespace tavlo::rtf::test {

// One run of a test document: its text and the format it is typed with.
struct TestRun {
    QString text;
    QTextCharFormat format = QTextCharFormat();
};

// Paragraphs of runs; an empty paragraph is an empty line.
using TestDocument = std::vector<std::vector<TestRun>>;

std::unique_ptr<QTextDocument> makeDocument(const TestDocument& paragraphs);

// Character formats for the tables of cases.
QTextCharFormat fmt(std::initializer_list<const char*> attributes);

// Every attribute of a character format: family, size, b, i, u, s, colour.
QStringList allAttributes(const QTextCharFormat& format);

// The document's text and character formats, one line per paragraph, each
// formatted fragment as "[attributes]text", e.g. "[宋体,12pt,b,#ff0000]红色";
// "[]" where the format returns to none.
QString describe(const QTextDocument& document, QStringList (*attributes)(const QTextCharFormat&) = allAttributes);

// describe() of what the reader makes of `rtf`, or "<invalid>".
QString describeRtf(const QByteArray& rtf);

}  // namespace tavlo::rtf::test
