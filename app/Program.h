#pragma once
#include "uGlobal.h"

#include <functional>
#include <memory>

class QObject;

namespace tavlo {
class TDM;
class TPicSelFrm;
class TInforFrm;
}  // namespace tavlo

namespace tavlo::app {

class TMainFrm;
class TDeskBGSetFrm;
class TPicPreviewFrm;

// Everything start-up creates, in the order it creates it; destroyed in the
// reverse order (the two dialogs with the main window, their parent). Needs a
// running QApplication.
class ProgramWindows {
public:
    explicit ProgramWindows(ProgramFolder folder);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    GlobalState& state() { return state_; }
    TDM& DM() { return *dm_; }
    TMainFrm& MainFrm() { return *mainFrm_; }
    TDeskBGSetFrm& DeskBGSetFrm() { return *deskBGSetFrm_; }
    TPicPreviewFrm& PicPreviewFrm() { return *picPreviewFrm_; }
    TPicSelFrm& PicSelFrm() { return *picSelFrm_; }
    TInforFrm& InforFrm() { return *inforFrm_; }

    // The objects in creation order.
    std::vector<QObject*> creationOrder() const;

private:
    GlobalState state_;
    std::unique_ptr<TDM> dm_;
    std::unique_ptr<TMainFrm> mainFrm_;
    std::unique_ptr<TDeskBGSetFrm> deskBGSetFrm_;
    std::unique_ptr<TPicPreviewFrm> picPreviewFrm_;
    TPicSelFrm* picSelFrm_ = nullptr;  // owned by the main window, their parent
    TInforFrm* inforFrm_ = nullptr;
};

// Sets up what the browser views need before the application object exists.
void prepareApplication();
// Title, icon and font substitutions of the application object.
void initialiseApplication();

// The program in `folder`: creates the windows, shows the main window and runs the
// message loop. Where a copy already runs on `folder`, it shows that copy's
// main window instead and returns 0 (1 when that copy does not answer). `shown` (optional) is told about the main
// window once it is shown and painted; it is how the start-up benchmark watches.
int runProgram(int argc, char** argv, const ProgramFolder& folder, const std::function<void(TMainFrm&)>& shown = {});

}  // namespace tavlo::app
