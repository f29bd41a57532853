#pragma once
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <vector>

class QAction;
class QBoxLayout;
class QLabel;
class QToolButton;

namespace tavlo::app {

class NotesSearchPanel;
class NotesWeekGrid;
class TMainFrm;
struct NotesParts;

// The "日历记事" window: while it is open it holds the main window's own
// calendar, day editor, week editors and their buttons (the same controls,
// not copies) and lays them out where the user can reach them: the day area
// (calendar above, day editor below) on the left, the week page as an even
// grid on the right, each under its row of buttons, the search below. It
// grows with the window. On closing it saves like leaving the editors and
// hands every control back to its place in the main window.
class TNotesFrm : public QWidget {
    Q_OBJECT
public:
    // `parts` are the main window's own controls.
    TNotesFrm(TMainFrm& main, NotesParts& parts);
    ~TNotesFrm() override;

    // Borrows the controls (if not yet) and shows the window in front.
    void open();
    bool holdsControls() const { return !loans_.empty(); }

    // A line for the user under the week page (search results, backups,
    // notes too large to edit); empty hides it.
    void showStatus(const QString& text);
    NotesSearchPanel& searchPanel() const { return *searchPanel_; }

    static constexpr QSize kClientSize{980, 600};
    static constexpr int kSpacing = 6;
    static constexpr int kMargin = 8;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Loan {
        QPointer<QWidget> widget;
        QPointer<QWidget> parent;
        QRect geometry;
        bool hidden = false;
    };
    QToolButton* btnOutPutCon = nullptr;  // "内容导出"
    QToolButton* btnNotesMore = nullptr;  // "更多", its menu below
    QAction* N_ExportAllNotes = nullptr;  // "导出全部记事…"

    void createOwnControls();
    void createLayout();
    void placeOverMainWindow();
    void borrow();
    void lendInto(QBoxLayout* layout, QWidget* widget);
    void lend(QWidget* widget, QWidget* holder);
    void setTabOrder();
    void giveBack();

    TMainFrm& main_;
    NotesParts& parts_;
    std::vector<Loan> loans_;
    bool placed_ = false;

    // Where the lent controls go.
    QBoxLayout* dayTools_ = nullptr;
    QBoxLayout* dayButtons_ = nullptr;
    QBoxLayout* weekButtons_ = nullptr;
    QBoxLayout* clearSlot_ = nullptr;
    QBoxLayout* calendarSlot_ = nullptr;
    QBoxLayout* dayEditorSlot_ = nullptr;
    NotesWeekGrid* weekGrid_ = nullptr;
    NotesSearchPanel* searchPanel_ = nullptr;
    QLabel* lblNotesStatus = nullptr;
    QObject* enterClicks_ = nullptr;  // Enter and Space run the buttons
};

}  // namespace tavlo::app
