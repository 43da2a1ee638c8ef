#include "ExcepcionesDlg.h"

#include "DbQuery.h"
#include "FichaExcepcionDlg.h"
#include "MessageBox.h"
#include "Modal.h"

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTable = QStringLiteral("EXCEPCIONES");

QStringList RowTexts(int worker, int kind, const CDateTime& start, const CDateTime& end) {
    CDbQuery query;
    return {query.GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("NOMBREPLANILLA"), worker),
            CExcepcionesGrid::DescriptionText(kind, start, end)};
}
} // namespace

CExcepcionesGrid::CExcepcionesGrid(CExcepcionesDlg* dialog)
    : CConfigListGrid({{QStringLiteral("Personal"), 0.35}, {QStringLiteral("Descipción"), 0.6}},
                      dialog),
      m_dialog(dialog) {}

QString CExcepcionesGrid::DescriptionText(int kind, const CDateTime& start, const CDateTime& end) {
    if (kind == 1)
        return QStringLiteral("Eliminado del turno");
    return QString::asprintf("Añadido de %i a %i", start.IsValid() ? start.GetHour() : 0,
                             end.IsValid() ? end.GetHour() : 0);
}

QStringList CExcepcionesGrid::ExceptionTexts(int id) {
    CDbQuery query;
    CDateTime start = CDateTime::MakeNull();
    CDateTime end = CDateTime::MakeNull();
    query.GetDateTimeById(kTable, QStringLiteral("HORAINICIAL"), id, start);
    query.GetDateTimeById(kTable, QStringLiteral("HORAFINAL"), id, end);
    return RowTexts(query.GetIntById(kTable, QStringLiteral("ID_PERSONAL"), id),
                    query.GetIntById(kTable, QStringLiteral("TIPO"), id), start, end);
}

void CExcepcionesGrid::OnCellDoubleClick(int, int, const QRect&, const QPoint&, int) {
    if (m_dialog)
        m_dialog->PostCommand(CExcepcionesDlg::IdEdit);
}

// ---------------------------------------------------------------------------------------

CExcepcionesDlg::CExcepcionesDlg(QWidget* parent)
    : CTemplateDialog(TemplateId, parent), m_list(new CExcepcionesGrid(this)) {}

int CExcepcionesDlg::Run(QWidget* parent, const CDateTime& day, int service) {
    CExcepcionesDlg dialog(parent);
    dialog.SetDay(day);
    dialog.SetService(service);
    return DvModal::Run(dialog);
}

void CExcepcionesDlg::OnInitDialog() {
    setWindowTitle(QString::asprintf("Excepciones para el día: %02d/%02d/%02d", m_day.GetDay(),
                                     m_day.GetMonth(), m_day.GetYear() % 100));
    m_list->Attach(this, IdList);
    m_list->Fill(QString::asprintf("SELECT * FROM EXCEPCIONES WHERE DATEPART(\"d\",DIA)=%02d  AND "
                                   "DATEPART(\"m\",DIA)=%02d AND DATEPART(\"yyyy\",DIA)=%04d",
                                   m_day.GetDay(), m_day.GetMonth(), m_day.GetYear()),
                 [](const CDbRecordset& record, int& key, QStringList& texts) {
                     key = record.GetInt(QStringLiteral("ID"));
                     texts = RowTexts(record.GetInt(QStringLiteral("ID_PERSONAL")),
                                      record.GetInt(QStringLiteral("TIPO")),
                                      record.GetDateTime(QStringLiteral("HORAINICIAL")),
                                      record.GetDateTime(QStringLiteral("HORAFINAL")));
                 });
}

bool CExcepcionesDlg::OnCommand(int id) {
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

bool CExcepcionesDlg::IsOnDay(int id) const {
    CDbQuery query;
    CDateTime day = CDateTime::MakeNull();
    query.GetDateTimeById(kTable, QStringLiteral("DIA"), id, day);
    return day.IsValid() && day.DayNumber() == m_day.DayNumber();
}

void CExcepcionesDlg::OnAdd() {
    CFichaExcepcionDlg record(this);
    record.SetService(m_service);
    record.SetDay(m_day);
    record.SetExceptionId(-1);
    if (DvModal::Run(record) != QDialog::Accepted || record.GetExceptionId() <= 0)
        return;
    const int id = static_cast<int>(record.GetExceptionId());
    // An exception the user moved to another day belongs to that day's list.
    if (IsOnDay(id))
        m_list->AddRecordRow(id, CExcepcionesGrid::ExceptionTexts(id));
}

void CExcepcionesDlg::OnEdit() {
    if (m_list->GetRowCount() == 0)
        return;
    const int row = m_list->GetCurrentRow();
    const int id = m_list->CurrentKey();
    if (row < 0 || id <= 0)
        return;
    CFichaExcepcionDlg record(this);
    record.SetService(m_service);
    record.SetDay(m_day);
    record.SetExceptionId(id);
    if (DvModal::Run(record) != QDialog::Accepted)
        return;
    if (IsOnDay(id))
        m_list->WriteRow(row, id, CExcepcionesGrid::ExceptionTexts(id));
    else
        m_list->RemoveCurrentRow();
}

void CExcepcionesDlg::OnDelete() {
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
