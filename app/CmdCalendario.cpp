// dravonela calendario --bd FICHERO --trabajador ID --mes M --anio A [--meses N]
//                      [--clave TEXTO] --formato ics|pdf --salida FICHERO
// One worker's months without any window: the calendar file for the phone (ics) or the
// personal sheet, one A4 page per month (pdf).

#include "ArgumentosOrden.h"
#include "CalendarioArchivos.h"
#include "Commands.h"
#include "DbQuery.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <memory>

namespace {
using DvOrden::LeerEntero;
using DvOrden::SalidaBaseDatos;
using DvOrden::SalidaUso;

constexpr int kMaximoMeses = 24;

const char* const kUso =
    "Uso: dravonela calendario --bd FICHERO --trabajador ID --mes M --anio A [--meses N]\n"
    "                          [--clave TEXTO] --formato ics|pdf --salida FICHERO\n"
    "  Escribe los turnos de un trabajador: el calendario para el móvil o la hoja\n"
    "  personal del mes.\n"
    "  --bd FICHERO     base de datos\n"
    "  --trabajador ID  número del trabajador (PERSONAL.ID)\n"
    "  --mes M          primer mes, de 1 a 12\n"
    "  --anio A         año posterior a 2000 (cuatro cifras)\n"
    "  --meses N        meses seguidos desde M/A, de 1 a 24 (por omisión 1)\n"
    "  --clave TEXTO    contraseña de la base de datos (por omisión la de la\n"
    "                   configuración, o \"pradoluminar\")\n"
    "  --formato F      ics: calendario iCalendar (zona Europe/Madrid);\n"
    "                   pdf: hoja personal, una página A4 por mes\n"
    "  --salida F       fichero que se escribe (\"-\": la salida estándar)\n"
    "  --help           muestra esta ayuda\n";
// The message on one line of standard error; a bad value is a usage fault (exit 2).
int Uso(const DvOrden::COrden& orden, const QString& texto) {
    orden.Error(texto);
    return SalidaUso;
}
} // namespace

int RunCalendario(int argc, char** argv) {
    DvOrden::COrden orden("calendario", kUso);
    QString bd, trabajadorTexto, mesTexto, anioTexto, mesesTexto, formato, salida, clave;
    bool hayClave = false;
    orden.Valor("--bd", &bd);
    orden.Valor("--trabajador", &trabajadorTexto);
    orden.Valor("--mes", &mesTexto);
    orden.Valor("--anio", &anioTexto);
    orden.Valor("--meses", &mesesTexto);
    orden.Valor("--formato", &formato);
    orden.Valor("--salida", &salida);
    orden.Valor("--clave", &clave, &hayClave);
    if (const int fin = orden.Leer(argc, argv); fin != DvOrden::Seguir)
        return fin;
    if (bd.isEmpty() || trabajadorTexto.isEmpty() || mesTexto.isEmpty() || anioTexto.isEmpty() ||
        formato.isEmpty() || salida.isEmpty())
        return orden.ErrorDeUso(QStringLiteral("faltan argumentos: --bd, --trabajador, --mes, "
                                               "--anio, --formato y --salida son obligatorios"));
    int trabajador = 0;
    if (!LeerEntero(trabajadorTexto, trabajador) || trabajador <= 0)
        return Uso(
            orden,
            QStringLiteral("el trabajador debe ser un número positivo: %1").arg(trabajadorTexto));
    int mes = 0;
    if (!LeerEntero(mesTexto, mes) || mes < 1 || mes > 12)
        return Uso(orden, QStringLiteral("el mes debe ser un número de 1 a 12: %1").arg(mesTexto));
    int anio = 0;
    if (!LeerEntero(anioTexto, anio) || anio <= 2000 || anio > 9998)
        return Uso(orden,
                   QStringLiteral("el año debe ser un número posterior a 2000: %1").arg(anioTexto));
    int meses = 1;
    if (!mesesTexto.isEmpty() &&
        (!LeerEntero(mesesTexto, meses) || meses < 1 || meses > kMaximoMeses))
        return Uso(orden, QStringLiteral("--meses debe ser un número de 1 a %1: %2")
                              .arg(kMaximoMeses)
                              .arg(mesesTexto));
    formato = formato.trimmed().toLower();
    if (formato != QLatin1String("ics") && formato != QLatin1String("pdf"))
        return Uso(orden, QStringLiteral("formato no reconocido: %1 (use ics o pdf)").arg(formato));
    const bool pdf = formato == QLatin1String("pdf");
    if (const int fin = orden.ComprobarSalida(salida, bd); fin != DvOrden::Seguir)
        return fin;
    if (!QFileInfo(bd).isFile()) {
        orden.Error(QStringLiteral("no existe el fichero de base de datos %1").arg(bd));
        return SalidaBaseDatos;
    }

    // The sheet is drawn with fonts, which need the offscreen platform; the calendar
    // file needs no more than the core. An application already running (a test) serves.
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        if (pdf) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
        } else {
            app = std::make_unique<QCoreApplication>(argc, argv);
        }
    }

    DvOrden::CBaseOrden base;
    if (const int salidaError = DvOrden::AbrirBase(
            bd, hayClave ? &clave : nullptr, [&orden](const QString& texto) { orden.Error(texto); },
            base))
        return salidaError;
    const QStringList& errores = *base.errores;
    const bool existe = CDbQuery().GetIntById(QStringLiteral("PERSONAL"), QStringLiteral("ID"),
                                              trabajador) == trabajador;
    if (!errores.isEmpty()) {
        orden.Error(QStringLiteral("error de base de datos: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }
    if (!existe)
        return Uso(orden, QStringLiteral("no existe el trabajador %1").arg(trabajador));

    QByteArray bytes;
    QString error;
    const bool hecho = DvCalendario::Contenido(
        trabajador, mes, anio, meses, pdf ? DvCalendario::Formato::Pdf : DvCalendario::Formato::Ics,
        bytes, &error);
    if (!errores.isEmpty()) {
        orden.Error(QStringLiteral("error de base de datos: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }
    if (!hecho) {
        orden.Error(error);
        return SalidaBaseDatos;
    }
    return orden.EscribirSalida(salida, bytes);
}
