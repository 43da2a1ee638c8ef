// Edge cases of the roster engine on small hand-made files: the rotation, references,
// split shifts, ordering, exceptions, holidays, leave and substitutes, stored date forms,
// failures and the statement log.

#include "BdPrueba.h"
#include "DatosMes.h"
#include "DbQuery.h"
#include "FechasPlanilla.h"
#include "FechasSql.h"
#include "MotorPlanilla.h"
#include "TestSupport.h"

#include <QLoggingCategory>
#include <QtTest>
#include <set>

using DvPrueba::F;
using DvPrueba::Sql;

namespace {
// Rotation 1 of seven days: M 08-15, T 15-22, N 22-08, D 08-22, TN 15-08, rest, 00-08.
// Rotation 2: one shift 08:30-22:45. Rotation 3: positions 1, 2 and 4 of three shifts.
// Rotation 4: 08-21 every day.
void Turnos() {
    const QString w = QStringLiteral("2005/01/01 ");
    Sql({"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')", "INSERT INTO FUNCIONES VALUES (2, 'UCI')",
         "INSERT INTO TURNOS VALUES (1,'M','" + w + "08:00:00','" + w + "15:00:00',1,1)",
         "INSERT INTO TURNOS VALUES (2,'T','" + w + "15:00:00','" + w + "22:00:00',2,1)",
         "INSERT INTO TURNOS VALUES (3,'N','" + w + "22:00:00','" + w + "08:00:00',3,1)",
         "INSERT INTO TURNOS VALUES (4,'D','" + w + "08:00:00','" + w + "22:00:00',4,1)",
         "INSERT INTO TURNOS VALUES (5,'TN','" + w + "15:00:00','" + w + "08:00:00',5,1)",
         "INSERT INTO TURNOS VALUES (6,'L','2001/04/23 08:00:00','2001/04/23 15:00:00',6,1)",
         "INSERT INTO TURNOS VALUES (7,'0','" + w + "00:00:00','" + w + "08:00:00',7,1)",
         "INSERT INTO TURNOS VALUES (8,'U','" + w + "08:30:00','" + w + "22:45:00',1,2)",
         "INSERT INTO TURNOS VALUES (9,'A','" + w + "08:00:00','" + w + "15:00:00',1,3)",
         "INSERT INTO TURNOS VALUES (10,'B','" + w + "09:00:00','" + w + "15:00:00',2,3)",
         "INSERT INTO TURNOS VALUES (11,'C','" + w + "10:00:00','" + w + "15:00:00',4,3)",
         "INSERT INTO TURNOS VALUES (12,'X','" + w + "08:00:00','" + w + "21:00:00',1,4)"});
}

void Persona(int id, const QString& planilla, int servicio = 1) {
    Sql({QStringLiteral("INSERT INTO PERSONAL VALUES (%1, 'N%1', 'A%1', '%2', %3)")
             .arg(id)
             .arg(planilla)
             .arg(servicio)});
}

void Asignar(int id, int persona, const QString& dia, int turno) {
    Sql({QStringLiteral("INSERT INTO ASIG_TURNOS VALUES (%1, %2, %3, %4)")
             .arg(id)
             .arg(persona)
             .arg(dia)
             .arg(turno)});
}

CListaReferencias Referencias(int mes, int anio, int servicio = 1) {
    CMotorPlanilla motor;
    motor.m_mes = mes;
    motor.m_anio = anio;
    motor.m_servicio = servicio;
    CListaReferencias refs;
    CargarReferencias(motor, refs);
    return refs;
}

// The day plan of the service as the month build computes it.
CListaPlanDia Plan(int dia, int mes, int anio, int servicio = 1) {
    CMotorPlanilla motor;
    motor.m_mes = mes;
    motor.m_anio = anio;
    motor.m_servicio = servicio;
    CListaReferencias refs;
    CargarReferencias(motor, refs);
    motor.CargarLibranzas(refs);
    CListaPlanDia plan;
    CalcularDia(motor, refs, CDateTime(anio, mes, dia), plan);
    return plan;
}

QString Horas(const CListaPlanDia& plan) {
    QStringList partes;
    for (const CPlanDia& e : plan)
        partes << QStringLiteral("%1@%2").arg(e.m_nombre).arg(e.m_hora);
    return partes.join(QLatin1Char(' '));
}
} // namespace

