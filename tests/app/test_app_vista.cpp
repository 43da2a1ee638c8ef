// The roster view: its first update, "Generar", the service's display options, the
// service list refill, the grid following the window, and the report file.

#include "AppPrueba.h"
#include "CellRecord.h"
#include "Clock.h"
#include "ComboList.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "FileDialog.h"
#include "MainFrame.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
}

void Escribir(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The roster font's height, and the grid's default cells still drawn with that font.
int TamFuente(CCuadroPlanilla* cuadro) {
    CCellRecord registro;
    cuadro->GetGridDefault(&registro);
    return registro.GetFont() == &cuadro->Fuente() ? cuadro->AltoFuente() : -1;
}

QString Texto(CCuadroPlanilla* cuadro, int columna, int fila) {
    QString texto;
    cuadro->GetCellText(columna, fila, &texto);
    return texto;
}

// Selects the service as the user does (the list reports the choice).
void ElegirServicio(COstrevanView* vista, const QString& nombre) {
    CComboList* servicios = vista->Servicios();
    const int indice = servicios->findText(nombre);
    QVERIFY(indice >= 0);
    servicios->setCurrentIndex(indice);
    emit servicios->activated(indice);
}
} // namespace

class TestAppVista : public QObject {
    Q_OBJECT
private:
    QString m_bd;
    std::unique_ptr<COstrevanApp> m_app;
    COstrevanView* m_vista = nullptr;

