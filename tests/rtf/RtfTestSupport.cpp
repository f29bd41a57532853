#include "RtfTestSupport.h"

#include "Rtf.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>

namespace tavlo::rtf::test {

std::unique_ptr<QTextDocument> makeDocument(const TestDocument& paragraphs) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("宋体")));
    QTextCursor cursor(document.get());
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) cursor.insertBlock();
        for (const TestRun& run : paragraphs[i]) cursor.insertText(run.text, run.format);
    }
    return document;
}

// Attributes: "b", "i", "u", "s", "#rrggbb", "<n>pt" or a font family.
QTextCharFormat fmt(std::initializer_list<const char*> attributes) {
    QTextCharFormat format;
    for (const char* a : attributes) {
        const QString attribute = QString::fromUtf8(a);
        if (attribute == u"b")
            format.setFontWeight(QFont::Bold);
        else if (attribute == u"i")
            format.setFontItalic(true);
        else if (attribute == u"u")
            format.setFontUnderline(true);
        else if (attribute == u"s")
            format.setFontStrikeOut(true);
        else if (attribute.startsWith(u'#'))
            format.setForeground(QColor(attribute));
        else if (attribute.endsWith(u"pt"))
            format.setFontPointSize(attribute.chopped(2).toDouble());
        else
            format.setFontFamilies({attribute});
    }
    return format;
}

QStringList allAttributes(const QTextCharFormat& f) {
    QStringList a;
    const QString family = f.property(QTextFormat::FontFamilies).toStringList().value(0);
    if (!family.isEmpty()) a << family;
    if (f.hasProperty(QTextFormat::FontPointSize)) a << QString::number(f.fontPointSize()) + u"pt"_qs;
    if (f.fontWeight() >= QFont::DemiBold) a << u"b"_qs;
    if (f.fontItalic()) a << u"i"_qs;
    if (f.fontUnderline()) a << u"u"_qs;
    if (f.fontStrikeOut()) a << u"s"_qs;
    if (f.foreground().style() != Qt::NoBrush) a << f.foreground().color().name();
    return a;
}

QString describe(const QTextDocument& document, QStringList (*attributesOf)(const QTextCharFormat&)) {
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line;
        QString previous;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString attributes = attributesOf(it.fragment().charFormat()).join(u',');
            if (attributes != previous) line += u'[' + attributes + u']';
            previous = attributes;
            line += it.fragment().text();
        }
        lines << line;
    }
    return lines.join(u'\n');
}

QString describeRtf(const QByteArray& rtf) {
    QTextDocument document;
    return readRtf(rtf, document) ? describe(document) : u"<invalid>"_qs;
}

}  // namespace tavlo::rtf::test
