// The engine against the plain one-query-at-a-time implementation (ReferenciaPorConsulta.h)
// on generated files: every month of two years, three services, every rule. Reference
// lists, day plans, holidays and reports must be identical.

#include "BdPrueba.h"
#include "DatosMes.h"
#include "FechasPlanilla.h"
#include "GeneradorBd.h"
#include "Informe.h"
#include "MotorPlanilla.h"
#include "ReferenciaPorConsulta.h"
#include "TestSupport.h"

#include <QtTest>
#include <map>

namespace {
QString Describir(const CListaPlanDia& plan) {
    QStringList partes;
    for (const CPlanDia& e : plan)
        partes << QStringLiteral("[%1 t%2 h%3 l%4 p%5 s%6]")
                      .arg(e.m_nombre)
                      .arg(e.m_idTurno)
                      .arg(e.m_hora)
                      .arg(e.m_tipoLibranza)
                      .arg(e.m_idPersonal)
                      .arg(e.m_idSuplente);
    return partes.join(QLatin1Char(' '));
}

bool MismasReferencias(const CListaReferencias& a, const CListaReferencias& b, QString& detalle) {
    if (a.size() != b.size()) {
        detalle = QStringLiteral("%1 referencias frente a %2").arg(a.size()).arg(b.size());
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].m_nombrePlanilla != b[i].m_nombrePlanilla ||
            a[i].m_idPersonal != b[i].m_idPersonal || a[i].m_idTurno != b[i].m_idTurno ||
            a[i].m_diaRef.Days() != b[i].m_diaRef.Days()) {
            detalle = QStringLiteral("posición %1: %2/%3 frente a %4/%5")
                          .arg(i)
                          .arg(a[i].m_nombrePlanilla)
                          .arg(a[i].m_idPersonal)
                          .arg(b[i].m_nombrePlanilla)
                          .arg(b[i].m_idPersonal);
            return false;
        }
    return true;
}
} // namespace

class TestMotorDiferencial : public QObject {
    Q_OBJECT

