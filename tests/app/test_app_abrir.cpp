// "Archivo" → "Abrir...": another database file becomes the program's, checked and
// upgraded as at start, remembered, named in the caption, with the selectors and the
// roster on screen taken from it; a file that is not ours, or does not open, changes
// nothing.

#include "AppPrueba.h"
#include "Clock.h"
#include "ComboList.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "FileDialog.h"
#include "MainFrame.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "Schema.h"
#include "Settings.h"
#include "TestSupport.h"
#include "UbicacionBd.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTest>

namespace {
// Every name in the roster grid.
QStringList Nombres(CCuadroPlanilla* cuadro) {
    QStringList nombres;
    for (int fila = 0; fila < cuadro->GetRowCount(); ++fila)
        for (int columna = 0; columna < CCuadroPlanilla::Columnas; columna += 2) {
            QString texto;
            cuadro->GetCellText(columna, fila, &texto);
            if (!texto.isEmpty())
                nombres << texto;
        }
    return nombres;
}
} // namespace

class TestAppAbrir : public QObject {
    Q_OBJECT
private:
    QString m_a;
    QString m_b;
    std::unique_ptr<COstrevanApp> m_app;

    CMainFrame* Marco() const { return m_app->MainFrame(); }
    COstrevanView* Vista() const { return m_app->MainFrame()->View(); }

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        DvClock::SetFixed(QDateTime(QDate(2024, 3, 12), QTime(10, 0)));
        m_a = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), QDate(2024, 3, 12));
        // B: one service of its own, named apart, with one worker; and made by an older
        // version (no mark, no AUX row): opening it must upgrade it.
        m_b = DvAppPrueba::NuevaBdDemo(QStringLiteral("hospital-b.mdb"), QDate(2024, 3, 12));
        QVERIFY(!m_a.isEmpty() && !m_b.isEmpty());
        QVERIFY(DvAppPrueba::SqlEnFichero(
            m_b, "UPDATE FUNCIONES SET NOMBRE = 'Nefrología' WHERE ID = 1;"
                 "UPDATE PERSONAL SET NOMBREPLANILLA = 'Solo en B' WHERE ID_FUNCION = 1;"
                 "DELETE FROM FUNCIONES WHERE ID <> 1;"
                 "PRAGMA application_id = 0; DROP TABLE AUX;"));
    }

    void init() {
        DvMessageBox::ClearAnswers();
        DvModal::ClearHandlers();
        DvFileDialog::ClearFileNames();
        m_app.reset();
        QVERIFY(DvAppPrueba::AbrirBd(m_a));
        m_app = DvAppPrueba::Iniciar(m_a);
        QVERIFY(m_app && Marco());
        QCOMPARE(Marco()->windowTitle(), QStringLiteral("Ostrevan"));
    }

    void abreOtroFichero() {
        // A roster on screen, from A.
        CComboList* servicios = Vista()->Servicios();
        servicios->setCurrentIndex(servicios->findText(QStringLiteral("Urgencias")));
        Vista()->SendCommand(COstrevanView::IdGenerar);
        QVERIFY(Vista()->Cuadro()->GetRowCount() > 0);
        QVERIFY(!Nombres(Vista()->Cuadro()).contains(QStringLiteral("Solo en B")));

        // Ctrl+O asks for the file.
        DvMessageBox::Recorder mensajes;
        DvFileDialog::SetNextFileName(m_b);
        QAction* tecla = Marco()->findChild<QAction*>(QStringLiteral("accel:ID_FILE_OPEN"));
        QVERIFY(tecla);
        tecla->trigger();
        QVERIFY(DvFileDialog::LastRequest().asked);
        QVERIFY(DvFileDialog::LastRequest().filter.contains(QStringLiteral("*.mdb")));
        QCOMPARE(DvFileDialog::LastRequest().initialName, QFileInfo(m_a).absolutePath());
        // As at start, the older file's missing AUX is reported once, then made.
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().caption, QStringLiteral("Error"));

        QCOMPARE(CDbConnection::Instance().Path(), m_b);
        QVERIFY(CDbConnection::Instance().IsOpen());
        QCOMPARE(Marco()->windowTitle(), QStringLiteral("Ostrevan - hospital-b.mdb"));
        QCOMPARE(CUbicacionBd::RutaRecordada(), m_b);
        QCOMPARE(m_app->RecentFiles().value(0), m_b);
        QCOMPARE(QSettings().value(QStringLiteral("Recent File List/File1")).toString(), m_b);
        // Upgraded as at start.
        CDbQuery consulta;
        QVERIFY(consulta.Open(QStringLiteral("SELECT * FROM AUX")).IsOpen());

        // The selectors come from B; the roster shown is B's, same month.
        QCOMPARE(servicios->count(), 1);
        QCOMPARE(servicios->currentText(), QStringLiteral("Nefrología"));
        QCOMPARE(Vista()->Cuadro()->Motor().m_mes, 3);
        QCOMPARE(Vista()->Cuadro()->Motor().m_servicio, 1);
        QVERIFY(Nombres(Vista()->Cuadro()).contains(QStringLiteral("Solo en B")));

        // Opening A again through the menu item: A's list, remembered first.
        DvFileDialog::SetNextFileName(m_a);
        Marco()->CommandAction(QStringLiteral("ID_FILE_OPEN"))->trigger();
        QCOMPARE(CDbConnection::Instance().Path(), m_a);
        QCOMPARE(servicios->count(), 4);
        QCOMPARE(m_app->RecentFiles(), (QStringList{m_a, m_b}));
        QCOMPARE(Marco()->windowTitle(), QStringLiteral("Ostrevan - ostrevan.mdb"));
    }

    // With nothing on screen nothing is built.
    void sinPlanillaNoSeGenera() {
        QCOMPARE(Vista()->Cuadro()->GetRowCount(), 0);
        QVERIFY(m_app->OpenDatabase(m_b));
        QCOMPARE(Vista()->Cuadro()->GetRowCount(), 0);
        QCOMPARE(Vista()->Servicios()->count(), 1);
    }

    void cancelar() {
        DvMessageBox::Recorder mensajes;
        DvFileDialog::SetNextFileName(QString());
        Marco()->OnCmdMsg(QStringLiteral("ID_FILE_OPEN"));
        QCOMPARE(CDbConnection::Instance().Path(), m_a);
        QCOMPARE(mensajes.Count(), 0);
        QCOMPARE(Marco()->windowTitle(), QStringLiteral("Ostrevan"));
    }

    void rechazos_data() {
        QTest::addColumn<QString>("fichero");
        QTest::addColumn<QString>("mensaje");
        const QString ajena = DvTest::TempDir() + QStringLiteral("/ajena.sqlite");
        DvAppPrueba::SqlEnFichero(ajena, "CREATE TABLE IF NOT EXISTS NOTAS (ID INTEGER);");
        const QString otraClave = DvTest::TempDir() + QStringLiteral("/otra-clave.mdb");
        if (!QFile::exists(otraClave)) {
            QString error;
            DvSchema::CreateDatabase(otraClave, QStringLiteral("otra"), QString(),
                                     QDate(2024, 3, 12), error);
        }
        QTest::newRow("otro programa") << ajena << QStringLiteral("no es una base de datos");
        QTest::newRow("no existe") << DvTest::TempDir() + QStringLiteral("/no-esta.mdb")
                                   << QStringLiteral("No existe el fichero");
        QTest::newRow("otra contraseña") << otraClave << QStringLiteral("contraseña");
    }
    void rechazos() {
        QFETCH(QString, fichero);
        QFETCH(QString, mensaje);
        CComboList* servicios = Vista()->Servicios();
        servicios->setCurrentIndex(servicios->findText(QStringLiteral("UCI")));
        Vista()->SendCommand(COstrevanView::IdGenerar);
        const QStringList antes = Nombres(Vista()->Cuadro());
        const QByteArray bytes = DvAppPrueba::Leer(fichero);
        DvSettings::WriteText(QStringLiteral("DB_RUTA"), m_a);

        DvMessageBox::Recorder mensajes;
        DvFileDialog::SetNextFileName(fichero);
        Marco()->OnCmdMsg(QStringLiteral("ID_FILE_OPEN"));
        QCOMPARE(mensajes.Count(), 1);
        QVERIFY2(mensajes.Last().text.contains(mensaje), qPrintable(mensajes.Last().text));
        QCOMPARE(mensajes.Last().icon, DvMessageBox::Error);

        // Everything stays as it was, the rejected file included.
        QCOMPARE(DvAppPrueba::Leer(fichero), bytes);
        QCOMPARE(CDbConnection::Instance().Path(), m_a);
        QVERIFY(CDbConnection::Instance().IsOpen());
        QCOMPARE(CUbicacionBd::RutaRecordada(), m_a);
        QCOMPARE(Marco()->windowTitle(), QStringLiteral("Ostrevan"));
        QCOMPARE(servicios->currentText(), QStringLiteral("UCI"));
        QCOMPARE(Nombres(Vista()->Cuadro()), antes);
        CDbQuery consulta;
        QVERIFY(!consulta.Open(QStringLiteral("SELECT * FROM FUNCIONES")).IsEOF());
    }

    void cleanupTestCase() {
        m_app.reset();
        CDbConnection::Instance().Reset();
    }
};

QTEST_MAIN(TestAppAbrir)
#include "test_app_abrir.moc"
