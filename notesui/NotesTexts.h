#pragma once
// What the notes' commands tell the user: failure boxes, the status line and
// the recovery question. The captions and tooltips stand beside the controls
// they label in NotesPanel.
#include <QString>
#include <QStringList>

namespace tavlo::notesui::texts {

QString loadFailed();
QString saveFailed();
QString exportFailed();
QString searchFailed();
QString exportAllFailed();
QString writeBackFailed();
QString causeLine(const QString& cause);

// The status line.
QString largeDayNote(const QString& megabytes);
QString largeWeekColumn(int column, const QString& megabytes);
QString previewOnly();
QString notLoaded(const QString& cause);
QString searchTextMissing();
QString nothingFound(const QString& text);
QString foundPlaces(qsizetype count, const QString& text);
QString exportedAll(int dayNotes, int weekPages, const QString& folder);
QString dailyBackupFailed();
QString exportAllFolderCaption();

// The question after a start that found unsaved notes.
QString recoveredDayNote(int year, int month, int day);
QString recoveredWeekPage(QChar letter);
QString recoveredNotes(const QStringList& which);
QString writeBackReplaces();
QString writeBack();
QString later();

}  // namespace tavlo::notesui::texts
