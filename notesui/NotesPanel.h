#pragma once
#include <QPointer>
#include <QTextEdit>
#include <QWidget>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QToolButton;

namespace tavlo {
class TChnCalendar;
namespace widgets {
class TImage;
}
}  // namespace tavlo

namespace tavlo::notesui {

class NotesSearchPanel;
class NotesWeekGrid;

// Every control of the notes in one widget, laid out where the user can
// reach them: the day area (calendar above, day editor below) on the left,
// the week page as an even grid on the right, each under its row of
// buttons, the search and a status line below. It grows with its window.
// Each control's object name is the name the program's design gives it;
// whoever handles a command finds its control by that name.
class NotesPanel : public QWidget {
    Q_OBJECT
public:
    explicit NotesPanel(QWidget* parent = nullptr);
    ~NotesPanel() override;

    static constexpr int kWeekPages = 5;
    static constexpr int kDayPapers = 3;
    static constexpr int kSpacing = 6;
    static constexpr int kMargin = 8;

    TChnCalendar* calendar() const { return chnRili; }
    QTextEdit* dayEditor() const { return rdtAbc; }
    const std::array<QTextEdit*, 6>& weekEditors() const { return redt; }
    const std::array<QToolButton*, kWeekPages>& weekButtons() const { return weekButtons_; }
    const std::array<QToolButton*, kDayPapers>& dayButtons() const { return dayButtons_; }
    // The colour command as a button: reached by Tab, it holds the focus itself.
    QToolButton* colourButton() const { return btnRedColor; }
    // The context menu of every note editor.
    QMenu* editorMenu() const { return pmDeskTopMonCal; }
    NotesSearchPanel& searchPanel() const { return *searchPanel_; }
    // The note editor the user last worked in.
    QTextEdit* lastEditor() const { return lastEditor_; }

    // A line for the user under the week page (search results, backups,
    // notes too large to edit); empty hides it.
    void showStatus(const QString& text);

    // The control with the object name `name`.
    template <class Control>
    Control* control(const char* name) const {
        auto* found = findChild<Control*>(QLatin1String(name));
        Q_ASSERT_X(found, "NotesPanel::control", name);
        return found;
    }

signals:
    // A week editor or the day editor lost the focus to another control of
    // the program (not to its own context menu).
    void weekEditorLeft();
    void dayEditorLeft();

private:
    void createDayArea();
    void createWeekPage();
    void createCommands();
    void createEditorMenu();
    void createLayout();
    void watchEditors();
    void setTabOrder();

    // The day area.
    QFrame* dayArea_ = nullptr;
    QWidget* pnlABC = nullptr;
    TChnCalendar* chnRili = nullptr;
    QTextEdit* rdtAbc = nullptr;
    QToolButton* btnClearCon = nullptr;
    QToolButton* btnGou = nullptr;
    QToolButton* btnX = nullptr;
    // The date stamp and colour commands as pictures (never shown) and as
    // buttons, reachable by the keyboard and named for screen readers.
    widgets::TImage* imgDate = nullptr;
    widgets::TImage* imgRedColor = nullptr;
    QToolButton* btnDate = nullptr;
    QToolButton* btnRedColor = nullptr;
    std::array<QToolButton*, kDayPapers> dayButtons_{};  // btnAbc_A … btnAbc_C

    // The week page.
    std::array<QTextEdit*, 6> redt{};
    std::array<QLabel*, 6> weekLabels{};
    std::array<QToolButton*, kWeekPages> weekButtons_{};  // btnA … btnE
    NotesWeekGrid* weekGrid_ = nullptr;

    QToolButton* btnOutPutCon = nullptr;  // "内容导出"
    QToolButton* btnNotesMore = nullptr;  // "更多", its menu below
    QAction* N_ExportAllNotes = nullptr;  // "导出全部记事…"
    QMenu* pmDeskTopMonCal = nullptr;
    NotesSearchPanel* searchPanel_ = nullptr;
    QLabel* lblNotesStatus = nullptr;

    QPointer<QTextEdit> lastEditor_;
    // Watches the editors for the focus leaving them; gone before they are,
    // so that destroying them saves nothing.
    QObject* focusWatch_ = nullptr;
};

}  // namespace tavlo::notesui
