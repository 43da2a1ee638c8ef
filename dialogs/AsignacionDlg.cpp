#include "AsignacionDlg.h"

#include "BoundControls.h"
#include "Clock.h"
#include "ColorRef.h"
#include "ComboList.h"
#include "DbQuery.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "PersonalDlg.h"
#include "PickDateDlg.h"

#include <QSignalBlocker>

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTable = QStringLiteral("ASIG_TURNOS");
} // namespace

CAsignacionGrid::CAsignacionGrid(QWidget* parent)
    : CConfigListGrid({{QStringLiteral("Turno"), 0.45}, {QStringLiteral("Fecha ref."), 0.45}},
                      parent) {}

QStringList CAsignacionGrid::RowTexts(int shift, const CDateTime& referenceDay) {
    CDbQuery query;
    const QString shiftName =
        query.GetTextById(QStringLiteral("TURNOS"), QStringLiteral("NOMBRE"), shift);
    const int shiftType =
        query.GetIntById(QStringLiteral("TURNOS"), QStringLiteral("ID_TIPOTURNO"), shift);
    const QString typeName =
        query.GetTextById(QStringLiteral("TIPOSTURNO"), QStringLiteral("NOMBRE"), shiftType);
    return {QStringLiteral("%1 - %2").arg(typeName, shiftName), DvFieldDateText(referenceDay)};
}

QStringList CAsignacionGrid::AssignmentTexts(int id) {
    CDbQuery query;
    CDateTime day = CDateTime::MakeNull();
    query.GetDateTimeById(kTable, QStringLiteral("DIA_REF"), id, day);
    return RowTexts(query.GetIntById(kTable, QStringLiteral("ID_TURNO"), id), day);
}

// ---------------------------------------------------------------------------------------

CAsignacionDlg::CAsignacionDlg(QWidget* parent)
    : CTemplateDialog(TemplateId, parent), m_list(new CAsignacionGrid(this)) {}

int CAsignacionDlg::Run(QWidget* parent) {
    CAsignacionDlg dialog(parent);
    return DvModal::Run(dialog);
}

void CAsignacionDlg::OnInitDialog() {
    if (auto* name = Item<CEditSpecial>(IdWorkerName))
        name->SetReadOnly(true, DvColor::ReadOnlyField);
    if (auto* date = Item<CEditSpecial>(IdDate))
        date->SetMask(QStringLiteral("##-##-##"));

    m_binding.SetTable(kTable);
    m_binding.BindInt(DvBindControl(GetDlgItem(IdWorkerKey)), QStringLiteral("ID_PERSONAL"), 0);
    m_binding.BindInt(DvBindControl(GetDlgItem(IdShiftKey)), QStringLiteral("ID_TURNO"), 0);
    m_binding.BindDateTime(DvBindControl(GetDlgItem(IdDate)), DvBindControl(GetDlgItem(IdTime)),
                           QStringLiteral("DIA_REF"), CDateTime(), true);
    m_binding.Load(-1);

    m_list->Attach(this, IdList);

    SetDlgItemText(IdTime, QStringLiteral("00:00:00"));
    if (auto* date = Item<CEditSpecial>(IdDate)) {
        const QDate today = DvClock::Today();
        date->SetDate(CDateTime(today.year(), today.month(), today.day()));
    }

    if (auto* types = Item<CComboList>(IdShiftType)) {
        const QSignalBlocker quiet(types);
        CDbQuery query;
        const auto* shiftKey = Item<CEditSpecial>(IdShiftKey);
        const int type = query.GetIntById(QStringLiteral("TURNOS"), QStringLiteral("ID_TIPOTURNO"),
                                          shiftKey ? shiftKey->GetValue() : 0);
        types->FillFromQuery(QStringLiteral("SELECT * FROM TIPOSTURNO"), QStringLiteral("NOMBRE"),
                             QStringLiteral("ID"), type, true);
        connect(types, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this](int) { OnShiftTypeChanged(); });
    }
    FillShifts();
    if (auto* shifts = Item<CComboList>(IdShift))
        connect(shifts, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this](int) { OnShiftChanged(); });
}

void CAsignacionDlg::FillShifts() {
    auto* shifts = Item<CComboList>(IdShift);
    const auto* types = Item<CComboList>(IdShiftType);
    const auto* shiftKey = Item<CEditSpecial>(IdShiftKey);
    if (!shifts || !types)
        return;
    // Filling is not a choice of the user: the shift key keeps its value.
    const QSignalBlocker quiet(shifts);
    const int key = shiftKey ? shiftKey->GetValue() : 0;
    shifts->FillFromQuery(QStringLiteral("SELECT * FROM TURNOS WHERE ID_TIPOTURNO=%1")
                              .arg(types->GetSelectedItemData()),
                          QStringLiteral("NOMBRE"), QStringLiteral("ID"), key, true);
    if (shifts->SelectByItemData(key) < 0)
        shifts->setCurrentIndex(-1);
}

