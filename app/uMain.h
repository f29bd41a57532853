#pragma once
#include "Anchors.h"
#include "BGList.h"
#include "Bitmap.h"
#include "CaptionButtons.h"
#include "HeldPicture.h"
#include "WallpaperBackend.h"
#include "WallpaperChange.h"
#include "WallpaperRotation.h"
#include "WindowingTraits.h"
#include "uGlobal.h"

#include <QUrl>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QAction;
class QLabel;
class QStackedWidget;
class QTextEdit;
class QTimer;
class QToolButton;
class QWebEngineView;

namespace tavlo {
class CaptureController;
class TDM;
class TInforFrm;
class TPicSelFrm;
namespace notes {
struct SearchHit;
}
namespace notesui {
class NotesController;
class TNotesFrm;
}  // namespace notesui
}  // namespace tavlo

namespace tavlo::app {

class WidgetTreeFilter;
class WebPanel;
class AutoChange;
class WallpaperTray;
class SiteAddress;

// The main window: a borderless window with its own caption buttons, the
// date line, the options menu, the web panel, the picture of the moment and
// the commands around it.
class TMainFrm : public QWidget {
    Q_OBJECT
public:
    // The system browser, given a page address; false when none could be started.
    using ShellOpen = std::function<bool(const QUrl&)>;

    explicit TMainFrm(GlobalState& state, QWidget* parent = nullptr);
    ~TMainFrm() override;

    // Opens pages (QDesktopServices by default).
    void setShellOpen(ShellOpen open) { shellOpen_ = std::move(open); }
    // Ends the program (QCoreApplication::exit by default).
    using Terminate = std::function<void()>;
    void setTerminate(Terminate terminate) { terminate_ = std::move(terminate); }
    WebPanel& webPanel() const { return *webPanel_; }

    // The window as designed; its run-time geometry comes from LoadFormSize.
    static constexpr QSize kDesignClientSize{822, 466};

    // The dialogs the commands show; they are created after this window.
    void attachDialogs(TPicSelFrm* picker, TInforFrm* confirmation);
    // The notes database; created before this window.
    void attachDataModule(TDM* dm);
    // Where "Mix.bmp" goes: the running desktop's backend unless one is given.
    void setWallpaperBackend(std::unique_ptr<wallpaper::WallpaperBackend> backend);
    // The monitors the wallpaper is made for: the session's unless set.
    void setMonitorSource(MonitorSource monitors);
    // The automatic change of the wallpaper, and the tray icon with its menu.
    AutoChange& autoChange() const { return *autoChange_; }
    WallpaperTray& tray() const { return *tray_; }
    // The insert command's open dialog: the chosen files, none when cancelled.
    using ChooseFiles = std::function<std::vector<std::filesystem::path>(QWidget*)>;
    void setChooseFiles(ChooseFiles choose) { chooseFiles_ = std::move(choose); }

    // The screen capture behind SpeedButton1 and WM_COPYSCREEN: where the
    // screen's pixels come from, the question, the waits, and the signals
    // that tell how a capture went.
    CaptureController& capture() const { return *capture_; }

    // State that no control shows as it is: the walk through the background
    // list (CurrentBGFile, CurrentBGIndex) and the notes page.
    const BackgroundWalk& backgroundWalk() const { return walk; }
    std::int32_t notePage() const;

    // The picture shown in imgPicMix, or the part of it that can be seen;
    // null when there is none.
    const imaging::Bitmap* shownPicture() const { return currentPicture_ ? &currentPicture_->shown() : nullptr; }

    // The faces the caption buttons show now.
    CaptionFaces captionFaces() const;

