// dravonela informe --bd FICHERO --mes M --anio A --servicio ID|NOMBRE [--clave TEXTO]
//                   [--salida FICHERO]
// The monthly report of a service without any window: printed as UTF-8 on standard
// output, or written with --salida exactly as the program writes its report file.

#include "ArchivoInforme.h"
#include "ArgumentosOrden.h"
#include "Commands.h"
#include "Informe.h"
#include "Progreso.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace {
using DvOrden::SalidaBaseDatos;
using DvOrden::SalidaUso;
using DvOrden::Seguir;

const char* const kUso =
    "Uso: dravonela informe --bd FICHERO --mes M --anio A --servicio ID|NOMBRE\n"
    "                        [--clave TEXTO] [--salida FICHERO]\n"
    "  Genera el informe mensual de un servicio.\n"
    "  --bd FICHERO   base de datos\n"
    "  --mes M        mes de 1 a 12\n"
    "  --anio A       año (cuatro cifras)\n"
    "  --servicio S   número o nombre del servicio\n"
    "  --clave TEXTO  contraseña de la base de datos (por omisión la de la\n"
    "                 configuración, o \"pradoluminar\")\n"
    "  --salida F     escribe el fichero del informe (Windows-1252, CR LF) en vez\n"
    "                 de mostrarlo; \"-\": ese mismo texto en la salida estándar\n"
    "  --help         muestra esta ayuda\n";
} // namespace

int RunInforme(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    DvOrden::COrden orden("informe", kUso);
    QString bd, mesTexto, anioTexto, servicioTexto, salida, clave;
    bool hayClave = false;
    bool haySalida = false;
    orden.Valor("--bd", &bd);
    orden.Valor("--mes", &mesTexto);
    orden.Valor("--anio", &anioTexto);
    orden.Valor("--servicio", &servicioTexto);
    orden.Valor("--clave", &clave, &hayClave);
    orden.Valor("--salida", &salida, &haySalida);
    if (const int fin = orden.Leer(argc, argv); fin != Seguir)
        return fin;

    if (bd.isEmpty() || mesTexto.isEmpty() || anioTexto.isEmpty() || servicioTexto.isEmpty())
        return orden.ErrorDeUso(QStringLiteral("faltan argumentos: --bd, --mes, --anio y "
                                               "--servicio son obligatorios"));
    int mes = 0, anio = 0;
    if (!orden.LeerMes(mesTexto, &mes) || !orden.LeerAnio(anioTexto, &anio, 100, 9999))
        return SalidaUso;
    if (haySalida && salida.isEmpty()) {
        orden.Error(QStringLiteral("falta el nombre del fichero de --salida"));
        return SalidaUso;
    }
    if (haySalida)
        if (const int fin = orden.ComprobarSalida(salida, bd); fin != Seguir)
            return fin;
    if (!QFileInfo(bd).isFile()) {
        orden.Error(QStringLiteral("no existe el fichero de base de datos %1").arg(bd));
        return SalidaBaseDatos;
    }

    // Database failures are collected and end the command, instead of a message box.
    DvOrden::CBaseOrden base;
    if (const int fin = DvOrden::AbrirBaseYServicio(
            bd, hayClave ? &clave : nullptr, servicioTexto,
            [&orden](const QString& texto) { orden.Error(texto); }, base))
        return fin;
    const QStringList& errores = *base.errores;

    CProgresoSinVentana progreso;
    QString texto;
    const bool completo = GenerarInforme(mes, anio, base.servicio, texto, progreso);
    if (!completo || !errores.isEmpty()) {
        orden.Error(
            errores.isEmpty()
                ? QStringLiteral("Hubo un error generando el informe")
                : QStringLiteral("Hubo un error generando el informe: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }

    if (haySalida) {
        QString error;
        if (!EscribirArchivoInforme(salida, texto, &error, true)) {
            orden.Error(error);
            return SalidaBaseDatos;
        }
        return 0;
    }
    // On the screen as UTF-8; a standard output that cannot take it all is a failure.
    return orden.EscribirSalida(QStringLiteral("-"), texto.toUtf8());
}
