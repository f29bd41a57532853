#include "CodePage.h"

#include "CodePageText.h"

namespace tavlo::rtf {

QString decodeCodePage(int codePage, QByteArrayView bytes) {
    const std::string_view view(bytes.data(), static_cast<std::size_t>(bytes.size()));
    auto text = tavlo::decodeCodePage(codePage, view);
    // A code page nobody knows: the ANSI one, as other readers take it.
    if (!text) text = tavlo::decodeCodePage(kCodePageAnsi, view);
    if (!text) return QString::fromLatin1(bytes);
    return QString::fromStdU16String(*text);
}

QByteArray encodeCodePage(int codePage, QStringView text, bool& ok) {
    const auto bytes =
        tavlo::encodeCodePage(codePage, std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())));
    ok = bytes.has_value();
    if (!bytes) return {};
    return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
}

}  // namespace tavlo::rtf
