#pragma once
// What the tests of written files look at: a file's bytes and a folder's names.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace DvTest {
// The file's bytes; "<no existe>" when it cannot be read.
inline QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
}

// Every name in the folder, hidden ones, folders and special files too, sorted.
inline QStringList Contenido(const QString& carpeta) {
    return QDir(carpeta).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
} // namespace DvTest
