// Start-up of the program, its main window (menus, keys, toolbar, status bar) and the
// About box.

#include "AboutDlg.h"
#include "AppPrueba.h"
#include "Clock.h"
#include "DbConnection.h"
#include "MainFrame.h"
#include "MenuResource.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

// Receives the pages the About box asks the desktop to open.
class CAbridor : public QObject {
    Q_OBJECT
public:
    QList<QUrl> abiertas;
public slots:
    void Abrir(const QUrl& url) { abiertas << url; }
};

class TestAppInicio : public QObject {
    Q_OBJECT
private:
    QString m_bd;

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        DvClock::SetFixed(QDateTime(QDate(2024, 3, 12), QTime(10, 0)));
        m_bd = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), QDate(2024, 3, 12));
        QVERIFY(!m_bd.isEmpty());
    }

    void init() {
        DvMessageBox::ClearAnswers();
        DvModal::ClearHandlers();
        QVERIFY(DvAppPrueba::AbrirBd(m_bd));
    }

    void faltaLaBaseDeDatos() {
        DvMessageBox::Recorder mensajes;
        COstrevanApp app;
        app.SetDatabasePath(DvTest::TempDir() + QStringLiteral("/no-existe/ostrevan.mdb"));
        QVERIFY(!app.InitInstance({}));
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text,
                 QStringLiteral("Aplicacion no válida. Falta fichero ostrevan.mdb"));
        QCOMPARE(mensajes.Last().caption, QStringLiteral("Dravonela"));
        QCOMPARE(mensajes.Last().buttons, DvMessageBox::Ok);
        QVERIFY(!app.MainFrame());
        QCOMPARE(DvAppPrueba::VentanasVisibles(), 0);
    }

    void sinVentanaParaAutomatizacion_data() {
        QTest::addColumn<QString>("opcion");
        for (const char* opcion : {"-Embedding", "/Embedding", "-Automation", "/Automation"})
            QTest::newRow(opcion) << QString::fromLatin1(opcion);
    }
    void sinVentanaParaAutomatizacion() {
        QFETCH(QString, opcion);
        DvMessageBox::Recorder mensajes;
        auto app = DvAppPrueba::Iniciar(m_bd, {opcion});
        QVERIFY(app);
        QVERIFY(!app->MainFrame());
        QCOMPARE(DvAppPrueba::VentanasVisibles(), 0);
        QCOMPARE(mensajes.Count(), 0);
    }

    void configuracion() {
        auto app = DvAppPrueba::Iniciar(m_bd);
        QVERIFY(app);
        QCOMPARE(QCoreApplication::organizationName(),
                 QStringLiteral("Local AppWizard-Generated Applications"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Dravonela"));
        QCOMPARE(DvSettings::DbPassword(), QStringLiteral("pradoluminar"));
        QCOMPARE(DvSettings::TamFuente(), 15);
        QCOMPARE(DvSettings::TamLinea(), 16);

        // The recent-file list of the settings store holds at most four names.
        QSettings ajustes;
        for (int i = 1; i <= 5; ++i)
            ajustes.setValue(QStringLiteral("Recent File List/File%1").arg(i),
                             QStringLiteral("f%1").arg(i));
        ajustes.sync();
        app.reset();
        app = DvAppPrueba::Iniciar(m_bd);
        QCOMPARE(app->RecentFiles(), (QStringList{QStringLiteral("f1"), QStringLiteral("f2"),
                                                  QStringLiteral("f3"), QStringLiteral("f4")}));
    }

    void errorDeBaseDeDatosEnCaja() {
        auto app = DvAppPrueba::Iniciar(m_bd);
        QVERIFY(app);
        DvMessageBox::Recorder mensajes;
        CDbConnection::Instance().ReportDbError(CDbError::Make(0x80040E37u, QStringLiteral("x")),
                                                true);
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().caption, QStringLiteral("Error"));
        QCOMPARE(mensajes.Last().icon, DvMessageBox::Error);
        QCOMPARE(mensajes.Last().buttons, DvMessageBox::Ok);
        QVERIFY(mensajes.Last().text.startsWith(QStringLiteral("Error 80040e37 \n")));
        QVERIFY(!mensajes.Last().text.contains(QLatin1Char('\r')));
    }

    void orientacionDeImpresora() {
        COstrevanApp app;
        app.SetPrinter(nullptr);
        app.SetPrinterOrientation(true); // no printer: nothing happens
        QVERIFY(!app.Printer());

        auto impresora = std::make_unique<QPrinter>();
        impresora->setOutputFormat(QPrinter::PdfFormat);
        impresora->setPageOrientation(QPageLayout::Portrait);
        app.SetPrinter(std::move(impresora));
        app.SetPrinterOrientation(true);
        QCOMPARE(app.Printer()->pageLayout().orientation(), QPageLayout::Landscape);
        app.SetPrinterOrientation(false);
        QCOMPARE(app.Printer()->pageLayout().orientation(), QPageLayout::Portrait);
    }

    void rutaDelNavegador_data() {
        QTest::addColumn<QString>("linea");
        QTest::addColumn<QString>("ruta");
        QTest::newRow("vacía") << QString() << QString();
        QTest::newRow("ruta y argumento")
            << QStringLiteral("C:\\Archivos de programa\\Opera\\opera.exe %1")
            << QStringLiteral("C:\\Archivos de programa\\Opera\\opera.exe");
        QTest::newRow("sin argumento")
            << QStringLiteral("C:\\Navegador\\nav.exe") << QStringLiteral("C:\\Navegador\\nav.exe");
        QTest::newRow("sin barra")
            << QStringLiteral("navegador -nueva") << QStringLiteral("navegador -nueva");
        QTest::newRow("entre comillas")
            << QStringLiteral("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome")
            << QStringLiteral("C:\\PROGRAM FILES\\INTERNET EXPLORER\\IEXPLORE.EXE");
        QTest::newRow("firefox") << QStringLiteral("C:\\Mozilla\\firefox.exe -url \"%1\"")
                                 << QStringLiteral("C:\\MOZILLA\\FIREFOX.EXE");
        QTest::newRow("firefox sin -url")
            << QStringLiteral("\"C:\\Mozilla Firefox\\firefox.exe\" \"%1\"")
            << QStringLiteral("C:\\MOZILLA FIREFOX\\FIREFOX.EXE\" \"%1");
        QTest::newRow("una sola comilla")
            << QStringLiteral("\"C:\\nav.exe") << QStringLiteral("\"C:\\NAV.EXE");
    }
    void rutaDelNavegador() {
        QFETCH(QString, linea);
        QFETCH(QString, ruta);
        QCOMPARE(RutaNavegador(linea), ruta);
    }

    void cajaAcercaDe() {
        CAboutDlg caja;
        caja.EnsureInitialised();
        QCOMPARE(caja.windowTitle(), QStringLiteral("Acerca de Dravonela"));
        QStringList textos;
        for (QLabel* etiqueta : caja.findChildren<QLabel*>())
            textos << etiqueta->text();
        QVERIFY(textos.contains(QStringLiteral("Dravonela Versión 1.2")));
        auto* aceptar = caja.findChild<QPushButton*>(QStringLiteral("id1"));
        auto* web = caja.findChild<QPushButton*>(QStringLiteral("id1057"));
        QVERIFY(aceptar && web);
        QCOMPARE(aceptar->text(), QStringLiteral("Aceptar"));
        QCOMPARE(web->text(), QStringLiteral("Web"));

        CAbridor abridor;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &abridor, "Abrir");
        web->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(abridor.abiertas, QList<QUrl>{CAboutDlg::PaginaWeb()});

        // The menu command shows it modally; "Aceptar" closes it.
        auto app = DvAppPrueba::Iniciar(m_bd);
        QVERIFY(app);
        QString titulo;
        DvModal::QueueHandler([&titulo](QDialog& dialogo) {
            titulo = dialogo.windowTitle();
            dialogo.findChild<QPushButton*>(QStringLiteral("id1"))->click();
        });
        const int antes = DvModal::RunCount();
        app->MainFrame()->CommandAction(QStringLiteral("ID_APP_ABOUT"))->trigger();
        QCOMPARE(DvModal::RunCount(), antes + 1);
        QCOMPARE(titulo, QStringLiteral("Acerca de Dravonela"));
    }

    void ventanaPrincipal() {
        DvMessageBox::Recorder mensajes;
        auto app = DvAppPrueba::Iniciar(m_bd);
        QVERIFY(app);
        CMainFrame* marco = app->MainFrame();
        QVERIFY(marco && marco->isVisible());
        QCOMPARE(marco->windowTitle(), QStringLiteral("Ostrevan"));
        QCOMPARE(DvAppPrueba::VentanasVisibles(), 1);

        // The menus, their items in order (separators as "-").
        QStringList menus;
        QStringList items;
        for (QAction* menu : marco->menuBar()->actions()) {
            menus << menu->text();
            for (QAction* item : menu->menu()->actions())
                items << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        QCOMPARE(menus, (QStringList{QStringLiteral("&Archivo"), QStringLiteral("&Edición"),
                                     QStringLiteral("&Configurar"), QStringLiteral("&Ver"),
                                     QStringLiteral("Ay&uda")}));
        const QStringList esperados{"&Abrir...\tCtrl+O",
                                    "-",
                                    "&Imprimir...\tCtrl+I",
                                    "&Presentación preliminar",
                                    "Con&figurar impresora...",
                                    "-",
                                    "Exportar a PDF...",
                                    "Exportar a CSV...",
                                    "Generar informe",
                                    "Exportar calendarios del servicio...",
                                    "-",
                                    "&Salir",
                                    "&Deshacer\tCtrl+Z",
                                    "&Rehacer\tCtrl+Y",
                                    "&Servicios...",
                                    "&Personal...",
                                    "Tip&os de turno...",
                                    "&Turnos...",
                                    "&Asignación de turnos...",
                                    "Op&ciones de planilla...",
                                    "&Festivos...",
                                    "Reglas y mínimos...",
                                    "Barra de &herramientas",
                                    "Barra de &estado",
                                    "&Acerca de Ostrevan..."};
        QCOMPARE(items, esperados);

        // Keys: Ctrl+P prints, Ctrl+I is only shown.
        QStringList teclas;
        for (QAction* accion : marco->actions())
            if (!accion->shortcut().isEmpty())
                teclas << accion->objectName() + QLatin1Char('=') +
                              accion->shortcut().toString(QKeySequence::PortableText);
        for (const char* tecla :
             {"accel:ID_FILE_NEW=Ctrl+N", "accel:ID_FILE_OPEN=Ctrl+O", "accel:ID_FILE_SAVE=Ctrl+S",
              "accel:ID_FILE_PRINT=Ctrl+P", "accel:ID_EDIT_UNDO=Ctrl+Z",
              "accel:ID_EDIT_UNDO=Alt+Backspace", "accel:ID_EDIT_REDO=Ctrl+Y",
              "accel:ID_EDIT_CUT=Ctrl+X", "accel:ID_EDIT_CUT=Shift+Del",
              "accel:ID_EDIT_COPY=Ctrl+C", "accel:ID_EDIT_COPY=Ctrl+Ins",
              "accel:ID_EDIT_PASTE=Ctrl+V", "accel:ID_EDIT_PASTE=Shift+Ins",
              "accel:ID_NEXT_PANE=F6", "accel:ID_PREV_PANE=Shift+F6"})
            QVERIFY2(teclas.contains(QString::fromLatin1(tecla)), tecla);
        QCOMPARE(teclas.size(), 15);
        for (const QString& tecla : teclas)
            QVERIFY(!tecla.endsWith(QLatin1String("=Ctrl+I")));

        // Toolbar: print, separator, About, with tooltips and icons.
        QToolBar* barra = marco->ToolBar();
        QCOMPARE(barra->actions().size(), 3);
        QCOMPARE(barra->actions()[0], marco->CommandAction(QStringLiteral("ID_FILE_PRINT")));
        QVERIFY(barra->actions()[1]->isSeparator());
        QCOMPARE(barra->actions()[2], marco->CommandAction(QStringLiteral("ID_APP_ABOUT")));
        QCOMPARE(barra->actions()[0]->toolTip(), QStringLiteral("Imprimir"));
        QCOMPARE(barra->actions()[2]->toolTip(), QStringLiteral("Acerca de"));
        QVERIFY(!barra->actions()[0]->icon().isNull());
        QVERIFY(!barra->actions()[2]->icon().isNull());

        // Status bar panes.
        QCOMPARE(marco->MessagePane()->text(), QStringLiteral("Preparado"));
        QCOMPARE(marco->IndicatorPane(0)->text(), QStringLiteral("MAY"));
        QCOMPARE(marco->IndicatorPane(1)->text(), QStringLiteral("NUM"));
        QCOMPARE(marco->IndicatorPane(2)->text(), QStringLiteral("DESP"));

        // Toggles hide and show the bars, and their items follow.
        QAction* verBarra = marco->CommandAction(QStringLiteral("ID_VIEW_TOOLBAR"));
        QAction* verEstado = marco->CommandAction(QStringLiteral("ID_VIEW_STATUS_BAR"));
        QVERIFY(verBarra->isChecked() && verEstado->isChecked());
        verBarra->trigger();
        QVERIFY(!barra->isVisible());
        QVERIFY(!verBarra->isChecked());
        verEstado->trigger();
        QVERIFY(!marco->statusBar()->isVisible());
        verBarra->trigger();
        verEstado->trigger();
        QVERIFY(barra->isVisible() && marco->statusBar()->isVisible());
        QVERIFY(verBarra->isChecked() && verEstado->isChecked());

        // Keys nobody handles do nothing; the caption never changes.
        QVERIFY(!marco->OnCmdMsg(QStringLiteral("ID_NEXT_PANE")));
        QVERIFY(marco->OnCmdMsg(QStringLiteral("ID_FILE_NEW")));
        QCOMPARE(marco->windowTitle(), QStringLiteral("Ostrevan"));
        QCOMPARE(mensajes.Count(), 0);

        // "&Salir" closes the window.
        marco->CommandAction(QStringLiteral("ID_APP_EXIT"))->trigger();
        QVERIFY(!marco->isVisible());
    }

    void recursoDeMenuMalEscrito() {
        CMenuResource recurso;
        QString error;
        QVERIFY(!CMenuResource::Parse(QStringLiteral("popup \"A\"\nitem ID_X \"X\"\n"), recurso,
                                      &error));
        QVERIFY(error.contains(QStringLiteral("end")));
        QVERIFY(!CMenuResource::Parse(QStringLiteral("item ID_X \"X\"\n"), recurso, &error));
        QVERIFY(error.startsWith(QStringLiteral("línea 1")));
        QVERIFY(!CMenuResource::Parse(QStringLiteral("popup \"A\nend\n"), recurso, &error));
        QVERIFY(!CMenuResource::Parse(QStringLiteral("menu\n"), recurso, &error));
    }

    void cleanupTestCase() { CDbConnection::Instance().Reset(); }
};

QTEST_MAIN(TestAppInicio)
#include "test_app_inicio.moc"