void CAsignacionDlg::OnShiftTypeChanged() {
    FillShifts();
}

void CAsignacionDlg::OnShiftChanged() {
    const auto* shifts = Item<CComboList>(IdShift);
    auto* shiftKey = Item<CEditSpecial>(IdShiftKey);
    if (shifts && shiftKey && shifts->currentIndex() >= 0)
        shiftKey->SetValue(shifts->GetSelectedItemData());
}

bool CAsignacionDlg::OnCommand(int id) {
    switch (id) {
    case IdFind:
        OnFind();
        return true;
    case IdChooseDate:
        OnChooseDate();
        return true;
    case IdAssign:
        OnAssign();
        return true;
    case IdDelete:
        OnDelete();
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

int CAsignacionDlg::GetWorker() const {
    const auto* key = Item<CEditSpecial>(IdWorkerKey);
    return key ? key->GetValue() : 0;
}

void CAsignacionDlg::OnFind() {
    ShowWorker(CPersonalDlg::Search(this));
}

void CAsignacionDlg::ShowWorker(int worker) {
    if (auto* key = Item<CEditSpecial>(IdWorkerKey))
        key->SetValue(worker);
    CDbQuery query;
    const QString name =
        query.GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("NOMBRE"), worker);
    const QString surnames =
        query.GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("APELLIDOS"), worker);
    SetDlgItemText(IdWorkerName, QStringLiteral("%1 %2").arg(name, surnames));

    m_list->Fill(QStringLiteral("SELECT * FROM ASIG_TURNOS WHERE ID_PERSONAL=%1 ORDER BY DIA_REF")
                     .arg(worker),
                 [](const CDbRecordset& record, int& key, QStringList& texts) {
                     key = record.GetInt(QStringLiteral("ID"));
                     texts =
                         CAsignacionGrid::RowTexts(record.GetInt(QStringLiteral("ID_TURNO")),
                                                   record.GetDateTime(QStringLiteral("DIA_REF")));
                 });
}

void CAsignacionDlg::OnChooseDate() {
    CPickDateDlg::PickInto(this, Item<CEditSpecial>(IdDate));
}

void CAsignacionDlg::OnAssign() {
    // An assignment of no worker would be stored where no list can ever show it.
    if (GetWorker() <= 0) {
        DvMessageBox::Show(this, QStringLiteral("Elija primero con \"Buscar\" el trabajador"),
                           kCaption);
        return;
    }
    const auto* shiftKey = Item<CEditSpecial>(IdShiftKey);
    const auto* shifts = Item<CComboList>(IdShift);
    // The shift stored is the one the form shows: after a change of type, nothing is
    // chosen until a shift of that type is selected.
    if (!shiftKey || shiftKey->GetValue() <= 0 || !shifts || shifts->currentIndex() < 0) {
        DvMessageBox::Show(this, QStringLiteral("No se ha elegido el turno"), kCaption);
        return;
    }
    // An assignment without its day is never used by the roster.
    CDateTime day;
    const auto* date = Item<CEditSpecial>(IdDate);
    if (!date || !date->GetDate(day)) {
        DvMessageBox::Show(this, QStringLiteral("La fecha no es válida"), kCaption);
        return;
    }
    DvFillEmptyTime(Item<CEditSpecial>(IdTime), true);
    long id = -1;
    if (m_binding.IsModified(id) && !m_binding.Save(id))
        return; // reported by the data layer
    if (id > 0)
        m_list->AddRecordRow(static_cast<int>(id),
                             CAsignacionGrid::AssignmentTexts(static_cast<int>(id)));
}

void CAsignacionDlg::OnDelete() {
    if (m_list->GetRowCount() == 0)
        return;
    if (DvMessageBox::Show(
            this, QStringLiteral("¿Esta seguro que desea borrar el elemento seleccionado?"),
            kCaption, DvMessageBox::YesNo, DvMessageBox::Question) == DvMessageBox::IdNo)
        return;
    CDbQuery query;
    if (query.DeleteWhere(kTable, QStringLiteral("ID"), m_list->CurrentKey()))
        m_list->RemoveCurrentRow();
}
