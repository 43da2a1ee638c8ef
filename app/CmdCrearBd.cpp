// dravonela crear-bd FICHERO [--demo] [--clave TEXTO]
// Makes a new roster database file, without any window. With --demo it also holds the
// demonstration data, its leave periods and exceptions placed around the current month.

#include "ArgumentosOrden.h"
#include "Clock.h"
#include "Commands.h"
#include "Resources.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {
const char* const kUso =
    "Uso: dravonela crear-bd FICHERO [--demo] [--clave TEXTO]\n"
    "  Crea una base de datos nueva (no sobrescribe un fichero existente).\n"
    "  --demo         incluye los datos de demostración\n"
    "  --clave TEXTO  contraseña de la base de datos (por omisión \"pradoluminar\";\n"
    "                 vacía: sin contraseña)\n"
    "  --help         muestra esta ayuda\n";
} // namespace

int RunCrearBd(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    DvOrden::COrden orden("crear-bd", kUso);
    QString path;
    QString password = QStringLiteral("pradoluminar");
    bool demo = false;
    orden.Posicional(&path);
    orden.Interruptor("--demo", &demo);
    orden.Valor("--clave", &password);
    if (const int fin = orden.Leer(argc, argv); fin != DvOrden::Seguir)
        return fin;
    if (path.isEmpty())
        return orden.ErrorDeUso(QStringLiteral("falta el nombre del fichero"));
    if (const int fin = orden.ComprobarSalida(path, QString(), false); fin != DvOrden::Seguir)
        return fin;

    QString demoSql;
    if (demo) {
        demoSql = DvResources::ReadText(QStringLiteral(":/sql/demo.sql"));
        if (demoSql.isEmpty()) {
            orden.Error(QStringLiteral("faltan los datos de demostración en el programa"));
            return DvOrden::SalidaBaseDatos;
        }
    }
    QString error;
    if (!DvSchema::CreateDatabase(path, password, demoSql, DvClock::Today(), error)) {
        orden.Error(error);
        return DvOrden::SalidaBaseDatos;
    }
    std::printf("Base de datos creada: %s%s\n", path.toLocal8Bit().constData(),
                demo ? " (con datos de demostración)" : "");
    return 0;
}
