#pragma once
#include <QString>

class QWidget;

namespace tavlo::widgets {

// The application's title, also the caption of every message box.
inline const QString kApplicationTitle = QStringLiteral("Tavlo助手");

// The general error report: a failure that no command caught, shown with its
// own text in a message box with one OK button.
void showErrorReport(QWidget* parent, const QString& text);

}  // namespace tavlo::widgets
