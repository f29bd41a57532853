#include "WidgetTexts.h"

namespace tavlo::widgets::texts {

QString okCaption() {
    return QStringLiteral("确定");
}

QString okTip() {
    return QStringLiteral("关闭提示");
}

QString internalFailure() {
    return QStringLiteral("操作没有完成：程序内部出错。");
}

QString outOfMemory() {
    return QStringLiteral("操作没有完成：内存不足。");
}

QString previewName() {
    return QStringLiteral("预览");
}

QString previewDescription(int width, int height) {
    return QStringLiteral("%1 × %2 像素").arg(width).arg(height);
}

QString noPreview() {
    return QStringLiteral("无预览");
}

}  // namespace tavlo::widgets::texts
