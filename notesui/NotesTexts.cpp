#include "NotesTexts.h"

namespace tavlo::notesui::texts {

QString loadFailed() {
    return QStringLiteral("加载记事内容失败！");
}
QString saveFailed() {
    return QStringLiteral("保存记事内容失败，内容仍保留在编辑框中！");
}
QString exportFailed() {
    return QStringLiteral("内容导出失败，请换一个文件名或位置后重试！");
}
QString searchFailed() {
    return QStringLiteral("搜索记事失败！");
}
QString exportAllFailed() {
    return QStringLiteral("导出全部记事失败！");
}
QString writeBackFailed() {
    return QStringLiteral("写回找回的记事失败！找回的内容仍然保留，下次启动时会再问。");
}
QString causeLine(const QString& cause) {
    return QStringLiteral("原因：") + cause;
}

QString largeDayNote(const QString& megabytes) {
    return QStringLiteral("这篇日记很大（%1 MB），").arg(megabytes);
}
QString largeWeekColumn(int column, const QString& megabytes) {
    return QStringLiteral("周记第 %1 栏很大（%2 MB），").arg(column).arg(megabytes);
}
QString previewOnly() {
    return QStringLiteral(
        "为免窗口卡住，只显示开头部分的文字，不能在这里修改。全文仍完整保存，"
        "可以用“更多”里的“导出全部记事…”取出。");
}
QString searchTextMissing() {
    return QStringLiteral("请先输入要找的文字。");
}
QString notLoaded(const QString& cause) {
    return QStringLiteral("记事没能读出（%1），编辑框暂时不能输入：在这里输入的内容将无法保存。").arg(cause);
}
namespace {
// The text searched for as the status line names it: its beginning, so that
// a long text never makes the line, or the window, wider.
QString shownSearchText(const QString& text) {
    constexpr qsizetype kShownChars = 30;
    return text.size() <= kShownChars ? text : text.left(kShownChars) + QStringLiteral("…");
}
}  // namespace

QString nothingFound(const QString& text) {
    return QStringLiteral("没有找到包含“%1”的记事。").arg(shownSearchText(text));
}
QString foundPlaces(qsizetype count, const QString& text) {
    return QStringLiteral("找到 %1 处包含“%2”的地方，单击一行打开那篇记事。").arg(count).arg(shownSearchText(text));
}
QString exportedAll(int dayNotes, int weekPages, const QString& folder) {
    return QStringLiteral("已导出 %1 篇日记、%2 页周记到“%3”。").arg(dayNotes).arg(weekPages).arg(folder);
}
QString dailyBackupFailed() {
    return QStringLiteral("今天的记事自动备份没有做成。");
}
QString exportAllFolderCaption() {
    return QStringLiteral("导出全部记事到文件夹");
}

QString recoveredDayNote(int year, int month, int day) {
    return QStringLiteral("%1年%2月%3日的日记").arg(year).arg(month).arg(day);
}
QString recoveredWeekPage(QChar letter) {
    return QStringLiteral("周记 %1 页").arg(letter);
}
QString recoveredNotes(const QStringList& which) {
    return QStringLiteral("上次退出时有记事没能保存，已经找回：%1。").arg(which.join(QStringLiteral("、")));
}
QString writeBackReplaces() {
    return QStringLiteral("写回后，它们会替换记事中原来的内容；原来的记事会先备份到 Backup 文件夹。");
}
QString writeBack() {
    return QStringLiteral("写回记事");
}
QString later() {
    return QStringLiteral("以后再说");
}

}  // namespace tavlo::notesui::texts
