#pragma once
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QUrl>

#include <QWebEngineView>

namespace tavlo::app {

// The two browser views of the main window: `webLink`, the window onto the
// start page, and `WebEditor`, a blank page in design mode on a hidden page.
// Starting the browser engine takes a noticeable time, so the views are made
// only when createViews() is called (after the window has been painted);
// navigations and design mode asked for before then are carried out at once
// when the views exist.
class WebPanel : public QObject {
    Q_OBJECT
public:
    WebPanel(QWidget* linkParent, QRect linkGeometry, QWidget* editorParent, QObject* parent = nullptr);

    void navigateLink(const QUrl& url);
    void navigateEditor(const QUrl& url);
    // Puts the editor's document in design mode once it has loaded.
    void turnOnEditorDesignMode();

    // Makes the two views; does nothing the second time.
    void createViews();

    QWebEngineView* webLink() const { return webLink_; }
    QWebEngineView* webEditor() const { return webEditor_; }

signals:
    void viewsCreated();
    void linkLoadFinished(bool ok);
    // The editor's document reports designMode "on".
    void editorDesignModeOn();

private:
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
