// The calendars from the window: "Calendario..." in the personnel list and "Exportar
// calendarios del servicio..." in "Archivo", driven through the file-dialog, folder,
// message-box and modal doors on a demo file placed around March 2024.

#include "AppPrueba.h"
#include "CalendarioArchivos.h"
#include "Clock.h"
#include "ComboList.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "FileDialog.h"
#include "LeerIcs.h"
#include "MainFrame.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "PersonalDlg.h"
#include "TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

namespace {
QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Escribir(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QPushButton* Boton(QDialog& dialogo, int id) {
    return dialogo.findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
}

// Makes the worker the current row of the personnel list.
bool ElegirTrabajador(CPersonalDlg& dialogo, int id) {
    CPersonalGrid* lista = dialogo.List();
    for (int fila = 0; fila < lista->GetRowCount(); ++fila) {
        lista->GotoCell(0, fila);
        if (lista->CurrentKey() == id)
            return true;
    }
    return false;
}

QStringList Calendarios(const QString& carpeta) {
    return QDir(carpeta).entryList({QStringLiteral("*.ics")}, QDir::Files, QDir::Name);
}
} // namespace

class TestCalendarioVentana : public QObject {
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

    // "Calendario..." for the worker in the personnel list, answering the save dialog.
    void CalendarioDesdeLaLista(int id, const QString& ruta) {
        DvFileDialog::SetNextFileName(ruta);
        bool pulsado = false;
        DvModal::QueueHandler([&](QDialog& d) {
            auto* dialogo = dynamic_cast<CPersonalDlg*>(&d);
            QVERIFY(dialogo);
            QPushButton* boton = Boton(d, CPersonalDlg::IdCalendario);
            QVERIFY(boton && boton->isVisible());
            QCOMPARE(boton->text(), QStringLiteral("Calendario..."));
            QVERIFY(ElegirTrabajador(*dialogo, id));
            boton->click();
            pulsado = true;
            Boton(d, 1)->click();
        });
        m_app->MainFrame()->CommandAction(QStringLiteral("ID_CONFIG_PERSONAL"))->trigger();
        QVERIFY(pulsado);
    }

