#include "WallpaperTexts.h"

namespace tavlo::wallpaper::texts {

std::string failureMessage(const std::string& cause, const std::filesystem::path& picture) {
    // A picture that cannot be read is no better in the desktop's settings.
    if (cause == pictureUnreadable()) return "无法设置桌面壁纸：" + cause + "。\n图片：\n" + picture.string();
    return "无法设置桌面壁纸：" + cause + "。\n壁纸图片保存在：\n" + picture.string() +
           "\n可以在桌面的设置中把这张图片选为壁纸。";
}

std::string desktopTitle(BackendKind kind) {
    switch (kind) {
    case BackendKind::Gnome: return "GNOME";
    case BackendKind::Cinnamon: return "Cinnamon";
    case BackendKind::Mate: return "MATE";
    case BackendKind::Ukui: return "UKUI";
    case BackendKind::Kde: return "KDE Plasma";
    case BackendKind::Xfce: return "XFCE";
    case BackendKind::Lxqt: return "LXQt";
    case BackendKind::Lxde: return "LXDE";
    case BackendKind::Deepin: return "Deepin";
    case BackendKind::Sway: return "sway";
    case BackendKind::Swaybg: return "wlroots";
    case BackendKind::Portal: return "桌面门户";
    case BackendKind::X11Root: return "X11";
    case BackendKind::Windows: return "Windows";
    case BackendKind::None: break;
    }
    return "未知";
}

std::string namedBy(const std::string& variable, const std::string& value, BackendKind kind) {
    return variable + "=" + value + " 表示 " + desktopTitle(kind) + " 桌面";
}

std::string sessionVariable(const std::string& variable, BackendKind kind) {
    return "设置了 " + variable + "，是 " + desktopTitle(kind) + " 会话";
}

std::string swaySocket(const std::string& socket) {
    return "SWAYSOCK=" + socket + " 提供 sway 的控制接口";
}

std::string wlrootsCompositor(const std::string& value) {
    return "XDG_CURRENT_DESKTOP=" + value + " 是没有壁纸接口的 Wayland 合成器，由 swaybg 绘制背景";
}

std::string unknownWayland(const std::string& display) {
    return "WAYLAND_DISPLAY=" + display + "，桌面未知，使用桌面门户的壁纸接口";
}

std::string x11Root(const std::string& display) {
    return "DISPLAY=" + display + "，桌面未知，画在 X11 根窗口上";
}

std::string noSession() {
    return "没有图形会话：DISPLAY 和 WAYLAND_DISPLAY 都没有设置";
}

std::string drawsItsOwnBackground(const std::string& variable, const std::string& value) {
    return variable + "=" + value + " 的桌面自己绘制背景，本程序无法更换它的壁纸";
}

std::string desktopWindowOf(const std::string& program, BackendKind kind) {
    return "根窗口上是 " + desktopTitle(kind) + " 的桌面窗口（" + program + "）";
}

std::string unknownDesktopWindow(const std::string& program) {
    return "根窗口被桌面程序 " + program + " 的窗口盖住了，本程序不认识这个桌面";
}

std::string desktopProgramNotRunning(const std::string& reason, const std::string& program) {
    return reason + "，但桌面程序 " + program + " 没有运行，画在 X11 根窗口上";
}

std::string noPortalUseSwaybg(const std::string& reason) {
    return reason + "；桌面门户没有壁纸接口，改由 swaybg 绘制背景";
}

std::string nothingOnWayland(const std::string& reason) {
    return reason + "；但桌面门户没有壁纸接口，也没有安装 swaybg";
}

std::string windowsDesktop() {
    return "Windows 桌面";
}

std::string notOnThisPlatform(BackendKind kind) {
    return "这个平台上没有 " + desktopTitle(kind) + " 桌面";
}

std::string schemaMissing(const std::string& schema) {
    return "没有安装桌面设置 " + schema;
}

std::string keyMissing(const std::string& schema, const std::string& key) {
    return "桌面设置 " + schema + " 中没有 " + key;
}

std::string noSettingsStore() {
    return "没有可用的桌面设置存储（dconf），桌面看不到新的设置";
}

std::string pathNotUtf8() {
    return "图片的路径不是有效的 UTF-8 文本，桌面设置存不下它";
}

std::string pathNotUri() {
    return "图片的路径无法写成文件地址";
}

std::string settingLocked(const std::string& schema, const std::string& key) {
    return "桌面设置 " + schema + " " + key + " 被锁定了，不能更改";
}

std::string settingNotKept(const std::string& schema, const std::string& key) {
    return "桌面设置存储没有保存 " + schema + " " + key + "（会话总线上的设置服务没有运行？）";
}

std::string noSessionBus() {
    return "无法连接会话的 D-Bus 总线";
}

std::string serviceNotRunning(BackendKind kind, const std::string& service) {
    return desktopTitle(kind) + " 的服务 " + service + " 没有运行";
}

std::string serviceSilent(BackendKind kind, const std::string& service) {
    return desktopTitle(kind) + " 的服务 " + service + " 没有应答";
}

std::string serviceDenied(BackendKind kind, const std::string& service) {
    return desktopTitle(kind) + " 的服务 " + service + " 拒绝了访问";
}

std::string serviceRefused(BackendKind kind, const std::string& service, const std::string& method) {
    return desktopTitle(kind) + " 的服务 " + service + " 没有接受这次设置（" + method + " 失败）";
}

std::string plasmaLocked() {
    return "KDE Plasma 的桌面部件已锁定，不能更换壁纸（请先解锁部件）";
}

std::string noMonitor(BackendKind kind) {
    return desktopTitle(kind) + " 桌面没有报告任何显示器";
}

std::string onMonitor(const std::string& monitor, const std::string& cause) {
    return "显示器“" + monitor + "”：" + cause;
}

std::string monitorGone() {
    return "桌面已经没有这个显示器";
}

std::string entryPathNotUtf8() {
    return "程序文件夹的路径不是 UTF-8 编码，桌面不会执行登录项";
}

std::string pathHasLineBreak() {
    return "图片的路径中有换行符，登录时无法恢复这张壁纸";
}

std::string noSwaySocket() {
    return "没有设置 SWAYSOCK，无法连接 sway";
}

std::string swaySocketPathTooLong() {
    return "sway 控制接口的路径太长";
}

std::string swayUnreachable() {
    return "无法连接 sway 的控制接口";
}

std::string swayTalkBroken() {
    return "与 sway 的通信中断了";
}

std::string swayRefused() {
    return "sway 拒绝了这张壁纸";
}

std::string swayReplyUnknown() {
    return "sway 的回答无法识别";
}

std::string pathHasControlCharacter() {
    return "图片的路径含有控制字符，sway 无法接受";
}

std::string pictureUnreadable() {
    return "无法读取壁纸图片";
}

std::string displayUnreachable(const std::string& display) {
    return "无法打开 X 显示 " + display;
}

std::string noTrueColour() {
    return "屏幕没有真彩色显示模式";
}

std::string noMemoryForScreen() {
    return "内存不足，无法生成和屏幕一样大的图像";
}

std::string x11Refused() {
    return "X 服务器没有接受壁纸图像";
}

std::string rootCovered(const std::string& program) {
    return "桌面程序 " + program + " 的窗口盖住了根窗口，画在根窗口上的壁纸看不见";
}

std::string programMissing(const std::string& program) {
    return "没有安装 " + program;
}

std::string programFailed(const std::string& program, int status) {
    return program + " 设置壁纸失败（退出码 " + std::to_string(status) + "）";
}

std::string programHung(const std::string& program) {
    return program + " 没有按时结束";
}

std::string desktopNotRunning(BackendKind kind, const std::string& program) {
    return desktopTitle(kind) + " 的桌面程序 " + program + " 没有运行";
}

std::string pictureNotLoaded(BackendKind kind, const std::string& program) {
    return desktopTitle(kind) + " 的桌面程序 " + program + " 没有载入这张图片";
}

std::string backgroundClientExited(const std::string& program) {
    return program + " 启动后立即退出了（合成器不支持背景层？）";
}

std::string backgroundClientSilent(const std::string& program) {
    return program + " 没有画出这张图片";
}

std::string backgroundClientCannotLoad(const std::string& program) {
    return program + " 无法载入这张图片";
}

std::string wallpaperProgramRefused(const std::string& program) {
    return "壁纸程序 " + program + " 没有接受这张图片";
}

std::string portalMissing() {
    return "桌面门户（xdg-desktop-portal）没有壁纸接口";
}

std::string portalCancelled() {
    return "壁纸的设置被取消了";
}

std::string portalFailed() {
    return "桌面门户没有设置壁纸";
}

std::string portalSilent() {
    return "桌面门户没有回答";
}

std::string registryUnwritable() {
    return "无法写入注册表中的壁纸设置";
}

std::string systemRefused() {
    return "系统没有接受这张壁纸";
}

std::string nothingToRestore() {
    return "还没有设置过壁纸，没有可以恢复的图片";
}

}  // namespace tavlo::wallpaper::texts
