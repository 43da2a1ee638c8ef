#pragma once
// What the window program does for the safety of its database file:
// - a copy (DvCopia) right before the first change of each file opened, with a note in
//   the status bar when it is made or skipped (a short disk, a damaged file);
// - SQLite's quick check when a file is opened; a damaged file is named in a message
//   with the newest good copy and its date, and that copy is put back only when the
//   planner says yes (the damaged file is set aside, never removed);
// - the journal of changes behind "Deshacer" and "Rehacer".

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace DvRevision {
// Copies before the first change and the journal, on the program's connection. The note
// of each copy goes to nota (the status bar).
void Instalar(std::function<void(const QString&)> nota);
// Neither copies nor journal from here on (the window program has ended).
void Desinstalar();

// The folder of copies of bd: copias/ beside it, else in the user's data folder.
QString CarpetaCopias(const QString& bd);

// The quick check of the file open now, once per opening, or of the file that has just
// failed to open; on damage the message and the offer to restore. True when a file is
// open in the end and was not found damaged, or is the copy put in its place.
bool RevisarAbierta(QWidget* padre);

// The message about the damaged file bd (the problems found in it) with the offer of
// its newest good copy. Only after a yes: cerrar (the file must not be open while it
// is replaced), then the copy is put in its place, the damaged file set aside. True
// when the copy is in place.
bool OfrecerCopia(QWidget* padre, const QString& bd, const QStringList& problemas,
                  const std::function<void()>& cerrar);
} // namespace DvRevision
