#pragma once
// The save and open file dialogs of the program, through one door so tests can answer them.
//
//   const QString path = DvFileDialog::GetSaveFileName(this, "csv", "*.csv",
//       "Archivos CSV files (*.csv)|*.csv|Todos los archivos (*.*)|*.*||");
//   if (path.isEmpty()) return; // cancelled
//
// Filters are written as pairs "description|patterns" separated by "|" and ended by
// "||". A name given without extension gets the default extension. Tests queue the
// answers with SetNextFileName (an empty name answers Cancel) and read back what was
// asked with LastRequest.

#include <QString>
#include <QWidget>

namespace DvFileDialog {
struct Request {
    QString defaultExtension;
    QString initialName; // of a save dialog; the starting folder of an open dialog
    QString filter;
    bool confirmOverwrite = true;
    bool asked = false; // false until a dialog has been asked for
};

// The chosen path, or an empty text when the user cancelled. The user is asked before
// an existing file is overwritten when confirmOverwrite is set.
QString GetSaveFileName(QWidget* owner, const QString& defaultExtension, const QString& initialName,
                        const QString& filter, bool confirmOverwrite = true);

// The chosen existing file, or an empty text when the user cancelled; the dialog starts
// in the folder given (the current one when empty). Answered by the same queue as the
// save dialog (SetNextFileName), taken as given.
QString GetOpenFileName(QWidget* owner, const QString& filter, const QString& folder = QString());

// "A (*.a)|*.a|B|*.b||" -> "A (*.a);;B (*.b)": each description, with its patterns
// appended in brackets unless it already shows them.
QString ToQtFilter(const QString& filter);
// The path with ".ext" appended when its file name has no extension (and ext is set).
QString WithDefaultExtension(const QString& path, const QString& extension);

// Tests.
void SetNextFileName(const QString& path);
void ClearFileNames();
Request LastRequest();

// The folder chosen for files the program writes there (the user may make a new one),
// or an empty text when the user cancelled. Tests queue the answers with
// SetNextFolderName (an empty name answers Cancel).
QString GetFolderName(QWidget* owner, const QString& title, const QString& initialFolder);
void SetNextFolderName(const QString& path);
void ClearFolderNames();
} // namespace DvFileDialog
