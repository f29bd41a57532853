#include "Rtf.h"

#include <QTextDocument>

namespace tavlo::rtf {

QByteArray writeRtf(const QTextDocument& document) {
    return QByteArray("{\\rtf1\\ansi ") + document.toPlainText().toLatin1() + "}";
}

bool readRtf(const QByteArray&, QTextDocument&) {
    return false;
}

void loadNoteText(const QByteArray& bytes, QTextDocument& document) {
    document.setPlainText(QString::fromUtf8(bytes));
}

QString noteToPlainText(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

}  // namespace tavlo::rtf
