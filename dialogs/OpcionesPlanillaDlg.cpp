#include "OpcionesPlanillaDlg.h"

#include "BoundControls.h"
#include "DbQuery.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"

#include <QAbstractButton>

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTabla = QStringLiteral("PREF_IMPRESION");
const QString kPreguntaRecargar =
    QStringLiteral("Para que los cambios tengan efecto se debe recargar la planilla.\r\n"
                   "¿Desea recargarla?");
const QString kNoGuardado =
    QStringLiteral("No se pudieron guardar las opciones de planilla. Pulse OK para intentarlo de "
                   "nuevo o Cancel para salir sin cambios.");
const QString kValorNoValido =
    QStringLiteral("El tamaño de fuente y el alto de fila deben ser números mayores que cero.");
} // namespace

COpcionesPlanillaDlg::COpcionesPlanillaDlg(QWidget* parent) : CTemplateDialog(TemplateId, parent) {}

void COpcionesPlanillaDlg::OnInitDialog() {
    for (int id : {IdTamFuente, IdAltoFila})
        if (auto* campo = Item<CEditSpecial>(id))
            campo->setMaxLength(MaxDigitos);

    m_filaId =
        CDbQuery().GetInt(kTabla, QStringLiteral("ID"), QStringLiteral("ID_SERVICIO"), m_servicio);
    // The order of the entries is the column order of the INSERT and UPDATE.
    m_binding.SetTable(kTabla);
    m_binding.BindInt(DvBindControl(GetDlgItem(IdTamFuente)), QStringLiteral("TAM_FUENTE"),
                      TamFuentePorDefecto);
    m_binding.BindInt(DvBindControl(GetDlgItem(IdAltoFila)), QStringLiteral("ALTO_FILA"),
                      AltoFilaPorDefecto);
    m_binding.BindInt(DvBindControl(GetDlgItem(IdServicio)), QStringLiteral("ID_SERVICIO"),
                      m_servicio);
    m_binding.BindFlag(DvBindControl(GetDlgItem(IdHorizontal)), QStringLiteral("HORIZONTAL"), true);
    m_binding.BindFlag(DvBindControl(GetDlgItem(IdAjustar)), QStringLiteral("AJUSTAR_HOJA"), true);
    m_binding.Load(m_filaId);

    if (QWidget* fuente = GetDlgItem(IdTamFuente)) {
        fuente->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(fuente))
            edit->selectAll();
    }
}

bool COpcionesPlanillaDlg::OnCommand(int id) {
    if (id == IdPorDefecto) {
        PonerPorDefecto();
        return true;
    }
    return CTemplateDialog::OnCommand(id);
}

void COpcionesPlanillaDlg::PonerPorDefecto() {
    // Only the fields change; nothing is stored until OK.
    if (auto* fuente = Item<CEditSpecial>(IdTamFuente))
        fuente->SetValue(TamFuentePorDefecto);
    if (auto* fila = Item<CEditSpecial>(IdAltoFila))
        fila->SetValue(AltoFilaPorDefecto);
    for (int id : {IdHorizontal, IdAjustar})
        if (auto* caja = Item<QAbstractButton>(id))
            caja->setChecked(true);
}

bool COpcionesPlanillaDlg::ValoresValidos() {
    // An emptied field would be stored as 0: a roster font and row of no height.
    for (int id : {IdTamFuente, IdAltoFila}) {
        auto* campo = Item<CEditSpecial>(id);
        if (campo && campo->GetValue() > 0)
            continue;
        DvMessageBox::Show(this, kValorNoValido, kCaption, DvMessageBox::Ok, DvMessageBox::Warning);
        if (campo) {
            campo->setFocus();
            campo->selectAll();
        }
        return false;
    }
    return true;
}

void COpcionesPlanillaDlg::OnOK() {
    if (!ValoresValidos())
        return;
    // A service without a row always gets one; a stored row is written only when a
    // field differs from it. A failed save keeps the dialog open with what was typed,
    // so nothing is lost and nothing claims to be stored.
    if (m_binding.IsModified(m_filaId) && !m_binding.Save(m_filaId)) {
        DvMessageBox::Show(this, kNoGuardado, kCaption, DvMessageBox::Ok, DvMessageBox::Warning);
        return;
    }
    CTemplateDialog::OnOK();
}

void COpcionesPlanillaDlg::LeerTamanos(int servicio, int& tamFuente, int& altoFila) {
    CDbQuery consulta;
    tamFuente = consulta.GetInt(kTabla, QStringLiteral("TAM_FUENTE"), QStringLiteral("ID_SERVICIO"),
                                servicio);
    altoFila = consulta.GetInt(kTabla, QStringLiteral("ALTO_FILA"), QStringLiteral("ID_SERVICIO"),
                               servicio);
    // -1 is "no row": the roster grid would take it as a font one pixel high.
    if (tamFuente < 0)
        tamFuente = TamFuentePorDefecto;
    if (altoFila < 0)
        altoFila = AltoFilaPorDefecto;
}

COpcionesPlanillaDlg::Resultado COpcionesPlanillaDlg::Run(QWidget* parent, int servicio,
                                                          const AplicarFuente& aplicar) {
    COpcionesPlanillaDlg dialog(parent);
    dialog.SetServicio(servicio);
    if (DvModal::Run(dialog) != QDialog::Accepted)
        return Cancelado;

    if (aplicar) {
        int tamFuente = TamFuentePorDefecto;
        int altoFila = AltoFilaPorDefecto;
        LeerTamanos(servicio, tamFuente, altoFila);
        aplicar(tamFuente, altoFila);
    }
    // The roster already built keeps its old cells until it is built again.
    const auto respuesta = DvMessageBox::Show(parent, kPreguntaRecargar, kCaption,
                                              DvMessageBox::YesNo, DvMessageBox::Question);
    return respuesta == DvMessageBox::IdYes ? Recargar : Aceptado;
}
