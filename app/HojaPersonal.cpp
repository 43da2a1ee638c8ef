#include "HojaPersonal.h"

#include "FechasPlanilla.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace {
// The page, in millimetres.
constexpr double kAncho = 210.0;
constexpr double kMargen = 12.0;
constexpr double kArribaCalendario = 34.0;
constexpr double kAltoCabecera = 6.0;
constexpr double kAbajoCalendario = 226.0;
constexpr int kResolucion = 300;
const char* const kFuente = "Liberation Sans";

const char* const kDias[7] = {"Lunes",   "Martes", "Miércoles", "Jueves",
                              "Viernes", "Sábado", "Domingo"};

// The roster's colours of the kinds of leave (vacation, sick leave, personal day).
QColor ColorLibranza(int tipo) {
    switch (tipo) {
    case 1:
        return QColor(150, 0, 0);
    case 2:
        return QColor(0, 150, 0);
    case 3:
        return QColor(0, 0, 150);
    default:
        return QColor(Qt::black);
    }
}

// A pale tint of the same colour, behind a leave day.
QColor FondoLibranza(int tipo) {
    switch (tipo) {
    case 1:
        return QColor(250, 228, 228);
    case 2:
        return QColor(226, 244, 226);
    case 3:
        return QColor(228, 230, 250);
    default:
        return QColor(Qt::white);
    }
}

// Draws in millimetres on a device of a given resolution.
class CLienzo {
public:
    CLienzo(QPainter& painter, double puntosPorMm) : m_p(painter), m_k(puntosPorMm) {}

    double D(double mm) const { return mm * m_k; }
    QRectF R(double x, double y, double ancho, double alto) const {
        return QRectF(D(x), D(y), D(ancho), D(alto));
    }

    void Fuente(double puntos, bool negrita = false, bool cursiva = false) {
        QFont fuente(QString::fromLatin1(kFuente));
        // Points are 1/72 inch whatever the device: sized from the millimetre scale.
        fuente.setPixelSize(std::max(1, static_cast<int>(std::lround(D(puntos * 25.4 / 72.0)))));
        fuente.setBold(negrita);
        fuente.setItalic(cursiva);
        m_p.setFont(fuente);
    }
    // Height of a line of the current font, in millimetres.
    double Linea() const { return QFontMetricsF(m_p.font()).height() / m_k; }

    // Text in a box, cut with an ellipsis when it is too wide.
    void Texto(double x, double y, double ancho, double alto, const QString& texto,
               int alineacion = Qt::AlignLeft | Qt::AlignTop, const QColor& color = Qt::black) {
        const QFontMetricsF medidas(m_p.font());
        const QString cabe = medidas.elidedText(texto, Qt::ElideRight, D(ancho));
        m_p.setPen(color);
        m_p.drawText(R(x, y, ancho, alto), alineacion | Qt::TextSingleLine, cabe);
    }

    void Caja(double x, double y, double ancho, double alto, const QColor& fondo,
              double grosor = 0.2) {
        m_p.setPen(QPen(QColor(80, 80, 80), D(grosor)));
        m_p.setBrush(fondo);
        m_p.drawRect(R(x, y, ancho, alto));
        m_p.setBrush(Qt::NoBrush);
    }

private:
    QPainter& m_p;
    double m_k;
};

// One day's box: the day number, the leave, the stretches of work.
void DibujarDia(CLienzo& l, double x, double y, double ancho, double alto, int diaDelMes,
                bool domingo, const CMesTrabajador& mes, const CLibreCalendario* libre,
                const std::vector<const CTrabajoCalendario*>& trabajos) {
    QColor fondo = mes.EsFestivo(diaDelMes) ? QColor(225, 225, 225) : QColor(Qt::white);
    if (libre)
        fondo = FondoLibranza(libre->m_tipo);
    l.Caja(x, y, ancho, alto, fondo);
    const double pad = 1.2;
    const double interior = ancho - 2 * pad;
    double cursor = y + 0.8;
    const double limite = y + alto - 0.5;

    l.Fuente(9, true);
    l.Texto(x + pad, cursor, interior, l.Linea(), QString::number(diaDelMes));
    if (mes.EsFestivo(diaDelMes) && !domingo) {
        l.Fuente(6);
        l.Texto(x + pad, cursor + 0.6, interior, l.Linea(), QStringLiteral("festivo"),
                Qt::AlignRight | Qt::AlignTop, QColor(90, 90, 90));
    }
    l.Fuente(9, true);
    cursor += l.Linea();

    // Lines that do not fit in the box are left out, and the box says so.
    bool cortado = false;
    const auto linea = [&](double puntos, bool negrita, bool cursiva, const QString& texto,
                           const QColor& color) {
        l.Fuente(puntos, negrita, cursiva);
        if (cortado || cursor + l.Linea() > limite) {
            cortado = true;
            return;
        }
        l.Texto(x + pad, cursor, interior, l.Linea(), texto, Qt::AlignLeft | Qt::AlignTop, color);
        cursor += l.Linea();
    };

    if (libre)
        linea(7.5, true, false, TextoLibranza(libre->m_tipo), ColorLibranza(libre->m_tipo));
    for (const CTrabajoCalendario* trabajo : trabajos) {
        const CPeriodoTrabajo& p = trabajo->m_periodo;
        const QColor color = ColorLibranza(p.EsSuplencia() ? p.m_tipoLibranza : 0);
        linea(7.5, true, false, trabajo->NombreTurno(), color);
        linea(7, false, false, TextoHoras(p), color);
        if (p.EsSuplencia())
            linea(6.5, false, true, QStringLiteral("sust. a %1").arg(trabajo->m_ausente), color);
        cursor += 0.6;
    }
    if (cortado) {
        l.Fuente(7, true);
        l.Texto(x + pad, y + alto - l.Linea() - 0.3, interior, l.Linea(), QStringLiteral("…"),
                Qt::AlignRight | Qt::AlignTop);
    }
}

