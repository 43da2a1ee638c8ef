// dravonela comprobar --bd FICHERO
// Runs SQLite's integrity check and the check of the roster tables on a database file,
// only reading it.

#include "ArgumentosOrden.h"
#include "Commands.h"
#include "CopiaSeguridad.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
const char* const kUso =
    "Uso: dravonela comprobar --bd FICHERO\n"
    "  Comprueba la base de datos sin cambiarla: escribe \"Correcta\" y termina con 0, o\n"
    "  dice qué está mal y termina con 1.\n"
    "  --bd FICHERO  la base de datos\n"
    "  --help        muestra esta ayuda\n";
} // namespace

int RunComprobar(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    DvOrden::COrden orden("comprobar", kUso);
    QString bd;
    orden.Valor("--bd", &bd);
    if (const int fin = orden.Leer(argc, argv); fin != DvOrden::Seguir)
        return fin;
    if (bd.isEmpty())
        return orden.ErrorDeUso(QStringLiteral("falta --bd"));
    const QStringList problemas = DvCopia::ProblemasFichero(bd, false);
    if (problemas.isEmpty()) {
        std::printf("Correcta\n");
        return 0;
    }
    for (const QString& problema : problemas)
        std::printf("%s\n", problema.toLocal8Bit().constData());
    return DvOrden::SalidaBaseDatos;
}