    // What the desktop does with windows (the running session's unless set):
    // under a tiling compositor the window holds its size while shown, so
    // that it floats, and offers no minimise button; where the position is
    // unknown, none is applied and the close button keeps the stored one.
    void setWindowingTraits(WindowingTraits traits);

signals:
    // The window has been shown and painted for the first time.
    void firstPainted();
    // The current picture of the last run has been read and shown (or there
    // was none, or it could not be read); it is read after the first show.
    void currentPictureLoaded();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Fields of the window: CurrentBGFile and CurrentBGIndex, the walk
    // through the background list.
    BackgroundWalk walk;
    std::int32_t SavedWidth = 0, SavedHeight = 0, SavedLeft = 0, SavedTop = 0;
    // The position the geometry file holds (or the first run's), kept where
    // the window's own position cannot be known.
    std::int32_t storedLeft_ = 0, storedTop_ = 0;

    // Visible controls, back to front.
    TShape* shpBG = nullptr;
    TImage* imgBG = nullptr;
    TImage* imgLogo = nullptr;
    TImage* img_close_normal = nullptr;
    TImage* img_close_highlight = nullptr;
    TImage* img_close_down = nullptr;
    TImage* img_mini_normal = nullptr;
    TImage* img_mini_highlight = nullptr;
    TImage* img_mini_down = nullptr;
    QLabel* lblDateTime = nullptr;
    TLabel* lblSet = nullptr;
    TImage* imgAppToDesk = nullptr;
    QToolButton* btnInsertPic = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QWidget* pnlLeft = nullptr;
    TShape* shpLeft = nullptr;
    QWidget* pnlWeb = nullptr;
    TImage* imgAddToDesk = nullptr;
    QWidget* pngRight = nullptr;
    QStackedWidget* pgcMain = nullptr;
    QWidget* ts_PicShow = nullptr;
    TImage* imgPicMix = nullptr;
    QLabel* lblPicHint = nullptr;  // what to do, until there is a picture
    QLabel* lblApplied = nullptr;  // a passing notice after a successful apply

    // Parts that are never shown.
    QWidget* ts_PicMix = nullptr;
    QWidget* tsMain = nullptr;
    TImage* imgHint = nullptr;
    QTextEdit* rdtMain = nullptr;

    // Non-visual parts.
    WidgetTreeFilter* AppEvent1 = nullptr;
    QMenu* pmEmpty = nullptr;
    QMenu* popSysset = nullptr;
    QAction* N_OutPutCon = nullptr;
    QAction* N_CalNotes = nullptr;  // "日历记事" in the options menu
    QAction* N_help = nullptr;
    QAction* N_Submit = nullptr;
    QAction* N4 = nullptr;
    QAction* N_ExitPrj = nullptr;
    QTimer* TmrSaveCopy = nullptr;
    QTimer* tmrAutoSave = nullptr;

    // The browser views; null until the web panel has made them.
    QWebEngineView* webLink() const;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormResize();
    void lblSetClick();
    void N_helpClick();
    void N_SubmitClick();
    void N_ExitPrjClick();
    void AppEvent1Message(QObject* target, QEvent* event, bool& Handled);

    void imgBGMouseDown(QMouseEvent* event);
    void imgBGMouseMove();
    void img_close_normalMouseMove();
    void img_close_highlightMouseDown();
    void img_close_highlightClick();
    void img_mini_normalMouseMove();
    void img_mini_highlightMouseDown();
    void img_mini_highlightClick();

    void LoadFormSize();
    void SaveFormSize();

    // Commands of other parts of the system, wired to their controls.
    void btnInsertPicClick();
    void imgAppToDeskClick();
    void imgAddToDeskClick();

    // ---- The wallpaper's menu items, tray and walk (uMainWallpaper.cpp) ----
    void CreateWallpaperParts();
    MonitorSource monitorSource() const;
    void changeWallpaper(WallpaperRotation::Direction direction, bool scheduled);

    // ---- Screen capture (uMainCapture.cpp) ----
    std::unique_ptr<CaptureController> makeCaptureController();
    void SpeedButton1Click();
    // Handler of the posted WM_COPYSCREEN.
    void Copyscreanform();

