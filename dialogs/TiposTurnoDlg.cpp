#include "TiposTurnoDlg.h"

#include "DialogIds.h"
#include "Modal.h"

CTiposTurnoGrid::CTiposTurnoGrid(QWidget* parent)
    : CConfigListGrid({{QStringLiteral("Nombre"), 0.9}}, parent) {}

CNameListDlg::Setup CTiposTurnoDlg::MakeSetup() {
    Setup setup;
    setup.templateId = DlgId::TiposTurno;
    setup.table = QStringLiteral("TIPOSTURNO");
    setup.fillSql = QStringLiteral("SELECT * FROM TIPOSTURNO");
    setup.duplicateMessage = QStringLiteral("Ya está insertada el tipo de turno");
    setup.refTable = QStringLiteral("TURNOS");
    setup.refColumn = QStringLiteral("ID_TIPOTURNO");
    setup.refusedMessage =
        QStringLiteral("No se puede borrar un tipo de turno con turnos asignados");
    return setup;
}

CTiposTurnoDlg::CTiposTurnoDlg(QWidget* parent)
    : CNameListDlg(
          MakeSetup(),
          [](QWidget* dialog) -> CConfigListGrid* { return new CTiposTurnoGrid(dialog); }, parent) {
}

int CTiposTurnoDlg::Run(QWidget* parent) {
    CTiposTurnoDlg dialog(parent);
    return DvModal::Run(dialog);
}

int CTiposTurnoDlg::Choose(QWidget* parent) {
    CTiposTurnoDlg dialog(parent);
    DvModal::Run(dialog);
    return dialog.GetChosen();
}
