#pragma once
#include "RtfText.h"

#include <QByteArrayView>

#include <optional>

namespace tavlo::rtf {

// The text of the RTF in `bytes`; none when the bytes are not RTF at all.
//
// RTF is what starts with "{\rtf" (the control word rtf, with or without its
// version number). Whatever follows is read as far as it goes, as word
// processors read it: a document cut short or with a group left open gives
// the text read up to its end, \binN data cut short ends it, and bytes after
// the document's closing brace are ignored. Groups nested deeper than
// kMaxGroupDepth keep the format of the group at the limit.
std::optional<RtfText> parseRtf(QByteArrayView bytes);

constexpr int kMaxGroupDepth = 1000;

}  // namespace tavlo::rtf
