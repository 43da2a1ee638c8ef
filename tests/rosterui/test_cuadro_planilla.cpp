// The roster grid: its set-up and display options, the month build into it (week
// blocks, blank days, separators, hours lined up, colours, holidays, cancel), and the
// day-number double click.

#include "BdPrueba.h"
#include "CuadroPlanilla.h"
#include "FechasPlanilla.h"
#include "GridComponents.h"
#include "MessageBox.h"
#include "PlanillaPrueba.h"
#include "Semana.h"
#include "Settings.h"
#include "TemplateDialog.h"
#include "TestSupport.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QtTest>

using namespace DvPlanilla;
using DvPrueba::F;
using DvPrueba::Sql;

namespace {
// Ana and Carlos every day at 8, Berta every day at 15; the reference list visits them
// in that order (newest reference first).
void TresPersonas() {
    Persona(1, "Ana");
    Persona(2, "Berta");
    Persona(3, "Carlos");
    Persona(4, "Dora");
    Asignar(1, 1, F(2009, 12, 3), 1);
    Asignar(2, 3, F(2009, 12, 2), 1);
    Asignar(3, 2, F(2009, 12, 1), 2);
}

int Dia(int anio, int mes, int dia) {
    return CDateTime(anio, mes, dia).DayNumber();
}

// The rows of each week block where the day numbers stand.
QList<int> FilasDeSemana(CCuadroPlanilla& g) {
    QList<int> filas;
    for (int f = 0; f < g.GetRowCount(); ++f)
        for (int c = 1; c < 14; c += 2)
            if (!Texto(g, c, f).isEmpty() && !filas.contains(f))
                filas << f;
    return filas;
}

// Rows of the rectangle holding dark (text) pixels, borders left out.
int AltoDelTexto(const QImage& imagen, const QRect& celda) {
    int filas = 0;
    for (int y = celda.top() + 3; y <= celda.bottom() - 2; ++y)
        for (int x = celda.left() + 3; x <= celda.right() - 3; ++x) {
            const QColor c = imagen.pixelColor(x, y);
            if (c.red() < 110 && c.green() < 110 && c.blue() < 110) {
                ++filas;
                break;
            }
        }
    return filas;
}

void DobleClic(QWidget* w, const QPoint& p) {
    auto enviar = [&](QEvent::Type tipo, Qt::MouseButtons botones) {
        QMouseEvent e(tipo, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, botones,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    enviar(QEvent::MouseButtonPress, Qt::LeftButton);
    enviar(QEvent::MouseButtonRelease, Qt::NoButton);
    enviar(QEvent::MouseButtonDblClick, Qt::LeftButton);
    enviar(QEvent::MouseButtonRelease, Qt::NoButton);
}

// The roster view's stand-in: form 101 recording the commands it gets.
class CVistaPrueba : public CTemplateForm {
public:
    CVistaPrueba() : CTemplateForm(101) {}
    QList<int> m_ordenes;

protected:
    bool OnCommand(int id) override {
        m_ordenes << id;
        return true;
    }
};

// A roster grid whose day dialog answers as told and records what it was opened for.
class CCuadroConDialogo : public CCuadroPlanilla {
public:
    int m_resultado = QDialog::Rejected;
    QList<QPair<int, int>> m_abiertos; // (day number, service)

protected:
    int AbrirExcepcionesDelDia(const CDateTime& fecha, int servicio) override {
        m_abiertos << qMakePair(fecha.DayNumber(), servicio);
        return m_resultado;
    }
};
} // namespace

class TestCuadroPlanilla : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        DvPrueba::Errores().clear();
        QVERIFY(!DvPrueba::NuevaBd(QStringLiteral("cuadro.mdb")).isEmpty());
        Turnos();
    }
    void cleanup() {
        QVERIFY2(DvPrueba::Errores().isEmpty(), qPrintable(DvPrueba::Errores().join('\n')));
    }

