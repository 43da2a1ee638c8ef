#include "TurnosDlg.h"

#include "ColorRef.h"
#include "DbQuery.h"
#include "DetallesTurnoDlg.h"
#include "DialogIds.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "TiposTurnoDlg.h"

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTable = QStringLiteral("TURNOS");

QString TimeText(const CDateTime& time) {
    if (!time.IsValid())
        return QString();
    return QString::asprintf("%02d:%02d", time.GetHour(), time.GetMinute());
}
} // namespace

CTurnosGrid::CTurnosGrid(QWidget* parent)
    : CConfigListGrid({{QStringLiteral("Nombre"), 0.45}, {QStringLiteral("Horas"), 0.45}}, parent) {
}

QString CTurnosGrid::HoursText(const CDateTime& start, const CDateTime& end) {
    if (CDetallesTurnoDlg::IsRestDay(start))
        return QStringLiteral("Libre");
    return QStringLiteral("%1 - %2").arg(TimeText(start), TimeText(end));
}

QStringList CTurnosGrid::ShiftTexts(int shiftId) {
    CDbQuery query;
    CDateTime start = CDateTime::MakeNull();
    CDateTime end = CDateTime::MakeNull();
    query.GetDateTimeById(kTable, QStringLiteral("HORAINICIAL"), shiftId, start);
    query.GetDateTimeById(kTable, QStringLiteral("HORAFINAL"), shiftId, end);
    return {query.GetTextById(kTable, QStringLiteral("NOMBRE"), shiftId), HoursText(start, end)};
}

void CTurnosGrid::WriteShiftRow(int row, int shiftId) {
    WriteRow(row, shiftId, ShiftTexts(shiftId));
}

void CTurnosGrid::AddShiftRow(int shiftId) {
    AddRecordRow(shiftId, ShiftTexts(shiftId));
}

// ---------------------------------------------------------------------------------------

CTurnosDlg::CTurnosDlg(QWidget* parent)
    : CTemplateDialog(DlgId::Turnos, parent), m_list(new CTurnosGrid(this)) {}

int CTurnosDlg::Run(QWidget* parent) {
    CTurnosDlg dialog(parent);
    return DvModal::Run(dialog);
}

void CTurnosDlg::OnInitDialog() {
    if (auto* name = Item<CEditSpecial>(DlgId::ShiftTypeName))
        name->SetReadOnly(true, DvColor::ReadOnlyField);
    m_list->Attach(this, DlgId::List);
    FillList();
}

void CTurnosDlg::FillList() {
    m_list->Fill(QStringLiteral("SELECT * FROM TURNOS WHERE ID_TIPOTURNO=%1 ORDER BY ORDEN")
                     .arg(m_shiftType),
                 [](const CDbRecordset& record, int& key, QStringList& texts) {
                     key = record.GetInt(QStringLiteral("ID"));
                     texts << record.GetText(QStringLiteral("NOMBRE"))
                           << CTurnosGrid::HoursText(
                                  record.GetDateTime(QStringLiteral("HORAINICIAL")),
                                  record.GetDateTime(QStringLiteral("HORAFINAL")));
                 });
}

bool CTurnosDlg::OnCommand(int id) {
    switch (id) {
    case DlgId::FindShiftType:
        OnFind();
        return true;
    case DlgId::New:
        OnNew();
        return true;
    case DlgId::ShiftRecord:
        OnRecord();
        return true;
    case DlgId::Delete:
        OnDelete();
        return true;
    case DlgId::MoveUp:
        OnMove(-1);
        return true;
    case DlgId::MoveDown:
        OnMove(1);
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

void CTurnosDlg::OnFind() {
    m_shiftType = CTiposTurnoDlg::Choose(this);
    CDbQuery query;
    const QString name =
        query.GetTextById(QStringLiteral("TIPOSTURNO"), QStringLiteral("NOMBRE"), m_shiftType);
    SetDlgItemText(DlgId::ShiftTypeName, name);
    // A long name does not fit the field; the whole of it shows on pointing at it.
    if (QWidget* field = GetDlgItem(DlgId::ShiftTypeName))
        field->setToolTip(name);
    FillList();
}

void CTurnosDlg::OnNew() {
    // A shift belongs to a pattern: without one chosen it would be stored under no
    // shift type and never reach a roster.
    if (m_shiftType <= 0) {
        DvMessageBox::Show(this,
                           QStringLiteral("Elija primero con \"Buscar\" el tipo de turno al que "
                                          "pertenece el turno"),
                           kCaption);
        return;
    }
    CDetallesTurnoDlg record(this);
    record.SetShiftId(-1);
    record.SetOrderDefault(m_list->GetRowCount() + 1);
    record.SetShiftTypeDefault(m_shiftType);
    if (DvModal::Run(record) != QDialog::Accepted)
        return;
    if (record.GetShiftId() > 0)
        m_list->AddShiftRow(static_cast<int>(record.GetShiftId()));
}

void CTurnosDlg::OnRecord() {
    if (m_list->GetRowCount() == 0)
        return;
    const int row = m_list->GetCurrentRow();
    const int id = m_list->CurrentKey();
    CDetallesTurnoDlg record(this);
    record.SetShiftId(id);
    if (DvModal::Run(record) != QDialog::Accepted)
        return;
    m_list->WriteShiftRow(row, id);
}

void CTurnosDlg::OnDelete() {
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

void CTurnosDlg::OnMove(int step) {
    const int row = m_list->GetCurrentRow();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= m_list->GetRowCount())
        return;
    const int shift = m_list->RowKey(row);
    const int otherShift = m_list->RowKey(other);
    m_list->WriteShiftRow(row, otherShift);
    m_list->WriteShiftRow(other, shift);
    m_list->GotoCell(0, other);
}

void CTurnosDlg::OnOK() {
    // The new order is written whole or not at all: half a renumbering would leave two
    // shifts on the same place of the rotation.
    CDbQuery query;
    if (!query.ExecuteCommand(QStringLiteral("BEGIN TRANSACTION")))
        return;
    bool ok = true;
    for (int row = 0; ok && row < m_list->GetRowCount(); ++row)
        ok = query.SetIntById(kTable, QStringLiteral("ORDEN"), m_list->RowKey(row), row + 1);
    if (ok)
        ok = query.ExecuteCommand(QStringLiteral("COMMIT TRANSACTION"));
    if (!ok) {
        // Reported by the data layer; the list stays open in the order the user made.
        query.ExecuteCommand(QStringLiteral("ROLLBACK TRANSACTION"), nullptr, 0);
        return;
    }
    CTemplateDialog::OnOK();
}
