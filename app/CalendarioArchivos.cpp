#include "CalendarioArchivos.h"

#include "ArchivoSalida.h"
#include "Calendario.h"
#include "CalendarioIcs.h"
#include "Clock.h"
#include "HojaPersonal.h"

#include <QDir>
#include <QSet>
#include <unordered_map>

namespace DvCalendario {
Formato FormatoDe(const QString& ruta) {
    return ruta.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? Formato::Pdf : Formato::Ics;
}

bool Contenido(int idPersona, int mes, int anio, int meses, Formato formato, QByteArray& bytes,
               QString* error, CDatosCalendarios* compartidos) {
    CCalendarioTrabajador calendario;
    if (!CargarCalendario(idPersona, mes, anio, meses, calendario, compartidos)) {
        if (error)
            *error = QStringLiteral("No existe el trabajador %1").arg(idPersona);
        return false;
    }
    const QDateTime ahora = DvClock::Now();
    if (formato == Formato::Pdf)
        return HojaPersonalPdf(calendario, ahora, bytes, error);
    return DvIcs::Generar(calendario, ahora, bytes, error);
}

QString NombreSeguro(const QString& nombre) {
    static const QString prohibidos = QStringLiteral("/\\<>:\"|?*");
    QString limpio;
    limpio.reserve(nombre.size());
    for (const QChar c : nombre) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            limpio += QLatin1Char(' ');
        else if (prohibidos.contains(c))
            limpio += QLatin1Char('_');
        else
            limpio += c;
    }
    limpio = limpio.simplified();
    // A leading dot hides the file (and "." or ".." are no names at all).
    while (limpio.startsWith(QLatin1Char('.')))
        limpio.remove(0, 1);
    return limpio.trimmed();
}

std::vector<CArchivoTrabajador> ArchivosDe(const QString& carpeta,
                                           const CListaReferencias& referencias) {
    std::vector<QString> bases;
    std::unordered_map<QString, int> repetidos;
    for (const CReferencia& ref : referencias) {
        bases.push_back(NombreSeguro(ref.m_nombrePlanilla));
        ++repetidos[bases.back().toCaseFolded()];
    }
    const QDir dir(carpeta);
    std::vector<CArchivoTrabajador> archivos;
    QSet<QString> usados;
    for (std::size_t i = 0; i < referencias.size(); ++i) {
        const CReferencia& ref = referencias[i];
        QString nombre = bases[i];
        if (nombre.isEmpty())
            nombre = QStringLiteral("Trabajador %1").arg(ref.m_idPersonal);
        else if (repetidos[nombre.toCaseFolded()] > 1)
            nombre += QStringLiteral(" (%1)").arg(ref.m_idPersonal);
        // A planilla name that happens to read like another's numbered one.
        while (usados.contains(nombre.toCaseFolded()))
            nombre += QLatin1Char('_');
        usados.insert(nombre.toCaseFolded());
        archivos.push_back({ref.m_idPersonal, ref.m_nombrePlanilla,
                            dir.filePath(nombre + QStringLiteral(".ics"))});
    }
    return archivos;
}

QStringList Exportar(const std::vector<CArchivoTrabajador>& archivos, int mes, int anio) {
    QStringList fallos;
    CDatosCalendarios compartidos;
    for (const CArchivoTrabajador& archivo : archivos) {
        QByteArray bytes;
        QString error;
        if (!Contenido(archivo.m_idPersona, mes, anio, 1, Formato::Ics, bytes, &error,
                       &compartidos) ||
            !DvArchivo::Escribir(archivo.m_ruta, bytes, &error))
            fallos << QStringLiteral("%1: %2").arg(archivo.m_nombrePlanilla, error);
    }
    return fallos;
}
} // namespace DvCalendario
