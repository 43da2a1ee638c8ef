// Opens the configuration dialogs of services, personnel, shift types and shifts on a
// database with the demonstration data and saves a picture of each, so anyone can look
// at them filled:
//
//     QT_QPA_PLATFORM=offscreen dialog_shots [output folder] [database file]
//
// Without a database file a new one with the demonstration data is made in a temporary
// folder (the given file is only read from: the dialogs are not made to save).

#include "ComboList.h"
#include "DbConnection.h"
#include "DetallesTurnoDlg.h"
#include "DialogIds.h"
#include "FichaPersonalDlg.h"
#include "Modal.h"
#include "PersonalDlg.h"
#include "Resources.h"
#include "Schema.h"
#include "ServiciosDlg.h"
#include "TiposTurnoDlg.h"
#include "TurnosDlg.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
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
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("dialog-shots");
    QDir().mkpath(folder);
    QTemporaryDir temp;
    const QString database = argc > 2 ? QString::fromLocal8Bit(argv[2]) : DemoDatabase(temp.path());
    if (database.isEmpty() || !CDbConnection::Instance().OpenFile(database, QString()))
        return 1;
    bool ok = true;

    {
        CServiciosDlg dialog;
        dialog.show();
        dialog.List()->GotoCell(0, 2);
        dialog.SetDlgItemText(DlgId::Name, QStringLiteral("Cardiología"));
        ok &= Save(&dialog, folder + QStringLiteral("/servicios.png"));
    }
    {
        CPersonalDlg dialog;
        dialog.show();
        dialog.List()->GotoCell(0, 3);
        ok &= Save(&dialog, folder + QStringLiteral("/personal.png"));
        if (auto* filter = dialog.Item<CComboList>(DlgId::ServiceFilter))
            filter->SelectByItemData(3);
        ok &= Save(&dialog, folder + QStringLiteral("/personal-servicio.png"));
    }
    {
        CPersonalDlg dialog;
        dialog.SetSearchMode(true);
        dialog.show();
        ok &= Save(&dialog, folder + QStringLiteral("/personal-busqueda.png"));
    }
    {
        CFichaPersonalDlg dialog;
        dialog.SetWorkerId(1);
        dialog.show();
        ok &= Save(&dialog, folder + QStringLiteral("/ficha-personal.png"));
    }
    {
        CTiposTurnoDlg dialog;
        dialog.show();
        dialog.List()->GotoCell(0, 1);
        ok &= Save(&dialog, folder + QStringLiteral("/tipos-turno.png"));
    }
    {
        CTurnosDlg dialog;
        dialog.show();
        // "Buscar" picks the second shift type in its chooser.
        DvModal::QueueHandler([](QDialog& chooser) {
            auto& tipos = static_cast<CTiposTurnoDlg&>(chooser);
            tipos.List()->GotoCell(0, 1);
            tipos.SendCommand(CTemplateDialog::IdOk);
        });
        dialog.SendCommand(DlgId::FindShiftType);
        dialog.List()->GotoCell(0, 4);
        ok &= Save(&dialog, folder + QStringLiteral("/turnos.png"));
    }
    {
        CDetallesTurnoDlg dialog;
        dialog.SetShiftId(12);
        dialog.show();
        ok &= Save(&dialog, folder + QStringLiteral("/detalles-turno.png"));
    }
    {
        CDetallesTurnoDlg dialog;
        dialog.SetShiftId(14);
        dialog.show();
        ok &= Save(&dialog, folder + QStringLiteral("/detalles-turno-libre.png"));
    }
    CDbConnection::Instance().Close();
    return ok ? 0 : 1;
}
