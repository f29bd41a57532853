#include "NotesSearchPanel.h"

#include "Controls.h"
#include "NotesButtons.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavlo::notesui {

namespace {

// Lines are shown whole up to this many characters.
constexpr int kShownLineChars = 120;
constexpr int kResultsHeight = 126;

}  // namespace

NotesSearchPanel::NotesSearchPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("NotesSearchPanel"));
    edtSearch = widgets::make<QLineEdit>(this, "edtSearch", {});
    edtSearch->setPlaceholderText(QStringLiteral("搜索日记和周记"));
    edtSearch->setToolTip(QStringLiteral("输入要找的文字，按回车搜索全部日记和周记"));
    edtSearch->setAccessibleName(QStringLiteral("搜索记事"));
    edtSearch->setClearButtonEnabled(true);
    btnSearch = notesCommandButton(this, "btnSearch", QStringLiteral("搜索"), QStringLiteral("搜索全部日记和周记"));
    btnCloseSearch = notesCommandButton(this, "btnCloseSearch", QStringLiteral("×"), QStringLiteral("关闭搜索结果"));
    btnCloseSearch->hide();
    lstSearchResults = widgets::make<QListWidget>(this, "lstSearchResults", {});
    lstSearchResults->setAccessibleName(QStringLiteral("搜索结果"));
    lstSearchResults->setToolTip(QStringLiteral("单击或按回车打开这篇记事"));
    lstSearchResults->setFixedHeight(kResultsHeight);
    lstSearchResults->hide();

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(edtSearch, 1);
    bar->addWidget(btnSearch);
    bar->addWidget(btnCloseSearch);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addLayout(bar);
    column->addWidget(lstSearchResults);

    const auto search = [this] { emit searchRequested(edtSearch->text().trimmed()); };
    connect(edtSearch, &QLineEdit::returnPressed, this, search);
    connect(btnSearch, &QToolButton::clicked, this, search);
    connect(btnCloseSearch, &QToolButton::clicked, this, &NotesSearchPanel::closeHits);
    connect(lstSearchResults, &QListWidget::itemClicked, this, &NotesSearchPanel::choose);
    connect(lstSearchResults, &QListWidget::itemActivated, this, &NotesSearchPanel::choose);
}

QString NotesSearchPanel::hitCaption(const notes::SearchHit& hit) {
    static const QString weekdays = QStringLiteral("一二三四五六日");
    static const char* const columns[] = {"周一", "周二", "周三", "周四", "周五", "周六/日"};
    QString place;
    if (hit.date.isValid())
        place = QStringLiteral("%1年%2月%3日（%4）")
                    .arg(hit.date.year())
                    .arg(hit.date.month())
                    .arg(hit.date.day())
                    .arg(weekdays[hit.date.dayOfWeek() - 1]);
    else
        place = QStringLiteral("周记 %1 页 %2")
                    .arg(QChar(u'A' + hit.page - 1))
                    .arg(QString::fromUtf8(columns[hit.column - 1]));
    QString line = hit.line.trimmed();
    if (line.size() > kShownLineChars) line = line.left(kShownLineChars) + QStringLiteral("…");
    return place + QStringLiteral("  ") + line;
}

void NotesSearchPanel::showHits(const std::vector<notes::SearchHit>& hits) {
    hits_ = hits;
    lstSearchResults->clear();
    for (const notes::SearchHit& hit : hits_) lstSearchResults->addItem(hitCaption(hit));
    const bool any = !hits_.empty();
    lstSearchResults->setVisible(any);
    btnCloseSearch->setVisible(any);
    if (any) lstSearchResults->setCurrentRow(0);
}

void NotesSearchPanel::closeHits() {
    showHits({});
    edtSearch->setFocus();
}

void NotesSearchPanel::choose(QListWidgetItem* item) {
    const int row = lstSearchResults->row(item);
    if (row >= 0 && row < static_cast<int>(hits_.size())) emit hitChosen(hits_[row]);
}

}  // namespace tavlo::notesui
