// The roster checker on small hand-made files: each kind of warning with a worker beside
// it who must get none, the month's edges, clock changes, the rules a service stores,
// the order of the list, and the few days read next to a month, which must give the
// periods the engine's day plans give.

#include "Avisos.h"
#include "BdPrueba.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "FechasPlanilla.h"
#include "GeneradorBd.h"
#include "MotorPlanilla.h"
#include "ReglasServicio.h"
#include "TestSupport.h"
#include "TramoDias.h"

#include <QFile>
#include <QtTest>
#include <algorithm>

using DvPrueba::F;
using DvPrueba::Sql;

namespace {
const QString kTrabajo = QStringLiteral("'2005/01/01 %1:00'");
const QString kLibre = QStringLiteral("'2001/04/23 00:00:00'");

// Shift ids of the rotations below, each referenced on Monday 1 January 2024 at its
// first position: mornings Monday to Friday, afternoons Monday to Friday, a night every
// day, a rest every day.
constexpr int Mananas = 1;
constexpr int Tardes = 8;
constexpr int Noches = 15;
constexpr int Nunca = 16;

QString Turno(int id, const QString& nombre, const QString& desde, const QString& hasta, int orden,
              int tipo) {
    const QString inicio = desde.isEmpty() ? kLibre : kTrabajo.arg(desde);
    const QString fin = hasta.isEmpty() ? kLibre : kTrabajo.arg(hasta);
    return QStringLiteral("INSERT INTO TURNOS VALUES (%1, '%2', %3, %4, %5, %6)")
        .arg(id)
        .arg(nombre, inicio, fin)
        .arg(orden)
        .arg(tipo);
}

void Base() {
    QStringList sql{"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
                    "INSERT INTO FUNCIONES VALUES (2, 'UCI')"};
    for (int i = 0; i < 5; ++i) {
        sql << Turno(Mananas + i, "Mañana", "08:00", "15:00", i + 1, 1);
        sql << Turno(Tardes + i, "Tarde", "15:00", "22:00", i + 1, 2);
    }
    for (int i = 5; i < 7; ++i) {
        sql << Turno(Mananas + i, "Libre", "", "", i + 1, 1);
        sql << Turno(Tardes + i, "Libre", "", "", i + 1, 2);
    }
    sql << Turno(Noches, "Noche", "22:00", "08:00", 1, 3);
    sql << Turno(Nunca, "Libre", "", "", 1, 4);
    Sql(sql);
}

// A worker of the service with the rotation that starts at the shift.
void Persona(int id, const QString& nombre, int turno, int servicio = 1) {
    Sql({QStringLiteral("INSERT INTO PERSONAL VALUES (%1, '%2', 'X', '%2', %3)")
             .arg(id)
             .arg(nombre)
             .arg(servicio),
         QStringLiteral("INSERT INTO ASIG_TURNOS VALUES (%1, %1, %2, %3)")
             .arg(id)
             .arg(F(2024, 1, 1))
             .arg(turno)});
}

void Vacaciones(int id, int persona, const QString& desde, const QString& hasta, int suplente) {
    Sql({QStringLiteral("INSERT INTO VACACIONES VALUES (%1, %2, %3, %4, %5)")
             .arg(id)
             .arg(persona)
             .arg(desde, hasta)
             .arg(suplente)});
}

// Worker added to a day with hours of their own (TIPO 2), or taken off it (TIPO 1).
void Excepcion(int id, int persona, const QString& dia, int tipo, int h0, int m0, int h1, int m1) {
    Sql({QStringLiteral("INSERT INTO EXCEPCIONES VALUES (%1, %2, %3, %4, %5, %6)")
             .arg(id)
             .arg(dia)
             .arg(persona)
             .arg(tipo)
             .arg(F(2005, 1, 1, h0, m0), F(2005, 1, 1, h1, m1))});
}

CListaAvisos Avisos(int mes, int anio, const CReglasServicio& reglas = CReglasServicio(),
                    const QTimeZone& zona = QTimeZone::utc()) {
    return ComprobarPlanilla(mes, anio, 1, reglas, zona);
}

// "dd/mm id" of the warnings of a kind (no date: "-").
QStringList De(const CListaAvisos& avisos, const char* tipo) {
    QStringList lista;
    for (const CAviso& aviso : avisos)
        if (aviso.m_tipo == QLatin1String(tipo))
            lista << QStringLiteral("%1 %2")
                         .arg(aviso.TieneFecha() ? FechaAviso(aviso).left(5) : QStringLiteral("-"))
                         .arg(aviso.m_idPersonal);
    return lista;
}

QString Textos(const CListaAvisos& avisos, const char* tipo) {
    QStringList lista;
    for (const CAviso& aviso : avisos)
        if (aviso.m_tipo == QLatin1String(tipo))
            lista << aviso.m_texto;
    return lista.join(QLatin1Char('\n'));
}

QString Describir(std::vector<CPeriodoTrabajo> periodos) {
    std::sort(periodos.begin(), periodos.end(),
              [](const CPeriodoTrabajo& a, const CPeriodoTrabajo& b) {
                  return std::make_tuple(a.m_idPersona, a.m_idAusente, a.m_inicio, a.m_idTurno) <
                         std::make_tuple(b.m_idPersona, b.m_idAusente, b.m_inicio, b.m_idTurno);
              });
    QStringList partes;
    for (const CPeriodoTrabajo& p : periodos)
        partes << QStringLiteral("%1/%2 %3 t%4 %5 %6 %7")
                      .arg(p.m_idPersona)
                      .arg(p.m_idAusente)
                      .arg(p.m_tipoLibranza)
                      .arg(p.m_idTurno)
                      .arg(TextoHoras(p), p.m_nombre, p.m_nombreTurno);
    return partes.join(QStringLiteral(" | "));
}
} // namespace