    void Generar(const QString& servicio) {
        CComboList* servicios = m_vista->Servicios();
        const int indice = servicios->findText(servicio);
        QVERIFY(indice >= 0);
        servicios->setCurrentIndex(indice);
        m_vista->OnGenerar();
        QVERIFY(m_vista->Cuadro()->GetRowCount() > 0);
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
        DvFileDialog::ClearFolderNames();
        m_bd = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), QDate(2024, 3, 12));
        QVERIFY(!m_bd.isEmpty());
        Arrancar();
    }
    void cleanup() {
        m_app.reset();
        m_vista = nullptr;
        CDbConnection::Instance().Reset();
    }

    void calendarOrSheetOfTheSelectedWorker() {
        DvMessageBox::Recorder mensajes;
        const QString ics = DvTest::TempDir() + QStringLiteral("/sofia");
        QFile::remove(ics + QStringLiteral(".ics"));
        CalendarioDesdeLaLista(19, ics); // the dialog adds the extension
        const DvFileDialog::Request pedido = DvFileDialog::LastRequest();
        QCOMPARE(pedido.defaultExtension, QStringLiteral("ics"));
        QCOMPARE(pedido.initialName, QStringLiteral("Sofía Hernández Marzo 2024.ics"));
        QVERIFY(pedido.filter.contains(QStringLiteral("*.pdf")));
        QVERIFY(pedido.confirmOverwrite);
        QCOMPARE(mensajes.Count(), 1);
        QVERIFY(mensajes.Last().text.startsWith(QStringLiteral("Calendario de Marzo de 2024")));
        const DvPruebaIcs::CCalendario cal = DvPruebaIcs::Leer(Leer(ics + QStringLiteral(".ics")));
        QVERIFY(cal.valido);
        QVERIFY(!cal.eventos.empty());
        QVERIFY(cal.eventos.front().uid.startsWith(QStringLiteral("dravonela-19-202403")));
        QCOMPARE(cal.eventos.front().sello, QDateTime(QDate(2024, 3, 12), QTime(10, 0)).toUTC());

        // A name ending in .pdf gets the personal sheet; the month follows the selectors.
        m_vista->Meses()->SelectByItemData(4);
        const QString pdf = DvTest::TempDir() + QStringLiteral("/sofia.pdf");
        CalendarioDesdeLaLista(19, pdf);
        QVERIFY(Leer(pdf).startsWith("%PDF"));
        QVERIFY(mensajes.Last().text.startsWith(QStringLiteral("Hoja personal de Abril de 2024")));

        // A file that cannot be written says why and leaves the old one.
        const QString protegido = DvTest::TempDir() + QStringLiteral("/hoja.ics");
        QDir().mkpath(protegido);
        CalendarioDesdeLaLista(19, protegido);
        QCOMPARE(mensajes.Last().icon, DvMessageBox::Error);
        QVERIFY(mensajes.Last().text.contains(QStringLiteral("es una carpeta")));

        // No month to speak of: a year before 2001 is refused before any dialog.
        m_vista->CampoAnio()->SetValue(2000);
        DvFileDialog::ClearFileNames();
        const int antes = mensajes.Count();
        bool pulsado = false;
        DvModal::QueueHandler([&](QDialog& d) {
            ElegirTrabajador(*dynamic_cast<CPersonalDlg*>(&d), 19);
            Boton(d, CPersonalDlg::IdCalendario)->click();
            pulsado = true;
            Boton(d, 1)->click();
        });
        m_vista->OnConfigPersonal();
        QVERIFY(pulsado);
        QCOMPARE(mensajes.Count(), antes + 1);
        QVERIFY(mensajes.Last().text.contains(QStringLiteral("posterior a 2000")));
    }

    void theButtonSitsBesideTheListAndNotInTheSearch() {
        bool visto = false;
        DvModal::QueueHandler([&](QDialog& d) {
            QPushButton* boton = Boton(d, CPersonalDlg::IdCalendario);
            QVERIFY(boton);
            QVERIFY(!boton->isVisible());
            visto = true;
        });
        CPersonalDlg::Search(m_vista);
        QVERIFY(visto);

        CPersonalDlg dialogo(m_vista);
        dialogo.SetCalendario([](QWidget*, int) {});
        DvModal::QueueHandler([&](QDialog& d) {
            QPushButton* boton = Boton(d, CPersonalDlg::IdCalendario);
            QVERIFY(boton->isVisible());
            const QRect zona = boton->geometry();
            QVERIFY(d.rect().contains(zona));
            for (int otro : {1, 1018, 1019, 1021})
                QVERIFY(!zona.intersects(Boton(d, otro)->geometry()));
            QVERIFY(!zona.intersects(dialogo.List()->geometry()));
        });
        DvModal::Run(dialogo);
    }

    void oneCalendarPerWorkerOfTheRosterOnScreen() {
        DvMessageBox::Recorder mensajes;
        const QString carpeta = DvTest::TempDir() + QStringLiteral("/servicio");
        QDir(carpeta).removeRecursively();
        QVERIFY(QDir().mkpath(carpeta));

        // Nothing built yet: nothing to export, no folder asked.
        DvFileDialog::SetNextFolderName(carpeta);
        m_app->MainFrame()->CommandAction(QStringLiteral("ID_EXPORTAR_CALENDARIOS"))->trigger();
        QCOMPARE(mensajes.Count(), 1);
        QVERIFY(mensajes.Last().text.startsWith(QStringLiteral("No hay planilla en pantalla")));
        DvFileDialog::ClearFolderNames();

        // Two workers share a planilla name, one has a slash in it.
        QVERIFY(DvAppPrueba::Sql(
            QStringLiteral("UPDATE PERSONAL SET NOMBREPLANILLA='Lucía F.' WHERE ID IN (1, 2);")));
        QVERIFY(DvAppPrueba::Sql(
            QStringLiteral("UPDATE PERSONAL SET NOMBREPLANILLA='M.J./Martínez' WHERE ID = 3;")));
        Generar(QStringLiteral("Urgencias"));
        // The selectors change afterwards; the roster on screen is what counts.
        m_vista->Meses()->SelectByItemData(7);
        DvFileDialog::SetNextFolderName(carpeta);
        m_vista->OnExportarCalendarios();
        QCOMPARE(mensajes.Last().text,
                 QStringLiteral("Calendarios de Marzo de 2024 escritos en %1: 20 de 20.")
                     .arg(QDir::toNativeSeparators(carpeta)));
        const QStringList nombres = Calendarios(carpeta);
        QCOMPARE(nombres.size(), 20);
        QVERIFY(nombres.contains(QStringLiteral("Lucía F. (1).ics")));
        QVERIFY(nombres.contains(QStringLiteral("Lucía F. (2).ics")));
        QVERIFY(nombres.contains(QStringLiteral("M.J._Martínez.ics")));
        const DvPruebaIcs::CCalendario segunda =
            DvPruebaIcs::Leer(Leer(carpeta + QStringLiteral("/Lucía F. (2).ics")));
        QVERIFY(segunda.valido);
        QVERIFY(segunda.eventos.front().uid.startsWith(QStringLiteral("dravonela-2-202403")));

        // Again: the user is asked before the files are replaced.
        const QString primera = carpeta + QStringLiteral("/Lucía F. (1).ics");
        Escribir(primera, "mío");
        DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
        DvFileDialog::SetNextFolderName(carpeta);
        m_vista->OnExportarCalendarios();
        QCOMPARE(mensajes.Last().buttons, DvMessageBox::YesNo);
        QCOMPARE(mensajes.Last().text,
                 QStringLiteral("La carpeta ya tiene 20 de estos calendarios. ¿Desea "
                                "reemplazarlos?"));
        QCOMPARE(Leer(primera), QByteArray("mío"));

        // Yes; one of the names is taken by a folder: the rest are written all the same.
        QVERIFY(QFile::remove(primera));
        QVERIFY(QDir().mkpath(primera));
        DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
        DvFileDialog::SetNextFolderName(carpeta);
        m_vista->OnExportarCalendarios();
        QCOMPARE(mensajes.Last().icon, DvMessageBox::Warning);
        QVERIFY(mensajes.Last().text.startsWith(
            QStringLiteral("Calendarios de Marzo de 2024 escritos en %1: 19 de 20.")
                .arg(QDir::toNativeSeparators(carpeta))));
        QVERIFY(mensajes.Last().text.contains(QStringLiteral("Lucía F.: No se puede escribir")));

        // Cancelling the folder writes nothing and says nothing.
        const int antes = mensajes.Count();
        DvFileDialog::SetNextFolderName(QString());
        m_vista->OnExportarCalendarios();
        QCOMPARE(mensajes.Count(), antes);
    }

    void safeFileNames() {
        using DvCalendario::NombreSeguro;
        QCOMPARE(NombreSeguro(QStringLiteral("Ana/Luz\\Paz")), QStringLiteral("Ana_Luz_Paz"));
        QCOMPARE(NombreSeguro(QStringLiteral("Ana\nRuiz\t\x01Gil")),
                 QStringLiteral("Ana Ruiz Gil"));
        QCOMPARE(NombreSeguro(QStringLiteral("..")), QString());
        QCOMPARE(NombreSeguro(QStringLiteral(" .oculta ")), QStringLiteral("oculta"));
        QCOMPARE(NombreSeguro(QStringLiteral("¿Quién? <Ñ>")), QStringLiteral("¿Quién_ _Ñ_"));

        // Names equal but for the letter case, an empty one, and one that reads like
        // another's numbered name: every worker gets a file of their own.
        const CListaReferencias refs{{QStringLiteral("Ana"), 4, 1, CDateTime()},
                                     {QStringLiteral("ANA"), 7, 1, CDateTime()},
                                     {QStringLiteral("Ana (7)"), 9, 1, CDateTime()},
                                     {QString(), 12, 1, CDateTime()},
                                     {QStringLiteral("/"), 13, 1, CDateTime()}};
        QStringList rutas;
        for (const auto& archivo : DvCalendario::ArchivosDe(QStringLiteral("/c"), refs))
            rutas << archivo.m_ruta;
        QCOMPARE(rutas, (QStringList{"/c/Ana (4).ics", "/c/ANA (7).ics", "/c/Ana (7)_.ics",
                                     "/c/Trabajador 12.ics", "/c/_.ics"}));
    }
};

QTEST_MAIN(TestCalendarioVentana)
#include "test_calendario_ventana.moc"
