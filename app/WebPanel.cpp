#include "WebPanel.h"

#include "Command.h"

#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

namespace tavlo::app {

WebPanel::WebPanel(QWidget* linkParent, QRect linkGeometry, QWidget* editorParent, QObject* parent)
    : QObject(parent), linkParent_(linkParent), linkGeometry_(linkGeometry), editorParent_(editorParent) {}

void WebPanel::navigateLink(const QUrl& url) {
    linkUrl_ = url;
    if (webLink_) webLink_->setUrl(url);
}

void WebPanel::navigateEditor(const QUrl& url) {
    editorUrl_ = url;
    if (webEditor_) webEditor_->setUrl(url);
}

void WebPanel::turnOnEditorDesignMode() {
    designModeWanted_ = true;
}

QWebEngineView* WebPanel::webEditor() {
    if (!webEditor_ && webLink_ && editorParent_) createEditor();
    return webEditor_;
}

void WebPanel::createEditor() {
    webEditor_ = new QWebEngineView(editorParent_);
    webEditor_->setObjectName(QStringLiteral("WebEditor"));
    webEditor_->setGeometry(editorParent_->rect());
    connect(webEditor_, &QWebEngineView::loadFinished, this, &WebPanel::editorLoaded);
    if (editorUrl_.isValid()) webEditor_->setUrl(editorUrl_);
}

void WebPanel::createViews() {
    if (webLink_ || !linkParent_) return;

    webLink_ = new QWebEngineView(linkParent_);
    webLink_->setObjectName(QStringLiteral("webLink"));
    webLink_->setGeometry(linkGeometry_);
    // The page shown there has nothing to operate, and most of it lies
    // outside the panel: Tab passes it by, so that the focus never lands on
    // nothing. A click still puts the keyboard into the page.
    widgets::leaveOutOfTabChain(webLink_);
    connect(webLink_, &QWebEngineView::loadFinished, this, &WebPanel::linkLoadFinished);
    if (linkUrl_.isValid()) webLink_->setUrl(linkUrl_);
    webLink_->show();

    emit viewsCreated();
}

void WebPanel::editorLoaded(bool ok) {
    if (ok && designModeWanted_) applyDesignMode();
}

void WebPanel::applyDesignMode() {
    QPointer<WebPanel> self(this);
    webEditor_->page()->runJavaScript(QStringLiteral("document.designMode = 'on'; document.designMode"),
                                      [self](const QVariant& mode) {
                                          if (self && mode.toString() == QLatin1String("on")) {
                                              emit self->editorDesignModeOn();
                                          }
                                      });
}

}  // namespace tavlo::app
