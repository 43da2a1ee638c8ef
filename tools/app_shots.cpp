// Pictures of the program as the planner sees it, for looking at without a screen:
//   QT_QPA_PLATFORM=offscreen app_shots [FOLDER]
// writes ventana_principal.png (the main window with the roster of the current month of
// the demo database, service Urgencias), ventana_pequena.png (the window at the form's
// own size), menu_archivo.png (the open "Archivo" menu), acerca_de.png (the About
// box) and primera_vez.png (the installed program's choice when it finds no database)
// into FOLDER (default: the current one).

#include "AboutDlg.h"
#include "ComboList.h"
#include "DbConnection.h"
#include "FaltaBdDlg.h"
#include "MainFrame.h"
#include "MessageBox.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "Resources.h"
#include "Schema.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

namespace {
bool Guardar(QWidget* ventana, const QString& ruta) {
    QApplication::processEvents();
    const bool ok = ventana->grab().save(ruta);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "escrito" : "no se pudo escribir",
                 qPrintable(ruta));
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString carpeta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(carpeta);

    // Settings and database of their own, never the user's.
    QTemporaryDir temporal;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, temporal.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, temporal.path());
    const QString bd = temporal.path() + QStringLiteral("/ostrevan.mdb");
    QString error;
    if (!DvSchema::CreateDatabase(bd, QString(),
                                  DvResources::ReadText(QStringLiteral(":/sql/demo.sql")),
                                  QDate::currentDate(), error)) {
        std::fprintf(stderr, "app_shots: %s\n", qPrintable(error));
        return 1;
    }
    DvMessageBox::SetHandler([](const DvMessageBox::Message& mensaje) {
        std::fprintf(stderr, "mensaje «%s»: %s\n", qPrintable(mensaje.caption),
                     qPrintable(mensaje.text));
        return DvMessageBox::DefaultAnswer(mensaje.buttons);
    });
    if (!CDbConnection::Instance().OpenFile(bd, QString()))
        return 1;

    COstrevanApp app;
    app.SetDatabasePath(bd);
    if (!app.InitInstance({}))
        return 1;
    CMainFrame* marco = app.MainFrame();
    COstrevanView* vista = marco->View();
    bool ok = Guardar(marco, carpeta + QStringLiteral("/ventana_pequena.png"));

    CComboList* servicios = vista->Servicios();
    const int urgencias = servicios->findText(QStringLiteral("Urgencias"));
    if (urgencias >= 0) {
        servicios->setCurrentIndex(urgencias);
        emit servicios->activated(urgencias);
    }
    marco->resize(1400, 900);
    QApplication::processEvents();
    vista->SendCommand(COstrevanView::IdGenerar);
    ok = Guardar(marco, carpeta + QStringLiteral("/ventana_principal.png")) && ok;

    // The "Archivo" menu as it opens.
    if (QMenu* archivo = marco->menuBar()->actions().value(0)->menu()) {
        archivo->popup(marco->mapToGlobal(QPoint(0, marco->menuBar()->height())));
        ok = Guardar(archivo, carpeta + QStringLiteral("/menu_archivo.png")) && ok;
        archivo->hide();
    }

    CAboutDlg acerca(marco);
    acerca.show();
    ok = Guardar(&acerca, carpeta + QStringLiteral("/acerca_de.png")) && ok;
    acerca.hide();

    CFaltaBdDlg primeraVez(QStringLiteral("Todavía no hay ninguna base de datos de Dravonela.\n"
                                          "¿Qué desea hacer?"));
    primeraVez.show();
    ok = Guardar(&primeraVez, carpeta + QStringLiteral("/primera_vez.png")) && ok;
    primeraVez.hide();
    return ok ? 0 : 1;
}
