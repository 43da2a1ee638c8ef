#include "ServiciosDlg.h"

#include "DialogIds.h"
#include "Modal.h"

CServiciosGrid::CServiciosGrid(QWidget* parent)
    : CConfigListGrid({{QStringLiteral("Servicios"), 0.9}}, parent) {}

CNameListDlg::Setup CServiciosDlg::MakeSetup() {
    Setup setup;
    setup.templateId = DlgId::Servicios;
    setup.table = QStringLiteral("FUNCIONES");
    setup.fillSql = QStringLiteral("SELECT ID, NOMBRE FROM FUNCIONES");
    setup.duplicateMessage = QStringLiteral("Ya está insertado el servicio");
    setup.refTable = QStringLiteral("PERSONAL");
    setup.refColumn = QStringLiteral("ID_FUNCION");
    setup.refusedMessage = QStringLiteral("No se puede borrar un servicio con personas asignadas");
    return setup;
}

CServiciosDlg::CServiciosDlg(QWidget* parent)
    : CNameListDlg(
          MakeSetup(),
          [](QWidget* dialog) -> CConfigListGrid* { return new CServiciosGrid(dialog); }, parent) {}

int CServiciosDlg::Run(QWidget* parent) {
    CServiciosDlg dialog(parent);
    return DvModal::Run(dialog);
}

int CServiciosDlg::Choose(QWidget* parent) {
    CServiciosDlg dialog(parent);
    DvModal::Run(dialog);
    return dialog.GetChosen();
}
