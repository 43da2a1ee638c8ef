// The progress window: template 147, its updates, Cancel that only raises the flag, the
// event pump and a quit request passed on; centring over another window; cancelling and
// re-entering a roster build on screen.

#include "BdPrueba.h"
#include "CentrarVentana.h"
#include "CuadroPlanilla.h"
#include "DlgProgreso.h"
#include "PlanillaPrueba.h"
#include "TestSupport.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace DvPlanilla;
using DvPrueba::F;

namespace {
// Notes a quit request reaching the application, and holds it back.
class CEspiaSalida : public QObject {
public:
    CEspiaSalida() { QCoreApplication::instance()->installEventFilter(this); }
    ~CEspiaSalida() override { QCoreApplication::instance()->removeEventFilter(this); }
    int m_vistas = 0;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (objeto == QCoreApplication::instance() && evento->type() == QEvent::Quit) {
            ++m_vistas;
            return true;
        }
        return false;
    }
};

CDlgProgreso* ProgresoVisible() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<CDlgProgreso*>(w))
            if (p->isVisible())
                return p;
    return nullptr;
}
} // namespace

class TestDlgProgreso : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void plantillaYActualizaciones() {
        QWidget dueno;
        dueno.resize(600, 400);
        dueno.show();
        CDlgProgreso p(&dueno);
        QVERIFY(!p.isVisible());
        QVERIFY(!p.isModal());
        QVERIFY(!p.Cancelado());
        QCOMPARE(p.windowTitle(), QStringLiteral("Progreso de operación"));
        QVERIFY(p.Paso() && p.Mensaje() && p.Barra());
        QCOMPARE(p.Barra()->orientation(), Qt::Horizontal);
        QVERIFY(qobject_cast<QPushButton*>(p.GetDlgItem(2)));
        QCOMPARE(p.GetDlgItemText(2), QStringLiteral("Cancel"));

