#include "FestivosDlg.h"

#include "DbQuery.h"
#include "FichaFestivoDlg.h"
#include "MessageBox.h"
#include "Modal.h"

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTable = QStringLiteral("FIESTAS");
} // namespace

CFestivosGrid::CFestivosGrid(CFestivosDlg* dialog)
    : CConfigListGrid({{QStringLiteral("Día"), 0.3}, {QStringLiteral("Descripción"), 0.6}}, dialog),
      m_dialog(dialog) {}

QString CFestivosGrid::DayText(const CDateTime& day, bool yearly) {
    if (!day.IsValid())
        return QString();
    if (yearly)
        return QString::asprintf("Cada %02d/%02d", day.GetDay(), day.GetMonth());
    return QString::asprintf("%02d/%02d/%02d", day.GetDay(), day.GetMonth(), day.GetYear() % 100);
}

QStringList CFestivosGrid::HolidayTexts(int id) {
    CDbQuery query;
    CDateTime day = CDateTime::MakeNull();
    query.GetDateTimeById(kTable, QStringLiteral("DIA"), id, day);
    const bool yearly = query.GetFlagById(kTable, QStringLiteral("CICLICO"), id);
    return {DayText(day, yearly), query.GetTextById(kTable, QStringLiteral("DESCRIPCION"), id)};
}

void CFestivosGrid::OnCellDoubleClick(int, int, const QRect&, const QPoint&, int) {
    if (m_dialog)
        m_dialog->PostCommand(CFestivosDlg::IdEdit);
}

// ---------------------------------------------------------------------------------------

CFestivosDlg::CFestivosDlg(QWidget* parent)
    : CTemplateDialog(TemplateId, parent), m_list(new CFestivosGrid(this)) {}

int CFestivosDlg::Run(QWidget* parent) {
    CFestivosDlg dialog(parent);
    return DvModal::Run(dialog);
}

void CFestivosDlg::OnInitDialog() {
    m_list->Attach(this, IdList);
    // The order is the database's: the statement has no ordering clause.
    m_list->Fill(QStringLiteral("SELECT * FROM FIESTAS"),
                 [](const CDbRecordset& record, int& key, QStringList& texts) {
                     key = record.GetInt(QStringLiteral("ID"));
                     texts << CFestivosGrid::DayText(record.GetDateTime(QStringLiteral("DIA")),
                                                     record.GetFlag(QStringLiteral("CICLICO")))
                           << record.GetText(QStringLiteral("DESCRIPCION"));
                 });
}

bool CFestivosDlg::OnCommand(int id) {
    switch (id) {
    case IdAdd:
        OnAdd();
        return true;
    case IdEdit:
        OnEdit();
        return true;
    case IdDelete:
        OnDelete();
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

void CFestivosDlg::OnAdd() {
    CFichaFestivoDlg record(this);
    record.SetHolidayId(-1);
    if (DvModal::Run(record) != QDialog::Accepted || record.GetHolidayId() <= 0)
        return;
    const int id = static_cast<int>(record.GetHolidayId());
    m_list->AddRecordRow(id, CFestivosGrid::HolidayTexts(id));
}

void CFestivosDlg::OnEdit() {
    if (m_list->GetRowCount() == 0)
        return;
    const int row = m_list->GetCurrentRow();
    const int id = m_list->CurrentKey();
    if (row < 0 || id <= 0)
        return;
    CFichaFestivoDlg record(this);
    record.SetHolidayId(id);
    if (DvModal::Run(record) != QDialog::Accepted)
        return;
    m_list->WriteRow(row, id, CFestivosGrid::HolidayTexts(id));
}

void CFestivosDlg::OnDelete() {
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
