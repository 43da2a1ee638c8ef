#include "DetallesTurnoDlg.h"

#include "BoundControls.h"
#include "DbQuery.h"
#include "DialogIds.h"
#include "MaskedEdit.h"
#include "MessageBox.h"

#include <QCheckBox>

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTimeMask = QStringLiteral("##:##:##");
} // namespace

CDetallesTurnoDlg::CDetallesTurnoDlg(QWidget* parent)
    : CTemplateDialog(DlgId::DetallesTurno, parent) {}

void CDetallesTurnoDlg::OnInitDialog() {
    auto* start = Item<CEditSpecial>(DlgId::ShiftStart);
    auto* end = Item<CEditSpecial>(DlgId::ShiftEnd);
    if (start)
        start->SetMask(kTimeMask);
    if (end)
        end->SetMask(kTimeMask);

    // A new shift's times lie on the zero date until OK marks the kind of day.
    const CDateTime zero(1899, 12, 30);
    m_binding.SetTable(QStringLiteral("TURNOS"));
    m_binding.BindText(DvBindControl(GetDlgItem(DlgId::ShiftName)), QStringLiteral("NOMBRE"), 30);
    m_binding.BindInt(DvBindControl(GetDlgItem(DlgId::ShiftOrder)), QStringLiteral("ORDEN"),
                      m_orderDefault);
    m_binding.BindInt(DvBindControl(GetDlgItem(DlgId::ShiftType)), QStringLiteral("ID_TIPOTURNO"),
                      m_shiftTypeDefault);
    m_binding.BindDateTime(DvBindControl(GetDlgItem(DlgId::DayKind)), DvBindControl(start),
                           QStringLiteral("HORAINICIAL"), zero, true);
    m_binding.BindDateTime(DvBindControl(GetDlgItem(DlgId::DayKind)), DvBindControl(end),
                           QStringLiteral("HORAFINAL"), zero, true);
    m_binding.Load(m_shiftId);

    bool rest = false;
    if (m_shiftId > 0) {
        CDateTime stored = CDateTime::MakeNull();
        CDbQuery query;
        query.GetDateTimeById(QStringLiteral("TURNOS"), QStringLiteral("HORAINICIAL"), m_shiftId,
                              stored);
        rest = stored.IsValid() && stored.DatePart() == RestDayMarker();
    }
    if (auto* restDay = Item<QCheckBox>(DlgId::RestDay))
        restDay->setChecked(rest);
    EnableTimes();
}

void CDetallesTurnoDlg::EnableTimes() {
    const auto* restDay = Item<QCheckBox>(DlgId::RestDay);
    const bool working = !(restDay && restDay->isChecked());
    for (int id : {DlgId::ShiftStart, DlgId::ShiftEnd}) {
        if (QWidget* edit = GetDlgItem(id))
            edit->setEnabled(working);
    }
}

bool CDetallesTurnoDlg::OnCommand(int id) {
    if (id == DlgId::RestDay) {
        EnableTimes();
        return true;
    }
    return CTemplateDialog::OnCommand(id);
}

void CDetallesTurnoDlg::OnOK() {
    const auto* restDay = Item<QCheckBox>(DlgId::RestDay);
    const bool rest = restDay && restDay->isChecked();
    if (!rest) {
        // A working shift is its hours: one that cannot be read would be stored empty
        // and the shift would reach the roster with no period to show it in.
        for (int id : {DlgId::ShiftStart, DlgId::ShiftEnd}) {
            auto* edit = Item<CEditSpecial>(id);
            CDateTime time;
            if (edit && !edit->GetTime(time)) {
                DvMessageBox::Show(this, QStringLiteral("La hora no es válida"), kCaption);
                edit->setFocus();
                return;
            }
        }
    } else {
        // A rest day's times cannot be edited; one left unreadable must not cost the
        // shift its rest-day marker (an unreadable time stores no date at all).
        for (int id : {DlgId::ShiftStart, DlgId::ShiftEnd}) {
            auto* edit = Item<CEditSpecial>(id);
            CDateTime time;
            if (edit && !edit->GetTime(time))
                edit->SetTime(CDateTime(1899, 12, 30), true);
        }
    }
    if (auto* dayKind = Item<CEditSpecial>(DlgId::DayKind))
        dayKind->SetDate(rest ? RestDayMarker() : ShiftMarker());
    if (m_binding.IsModified(m_shiftId)) {
        long id = m_shiftId;
        // A failed save was reported; the form stays open with what the user typed.
        if (!m_binding.Save(id))
            return;
        m_shiftId = id;
    }
    CTemplateDialog::OnOK();
}
