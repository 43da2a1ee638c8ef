#include "FechasSql.h"

#include "DateTime.h"
#include "FechasPlanilla.h"

#include <algorithm>

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

// The numbers (day counts) of the days desde..hasta. Numbers sort before every text, so
// the upper bound keeps texts out.
QString Numeros(const QString& columna, int desde, int hasta) {
    return QStringLiteral("(%1 >= %2 AND %1 < %3)")
        .arg(columna)
        .arg(desde)
        .arg(static_cast<qint64>(hasta) + 1);
}
} // namespace

namespace DvFechasSql {
QString CualquieraDe(const QStringList& rangos) {
    return QLatin1Char('(') + rangos.join(QLatin1String(" OR ")) + QLatin1Char(')');
}

QString DiasEntre(const QString& columna, int desde, int hasta) {
    return CualquieraDe(RangosEntre(columna, desde, hasta));
}

QStringList RangosEntre(const QString& columna, int desde, int hasta) {
    QStringList partes{Numeros(columna, desde, hasta)};
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
    return partes;
}

QStringList RangosSueltos(const QString& columna, int desde, int hasta) {
    QStringList partes{Numeros(columna, desde, hasta)};
    const auto rango = [&](const QString& desdeTexto, const QString& hastaTexto) {
        partes << QStringLiteral("(%1 >= '%2' AND %1 < '%3')").arg(columna, desdeTexto, hastaTexto);
    };
    // The days of each month in turn: the texts of year, month and day, with '/' or '-',
    // the month with or without its leading zero. Two-digit days sort as their dates do,
    // so a run of them is one range; a day written without its zero is one range of its
    // own, the text ending there or going on with a time (' ' or 'T').
    int dia = desde;
    while (dia <= hasta) {
        const CDateTime fecha = CDateTime::FromDays(dia);
        if (!fecha.IsValid()) {
            ++dia;
            continue;
        }
        const int primero = fecha.GetDay();
        const int ultimo =
            std::min(DiasDelMes(fecha.GetMonth(), fecha.GetYear()), primero + (hasta - dia));
        const QString anio = QString::asprintf("%04d", fecha.GetYear());
        QStringList meses{QString::asprintf("%02d", fecha.GetMonth())};
        if (fecha.GetMonth() < 10)
            meses << QString::number(fecha.GetMonth());
        for (const QChar separador : {QLatin1Char('/'), QLatin1Char('-')})
            for (const QString& mes : meses) {
                const QString base = anio + separador + mes + separador;
                rango(base + QString::asprintf("%02d", primero),
                      base + QString::asprintf("%02d", ultimo).left(1) +
                          QChar(QLatin1Char('0' + ultimo % 10 + 1)));
                for (int d = primero; d <= std::min(ultimo, 9); ++d) {
                    const QString prefijo = base + QString::number(d);
                    rango(prefijo, prefijo + QLatin1Char('0'));
                    rango(prefijo + QLatin1Char('T'), prefijo + QLatin1Char('U'));
                }
            }
        dia += ultimo - primero + 1;
    }
    return partes;
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

QString DiaJuliano(const QString& columna) {
    // Texts that start as 'YYYY/' or 'YYYY-' are read by julianday() with '-' for '/',
    // other texts are NULL; numbers are days since 30/12/1899 (julian day 2415018.5).
    return QStringLiteral("(CASE typeof(%1) WHEN 'text' THEN CASE WHEN substr(%1,5,1) IN "
                          "('-','/') THEN julianday(replace(%1,'/','-')) END ELSE %1 + "
                          "2415018.5 END)")
        .arg(columna);
}

QString ClaseDuracion() {
    // The number of digits of a quarter of the length in days: 1 up to 40 days, 2 up to
    // 400, 3 up to 4000, 4 up to 40000; NULL when a date cannot be read.
    return QStringLiteral("length(CAST(CAST((%1 - %2) / 4 AS INTEGER) AS TEXT))")
        .arg(DiaJuliano(QStringLiteral("FINAL")), DiaJuliano(QStringLiteral("INICIO")));
}

QStringList PeriodosEntre() {
    // Class c holds periods of less than 4 * 10^c days. Two days of margin on either side
    // for a time of day or an offset that julianday() reads and the program does not.
    // The days come as parameters, so one prepared statement serves every month.
    const QString clase = ClaseDuracion();
    const QString inicio = DiaJuliano(QStringLiteral("INICIO"));
    QStringList brazos;
    int largo = 40;
    for (int c = 1; c <= 4; ++c, largo *= 10)
        brazos << QStringLiteral("%1 = %2 AND %3 BETWEEN :juliano_desde - %4 AND "
                                 ":juliano_hasta + 2")
                      .arg(clase)
                      .arg(c)
                      .arg(inicio)
                      .arg(largo + 2);
    // Longer (or ended long before they start), or with a date julianday() cannot read.
    brazos << QStringLiteral("%1 >= 5").arg(clase);
    brazos << QStringLiteral("%1 IS NULL").arg(clase);
    return brazos;
}

CDbQuery::CValores ValoresPeriodos(int desde, int hasta) {
    return {{":juliano_desde", desde + 2415018.5}, {":juliano_hasta", hasta + 2415018.5}};
}

QString HastaFinDeAnio(const QString& columna, int anio) {
    // Every number sorts before every text.
    return QStringLiteral("%1 < %2").arg(columna, Texto(Anio(anio + 1) + '/'));
}
} // namespace DvFechasSql
