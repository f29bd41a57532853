#pragma once
// Small files that describe huge pictures (16000 × 8000 pixels), for
// measuring what a picture costs when it is read.
#include "PictureEncoders.h"

namespace tavlo::bench {

inline constexpr int kBombWidth = 16000, kBombHeight = 8000;

// An 8-bit run-length BMP whose data ends the picture at once: every pixel is
// palette entry 0 (about 1 KB).
test::Bytes runLengthBmp();
// One colour, arithmetic-coded: a few hundred bytes.
test::Bytes arithmeticJpeg(bool progressive);
// One colour, LZW-coded (about 88 KB).
test::Bytes oneColourGif();
// Half-transparent red, RGBA, interlaced (about 0.5 MB).
test::Bytes interlacedRgbaPng();
// A tiny picture whose text chunk states 1.7 GB.
test::Bytes longChunkPng();

}  // namespace tavlo::bench
