// "Reglas y mínimos" through the real dialog: what it shows for a service with and
// without stored rules, what OK stores (nothing while the defaults stand), a period
// left blank losing its row, "Por defecto", values out of range refused with the
// dialog kept open, and no dialog without a service.

#include "ReglasDlg.h"

#include "DialogTestUtil.h"
#include "MessageBox.h"
#include "Modal.h"
#include "ReglasServicio.h"
#include "TestSupport.h"

#include <QtTest>

using namespace DlgTest;

namespace {
using Dlg = CReglasDlg;

// The fields as the dialog shows them: rest, weekly rest, nights, then the weekday and
// Sunday minimums of 8, 15 and 22.
QStringList Campos(QDialog& dialog) {
    QStringList campos;
    for (int id = Dlg::IdDescanso; id < Dlg::IdPorDefecto; ++id)
        campos << Text(&dialog, id);
    return campos;
}

Dlg::Resultado Ejecutar(int servicio, const std::function<void(QDialog&)>& trabajo,
                        QStringList* vistos = nullptr) {
    DvModal::QueueHandler([=](QDialog& dialog) {
        if (vistos)
            *vistos = Campos(dialog);
        trabajo(dialog);
    });
    return Dlg::Run(nullptr, servicio, QStringLiteral("Urgencias"));
}

QString Guardado() {
    return (Rows("SELECT ID_SERVICIO, DESCANSO_MINIMO, DESCANSO_SEMANAL, NOCHES_SEGUIDAS FROM "
                 "REGLAS_SERVICIO ORDER BY ID") +
            QStringList{"/"} +
            Rows("SELECT ID_SERVICIO, PERIODO, MINIMO_LABORABLE, MINIMO_FESTIVO FROM "
                 "MINIMOS_COBERTURA ORDER BY ID_SERVICIO, PERIODO"))
        .join(QLatin1Char(' '));
}
} // namespace

