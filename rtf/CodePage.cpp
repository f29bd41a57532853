#include "CodePage.h"

#include "CodePageText.h"

namespace tavlo::rtf {

QString decodeCodePage(int codePage, QByteArrayView bytes) {
    const auto text =
        tavlo::decodeCodePage(codePage, std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
    if (!text) return asciiOrReplacement(bytes);
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
