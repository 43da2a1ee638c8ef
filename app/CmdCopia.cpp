// dravonela copia --bd FICHERO [--destino CARPETA]
// Makes a copy of the database now, as the window program does before its first change:
// consistent even while another program writes the file, checked, and the folder of
// copies rotated.

#include "ArchivoSalida.h"
#include "ArgumentosOrden.h"
#include "Clock.h"
#include "Commands.h"
#include "CopiaSeguridad.h"
#include "UbicacionBd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {
const char* const kUso =
    "Uso: dravonela copia --bd FICHERO [--destino CARPETA]\n"
    "  Hace ahora una copia de seguridad de la base de datos (ostrevan-AAAAMMDD-HHMMSS.mdb).\n"
    "  Se guardan las 10 últimas y la más reciente de cada uno de los últimos 12 meses.\n"
    "  --bd FICHERO       la base de datos\n"
    "  --destino CARPETA  carpeta de las copias (por omisión copias/ junto a la base de\n"
    "                     datos, o en la carpeta de datos del usuario)\n"
    "  --help             muestra esta ayuda\n";
} // namespace

int RunCopia(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    DvOrden::COrden orden("copia", kUso);
    QString bd, destino;
    orden.Valor("--bd", &bd);
    orden.Valor("--destino", &destino);
    if (const int fin = orden.Leer(argc, argv); fin != DvOrden::Seguir)
        return fin;
    if (bd.isEmpty())
        return orden.ErrorDeUso(QStringLiteral("falta --bd"));
    // The copies never go over the database.
    DvArchivo::Proteger(bd);
    QString carpeta;
    if (destino.isEmpty()) {
        carpeta = DvCopia::Carpeta(bd, CUbicacionBd::CarpetaUsuario());
        if (carpeta.isEmpty()) {
            orden.Error(
                QStringLiteral("no hay ninguna carpeta de copias en la que se pueda escribir"));
            return DvOrden::SalidaBaseDatos;
        }
    } else {
        const QFileInfo info(destino);
        if (info.exists() && !info.isDir())
            return orden.ErrorDeUso(
                QStringLiteral("--destino ha de ser una carpeta: %1").arg(destino));
        if (!QDir().mkpath(destino)) {
            orden.Error(QStringLiteral("no se pudo crear la carpeta %1").arg(destino));
            return DvOrden::SalidaBaseDatos;
        }
        carpeta = destino;
    }
    const DvCopia::CResultado hecha = DvCopia::CopiarFichero(bd, carpeta, DvClock::Now());
    if (hecha.estado != DvCopia::Estado::Hecha) {
        orden.Error(hecha.mensaje);
        return DvOrden::SalidaBaseDatos;
    }
    std::printf("%s\n", QDir::toNativeSeparators(hecha.ruta).toLocal8Bit().constData());
    return 0;
}