    void disposicionSinConfiguracion() {
        CVentana v(1000, 600);
        CCuadroPlanilla& g = *v.cuadro;
        QCOMPARE(g.GetColumnCount(), 14);
        QCOMPARE(g.GetRowCount(), 0);
        QCOMPARE(g.GetSideHeadingWidth(), 0);
        QCOMPARE(g.GetDefaultRowHeight(), 16);
        QCOMPARE(g.AltoFuente(), 15);
        QCOMPARE(g.Fuente().family(), QStringLiteral("Arial"));
        QCOMPARE(g.Fuente().weight(), 600);
        QVERIFY(QFontMetrics(g.Fuente()).height() <= 15);
        QVERIFY(QFontMetrics(g.Fuente()).height() >= 12);
        // A window 1000 pixels wide: columns of 69.
        for (int c = 0; c < 14; ++c)
            QCOMPARE(g.GetColumnWidth(c), 69);

        CCellRecord defecto;
        g.GetGridDefault(&defecto);
        QCOMPARE(defecto.GetAlignment(), 32);
        QCOMPARE(defecto.GetBackColor(), GridColor(0xE1FFFF));
        QCOMPARE(defecto.GetFont(), &g.Fuente());
        QCOMPARE(defecto.GetBorderPen(), &g.PlumaNegra());
        QCOMPARE(g.OnGetDefaultBackColor(GridSection::CellArea), GridColor(0xE1FFFF));
        QCOMPARE(g.OnGetDefaultBackColor(GridSection::TopHeading),
                 GetGridSysColor(GridSysColor::ButtonFace));

        const QStringList dias = {"Lunes",   "Martes", "Miércoles", "Jueves",
                                  "Viernes", "Sábado", "Domingo"};
        for (int d = 0; d < 7; ++d) {
            QCOMPARE(Texto(g, 2 * d, -1), dias[d]);
            QCOMPARE(Union(g, 2 * d + 1, -1),
                     QStringLiteral("%1,-1-%2,-1").arg(2 * d).arg(2 * d + 1));
        }
        for (int c = 0; c < 14; ++c) {
            CCellRecord cabecera;
            g.GetCell(c, -1, &cabecera);
            QCOMPARE(cabecera.GetAlignment(), 4);
            QCOMPARE(cabecera.GetFont(), &g.Fuente());
        }
    }

    void configuracionYAnchoQueSigueALaVentana() {
        DvSettings::WriteInt(QStringLiteral("TAM_FUENTE"), 22);
        DvSettings::WriteInt(QStringLiteral("TAM_LINEA"), 25);
        CVentana v(700, 400);
        DvSettings::WriteInt(QStringLiteral("TAM_FUENTE"), 15);
        DvSettings::WriteInt(QStringLiteral("TAM_LINEA"), 16);
        QCOMPARE(v->AltoFuente(), 22);
        QCOMPARE(v->GetDefaultRowHeight(), 25);
        QCOMPARE(v->GetColumnWidth(0), 48); // 700 x 0.069 = 48.3
        v->resize(1500, 700);
        for (int c = 0; c < 14; ++c)
            QCOMPARE(v->GetColumnWidth(c), 103); // 1500 x 0.069 = 103.5
    }