        p.Mostrar();
        QVERIFY(p.isVisible());
        QVERIFY(p.FijarRangoBombeando(31));
        QCOMPARE(p.Barra()->minimum(), 0);
        QCOMPARE(p.Barra()->maximum(), 31);
        QVERIFY(p.FijarPosicionBombeando(12));
        QCOMPARE(p.Barra()->value(), 12);
        QVERIFY(p.FijarMensajeBombeando(QStringLiteral("Procesando datos para día: 12")));
        QCOMPARE(p.Mensaje()->text(), QStringLiteral("Procesando datos para día: 12"));
        QVERIFY(p.Mensaje()->isVisible());
        // The step is set but stays hidden, as the template makes it.
        QVERIFY(p.FijarPasoBombeando(3, 31));
        QCOMPARE(p.Paso()->text(), QStringLiteral("Paso (3/31)"));
        QVERIFY(!p.Paso()->isVisible());
        p.Cerrar();
        QVERIFY(!p.isVisible());
    }

    void cancelarSoloLevantaLaMarca() {
        QWidget dueno;
        dueno.show();
        {
            CDlgProgreso p(&dueno);
            p.Mostrar();
            qobject_cast<QPushButton*>(p.GetDlgItem(2))->click();
            QVERIFY(p.Cancelado());
            QVERIFY(p.isVisible());
        }
        {
            CDlgProgreso p(&dueno);
            p.Mostrar();
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&p, &escape);
            QVERIFY(p.Cancelado());
            QVERIFY(p.isVisible());
        }
        {
            CDlgProgreso p(&dueno);
            p.Mostrar();
            p.close(); // the close box
            QVERIFY(p.Cancelado());
            QVERIFY(p.isVisible());
        }
    }

    void bombearYSalidaPedida() {
        CDlgProgreso p;
        bool corrio = false;
        QTimer::singleShot(0, [&corrio]() { corrio = true; });
        QVERIFY(p.Bombear());
        QVERIFY(corrio);

        // A quit request met while pumping: false, and the request is posted again.
        QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
        QVERIFY(!p.Bombear());
        {
            CEspiaSalida espia;
            QCoreApplication::processEvents();
            QCOMPARE(espia.m_vistas, 1);
        }
        // Nothing pending: true again.
        QVERIFY(p.Bombear());
    }

    void laSalidaTerminaElBucleTrasLaOperacion() {
        // A quit request arrives during an operation run from the main loop: the
        // operation goes to its end, then the loop ends.
        int bombeos = 0;
        bool terminada = false;
        QTimer::singleShot(0, [&]() {
            CDlgProgreso p;
            QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
            for (int i = 0; i < 5; ++i) {
                p.Bombear();
                ++bombeos;
            }
            terminada = true;
        });
        QTimer::singleShot(10000, []() { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(bombeos, 5);
        QVERIFY(terminada);

        // The same with the application's own quit, called from a command run by the pump.
        bombeos = 0;
        terminada = false;
        QTimer::singleShot(0, [&]() {
            CDlgProgreso p;
            QTimer::singleShot(0, []() { QCoreApplication::quit(); });
            bool sigue = true;
            for (int i = 0; i < 5; ++i) {
                sigue = p.Bombear() && sigue;
                ++bombeos;
            }
            terminada = !sigue;
        });
        QTimer::singleShot(10000, []() { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(bombeos, 5);
        QVERIFY(terminada);
    }

    void centrarVentana() {
        QWidget otra;
        otra.setGeometry(100, 100, 400, 300);
        otra.show();
        QWidget ventana;
        ventana.resize(200, 100);
        ventana.show();
        QApplication::processEvents();
        const QRect o = otra.frameGeometry();
        const QSize t = ventana.frameGeometry().size();
        CentrarVentana(&ventana, &otra);
        QCOMPARE(ventana.frameGeometry().topLeft(),
                 QPoint((o.left() * 2 + o.width()) / 2 - t.width() / 2,
                        (o.top() * 2 + o.height()) / 2 - t.height() / 2));
        QCOMPARE(ventana.size(), QSize(200, 100));
        // Missing windows: nothing happens.
        const QPoint antes = ventana.pos();
        CentrarVentana(nullptr, &otra);
        CentrarVentana(&ventana, nullptr);
        QCOMPARE(ventana.pos(), antes);
    }

    void cancelarLaGeneracionEnPantalla() {
        DvPrueba::Errores().clear();
        QVERIFY(!DvPrueba::NuevaBd(QStringLiteral("progreso.mdb")).isEmpty());
        Turnos();
        Persona(1, "Ana");
        Persona(2, "Berta");
        Asignar(1, 1, F(2024, 1, 2), 1);
        Asignar(2, 2, F(2024, 1, 1), 2);
        CVentana v(900, 500);
        CCuadroPlanilla& g = *v.cuadro;

        // The window shows over the view while building; a second "Generar" meanwhile is
        // left alone; the build completes.
        bool visto = false;
        bool segunda = true;
        QTimer::singleShot(0, [&]() {
            visto = ProgresoVisible() != nullptr;
            segunda = g.GenerarPlanilla(1, 2024, 1, v.ventana.get());
        });
        QVERIFY(g.GenerarPlanilla(1, 2024, 1, v.ventana.get()));
        QVERIFY(visto);
        QVERIFY(!segunda);
        QCOMPARE(g.GetRowCount(), 10);
        QCOMPARE(ComprobarMes(g, 1, 2024, 1), QString());
        QVERIFY(!ProgresoVisible());

        // Cancel pressed in the window: an empty roster.
        QTimer::singleShot(0, []() {
            if (CDlgProgreso* p = ProgresoVisible())
                qobject_cast<QPushButton*>(p->GetDlgItem(2))->click();
        });
        QVERIFY(g.GenerarPlanilla(1, 2024, 1, v.ventana.get()));
        QCOMPARE(g.GetRowCount(), 0);
        QVERIFY(!ProgresoVisible());
        QVERIFY2(DvPrueba::Errores().isEmpty(), qPrintable(DvPrueba::Errores().join('\n')));
    }
};

QTEST_MAIN(TestDlgProgreso)
#include "test_dlg_progreso.moc"
