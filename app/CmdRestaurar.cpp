// dravonela restaurar --bd FICHERO --desde COPIA
// Puts a copy back in the database's place: the copy is checked first, and the file it
// replaces is kept beside it as FICHERO.dañado-AAAAMMDD-HHMMSS.

#include "ArgumentosOrden.h"
#include "Clock.h"
#include "Commands.h"
#include "CopiaSeguridad.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {
const char* const kUso =
    "Uso: dravonela restaurar --bd FICHERO --desde COPIA\n"
    "  Comprueba la copia y la pone en lugar de la base de datos, que se conserva como\n"
    "  FICHERO.dañado-AAAAMMDD-HHMMSS. Cierre antes el programa que use la base de datos.\n"
    "  --bd FICHERO   la base de datos que se sustituye\n"
    "  --desde COPIA  la copia que se pone en su lugar\n"
    "  --help         muestra esta ayuda\n";
} // namespace

int RunRestaurar(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    DvOrden::COrden orden("restaurar", kUso);
    QString bd, copia;
    orden.Valor("--bd", &bd);
    orden.Valor("--desde", &copia);
    if (const int fin = orden.Leer(argc, argv); fin != DvOrden::Seguir)
        return fin;
    if (bd.isEmpty())
        return orden.ErrorDeUso(QStringLiteral("falta --bd"));
    if (copia.isEmpty())
        return orden.ErrorDeUso(QStringLiteral("falta --desde"));
    QString apartado, error;
    if (!DvCopia::Restaurar(bd, copia, DvClock::Now(), &apartado, &error)) {
        orden.Error(error);
        return DvOrden::SalidaBaseDatos;
    }
    std::printf("Restaurada %s desde %s\n", QDir::toNativeSeparators(bd).toLocal8Bit().constData(),
                QDir::toNativeSeparators(copia).toLocal8Bit().constData());
    if (!apartado.isEmpty())
        std::printf("El fichero anterior se conserva como %s\n",
                    QDir::toNativeSeparators(apartado).toLocal8Bit().constData());
    return 0;
}
