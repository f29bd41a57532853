#pragma once
#include "NoteSearch.h"

#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QToolButton;

namespace tavlo::notesui {

// The notes window's search: a field, its button, and the list of matching
// lines (shown once a search has found something). Choosing a line asks for
// its note to be opened.
class NotesSearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit NotesSearchPanel(QWidget* parent = nullptr);

    // Shows the lines found; none hides the list.
    void showHits(const std::vector<notes::SearchHit>& hits);
    void closeHits();

    QLineEdit* field() const { return edtSearch; }
    QListWidget* results() const { return lstSearchResults; }

    // How a hit is listed: "2010年6月1日（二）  line", "周记 B 页 周三  line".
    static QString hitCaption(const notes::SearchHit& hit);

signals:
    void searchRequested(const QString& text);
    void hitChosen(const tavlo::notes::SearchHit& hit);

private:
    void choose(QListWidgetItem* item);

    QLineEdit* edtSearch = nullptr;
    QToolButton* btnSearch = nullptr;
    QToolButton* btnCloseSearch = nullptr;
    QListWidget* lstSearchResults = nullptr;
    std::vector<notes::SearchHit> hits_;
};

}  // namespace tavlo::notesui