void DibujarTotales(CLienzo& l, double y, const CTotalesMes& t) {
    const double ancho = kAncho - 2 * kMargen;
    l.Fuente(10, true);
    l.Texto(kMargen, y, ancho, l.Linea(), QStringLiteral("Totales del mes"));
    y += l.Linea() + 1.0;
    const double alto = 16.0;
    l.Caja(kMargen, y, ancho, alto, QColor(248, 248, 248));
    const QString celdas[2][3] = {{QStringLiteral("Días trabajados: %1").arg(t.m_diasTrabajados),
                                   QStringLiteral("Noches: %1").arg(t.m_noches),
                                   QStringLiteral("Horas: %1").arg(TextoDuracion(t.m_minutos))},
                                  {QStringLiteral("Vacaciones: %1").arg(t.m_vacaciones),
                                   QStringLiteral("Días de baja: %1").arg(t.m_diasBaja),
                                   QStringLiteral("Días personales: %1").arg(t.m_personales)}};
    l.Fuente(10);
    const double col = ancho / 3;
    for (int fila = 0; fila < 2; ++fila)
        for (int c = 0; c < 3; ++c)
            l.Texto(kMargen + 3 + c * col, y + 2.0 + fila * 6.5, col - 4, l.Linea(),
                    celdas[fila][c]);
    y += alto + 1.5;
    l.Fuente(6.5, false, true);
    const QColor gris(70, 70, 70);
    l.Texto(kMargen, y, ancho, l.Linea(),
            QStringLiteral("Días trabajados y noches se cuentan como en el informe mensual: un "
                           "turno partido (8 a 22 o 15 a 8) cuenta dos días;"),
            Qt::AlignLeft | Qt::AlignTop, gris);
    y += l.Linea();
    l.Texto(kMargen, y, ancho, l.Linea(),
            QStringLiteral("una noche es lo trabajado desde las 22 h. Las horas son las "
                           "transcurridas, también en los días de cambio de hora."),
            Qt::AlignLeft | Qt::AlignTop, gris);
}
} // namespace

