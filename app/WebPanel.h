#pragma once
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QUrl>

#include <QWebEngineView>

namespace tavlo::app {

// The two browser views of the main window: `webLink`, the window onto the
// start page, and `WebEditor`, a blank page in design mode on a hidden page.
// Starting the browser engine takes a noticeable time, so webLink is made
// only when createViews() is called (after the window has been painted).
// WebEditor, which no user ever sees, is made when something first asks for
// it: until then it costs no renderer of its own. Navigations and design mode
// asked for before a view exists are carried out when it is made.
class WebPanel : public QObject {
    Q_OBJECT
public:
    WebPanel(QWidget* linkParent, QRect linkGeometry, QWidget* editorParent, QObject* parent = nullptr);

    void navigateLink(const QUrl& url);
    void navigateEditor(const QUrl& url);
    // Puts the editor's document in design mode once it has loaded.
    void turnOnEditorDesignMode();

    // Makes webLink; does nothing the second time.
    void createViews();

    QWebEngineView* webLink() const { return webLink_; }
    // Made on first use once createViews() has run; null before then.
    QWebEngineView* webEditor();

signals:
    void viewsCreated();
    void linkLoadFinished(bool ok);
    // The editor's document reports designMode "on".
    void editorDesignModeOn();

private:
    void createEditor();
    void editorLoaded(bool ok);
    void applyDesignMode();

    QPointer<QWidget> linkParent_;
    QRect linkGeometry_;
    QPointer<QWidget> editorParent_;
    QPointer<QWebEngineView> webLink_;
    QPointer<QWebEngineView> webEditor_;
    QUrl linkUrl_;
    QUrl editorUrl_;
    bool designModeWanted_ = false;
};

}  // namespace tavlo::app