    void alinearSemana() {
        auto entrada = [](const char* n, int h) {
            CPlanDia e(n, 1, h, 0);
            e.m_idPersonal = 1;
            return e;
        };
        auto horas = [](const CListaPlanDia& p) {
            QStringList s;
            for (const CPlanDia& e : p)
                s << (e.EsRelleno() ? QStringLiteral("-%1").arg(e.m_hora)
                                    : QStringLiteral("%1").arg(e.m_hora));
            return s.join(' ');
        };
        // The example: Monday [8, 15, 22], Tuesday [8, 8, 22].
        CListaPlanDia planes[3] = {{entrada("a", 8), entrada("b", 15), entrada("c", 22)},
                                   {entrada("d", 8), entrada("e", 8), entrada("f", 22)},
                                   {entrada("x", 3)}};
        AlinearSemana(planes, 2);
        QCOMPARE(horas(planes[0]), QStringLiteral("8 -8 15 22"));
        QCOMPARE(horas(planes[1]), QStringLiteral("8 8 -15 22"));
        QCOMPARE(horas(planes[2]), QStringLiteral("3")); // beyond the count: untouched
        const CPlanDia& relleno = planes[0][1];
        QVERIFY(relleno.m_nombre.isEmpty());
        QCOMPARE(relleno.m_idTurno, -1);
        QCOMPARE(relleno.m_idPersonal, -1);
        QCOMPARE(relleno.m_tipoLibranza, 0);

        // An empty day, and a day starting later than the others.
        CListaPlanDia tres[3] = {{entrada("a", 8)}, {}, {entrada("b", 15), entrada("c", 22)}};
        AlinearSemana(tres, 3);
        for (const CListaPlanDia& p : tres)
            QCOMPARE(horas(p).remove('-'), QStringLiteral("8 15 22"));
        QCOMPARE(horas(tres[2]), QStringLiteral("-8 15 22"));

        // Days without anybody stay without rows.
        CListaPlanDia vacios[7];
        AlinearSemana(vacios, 7);
        for (const CListaPlanDia& p : vacios)
            QVERIFY(p.empty());
    }

    // January 2024 starts on a Monday and ends on a Wednesday.
    void mesQueEmpiezaEnLunes() {
        TresPersonas();
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        Generar(g, 1, 2024);
        QCOMPARE(g.GetRowCount(), 15);
        QCOMPARE(FilasDeSemana(g), QList<int>({0, 3, 6, 9, 12}));
        QCOMPARE(ComprobarMes(g, 1, 2024, 1), QString());

        // The first day: number, date, border; no blank block before it.
        QCOMPARE(Texto(g, 1, 0), QStringLiteral("1"));
        QCOMPARE(Dato(g, 1, 0), Dia(2024, 1, 1));
        QCOMPARE(Borde(g, 1, 0), 0x20D);
        QCOMPARE(ColorFondo(g, 1, 0), -1LL);
        QCOMPARE(Union(g, 0, 0), QString());
        // Entries: grouped by hour, a medium line where the hour changes.
        QCOMPARE(Texto(g, 0, 0), QStringLiteral("Ana"));
        QCOMPARE(Dato(g, 0, 0), 8);
        QCOMPARE(Borde(g, 0, 0), 0x05);
        QCOMPARE(ColorTexto(g, 0, 0), 0LL);
        QCOMPARE(Texto(g, 0, 1), QStringLiteral("Carlos"));
        QCOMPARE(Borde(g, 0, 1), 0x05);
        QCOMPARE(Union(g, 1, 1), QStringLiteral("0,1-1,1"));
        QCOMPARE(Texto(g, 0, 2), QStringLiteral("Berta"));
        QCOMPARE(Dato(g, 0, 2), 15);
        QCOMPARE(Borde(g, 0, 2), 0x25);
        // Week separator: the thick top under the entries' own lines.
        QCOMPARE(Borde(g, 0, 3), 0x205);
        QCOMPARE(Borde(g, 2, 3), 0x205);
        QCOMPARE(Borde(g, 1, 3), 0x20D);
        QCOMPARE(Texto(g, 1, 3), QStringLiteral("8"));
        // Sunday shaded, the day number only.
        QCOMPARE(ColorFondo(g, 13, 0), 0xB4B4B4LL);
        QCOMPARE(ColorFondo(g, 12, 0), -1LL);
        QCOMPARE(ColorFondo(g, 11, 0), -1LL);
        // The last week (29 to 31, Monday to Wednesday): Thursday to Sunday blank.
        QCOMPARE(Texto(g, 5, 12), QStringLiteral("31"));
        QCOMPARE(Union(g, 6, 12), QStringLiteral("6,12-13,14"));
        QCOMPARE(Union(g, 13, 14), QStringLiteral("6,12-13,14"));
        QCOMPARE(Borde(g, 6, 12), 0x200);
    }

