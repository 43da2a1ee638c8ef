// A worker's own months: the work periods and leave days gathered from every service,
// the calendar file read back with libical (nights across both changes of hour, split
// shifts, substitutions, leave days, the month's edges, stable UIDs), and the month's
// totals against the monthly report.

#include "BdPrueba.h"
#include "Calendario.h"
#include "CalendarioIcs.h"
#include "DbConnection.h"
#include "FechasPlanilla.h"
#include "GeneradorBd.h"
#include "Informe.h"
#include "LeerIcs.h"
#include "MotorPlanilla.h"
#include "Resources.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QtTest>

using DvPrueba::F;
using DvPrueba::Sql;
using DvPruebaIcs::CCalendario;
using DvPruebaIcs::CEvento;

namespace {
const QDateTime kMarca(QDate(2024, 3, 5), QTime(9, 30), Qt::UTC);

CCalendarioTrabajador Cargar(int id, int mes, int anio, int meses = 1) {
    CCalendarioTrabajador calendario;
    const bool existe = CargarCalendario(id, mes, anio, meses, calendario);
    if (!existe)
        qWarning("no existe el trabajador %d", id);
    return calendario;
}

CCalendario Ics(int id, int mes, int anio, int meses = 1, const QDateTime& marca = kMarca) {
    QByteArray ics;
    QString error;
    if (!DvIcs::Generar(Cargar(id, mes, anio, meses), marca, ics, &error))
        qWarning("no se generó el calendario: %s", qPrintable(error));
    return DvPruebaIcs::Leer(ics);
}

QString Uid(int persona, const QDate& dia, int ausente = -1) {
    return DvIcs::UidTrabajo(persona, CDateTime::FromQDate(dia).DayNumber(), ausente);
}

QDateTime Utc(int anio, int mes, int dia, int hora, int minuto = 0) {
    return QDateTime(QDate(anio, mes, dia), QTime(hora, minuto), Qt::UTC);
}

// The report's figures by worker id: its lines come in the reference list's order.
std::map<int, QList<int>> CifrasDelInforme(int mes, int anio, int servicio) {
    QString texto;
    CProgresoSinVentana progreso;
    GenerarInforme(mes, anio, servicio, texto, progreso);
    QStringList lineas = texto.split(QStringLiteral("\r\n"));
    lineas = lineas.mid(2, lineas.size() - 3);
    CMotorPlanilla motor;
    motor.m_mes = mes;
    motor.m_anio = anio;
    motor.m_servicio = servicio;
    CListaReferencias refs;
    CargarReferencias(motor, refs);
    std::map<int, QList<int>> cifras;
    for (int i = 0; i < lineas.size() && i < static_cast<int>(refs.size()); ++i) {
        const QStringList campos = lineas[i].split(QLatin1Char(';'));
        QList<int> numeros;
        for (int c = campos.size() - 6; c < campos.size() - 1; ++c)
            numeros << campos[c].toInt();
        cifras[refs[static_cast<std::size_t>(i)].m_idPersonal] = numeros;
    }
    return cifras;
}
} // namespace

