#pragma once
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <vector>

class QToolButton;

namespace tavlo::app {

class TMainFrm;
struct NotesParts;

// The "日历记事" window: while it is open it holds the main window's own
// calendar, day editor, week page and their buttons (the same controls, not
// copies) and lays them out where the user can reach them; on closing it
// saves like leaving the editors and hands every control back to its place
// in the main window.
class TNotesFrm : public QWidget {
    Q_OBJECT
public:
    // `parts` and `weekPage` are the main window's own controls.
    TNotesFrm(TMainFrm& main, NotesParts& parts, QWidget* weekPage);
    ~TNotesFrm() override;

    // Borrows the controls (if not yet) and shows the window in front.
    void open();
    bool holdsControls() const { return !loans_.empty(); }

    static constexpr QSize kClientSize{948, 425};

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Loan {
        QPointer<QWidget> widget;
        QPointer<QWidget> parent;
        QRect geometry;
        bool hidden = false;
        int stackIndex = -1;  // its place in the main window's page control
    };
    QToolButton* btnOutPutCon = nullptr;  // "内容导出"

    void placeOverMainWindow();
    void borrow();
    void lend(QWidget* widget, QRect place);
    void giveBack();

    TMainFrm& main_;
    NotesParts& parts_;
    QWidget* weekPage_;
    std::vector<Loan> loans_;
    bool placed_ = false;
};

}  // namespace tavlo::app
