// Where the program finds its database, how it tells an installed program from a build
// tree, which files it takes for roster databases, and the installed program's first
// run without a database.

#include "AppPrueba.h"
#include "Clock.h"
#include "ComboList.h"
#include "DbConnection.h"
#include "FaltaBdDlg.h"
#include "FileDialog.h"
#include "MainFrame.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "Settings.h"
#include "TestSupport.h"
#include "UbicacionBd.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {
void Escribir(const QString& ruta, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A program laid out as the package installs it: PREFIX/bin/dravonela beside
// PREFIX/share/dravonela.
QString EjecutableInstalado(const QString& prefijo) {
    QDir().mkpath(prefijo + QStringLiteral("/bin"));
    QDir().mkpath(prefijo + QStringLiteral("/share/dravonela/sql"));
    Escribir(prefijo + QStringLiteral("/bin/dravonela"), "programa");
    return prefijo + QStringLiteral("/bin/dravonela");
}

// The next first-run dialog: records its text and presses the button.
void Elegir(int boton, QString* texto = nullptr) {
    DvModal::QueueHandler([boton, texto](QDialog& dialogo) {
        QCOMPARE(dialogo.windowTitle(), QStringLiteral("Dravonela"));
        if (texto)
            *texto = dialogo.findChild<QLabel*>(QStringLiteral("id1201"))->text();
        for (const int id : {CFaltaBdDlg::IdVacia, CFaltaBdDlg::IdDemostracion,
                             CFaltaBdDlg::IdAbrir, CFaltaBdDlg::IdCancel})
            QVERIFY(dialogo.findChild<QPushButton*>(QStringLiteral("id%1").arg(id)));
        dialogo.findChild<QPushButton*>(QStringLiteral("id%1").arg(boton))->click();
    });
}

QStringList Servicios(COstrevanApp& app) {
    QStringList nombres;
    CComboList* lista = app.MainFrame()->View()->Servicios();
    for (int i = 0; i < lista->count(); ++i)
        nombres << lista->itemText(i);
    return nombres;
}
} // namespace

class TestAppUbicacion : public QObject {
    Q_OBJECT
private:
    QString m_raiz;
    QString m_instalado; // executable of an installed layout
    QString m_arbol;     // executable of a build tree

