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

}  // namespace tavlo::widgets::texts