    // September 2024 starts on a Sunday and ends on a Monday.
    void mesQueEmpiezaEnDomingo() {
        TresPersonas();
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        Generar(g, 9, 2024);
        QCOMPARE(g.GetRowCount(), 18);
        QCOMPARE(ComprobarMes(g, 9, 2024, 1), QString());
        // Monday to Saturday before the 1st: one blank block over the first week.
        QCOMPARE(Union(g, 0, 0), QStringLiteral("0,0-11,2"));
        QCOMPARE(Union(g, 11, 2), QStringLiteral("0,0-11,2"));
        QCOMPARE(Texto(g, 0, 0), QString());
        QCOMPARE(Texto(g, 13, 0), QStringLiteral("1"));
        QCOMPARE(Texto(g, 12, 0), QStringLiteral("Ana"));
        QCOMPARE(Union(g, 12, 1), QStringLiteral("12,1-13,1"));
        // The 30th is a Monday alone in the last week.
        QCOMPARE(Texto(g, 1, 15), QStringLiteral("30"));
        QCOMPARE(Union(g, 2, 15), QStringLiteral("2,15-13,17"));
        QCOMPARE(Union(g, 1, 15), QString());
    }

    // February 2010: 28 days from Monday 1st to Sunday 28th.
    void mesQueTerminaEnDomingo() {
        TresPersonas();
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        Generar(g, 2, 2010);
        QCOMPARE(g.GetRowCount(), 12);
        QCOMPARE(ComprobarMes(g, 2, 2010, 1), QString());
        QCOMPARE(Texto(g, 13, 9), QStringLiteral("28"));
        // The last week has no blank block: only each day's own names are joined.
        for (int c = 0; c < 14; c += 2) {
            QCOMPARE(Union(g, c, 9), QString());
            for (int f : {10, 11})
                QCOMPARE(Union(g, c, f), QStringLiteral("%1,%2-%3,%2").arg(c).arg(f).arg(c + 1));
        }
        QCOMPARE(Union(g, 0, 0), QString());
    }

    void sinReferenciasNoHayFilas() {
        TresPersonas();
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        // A service nobody belongs to, also right after a roster with rows.
        Generar(g, 1, 2024, 1);
        QCOMPARE(g.GetRowCount(), 15);
        Generar(g, 1, 2024, 2);
        QCOMPARE(g.GetRowCount(), 0);
        QCOMPARE(g.Servicio(), 2);
        // Nothing of either build is left stored where the next roster's rows will be.
        for (int c = 0; c < 14; ++c) {
            CCellRecord r;
            g.GetCell(c, 0, &r);
            QCOMPARE(r.GetMask(), 0u);
        }
        // Workers whose only reference is dated the 28th or later do not count.
        Asignar(9, 4, F(2024, 3, 28), 1);
        Generar(g, 3, 2024, 2);
        QCOMPARE(g.GetRowCount(), 0);
    }

    void unaSegundaGeneracionDaLoMismo() {
        TresPersonas();
        CVentana v;
        Generar(*v.cuadro, 1, 2024);
        const QStringList primera = Volcado(*v.cuadro);
        Generar(*v.cuadro, 1, 2024);
        QCOMPARE(Volcado(*v.cuadro), primera);
    }

    void unaSemanaSinNadieTieneSuFila() {
        // Seven working days, then seven rest days: 8-14 and 22-28 January 2024 are empty.
        Persona(5, "Eva");
        Asignar(1, 5, F(2024, 1, 1), 11);
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        Generar(g, 1, 2024);
        QCOMPARE(g.GetRowCount(), 5);
        QCOMPARE(ComprobarMes(g, 1, 2024, 1), QString());
        QCOMPARE(Texto(g, 1, 1), QStringLiteral("8"));
        QCOMPARE(Texto(g, 13, 1), QStringLiteral("14"));
        QCOMPARE(Texto(g, 0, 1), QString());
        QCOMPARE(Texto(g, 1, 2), QStringLiteral("15"));
        QCOMPARE(Texto(g, 0, 2), QStringLiteral("Eva"));
        QCOMPARE(Borde(g, 0, 2), 0x205);
        QCOMPARE(Texto(g, 13, 3), QStringLiteral("28"));
        QCOMPARE(Union(g, 6, 4), QStringLiteral("6,4-13,4"));
    }

