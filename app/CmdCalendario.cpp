// dravonela calendario --bd FICHERO --trabajador ID --mes M --anio A [--meses N]
//                      [--clave TEXTO] --formato ics|pdf --salida FICHERO
// One worker's months without any window: the calendar file for the phone (ics) or the
// personal sheet, one A4 page per month (pdf).

#include "ArchivoSalida.h"
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

void ImprimirUso(std::FILE* destino) {
    std::fputs(
        "Uso: dravonela calendario --bd FICHERO --trabajador ID --mes M --anio A [--meses N]\n"
        "                          [--clave TEXTO] --formato ics|pdf --salida FICHERO\n"
        "  Escribe los turnos de un trabajador: el calendario para el móvil o la hoja\n"
        "  personal del mes.\n"
        "  --trabajador ID  número del trabajador (PERSONAL.ID)\n"
        "  --mes M          primer mes, de 1 a 12\n"
        "  --anio A         año posterior a 2000 (cuatro cifras)\n"
        "  --meses N        meses seguidos desde M/A, de 1 a 24 (por omisión 1)\n"
        "  --clave TEXTO    contraseña de la base de datos (por omisión la de la\n"
        "                   configuración, o \"pradoluminar\")\n"
        "  --formato F      ics: calendario iCalendar (zona Europe/Madrid);\n"
        "                   pdf: hoja personal, una página A4 por mes\n"
        "  --salida F       fichero que se escribe (\"-\": la salida estándar)\n",
        destino);
}

// One line on standard error.
void ImprimirError(QString texto) {
    texto.replace(QLatin1Char('\r'), QLatin1Char(' '));
    texto.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "dravonela calendario: %s\n",
                 texto.simplified().toLocal8Bit().constData());
}

int ErrorDeUso(const QString& texto, bool conUso = false) {
    ImprimirError(texto);
    if (conUso)
        ImprimirUso(stderr);
    return SalidaUso;
}
} // namespace

int RunCalendario(int argc, char** argv) {
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    QString bd, trabajadorTexto, mesTexto, anioTexto, mesesTexto, formato, salida, clave;
    bool ayuda = false;
    QStringList dadas;
    QString motivo;
    if (!DvOrden::LeerOpciones(args,
                               {{QStringLiteral("--bd"), &bd},
                                {QStringLiteral("--trabajador"), &trabajadorTexto},
                                {QStringLiteral("--mes"), &mesTexto},
                                {QStringLiteral("--anio"), &anioTexto},
                                {QStringLiteral("--meses"), &mesesTexto},
                                {QStringLiteral("--formato"), &formato},
                                {QStringLiteral("--salida"), &salida},
                                {QStringLiteral("--clave"), &clave}},
                               &ayuda, &dadas, &motivo))
        return ErrorDeUso(motivo, true);
    if (ayuda) {
        ImprimirUso(stdout);
        return 0;
    }
    const bool hayClave = dadas.contains(QStringLiteral("--clave"));
    if (bd.isEmpty() || trabajadorTexto.isEmpty() || mesTexto.isEmpty() || anioTexto.isEmpty() ||
        formato.isEmpty() || salida.isEmpty())
        return ErrorDeUso(QStringLiteral("faltan argumentos: --bd, --trabajador, --mes, --anio, "
                                         "--formato y --salida son obligatorios"),
                          true);
    int trabajador = 0;
    if (!LeerEntero(trabajadorTexto, trabajador) || trabajador <= 0)
        return ErrorDeUso(
            QStringLiteral("el trabajador debe ser un número positivo: %1").arg(trabajadorTexto));
    int mes = 0;
    if (!LeerEntero(mesTexto, mes) || mes < 1 || mes > 12)
        return ErrorDeUso(QStringLiteral("el mes debe ser un número de 1 a 12: %1").arg(mesTexto));
    int anio = 0;
    if (!LeerEntero(anioTexto, anio) || anio <= 2000 || anio > 9998)
        return ErrorDeUso(
            QStringLiteral("el año debe ser un número posterior a 2000: %1").arg(anioTexto));
    int meses = 1;
    if (!mesesTexto.isEmpty() &&
        (!LeerEntero(mesesTexto, meses) || meses < 1 || meses > kMaximoMeses))
        return ErrorDeUso(QStringLiteral("--meses debe ser un número de 1 a %1: %2")
                              .arg(kMaximoMeses)
                              .arg(mesesTexto));
    formato = formato.trimmed().toLower();
    if (formato != QLatin1String("ics") && formato != QLatin1String("pdf"))
        return ErrorDeUso(QStringLiteral("formato no reconocido: %1 (use ics o pdf)").arg(formato));
    const bool pdf = formato == QLatin1String("pdf");
    if (!QFileInfo(bd).isFile()) {
        ImprimirError(QStringLiteral("no existe el fichero de base de datos %1").arg(bd));
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

    // The database is never the output, whatever it is called.
    DvArchivo::Proteger(bd);
    DvOrden::CBaseOrden base;
    if (const int salidaError = DvOrden::AbrirBase(
            bd, hayClave ? &clave : nullptr, [](const QString& texto) { ImprimirError(texto); },
            base))
        return salidaError;
    const QStringList& errores = *base.errores;
    const bool existe = CDbQuery().GetIntById(QStringLiteral("PERSONAL"), QStringLiteral("ID"),
                                              trabajador) == trabajador;
    if (!errores.isEmpty()) {
        ImprimirError(QStringLiteral("error de base de datos: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }
    if (!existe)
        return ErrorDeUso(QStringLiteral("no existe el trabajador %1").arg(trabajador));

    QByteArray bytes;
    QString error;
    const bool hecho = DvCalendario::Contenido(
        trabajador, mes, anio, meses, pdf ? DvCalendario::Formato::Pdf : DvCalendario::Formato::Ics,
        bytes, &error);
    if (!errores.isEmpty()) {
        ImprimirError(QStringLiteral("error de base de datos: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }
    if (!hecho) {
        ImprimirError(error);
        return SalidaBaseDatos;
    }
    if (!DvArchivo::Escribir(salida, bytes, &error, true)) {
        ImprimirError(error);
        return SalidaBaseDatos;
    }
    return 0;
}
