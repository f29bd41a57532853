#include "QtNotices.h"

#include "StandardOutput.h"

#include <QString>
#include <QtGlobal>

namespace tavlo::tool {
namespace {

bool showNotices = false;

void handleNotice(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (showNotices || type == QtFatalMsg) writeError((message + QLatin1Char('\n')).toLocal8Bit().toStdString());
}

}  // namespace

void quietQtNotices(bool show) {
    showNotices = show;
    qInstallMessageHandler(handleNotice);
}

}  // namespace tavlo::tool
