#pragma once
// Small roster databases for the tests: a fresh file opened as the program's one
// connection, filled with a few statements, database errors recorded instead of shown.

#include <QString>
#include <QStringList>

namespace DvPrueba {
// Makes a new empty database file (no password) under the test's temporary folder,
// opens it as the program's connection and records database errors in Errores().
QString NuevaBd(const QString& nombre);
// Opens an existing file (no password) as the program's connection.
bool AbrirBd(const QString& ruta);
// Runs statements (a failure fails the test through the recorded errors).
void Sql(const QStringList& sentencias);
QStringList& Errores();
// 'YYYY/MM/DD HH:MM:SS' as the program writes it.
QString F(int anio, int mes, int dia, int hora = 0, int minuto = 0);
} // namespace DvPrueba
