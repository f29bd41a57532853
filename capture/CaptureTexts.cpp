#include "CaptureTexts.h"

namespace tavlo {

CaptureQuestion captureQuestion() {
    return {QStringLiteral("提示"),         QStringLiteral("     Tavlo 窗口最小化"),
            QStringLiteral("最小化后截图"), QStringLiteral("最小化本窗口后截图"),
            QStringLiteral("直接截图"),     QStringLiteral("不最小化本窗口，直接截图"),
            QStringLiteral("取消"),         QStringLiteral("不截图")};
}

CaptureHints hintsForState(SelectionState selState) {
    switch (selState) {
    case SelectionState::Dragging:
        return {QStringLiteral("松开鼠标左键以确定最终截取范围"), QStringLiteral("按鼠标右键取消当前选区")};
    case SelectionState::Made:
        return {QStringLiteral("按空格/回车/双击左键发送当前选区的图像"), QStringLiteral("按鼠标右键取消当前选区")};
    case SelectionState::None: break;
    }
    return {QStringLiteral("按住鼠标左键不放选择截取范围"), QStringLiteral("按鼠标右键退出")};
}

QString pixelReadout(int red, int green, int blue) {
    return QStringLiteral("当前像素RGB值（%1、%2、%3）").arg(red).arg(green).arg(blue);
}

QString selectionSizeText(int width, int height) {
    return QStringLiteral("%1 × %2").arg(width).arg(height);
}

namespace {

QString causeText(screencopy::ScreenCopyCause cause) {
    using screencopy::ScreenCopyCause;
    switch (cause) {
    case ScreenCopyCause::NoPortal: return QStringLiteral("桌面的截图服务缺失：桌面门户服务没有运行。");
    case ScreenCopyCause::NoScreenshotService:
        return QStringLiteral("桌面的截图服务缺失：桌面门户没有为这个桌面提供截图功能。");
    case ScreenCopyCause::ServiceFailed: return QStringLiteral("桌面的截图服务未能截取屏幕。");
    case ScreenCopyCause::NoAnswer: return QStringLiteral("桌面的截图服务没有应答。");
    case ScreenCopyCause::Cancelled: return QStringLiteral("截图已被取消。");
    case ScreenCopyCause::Refused: return QStringLiteral("桌面拒绝了截图请求。");
    case ScreenCopyCause::Unreadable: break;
    }
    return QStringLiteral("无法读取屏幕画面。");
}

// "a", "a 和 b", "a、b 和 c".
QString packageList(const std::vector<std::string>& packages) {
    QString list;
    for (std::size_t i = 0; i < packages.size(); ++i) {
        if (i > 0) list += i + 1 == packages.size() ? QStringLiteral(" 和 ") : QStringLiteral("、");
        list += QString::fromStdString(packages[i]);
    }
    return list;
}

}  // namespace

QString captureFailureText(const screencopy::ScreenCopyError& error) {
    QString text = QStringLiteral("截取屏幕失败！\n") + causeText(error.cause());
    if (!error.packages().empty())
        text += QStringLiteral("\n请安装软件包 %1，然后重新登录。").arg(packageList(error.packages()));
    return text;
}

}  // namespace tavlo
