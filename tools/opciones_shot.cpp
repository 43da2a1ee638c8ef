// Opens the roster options on a database with the demonstration data and saves a
// picture of the dialog for a service with stored options, for one without, after
// "Por defecto", and of the reload question as the program shows it:
//
//     QT_QPA_PLATFORM=offscreen opciones_shot [output folder] [database file]
//
// Without a database file a new one with the demonstration data is made in a temporary
// folder. Nothing is saved: the dialogs are closed with Cancel.

#include "DbConnection.h"
#include "OpcionesPlanillaDlg.h"
#include "Resources.h"
#include "Schema.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {
bool Save(QWidget* widget, const QString& path) {
    QApplication::processEvents();
    const bool ok = widget->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

QString DemoDatabase(const QString& folder) {
    const QString path = folder + QStringLiteral("/demo.mdb");
    QFile::remove(path);
    QString error;
    if (!DvSchema::CreateDatabase(path, QString(),
                                  DvResources::ReadText(QStringLiteral(":/sql/demo.sql")),
                                  QDate::currentDate(), error)) {
        std::fprintf(stderr, "no se pudo crear la base de datos: %s\n", qPrintable(error));
        return QString();
    }
    return path;
}

bool Shot(int servicio, bool porDefecto, const QString& path) {
    COpcionesPlanillaDlg dialog;
    dialog.SetServicio(servicio);
    dialog.show();
    if (porDefecto)
        dialog.SendCommand(COpcionesPlanillaDlg::IdPorDefecto);
    const bool ok = Save(&dialog, path);
    dialog.SendCommand(COpcionesPlanillaDlg::IdCancel);
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("opciones-shots");
    QDir().mkpath(folder);
    QTemporaryDir temp;
    const QString database = argc > 2 ? QString::fromLocal8Bit(argv[2]) : DemoDatabase(temp.path());
    if (database.isEmpty() || !CDbConnection::Instance().OpenFile(database, QString()))
        return 1;

    bool ok = Shot(2, false, folder + QStringLiteral("/opciones-guardadas.png"));
    ok &= Shot(99, false, folder + QStringLiteral("/opciones-nuevas.png"));
    ok &= Shot(2, true, folder + QStringLiteral("/opciones-por-defecto.png"));

    // The reload question, built as the program's message box builds its boxes.
    QMessageBox box;
    box.setWindowTitle(QStringLiteral("Dravonela"));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(QMessageBox::Question);
    box.setText(QStringLiteral("Para que los cambios tengan efecto se debe recargar la "
                               "planilla.\r\n¿Desea recargarla?"));
    box.setDefaultButton(box.addButton(QStringLiteral("Sí"), QMessageBox::YesRole));
    box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.show();
    ok &= Save(&box, folder + QStringLiteral("/pregunta-recargar.png"));
    return ok ? 0 : 1;
}
