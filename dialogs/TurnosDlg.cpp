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

// The shifts of a shift type in their stored rotation order (ties by ID, so that an
// older file's repeated ORDEN values keep a fixed order).
QList<int> StoredOrder(int shiftType) {
    QList<int> ids;
    CDbQuery query;
    CDbRecordset record =
        query.Open(QStringLiteral("SELECT ID FROM TURNOS WHERE ID_TIPOTURNO=%1 ORDER BY ORDEN, ID")
                       .arg(shiftType));
    while (record.IsOpen() && !record.IsEOF()) {
        ids << record.GetInt(0);
        if (!record.MoveNext())
            break;
    }
    return ids;
}

// ORDEN 1, 2, 3 ... in the order given. Inside the caller's transaction.
bool WriteOrder(CDbQuery& query, const QList<int>& ids) {
    for (int i = 0; i < ids.size(); ++i) {
        if (!query.SetIntById(kTable, QStringLiteral("ORDEN"), ids.at(i), i + 1))
            return false;
    }
    return true;
}

// Runs the change in one transaction: all of it is written, or none.
template <class Change> bool InTransaction(Change change) {
    CDbQuery query;
    if (!query.ExecuteCommand(QStringLiteral("BEGIN TRANSACTION")))
        return false;
    if (change(query) && query.ExecuteCommand(QStringLiteral("COMMIT TRANSACTION")))
        return true;
    query.ExecuteCommand(QStringLiteral("ROLLBACK TRANSACTION"), nullptr, 0);
    return false;
}

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
    // The new shift goes after every stored one, even where an older file left gaps.
    const int stored = CDbQuery().GetInt(kTable, QStringLiteral("MAX(ORDEN)"),
                                         QStringLiteral("ID_TIPOTURNO"), m_shiftType);
    CDetallesTurnoDlg record(this);
    record.SetShiftId(-1);
    record.SetOrderDefault(qMax(m_list->GetRowCount(), stored) + 1);
    record.SetShiftTypeDefault(m_shiftType);
    if (DvModal::Run(record) != QDialog::Accepted)
        return;
    if (record.GetShiftId() <= 0)
        return;
    m_list->AddShiftRow(static_cast<int>(record.GetShiftId()));
    // Closes any gap, so the rotation has one shift on every place.
    const QList<int> order = StoredOrder(m_shiftType);
    InTransaction([&order](CDbQuery& q) { return WriteOrder(q, order); });
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
    const int id = m_list->CurrentKey();
    // A worker's reference assignment names the shift he held: without it the worker
    // would silently drop out of every roster.
    {
        CDbQuery query;
        if (query.GetInt(QStringLiteral("ASIG_TURNOS"), QStringLiteral("ID"),
                         QStringLiteral("ID_TURNO"), id) != -1) {
            DvMessageBox::Show(this,
                               QStringLiteral("No se puede borrar un turno con personas asignadas"),
                               kCaption);
            return;
        }
    }
    if (DvMessageBox::Show(
            this, QStringLiteral("¿Esta seguro que desea borrar el elemento seleccionado?"),
            kCaption, DvMessageBox::YesNo, DvMessageBox::Question) == DvMessageBox::IdNo)
        return;
    // The shifts after it move up one place at once, whether the dialog then ends with
    // OK or Cancel: the rotation never has an empty place.
    const int shiftType = m_shiftType;
    const bool deleted = InTransaction([id, shiftType](CDbQuery& query) {
        if (!query.DeleteWhere(kTable, QStringLiteral("ID"), id))
            return false;
        return WriteOrder(query, StoredOrder(shiftType));
    });
    if (deleted)
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
    QList<int> order;
    for (int row = 0; row < m_list->GetRowCount(); ++row)
        order << m_list->RowKey(row);
    // On a failure (reported by the data layer) the list stays open in the order the
    // user made.
    if (!InTransaction([&order](CDbQuery& query) { return WriteOrder(query, order); }))
        return;
    CTemplateDialog::OnOK();
}
