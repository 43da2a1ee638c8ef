#pragma once
// Helpers of the program-shell tests: demo databases made for a chosen day and opened as
// the program's connection, and the running program on them.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <memory>

class COstrevanApp;

namespace DvAppPrueba {
// A new demo database under the test's temporary folder, its dates placed around
// `hoy`, without password; empty on failure (the test then fails).
QString NuevaBdDemo(const QString& nombre, const QDate& hoy);
// Closes the program's connection and opens the file as the program would find it.
bool AbrirBd(const QString& ruta);
// Runs statements on the open connection; false when one failed.
bool Sql(const QString& sentencias);
// The program started on the file (already opened with AbrirBd) with the arguments.
std::unique_ptr<COstrevanApp> Iniciar(const QString& ruta, const QStringList& argumentos = {});
// Visible top-level windows.
int VentanasVisibles();
// Runs SQL on the file through a connection of its own (the file is made when absent).
bool SqlEnFichero(const QString& ruta, const char* sql);
// The bytes of a file, or "<no existe>".
QByteArray Leer(const QString& ruta);
} // namespace DvAppPrueba
