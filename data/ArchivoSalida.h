#pragma once
// The one way the program writes a file of its own (reports, rosters, calendars, copies).
//
//   QString error;
//   if (!DvArchivo::Escribir(ruta, bytes, &error))
//       ... show or print `error` (Spanish, one line) and fail ...
//
// The rules, the same for the window and the headless commands:
// - never over the roster database that is open, nor over a file registered with
//   Proteger (compared by file identity: another spelling, a symbolic or a hard link of
//   the database is the database);
// - never over anything but a regular file (a directory, a FIFO, a device is refused);
// - the content goes to a temporary file beside the target, is flushed to the disk and
//   checked, and only then replaces the old file; on any failure the old file stays as
//   it was, byte for byte, and the temporary file is removed;
// - a symbolic link to a regular file is kept: its target is the file replaced;
// - "-" is standard output where a caller allows it (Escribir's `salidaEstandar`); a
//   failed or short write there is a failure too.

#include <QByteArray>
#include <QString>

namespace DvArchivo {
// The reason ruta may not be written ("" when it may): the checks of Escribir that need
// no content, for a save dialog to refuse a name before anything is built.
QString MotivoRechazo(const QString& ruta);

// Writes contenido to ruta whole or not at all (see above). With salidaEstandar, "-"
// means standard output.
bool Escribir(const QString& ruta, const QByteArray& contenido, QString* error,
              bool salidaEstandar = false);

// A file that must never be written over in this run besides the open database (the
// --bd file of a headless command, named before it is opened).
void Proteger(const QString& ruta);
// Forgets the files given to Proteger (tests).
void OlvidarProtegidos();

// The prefix of the temporary files Escribir makes beside a target (".<name>.dvtmp-").
QString PrefijoTemporal(const QString& nombreDestino);
} // namespace DvArchivo
