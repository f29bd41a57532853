#pragma once

// Every text of the background picker that a user may see or hear (title,
// captions, screen-reader names, tooltips, messages).
namespace tavlo::library::texts {

inline constexpr const char* kTitle = "背景图片选择";
inline constexpr const char* kListHeader = "默认图片";
inline constexpr const char* kListName = "背景图片";
inline constexpr const char* kHint =
    "注：可添加多个壁纸     大小1024*768以     上                                    图像格式：     "
    "                       BMP,JPG";
inline constexpr const char* kRemove = "移  除";
inline constexpr const char* kRemoveName = "移除";
inline constexpr const char* kRemoveTip = "从列表中移除选中的背景图片";
inline constexpr const char* kAdd = "添  加";
inline constexpr const char* kAddName = "添加";
inline constexpr const char* kAddTip = "添加一张背景图片（BMP、JPG、PNG 或 GIF）";
inline constexpr const char* kOk = "确  定";
inline constexpr const char* kOkName = "确定";
inline constexpr const char* kOkTip = "选用选中的背景图片并关闭";
inline constexpr const char* kClose = "关闭";

// Add's messages: copying or converting failed; the result is no picture.
inline constexpr const char* kAddFailed = "添加失败，请重试！";
inline constexpr const char* kAddNotAPicture = "添加背景图片异常，请重试！";
// The open dialog's filter: the kinds the insert command takes as well.
inline constexpr const char* kPictureFilter = "图片 (*.bmp *.jpg *.jpeg *.png *.gif)";
// Why a file of another kind cannot be added.
inline constexpr const char* kUnsupportedKind = "只能添加 BMP、JPG、PNG 或 GIF 图片。";

// Remove's question, and why the built-in background stays.
inline constexpr const char* kRemoveQuestion = "从列表中移除背景图片“%1”？\n图片文件仍保留在背景文件夹中。";
inline constexpr const char* kRemoveConfirm = "移除";
inline constexpr const char* kRemoveConfirmTip = "从列表中移除这张背景图片";
inline constexpr const char* kRemoveKeep = "取消";
inline constexpr const char* kRemoveKeepTip = "保留这张背景图片";
inline constexpr const char* kBuiltInStays = "“%1”是程序自带的背景图片，不能移除。";

}  // namespace tavlo::library::texts
