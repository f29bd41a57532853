#include "MainTexts.h"

namespace tavlo::app::texts {

QString insertFailed() {
    return QStringLiteral("加载该图片失败！");
}

QString noBrowser(const QString& page) {
    return QStringLiteral("无法打开浏览器，请手动打开：") + page;
}

}  // namespace tavlo::app::texts