void DibujarHojaPersonal(QPainter& painter, double puntosPorMm,
                         const CCalendarioTrabajador& calendario, const CMesTrabajador& mes,
                         const QDateTime& generado) {
    CLienzo l(painter, puntosPorMm);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double ancho = kAncho - 2 * kMargen;

    // Heading: who, where, which month.
    l.Fuente(15, true);
    const double altoTitulo = l.Linea();
    l.Texto(kMargen, kMargen, ancho * 0.68, altoTitulo, calendario.NombreCompleto());
    l.Texto(kMargen + ancho * 0.68, kMargen, ancho * 0.32, altoTitulo,
            QStringLiteral("%1 %2").arg(NombreMes(mes.m_mes)).arg(mes.m_anio),
            Qt::AlignRight | Qt::AlignTop);
    l.Fuente(9.5);
    QStringList linea;
    if (!calendario.m_nombrePlanilla.isEmpty())
        linea << QStringLiteral("En planilla: %1").arg(calendario.m_nombrePlanilla);
    if (!calendario.m_servicio.isEmpty())
        linea << QStringLiteral("Servicio: %1").arg(calendario.m_servicio);
    l.Texto(kMargen, kMargen + altoTitulo + 0.5, ancho, l.Linea(),
            linea.join(QStringLiteral("   ·   ")));

    // The calendar: Monday to Sunday, one row per week the month touches.
    const double anchoDia = ancho / 7;
    l.Fuente(8, true);
    for (int w = 0; w < 7; ++w) {
        l.Caja(kMargen + w * anchoDia, kArribaCalendario, anchoDia, kAltoCabecera,
               QColor(235, 235, 235));
        l.Texto(kMargen + w * anchoDia, kArribaCalendario, anchoDia, kAltoCabecera,
                QString::fromUtf8(kDias[w]), Qt::AlignCenter);
    }
    const int dias = DiasDelMes(mes.m_mes, mes.m_anio);
    const int hueco = DiaDeSemana(CDateTime(mes.m_anio, mes.m_mes, 1)) - 1;
    const int semanas = (hueco + dias + 6) / 7;
    const double arriba = kArribaCalendario + kAltoCabecera;
    const double altoSemana = semanas > 0 ? (kAbajoCalendario - arriba) / semanas : 0;

    std::size_t siguiente = 0;
    std::size_t siguienteLibre = 0;
    const int primerDia = dias > 0 ? CDateTime(mes.m_anio, mes.m_mes, 1).DayNumber() : 0;
    for (int d = 1; d <= dias; ++d) {
        const int dia = primerDia + d - 1;
        std::vector<const CTrabajoCalendario*> trabajos;
        while (siguiente < mes.m_trabajos.size() &&
               mes.m_trabajos[siguiente].m_periodo.m_dia <= dia) {
            if (mes.m_trabajos[siguiente].m_periodo.m_dia == dia)
                trabajos.push_back(&mes.m_trabajos[siguiente]);
            ++siguiente;
        }
        const CLibreCalendario* libre = nullptr;
        while (siguienteLibre < mes.m_libres.size() && mes.m_libres[siguienteLibre].m_dia <= dia) {
            if (mes.m_libres[siguienteLibre].m_dia == dia)
                libre = &mes.m_libres[siguienteLibre];
            ++siguienteLibre;
        }
        const int celda = hueco + d - 1;
        DibujarDia(l, kMargen + (celda % 7) * anchoDia, arriba + (celda / 7) * altoSemana, anchoDia,
                   altoSemana, d, celda % 7 == 6, mes, libre, trabajos);
    }

    // What the colours mean.
    double y = kAbajoCalendario + 2.0;
    l.Fuente(7);
    const struct {
        int tipo;
        const char* texto;
    } leyenda[] = {{1, "Sustituye a quien está de vacaciones"},
                   {2, "Sustituye a quien está de baja"},
                   {3, "Sustituye a quien tiene día personal"}};
    double x = kMargen;
    for (const auto& item : leyenda) {
        const QString texto = QString::fromUtf8(item.texto);
        l.Caja(x, y + 0.6, 2.4, 2.4, ColorLibranza(item.tipo), 0.1);
        l.Texto(x + 3.4, y, 55, l.Linea(), texto, Qt::AlignLeft | Qt::AlignTop,
                ColorLibranza(item.tipo));
        x += 3.4 + QFontMetricsF(painter.font()).horizontalAdvance(texto) / puntosPorMm + 5;
    }
    l.Caja(x, y + 0.6, 2.4, 2.4, QColor(225, 225, 225), 0.1);
    l.Texto(x + 3.4, y, 40, l.Linea(), QStringLiteral("Domingos y festivos"));

    DibujarTotales(l, y + 8.0, mes.m_totales);

    l.Fuente(6.5);
    l.Texto(kMargen, 297.0 - kMargen + 4.0, ancho, l.Linea(),
            QStringLiteral("Dravonela · hoja personal generada el %1")
                .arg(generado.toString(QStringLiteral("dd/MM/yyyy HH:mm"))),
            Qt::AlignLeft | Qt::AlignTop, QColor(110, 110, 110));
    painter.restore();
}

bool HojaPersonalPdf(const CCalendarioTrabajador& calendario, const QDateTime& generado,
                     QByteArray& pdf, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool ok = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolucion);
        writer.setCreator(QStringLiteral("Dravonela"));
        writer.setTitle(QStringLiteral("Hoja personal de %1").arg(calendario.NombreCompleto()));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QPainter painter;
        if (painter.begin(&writer)) {
            ok = true;
            const double puntosPorMm = kResolucion / 25.4;
            for (std::size_t i = 0; i < calendario.m_meses.size(); ++i) {
                if (i > 0 && !writer.newPage()) {
                    ok = false;
                    break;
                }
                DibujarHojaPersonal(painter, puntosPorMm, calendario, calendario.m_meses[i],
                                    generado);
            }
            ok = painter.end() && ok;
        }
    }
    if (!ok || bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("No se pudo componer la hoja personal en PDF");
        return false;
    }
    pdf = bytes;
    return true;
}
