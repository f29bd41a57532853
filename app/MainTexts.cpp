#include "MainTexts.h"

namespace tavlo::app::texts {

QString insertFailed() {
    return QStringLiteral("加载该图片失败！");
}

QString anotherCopyNotAnswering() {
    return QStringLiteral(
        "Tavlo助手已经在运行，但没有回应，所以没有再打开一个。请稍后再试，"
        "或者先结束正在运行的 Tavlo助手。");
}

QString noBrowser(const QString& page) {
    return QStringLiteral("无法打开浏览器，请手动打开：") + page;
}

}  // namespace tavlo::app::texts
