#include "FichaFestivoDlg.h"

#include "BoundControls.h"
#include "Clock.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "PickDateDlg.h"

namespace {
const QString kCaption = QStringLiteral("Dravonela");
} // namespace

CFichaFestivoDlg::CFichaFestivoDlg(QWidget* parent) : CTemplateDialog(TemplateId, parent) {}

void CFichaFestivoDlg::OnInitDialog() {
    if (auto* day = Item<CEditSpecial>(IdDay))
        day->SetMask(QStringLiteral("##-##-##"));
    m_binding.SetTable(QStringLiteral("FIESTAS"));
    // A new holiday starts on the moment the record is opened.
    m_binding.BindDateTime(DvBindControl(GetDlgItem(IdDay)), DvBindControl(GetDlgItem(IdTime)),
                           QStringLiteral("DIA"), CDateTime::FromQDateTime(DvClock::Now()), false);
    m_binding.BindFlag(DvBindControl(GetDlgItem(IdYearly)), QStringLiteral("CICLICO"), true);
    m_binding.BindText(DvBindControl(GetDlgItem(IdDescription)), QStringLiteral("DESCRIPCION"), 30);
    m_binding.Load(m_holidayId);
}

bool CFichaFestivoDlg::OnCommand(int id) {
    if (id == IdChooseDay) {
        CPickDateDlg::PickInto(this, Item<CEditSpecial>(IdDay));
        return true;
    }
    return CTemplateDialog::OnCommand(id);
}

void CFichaFestivoDlg::OnOK() {
    // A day that cannot be read would be stored empty: such a holiday never reaches a
    // roster and cannot be found again by its day.
    CDateTime day;
    const auto* dayField = Item<CEditSpecial>(IdDay);
    if (!dayField || !dayField->GetDate(day)) {
        DvMessageBox::Show(this, QStringLiteral("La fecha no es válida"), kCaption);
        return;
    }
    DvFillEmptyTime(Item<CEditSpecial>(IdTime), false);
    long id = m_holidayId;
    // A failed save was reported; the record stays open with what the user typed.
    if (!m_binding.Save(id))
        return;
    m_holidayId = id;
    CTemplateDialog::OnOK();
}
