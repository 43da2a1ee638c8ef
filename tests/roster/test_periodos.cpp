// Work periods: a day plan's entries at their real times, a split shift as one period,
// nights ending the next day, a substitute working the absent worker's shift, and an
// added exception with its own minutes.

#include "BdPrueba.h"
#include "DatosMes.h"
#include "MotorPlanilla.h"
#include "PeriodosTrabajo.h"
#include "TestSupport.h"

#include <QtTest>

using DvPrueba::F;
using DvPrueba::Sql;

namespace {
std::vector<CPeriodoTrabajo> Periodos(int dia, int mes, int anio) {
    CMotorPlanilla motor;
    motor.m_mes = mes;
    motor.m_anio = anio;
    motor.m_servicio = 1;
    CListaReferencias refs;
    CargarReferencias(motor, refs);
    motor.CargarLibranzas(refs);
    const CDateTime fecha(anio, mes, dia);
    CListaPlanDia plan;
    CalcularDia(motor, refs, fecha, plan);
    std::vector<CPeriodoTrabajo> periodos;
    PeriodosDelDia(motor.DatosPara(fecha), plan, fecha, periodos);
    return periodos;
}

QString Texto(const std::vector<CPeriodoTrabajo>& periodos) {
    QStringList partes;
    for (const CPeriodoTrabajo& p : periodos)
        partes << QStringLiteral("%1:%2/%3 %4")
                      .arg(p.m_idPersona)
                      .arg(p.m_nombreTurno, p.m_nombre, TextoHoras(p));
    return partes.join(QStringLiteral(" | "));
}
} // namespace

class TestPeriodos : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        DvPrueba::Errores().clear();
        QVERIFY(!DvPrueba::NuevaBd(QStringLiteral("periodos.mdb")).isEmpty());
        const QString w = QStringLiteral("2005/01/01 ");
        // One rotation of a single shift per worker, so each worker works it every day.
        Sql({"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
             "INSERT INTO TURNOS VALUES (1,' Partido ','" + w + "08:30:00','" + w +
                 "22:45:00',1,1)",
             "INSERT INTO TURNOS VALUES (2,'Noche','" + w + "22:00:00','" + w + "08:00:00',1,2)",
             "INSERT INTO TURNOS VALUES (3,'Tarde','" + w + "15:00:00','" + w + "22:00:00',1,3)",
             "INSERT INTO PERSONAL VALUES (1, 'Ana', 'A', 'Ana', 1)",
             "INSERT INTO PERSONAL VALUES (2, 'Bea', 'B', 'Bea', 1)",
             "INSERT INTO PERSONAL VALUES (3, 'Cris', 'C', 'Cris', 1)",
             "INSERT INTO PERSONAL VALUES (4, 'Dani', 'D', 'Dani', 2)",
             "INSERT INTO ASIG_TURNOS VALUES (1, 1, " + F(2024, 3, 1) + ", 1)",
             "INSERT INTO ASIG_TURNOS VALUES (2, 2, " + F(2024, 3, 1) + ", 2)",
             "INSERT INTO ASIG_TURNOS VALUES (3, 3, " + F(2024, 3, 1) + ", 3)"});
    }
    void cleanup() {
        QVERIFY2(DvPrueba::Errores().isEmpty(), qPrintable(DvPrueba::Errores().join('\n')));
    }

    void splitShiftsAndNightsAreOnePeriodEach() {
        const auto periodos = Periodos(5, 3, 2024);
        QCOMPARE(Texto(periodos), QStringLiteral("1:Partido/Ana 08:30–22:45 | 3:Tarde/Cris "
                                                 "15:00–22:00 | 2:Noche/Bea 22:00–08:00"));
        const CPeriodoTrabajo& noche = periodos[2];
        QCOMPARE(noche.Minutos(), 600);
        QCOMPARE(noche.Fin().ToQDateTime(), QDateTime(QDate(2024, 3, 6), QTime(8, 0)));
        QCOMPARE(noche.FinAbsoluto() - periodos[0].InicioAbsoluto(), 1410LL);
        QVERIFY(!noche.EsSuplencia());
        QVERIFY(!noche.EsExcepcion());
    }

    void aSubstituteWorksTheAbsentWorkersShift() {
        Sql({"INSERT INTO VACACIONES VALUES (1, 2, " + F(2024, 3, 4) + ", " + F(2024, 3, 6) +
             ", 4)"});
        const auto periodos = Periodos(5, 3, 2024);
        QCOMPARE(int(periodos.size()), 3);
        const CPeriodoTrabajo& suplencia = periodos[2];
        QCOMPARE(suplencia.m_idPersona, 4);
        QCOMPARE(suplencia.m_idAusente, 2);
        QCOMPARE(suplencia.m_tipoLibranza, 1);
        QCOMPARE(suplencia.m_nombre, QStringLiteral("Dani"));
        QCOMPARE(TextoHoras(suplencia), QStringLiteral("22:00–08:00"));
    }

    void anAddedExceptionKeepsItsMinutes() {
        Sql({"INSERT INTO EXCEPCIONES VALUES (1, " + F(2024, 3, 5) + ", 1, 2, " +
                 F(2005, 1, 1, 15, 10) + ", " + F(2005, 1, 1, 8, 5) + ")",
             "INSERT INTO EXCEPCIONES VALUES (2, " + F(2024, 3, 5) + ", 3, 2, " +
                 F(2005, 1, 1, 7, 15) + ", " + F(2005, 1, 1, 7, 15) + ")"});
        const auto periodos = Periodos(5, 3, 2024);
        // Ana's 15:10–08:05 is shown at 15 and 22 but is one period; Cris's start equals
        // her end, so she works round the clock.
        QCOMPARE(Texto(periodos), QStringLiteral("3:/Cris 07:15–07:15 | 1:/Ana 15:10–08:05 | "
                                                 "2:Noche/Bea 22:00–08:00"));
        QVERIFY(periodos[1].EsExcepcion());
        QCOMPARE(periodos[0].Minutos(), 1440);
        QCOMPARE(periodos[1].Minutos(), 16 * 60 + 55);
    }
};

QTEST_MAIN(TestPeriodos)
#include "test_periodos.moc"
