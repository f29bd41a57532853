#pragma once
#include "RtfText.h"

#include <QByteArray>

namespace tavlo::rtf {

// `text` as RTF: code page 936, the default font `defaultFamily` as font 0,
// one group per formatted run, every character outside ASCII as \uN?.
QByteArray writeRtfText(const RtfText& text, const QString& defaultFamily);

}  // namespace tavlo::rtf