    std::unique_ptr<COstrevanApp> Iniciar(const QString& ejecutable) {
        auto app = std::make_unique<COstrevanApp>();
        app->SetExecutablePath(ejecutable);
        if (!app->InitInstance({}))
            return nullptr;
        return app;
    }

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        DvClock::SetFixed(QDateTime(QDate(2024, 3, 12), QTime(10, 0)));
        m_raiz = DvTest::TempDir();
        m_instalado = EjecutableInstalado(m_raiz + QStringLiteral("/usr"));
        QDir().mkpath(m_raiz + QStringLiteral("/build/bin"));
        m_arbol = m_raiz + QStringLiteral("/build/bin/dravonela");
        Escribir(m_arbol, "programa");
    }

    void init() {
        CDbConnection::Instance().Reset();
        DvMessageBox::ClearAnswers();
        DvModal::ClearHandlers();
        DvFileDialog::ClearFileNames();
        QSettings().clear();
        QSettings(QString::fromLatin1(DvSettings::Organisation),
                  QString::fromLatin1(DvSettings::Application))
            .clear();
        QDir(CUbicacionBd::CarpetaUsuario()).removeRecursively();
    }

    void instalado() {
        QVERIFY(CUbicacionBd(m_instalado).Instalado());
        QVERIFY(!CUbicacionBd(m_arbol).Instalado());
        // share/dravonela beside some other folder than bin is no installation.
        const QString otro = m_raiz + QStringLiteral("/opt/lib/dravonela");
        QDir().mkpath(m_raiz + QStringLiteral("/opt/share/dravonela"));
        Escribir(otro, "programa");
        QVERIFY(!CUbicacionBd(otro).Instalado());
        // A plain file named share/dravonela does not count either.
        const QString falso = m_raiz + QStringLiteral("/falso/bin/dravonela");
        Escribir(falso, "programa");
        Escribir(m_raiz + QStringLiteral("/falso/share/dravonela"), "x");
        QVERIFY(!CUbicacionBd(falso).Instalado());
    }

    void ordenDeBusqueda() {
        QCOMPARE(CUbicacionBd::RutaCarpetaUsuario(),
                 QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) +
                     QStringLiteral("/Dravonela/ostrevan.mdb"));
        const QString junto = m_raiz + QStringLiteral("/build/bin/ostrevan.mdb");
        const QString elegida = m_raiz + QStringLiteral("/elegida.mdb");
        const QString usuario = CUbicacionBd::RutaCarpetaUsuario();
        CUbicacionBd ubicacion(m_arbol);
        QCOMPARE(ubicacion.JuntoAlEjecutable(), junto);
        QCOMPARE(ubicacion.Buscar().origen, CUbicacionBd::Origen::Ninguno);
        QVERIFY(ubicacion.Buscar().ruta.isEmpty());

        Escribir(usuario, "u");
        QCOMPARE(ubicacion.Buscar().ruta, usuario);
        QCOMPARE(ubicacion.Buscar().origen, CUbicacionBd::Origen::CarpetaUsuario);

        // DB_RUTA comes before the user's folder, but only when its file is there.
        CUbicacionBd::Recordar(elegida);
        QCOMPARE(ubicacion.Buscar().origen, CUbicacionBd::Origen::CarpetaUsuario);
        Escribir(elegida, "e");
        QCOMPARE(ubicacion.Buscar().ruta, elegida);
        QCOMPARE(ubicacion.Buscar().origen, CUbicacionBd::Origen::Ajuste);

        // The file beside the executable comes first of all.
        Escribir(junto, "j");
        QCOMPARE(ubicacion.Buscar().ruta, junto);
        QCOMPARE(ubicacion.Buscar().origen, CUbicacionBd::Origen::JuntoAlEjecutable);
        QFile::remove(junto);

        // A folder where a file is expected is not a database.
        QFile::remove(elegida);
        QDir().mkpath(elegida);
        QCOMPARE(ubicacion.Buscar().origen, CUbicacionBd::Origen::CarpetaUsuario);
        QDir(elegida).removeRecursively();

        // DB_RUTA is kept as an absolute path.
        CUbicacionBd::Recordar(QStringLiteral("relativa.mdb"));
        QCOMPARE(CUbicacionBd::RutaRecordada(), QDir::current().absoluteFilePath("relativa.mdb"));
    }

    void esBaseDePlanillas() {
        const QString demo =
            DvAppPrueba::NuevaBdDemo(QStringLiteral("demo.mdb"), QDate(2024, 3, 12));
        QVERIFY(!demo.isEmpty());
        QVERIFY(CUbicacionBd::EsBaseDePlanillas(demo));

        // A file of an older version: no mark, but the tables of a roster database.
        const QString antigua =
            DvAppPrueba::NuevaBdDemo(QStringLiteral("antigua.mdb"), QDate(2024, 3, 12));
        QVERIFY(DvAppPrueba::SqlEnFichero(antigua, "PRAGMA application_id = 0; DROP TABLE AUX;"));
        QVERIFY(CUbicacionBd::EsBaseDePlanillas(antigua));

        // Another program's SQLite file is refused and left exactly as it was.
        const QString ajena = m_raiz + QStringLiteral("/ajena.sqlite");
        QVERIFY(DvAppPrueba::SqlEnFichero(ajena, "CREATE TABLE NOTAS (ID INTEGER, TEXTO TEXT);"));
        const QByteArray antes = DvAppPrueba::Leer(ajena);
        QString motivo;
        QVERIFY(!CUbicacionBd::EsBaseDePlanillas(ajena, &motivo));
        QCOMPARE(motivo, QStringLiteral("El fichero %1 no es una base de datos de Dravonela.")
                             .arg(QDir::toNativeSeparators(ajena)));
        QCOMPARE(DvAppPrueba::Leer(ajena), antes);

        const QString texto = m_raiz + QStringLiteral("/texto.mdb");
        Escribir(texto, "Esto no es una base de datos, aunque lo parezca por el nombre.\n");
        QVERIFY(!CUbicacionBd::EsBaseDePlanillas(texto, &motivo));
        QVERIFY(motivo.contains(QStringLiteral("no es una base de datos de Dravonela")));
        const QString vacio = m_raiz + QStringLiteral("/vacio.mdb");
        Escribir(vacio, "");
        QVERIFY(!CUbicacionBd::EsBaseDePlanillas(vacio));
        QCOMPARE(QFileInfo(vacio).size(), 0);

        QVERIFY(!CUbicacionBd::EsBaseDePlanillas(m_raiz + QStringLiteral("/no-esta.mdb"), &motivo));
        QVERIFY(motivo.startsWith(QStringLiteral("No existe el fichero")));
        QVERIFY(!CUbicacionBd::EsBaseDePlanillas(m_raiz, &motivo));
        QVERIFY(motivo.endsWith(QStringLiteral("no es un fichero.")));
    }

    // From a build tree: the old message and the end; a database elsewhere is used.
    void arbolDeCompilacion() {
        {
            DvMessageBox::Recorder mensajes;
            QVERIFY(!Iniciar(m_arbol));
            QCOMPARE(mensajes.Count(), 1);
            QCOMPARE(mensajes.Last().text,
                     QStringLiteral("Aplicacion no válida. Falta fichero ostrevan.mdb"));
            QCOMPARE(DvModal::RunCount(), 0);
            QCOMPARE(DvAppPrueba::VentanasVisibles(), 0);
        }
        const QString elegida =
            DvAppPrueba::NuevaBdDemo(QStringLiteral("arbol.mdb"), QDate(2024, 3, 12));
        CUbicacionBd::Recordar(elegida);
        DvMessageBox::Recorder mensajes;
        auto app = Iniciar(m_arbol);
        QVERIFY(app);
        QCOMPARE(mensajes.Count(), 0);
        QCOMPARE(CDbConnection::Instance().Path(), elegida);
        QCOMPARE(app->MainFrame()->windowTitle(), QStringLiteral("Ostrevan - arbol.mdb"));
        QCOMPARE(Servicios(*app).size(), 4);
    }

    void instaladoSinBaseDeDatos_data() {
        QTest::addColumn<int>("boton");
        QTest::addColumn<int>("servicios");
        QTest::newRow("vacía") << int(CFaltaBdDlg::IdVacia) << 0;
        QTest::newRow("demostración") << int(CFaltaBdDlg::IdDemostracion) << 4;
    }
    void instaladoSinBaseDeDatos() {
        QFETCH(int, boton);
        QFETCH(int, servicios);
        DvMessageBox::Recorder mensajes;
        QString texto;
        Elegir(boton, &texto);
        auto app = Iniciar(m_instalado);
        QVERIFY(app && app->MainFrame()->isVisible());
        QVERIFY(texto.startsWith(QStringLiteral("Todavía no hay ninguna base de datos")));
        QCOMPARE(mensajes.Count(), 0);
        const QString usuario = CUbicacionBd::RutaCarpetaUsuario();
        QVERIFY(CUbicacionBd::EsBaseDePlanillas(usuario));
        QCOMPARE(CDbConnection::Instance().Path(), usuario);
        QCOMPARE(CUbicacionBd::RutaRecordada(), usuario);
        QCOMPARE(Servicios(*app).size(), servicios);
        QCOMPARE(app->MainFrame()->windowTitle(), QStringLiteral("Ostrevan - ostrevan.mdb"));

        // The next start finds it without asking.
        app.reset();
        CDbConnection::Instance().Reset();
        const int preguntas = DvModal::RunCount();
        app = Iniciar(m_instalado);
        QVERIFY(app);
        QCOMPARE(DvModal::RunCount(), preguntas);
        QCOMPARE(CDbConnection::Instance().Path(), usuario);
    }

    void instaladoAbreUnFichero() {
        const QString ajena = m_raiz + QStringLiteral("/otra-ajena.sqlite");
        QVERIFY(DvAppPrueba::SqlEnFichero(ajena, "CREATE TABLE NOTAS (ID INTEGER);"));
        const QByteArray antes = DvAppPrueba::Leer(ajena);
        const QString buena =
            DvAppPrueba::NuevaBdDemo(QStringLiteral("elegida.mdb"), QDate(2024, 3, 12));

        // A file that is not ours is refused with a message and the choice comes back;
        // cancelling the file dialog brings it back too.
        DvMessageBox::Recorder mensajes;
        QString segundo;
        QString tercero;
        Elegir(CFaltaBdDlg::IdAbrir);
        DvFileDialog::SetNextFileName(ajena);
        Elegir(CFaltaBdDlg::IdAbrir, &segundo);
        DvFileDialog::SetNextFileName(QString());
        Elegir(CFaltaBdDlg::IdAbrir, &tercero);
        DvFileDialog::SetNextFileName(buena);
        auto app = Iniciar(m_instalado);
        QVERIFY(app);
        QCOMPARE(mensajes.Count(), 1);
        QVERIFY(mensajes.Last().text.contains(QStringLiteral("no es una base de datos")));
        QCOMPARE(DvAppPrueba::Leer(ajena), antes);
        QVERIFY(segundo.startsWith(QStringLiteral("No se pudo abrir la base de datos ") +
                                   QDir::toNativeSeparators(ajena)));
        QCOMPARE(tercero, segundo);
        QCOMPARE(DvModal::PendingHandlers(), 0);
        QCOMPARE(CDbConnection::Instance().Path(), buena);
        QCOMPARE(CUbicacionBd::RutaRecordada(), buena);
        QVERIFY(!QFileInfo::exists(CUbicacionBd::RutaCarpetaUsuario()));
        QCOMPARE(app->MainFrame()->windowTitle(), QStringLiteral("Ostrevan - elegida.mdb"));
    }

    void instaladoSalir() {
        DvMessageBox::Recorder mensajes;
        Elegir(CFaltaBdDlg::IdCancel);
        QVERIFY(!Iniciar(m_instalado));
        QCOMPARE(mensajes.Count(), 0);
        QCOMPARE(DvAppPrueba::VentanasVisibles(), 0);
        QVERIFY(!QFileInfo::exists(CUbicacionBd::RutaCarpetaUsuario()));
        QVERIFY(CUbicacionBd::RutaRecordada().isEmpty());
    }

    // A remembered file that went away or is not ours: said so, and the choice offered.
    void instaladoConRutaPerdida() {
        const QString perdida = m_raiz + QStringLiteral("/red/perdida.mdb");
        CUbicacionBd::Recordar(perdida);
        QString texto;
        Elegir(CFaltaBdDlg::IdCancel, &texto);
        QVERIFY(!Iniciar(m_instalado));
        QVERIFY(texto.startsWith(QStringLiteral("No se encuentra la base de datos ") +
                                 QDir::toNativeSeparators(perdida)));

        const QString ajena = m_raiz + QStringLiteral("/recordada-ajena.sqlite");
        QVERIFY(DvAppPrueba::SqlEnFichero(ajena, "CREATE TABLE NOTAS (ID INTEGER);"));
        CUbicacionBd::Recordar(ajena);
        DvMessageBox::Recorder mensajes;
        Elegir(CFaltaBdDlg::IdCancel, &texto);
        QVERIFY(!Iniciar(m_instalado));
        QCOMPARE(mensajes.Count(), 1);
        QVERIFY(texto.startsWith(QStringLiteral("No se pudo abrir la base de datos")));
    }

    // Creating never replaces a file already in the user's folder.
    void crearNoSobrescribe() {
        const QString usuario = CUbicacionBd::RutaCarpetaUsuario();
        Escribir(usuario, "datos de otro programa");
        DvMessageBox::Recorder mensajes;
        Elegir(CFaltaBdDlg::IdVacia);
        Elegir(CFaltaBdDlg::IdCancel);
        QVERIFY(!Iniciar(m_instalado));
        QCOMPARE(DvAppPrueba::Leer(usuario), QByteArray("datos de otro programa"));
        // The file found is refused first, then the creation.
        QCOMPARE(mensajes.Count(), 2);
        QVERIFY(
            mensajes.Last().text.startsWith(QStringLiteral("No se pudo crear la base de datos")));
        QVERIFY(mensajes.Last().text.contains(QStringLiteral("ya existe")));
    }

    // A password that does not match: the failure is shown and the choice comes back.
    void instaladoConOtraClave() {
        DvSettings::WriteText(QStringLiteral("DB_PASS"), QStringLiteral("otra"));
        Elegir(CFaltaBdDlg::IdDemostracion);
        auto app = Iniciar(m_instalado);
        QVERIFY(app);
        app.reset();
        CDbConnection::Instance().Reset();
        DvSettings::WriteText(QStringLiteral("DB_PASS"), QStringLiteral("pradoluminar"));

        DvMessageBox::Recorder mensajes;
        QString texto;
        Elegir(CFaltaBdDlg::IdCancel, &texto);
        QVERIFY(!Iniciar(m_instalado));
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().caption, QStringLiteral("Error"));
        QVERIFY(texto.startsWith(QStringLiteral("No se pudo abrir la base de datos")));
        QVERIFY(!CDbConnection::Instance().IsOpen());
    }

    void cleanupTestCase() { CDbConnection::Instance().Reset(); }
};

QTEST_MAIN(TestAppUbicacion)
#include "test_app_ubicacion.moc"