    void Arrancar() {
        QVERIFY(DvAppPrueba::AbrirBd(m_bd));
        m_app = DvAppPrueba::Iniciar(m_bd);
        QVERIFY(m_app && m_app->MainFrame());
        m_vista = m_app->MainFrame()->View();
        QVERIFY(m_vista->IsInitialUpdateDone());
    }

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        DvClock::SetFixed(QDateTime(QDate(2024, 3, 12), QTime(10, 0)));
    }

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
    }

    void actualizacionInicial() {
        DvMessageBox::Recorder mensajes;
        Arrancar();
        QCOMPARE(mensajes.Count(), 0);

        CComboList* meses = m_vista->Meses();
        QCOMPARE(meses->count(), 12);
        QCOMPARE(meses->itemText(0), QStringLiteral("Enero"));
        QCOMPARE(meses->itemText(8), QStringLiteral("Septiembre"));
        QCOMPARE(meses->itemText(11), QStringLiteral("Diciembre"));
        for (int i = 0; i < 12; ++i)
            QCOMPARE(meses->itemData(i).toInt(), i + 1);
        QCOMPARE(m_vista->MesSeleccionado(), 3);
        QCOMPARE(m_vista->AnioEscrito(), 2024);
        QCOMPARE(m_vista->CampoAnio()->text(), QStringLiteral("2024"));

        CComboList* servicios = m_vista->Servicios();
        QStringList nombres;
        for (int i = 0; i < servicios->count(); ++i)
            nombres << servicios->itemText(i);
        QCOMPARE(nombres, (QStringList{QStringLiteral("Pediatría"), QStringLiteral("Quirófano"),
                                       QStringLiteral("UCI"), QStringLiteral("Urgencias")}));
        QCOMPARE(servicios->currentIndex(), 0);
        QCOMPARE(m_vista->ServicioSeleccionado(), 4);

        // The grid took the placeholder's place; nothing is built yet; Pediatría has no
        // stored options, so the defaults apply.
        CCuadroPlanilla* cuadro = m_vista->Cuadro();
        QCOMPARE(cuadro->parentWidget(), static_cast<QWidget*>(m_vista));
        QCOMPARE(m_vista->GetDlgItem(COstrevanView::IdCuadro), static_cast<QWidget*>(cuadro));
        QCOMPARE(cuadro->GetRowCount(), 0);
        QCOMPARE(cuadro->GetDefaultRowHeight(), 16);
        QCOMPARE(TamFuente(cuadro), 15);
    }

    void generarSoloTrasElAnio2000() {
        // Reference assignments early in 2001, so that its months have a roster.
        QVERIFY(DvAppPrueba::AbrirBd(m_bd));
        QVERIFY(DvAppPrueba::Sql(
            QStringLiteral("UPDATE ASIG_TURNOS SET DIA_REF = '2001/01/01 00:00:00';")));
        DvMessageBox::Recorder mensajes;
        Arrancar();
        CCuadroPlanilla* cuadro = m_vista->Cuadro();
        auto* generar = m_vista->findChild<QPushButton*>(QStringLiteral("id1056"));
        QVERIFY(generar);

        // A year the roster cannot be built for says so; the grid stays as it was.
        for (int anio : {2000, 27, 10000}) {
            m_vista->CampoAnio()->SetValue(anio);
            generar->click();
            QCOMPARE(cuadro->GetRowCount(), 0);
            QCOMPARE(mensajes.Last().text,
                     QStringLiteral("El año de la planilla debe estar entre 2001 y 9999"));
            QCOMPARE(mensajes.Last().caption, QStringLiteral("Dravonela"));
            QVERIFY(!QApplication::overrideCursor());
        }
        QCOMPARE(mensajes.Count(), 3);

        m_vista->CampoAnio()->SetValue(2001);
        generar->click();
        QVERIFY(cuadro->GetRowCount() > 0);
        // March 2001 starts on a Thursday: its day number is in column 7 of the first row.
        QCOMPARE(Texto(cuadro, 7, 0), QStringLiteral("1"));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(mensajes.Count(), 3);
    }

    void cambioDeServicioSoloCambiaLaLetra() {
        Arrancar();
        CCuadroPlanilla* cuadro = m_vista->Cuadro();
        m_vista->SendCommand(COstrevanView::IdGenerar);
        const int filas = cuadro->GetRowCount();
        QVERIFY(filas > 0);
        QStringList antes;
        for (int columna = 0; columna < 14; ++columna)
            antes << Texto(cuadro, columna, 1);

        ElegirServicio(m_vista, QStringLiteral("UCI")); // stored: 16 and 19
        QCOMPARE(TamFuente(cuadro), 16);
        QCOMPARE(cuadro->GetDefaultRowHeight(), 19);
        ElegirServicio(m_vista, QStringLiteral("Urgencias")); // stored: 13 and 15
        QCOMPARE(TamFuente(cuadro), 13);
        QCOMPARE(cuadro->GetDefaultRowHeight(), 15);
        ElegirServicio(m_vista, QStringLiteral("Quirófano")); // none stored
        QCOMPARE(TamFuente(cuadro), 15);
        QCOMPARE(cuadro->GetDefaultRowHeight(), 16);

        QCOMPARE(cuadro->GetRowCount(), filas);
        QStringList despues;
        for (int columna = 0; columna < 14; ++columna)
            despues << Texto(cuadro, columna, 1);
        QCOMPARE(despues, antes);
    }

    void sinServicios() {
        QVERIFY(DvAppPrueba::AbrirBd(m_bd));
        QVERIFY(DvAppPrueba::Sql(QStringLiteral("DELETE FROM FUNCIONES;")));
        DvMessageBox::Recorder mensajes;
        Arrancar();
        QCOMPARE(m_vista->Servicios()->count(), 0);
        QCOMPARE(m_vista->ServicioSeleccionado(), -1);
        QCOMPARE(m_vista->Cuadro()->GetDefaultRowHeight(), 16);
        // Nothing to build for: the planner is told where services are added.
        m_vista->SendCommand(COstrevanView::IdGenerar);
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text,
                 QStringLiteral("No hay ningún servicio: añádalo con \"Servicios...\" del menú "
                                "\"Configurar\""));
        QCOMPARE(m_vista->Cuadro()->GetRowCount(), 0);
    }

    void generarSinServicioElegido() {
        DvMessageBox::Recorder mensajes;
        Arrancar();
        m_vista->Servicios()->setCurrentIndex(-1);
        m_vista->SendCommand(COstrevanView::IdGenerar);
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text, QStringLiteral("No se ha elegido el servicio"));
        QCOMPARE(m_vista->Cuadro()->GetRowCount(), 0);
    }

    void rellenarServicios() {
        Arrancar();
        m_vista->Meses()->SelectByItemData(7);
        ElegirServicio(m_vista, QStringLiteral("UCI"));
        QVERIFY(DvAppPrueba::Sql(
            QStringLiteral("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (9, 'Anestesia');")));
        m_vista->RellenarServicios();
        QCOMPARE(m_vista->Servicios()->count(), 5);
        QCOMPARE(m_vista->Servicios()->currentText(), QStringLiteral("Anestesia"));
        QCOMPARE(m_vista->ServicioSeleccionado(), 9);
        QCOMPARE(m_vista->Meses()->count(), 12);
        QCOMPARE(m_vista->MesSeleccionado(), 7);
    }

    void ordenServicios() {
        Arrancar();
        m_vista->Meses()->SelectByItemData(5);
        ElegirServicio(m_vista, QStringLiteral("UCI"));
        QAction* servicios =
            m_app->MainFrame()->CommandAction(QStringLiteral("ID_CONFIG_SERVICIOS"));

        // Closed without OK: the list stays as it was, even if the table changed.
        QString titulo;
        DvModal::QueueHandler([&titulo](QDialog& dialogo) {
            titulo = dialogo.windowTitle();
            QVERIFY(DvAppPrueba::Sql(
                QStringLiteral("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (9, 'Anestesia');")));
            dialogo.reject(); // the close box: the dialog has no Cancel button
        });
        servicios->trigger();
        QCOMPARE(titulo, QStringLiteral("Configuración de servicios"));
        QCOMPARE(m_vista->Servicios()->count(), 4);
        QCOMPARE(m_vista->Servicios()->currentText(), QStringLiteral("UCI"));

        // Closed with OK: filled again, the first in alphabetical order selected and its
        // options applied; the month stays.
        QVERIFY(DvAppPrueba::Sql(QStringLiteral(
            "INSERT INTO PREF_IMPRESION (ID, ID_SERVICIO, TAM_FUENTE, ALTO_FILA, HORIZONTAL) "
            "VALUES (9, 9, 21, 27, FALSE);")));
        DvModal::QueueHandler([](QDialog& dialogo) {
            dialogo.findChild<QPushButton*>(QStringLiteral("id1"))->click();
        });
        servicios->trigger();
        QCOMPARE(m_vista->Servicios()->count(), 5);
        QCOMPARE(m_vista->Servicios()->currentText(), QStringLiteral("Anestesia"));
        QCOMPARE(m_vista->Cuadro()->GetDefaultRowHeight(), 27);
        QCOMPARE(m_vista->MesSeleccionado(), 5);
        QCOMPARE(DvModal::PendingHandlers(), 0);
    }

    void ordenesDeConfiguracion_data() {
        QTest::addColumn<QString>("orden");
        QTest::addColumn<QString>("titulo");
        QTest::newRow("personal") << "ID_CONFIG_PERSONAL"
                                  << "Configuración de personal";
        QTest::newRow("tipos") << "ID_CONFIG_TIPOSTURNO"
                               << "Configuración de tipos de turno";
        QTest::newRow("turnos") << "ID_CONFIG_TURNOS"
                                << "Configuración de turnos";
        QTest::newRow("asignación") << "ID_CONFIG_ASIGNACION"
                                    << "Asignación de turno de referencia";
        QTest::newRow("festivos") << "ID_CONFIG_FESTIVOS"
                                  << "Configuración de dias festivos";
    }
    void ordenesDeConfiguracion() {
        QFETCH(QString, orden);
        QFETCH(QString, titulo);
        Arrancar();
        QString abierto;
        DvModal::QueueHandler([&abierto](QDialog& dialogo) { abierto = dialogo.windowTitle(); });
        m_app->MainFrame()->CommandAction(orden)->trigger();
        QCOMPARE(abierto, titulo);
        QCOMPARE(DvModal::PendingHandlers(), 0);
    }

    void opcionesDePlanilla() {
        Arrancar(); // Pediatría, no stored options
        CCuadroPlanilla* cuadro = m_vista->Cuadro();
        QAction* opciones = m_app->MainFrame()->CommandAction(QStringLiteral("ID_CONFIG_OPCIONES"));
        auto cambiar = [](int fuente, int fila) {
            return [fuente, fila](QDialog& dialogo) {
                QCOMPARE(dialogo.windowTitle(), QStringLiteral("Opciones de planilla"));
                dialogo.findChild<CEditSpecial*>(QStringLiteral("id1082"))->SetValue(fuente);
                dialogo.findChild<CEditSpecial*>(QStringLiteral("id1083"))->SetValue(fila);
                dialogo.findChild<QPushButton*>(QStringLiteral("id1"))->click();
            };
        };

        // OK and No: the grid takes the new sizes, the roster is not built.
        DvMessageBox::Recorder mensajes;
        DvModal::QueueHandler(cambiar(20, 24));
        DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
        opciones->trigger();
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().buttons, DvMessageBox::YesNo);
        QCOMPARE(TamFuente(cuadro), 20);
        QCOMPARE(cuadro->GetDefaultRowHeight(), 24);
        QCOMPARE(cuadro->GetRowCount(), 0);

        // OK and Yes: built again with the selectors' month, year and service.
        DvModal::QueueHandler(cambiar(18, 22));
        DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
        opciones->trigger();
        QCOMPARE(TamFuente(cuadro), 18);
        QVERIFY(cuadro->GetRowCount() > 0);
        QCOMPARE(DvModal::PendingHandlers(), 0);
    }

    void elCuadroCreceConLaVentana() {
        Arrancar();
        CMainFrame* marco = m_app->MainFrame();
        CCuadroPlanilla* cuadro = m_vista->Cuadro();
        // The placeholder's place and its margins to the form's right and bottom edges.
        const QRect hueco = m_vista->MapDialogRect(QRect(7, 48, 570, 327));
        const QSize forma = m_vista->sizeHint();
        const int margenDerecho = forma.width() - (hueco.x() + hueco.width());
        const int margenInferior = forma.height() - (hueco.y() + hueco.height());

        for (const QSize tamano : {QSize(1500, 1000), QSize(1900, 1150)}) {
            marco->resize(tamano);
            QApplication::processEvents();
            QVERIFY(m_vista->width() > forma.width());
            QCOMPARE(cuadro->geometry().topLeft(), hueco.topLeft());
            QCOMPARE(cuadro->width(), m_vista->width() - hueco.x() - margenDerecho);
            QCOMPARE(cuadro->height(), m_vista->height() - hueco.y() - margenInferior);
            const int ancho = static_cast<int>(cuadro->width() * 0.069);
            for (int columna = 0; columna < 14; ++columna)
                QCOMPARE(cuadro->GetColumnWidth(columna), ancho);
        }

        // Smaller than the form: the grid keeps the template's size (the view scrolls).
        marco->resize(400, 300);
        QApplication::processEvents();
        QCOMPARE(cuadro->size(), hueco.size());
        QCOMPARE(cuadro->GetColumnWidth(0), static_cast<int>(hueco.width() * 0.069));
    }

    // The roster on screen keeps its own title: after the selectors move on, the status
    // bar names the roster shown, and printing and export use its month, year and service.
    void tituloDeLaPlanillaMostrada() {
        Arrancar();
        DvMessageBox::Recorder mensajes;
        ElegirServicio(m_vista, QString::fromUtf8("Pediatría"));
        m_vista->SendCommand(COstrevanView::IdGenerar);
        QVERIFY(m_vista->HayPlanilla());
        QCOMPARE(m_vista->TituloPlanilla().Texto(), QString::fromUtf8("Marzo 2024 - Pediatría"));
        QLabel* estado = m_app->MainFrame()->MessagePane();
        QVERIFY(!estado->text().startsWith(QStringLiteral("Planilla mostrada")));

        ElegirServicio(m_vista, QStringLiteral("UCI"));
        m_vista->Meses()->setCurrentIndex(11);
        emit m_vista->Meses()->activated(11);
        m_vista->CampoAnio()->SetValue(2026);
        QCOMPARE(estado->text(), QString::fromUtf8("Planilla mostrada: Marzo 2024 - Pediatría"));
        QCOMPARE(m_vista->TituloPlanilla().Texto(), QString::fromUtf8("Marzo 2024 - Pediatría"));
        QCOMPARE(m_vista->NombreSugerido(QStringLiteral("pdf")),
                 QString::fromUtf8("Planilla Marzo 2024 Pediatría.pdf"));

        // Exported as PDF: the roster's title, not the selectors'.
        const QString pdf = DvTest::TempDir() + QStringLiteral("/exportada.pdf");
        QFile::remove(pdf);
        DvFileDialog::SetNextFileName(pdf);
        m_app->MainFrame()->CommandAction(QStringLiteral("ID_EXPORTAR_PDF"))->trigger();
        QVERIFY(DvFileDialog::LastRequest().initialName.endsWith(
            QString::fromUtf8("/Planilla Marzo 2024 Pediatría.pdf")));
        QVERIFY(Leer(pdf).startsWith("%PDF"));
        QVERIFY2(mensajes.Last().text.startsWith(
                     QString::fromUtf8("Planilla de Marzo 2024 - Pediatría")),
                 qPrintable(mensajes.Last().text));
        const QByteArray texto = Leer(pdf);
        QVERIFY(!texto.contains("Diciembre"));

        // As CSV, in Windows-1252 with CR LF, as "planilla --formato csv" writes it.
        const QString csv = DvTest::TempDir() + QStringLiteral("/exportada.csv");
        QFile::remove(csv);
        DvFileDialog::SetNextFileName(csv);
        m_vista->OnExportarCsv();
        QCOMPARE(DvFileDialog::LastRequest().defaultExtension, QStringLiteral("csv"));
        const QByteArray bytes = Leer(csv);
        QVERIFY(bytes.startsWith("Lunes;;Martes;;Mi\xE9rcoles;;"));
        QVERIFY(bytes.endsWith("\r\n"));

        // Back on the roster's own selection, the status bar no longer warns.
        ElegirServicio(m_vista, QString::fromUtf8("Pediatría"));
        m_vista->Meses()->setCurrentIndex(2);
        emit m_vista->Meses()->activated(2);
        m_vista->CampoAnio()->SetValue(2024);
        QVERIFY(!estado->text().startsWith(QStringLiteral("Planilla mostrada")));

        // The database itself is never an export's target.
        const int antes = mensajes.Count();
        DvFileDialog::SetNextFileName(m_bd);
        DvFileDialog::SetNextFileName(QString());
        m_vista->OnExportarPdf();
        QCOMPARE(mensajes.Count(), antes + 1);
        QVERIFY(Leer(m_bd).startsWith("SQLite format 3"));
    }

    void exportarSinPlanilla() {
        Arrancar();
        DvMessageBox::Recorder mensajes;
        m_vista->OnExportarPdf();
        QCOMPARE(mensajes.Count(), 1);
        QVERIFY(mensajes.Last().text.startsWith(QStringLiteral("No hay planilla en pantalla")));
    }

    void informeCancelado() {
        Arrancar();
        DvMessageBox::Recorder mensajes;
        DvFileDialog::SetNextFileName(QString());
        m_vista->OnGenerarInforme();
        QCOMPARE(mensajes.Count(), 0);
        const DvFileDialog::Request pedido = DvFileDialog::LastRequest();
        QVERIFY(pedido.asked);
        QCOMPARE(pedido.defaultExtension, QStringLiteral("csv"));
        QCOMPARE(pedido.initialName, QStringLiteral("*.csv"));
        QCOMPARE(pedido.filter,
                 QStringLiteral("Archivos CSV files (*.csv)|*.csv|Todos los archivos (*.*)|*.*||"));
        QVERIFY(pedido.confirmOverwrite);
    }

    void informeEscritoEnWindows1252() {
        Arrancar();
        DvMessageBox::Recorder mensajes;
        const QString ruta = DvTest::TempDir() + QStringLiteral("/informe");
        QFile::remove(ruta + QStringLiteral(".csv"));
        DvFileDialog::SetNextFileName(ruta); // the dialog adds the extension
        m_app->MainFrame()->CommandAction(QStringLiteral("ID_GENERAR_INFORME"))->trigger();
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text, QStringLiteral("El informe fue generado correctamente"));
        QCOMPARE(mensajes.Last().caption, QStringLiteral("Dravonela"));
        QCOMPARE(mensajes.Last().buttons, DvMessageBox::Ok);

        const QByteArray bytes = Leer(ruta + QStringLiteral(".csv"));
        // No byte-order mark; accented letters one byte each; CR LF line ends.
        QVERIFY(bytes.startsWith("INFORME MES Marzo DE 2024 DEL SERVICIO Pediatr\xED"
                                 "a\r\nTRABAJADOR;"));
        QVERIFY(bytes.contains("Lorenzo \xCD\xF1iguez, Rosal\xED"
                               "a;"));
        QVERIFY(!bytes.contains('\xC3'));
        QVERIFY(bytes.endsWith("\r\n"));
    }

    void informeSobreFicheroExistente() {
        Arrancar();
        DvMessageBox::Recorder mensajes;
        const QString ruta = DvTest::TempDir() + QStringLiteral("/existente.csv");
        Escribir(ruta, QByteArray(5000, 'x'));
        DvFileDialog::SetNextFileName(ruta);
        m_vista->OnGenerarInforme();
        QCOMPARE(mensajes.Last().text, QStringLiteral("El informe fue generado correctamente"));
        const QByteArray bytes = Leer(ruta);
        QVERIFY(bytes.startsWith("INFORME MES"));
        QVERIFY(!bytes.contains('x' + QByteArray("xxxx")));
        QVERIFY(DvFileDialog::LastRequest().confirmOverwrite);
    }

    void informeSobreFicheroProtegido() {
        Arrancar();
        DvMessageBox::Recorder mensajes;
        const QString ruta = DvTest::TempDir() + QStringLiteral("/protegido.csv");
        QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        Escribir(ruta, "contenido anterior\r\n");
        QVERIFY(QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                QFileDevice::ReadOther));
        DvFileDialog::SetNextFileName(ruta);
        m_vista->OnGenerarInforme();
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text,
                 QStringLiteral("No se pudo escribir en el fichero seleccionado"));
        QCOMPARE(Leer(ruta), QByteArray("contenido anterior\r\n"));

        // A folder that does not exist fails the same way.
        DvFileDialog::SetNextFileName(DvTest::TempDir() + QStringLiteral("/no/hay/informe.csv"));
        m_vista->OnGenerarInforme();
        QCOMPARE(mensajes.Count(), 2);
        QCOMPARE(mensajes.Last().text,
                 QStringLiteral("No se pudo escribir en el fichero seleccionado"));
        QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void informeCanceladoEnElProgreso() {
        Arrancar();
        DvMessageBox::Recorder mensajes;
        const QString ruta = DvTest::TempDir() + QStringLiteral("/cancelado.csv");
        Escribir(ruta, "anterior");
        DvFileDialog::SetNextFileName(ruta);
        // Cancel is pressed in the progress window as soon as it shows.
        bool pulsado = false;
        QTimer vigilante;
        vigilante.setInterval(0);
        connect(&vigilante, &QTimer::timeout, this, [&pulsado]() {
            for (QWidget* ventana : QApplication::topLevelWidgets())
                if (ventana->isVisible() &&
                    ventana->windowTitle() == QStringLiteral("Progreso de operación"))
                    if (auto* cancelar = ventana->findChild<QPushButton*>(QStringLiteral("id2"))) {
                        cancelar->click();
                        pulsado = true;
                    }
        });
        vigilante.start();
        m_vista->OnGenerarInforme();
        vigilante.stop();
        QVERIFY(pulsado);
        QCOMPARE(mensajes.Count(), 1);
        QCOMPARE(mensajes.Last().text, QStringLiteral("Hubo un error generando el informe"));
        QCOMPARE(Leer(ruta), QByteArray("anterior"));
    }
};

QTEST_MAIN(TestAppVista)
#include "test_app_vista.moc"
