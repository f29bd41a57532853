#include "PictureOpenDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace tavlo::widgets {

std::vector<std::filesystem::path> choosePictures(QWidget* parent, const char* name, const QString& filter,
                                                  bool several, std::filesystem::path& lastFolder) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QLatin1String(name));
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);  // the title alone, not our patterns
    // The folder's own bytes: a name that is not UTF-8 must not end the command.
    const QString last =
        QString::fromUtf8(lastFolder.native().data(), static_cast<qsizetype>(lastFolder.native().size()));
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!last.isEmpty() && QDir(last).exists()) {
        dialog.setDirectory(last);
    } else {
        dialog.setDirectory(QDir(pictures).exists() ? pictures : QDir::homePath());
    }
    dialog.setNameFilter(filter);
    std::vector<std::filesystem::path> chosen;
    if (dialog.exec() != QDialog::Accepted) return chosen;
    for (const QString& file : dialog.selectedFiles())
        if (!file.isEmpty()) chosen.emplace_back(file.toStdU16String());
    if (!chosen.empty()) lastFolder = chosen.front().parent_path();
    return chosen;
}

}  // namespace tavlo::widgets
