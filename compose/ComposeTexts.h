#pragma once
#include "ApplyCommand.h"

#include <string>

// Every text of the apply command and its confirmation dialog that a user
// may see or hear (captions, screen-reader names, tooltips, messages).
namespace tavlo::compose::texts {

// What the window says after an apply; empty where it says nothing
// (WallpaperNotSet brings its own message: ApplyCommand::failureMessage).
std::string applyMessage(ApplyResult result);

// The confirmation dialog TInforFrm.
inline constexpr const char* kQuestion = "您确定要更换壁纸？";
inline constexpr const char* kWarningName = "警告";
inline constexpr const char* kDontAskAgain = "下次不再提示";
inline constexpr const char* kDontAskAgainTip = "以后更换壁纸时不再询问";
inline constexpr const char* kOk = "确  定";
inline constexpr const char* kOkName = "确定";
inline constexpr const char* kOkTip = "更换壁纸";
inline constexpr const char* kCancel = "取  消";
inline constexpr const char* kCancelName = "取消";
inline constexpr const char* kCancelTip = "不更换壁纸";
inline constexpr const char* kCloseName = "关闭";
inline constexpr const char* kCloseTip = "关闭，不更换壁纸";

}  // namespace tavlo::compose::texts
