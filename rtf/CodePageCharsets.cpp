#include "CodePage.h"

namespace tavlo::rtf {

int codePageOfCharset(int charset, int documentCodePage) {
    switch (charset) {
    case 0: return kCodePageAnsi;
    // The symbol set has no code page of its own; its bytes are read as ANSI,
    // so no character is dropped.
    case 2: return kCodePageAnsi;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return kCodePageGbk;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return documentCodePage;
    }
}

}  // namespace tavlo::rtf
