#pragma once
// The one way the program writes a file of its own (reports, rosters, calendars, copies,
// new databases).
//
//   const QString motivo = DvArchivo::MotivoRechazo(ruta); // before building anything
//   if (!motivo.isEmpty()) ... refuse the name (a headless command exits with 2) ...
//   QString error;
//   if (!DvArchivo::Escribir(ruta, bytes, &error))
//       ... show or print `error` (Spanish, one line) and fail ...
//
// The rules, the same for the window and the headless commands:
// - never over the roster database that is open, nor over a file registered with
//   Proteger (compared by file identity: another spelling, a symbolic or a hard link of
//   the database is the database);
// - never over anything but a regular file (a directory, a FIFO, a device is refused);
// - never over a file marked read-only, whoever runs the program;
// - the content goes to a temporary file beside the target, is flushed to the disk and
//   checked, and only then replaces the old file; on any failure the old file stays as
//   it was, byte for byte, and the temporary file is removed. The temporary file is
//   locked while it is written, so one left by a run that was killed is recognised and
//   removed by the next write to the same target;
// - a symbolic link to a regular file is kept: its target is the file replaced;
// - "-" is standard output where a caller allows it (Escribir's `salidaEstandar`); a
//   failed or short write there is a failure too.

#include <QByteArray>
#include <QString>

namespace DvArchivo {
// Why ruta may never be written: the open database or a protected file, something that
// is not a regular file, no name at all. "" when it may be tried (a write can still
// fail: a full disk, a folder that does not exist, a read-only file). For a save dialog
// to refuse a name, and for a headless command to refuse its argument, before anything
// is built.
QString MotivoRechazo(const QString& ruta);

// Writes contenido to ruta whole or not at all (see above). With salidaEstandar, "-"
// means standard output.
bool Escribir(const QString& ruta, const QByteArray& contenido, QString* error,
              bool salidaEstandar = false);

// As Escribir, for a file that must not exist yet: an existing file, also one that
// appears while the content is written, is left alone and the write fails.
bool EscribirNuevo(const QString& ruta, const QByteArray& contenido, QString* error);

// A file that must never be written over in this run besides the open database (the
// --bd file of a headless command, named before it is opened).
void Proteger(const QString& ruta);
// Forgets the files given to Proteger (tests).
void OlvidarProtegidos();

// The prefix of the temporary files Escribir makes beside a target (".<name>.dvtmp-").
QString PrefijoTemporal(const QString& nombreDestino);
// Removes the temporary files beside ruta that a write killed part-way left behind; a
// temporary file that a running write still holds is kept. Returns how many files went.
// Escribir and EscribirNuevo call it before they write.
int LimpiarTemporales(const QString& ruta);
} // namespace DvArchivo