    DvGenerador::COpciones m_op;

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        m_op.servicios = 3;
        m_op.trabajadores = 10;
        m_op.anioInicio = 2023;
        m_op.anios = 2;
        m_op.semilla = 20240607;
        DvGenerador::CGenerador generador(m_op);
        const QString ruta = DvTest::TempDir() + QStringLiteral("/diferencial.mdb");
        QString error;
        QVERIFY2(generador.Generar(ruta, error), qPrintable(error));
        QVERIFY(DvPrueba::AbrirBd(ruta));
    }

    void init() { DvPrueba::Errores().clear(); }
    void cleanup() {
        QVERIFY2(DvPrueba::Errores().isEmpty(), qPrintable(DvPrueba::Errores().join('\n')));
    }

    // The month build's calls: references, leave by worker, a plan and the holiday test
    // for every day.
    void planesDeCadaMes() {
        int entradas = 0, suplentes = 0, excepciones = 0, partidos = 0, festivos = 0;
        for (int anio = m_op.anioInicio; anio < m_op.anioInicio + m_op.anios; ++anio)
            for (int mes = 1; mes <= 12; ++mes)
                for (int servicio = 1; servicio <= m_op.servicios; ++servicio) {
                    CMotorPlanilla motor;
                    motor.m_mes = mes;
                    motor.m_anio = anio;
                    motor.m_servicio = servicio;
                    CListaReferencias refs;
                    QVERIFY(CargarReferencias(motor, refs));
                    motor.CargarLibranzas(refs);

                    CListaReferencias esperadas;
                    DvRef::CargarReferencias(mes, anio, servicio, esperadas);
                    QString detalle;
                    QVERIFY2(MismasReferencias(refs, esperadas, detalle),
                             qPrintable(QStringLiteral("%1/%2 servicio %3: %4")
                                            .arg(mes)
                                            .arg(anio)
                                            .arg(servicio)
                                            .arg(detalle)));
                    const DvRef::CLibs libranzas = DvRef::CargarLibranzas(esperadas, false);

                    CListaPlanDia plan, esperado;
                    for (int dia = 1; dia <= DiasDelMes(mes, anio); ++dia) {
                        const CDateTime fecha(anio, mes, dia);
                        CalcularDia(motor, refs, fecha, plan);
                        DvRef::CalcularDia(esperadas, libranzas, fecha, esperado);
                        QVERIFY2(plan == esperado,
                                 qPrintable(QStringLiteral("%1/%2/%3 servicio %4:\n  motor %5\n  "
                                                           "referencia %6")
                                                .arg(dia)
                                                .arg(mes)
                                                .arg(anio)
                                                .arg(servicio)
                                                .arg(Describir(plan), Describir(esperado))));
                        if (servicio == 1) {
                            const bool festivo = motor.EsFestivo(fecha);
                            QCOMPARE(festivo, DvRef::EsFestivo(fecha));
                            festivos += festivo && DiaDeSemana(fecha) != 7;
                        }
                        for (const CPlanDia& e : plan) {
                            ++entradas;
                            suplentes += e.m_tipoLibranza != 0;
                            excepciones += e.m_idTurno == -1;
                        }
                        for (size_t i = 1; i < plan.size(); ++i)
                            partidos += plan[i].m_idPersonal == plan[i - 1].m_idPersonal;
                    }
                }
        // The generated file exercises every rule.
        QVERIFY(entradas > 5000);
        QVERIFY(suplentes > 100);
        QVERIFY(excepciones > 100);
        QVERIFY(festivos > 5);
        QVERIFY(partidos > 0);
    }

    void informesDeCadaMes() {
        // Days on which an absent worker has two periods naming substitutes of the report,
        // and on which one of them covers two absent workers.
        int dosSuplentes = 0, dosAusentes = 0, citados = 0;
        for (int anio = m_op.anioInicio; anio < m_op.anioInicio + m_op.anios; ++anio)
            for (int mes = 1; mes <= 12; ++mes)
                for (int servicio = 1; servicio <= m_op.servicios; ++servicio) {
                    CProgresoSinVentana progreso;
                    QString texto;
                    QVERIFY(GenerarInforme(mes, anio, servicio, texto, progreso));
                    const QString esperado = DvRef::GenerarInforme(mes, anio, servicio);
                    QCOMPARE(texto, esperado);
                    citados += texto.count(QStringLiteral("\r\n\""));

                    CListaReferencias refs;
                    DvRef::CargarReferencias(mes, anio, servicio, refs);
                    const DvRef::CLibs porSuplente = DvRef::CargarLibranzas(refs, true);
                    for (int dia = 1; dia <= DiasDelMes(mes, anio); ++dia) {
                        const int d = CDateTime(anio, mes, dia).DayNumber();
                        std::map<int, QSet<int>> suplentesDe, ausentesDe;
                        for (const DvRef::CLib& l : porSuplente)
                            if (l.inicio <= d && d <= l.fin) {
                                suplentesDe[l.personal].insert(l.suplente);
                                ausentesDe[l.suplente].insert(l.personal);
                            }
                        for (const auto& par : suplentesDe)
                            dosSuplentes += par.second.size() > 1;
                        for (const auto& par : ausentesDe)
                            dosAusentes += par.second.size() > 1;
                    }
                }
        QVERIFY(dosSuplentes > 0);
        QVERIFY(dosAusentes > 0);
        QVERIFY(citados > 0);
    }

    // The loads that do not go through a month: a worker's own reference, the whole
    // history of leave, the free holiday and exception lookups, and a month-bound leave
    // list asked about a day of another month.
    void busquedasSueltas() {
        for (int mes = 1; mes <= 12; mes += 5) {
            const CDateTime fecha(2024, mes, 15);
            for (int persona = 1; persona <= m_op.servicios * m_op.trabajadores; ++persona) {
                const auto ref = CargarReferencia(fecha, persona);
                const auto esperada = DvRef::CargarReferencia(fecha, persona);
                QCOMPARE(bool(ref), bool(esperada));
                if (ref) {
                    QCOMPARE(ref->m_nombrePlanilla, esperada->m_nombrePlanilla);
                    QCOMPARE(ref->m_idTurno, esperada->m_idTurno);
                    QCOMPARE(ref->m_diaRef.Days(), esperada->m_diaRef.Days());
                }
            }
        }

        CMotorPlanilla motor;
        motor.m_mes = 3;
        motor.m_anio = 2024;
        motor.m_servicio = 2;
        CListaReferencias refs;
        CargarReferencias(motor, refs);
        motor.CargarLibranzas(refs);
        CListaLibranzas completa;
        completa.CargarLibranzas(refs, false);
        CListaLibranzas suplencias;
        suplencias.CargarLibranzas(refs, true);
        const DvRef::CLibs esperadas = DvRef::CargarLibranzas(refs, false);
        const DvRef::CLibs esperadasSup = DvRef::CargarLibranzas(refs, true);
        QCOMPARE(completa.Cantidad(), int(esperadas.size()));
        for (int d = CDateTime(2022, 12, 1).DayNumber(); d <= CDateTime(2025, 1, 31).DayNumber();
             d += 3) {
            const CDateTime fecha = CDateTime::FromDays(d);
            for (const CReferencia& r : refs) {
                QString n1, n2, n3;
                int s1 = -9, t1 = -9, s2 = -9, t2 = -9, s3 = -9, t3 = -9;
                const bool e = DvRef::BuscarLibranza(esperadas, r.m_idPersonal, fecha, n3, s3, t3);
                QCOMPARE(completa.BuscarLibranza(r.m_idPersonal, fecha, n1, s1, t1), e);
                QCOMPARE(motor.m_libranzas.BuscarLibranza(r.m_idPersonal, fecha, n2, s2, t2), e);
                QCOMPARE(n1, n3);
                QCOMPARE(n2, n3);
                QCOMPARE(s1, s3);
                QCOMPARE(t2, t3);
                int a1 = -9, a2 = -9, u1 = -9, u2 = -9;
                QCOMPARE(suplencias.BuscarSuplencia(r.m_idPersonal, fecha, a1, u1),
                         DvRef::BuscarSuplencia(esperadasSup, r.m_idPersonal, fecha, a2, u2));
                QCOMPARE(a1, a2);
                QCOMPARE(u1, u2);

                CExcepcion excepcion;
                int tipo = 0, hi = 0, hf = 0;
                const bool hay = DvRef::BuscarExcepcion(r.m_idPersonal, fecha, tipo, hi, hf);
                QCOMPARE(BuscarExcepcion(r.m_idPersonal, fecha, excepcion), hay);
                if (hay) {
                    QCOMPARE(excepcion.m_tipo, tipo);
                    QCOMPARE(excepcion.m_horaInicio, hi);
                    QCOMPARE(excepcion.m_horaFin, hf);
                }
            }
            QCOMPARE(EsFestivo(fecha), DvRef::EsFestivo(fecha));
        }
    }
};

QTEST_GUILESS_MAIN(TestMotorDiferencial)
#include "test_motor_diferencial.moc"
