#include "PictureOpenDialog.h"

#include "WidgetTexts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QTreeView>

#include <algorithm>

namespace tavlo::widgets {

namespace {

// The file list dates its files in the system's locale; the program's own
// (Chinese) is used instead, as for everything else it shows.
class ProgramLocaleDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        constexpr int kDateColumn = 3;
        if (role == Qt::DisplayRole && index.column() == kDateColumn) {
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel()))
                return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }
};

constexpr QSize kPreviewSize{200, 200};
constexpr QSize kDialogSize{960, 520};

// The picture under the cursor, shrunk to fit the preview; the picture's
// size in words for screen readers.
void showPreview(QLabel& preview, const QString& file) {
    QImageReader reader(file);
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty())
        reader.setScaledSize(size.scaled(kPreviewSize, Qt::KeepAspectRatio).expandedTo({1, 1}).boundedTo(size));
    const QImage image = reader.canRead() ? reader.read() : QImage();
    if (image.isNull()) {
        preview.setPixmap({});
        preview.setText(texts::noPreview());
        preview.setAccessibleDescription(texts::noPreview());
        return;
    }
    preview.setPixmap(QPixmap::fromImage(image));
    preview.setAccessibleDescription(texts::previewDescription(size.width(), size.height()));
}

// Room for the file list's four columns beside the places, and a preview
// on the right.
void furnish(QFileDialog& dialog) {
    dialog.setProxyModel(new ProgramLocaleDates(&dialog));
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("picturePreview"));
    preview->setAccessibleName(texts::previewName());
    preview->setFixedSize(kPreviewSize + QSize(8, 8));
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), Qt::AlignTop);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString& file) { showPreview(*preview, file); });
    QSize size = kDialogSize;
    if (const QScreen* screen = dialog.screen()) size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(size.expandedTo(dialog.minimumSizeHint()));
    // The size, type and date keep their room; the names take the rest.
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        const int widths[] = {90, 130, 150};
        for (int column = 1; column <= 3; ++column) {
            header->setSectionResizeMode(column, QHeaderView::Interactive);
            header->resizeSection(column, widths[column - 1]);
        }
    }
}

}  // namespace

std::vector<std::filesystem::path> choosePictures(QWidget* parent, const char* name, const QString& filter,
                                                  bool several, std::filesystem::path& lastFolder) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QLatin1String(name));
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    furnish(dialog);
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
