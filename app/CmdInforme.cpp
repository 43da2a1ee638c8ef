// dravonela informe --bd FICHERO --mes M --anio A --servicio ID|NOMBRE [--clave TEXTO]
//                   [--salida FICHERO]
// The monthly report of a service without any window: printed as UTF-8 on standard
// output, or written with --salida exactly as the program writes its report file.

#include "ArchivoInforme.h"
#include "ArgumentosOrden.h"
#include "Commands.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "Informe.h"
#include "Progreso.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {
using DvOrden::LeerEntero;

using DvOrden::SalidaBaseDatos;
using DvOrden::SalidaUso;

void ImprimirUso() {
    std::fputs("Uso: dravonela informe --bd FICHERO --mes M --anio A --servicio ID|NOMBRE\n"
               "                        [--clave TEXTO] [--salida FICHERO]\n"
               "  Genera el informe mensual de un servicio.\n"
               "  --mes M        mes de 1 a 12\n"
               "  --anio A       año (cuatro cifras)\n"
               "  --servicio S   número o nombre del servicio\n"
               "  --clave TEXTO  contraseña de la base de datos (por omisión la de la\n"
               "                 configuración, o \"pradoluminar\")\n"
               "  --salida F     escribe el fichero del informe (Windows-1252, CR LF) en vez\n"
               "                 de mostrarlo\n",
               stderr);
}

// One line on standard error.
void ImprimirError(QString texto) {
    texto.replace(QLatin1Char('\r'), QLatin1Char(' '));
    texto.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "dravonela informe: %s\n", texto.simplified().toLocal8Bit().constData());
}

} // namespace

int RunInforme(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(2);

    QString bd, mesTexto, anioTexto, servicioTexto, salida, clave;
    bool hayClave = false;
    bool haySalida = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--ayuda") || arg == QLatin1String("--help") ||
            arg == QLatin1String("-h")) {
            ImprimirUso();
            return 0;
        }
        QString* destino = nullptr;
        if (arg == QLatin1String("--bd"))
            destino = &bd;
        else if (arg == QLatin1String("--mes"))
            destino = &mesTexto;
        else if (arg == QLatin1String("--anio"))
            destino = &anioTexto;
        else if (arg == QLatin1String("--servicio"))
            destino = &servicioTexto;
        else if (arg == QLatin1String("--clave")) {
            destino = &clave;
            hayClave = true;
        } else if (arg == QLatin1String("--salida")) {
            destino = &salida;
            haySalida = true;
        }
        if (!destino) {
            ImprimirError(QStringLiteral("argumento no reconocido: %1").arg(arg));
            ImprimirUso();
            return SalidaUso;
        }
        if (i + 1 >= args.size()) {
            ImprimirError(QStringLiteral("falta el valor de %1").arg(arg));
            ImprimirUso();
            return SalidaUso;
        }
        *destino = args[++i];
    }
    if (bd.isEmpty() || mesTexto.isEmpty() || anioTexto.isEmpty() || servicioTexto.isEmpty()) {
        ImprimirError(QStringLiteral("faltan argumentos: --bd, --mes, --anio y --servicio son "
                                     "obligatorios"));
        ImprimirUso();
        return SalidaUso;
    }
    int mes = 0;
    if (!LeerEntero(mesTexto, mes) || mes < 1 || mes > 12) {
        ImprimirError(QStringLiteral("el mes debe ser un número de 1 a 12: %1").arg(mesTexto));
        return SalidaUso;
    }
    int anio = 0;
    if (!LeerEntero(anioTexto, anio) || anio < 100 || anio > 9999) {
        ImprimirError(QStringLiteral("el año debe ser un número de 100 a 9999: %1").arg(anioTexto));
        return SalidaUso;
    }
    if (haySalida && salida.isEmpty()) {
        ImprimirError(QStringLiteral("falta el nombre del fichero de --salida"));
        return SalidaUso;
    }
    if (!QFileInfo(bd).isFile()) {
        ImprimirError(QStringLiteral("no existe el fichero de base de datos %1").arg(bd));
        return SalidaBaseDatos;
    }

    // Database failures are collected and end the command, instead of a message box.
    DvOrden::CBaseOrden base;
    if (const int salidaError = DvOrden::AbrirBaseYServicio(
            bd, hayClave ? &clave : nullptr, servicioTexto,
            [](const QString& texto) { ImprimirError(texto); }, base))
        return salidaError;
    QStringList& errores = *base.errores;
    const int servicio = base.servicio;

    CProgresoSinVentana progreso;
    QString texto;
    const bool completo = GenerarInforme(mes, anio, servicio, texto, progreso);
    if (!completo || !errores.isEmpty()) {
        ImprimirError(
            errores.isEmpty()
                ? QStringLiteral("Hubo un error generando el informe")
                : QStringLiteral("Hubo un error generando el informe: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }

    if (haySalida) {
        QString error;
        if (!EscribirArchivoInforme(salida, texto, &error)) {
            ImprimirError(
                QStringLiteral("No se pudo escribir en el fichero %1: %2").arg(salida, error));
            return SalidaBaseDatos;
        }
        return 0;
    }
    const QByteArray bytes = texto.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
    return 0;
}