class TestMotor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        DvPrueba::Errores().clear();
        QVERIFY(!DvPrueba::NuevaBd(QStringLiteral("motor.mdb")).isEmpty());
        Turnos();
    }
    void cleanup() {
        QVERIFY2(DvPrueba::Errores().isEmpty(), qPrintable(DvPrueba::Errores().join('\n')));
    }

    void posicionDeLaRotacion() {
        QCOMPARE(PosicionRotacion(0, 3, 7), 3); // the reference day itself
        QCOMPARE(PosicionRotacion(2, 3, 7), 5);
        QCOMPARE(PosicionRotacion(-9, 3, 7), 1); // backwards, across the wrap
        QCOMPARE(PosicionRotacion(-1, 1, 7), 7); // position 1 is preceded by n
        QCOMPARE(PosicionRotacion(4, 3, 7), 7);  // n follows itself as n, not 0
        QCOMPARE(PosicionRotacion(5, 3, 7), 1);
        QCOMPARE(PosicionRotacion(-3000000000LL, 2, 7),
                 PosicionRotacion(-3000000000LL % 7 + 7, 2, 7));
        for (int d = -10; d <= 10; ++d)
            QCOMPARE(PosicionRotacion(d, 1, 1), 1);
        QCOMPARE(PosicionRotacion(5, 1, 0), -1); // no shifts: no position, no division
    }

    void ordenYTurnosPartidos() {
        QVERIFY(EsTurnoPartido(8, 22));
        QVERIFY(EsTurnoPartido(15, 8));
        QVERIFY(!EsTurnoPartido(8, 21));
        QVERIFY(!EsTurnoPartido(22, 8));
        CListaPlanDia trabajo = {CPlanDia("a", 1, 15, 0), CPlanDia("b", 1, 8, 0),
                                 CPlanDia("c", 1, 0, 0),  CPlanDia("d", 1, 8, 0),
                                 CPlanDia("e", 1, -1, 0), CPlanDia("f", 1, 25, 0)};
        CListaPlanDia salida;
        OrdenarPorHora(trabajo, salida);
        QCOMPARE(Horas(salida), QStringLiteral("c@0 b@8 d@8 a@15"));
    }

    void rotacionHaciaAtrasYAdelante() {
        Persona(1, "Ana");
        Asignar(1, 1, F(2024, 3, 10), 3); // position 3 on 10 March (N, 22-08)
        QCOMPARE(Horas(Plan(10, 3, 2024)), QStringLiteral("Ana@22"));
        QCOMPARE(Horas(Plan(11, 3, 2024)), QStringLiteral("Ana@8 Ana@15"));  // D 08-22
        QCOMPARE(Horas(Plan(12, 3, 2024)), QStringLiteral("Ana@15 Ana@22")); // TN 15-08
        QCOMPARE(Horas(Plan(13, 3, 2024)), QString());                       // rest day
        QCOMPARE(Horas(Plan(14, 3, 2024)), QStringLiteral("Ana@0"));
        QCOMPARE(Horas(Plan(1, 3, 2024)), QStringLiteral("Ana@8")); // d = -9: position 1
        QCOMPARE(Horas(Plan(7, 3, 2024)), QStringLiteral("Ana@0")); // position 7 before 1
        const CListaPlanDia plan = Plan(11, 3, 2024);
        QCOMPARE(plan[0].m_idTurno, 4);
        QCOMPARE(plan[0].m_idPersonal, 1);
        QCOMPARE(plan[0].m_tipoLibranza, 0);
        QCOMPARE(plan[0].m_idSuplente, -1);
    }

    void turnosDeUnDiaYPartidosConMinutos() {
        Persona(1, "Uno");
        Asignar(1, 1, F(2024, 3, 1), 8); // 08:30-22:45 every day
        Persona(2, "Dos");
        Asignar(2, 2, F(2024, 3, 1), 12); // 08-21: one entry
        for (int dia : {1, 15, 31})
            QCOMPARE(Horas(Plan(dia, 3, 2024)), QStringLiteral("Uno@8 Dos@8 Uno@15"));
    }

    void referenciaDelMes() {
        Persona(1, "Ana");
        Asignar(1, 1, F(2024, 3, 5), 1);
        Asignar(2, 1, F(2024, 3, 20), 3); // the later one governs the whole month
        Persona(2, "Bea");
        Asignar(3, 2, F(2024, 2, 1), 1);
        Asignar(4, 2, F(2024, 3, 28), 3); // on the 28th: from next month only
        Persona(3, "Cris");
        Asignar(5, 3, F(2024, 3, 29), 1); // nothing before the 28th: not in March
        Persona(4, "Dani");
        Asignar(6, 4, F(2024, 3, 27, 23, 30), 1); // a time of day: still before the 28th
        const CListaReferencias refs = Referencias(3, 2024);
        QCOMPARE(int(refs.size()), 3);
        QCOMPARE(refs[0].m_nombrePlanilla, QStringLiteral("Dani")); // newest first
        QCOMPARE(refs[1].m_nombrePlanilla, QStringLiteral("Ana"));
        QCOMPARE(refs[1].m_idTurno, 3);
        QCOMPARE(refs[2].m_nombrePlanilla, QStringLiteral("Bea"));
        QCOMPARE(refs[2].m_idTurno, 1);
        // Ana: position 3 on the 20th, so the 1st (19 days before) is position 5; Dani:
        // position 1 on the 27th, the 1st is position 3; Bea: position 1 on 1 February.
        QCOMPARE(Horas(Plan(1, 3, 2024)), QStringLiteral("Ana@15 Bea@15 Dani@22 Ana@22"));
        // Dani's reference counts by its date: the 28th is one day after it.
        bool dani = false;
        for (const CPlanDia& e : Plan(28, 3, 2024))
            dani = dani || (e.m_nombre == "Dani" && e.m_idTurno == 2);
        QVERIFY(dani);
        const CListaReferencias abril = Referencias(4, 2024);
        QCOMPARE(int(abril.size()), 4);
        QCOMPARE(abril[0].m_nombrePlanilla, QStringLiteral("Cris"));
        QCOMPARE(abril[1].m_nombrePlanilla, QStringLiteral("Bea"));
        QCOMPARE(abril[1].m_idTurno, 3);
        // The reference of one worker.
        const auto una = CargarReferencia(CDateTime(2024, 3, 2), 2);
        QVERIFY(una);
        QCOMPARE(una->m_idTurno, 1);
        QVERIFY(!CargarReferencia(CDateTime(2024, 3, 2), 3));
        QVERIFY(!CargarReferencia(CDateTime(2024, 3, 2), 99));

        // Every stored form is judged by its date, not by its text: each worker's newest
        // assignment before 28 March 2024 is the one whose shift is 1.
        const struct {
            const char* antes;   // before the 28th: counts
            const char* despues; // later, in a form that sorts before it as text, or not
        } formas[] = {
            {"'2024/3/5'", "'2024/3/28'"},
            {"'2024-03-27 10:00'", "'2024-04-01'"},
            {"'2024/03/9 08:00'", "'2024/03/28T00:00'"},
            {"' 2024/03/01'", "' 2024/05/01'"},
            {"45360", "45379.5"}, // 10/03/2024 and 29/03/2024 as day counts
            {"'2023/12/31'", "'2025/01/01'"},
            {"'2024/1/15'", "'2024-12-31'"},
            {"'08:00'", "'2099/1/1'"}, // a time alone lies on 30/12/1899
        };
        int id = 100;
        for (int i = 0; i < int(std::size(formas)); ++i) {
            const int persona = 10 + i;
            Persona(persona, qPrintable(QStringLiteral("P%1").arg(i)));
            Asignar(++id, persona, QString::fromLatin1(formas[i].antes), 1);
            Asignar(++id, persona, QString::fromLatin1(formas[i].despues), 3);
        }
        int vistas = 0;
        for (const CReferencia& ref : Referencias(3, 2024))
            if (ref.m_idPersonal >= 10) {
                QCOMPARE(ref.m_idTurno, 1);
                ++vistas;
            }
        QCOMPARE(vistas, int(std::size(formas)));
    }

    void nombresCompartidosYEmpates() {
        Persona(1, "Igual");
        Asignar(1, 1, F(2024, 3, 2), 1);
        Persona(2, "Igual");
        Asignar(2, 2, F(2024, 3, 9), 2); // another person with the same name
        Persona(3, "Empate");
        Asignar(4, 3, F(2024, 3, 9), 2);
        Asignar(3, 3, F(2024, 3, 9), 3); // same day: the lowest ID counts
        Persona(4, "");
        Asignar(5, 4, F(2024, 3, 1), 1);
        Persona(5, ""); // empty names repeat too
        Asignar(6, 5, F(2024, 3, 1), 2);
        const CListaReferencias refs = Referencias(3, 2024);
        // Both homonyms and both nameless workers are listed, newest reference first.
        QCOMPARE(int(refs.size()), 5);
        QCOMPARE(refs[0].m_idPersonal, 2); // equal dates: assignment ID 2 before ID 3
        QCOMPARE(refs[1].m_idPersonal, 3);
        QCOMPARE(refs[1].m_idTurno, 3);
        QCOMPARE(refs[2].m_idPersonal, 1);
        QCOMPARE(refs[3].m_idPersonal, 4);
        QCOMPARE(refs[4].m_idPersonal, 5);
    }

    void rotacionesQueNoSePuedenSeguir() {
        Persona(1, "Borrado");
        Asignar(1, 1, F(2024, 3, 1), 77); // the shift is gone
        Persona(2, "Hueco");
        Asignar(2, 2, F(2024, 3, 1), 9); // rotation 3: positions 1, 2, 4 (n = 3)
        Persona(3, "Sano");
        Asignar(3, 3, F(2024, 3, 1), 1);
        QCOMPARE(Horas(Plan(1, 3, 2024)), QStringLiteral("Hueco@8 Sano@8"));
        QCOMPARE(Horas(Plan(2, 3, 2024)), QStringLiteral("Hueco@9 Sano@15"));
        // Position 3 holds no shift: nobody's values stand in for it.
        QCOMPARE(Horas(Plan(3, 3, 2024)), QStringLiteral("Sano@22"));
        QCOMPARE(Horas(Plan(4, 3, 2024)), QStringLiteral("Hueco@8 Sano@8 Sano@15"));
    }

    void excepciones() {
        Persona(1, "Ana");
        Asignar(1, 1, F(2024, 3, 1), 1); // M 08-15 on the 1st
        Persona(2, "Bea");
        Asignar(2, 2, F(2024, 3, 1), 1);
        Sql({"INSERT INTO EXCEPCIONES VALUES (1, " + F(2024, 3, 1) + ", 1, 2, " + F(2005, 1, 1, 8) +
                 ", " + F(2005, 1, 1, 22) + ")",
             "INSERT INTO EXCEPCIONES VALUES (2, " + F(2024, 3, 1) + ", 2, 1, null, null)",
             // Two on one day: the lower ID counts; a stray type removes.
             "INSERT INTO EXCEPCIONES VALUES (4, " + F(2024, 3, 2) + ", 1, 2, " +
                 F(2005, 1, 1, 10) + ", " + F(2005, 1, 1, 14) + ")",
             "INSERT INTO EXCEPCIONES VALUES (3, " + F(2024, 3, 2, 17) + ", 1, 7, null, null)",
             // Other stored forms of the day.
             "INSERT INTO EXCEPCIONES VALUES (5, '2024-03-03', 2, 2, " + F(2005, 1, 1, 15) + ", " +
                 F(2005, 1, 1, 8) + ")",
             QStringLiteral("INSERT INTO EXCEPCIONES VALUES (6, %1.75, 1, 2, '2005/1/1 10:00', "
                            "'2005-01-01 14:00')")
                 .arg(CDateTime(2024, 3, 4).DayNumber())});
        CListaPlanDia plan = Plan(1, 3, 2024);
        QCOMPARE(Horas(plan), QStringLiteral("Ana@8 Ana@15"));
        QCOMPARE(plan[0].m_idTurno, -1);
        QCOMPARE(Horas(Plan(2, 3, 2024)), QStringLiteral("Bea@15"));
        QCOMPARE(Horas(Plan(3, 3, 2024)), QStringLiteral("Bea@15 Ana@22 Bea@22"));
        QCOMPARE(Horas(Plan(4, 3, 2024)), QStringLiteral("Bea@8 Ana@10 Bea@15"));
        // A file without the date index (read-only, never upgraded) reads the same.
        Sql({"DROP INDEX IX_EXCEPCIONES_DIA"});
        QCOMPARE(Horas(Plan(1, 3, 2024)), QStringLiteral("Ana@8 Ana@15"));
        QCOMPARE(Horas(Plan(3, 3, 2024)), QStringLiteral("Bea@15 Ana@22 Bea@22"));
        QCOMPARE(Horas(Plan(4, 3, 2024)), QStringLiteral("Bea@8 Ana@10 Bea@15"));
        CExcepcion excepcion;
        excepcion.m_tipo = 99;
        QVERIFY(!BuscarExcepcion(2, CDateTime(2024, 3, 2), excepcion));
        QCOMPARE(excepcion.m_tipo, 99); // untouched when there is none
        QVERIFY(BuscarExcepcion(1, CDateTime(2024, 3, 2), excepcion));
        QCOMPARE(excepcion.m_tipo, 7); // ID 3 comes before ID 4
        QVERIFY(BuscarExcepcion(2, CDateTime(2024, 3, 3), excepcion));
        QCOMPARE(excepcion.m_horaInicio, 15);
        QCOMPARE(excepcion.m_horaFin, 8);
    }

    void unContextoSigueLosCambiosDeSusListas() {
        // One context used for many days keeps what it looked up per reference; it must
        // follow a reference changed in place, a list reordered or shortened, the leave
        // list loaded again for other workers, and a day of another month.
        Persona(1, "Ana");
        Asignar(1, 1, F(2024, 3, 1), 1);
        Persona(2, "Bea");
        Asignar(2, 2, F(2024, 3, 1), 2);
        Persona(3, "Cris");
        Asignar(3, 3, F(2024, 2, 1), 1);
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2024, 3, 3) + ", " + F(2024, 3, 4) +
                 ", 3)",
             "INSERT INTO EXCEPCIONES VALUES (1, " + F(2024, 3, 2) + ", 2, 1, NULL, NULL)",
             "INSERT INTO EXCEPCIONES VALUES (2, " + F(2024, 4, 2) + ", 1, 1, NULL, NULL)"});
        CMotorPlanilla motor;
        motor.m_mes = 3;
        motor.m_anio = 2024;
        motor.m_servicio = 1;
        CListaReferencias refs;
        CargarReferencias(motor, refs);
        motor.m_libranzas.CargarLibranzas(refs, false);
        // What a fresh context gives for the same list and day.
        const auto nuevo = [](const CListaReferencias& lista, const CDateTime& fecha,
                              const CListaReferencias* deLibranzas = nullptr) {
            CMotorPlanilla otro;
            otro.m_mes = fecha.GetMonth();
            otro.m_anio = fecha.GetYear();
            otro.m_libranzas.CargarLibranzas(deLibranzas ? *deLibranzas : lista, false);
            CListaPlanDia plan;
            CalcularDia(otro, lista, fecha, plan);
            return Horas(plan);
        };
        const auto mismo = [&](const CListaReferencias& lista, const CDateTime& fecha) {
            CListaPlanDia plan;
            CalcularDia(motor, lista, fecha, plan);
            return Horas(plan);
        };
        for (int dia = 1; dia <= 4; ++dia)
            QCOMPARE(mismo(refs, CDateTime(2024, 3, dia)), nuevo(refs, CDateTime(2024, 3, dia)));
        const QString antes = mismo(refs, CDateTime(2024, 3, 5));
        refs[0].m_idTurno = 3;
        refs[1].m_diaRef = CDateTime(2024, 3, 2);
        QCOMPARE(mismo(refs, CDateTime(2024, 3, 5)), nuevo(refs, CDateTime(2024, 3, 5)));
        QVERIFY(mismo(refs, CDateTime(2024, 3, 5)) != antes);
        std::reverse(refs.begin(), refs.end());
        QCOMPARE(mismo(refs, CDateTime(2024, 3, 3)), nuevo(refs, CDateTime(2024, 3, 3)));
        refs.erase(std::find_if(refs.begin(), refs.end(),
                                [](const CReferencia& ref) { return ref.m_idPersonal == 3; }));
        QCOMPARE(mismo(refs, CDateTime(2024, 3, 3)), nuevo(refs, CDateTime(2024, 3, 3)));
        CListaReferencias sinAna;
        for (const CReferencia& ref : refs)
            if (ref.m_idPersonal != 1)
                sinAna.push_back(ref);
        motor.m_libranzas.CargarLibranzas(sinAna, false);
        const QString sinVacaciones = mismo(refs, CDateTime(2024, 3, 3));
        QCOMPARE(sinVacaciones, nuevo(refs, CDateTime(2024, 3, 3), &sinAna));
        QVERIFY(sinVacaciones != nuevo(refs, CDateTime(2024, 3, 3)));
        motor.m_libranzas.CargarLibranzas(refs, false);
        QCOMPARE(mismo(refs, CDateTime(2024, 3, 3)), nuevo(refs, CDateTime(2024, 3, 3)));
        QCOMPARE(mismo(refs, CDateTime(2024, 4, 2)), nuevo(refs, CDateTime(2024, 4, 2)));
        QCOMPARE(mismo(refs, CDateTime(2024, 3, 2)), nuevo(refs, CDateTime(2024, 3, 2)));
    }

    void diasSueltosEnCadaForma() {
        // The few days next to a month are found in every stored form, and only they:
        // the rest of the month is not read (a day written without its zero must not
        // bring in the two-digit days that start with the same digit).
        const int primero = CDateTime(2024, 7, 1).DayNumber();
        QStringList textos;
        std::set<int> dentro;
        int id = 0;
        for (int dia = 1; dia <= 31; ++dia) {
            const bool enTramo = (dia >= 1 && dia <= 7) || dia == 31;
            for (const char* forma :
                 {"%1/%2/%3", "%1-%2-%3", "%1/%2/%3 08:30", "%1-%2-%3T08:30:00", "%1/%2/%3 "})
                for (int conCeros = 0; conCeros < 4; ++conCeros) {
                    const QString mes = conCeros & 1 ? QStringLiteral("07") : QStringLiteral("7");
                    const QString d =
                        conCeros & 2 ? QString::asprintf("%02d", dia) : QString::number(dia);
                    textos << QStringLiteral("'%1'").arg(
                        QString::fromLatin1(forma).arg(QStringLiteral("2024"), mes, d));
                }
            textos << QString::number(primero + dia - 1) + QStringLiteral(".25");
            const int antes = id;
            for (const QString& texto : textos.mid(antes)) {
                Sql({QStringLiteral("INSERT INTO EXCEPCIONES VALUES (%1, %2, 1, 1, NULL, NULL)")
                         .arg(++id)
                         .arg(texto)});
                if (enTramo)
                    dentro.insert(id);
            }
        }
        // Neighbours in text order that are other days, or no date at all.
        Sql({"INSERT INTO EXCEPCIONES VALUES (900, '2024/07/1x', 1, 1, NULL, NULL)",
             "INSERT INTO EXCEPCIONES VALUES (901, '2024/07/08', 1, 1, NULL, NULL)",
             "INSERT INTO EXCEPCIONES VALUES (902, '2024/06/30 23:59', 1, 1, NULL, NULL)",
             "INSERT INTO EXCEPCIONES VALUES (903, '2024/8/1', 1, 1, NULL, NULL)"});
        const auto leidas = [&](int desde, int hasta) {
            std::set<int> ids;
            CDbQuery consulta;
            CDbRecordset filas = consulta.Open(QStringLiteral("SELECT ID FROM EXCEPCIONES WHERE ") +
                                               DvFechasSql::CualquieraDe(DvFechasSql::RangosSueltos(
                                                   QStringLiteral("DIA"), desde, hasta)));
            for (; filas.IsOpen() && !filas.IsEOF(); filas.MoveNext())
                ids.insert(filas.GetInt(0));
            return ids;
        };
        std::set<int> tramos = leidas(primero, primero + 6);
        const std::set<int> fin = leidas(primero + 30, primero + 30);
        tramos.insert(fin.begin(), fin.end());
        QCOMPARE(tramos.size(), dentro.size());
        QVERIFY(tramos == dentro);
        // A span across the month's end takes both months' days.
        const std::set<int> cruce = leidas(primero + 30, primero + 31);
        QVERIFY(cruce.count(903) && !cruce.count(902));
    }

    void festivos() {
        Sql({"INSERT INTO FIESTAS VALUES (1, " + F(2007, 8, 15) + ", 'Asunción', 0)",
             "INSERT INTO FIESTAS VALUES (2, " + F(2001, 12, 25) + ", 'Navidad', 1)",
             "INSERT INTO FIESTAS VALUES (3, '2001-05-01', 'Sin tipo', null)",
             "INSERT INTO FIESTAS VALUES (4, '2010-01-06', 'Reyes', 0)"});
        QVERIFY(EsFestivo(CDateTime(2007, 8, 15)));
        QVERIFY(!EsFestivo(CDateTime(2008, 8, 15)));
        QVERIFY(EsFestivo(CDateTime(2030, 12, 25)));
        QVERIFY(EsFestivo(CDateTime(1995, 12, 25)));
        QVERIFY(!EsFestivo(CDateTime(2024, 5, 1)));
        QVERIFY(EsFestivo(CDateTime(2010, 1, 6)));
        QVERIFY(EsFestivo(CDateTime(2024, 3, 3))); // a Sunday
        QVERIFY(!EsFestivo(CDateTime(2024, 3, 4)));
        CMotorPlanilla motor;
        motor.m_mes = 12;
        motor.m_anio = 2030;
        for (int dia = 1; dia <= 31; ++dia) {
            const CDateTime fecha(2030, 12, dia);
            QCOMPARE(motor.EsFestivo(fecha), DiaDeSemana(fecha) == 7 || dia == 25);
        }
        QVERIFY(motor.EsFestivo(CDateTime(2007, 8, 15))); // another month reads that month
    }

    void libranzasYSuplentes() {
        Persona(1, "Ana");
        Asignar(1, 1, F(2024, 3, 1), 1); // 08-15, 15-22, 22-08, ... from the 1st
        Persona(2, "Bea");
        Asignar(2, 2, F(2024, 3, 1), 1);
        Persona(3, "Fuera", 2); // a substitute from another service
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2024, 3, 1) + ", " + F(2024, 3, 2, 12) +
                 ", 2)",
             "INSERT INTO BAJAS VALUES (1, 1, " + F(2024, 3, 2) + ", " + F(2024, 3, 3) + ", 3)",
             "INSERT INTO BAJAS VALUES (2, 2, '2024-03-08', '2024-03-08', -1)",
             "INSERT INTO DIASPERSONALES VALUES (1, 2, " + F(2024, 3, 9, 18) + ", 0)",
             "INSERT INTO VACACIONES VALUES (2, 2, " + F(2024, 3, 10) + ", " + F(2024, 3, 10) +
                 ", 555)",
             "INSERT INTO DIASPERSONALES VALUES (2, 1, " + F(2024, 3, 11) + ", 2)",
             "INSERT INTO EXCEPCIONES VALUES (1, " + F(2024, 3, 11) + ", 1, 1, null, null)"});
        // 1 March: Ana on vacation, Bea stands in at Ana's hour, and also works her own.
        CListaPlanDia plan = Plan(1, 3, 2024);
        QCOMPARE(Horas(plan), QStringLiteral("Bea@8 Bea@8"));
        QCOMPARE(plan[0].m_tipoLibranza, 1);
        QCOMPARE(plan[0].m_idPersonal, 1);
        QCOMPARE(plan[0].m_idSuplente, 2);
        QCOMPARE(plan[1].m_tipoLibranza, 0);
        // 2 March: vacation and sick leave overlap: the vacation wins.
        plan = Plan(2, 3, 2024);
        QCOMPARE(plan[0].m_nombre, QStringLiteral("Bea"));
        QCOMPARE(plan[0].m_tipoLibranza, 1);
        // 3 March: sick leave with a substitute of another service.
        plan = Plan(3, 3, 2024);
        QCOMPARE(Horas(plan), QStringLiteral("Fuera@22 Bea@22"));
        QCOMPARE(plan[0].m_tipoLibranza, 2);
        QCOMPARE(plan[0].m_idSuplente, 3);
        // No substitute, substitute 0, or one that no longer exists: the worker is hidden.
        QCOMPARE(Horas(Plan(8, 3, 2024)), QStringLiteral("Ana@8"));
        QCOMPARE(Horas(Plan(9, 3, 2024)), QStringLiteral("Ana@15"));
        QCOMPARE(Horas(Plan(10, 3, 2024)), QStringLiteral("Ana@22"));
        // An exception removes the substitute's entry too.
        QCOMPARE(Horas(Plan(11, 3, 2024)), QStringLiteral("Bea@8 Bea@15"));

        // The lookups themselves.
        CListaReferencias refs = Referencias(3, 2024);
        CListaLibranzas lista;
        lista.CargarLibranzas(refs, false);
        QCOMPARE(lista.Cantidad(), 6);
        QCOMPARE(lista.Libranzas()[0].m_tipo, 1); // vacations first, then sick leave...
        QCOMPARE(lista.Libranzas()[5].m_tipo, 3);
        QString nombre = QStringLiteral("sin tocar");
        int suplente = -7, tipo = -7;
        QVERIFY(!lista.BuscarLibranza(1, CDateTime(2024, 3, 4), nombre, suplente, tipo));
        QCOMPARE(suplente, -7);
        QVERIFY(lista.BuscarLibranza(2, CDateTime(2024, 3, 9), nombre, suplente, tipo));
        QCOMPARE(tipo, 3);
        QCOMPARE(suplente, 0);
        QCOMPARE(nombre, QStringLiteral("sin tocar")); // no substitute: name untouched
        QVERIFY(!lista.BuscarLibranza(2, CDateTime(2024, 3, 7), nombre, suplente, tipo));
        CListaLibranzas suplencias;
        suplencias.CargarLibranzas(refs, true);
        int ausente = -1;
        QVERIFY(suplencias.BuscarSuplencia(2, CDateTime(2024, 3, 2), ausente, tipo));
        QCOMPARE(ausente, 1);
        QCOMPARE(tipo, 1);
        QVERIFY(!suplencias.BuscarSuplencia(2, CDateTime(2024, 3, 3), ausente, tipo));

        // A list filled for March, asked about another month, reads that too.
        Sql({"INSERT INTO BAJAS VALUES (3, 1, " + F(2023, 1, 5) + ", " + F(2023, 1, 6) + ", 2)"});
        CMotorPlanilla motor;
        motor.m_mes = 3;
        motor.m_anio = 2024;
        motor.CargarLibranzas(refs);
        QVERIFY(motor.m_libranzas.BuscarLibranza(1, CDateTime(2023, 1, 6), nombre, suplente, tipo));
        QCOMPARE(tipo, 2);
        QCOMPARE(nombre, QStringLiteral("Bea"));
    }

    void libranzasDelMesEnCadaForma() {
        // Periods of every length class stored in every form, around March 2024: the month
        // reads exactly those that touch it, through the length-class index, and a file
        // without that index reads the same.
        const int desde = CDateTime(2024, 3, 1).DayNumber();
        const int hasta = CDateTime(2024, 3, 31).DayNumber();
        const auto forma = [](int k, int dia) -> QString {
            const CDateTime d = CDateTime::FromDays(dia);
            const int y = d.GetYear(), m = d.GetMonth(), dd = d.GetDay();
            switch (k) {
            case 0:
                return QString::asprintf("'%04d/%02d/%02d 23:59:59'", y, m, dd);
            case 1:
                return QString::asprintf("'%04d-%02d-%02d'", y, m, dd);
            case 2:
                return QString::number(dia + 0.75, 'f', 2); // days since 30/12/1899
            case 3:
                return QString::asprintf("'%04d/%d/%d'", y, m, dd);
            case 4:
                return QString::asprintf("'%04d-%02d-%02dT08:00'", y, m, dd);
            default:
                return QString::asprintf("'%04d-%d-%d 12:00'", y, m, dd);
            }
        };
        // Start and end: touching the month by a day on either side, just missing it,
        // of every length class and longer than any, and ended before it starts.
        const std::vector<std::pair<int, int>> periodos = {
            {desde - 1, desde - 1},     {desde - 1, desde},        {hasta, hasta + 5},
            {hasta + 1, hasta + 1},     {desde - 35, desde},       {desde - 41, desde - 1},
            {desde - 300, desde + 3},   {desde - 399, desde - 2},  {desde - 3000, desde},
            {desde - 6000, hasta + 90}, {desde - 6000, desde - 1}, {desde + 5, desde + 2},
            {desde + 10, desde + 12},   {hasta - 2, hasta + 4000}, {desde - 45000, hasta + 1},
            {desde - 45000, desde - 1}};
        Persona(1, "Ana");
        QStringList sentencias;
        std::set<std::pair<int, int>> esperadas; // kind, row ID
        int id = 0;
        for (int k = 0; k < 6; ++k)
            for (int f : {0, 3}) // the end in the same form, and in another one
                for (const auto& [inicio, fin] : periodos) {
                    ++id;
                    for (const char* tabla : {"VACACIONES", "BAJAS"})
                        sentencias << QStringLiteral("INSERT INTO %1 VALUES (%2, 1, %3, %4, -1)")
                                          .arg(QLatin1String(tabla))
                                          .arg(id)
                                          .arg(forma(k, inicio), forma((k + f) % 6, fin));
                    if (inicio <= hasta && fin >= desde) {
                        esperadas.insert({1, id});
                        esperadas.insert({2, id});
                    }
                }
        Sql(sentencias);
        const auto leidas = [&] {
            CReservaLibranzas reserva;
            reserva.CargarEntre(desde, hasta);
            CListaLibranzas lista;
            CListaReferencias refs;
            refs.emplace_back(QStringLiteral("Ana"), 1, -1, CDateTime());
            reserva.Llenar(refs, false, lista);
            std::set<std::pair<int, int>> ids;
            for (const CLibranza& l : lista.Libranzas())
                ids.insert({l.m_tipo, l.m_id});
            return ids;
        };
        QVERIFY(esperadas.size() > 100);
        QVERIFY(leidas() == esperadas);

        // Each arm of the read goes through the index.
        for (const QString& tabla : {QStringLiteral("VACACIONES"), QStringLiteral("BAJAS")})
            for (const QString& brazo : DvFechasSql::PeriodosEntre()) {
                QString plan;
                CDbQuery consulta;
                CDbRecordset filas =
                    consulta.Open(QStringLiteral("EXPLAIN QUERY PLAN SELECT ID FROM %1 WHERE %2")
                                      .arg(tabla, brazo));
                while (filas.IsOpen() && !filas.IsEOF()) {
                    plan += filas.GetText(3) + QLatin1Char('\n');
                    filas.MoveNext();
                }
                QVERIFY2(plan.contains(QStringLiteral("USING INDEX IX_%1_DURACION").arg(tabla)),
                         qPrintable(plan));
            }

        Sql({"DROP INDEX IX_VACACIONES_DURACION", "DROP INDEX IX_BAJAS_DURACION"});
        QVERIFY(leidas() == esperadas);
    }

    void fallosYRegistroDeConsultas() {
        // Statements go to the log category, silent unless enabled.
        static QStringList registro;
        registro.clear();
        const QtMessageHandler anterior = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext& contexto, const QString& texto) {
                if (QByteArray(contexto.category) == "dravonela.consultas")
                    registro << texto;
            });
        Persona(1, "Ana");
        Asignar(1, 1, F(2024, 3, 1), 1);
        Plan(1, 3, 2024);
        QVERIFY(registro.isEmpty());
        QLoggingCategory::setFilterRules(QStringLiteral("dravonela.consultas.debug=true"));
        Plan(1, 3, 2024);
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(anterior);
        QVERIFY(registro.size() >= 3);
        QVERIFY(registro.filter(QStringLiteral("FROM VACACIONES")).size() == 1);

        // A failure is reported and CargarReferencias says so.
        Sql({"DROP TABLE ASIG_TURNOS"});
        CMotorPlanilla motor;
        motor.m_mes = 3;
        motor.m_anio = 2024;
        motor.m_servicio = 1;
        CListaReferencias refs;
        QVERIFY(!CargarReferencias(motor, refs));
        QVERIFY(refs.empty());
        QVERIFY(!DvPrueba::Errores().isEmpty());
        DvPrueba::Errores().clear();
    }

    void fechasDelCalendario() {
        QCOMPARE(DiasDelMes(2, 2024), 29);
        QCOMPARE(DiasDelMes(2, 2023), 28);
        QCOMPARE(DiasDelMes(2, 1900), 28);
        QCOMPARE(DiasDelMes(12, 2023), 31);
        QCOMPARE(DiasDelMes(4, 2023), 30);
        QCOMPARE(DiasDelMes(13, 2023), 0);
        QCOMPARE(DiaDeSemana(CDateTime(2024, 1, 1)), 1);
        QCOMPARE(DiaDeSemana(CDateTime(2024, 1, 7)), 7);
        QCOMPARE(DiaDeSemana(CDateTime(2010, 2, 28)), 7);
        QString nombre = QStringLiteral("igual");
        NombreMes(13, nombre);
        QCOMPARE(nombre, QStringLiteral("igual"));
        NombreMes(9, nombre);
        QCOMPARE(nombre, QStringLiteral("Septiembre"));
        QCOMPARE(NombreMes(1), QStringLiteral("Enero"));
        QCOMPARE(NombreMes(12), QStringLiteral("Diciembre"));
    }
};

QTEST_GUILESS_MAIN(TestMotor)
#include "test_motor.moc"
