#include "FechasSql.h"

#include "DateTime.h"

#include <QStringList>

namespace {
QString Texto(const QString& valor) {
    return QLatin1Char('\'') + valor + QLatin1Char('\'');
}

// Every text that starts with `prefijo`: prefijo <= col < prefijo with its last
// character raised by one.
QString Prefijo(const QString& columna, const QString& prefijo) {
    QString siguiente = prefijo;
    siguiente[siguiente.size() - 1] = QChar(siguiente.back().unicode() + 1);
    return QStringLiteral("(%1 >= %2 AND %1 < %3)").arg(columna, Texto(prefijo), Texto(siguiente));
}

QString Anio(int anio) {
    return QString::asprintf("%04d", anio);
}
} // namespace

namespace DvFechasSql {
QString DiasEntre(const QString& columna, int desde, int hasta) {
    QStringList partes;
    // Numbers sort before every text, so the upper bound keeps texts out.
    partes << QStringLiteral("(%1 >= %2 AND %1 < %3)")
                  .arg(columna)
                  .arg(desde)
                  .arg(static_cast<qint64>(hasta) + 1);
    const CDateTime inicio = CDateTime::FromDays(desde);
    const CDateTime fin = CDateTime::FromDays(hasta);
    if (inicio.IsValid() && fin.IsValid() && hasta >= desde) {
        int anio = inicio.GetYear();
        int mes = inicio.GetMonth();
        const int anioFin = fin.GetYear();
        const int mesFin = fin.GetMonth();
        // One prefix per month and stored form; a long span falls back to whole years.
        const bool porAnios = (anioFin - anio) * 12 + (mesFin - mes) > 24;
        while (anio < anioFin || (anio == anioFin && mes <= mesFin)) {
            for (const QChar sep : {QLatin1Char('/'), QLatin1Char('-')}) {
                if (porAnios) {
                    partes << Prefijo(columna, Anio(anio) + sep);
                    continue;
                }
                partes << Prefijo(columna, Anio(anio) + sep + QString::asprintf("%02d", mes) + sep);
                if (mes < 10)
                    partes << Prefijo(columna, Anio(anio) + sep + QString::number(mes) + sep);
            }
            if (porAnios) {
                ++anio;
                mes = 1;
            } else if (++mes > 12) {
                mes = 1;
                ++anio;
            }
        }
    }
    return QLatin1Char('(') + partes.join(QLatin1String(" OR ")) + QLatin1Char(')');
}

QString DesdeDia(const QString& columna, int desde) {
    const CDateTime dia = CDateTime::FromDays(desde);
    QString numeros = QStringLiteral("(%1 >= %2 AND %1 < '')").arg(columna).arg(desde);
    if (!dia.IsValid())
        return numeros;
    const int anio = dia.GetYear();
    const QString mesDia = QString::asprintf("%02d", dia.GetMonth());
    const QString diaMes = QString::asprintf("%02d", dia.GetDay());
    // Dashed dates of the same year sort before every slashed date of that year; later
    // years of both forms sort after the slashed day itself.
    const QString guiones =
        QStringLiteral("(%1 >= %2 AND %1 < %3)")
            .arg(columna, Texto(Anio(anio) + '-' + mesDia + '-' + diaMes), Texto(Anio(anio) + '/'));
    const QString barras =
        QStringLiteral("%1 >= %2").arg(columna, Texto(Anio(anio) + '/' + mesDia + '/' + diaMes));
    return QStringLiteral("(%1 OR %2 OR %3)").arg(numeros, guiones, barras);
}

QString HastaFinDeAnio(const QString& columna, int anio) {
    // Every number sorts before every text.
    return QStringLiteral("%1 < %2").arg(columna, Texto(Anio(anio + 1) + '/'));
}
} // namespace DvFechasSql
