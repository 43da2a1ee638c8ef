// What the window program writes, and what it refuses: the report file never over the
// database nor on a full disk, a printed PDF file never over the database, and
// another program's database never opened at start.

#include "AppPrueba.h"
#include "ArchivoSalida.h"
#include "DbConnection.h"
#include "DiscoLleno.h"
#include "FicherosPrueba.h"
#include "FileDialog.h"
#include "MainFrame.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTest>
#include <sqlite3.h>

namespace {
const QString kCorrecto = QStringLiteral("El informe fue generado correctamente");
const QString kFallo = QStringLiteral("No se pudo escribir en el fichero seleccionado");
} // namespace

using DvTest::Contenido;
using DvTest::Leer;

class TestAppSalida : public QObject {
    Q_OBJECT
    QString m_bd;
    std::unique_ptr<COstrevanApp> m_app;
    COstrevanView* m_vista = nullptr;

    void Arrancar() {
        QVERIFY(DvAppPrueba::AbrirBd(m_bd));
        m_app = DvAppPrueba::Iniciar(m_bd);
        QVERIFY(m_app && m_app->MainFrame());
        m_vista = m_app->MainFrame()->View();
    }

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void init() {
        DvMessageBox::ClearAnswers();
        DvModal::ClearHandlers();
        DvFileDialog::ClearFileNames();
        m_bd = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), QDate(2024, 3, 12));
        QVERIFY(!m_bd.isEmpty());
    }

    void cleanup() {
        m_app.reset();
        m_vista = nullptr;
        CDbConnection::Instance().Reset();
        DvArchivo::OlvidarProtegidos();
    }

    // The save dialog's answer is refused when it is the database under any name, or a
    // folder; the dialog is offered again.
    void informeNeverOverTheDatabase() {
        Arrancar();
        const QString carpeta = DvTest::TempDir();
        QFile::remove(carpeta + "/enlace.csv");
        QVERIFY(QFile::link(m_bd, carpeta + "/enlace.csv"));
        const QByteArray antes = Leer(m_bd);
        DvMessageBox::Recorder mensajes;
        DvFileDialog::SetNextFileName(m_bd);
        DvFileDialog::SetNextFileName(carpeta + "/enlace.csv");
        DvFileDialog::SetNextFileName(carpeta + "/../" + QFileInfo(carpeta).fileName() +
                                      "/ostrevan.mdb");
        QVERIFY(QDir().mkpath(carpeta + "/carpeta.csv"));
        DvFileDialog::SetNextFileName(carpeta + "/carpeta.csv");
        DvFileDialog::SetNextFileName(carpeta + "/bueno.csv");
        m_vista->OnGenerarInforme();
        QCOMPARE(mensajes.Count(), 5);
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(mensajes.Messages()[i].text.startsWith(
                         "No se puede escribir sobre la base de datos: "),
                     qPrintable(mensajes.Messages()[i].text));
            QCOMPARE(mensajes.Messages()[i].caption, QStringLiteral("Dravonela"));
        }
        QCOMPARE(mensajes.Messages()[3].text,
                 "No se puede escribir en " + carpeta + "/carpeta.csv: es una carpeta");
        QCOMPARE(mensajes.Last().text, kCorrecto);
        QCOMPARE(Leer(m_bd), antes);
        QVERIFY(Leer(carpeta + "/bueno.csv").startsWith("INFORME MES"));

        // Cancel after a refusal writes nothing and says nothing more.
        mensajes.Clear();
        DvFileDialog::SetNextFileName(m_bd);
        DvFileDialog::SetNextFileName(QString());
        m_vista->OnGenerarInforme();
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(Leer(m_bd), antes);
    }

    void informeOnAFullDiskKeepsThePreviousFile() {
        Arrancar();
        const QString carpeta = DvTest::TempDir() + "/lleno";
        const QByteArray antes = "INFORME MES Febrero DE 2024 DEL SERVICIO Pediatría\r\n";
        DvTest::CDiscoLleno disco;
        QVERIFY(disco.Preparar(carpeta, {{"informe.csv", antes}}));
        const QStringList inicial = Contenido(carpeta);
        DvMessageBox::Recorder mensajes;
        DvFileDialog::SetNextFileName(carpeta + "/informe.csv");
        {
            const auto limite = disco.Limitar();
            m_vista->OnGenerarInforme();
        }
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text, kFallo);
        QCOMPARE(Leer(carpeta + "/informe.csv"), antes);
        QCOMPARE(Contenido(carpeta), inicial);
    }

    // A printer that prints into a PDF file writes it through the program's writer.
    void printedPdfNeverOverTheDatabase() {
        Arrancar();
        m_vista->OnGenerar();
        const QByteArray antes = Leer(m_bd);
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_bd);
        m_app->SetPrinter(std::move(printer));
        DvMessageBox::Recorder mensajes;
        DvModal::QueueHandler([](QDialog& dialog) { dialog.accept(); });
        m_vista->OnFilePrint();
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text,
                 "No se puede escribir sobre la base de datos: " + QDir::toNativeSeparators(m_bd));
        QCOMPARE(Leer(m_bd), antes);

        const QString pdf = DvTest::TempDir() + "/impresa.pdf";
        m_app->Printer()->setOutputFileName(pdf);
        DvModal::QueueHandler([](QDialog& dialog) { dialog.accept(); });
        m_vista->OnFilePrint();
        QCOMPARE(mensajes.Count(), 1);
        QVERIFY(Leer(pdf).startsWith("%PDF"));
    }

    void startRefusesAnotherProgramsDatabase() {
        const QString ruta = DvTest::TempDir() + "/ajena/ostrevan.mdb";
        QVERIFY(QDir().mkpath(QFileInfo(ruta).absolutePath()));
        sqlite3* db = nullptr;
        QVERIFY(sqlite3_open(QFile::encodeName(ruta).constData(), &db) == SQLITE_OK);
        QVERIFY(sqlite3_exec(db, "CREATE TABLE citas (dia TEXT)", nullptr, nullptr, nullptr) ==
                SQLITE_OK);
        sqlite3_close(db);
        const QByteArray antes = Leer(ruta);
        CDbConnection::Instance().Reset();

        DvMessageBox::Recorder mensajes;
        COstrevanApp app;
        app.SetDatabasePath(ruta);
        QVERIFY(!app.InitInstance({}));
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text, DvSchema::ForeignFileMessage(ruta));
        QCOMPARE(mensajes.Last().caption, QStringLiteral("Dravonela"));
        QVERIFY(!app.MainFrame());
        QCOMPARE(DvAppPrueba::VentanasVisibles(), 0);
        QCOMPARE(Leer(ruta), antes);
        QCOMPARE(Contenido(QFileInfo(ruta).absolutePath()), QStringList{"ostrevan.mdb"});

        // The connection refuses it just the same, should anything try to open it.
        QVERIFY(!CDbConnection::Instance().OpenFile(ruta, QString()));
        QCOMPARE(Leer(ruta), antes);
    }
};

QTEST_MAIN(TestAppSalida)
#include "test_app_salida.moc"