    // Start-up steps of other parts of the system.
    void LoadBGList(bool StartAtChoice);
    void SavePngAsBmp();

    // ---- Calendar and notes (uMainNotes.cpp): each handler runs its
    // command in the notes controller ----
    void ConnectNotes();
    // The "日历记事" window's own: its export buttons, its search, and what
    // it does when it closes (save like leaving the editors).
    void N_OutPutConClick();
    void N_ExportAllNotesClick();
    void SearchNotes(const QString& text);
    void OpenSearchHit(const notes::SearchHit& hit);
    void NotesFrmClose();

    void btnAClick();
    void btnBClick();
    void btnCClick();
    void btnDClick();
    void btnEClick();
    void btnAbc_AClick();
    void btnAbc_BClick();
    void btnAbc_CClick();
    void N1Click();
    void N2Click();
    void N9Click();
    void N3Click();
    void V1Click();
    void X1Click();
    void CtrlZ1Click();
    void btnGouClick();
    void btnXClick();
    void imgDateClick();
    void imgRedColorClick();
    void btnClearConClick();
    void redt1Exit();
    void rdtAbcExit();
    void chnRiliChange();
    void N_CalNotesClick();
    void btnDateClick();
    void btnRedColorClick();

    // ---- end of calendar and notes ----

    void CreateControls();
    void CreateCaptionButtons();
    void CreateTopBar();
    void CreateLeftColumn();
    void CreateRightArea();
    void CreateHiddenParts();
    void CreateCalendarAndNotes();
    void CreateMenus();
    void ConnectHandlers();

    void showCaptionFaces(CaptionFaces faces);
    void handleCaptionEvent(CaptionEvent event);
    void captionDownReleased(QMouseEvent* event, bool isClose);
    void LoadCurrentPicture();
    void openInBrowser(const QUrl& page);
    void showPicture(HeldPicture picture);
    bool insertConverted(const std::filesystem::path& chosen, bool png);
    HeldPicture loadPicture(const std::filesystem::path& path) const;
    HeldPicture::Limit pictureLimit() const;
    wallpaper::WallpaperBackend& wallpaperBackend();
    void shapePainted();
    void runStep(const std::function<void()>& step);

    GlobalState& state_;
    std::unique_ptr<SiteAddress> site_;
    Anchors anchors_{kDesignClientSize};
    WebPanel* webPanel_ = nullptr;
    WindowFrame* frame_ = nullptr;
    WindowingTraits windowing_;
    CaptionButton closeButton_;
    CaptionButton miniButton_;
    ShellOpen shellOpen_;
    Terminate terminate_;
    TPicSelFrm* picSelFrm_ = nullptr;
    TInforFrm* inforFrm_ = nullptr;
    std::unique_ptr<wallpaper::WallpaperBackend> wallpaper_;
    MonitorSource monitors_;
    std::unique_ptr<AutoChange> autoChange_;
    std::unique_ptr<WallpaperTray> tray_;
    ChooseFiles chooseFiles_;
    // The picture imgPicMix shows, the one the apply command pastes.
    std::optional<HeldPicture> currentPicture_;
    bool lblSetHasMenu_ = false;
    void showApplied();
    void popUpOptions(QPoint at);
    bool firstPaintSeen_ = false;
    bool formShown_ = false;
    // Counts the pictures shown: a start-up read that finishes after an
    // insert must not replace the inserted picture.
    std::uint64_t pictureGeneration_ = 0;
    // The screen capture's flow, behind SpeedButton1 and WM_COPYSCREEN.
    std::unique_ptr<CaptureController> capture_;
    // The notes' commands and state, with the panel of their controls that
    // the "日历记事" window shows. Gone before the window's own controls.
    std::unique_ptr<notesui::NotesController> notes_;
    notesui::TNotesFrm* notesFrm_ = nullptr;
};

}  // namespace tavlo::app
