#include "FaltaBdDlg.h"

#include "Modal.h"

CFaltaBdDlg::CFaltaBdDlg(const QString& texto, QWidget* parent)
    : CTemplateDialog(TemplateId, parent), m_texto(texto) {
    setObjectName(QStringLiteral("CFaltaBdDlg"));
}

int CFaltaBdDlg::Preguntar(const QString& texto, QWidget* parent) {
    CFaltaBdDlg dialogo(texto, parent);
    const int resultado = DvModal::Run(dialogo);
    return resultado == IdVacia || resultado == IdDemostracion || resultado == IdAbrir ? resultado
                                                                                       : IdCancel;
}

void CFaltaBdDlg::OnInitDialog() {
    SetDlgItemText(IdTexto, m_texto);
}

bool CFaltaBdDlg::OnCommand(int id) {
    if (id == IdVacia || id == IdDemostracion || id == IdAbrir) {
        EndDialog(id);
        return true;
    }
    return CTemplateDialog::OnCommand(id);
}