    void festivosSoloSombreanElNumero() {
        TresPersonas();
        Sql({"INSERT INTO FIESTAS VALUES (1, " + F(2024, 1, 10) + ", 'Local', 0)",
             "INSERT INTO FIESTAS VALUES (2, " + F(2001, 1, 6) + ", 'Reyes', 1)",
             "INSERT INTO FIESTAS VALUES (3, " + F(2023, 1, 16) + ", 'Otro año', 0)"});
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        Generar(g, 1, 2024);
        QCOMPARE(ColorFondo(g, 5, 3), 0xB4B4B4LL);  // Wednesday 10th
        QCOMPARE(ColorFondo(g, 11, 0), 0xB4B4B4LL); // Saturday 6th, every year
        QCOMPARE(ColorFondo(g, 1, 6), -1LL);        // Monday 15th (the holiday of 2023)
        QCOMPARE(ColorFondo(g, 3, 0), -1LL);
        // The day's entries are not shaded and still there.
        QCOMPARE(ColorFondo(g, 4, 3), -1LL);
        QCOMPARE(Texto(g, 4, 3), QStringLiteral("Ana"));
        for (int f : {0, 3, 6, 9})
            QCOMPARE(ColorFondo(g, 13, f), 0xB4B4B4LL);
    }

    void suplentesEnElColorDeLaLibranza() {
        TresPersonas();
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2024, 1, 8) + ", " + F(2024, 1, 9) +
                 ", 4)",
             "INSERT INTO BAJAS VALUES (1, 3, " + F(2024, 1, 8) + ", " + F(2024, 1, 8) + ", 4)",
             "INSERT INTO DIASPERSONALES VALUES (1, 2, " + F(2024, 1, 9) + ", 4)",
             "INSERT INTO VACACIONES VALUES (2, 3, " + F(2024, 1, 10) + ", " + F(2024, 1, 10) +
                 ", -1)"});
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        Generar(g, 1, 2024);
        QCOMPARE(ComprobarMes(g, 1, 2024, 1), QString());
        // Monday 8th: Dora for Ana (vacation) and for Carlos (sick leave), Berta herself.
        QCOMPARE(Texto(g, 0, 3), QStringLiteral("Dora"));
        QCOMPARE(ColorTexto(g, 0, 3), 0x000096LL);
        QCOMPARE(Texto(g, 0, 4), QStringLiteral("Dora"));
        QCOMPARE(ColorTexto(g, 0, 4), 0x009600LL);
        QCOMPARE(Texto(g, 0, 5), QStringLiteral("Berta"));
        QCOMPARE(ColorTexto(g, 0, 5), 0LL);
        // Tuesday 9th: Dora for Ana, Carlos, Dora for Berta's personal day.
        QCOMPARE(Texto(g, 2, 4), QStringLiteral("Carlos"));
        QCOMPARE(ColorTexto(g, 2, 4), 0LL);
        QCOMPARE(Texto(g, 2, 5), QStringLiteral("Dora"));
        QCOMPARE(ColorTexto(g, 2, 5), 0x960000LL);
        QCOMPARE(Dato(g, 2, 5), 15);
        // Wednesday 10th: Carlos away without a substitute; the row is a filler.
        QCOMPARE(Texto(g, 4, 3), QStringLiteral("Ana"));
        QCOMPARE(Texto(g, 4, 4), QString());
        QCOMPARE(Dato(g, 4, 4), 8);
        QCOMPARE(Texto(g, 4, 5), QStringLiteral("Berta"));

        // The hints name the shift, its hours and, for a substitute, whom and why.
        QCOMPARE(g.TextoAyuda(0, 3), QString::fromUtf8("Dora — M 08:00–15:00, sustituye a Ana "
                                                       "(vacaciones)"));
        QCOMPARE(g.TextoAyuda(0, 4),
                 QString::fromUtf8("Dora — M 08:00–15:00, sustituye a Carlos (baja)"));
        QCOMPARE(g.TextoAyuda(2, 5),
                 QString::fromUtf8("Dora — T 15:00–22:00, sustituye a Berta (día personal)"));
        QCOMPARE(g.TextoAyuda(0, 5), QString::fromUtf8("Berta — T 15:00–22:00"));
        // The right half of a name below the day number is the same name.
        QCOMPARE(g.TextoAyuda(1, 5), g.TextoAyuda(0, 5));
        QString hint;
        QCOMPARE(g.OnHint(0, 5, 0, &hint), 1);
        QCOMPARE(hint, g.TextoAyuda(0, 5));
        // A filler, a day number and a cell outside the roster have none.
        QCOMPARE(g.TextoAyuda(4, 4), QString());
        QCOMPARE(g.OnHint(1, 3, 0, &hint), 0);
        QCOMPARE(g.TextoAyuda(0, 500), QString());
    }

    void cancelarDejaElCuadroVacio() {
        TresPersonas();
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        for (int k : {0, 1, 3, 7, 10, 30, 31}) {
            Generar(g, 1, 2024);
            QCOMPARE(g.GetRowCount(), 15);
            CProgresoSinVentana progreso;
            progreso.AlBombear([k](const CProgresoSinVentana& p) { return p.Posicion() >= k; });
            QVERIFY(g.GenerarPlanilla(1, 2024, 1, v.ventana.get(), progreso));
            QVERIFY(progreso.Cancelado());
            QCOMPARE(g.GetRowCount(), 0);
            for (int c = 0; c < 14; ++c) {
                CCellRecord r;
                g.GetCell(c, 0, &r);
                QCOMPARE(r.GetMask(), 0u);
            }
            QVERIFY(progreso.Cerrado());
        }
        // A whole build reports every day.
        CProgresoSinVentana progreso;
        Generar(g, 1, 2024, 1, &progreso);
        QCOMPARE(progreso.Rango(), 31);
        QCOMPARE(progreso.Posicion(), 31);
        QCOMPARE(progreso.Mensaje(), QStringLiteral("Procesando datos para día: 31"));
        QVERIFY(progreso.Bombeos() >= 31);
        QCOMPARE(g.GetRowCount(), 15);
    }

    void elCambioDeFuenteLlegaALasCeldas() {
        TresPersonas();
        CVentana v(1000, 600);
        CCuadroPlanilla& g = *v.cuadro;
        Generar(g, 1, 2024);
        // Tuesday's first name (the current cell, Monday's, is drawn highlighted).
        QRect celda;
        QCOMPARE(g.GetCellRect(2, 0, &celda), 0);
        QCOMPARE(celda.height(), 16);
        const int antes = AltoDelTexto(g.CellArea()->grab().toImage(), celda);

        g.ActualizarFuente(30, 34);
        QCOMPARE(g.GetDefaultRowHeight(), 34);
        QCOMPARE(g.AltoFuente(), 30);
        QVERIFY(QFontMetrics(g.Fuente()).height() <= 30);
        QVERIFY(QFontMetrics(g.Fuente()).height() >= 26);
        CCellRecord r;
        g.GetResolvedCell(0, 0, &r);
        QCOMPARE(r.GetFont(), &g.Fuente());
        g.GetResolvedCell(0, -1, &r);
        QCOMPARE(r.GetFont(), &g.Fuente());
        QCOMPARE(g.GetCellRect(2, 0, &celda), 0);
        QCOMPARE(celda.height(), 34);
        const int despues = AltoDelTexto(g.CellArea()->grab().toImage(), celda);
        QVERIFY2(despues > antes + 5,
                 qPrintable(QStringLiteral("%1 -> %2").arg(antes).arg(despues)));

        // A row height out of range is refused; the font still changes.
        g.ActualizarFuente(12, 0);
        QCOMPARE(g.GetDefaultRowHeight(), 34);
        QVERIFY(QFontMetrics(g.Fuente()).height() <= 12);
        g.ActualizarFuente(12, 2000);
        QCOMPARE(g.GetDefaultRowHeight(), 34);
    }

    void dobleClicEnElNumeroDelDia() {
        TresPersonas();
        CVistaPrueba vista;
        vista.resize(1000, 700);
        auto* g = new CCuadroConDialogo;
        QCOMPARE(g->AttachToDialogItem(&vista, 1015), 0);
        vista.show();
        QApplication::processEvents();
        Generar(*g, 1, 2024);
        QCOMPARE(g->GetRowCount(), 15);

        DvMessageBox::Recorder cajas;
        auto dobleClic = [&](int c, int f) {
            QRect r;
            QCOMPARE(g->GetCellRect(c, f, &r), 0);
            DobleClic(g->CellArea(), r.center());
            QApplication::processEvents();
        };
        // Names (even columns), also the second column of a joined name, do nothing.
        dobleClic(0, 0);
        dobleClic(0, 1);
        dobleClic(1, 1);
        dobleClic(12, 2);
        QVERIFY(g->m_abiertos.isEmpty());
        QCOMPARE(cajas.Count(), 0);

        // A day number opens that day for the service; Cancel in the dialog asks nothing.
        dobleClic(3, 3);
        QCOMPARE(g->m_abiertos.size(), 1);
        QCOMPARE(g->m_abiertos[0], qMakePair(Dia(2024, 1, 9), 1));
        QCOMPARE(cajas.Count(), 0);

        // OK, then No: the roster stays as it was.
        g->m_resultado = QDialog::Accepted;
        DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
        dobleClic(13, 9);
        QCOMPARE(g->m_abiertos.last(), qMakePair(Dia(2024, 1, 28), 1));
        QCOMPARE(cajas.Count(), 1);
        QCOMPARE(cajas.Last().text,
                 QStringLiteral("¿Quieres recargar la planilla con los cambios?"));
        QCOMPARE(cajas.Last().caption, QStringLiteral("Dravonela"));
        QCOMPARE(cajas.Last().buttons, DvMessageBox::YesNo);
        QVERIFY(vista.m_ordenes.isEmpty());
        QCOMPARE(g->GetRowCount(), 15);

        // OK, then Yes: the view gets its "Generar" command, once the click is over.
        DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
        dobleClic(1, 0);
        QCOMPARE(cajas.Count(), 2);
        QCOMPARE(vista.m_ordenes, QList<int>({1056}));
        DvMessageBox::ClearAnswers();
    }

    void variosMesesCoincidenConElMotor() {
        // A service of several rotations, leave and exceptions, checked month by month.
        TresPersonas();
        Persona(5, "Eva");
        Persona(6, "Fede");
        Persona(7, "Gala");
        Asignar(4, 5, F(2023, 11, 20), 14);
        Asignar(5, 6, F(2023, 6, 1), 3);
        Asignar(6, 7, F(2023, 6, 2), 5);
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2024, 2, 20) + ", " + F(2024, 3, 5) +
                 ", 4)",
             "INSERT INTO BAJAS VALUES (1, 6, " + F(2024, 5, 1) + ", " + F(2024, 5, 20) + ", -1)",
             "INSERT INTO EXCEPCIONES VALUES (1, " + F(2024, 4, 3) + ", 2, 2, " +
                 F(2005, 1, 1, 10) + ", " + F(2005, 1, 1, 14) + ")",
             "INSERT INTO EXCEPCIONES VALUES (2, " + F(2024, 4, 4) + ", 7, 1, null, null)"});
        CVentana v;
        CCuadroPlanilla& g = *v.cuadro;
        for (int mes = 1; mes <= 12; ++mes) {
            Generar(g, mes, 2024);
            QVERIFY(g.GetRowCount() > 0);
            QCOMPARE(ComprobarMes(g, mes, 2024, 1), QString());
        }
    }
};

QTEST_MAIN(TestCuadroPlanilla)
#include "test_cuadro_planilla.moc"