class TestCalendario : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        DvPrueba::Errores().clear();
        QVERIFY(!DvPrueba::NuevaBd(QStringLiteral("calendario.mdb")).isEmpty());
        const QString w = QStringLiteral("2005/01/01 ");
        const QString libre = QStringLiteral("'2001/04/23 00:00:00'");
        // Ana works a night every day, Bea a split day (8 to 22), Cris an afternoon; Dani
        // (another service) a morning every other day.
        Sql({"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
             "INSERT INTO FUNCIONES VALUES (2, 'UCI')",
             "INSERT INTO TURNOS VALUES (1,'Noche','" + w + "22:00:00','" + w + "08:00:00',1,1)",
             "INSERT INTO TURNOS VALUES (2,'Partido','" + w + "08:00:00','" + w + "22:00:00',1,2)",
             "INSERT INTO TURNOS VALUES (3,'Tarde','" + w + "15:00:00','" + w + "22:00:00',1,3)",
             "INSERT INTO TURNOS VALUES (4,'Mañana','" + w + "08:00:00','" + w + "15:00:00',1,4)",
             "INSERT INTO TURNOS VALUES (5,'Libre'," + libre + "," + libre + ",2,4)",
             "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz', 'Ana R.', 1)",
             "INSERT INTO PERSONAL VALUES (2, 'Bea', 'Peña', 'Bea', 1)",
             "INSERT INTO PERSONAL VALUES (3, 'Cris', 'Sanz', 'Cris', 1)",
             "INSERT INTO PERSONAL VALUES (4, 'Dani', 'Gil', 'Dani', 2)",
             "INSERT INTO ASIG_TURNOS VALUES (1, 1, " + F(2024, 1, 1) + ", 1)",
             "INSERT INTO ASIG_TURNOS VALUES (2, 2, " + F(2024, 1, 1) + ", 2)",
             "INSERT INTO ASIG_TURNOS VALUES (3, 3, " + F(2024, 1, 1) + ", 3)",
             "INSERT INTO ASIG_TURNOS VALUES (4, 4, " + F(2024, 3, 1) + ", 4)"});
    }
    void cleanup() {
        QVERIFY2(DvPrueba::Errores().isEmpty(), qPrintable(DvPrueba::Errores().join('\n')));
    }

    void nightsAcrossTheChangesOfHourLastTheirRealHours() {
        const CCalendario marzo = Ics(1, 3, 2024);
        QVERIFY(marzo.valido);
        QCOMPARE(marzo.zonas, 1);
        QCOMPARE(marzo.tzidZona, QStringLiteral("Europe/Madrid"));
        QCOMPARE(int(marzo.eventos.size()), 31);

        // 30 to 31 March: 22:00 CET to 08:00 CEST is 9 hours; the night before, 10.
        const CEvento* cambio = marzo.Uid(Uid(1, QDate(2024, 3, 30)));
        QVERIFY(cambio);
        QCOMPARE(cambio->tzid, QStringLiteral("Europe/Madrid"));
        QCOMPARE(cambio->zona, QStringLiteral("Europe/Madrid"));
        QCOMPARE(cambio->inicioLocal, QStringLiteral("20240330T220000"));
        QCOMPARE(cambio->finLocal, QStringLiteral("20240331T080000"));
        QCOMPARE(cambio->inicio, Utc(2024, 3, 30, 21));
        QCOMPARE(cambio->Minutos(), 9 * 60);
        QCOMPARE(marzo.Uid(Uid(1, QDate(2024, 3, 29)))->Minutos(), 10 * 60);
        QCOMPARE(cambio->resumen, QStringLiteral("Noche"));
        QVERIFY(cambio->descripcion.contains(QStringLiteral("Servicio: Urgencias")));
        QVERIFY(cambio->descripcion.contains(QStringLiteral("22:00–08:00 (9 h)")));

        // 26 to 27 October: 22:00 CEST to 08:00 CET is 11 hours.
        const CCalendario octubre = Ics(1, 10, 2024);
        QVERIFY(octubre.valido);
        const CEvento* atras = octubre.Uid(Uid(1, QDate(2024, 10, 26)));
        QVERIFY(atras);
        QCOMPARE(atras->inicio, Utc(2024, 10, 26, 20));
        QCOMPARE(atras->fin, Utc(2024, 10, 27, 7));
        QCOMPARE(atras->Minutos(), 11 * 60);

        // The sheet's hours are the same real hours.
        const CTotalesMes t = Cargar(1, 3, 2024).m_meses.at(0).m_totales;
        QCOMPARE(t.m_minutos, 30 * 600 + 540);
        QCOMPARE(t.m_noches, 31);
        QCOMPARE(t.m_diasTrabajados, 31);
    }

    void theMonthsEdgesAndConsecutiveMonths() {
        // A month's nights start on its days; the last one ends in the next month, and
        // the night that ends on the 1st belongs to the month before.
        const CCalendario marzo = Ics(1, 3, 2024);
        QCOMPARE(marzo.eventos.front().inicioLocal, QStringLiteral("20240301T220000"));
        QCOMPARE(marzo.eventos.back().inicioLocal, QStringLiteral("20240331T220000"));
        QCOMPARE(marzo.eventos.back().finLocal, QStringLiteral("20240401T080000"));
        QCOMPARE(marzo.eventos.back().Minutos(), 10 * 60);

        // Two months, December into January: 31 + 31 nights, and a VTIMEZONE for both.
        const CCalendarioTrabajador dos = Cargar(1, 12, 2024, 2);
        QCOMPARE(int(dos.m_meses.size()), 2);
        QCOMPARE(dos.m_meses[1].m_mes, 1);
        QCOMPARE(dos.m_meses[1].m_anio, 2025);
        const CCalendario invierno = Ics(1, 12, 2024, 2);
        QVERIFY(invierno.valido);
        QCOMPARE(int(invierno.eventos.size()), 62);
        QCOMPARE(invierno.eventos.back().inicioLocal, QStringLiteral("20250131T220000"));
        QCOMPARE(invierno.eventos.back().Minutos(), 10 * 60);
    }

    void aSplitShiftIsOneEventAndTwoDaysWorked() {
        const CCalendario cal = Ics(2, 3, 2024);
        QVERIFY(cal.valido);
        QCOMPARE(int(cal.eventos.size()), 31);
        const CEvento* dia = cal.Uid(Uid(2, QDate(2024, 3, 31)));
        QVERIFY(dia);
        QCOMPARE(dia->resumen, QStringLiteral("Partido"));
        QCOMPARE(dia->inicioLocal, QStringLiteral("20240331T080000"));
        QCOMPARE(dia->finLocal, QStringLiteral("20240331T220000"));
        QCOMPARE(dia->Minutos(), 14 * 60);
        const CTotalesMes t = Cargar(2, 3, 2024).m_meses.at(0).m_totales;
        QCOMPARE(t.m_diasTrabajados, 62);
        QCOMPARE(t.m_noches, 0);
    }

    void substitutionsInAnyServiceAndLeaveDays() {
        // Ana on vacation 10-12 March and Cris off sick on the 11th, both covered by Dani
        // (another service); Bea on vacation 20-21 covered by Dani and, overlapping, off
        // sick on the 21st covered by Cris: the vacation wins, so Dani is shown. Dani has
        // a personal day on the 31st and is added to the 30th from 10:15 to 14:45.
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2024, 3, 10) + ", " + F(2024, 3, 12) +
                 ", 4)",
             "INSERT INTO BAJAS VALUES (1, 3, " + F(2024, 3, 11) + ", " + F(2024, 3, 11) + ", 4)",
             "INSERT INTO VACACIONES VALUES (2, 2, " + F(2024, 3, 20) + ", " + F(2024, 3, 21) +
                 ", 4)",
             "INSERT INTO BAJAS VALUES (2, 2, " + F(2024, 3, 21) + ", " + F(2024, 3, 21) + ", 3)",
             "INSERT INTO DIASPERSONALES VALUES (1, 4, " + F(2024, 3, 31) + ", -1)",
             "INSERT INTO EXCEPCIONES VALUES (1, " + F(2024, 3, 30) + ", 4, 2, " +
                 F(2005, 1, 1, 10, 15) + ", " + F(2005, 1, 1, 14, 45) + ")"});
        const CCalendario dani = Ics(4, 3, 2024);
        QVERIFY(dani.valido);

        // The 11th: own morning, Cris's afternoon and Ana's night, in order.
        const auto once = dani.DelDia(QStringLiteral("20240311"));
        QCOMPARE(int(once.size()), 3);
        QCOMPARE(once[0]->uid, Uid(4, QDate(2024, 3, 11)));
        QCOMPARE(once[0]->resumen, QStringLiteral("Mañana"));
        QVERIFY(once[0]->descripcion.contains(QStringLiteral("Servicio: UCI")));
        QCOMPARE(once[1]->uid, Uid(4, QDate(2024, 3, 11), 3));
        QCOMPARE(once[1]->resumen, QStringLiteral("Tarde — sustituye a Cris"));
        QVERIFY(once[1]->descripcion.contains(QStringLiteral("Sustituye a Cris (baja)")));
        QCOMPARE(once[2]->uid, Uid(4, QDate(2024, 3, 11), 1));
        QCOMPARE(once[2]->resumen, QStringLiteral("Noche — sustituye a Ana R."));
        // Work covered is worked in the absent worker's service.
        QVERIFY(once[2]->descripcion.contains(QStringLiteral("Servicio: Urgencias")));
        QVERIFY(once[2]->descripcion.contains(QStringLiteral("Sustituye a Ana R. (vacaciones)")));

        // A stored name with control characters in it still makes a valid file.
        Sql({"UPDATE PERSONAL SET NOMBREPLANILLA = 'Ana' || char(13) || char(0) || 'R.' "
             "WHERE ID = 1"});
        const CCalendario raro = Ics(4, 3, 2024);
        QVERIFY(raro.valido);
        QCOMPARE(raro.Uid(Uid(4, QDate(2024, 3, 11), 1))->resumen,
                 QStringLiteral("Noche — sustituye a Ana  R."));

        // The 21st: Bea's split day is Dani's, not Cris's.
        QVERIFY(dani.Uid(Uid(4, QDate(2024, 3, 21), 2)));
        const CCalendario cris = Ics(3, 3, 2024);
        QVERIFY(cris.DelDia(QStringLiteral("20240321")).size() == 1);

        // The exception's own minutes, and the personal day as a whole day.
        const auto treinta = dani.DelDia(QStringLiteral("20240330"));
        QCOMPARE(int(treinta.size()), 1);
        QCOMPARE(treinta[0]->resumen, QStringLiteral("Turno añadido"));
        QCOMPARE(treinta[0]->finLocal, QStringLiteral("20240330T144500"));
        const CEvento* personal =
            dani.Uid(DvIcs::UidLibranza(4, CDateTime(2024, 3, 31).DayNumber()));
        QVERIFY(personal);
        QVERIFY(personal->todoElDia);
        QCOMPARE(personal->resumen, QStringLiteral("Día personal"));
        QCOMPARE(personal->inicioLocal, QStringLiteral("20240331"));
        QCOMPARE(personal->finLocal, QStringLiteral("20240401"));

        // Ana's vacation: three all-day events, no night on those days.
        const CCalendario ana = Ics(1, 3, 2024);
        QCOMPARE(int(ana.eventos.size()), 31);
        const auto diez = ana.DelDia(QStringLiteral("20240310"));
        QCOMPARE(int(diez.size()), 1);
        QCOMPARE(diez[0]->resumen, QStringLiteral("Vacaciones"));
        QVERIFY(diez[0]->todoElDia);
        QCOMPARE(ana.DelDia(QStringLiteral("20240311")).front()->resumen,
                 QStringLiteral("Vacaciones"));

        // Dani's month as the report counts it: 15 own mornings and the added day, Ana's
        // three nights, Cris's afternoon and Bea's two split days (two entries each).
        const CTotalesMes t = Cargar(4, 3, 2024).m_meses.at(0).m_totales;
        QCOMPARE(t.m_diasTrabajados, 16 + 3 + 1 + 4);
        QCOMPARE(t.m_noches, 3);
        QCOMPARE(t.m_personales, 1);
        QCOMPARE(t.m_vacaciones, 0);
        const CTotalesMes tAna = Cargar(1, 3, 2024).m_meses.at(0).m_totales;
        QCOMPARE(tAna.m_vacaciones, 3);
        QCOMPARE(tAna.m_diasTrabajados, 28);
        const CTotalesMes tCris = Cargar(3, 3, 2024).m_meses.at(0).m_totales;
        QCOMPARE(tCris.m_diasBaja, 1);
        QCOMPARE(tCris.m_diasTrabajados, 30);
    }

    void uidsAreTheSameAcrossExports() {
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2024, 3, 10) + ", " + F(2024, 3, 12) +
             ", 4)"});
        const CCalendario una = Ics(4, 3, 2024, 1, kMarca);
        const CCalendario otra = Ics(4, 3, 2024, 2, kMarca.addDays(7));
        QStringList uidsUna, uidsOtra;
        for (const CEvento& e : una.eventos)
            uidsUna << e.uid;
        for (const CEvento& e : otra.eventos)
            if (e.inicioLocal.startsWith(QStringLiteral("202403")))
                uidsOtra << e.uid;
        QCOMPARE(uidsOtra, uidsUna);
        QCOMPARE(QSet<QString>(uidsUna.begin(), uidsUna.end()).size(), uidsUna.size());
        QCOMPARE(otra.eventos.front().sello, kMarca.addDays(7));

        // A change of the day's shift keeps the day's UID, so the phone updates it.
        Sql({"INSERT INTO EXCEPCIONES VALUES (1, " + F(2024, 3, 1) + ", 4, 2, " +
             F(2005, 1, 1, 15, 0) + ", " + F(2005, 1, 1, 22, 0) + ")"});
        const CCalendario cambiada = Ics(4, 3, 2024);
        const CEvento* primero = cambiada.Uid(Uid(4, QDate(2024, 3, 1)));
        QVERIFY(primero);
        QCOMPARE(primero->inicioLocal, QStringLiteral("20240301T150000"));
        QCOMPARE(una.Uid(Uid(4, QDate(2024, 3, 1)))->inicioLocal,
                 QStringLiteral("20240301T080000"));
    }

    void aWorkerWithoutAssignmentOrRow() {
        // Nobody with that id: nothing is filled.
        CCalendarioTrabajador calendario;
        QVERIFY(!CargarCalendario(99, 3, 2024, 1, calendario));
        // A worker without an assignment still has their leave and their substitutions.
        Sql({"INSERT INTO PERSONAL VALUES (5, 'Eva', 'Sola', 'Eva', 1)",
             "INSERT INTO BAJAS VALUES (1, 5, " + F(2024, 3, 4) + ", " + F(2024, 3, 5) + ", -1)",
             "INSERT INTO DIASPERSONALES VALUES (1, 1, " + F(2024, 3, 6) + ", 5)"});
        const CCalendario eva = Ics(5, 3, 2024);
        QVERIFY(eva.valido);
        QCOMPARE(int(eva.eventos.size()), 3);
        QCOMPARE(eva.eventos[0].resumen, QStringLiteral("Baja"));
        QCOMPARE(eva.eventos[2].resumen, QStringLiteral("Noche — sustituye a Ana R."));
    }

    void totalsAgreeWithTheReport() {
        // The demo database placed around March 2024: every kind of leave, substitutes
        // inside and outside the service, exceptions and long shifts, and the change of
        // hour, in every service over three months.
        const QString ruta = DvTest::TempDir() + QStringLiteral("/demo.mdb");
        QFile::remove(ruta);
        QString error;
        QVERIFY2(DvSchema::CreateDatabase(ruta, QString(),
                                          DvResources::ReadText(QStringLiteral(":/sql/demo.sql")),
                                          QDate(2024, 3, 12), error),
                 qPrintable(error));
        QVERIFY(DvPrueba::AbrirBd(ruta));
        int comparados = 0;
        int conSuplencias = 0;
        for (int mes = 2; mes <= 4; ++mes) {
            CDatosCalendarios compartidos;
            for (int servicio = 1; servicio <= 4; ++servicio) {
                for (const auto& [id, cifras] : CifrasDelInforme(mes, 2024, servicio)) {
                    CCalendarioTrabajador cal;
                    QVERIFY(CargarCalendario(id, mes, 2024, 1, cal, &compartidos));
                    const CMesTrabajador& m = cal.m_meses.at(0);
                    const CTotalesMes& t = m.m_totales;
                    const QList<int> mias{t.m_diasTrabajados, t.m_noches, t.m_personales,
                                          t.m_vacaciones, t.m_diasBaja};
                    QVERIFY2(mias == cifras,
                             qPrintable(QStringLiteral("trabajador %1, mes %2").arg(id).arg(mes)));
                    for (const CTrabajoCalendario& trabajo : m.m_trabajos)
                        if (trabajo.m_periodo.EsSuplencia()) {
                            ++conSuplencias;
                            break;
                        }
                    ++comparados;
                }
            }
        }
        QVERIFY(comparados > 100);
        QVERIFY(conSuplencias > 0);
    }

    void workIsWhatEveryRosterShows() {
        // A generated file full of overlapping leave, substitutes in other services and
        // substitutes covering several workers a day: a worker's days and nights are the
        // entries of every service's roster that show them (in person, or standing in
        // for an absent worker), as the report counts them, and the leave days are the
        // report's.
        DvGenerador::COpciones op;
        op.servicios = 3;
        op.trabajadores = 12;
        const QString ruta = DvTest::TempDir() + QStringLiteral("/generada.mdb");
        QString error;
        DvGenerador::CGenerador generador(op);
        QVERIFY2(generador.Generar(ruta, error), qPrintable(error));
        QVERIFY(DvPrueba::AbrirBd(ruta));
        int comparados = 0;
        for (int mes : {3, 6, 10}) {
            std::map<int, std::pair<int, int>> vistos; // id -> entries, nights
            for (int servicio = 1; servicio <= op.servicios; ++servicio) {
                CMotorPlanilla motor;
                motor.m_mes = mes;
                motor.m_anio = 2024;
                motor.m_servicio = servicio;
                CListaReferencias refs;
                CargarReferencias(motor, refs);
                motor.CargarLibranzas(refs);
                CListaPlanDia plan;
                for (int d = 1; d <= DiasDelMes(mes, 2024); ++d) {
                    motor.CalcularDia(refs, CDateTime(2024, mes, d), plan);
                    for (const CPlanDia& e : plan) {
                        if (e.EsRelleno())
                            continue;
                        auto& cuenta =
                            vistos[e.m_tipoLibranza == 0 ? e.m_idPersonal : e.m_idSuplente];
                        ++cuenta.first;
                        cuenta.second += e.m_hora == 22 ? 1 : 0;
                    }
                }
            }
            CDatosCalendarios compartidos;
            for (int servicio = 1; servicio <= op.servicios; ++servicio)
                for (const auto& [id, cifras] : CifrasDelInforme(mes, 2024, servicio)) {
                    CCalendarioTrabajador cal;
                    QVERIFY(CargarCalendario(id, mes, 2024, 1, cal, &compartidos));
                    const CTotalesMes& t = cal.m_meses.at(0).m_totales;
                    const QString quien = QStringLiteral("trabajador %1, mes %2").arg(id).arg(mes);
                    QVERIFY2(t.m_diasTrabajados == vistos[id].first, qPrintable(quien));
                    QVERIFY2(t.m_noches == vistos[id].second, qPrintable(quien));
                    QVERIFY2((QList<int>{t.m_personales, t.m_vacaciones, t.m_diasBaja}) ==
                                 cifras.mid(2),
                             qPrintable(quien));
                    // The report tells the rosters' story too.
                    QVERIFY2((QList<int>{vistos[id].first, vistos[id].second}) == cifras.mid(0, 2),
                             qPrintable(quien));
                    ++comparados;
                }
        }
        QVERIFY(comparados > 90);
    }
};

QTEST_MAIN(TestCalendario)
#include "test_calendario.moc"
