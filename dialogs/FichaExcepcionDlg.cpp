#include "FichaExcepcionDlg.h"

#include "BoundControls.h"
#include "ComboList.h"
#include "DbQuery.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "PickDateDlg.h"

#include <QRadioButton>

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTable = QStringLiteral("EXCEPCIONES");
} // namespace

CFichaExcepcionDlg::CFichaExcepcionDlg(QWidget* parent) : CTemplateDialog(TemplateId, parent) {}

void CFichaExcepcionDlg::OnInitDialog() {
    for (int id : {IdStart, IdEnd}) {
        if (auto* edit = Item<CEditSpecial>(id))
            edit->SetMask(QStringLiteral("##:##"));
    }
    m_binding.SetTable(kTable);
    m_binding.BindDateTime(DvBindControl(GetDlgItem(IdHoursDate)),
                           DvBindControl(GetDlgItem(IdStart)), QStringLiteral("HORAINICIAL"),
                           CDateTime(1899, 12, 30, 8, 0, 0), false);
    m_binding.BindDateTime(DvBindControl(GetDlgItem(IdHoursDate)), DvBindControl(GetDlgItem(IdEnd)),
                           QStringLiteral("HORAFINAL"), CDateTime(1899, 12, 30, 15, 0, 0), false);
    m_binding.BindDateTime(DvBindControl(GetDlgItem(IdDay)), DvBindControl(GetDlgItem(IdDayTime)),
                           QStringLiteral("DIA"), m_day, false);
    m_binding.BindInt(DvBindControl(GetDlgItem(IdKind)), QStringLiteral("TIPO"), KindRemove);
    m_binding.BindInt(DvBindControl(GetDlgItem(IdWorkerKey)), QStringLiteral("ID_PERSONAL"), 0);
    m_binding.Load(m_exceptionId);
    ShowHoursDate();

    const auto* workerKey = Item<CEditSpecial>(IdWorkerKey);
    const int worker = workerKey ? workerKey->GetValue() : 0;
    if (auto* person = Item<CComboList>(IdPerson)) {
        person->FillFromQuery(
            QStringLiteral("SELECT * FROM PERSONAL WHERE ID_FUNCION=%1").arg(m_service),
            QStringLiteral("NOMBREPLANILLA"), QStringLiteral("ID"), worker, true);
        // A worker who is not offered (none yet, or of another service) leaves the
        // choice empty rather than showing someone else.
        if (person->SelectByItemData(worker) < 0)
            person->setCurrentIndex(-1);
    }

    const auto* kind = Item<CEditSpecial>(IdKind);
    const bool remove = !kind || kind->GetValue() == KindRemove;
    if (auto* button = Item<QRadioButton>(remove ? IdRemove : IdAddTo))
        button->setChecked(true);
    EnableHours(!remove);
}

void CFichaExcepcionDlg::ShowHoursDate() {
    CDateTime date(1899, 12, 30);
    if (m_exceptionId > 0) {
        CDbQuery query;
        query.GetDateTimeById(kTable, QStringLiteral("HORAINICIAL"), m_exceptionId, date);
    }
    if (!date.IsValid())
        return;
    SetDlgItemText(IdHoursDate, QString::asprintf("%02d-%02d-%04d", date.GetDay(), date.GetMonth(),
                                                  date.GetYear()));
}

void CFichaExcepcionDlg::EnableHours(bool enable) {
    for (int id : {IdStartLabel, IdStart, IdEndLabel, IdEnd}) {
        if (QWidget* control = GetDlgItem(id))
            control->setEnabled(enable);
    }
}

bool CFichaExcepcionDlg::OnCommand(int id) {
    switch (id) {
    case IdRemove:
        EnableHours(false);
        return true;
    case IdAddTo:
        EnableHours(true);
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

void CFichaExcepcionDlg::OnOK() {
    const auto* removeButton = Item<QRadioButton>(IdRemove);
    const bool remove = removeButton && removeButton->isChecked();
    const auto* person = Item<CComboList>(IdPerson);
    const int worker = person ? person->GetSelectedItemData() : -1;

    // An exception stored without its day, its worker or (for an addition) its hours
    // would never reach the roster, and one without a day could not even be found
    // again: such records are not written.
    CDateTime value;
    const auto* day = Item<CEditSpecial>(IdDay);
    if (!day || !day->GetDate(value)) {
        DvMessageBox::Show(this, QStringLiteral("La fecha no es válida"), kCaption);
        return;
    }
    if (worker <= 0) {
        DvMessageBox::Show(this, QStringLiteral("No se ha elegido la persona"), kCaption);
        return;
    }
    if (!remove) {
        const auto* start = Item<CEditSpecial>(IdStart);
        const auto* end = Item<CEditSpecial>(IdEnd);
        CDateTime startTime, endTime;
        if (!start || !end || !start->GetTime(startTime) || !end->GetTime(endTime)) {
            DvMessageBox::Show(this,
                               QStringLiteral("Las horas de inicio y de final deben ser "
                                              "horas válidas (hh:mm)"),
                               kCaption);
            return;
        }
    }

    if (auto* kind = Item<CEditSpecial>(IdKind))
        kind->SetValue(remove ? KindRemove : KindAdd);
    if (auto* workerKey = Item<CEditSpecial>(IdWorkerKey))
        workerKey->SetValue(worker);
    DvFillEmptyTime(Item<CEditSpecial>(IdDayTime), false);
    long id = m_exceptionId;
    // A failed save was reported; the record stays open with what the user chose.
    if (!m_binding.Save(id))
        return;
    m_exceptionId = id;
    CTemplateDialog::OnOK();
}
