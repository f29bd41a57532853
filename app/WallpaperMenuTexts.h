#pragma once

// The texts of the wallpaper's items in the options menu and of the tray icon.
namespace tavlo::app::texts {

inline constexpr const char* kFitMenu = "壁纸铺放方式";
inline constexpr const char* kFitStretch = "拉伸";
inline constexpr const char* kFitFill = "填充";
inline constexpr const char* kFitFit = "适应";
inline constexpr const char* kFitCenter = "居中";
inline constexpr const char* kFitTile = "平铺";
inline constexpr const char* kPrimaryOnly = "只在主显示器上贴图";

inline constexpr const char* kAutoChangeMenu = "自动更换壁纸";
inline constexpr const char* kAutoOff = "关闭";
inline constexpr const char* kAutoEvery15 = "每 15 分钟";
inline constexpr const char* kAutoEvery30 = "每 30 分钟";
inline constexpr const char* kAutoEvery60 = "每 60 分钟";
inline constexpr const char* kAutoEvery180 = "每 3 小时";
inline constexpr const char* kAutoDaily = "每天定时…";
inline constexpr const char* kAutoLogin = "每次登录时";
inline constexpr const char* kNextWallpaper = "下一张";
inline constexpr const char* kPreviousWallpaper = "上一张";
inline constexpr const char* kPause = "暂停自动更换";
inline constexpr const char* kResume = "继续自动更换";
inline constexpr const char* kShowMain = "显示主窗口";
inline constexpr const char* kQuit = "退出";

inline constexpr const char* kDailyTitle = "每天定时更换壁纸";
inline constexpr const char* kDailyLabel = "每天在这个时间更换壁纸：";
inline constexpr const char* kScheduleFailed = "无法设定自动更换壁纸：";

}  // namespace tavlo::app::texts
