#pragma once
#include <QString>

// The main window's texts: its controls' captions, screen-reader names and
// tooltips, its options menu and its commands' messages. (The notes and the
// capture keep theirs with their controllers.)
namespace tavlo::app::texts {

inline constexpr const char* kClose = "关闭";
inline constexpr const char* kMinimise = "最小化";
inline constexpr const char* kOptions = "|  选项";
inline constexpr const char* kOptionsName = "选项";
inline constexpr const char* kOptionsTip = "打开选项菜单";
inline constexpr const char* kApplyName = "应用到桌面";
inline constexpr const char* kApplyTip = "把当前图片贴到背景图片上，设为桌面壁纸";
inline constexpr const char* kInsert = "插入图片";
inline constexpr const char* kInsertTip = "插入一张图片（BMP、JPG、PNG 或 GIF）作为当前图片";
inline constexpr const char* kPictureFilter = "图片 (*.bmp *.jpg *.jpeg *.png *.gif)";
inline constexpr const char* kCapture = "截  图";
inline constexpr const char* kCaptureName = "截图";
inline constexpr const char* kCaptureTip = "截取屏幕上的一块区域作为当前图片";
inline constexpr const char* kBackgroundsName = "添加背景图片";
inline constexpr const char* kBackgroundsTip = "添加、移除或选用背景图片";
inline constexpr const char* kCurrentPictureName = "当前图片";
// Shown where the picture goes until there is one.
inline constexpr const char* kPictureHint =
    "还没有图片\n\n点击上方的“插入图片”选一张图片，或点击“截  图”截取屏幕上的一块区域；"
    "再点击“应用到桌面”，图片就贴在背景图片的右上角，成为桌面壁纸。";
// A passing notice after the wallpaper was set.
inline constexpr const char* kApplied = "已设为桌面壁纸";

// The options menu.
inline constexpr const char* kExportNotes = "内容导出";
inline constexpr const char* kCalendarNotes = "日历记事";
inline constexpr const char* kHelp = "帮助说明";
inline constexpr const char* kFeedback = "意见反馈";
inline constexpr const char* kExit = "退出程序";

// Insert: the chosen file could not be shown or kept as the current picture.
QString insertFailed();

// A page could not be handed to a browser; `page` is where it is.
QString noBrowser(const QString& page);

// A second start found a copy running on the program folder that did not
// answer: it starts nothing.
QString anotherCopyNotAnswering();

}  // namespace tavlo::app::texts
