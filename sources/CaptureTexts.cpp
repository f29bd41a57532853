#include "CaptureTexts.h"

namespace tavlo {

CaptureHints hintsForState(int selState) {
    switch (selState) {
    case 1: return {QStringLiteral("松开鼠标左键以确定最终截取范围"), QStringLiteral("按鼠标右键取消当前选区")};
    case 2: return {QStringLiteral("按空格/回车/双击左键发送当前选区的图像"), QStringLiteral("按鼠标右键取消当前选区")};
    default: return {QStringLiteral("按住鼠标左键不放选择截取范围"), QStringLiteral("按鼠标右键退出")};
    }
}

QString pixelReadout(int red, int green, int blue) {
    return QStringLiteral("当前像素RGB值（%1、%2、%3）").arg(red).arg(green).arg(blue);
}

QString selectionSizeText(int width, int height) {
    return QStringLiteral("%1 × %2").arg(width).arg(height);
}

}  // namespace tavlo
