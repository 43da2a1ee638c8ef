#pragma once
// Writing the monthly report file: the text in Windows-1252 with CR LF line ends and no
// byte-order mark, written whole or not at all.

#include <QByteArray>
#include <QString>

// The text as Windows-1252 bytes, every line ending in CR LF; a character that has no
// Windows-1252 form becomes '?'. False (and `bytes` empty) when the system cannot
// convert to Windows-1252 at all.
bool TextoAWindows1252(const QString& texto, QByteArray& bytes);

// Writes the report to `ruta` through the program's one writer (DvArchivo::Escribir):
// never over the database or anything but a regular file, and the file is replaced
// only when every byte is on the disk, so a failure leaves the old file as it was. On
// failure returns false with the reason, one Spanish line, in `error`. With
// salidaEstandar, "-" is standard output.
bool EscribirArchivoInforme(const QString& ruta, const QString& texto, QString* error = nullptr,
                            bool salidaEstandar = false);