class TestAvisos : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        DvPrueba::Errores().clear();
        QVERIFY(!DvPrueba::NuevaBd(QStringLiteral("avisos.mdb")).isEmpty());
        Base();
    }
    void cleanup() {
        QVERIFY2(DvPrueba::Errores().isEmpty(), qPrintable(DvPrueba::Errores().join('\n')));
    }

    void workersLeftOutOrSharingANameAreNamed() {
        Persona(1, "Ana", Mananas);
        Persona(2, "Bea", Mananas);
        Persona(3, "Bea", Tardes);
        Persona(4, "Carla", Mananas, 2); // another service: not this roster's business
        // Only an assignment from the 28th on: left out of March.
        Sql({"INSERT INTO PERSONAL VALUES (5, 'Dora', 'Díaz', '', 1)",
             "INSERT INTO ASIG_TURNOS VALUES (5, 5, " + F(2024, 3, 28) + ", 1)",
             "INSERT INTO PERSONAL VALUES (6, 'Eva', 'Gil', 'Eva', 1)"});
        const CListaAvisos avisos = Avisos(3, 2024);
        QCOMPARE(De(avisos, DvAvisos::SinAsignacion), (QStringList{"- 5", "- 6"}));
        QCOMPARE(Textos(avisos, DvAvisos::SinAsignacion),
                 QStringLiteral("Dora Díaz no tiene asignación de turno de referencia anterior al "
                                "28/03/2024: no sale en la planilla ni en el informe del mes\n"
                                "Eva no tiene asignación de turno de referencia anterior al "
                                "28/03/2024: no sale en la planilla ni en el informe del mes"));
        QCOMPARE(De(avisos, DvAvisos::NombreRepetido), (QStringList{"- 2", "- 3"}));
        QVERIFY(Textos(avisos, DvAvisos::NombreRepetido).contains("«Bea»"));
        // Two without any planilla name are blank on paper alike.
        Persona(7, "", Tardes);
        Persona(8, " ", Tardes);
        QVERIFY(Textos(Avisos(3, 2024), DvAvisos::NombreRepetido)
                    .contains("El trabajador 7 no tiene nombre en la planilla, como otro "
                              "trabajador del servicio (números 7, 8)"));
        // In April Dora's assignment holds.
        QCOMPARE(De(Avisos(4, 2024), DvAvisos::SinAsignacion), QStringList{"- 6"});
    }

    void substitutesInTwoPlacesOrOnLeaveThemselves() {
        Persona(1, "Ana", Mananas);  // on vacation 4-6 March, covered by Bea
        Persona(2, "Bea", Mananas);  // works her own mornings too: twice at 8
        Persona(3, "Cris", Tardes);  // on vacation 11-12 March, covered by Dani
        Persona(4, "Dani", Nunca);   // free every day: covering is fine
        Persona(5, "Elia", Mananas); // on vacation 18 March, covered by Fran
        Persona(6, "Fran", Nunca);   // on sick leave herself that day
        Persona(7, "Gala", Mananas); // her personal day covered by herself
        Persona(8, "Hugo", Mananas); // his personal day covered by Dani: fine; his
        Persona(9, "Iris", Nunca);   // vacation day covered by Iris on her personal day
        Vacaciones(1, 1, F(2024, 3, 4), F(2024, 3, 6), 2);
        Vacaciones(2, 3, F(2024, 3, 11), F(2024, 3, 12), 4);
        Vacaciones(3, 5, F(2024, 3, 18), F(2024, 3, 18), 6);
        Sql({"INSERT INTO BAJAS VALUES (1, 6, " + F(2024, 3, 15) + ", " + F(2024, 3, 20) + ", -1)",
             "INSERT INTO DIASPERSONALES VALUES (1, 7, " + F(2024, 3, 21) + ", 7)",
             "INSERT INTO DIASPERSONALES VALUES (2, 8, " + F(2024, 3, 22) + ", 4)",
             "INSERT INTO DIASPERSONALES VALUES (3, 9, " + F(2024, 3, 25) + ", -1)"});
        Vacaciones(4, 8, F(2024, 3, 25), F(2024, 3, 25), 9);
        const CListaAvisos avisos = Avisos(3, 2024);
        QCOMPARE(De(avisos, DvAvisos::Solapamiento),
                 (QStringList{"04/03 2", "05/03 2", "06/03 2"}));
        QCOMPARE(Textos(avisos, DvAvisos::Solapamiento).section('\n', 0, 0),
                 QStringLiteral("04/03: Bea está en dos turnos a la vez: Mañana (08:00–15:00) y "
                                "Mañana (08:00–15:00) cubriendo a Ana; coinciden 7 h"));
        QCOMPARE(De(avisos, DvAvisos::SuplenteAusente), (QStringList{"18/03 6", "25/03 9"}));
        QCOMPARE(Textos(avisos, DvAvisos::SuplenteAusente),
                 QStringLiteral("18/03: Fran sale en Mañana (08:00–15:00) cubriendo a Elia "
                                "estando de baja\n"
                                "25/03: Iris sale en Mañana (08:00–15:00) cubriendo a Hugo "
                                "estando en su día personal"));
        QCOMPARE(De(avisos, DvAvisos::Autosuplencia), QStringList{"21/03 7"});
        QCOMPARE(Textos(avisos, DvAvisos::Autosuplencia),
                 QStringLiteral("21/03: el día personal de Gala tiene como suplente a la misma "
                                "persona: sale en la planilla trabajando su propio turno"));
    }

    void restBetweenPeriodsInRealTime() {
        Persona(1, "Ana", Tardes);   // Tuesday 5 March a morning after her afternoon: 10 h
        Persona(2, "Bea", Tardes);   // Tuesday 5 March from 10:00: exactly 12 h, enough
        Persona(3, "Cris", Mananas); // covers Dani's night on Wednesday 6: 7 h
        Persona(4, "Dani", Noches);
        Excepcion(1, 1, F(2024, 3, 6), 2, 8, 0, 15, 0);
        Excepcion(2, 2, F(2024, 3, 6), 2, 10, 0, 14, 0);
        Vacaciones(1, 4, F(2024, 3, 6), F(2024, 3, 6), 3);
        const CListaAvisos avisos = Avisos(3, 2024);
        QCOMPARE(De(avisos, DvAvisos::Descanso), (QStringList{"06/03 1", "06/03 3", "07/03 3"}));
        QCOMPARE(
            Textos(avisos, DvAvisos::Descanso),
            QStringLiteral(
                "06/03: Ana descansa 10 h entre Tarde (15:00–22:00) del 05/03 y horas añadidas "
                "(08:00–15:00); mínimo 12 h\n"
                "06/03: Cris descansa 7 h entre Mañana (08:00–15:00) y Noche (22:00–08:00) "
                "cubriendo a Dani; mínimo 12 h\n"
                "07/03: Cris descansa 0 h entre Noche (22:00–08:00) del 06/03 cubriendo a Dani "
                "y Mañana (08:00–15:00); mínimo 12 h"));

        // The service's minimum: 7 h lets Cris's evening pass, 0 switches the check off.
        CReglasServicio reglas;
        reglas.m_descansoMinimo = 7;
        QCOMPARE(De(Avisos(3, 2024, reglas), DvAvisos::Descanso), (QStringList{"07/03 3"}));
        reglas.m_descansoMinimo = 0;
        QVERIFY(De(Avisos(3, 2024, reglas), DvAvisos::Descanso).isEmpty());
    }

    void restAcrossTheMonthsEdges() {
        // Night workers whose night of the last day runs into the next month, followed by
        // an added morning: in March the last night of February counts, in March the first
        // morning of April does too.
        Persona(1, "Ana", Noches);
        Persona(2, "Bea", Mananas); // control: mornings only
        Excepcion(1, 1, F(2024, 3, 1), 2, 9, 0, 13, 0);
        Excepcion(2, 1, F(2024, 4, 1), 2, 9, 0, 13, 0);
        CReglasServicio reglas;
        reglas.m_descansoSemanal = 0;
        reglas.m_nochesSeguidas = 0;
        const CListaAvisos marzo = Avisos(3, 2024, reglas);
        // The night of 29 February ends at 08:00 on the 1st, the added hours start at 09:00
        // (they replace the night of the 1st); the same from 31 March to 1 April.
        QCOMPARE(De(marzo, DvAvisos::Descanso), (QStringList{"01/03 1", "31/03 1"}));
        QVERIFY(Textos(marzo, DvAvisos::Descanso)
                    .contains("01/03: Ana descansa 1 h entre Noche (22:00–08:00) del 29/02 y "
                              "horas añadidas (09:00–13:00)"));
        QVERIFY(Textos(marzo, DvAvisos::Descanso)
                    .contains("31/03: Ana descansa 1 h entre Noche (22:00–08:00) y horas añadidas "
                              "(09:00–13:00) del 01/04"));
        // April sees the same pair from its own side.
        QVERIFY(De(Avisos(4, 2024, reglas), DvAvisos::Descanso).contains("01/04 1"));
    }

    void clockChangesCountRealHours() {
        // Sunday 31 March 2024 the clocks go from 02:00 to 03:00 in Madrid: from Saturday's
        // 22:00 to Sunday's 10:00 is 11 hours. Sunday 27 October they go back: from 21:00 to
        // 08:00 is 12 hours.
        Persona(1, "Ana", Tardes);
        Excepcion(1, 1, F(2024, 3, 30), 2, 15, 0, 22, 0);
        Excepcion(2, 1, F(2024, 3, 31), 2, 10, 0, 14, 0);
        Excepcion(3, 1, F(2024, 10, 26), 2, 14, 0, 21, 0);
        Excepcion(4, 1, F(2024, 10, 27), 2, 8, 0, 14, 0);
        CReglasServicio reglas;
        reglas.m_descansoSemanal = 0;
        const QTimeZone madrid("Europe/Madrid");
        QVERIFY(madrid.isValid());
        QCOMPARE(De(Avisos(3, 2024, reglas, madrid), DvAvisos::Descanso), QStringList{"31/03 1"});
        QVERIFY(Textos(Avisos(3, 2024, reglas, madrid), DvAvisos::Descanso)
                    .startsWith("31/03: Ana descansa 11 h entre"));
        QVERIFY(De(Avisos(3, 2024, reglas, QTimeZone::utc()), DvAvisos::Descanso).isEmpty());
        QVERIFY(De(Avisos(10, 2024, reglas, madrid), DvAvisos::Descanso).isEmpty());
        QCOMPARE(De(Avisos(10, 2024, reglas, QTimeZone::utc()), DvAvisos::Descanso),
                 QStringList{"27/10 1"});
    }

    void weeklyRest() {
        Persona(1, "Ana", Mananas); // Monday to Friday: weekends free
        Persona(2, "Bea", Mananas); // also the weekend of 9-10 March
        Excepcion(1, 2, F(2024, 3, 9), 2, 8, 0, 15, 0);
        Excepcion(2, 2, F(2024, 3, 10), 2, 8, 0, 15, 0);
        const CListaAvisos avisos = Avisos(3, 2024);
        // Her weekend rest before the 4th (65 h) served the week before; what is left of
        // it beyond that week's 36 h is her longest rest of the week.
        QCOMPARE(De(avisos, DvAvisos::DescansoSemanal), QStringList{"04/03 2"});
        QCOMPARE(Textos(avisos, DvAvisos::DescansoSemanal),
                 QStringLiteral("04/03: semana del 04/03 al 10/03: Bea descansa como mucho 29 h "
                                "seguidas; mínimo 36 h"));
        // The service's own minimum.
        CReglasServicio reglas;
        reglas.m_descansoSemanal = 29;
        QVERIFY(De(Avisos(3, 2024, reglas), DvAvisos::DescansoSemanal).isEmpty());
    }

    void weeklyRestAcrossWeeksAndMonths() {
        // Ana is off from Friday 1 March at 15:00 to Tuesday 5 March, then works until
        // Sunday 10: that rest starts in the week of 26 February and is long enough for
        // the next one too. Bea works every day from Friday 23 February; her longest rest
        // in the week of 26 February is 24 hours, from Saturday to Sunday evening.
        Persona(1, "Ana", Mananas);
        Persona(2, "Bea", Nunca);
        Excepcion(1, 1, F(2024, 3, 4), 1, 0, 0, 0, 0);
        Excepcion(2, 1, F(2024, 3, 9), 2, 8, 0, 15, 0);
        Excepcion(3, 1, F(2024, 3, 10), 2, 8, 0, 15, 0);
        for (int dia = 23; dia <= 29; ++dia)
            Excepcion(10 + dia, 2, F(2024, 2, dia), 2, 8, 0, 15, 0);
        Excepcion(4, 2, F(2024, 3, 1), 2, 8, 0, 15, 0);
        Excepcion(5, 2, F(2024, 3, 2), 2, 8, 0, 20, 0);
        Excepcion(6, 2, F(2024, 3, 3), 2, 20, 0, 23, 0);
        Excepcion(7, 2, F(2024, 3, 4), 2, 8, 0, 15, 0);
        const CListaAvisos avisos = Avisos(3, 2024);
        QCOMPARE(De(avisos, DvAvisos::DescansoSemanal), QStringList{"01/03 2"});
        QVERIFY(Textos(avisos, DvAvisos::DescansoSemanal)
                    .startsWith("01/03: semana del 26/02 al 03/03: Bea descansa como mucho 24 h"));
    }

    void nightsInARow() {
        Persona(1, "Ana", Noches); // every night
        Persona(2, "Bea", Tardes); // afternoons only
        Persona(3, "Cris", Nunca); // five nights in a row, then a free one
        for (int dia = 4; dia <= 8; ++dia)
            Excepcion(dia, 3, F(2024, 3, dia), 2, 21, 0, 7, 0);
        Excepcion(1, 1, F(2024, 3, 20), 1, 0, 0, 0, 0); // Ana off the night of the 20th
        CReglasServicio reglas;
        reglas.m_descansoSemanal = 0;
        const CListaAvisos avisos = Avisos(3, 2024, reglas);
        // Ana's nights run from before the month to the 19th and from the 21st on: the
        // sixth of each run is the first over the limit.
        QCOMPARE(De(avisos, DvAvisos::NochesSeguidas), (QStringList{"01/03 1", "26/03 1"}));
        QVERIFY(Textos(avisos, DvAvisos::NochesSeguidas)
                    .contains("26/03: Ana hace 12 noches seguidas (del 21/03 al 01/04); máximo 5"));
        reglas.m_nochesSeguidas = 0;
        QVERIFY(De(Avisos(3, 2024, reglas), DvAvisos::NochesSeguidas).isEmpty());
    }

    void coveragePerPeriodAndKindOfDay() {
        Persona(1, "Ana", Mananas);
        Persona(2, "Bea", Mananas); // on vacation 5 March, covered by Ana: Ana counts once
        Persona(3, "Cris", Tardes);
        Persona(4, "Dani", Nunca); // added to Sunday 10 March's morning, for four hours
        Vacaciones(1, 2, F(2024, 3, 5), F(2024, 3, 5), 1);
        Excepcion(1, 4, F(2024, 3, 10), 2, 8, 0, 12, 0);
        CReglasServicio reglas;
        reglas.m_descansoSemanal = 0;
        reglas.m_hayMinimo[0] = true; // mornings: 2 on weekdays, 1 on Sundays and holidays
        reglas.m_minimoLaborable[0] = 2;
        reglas.m_minimoFestivo[0] = 1;
        const CListaAvisos avisos = Avisos(3, 2024, reglas);
        // Weekdays short: the 5th; Saturdays (2, 9, 16, 23, 30) have nobody; Sundays but
        // the 10th too.
        QCOMPARE(De(avisos, DvAvisos::Cobertura),
                 (QStringList{"02/03 -1", "03/03 -1", "05/03 -1", "09/03 -1", "16/03 -1",
                              "17/03 -1", "23/03 -1", "24/03 -1", "30/03 -1", "31/03 -1"}));
        const QString textos = Textos(avisos, DvAvisos::Cobertura);
        QVERIFY(textos.contains("05/03: 1 persona en la mañana (periodo de las 8); mínimo 2 en "
                                "laborables"));
        QVERIFY(textos.contains("03/03: 0 personas en la mañana (periodo de las 8); mínimo 1 en "
                                "domingos y festivos"));
        QCOMPARE(avisos.front().m_nombre, QStringLiteral("Urgencias"));
        // No minimum for the afternoon: it is not checked.
        QVERIFY(!textos.contains("tarde"));
        // A holiday takes the Sunday minimum.
        reglas.m_minimoLaborable[0] = 3;
        QVERIFY(De(Avisos(3, 2024, reglas), DvAvisos::Cobertura).contains("19/03 -1"));
        Sql({"INSERT INTO FIESTAS VALUES (1, " + F(2024, 3, 19) + ", 'San José', FALSE)"});
        QVERIFY(!De(Avisos(3, 2024, reglas), DvAvisos::Cobertura).contains("19/03 -1"));
    }

    void orderOfTheList() {
        CListaAvisos avisos(5);
        avisos[0].m_tipo = "descanso";
        avisos[0].m_dia = 20;
        avisos[0].m_idPersonal = 3;
        avisos[1].m_tipo = "sin_asignacion";
        avisos[1].m_idPersonal = 9;
        avisos[2].m_tipo = "cobertura";
        avisos[2].m_dia = 20;
        avisos[3].m_tipo = "descanso";
        avisos[3].m_dia = 20;
        avisos[3].m_idPersonal = 1;
        avisos[4].m_tipo = "nombre_repetido";
        avisos[4].m_idPersonal = 2;
        OrdenarAvisos(avisos);
        QStringList orden;
        for (const CAviso& aviso : avisos)
            orden << aviso.m_tipo + QString::number(aviso.m_idPersonal);
        QCOMPARE(orden, (QStringList{"nombre_repetido2", "sin_asignacion9", "cobertura-1",
                                     "descanso1", "descanso3"}));
    }

    void rulesAsStoredAndOldFiles() {
        CReglasServicio reglas;
        QVERIFY(LeerReglas(1, reglas));
        QCOMPARE(reglas.m_descansoMinimo, 12);
        QCOMPARE(reglas.m_descansoSemanal, 36);
        QCOMPARE(reglas.m_nochesSeguidas, 5);
        QVERIFY(!reglas.m_hayMinimo[0] && !reglas.m_hayMinimo[1] && !reglas.m_hayMinimo[2]);
        Sql({"INSERT INTO REGLAS_SERVICIO VALUES (1, 1, 10, NULL, 0)",
             "INSERT INTO MINIMOS_COBERTURA VALUES (1, 1, 22, 2, 1)",
             "INSERT INTO MINIMOS_COBERTURA VALUES (2, 1, 22, 9, 9)",
             "INSERT INTO MINIMOS_COBERTURA VALUES (3, 2, 8, 4, 4)"});
        QVERIFY(LeerReglas(1, reglas));
        QCOMPARE(reglas.m_descansoMinimo, 10);
        QCOMPARE(reglas.m_descansoSemanal, 36); // NULL: the default
        QCOMPARE(reglas.m_nochesSeguidas, 0);
        QVERIFY(!reglas.m_hayMinimo[0] && !reglas.m_hayMinimo[1] && reglas.m_hayMinimo[2]);
        QCOMPARE(reglas.m_minimoLaborable[2], 2); // the first row of the period
        QCOMPARE(reglas.m_minimoFestivo[2], 1);
        QVERIFY(reglas.Validar().isEmpty());
        reglas.m_descansoSemanal = 200;
        QVERIFY(reglas.Validar().contains("semanal"));

        // A file made before the rules gets their tables when it is opened; while it has
        // none (a read-only one), the checks go on with the defaults and no message.
        const QString ruta = CDbConnection::Instance().Path();
        {
            CDbQuery consulta;
            QVERIFY(consulta.ExecuteCommand("DROP TABLE REGLAS_SERVICIO"));
            QVERIFY(consulta.ExecuteCommand("DROP TABLE MINIMOS_COBERTURA"));
        }
        QVERIFY(!HayTablasReglas());
        QVERIFY(LeerReglas(1, reglas));
        QCOMPARE(reglas.m_descansoMinimo, 12);
        Persona(1, "Ana", Mananas);
        QVERIFY(Avisos(3, 2024).empty());
        QVERIFY(DvPrueba::AbrirBd(ruta));
        QVERIFY(HayTablasReglas());
        Sql({"INSERT INTO MINIMOS_COBERTURA VALUES (1, 1, 15, 1, 1)"});
        QVERIFY(DvPrueba::AbrirBd(ruta)); // nothing to add the second time
        QVERIFY(LeerReglas(1, reglas));
        QVERIFY(reglas.m_hayMinimo[1]);
    }

    void daysNextToAMonthGiveTheEnginesPeriods() {
        // A generated file with every rule (and dates in every stored form): the few days
        // read next to a month give, worker by worker, what that month's own build gives.
        DvGenerador::COpciones op;
        op.servicios = 2;
        op.trabajadores = 12;
        op.anioInicio = 2023;
        op.anios = 2;
        op.semilla = 15;
        op.asignacionesPorAnio = 6;
        DvGenerador::CGenerador generador(op);
        const QString ruta = DvTest::TempDir() + QStringLiteral("/generada.mdb");
        QString error;
        QVERIFY2(generador.Generar(ruta, error), qPrintable(error));
        QVERIFY(DvPrueba::AbrirBd(ruta));
        std::vector<int> ids;
        {
            CDbQuery consulta;
            CDbRecordset filas = consulta.Open("SELECT ID FROM PERSONAL ORDER BY ID");
            while (!filas.IsEOF()) {
                ids.push_back(filas.GetInt(0));
                filas.MoveNext();
            }
        }
        int periodos = 0;
        for (int mes = 1; mes <= 12; ++mes) {
            const int anio = 2024;
            // The month's last nine days seen from the next month, its first nine from
            // the month before.
            const int primero = CDateTime(anio, mes, 1).DayNumber();
            const int ultimo = primero + DiasDelMes(mes, anio) - 1;
            struct CCaso {
                int desde, hasta, vecino;
            };
            for (const CCaso& caso : {CCaso{ultimo - 8, ultimo, ultimo + 1},
                                      CCaso{primero, primero + 8, primero - 1}}) {
                const CDateTime vecino = CDateTime::FromDays(caso.vecino);
                const auto porId = CargarReferenciasDe(ids, vecino.GetMonth(), vecino.GetYear());
                CListaReferencias vecinas;
                for (int id : ids)
                    if (porId.count(id))
                        vecinas.push_back(porId.at(id));
                CMotorPlanilla datos;
                datos.m_mes = mes;
                datos.m_anio = anio;
                CTramoDias tramo(caso.desde, caso.hasta);
                QVERIFY(tramo.Cargar(datos.DatosDelMes().Turnos(), ids, vecinas, caso.vecino));

                CMotorPlanilla motor;
                motor.m_mes = mes;
                motor.m_anio = anio;
                const auto propias = CargarReferenciasDe(ids, mes, anio);
                CListaReferencias refs;
                for (int id : ids)
                    if (propias.count(id))
                        refs.push_back(propias.at(id));
                motor.CargarLibranzas(refs);
                for (int dia = caso.desde; dia <= caso.hasta; ++dia) {
                    const CDateTime fecha = CDateTime::FromDays(dia);
                    CListaPlanDia plan;
                    CalcularDia(motor, refs, fecha, plan);
                    std::vector<CPeriodoTrabajo> esperados, leidos;
                    PeriodosDelDia(motor.DatosPara(fecha), plan, fecha, esperados);
                    tramo.Periodos(dia, leidos);
                    QCOMPARE(Describir(leidos), Describir(esperados));
                    periodos += static_cast<int>(leidos.size());
                }
            }
        }
        QVERIFY(periodos > 1000);
    }
};

QTEST_MAIN(TestAvisos)
#include "test_avisos.moc"