class TestReglasDlg : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        OpenNewDatabase();
        DvMessageBox::ClearAnswers();
        DvModal::ClearHandlers();
        QVERIFY(Exec(QStringList{"INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'Urgencias'), "
                                 "(2, 'UCI')"}));
    }
    void cleanup() {
        QCOMPARE(DvModal::PendingHandlers(), 0);
        DvModal::ClearHandlers();
        DvMessageBox::ClearAnswers();
        QVERIFY(DbErrors().isEmpty());
    }
    void cleanupTestCase() { CloseDatabase(); }

    void defaultsShownAndNotStored() {
        DvMessageBox::Recorder cajas;
        QStringList vistos;
        const auto resultado = Ejecutar(
            1, [](QDialog& d) { Click(&d, Dlg::IdOk); }, &vistos);
        QCOMPARE(vistos, (QStringList{"12", "36", "5", "", "", "", "", "", ""}));
        QCOMPARE(resultado, Dlg::Aceptado);
        QCOMPARE(Guardado(), QStringLiteral("/"));
        QCOMPARE(cajas.Count(), 0); // nothing changed: no reload question
    }

    void changesStoredPerServiceAndShownAgain() {
        DvMessageBox::Recorder cajas;
        DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
        auto resultado = Ejecutar(1, [](QDialog& d) {
            SetText(&d, Dlg::IdDescanso, "10");
            SetText(&d, Dlg::IdNoches, "0");
            SetText(&d, Dlg::IdMinimo(2, false), "2"); // nights on weekdays; Sundays blank
            Click(&d, Dlg::IdOk);
        });
        QCOMPARE(resultado, Dlg::Recargar);
        QCOMPARE(cajas.Count(), 1);
        QCOMPARE(cajas.Last().text,
                 QStringLiteral("Para que los cambios tengan efecto se debe recargar la planilla."
                                "\r\n¿Desea recargarla?"));
        QCOMPARE(Guardado(), QStringLiteral("1|10|36|0 / 1|22|2|0"));
        CReglasServicio reglas;
        QVERIFY(LeerReglas(1, reglas));
        QCOMPARE(reglas.m_descansoMinimo, 10);
        QCOMPARE(reglas.m_nochesSeguidas, 0);
        QVERIFY(reglas.m_hayMinimo[2] && !reglas.m_hayMinimo[0]);
        QCOMPARE(reglas.m_minimoLaborable[2], 2);

        // Shown as stored; the other service keeps the defaults.
        QStringList vistos;
        DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
        resultado = Ejecutar(
            1, [](QDialog& d) { Click(&d, Dlg::IdOk); }, &vistos);
        QCOMPARE(vistos, (QStringList{"10", "36", "0", "", "", "", "", "2", "0"}));
        QCOMPARE(resultado, Dlg::Aceptado);
        Ejecutar(
            2, [](QDialog& d) { Click(&d, Dlg::IdCancel); }, &vistos);
        QCOMPARE(vistos, (QStringList{"12", "36", "5", "", "", "", "", "", ""}));
    }

    void porDefectoAndBlankPeriodsRemoveWhatWasStored() {
        QVERIFY(Exec(QStringList{"INSERT INTO REGLAS_SERVICIO VALUES (1, 1, 8, 24, 3)",
                                 "INSERT INTO MINIMOS_COBERTURA VALUES (1, 1, 8, 3, 2)",
                                 "INSERT INTO MINIMOS_COBERTURA VALUES (2, 1, 15, 3, 2)"}));
        // Cancel after "Por defecto" stores nothing.
        QStringList tras;
        auto resultado = Ejecutar(1, [&](QDialog& d) {
            Click(&d, Dlg::IdPorDefecto);
            tras = Campos(d);
            Click(&d, Dlg::IdCancel);
        });
        QCOMPARE(tras, (QStringList{"12", "36", "5", "", "", "", "", "", ""}));
        QCOMPARE(resultado, Dlg::Cancelado);
        QCOMPARE(Guardado(), QStringLiteral("1|8|24|3 / 1|8|3|2 1|15|3|2"));

        // Blanking the afternoon removes its row; the morning keeps its own.
        DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
        resultado = Ejecutar(1, [](QDialog& d) {
            SetText(&d, Dlg::IdMinimo(1, false), "");
            SetText(&d, Dlg::IdMinimo(1, true), "");
            Click(&d, Dlg::IdOk);
        });
        QCOMPARE(resultado, Dlg::Aceptado);
        QCOMPARE(Guardado(), QStringLiteral("1|8|24|3 / 1|8|3|2"));

        DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
        Ejecutar(1, [](QDialog& d) {
            Click(&d, Dlg::IdPorDefecto);
            Click(&d, Dlg::IdOk);
        });
        QCOMPARE(Guardado(), QStringLiteral("1|12|36|5 /"));
    }

    void valuesOutOfRangeAreRefused() {
        struct CCaso {
            int id;
            const char* texto;
            const char* mensaje;
        };
        const CCaso casos[] = {
            {Dlg::IdDescanso, "", "Escriba el descanso mínimo entre turnos, de 0 a 24 horas."},
            {Dlg::IdDescanso, "25", "Escriba el descanso mínimo entre turnos, de 0 a 24 horas."},
            {Dlg::IdSemanal, "169", "Escriba el descanso semanal, de 0 a 168 horas seguidas."},
            {Dlg::IdNoches, "32",
             "Escriba el máximo de noches seguidas, de 1 a 31 (0 lo deja "
             "sin límite)."},
        };
        for (const CCaso& caso : casos) {
            DvMessageBox::Recorder cajas;
            bool abierto = false;
            QString foco;
            const auto resultado = Ejecutar(1, [&](QDialog& d) {
                SetText(&d, caso.id, QString::fromUtf8(caso.texto));
                Click(&d, Dlg::IdOk);
                abierto = d.isVisible();
                foco = d.focusWidget() ? d.focusWidget()->objectName() : QString();
            });
            QCOMPARE(cajas.Count(), 1);
            QCOMPARE(cajas.Last().text, QString::fromUtf8(caso.mensaje));
            QVERIFY(abierto); // the dialog stays open on the field
            QCOMPARE(foco, QStringLiteral("id%1").arg(caso.id));
            QCOMPARE(resultado, Dlg::Cancelado);
        }
        QCOMPARE(Guardado(), QStringLiteral("/"));
    }

    void noServiceNoDialog() {
        DvMessageBox::Recorder cajas;
        const int antes = DvModal::RunCount();
        QCOMPARE(Dlg::Run(nullptr, -1, QString()), Dlg::Cancelado);
        QCOMPARE(DvModal::RunCount(), antes);
        QCOMPARE(cajas.Count(), 1);
        QCOMPARE(cajas.Last().text, QStringLiteral("Elija primero un servicio."));
    }
};

QTEST_MAIN(TestReglasDlg)
#include "test_reglas_dlg.moc"
