// The warnings under the roster in the window: filled after "Generar" with the checker's
// lines and their count in the status bar, a double click on a line selecting that day
// on the roster, "Sin avisos" when there is nothing to say, the rules command, and the
// list following the grid when the window grows.

#include "AppPrueba.h"
#include "Avisos.h"
#include "CellRecord.h"
#include "Clock.h"
#include "ComboList.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "FechasPlanilla.h"
#include "MainFrame.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "ReglasDlg.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {
void ElegirServicio(COstrevanView* vista, const QString& nombre) {
    CComboList* servicios = vista->Servicios();
    const int indice = servicios->findText(nombre);
    QVERIFY(indice >= 0);
    servicios->setCurrentIndex(indice);
    emit servicios->activated(indice);
}

QStringList Lineas(QListWidget* panel) {
    QStringList lineas;
    for (int i = 0; i < panel->count(); ++i)
        lineas << panel->item(i)->text();
    return lineas;
}
} // namespace

class TestAvisosVista : public QObject {
    Q_OBJECT
    std::unique_ptr<COstrevanApp> m_app;
    COstrevanView* m_vista = nullptr;

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        DvClock::SetFixed(QDateTime(QDate(2024, 3, 12), QTime(10, 0)));
    }

    void init() {
        DvMessageBox::ClearAnswers();
        DvModal::ClearHandlers();
        const QString bd =
            DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), QDate(2024, 3, 12));
        QVERIFY(!bd.isEmpty());
        QVERIFY(DvAppPrueba::AbrirBd(bd));
        m_app = DvAppPrueba::Iniciar(bd);
        QVERIFY(m_app && m_app->MainFrame());
        m_vista = m_app->MainFrame()->View();
        ElegirServicio(m_vista, QStringLiteral("Urgencias"));
    }

    void cleanup() {
        m_app.reset();
        m_vista = nullptr;
        CDbConnection::Instance().Reset();
    }

    void panelFilledAfterGenerarAndDoubleClickSelectsTheDay() {
        QListWidget* panel = m_vista->PanelAvisos();
        QVERIFY(panel);
        QCOMPARE(panel->count(), 0); // nothing before the first build
        m_vista->SendCommand(COstrevanView::IdGenerar);

        // The lines are the checker's, in its order.
        CReglasServicio reglas;
        LeerReglas(1, reglas);
        const CListaAvisos avisos = ComprobarPlanilla(3, 2024, 1, reglas);
        QVERIFY(avisos.size() > 3);
        QStringList esperadas;
        for (const CAviso& aviso : avisos)
            esperadas << aviso.m_texto;
        QCOMPARE(Lineas(panel), esperadas);
        QLabel* estado = m_app->MainFrame()->MessagePane();
        QCOMPARE(estado->text(), QStringLiteral("%1 avisos").arg(avisos.size()));

        // A double click on a dated line (the last, in the month's second week) makes that
        // day's number the current cell.
        const int fila = panel->count() - 1;
        QVERIFY(avisos[fila].TieneFecha() && CDateTime::FromDays(avisos[fila].m_dia).GetDay() > 7);
        const CDateTime fecha = CDateTime::FromDays(avisos[fila].m_dia);
        m_app->MainFrame()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_app->MainFrame()));
        panel->scrollToItem(panel->item(fila));
        const QPoint punto = panel->visualItemRect(panel->item(fila)).center();
        // The first click of the pair, as a user's double click brings it.
        QTest::mouseClick(panel->viewport(), Qt::LeftButton, Qt::NoModifier, punto);
        QTest::mouseDClick(panel->viewport(), Qt::LeftButton, Qt::NoModifier, punto);
        CCuadroPlanilla* cuadro = m_vista->Cuadro();
        QCOMPARE(cuadro->GetCurrentColumn(), 2 * DiaDeSemana(fecha) - 1);
        CCellRecord celda;
        cuadro->GetCell(cuadro->GetCurrentColumn(), cuadro->GetCurrentRow(), &celda);
        QCOMPARE(static_cast<int>(celda.GetItemData()), fecha.DayNumber());

        // A day the roster does not show selects nothing.
        QVERIFY(!cuadro->SeleccionarDia(CDateTime(2024, 4, 2)));
    }

    void nothingToSayAndTheRulesCommand() {
        // Without leave, exceptions or limits, the demo's rotations break no rule.
        QVERIFY(DvAppPrueba::Sql(QStringLiteral(
            "DELETE FROM VACACIONES;\nDELETE FROM BAJAS;\nDELETE FROM DIASPERSONALES;\n"
            "DELETE FROM EXCEPCIONES;")));
        // The rules dialog stores the limits off and the roster is built again at once.
        DvModal::QueueHandler([](QDialog& d) {
            for (int id : {CReglasDlg::IdDescanso, CReglasDlg::IdSemanal, CReglasDlg::IdNoches})
                d.findChild<QLineEdit*>(QStringLiteral("id%1").arg(id))->setText("0");
            d.findChild<QAbstractButton*>(QStringLiteral("id1"))->click();
        });
        DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
        QAction* reglas = m_app->MainFrame()->CommandAction(QStringLiteral("ID_CONFIG_REGLAS"));
        QVERIFY(reglas);
        QCOMPARE(reglas->text(), QStringLiteral("Reglas y mínimos..."));
        reglas->trigger();
        QCOMPARE(DvModal::PendingHandlers(), 0);
        QVERIFY(m_vista->Cuadro()->GetRowCount() > 0);
        QCOMPARE(Lineas(m_vista->PanelAvisos()), QStringList{"Sin avisos"});
        QCOMPARE(m_app->MainFrame()->MessagePane()->text(), QStringLiteral("Sin avisos"));

        // A minimum nobody meets: one line a day.
        QVERIFY(DvAppPrueba::Sql(
            QStringLiteral("INSERT INTO MINIMOS_COBERTURA VALUES (1, 1, 22, 50, 50);")));
        m_vista->SendCommand(COstrevanView::IdGenerar);
        QCOMPARE(m_vista->PanelAvisos()->count(), 31);
        QCOMPARE(m_app->MainFrame()->MessagePane()->text(), QStringLiteral("31 avisos"));
    }

    void listFollowsTheGrid() {
        CMainFrame* marco = m_app->MainFrame();
        QListWidget* panel = m_vista->PanelAvisos();
        CCuadroPlanilla* cuadro = m_vista->Cuadro();
        const int separacion = panel->y() - cuadro->geometry().bottom();
        const int alto = panel->height();
        for (const QSize tamano : {QSize(1500, 1000), QSize(1900, 1150)}) {
            marco->resize(tamano);
            QApplication::processEvents();
            QCOMPARE(panel->y() - cuadro->geometry().bottom(), separacion);
            QCOMPARE(panel->height(), alto);
            QCOMPARE(panel->x(), cuadro->x());
            QCOMPARE(panel->width(), cuadro->width());
            QVERIFY(panel->geometry().bottom() < m_vista->height());
        }
    }
};

QTEST_MAIN(TestAvisosVista)
#include "test_avisos_vista.moc"
