#pragma once
#include "RtfText.h"

#include <QByteArrayView>

#include <optional>

namespace tavlo::rtf {

// The text of the RTF in `bytes`; none when the bytes are not valid RTF.
//
// Valid means: the bytes start with "{\rtf" (the control word rtf, with or
// without its version number), every group opened is closed again, groups
// nest no deeper than kMaxGroupDepth, and every \binN has its N bytes. Bytes
// after the document's closing brace are ignored, as other readers do. A note
// is always stored whole, so a document that stops inside its outer group is
// not one of ours; reading it as plain text shows the user every byte of it.
std::optional<RtfText> parseRtf(QByteArrayView bytes);

constexpr int kMaxGroupDepth = 1000;

}  // namespace tavlo::rtf
