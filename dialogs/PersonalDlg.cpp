#include "PersonalDlg.h"

#include "ComboList.h"
#include "DbError.h"
#include "DbQuery.h"
#include "DialogIds.h"
#include "FichaPersonalDlg.h"
#include "MessageBox.h"
#include "Modal.h"

#include <QPushButton>

namespace {
const QString kCaption = QStringLiteral("Dravonela");

// What else refers to a worker, in the order it is cleared after his own row.
const char* const kWorkerCascade[] = {
    "DELETE FROM EXCEPCIONES WHERE ID_PERSONAL=%1",
    "DELETE FROM ASIG_TURNOS WHERE ID_PERSONAL=%1",
    "DELETE FROM VACACIONES WHERE ID_PERSONAL=%1",
    "UPDATE  VACACIONES SET ID_SUPLENTE=-1 WHERE ID_SUPLENTE=%1",
    "DELETE FROM BAJAS WHERE ID_PERSONAL=%1",
    "UPDATE  BAJAS SET ID_SUPLENTE=-1 WHERE ID_SUPLENTE=%1",
    "DELETE FROM DIASPERSONALES WHERE ID_PERSONAL=%1",
    "UPDATE  DIASPERSONALES SET ID_SUPLENTE=-1 WHERE ID_SUPLENTE=%1",
};
} // namespace

CPersonalGrid::CPersonalGrid(CPersonalDlg* dialog)
    : CConfigListGrid({{QStringLiteral("Nombre"), 0.9}}, dialog), m_dialog(dialog) {}

QString CPersonalGrid::WorkerText(const QString& name, const QString& surnames) {
    return QStringLiteral("%1, %2").arg(surnames, name);
}

void CPersonalGrid::OnCellDoubleClick(int, int row, const QRect&, const QPoint&, int) {
    if (!m_dialog || row < 0)
        return;
    // Posted, so the grid finishes handling its click before the dialog may close.
    m_dialog->PostCommand(m_dialog->IsSearchMode() ? CTemplateDialog::IdOk : DlgId::Edit);
}

// ---------------------------------------------------------------------------------------

CPersonalDlg::CPersonalDlg(QWidget* parent)
    : CTemplateDialog(DlgId::Personal, parent), m_list(new CPersonalGrid(this)) {}

int CPersonalDlg::Run(QWidget* parent, CalendarioHandler calendario) {
    CPersonalDlg dialog(parent);
    dialog.SetCalendario(std::move(calendario));
    return DvModal::Run(dialog);
}

int CPersonalDlg::Search(QWidget* parent) {
    CPersonalDlg dialog(parent);
    dialog.SetSearchMode(true);
    DvModal::Run(dialog);
    return dialog.GetChosen();
}

void CPersonalDlg::OnInitDialog() {
    auto* filter = Item<CComboList>(DlgId::ServiceFilter);
    if (filter) {
        filter->AddItem(QStringLiteral("Todos"), 0);
        filter->FillFromQuery(QStringLiteral("SELECT * FROM FUNCIONES"), QStringLiteral("NOMBRE"),
                              QStringLiteral("ID"), 0, false);
    }
    if (m_search) {
        setWindowTitle(QStringLiteral("Búsqueda de personal"));
        SetDlgItemText(IdOk, QStringLiteral("Seleccionar"));
    }
    if (QWidget* calendario = GetDlgItem(IdCalendario))
        calendario->setVisible(m_calendario && !m_search);
    m_list->Attach(this, DlgId::List);
    FillList(filter ? filter->GetSelectedItemData() : 0);
    if (filter)
        connect(filter, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this]() { OnServiceChanged(); });
}

void CPersonalDlg::FillList(int serviceKey) {
    const QString sql =
        serviceKey != 0
            ? QStringLiteral("SELECT ID, NOMBRE,APELLIDOS FROM PERSONAL WHERE ID_FUNCION=%1 "
                             "ORDER BY APELLIDOS")
                  .arg(serviceKey)
            : QStringLiteral("SELECT ID, NOMBRE,APELLIDOS FROM PERSONAL  ORDER BY APELLIDOS");
    m_list->Fill(sql, [](const CDbRecordset& record, int& key, QStringList& texts) {
        key = record.GetInt(QStringLiteral("ID"));
        texts << CPersonalGrid::WorkerText(record.GetText(QStringLiteral("NOMBRE")),
                                           record.GetText(QStringLiteral("APELLIDOS")));
    });
}

QString CPersonalDlg::WorkerRowText(int id) const {
    CDbQuery query;
    return CPersonalGrid::WorkerText(
        query.GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("NOMBRE"), id),
        query.GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("APELLIDOS"), id));
}

bool CPersonalDlg::OnCommand(int id) {
    switch (id) {
    case DlgId::New:
        OnNew();
        return true;
    case DlgId::Edit:
        OnEdit();
        return true;
    case DlgId::Delete:
        OnDelete();
        return true;
    case IdCalendario:
        OnCalendario();
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

void CPersonalDlg::OnServiceChanged() {
    const auto* filter = Item<CComboList>(DlgId::ServiceFilter);
    FillList(filter ? filter->GetSelectedItemData() : 0);
}

void CPersonalDlg::OnNew() {
    const auto* filter = Item<CComboList>(DlgId::ServiceFilter);
    const int service = filter ? filter->GetSelectedItemData() : 0;
    CFichaPersonalDlg record(this);
    record.SetWorkerId(-1);
    record.SetPresetService(service > 0 ? service : 0);
    if (DvModal::Run(record) != QDialog::Accepted)
        return;
    const int id = static_cast<int>(record.GetWorkerId());
    if (id > 0)
        m_list->AddRecordRow(id, {WorkerRowText(id)});
}

void CPersonalDlg::OnEdit() {
    if (m_list->GetRowCount() == 0)
        return;
    const int row = m_list->GetCurrentRow();
    const int id = m_list->CurrentKey();
    CFichaPersonalDlg record(this);
    record.SetWorkerId(id);
    if (DvModal::Run(record) != QDialog::Accepted)
        return;
    m_list->WriteRow(row, id, {WorkerRowText(id)});
}

void CPersonalDlg::OnDelete() {
    if (m_list->GetRowCount() == 0)
        return;
    if (DvMessageBox::Show(
            this, QStringLiteral("¿Esta seguro que desea borrar el elemento seleccionado?"),
            kCaption, DvMessageBox::YesNo, DvMessageBox::Question) == DvMessageBox::IdNo)
        return;
    if (DeleteWorker(m_list->CurrentKey())) {
        m_list->RemoveCurrentRow();
    } else {
        DvMessageBox::Show(this,
                           QStringLiteral("No se ha podido borrar a la persona seleccionada; "
                                          "no se ha cambiado nada."),
                           kCaption, DvMessageBox::Ok, DvMessageBox::Warning);
    }
}

void CPersonalDlg::OnCalendario() {
    if (!m_calendario || m_list->GetRowCount() == 0)
        return;
    m_calendario(this, m_list->CurrentKey());
}

bool CPersonalDlg::DeleteWorker(int id) {
    CDbQuery query;
    // The worker's own row and every row about him go together or not at all, so a
    // failure half-way never leaves exceptions or leave of a worker who is gone.
    if (!query.ExecuteCommand(QStringLiteral("BEGIN TRANSACTION")))
        return false;
    const auto rollBack = [&query]() {
        query.ExecuteCommand(QStringLiteral("ROLLBACK TRANSACTION"), nullptr, 0);
        return false;
    };
    if (!query.DeleteWhere(QStringLiteral("PERSONAL"), QStringLiteral("ID"), id))
        return rollBack();
    for (const char* statement : kWorkerCascade) {
        uint32_t code = 0;
        if (query.ExecuteCommand(QString::fromLatin1(statement).arg(id), &code, 0))
            continue;
        // A table an older file does not have holds nothing about the worker; any other
        // failure undoes the whole deletion.
        if (code != DbCode::MissingTable)
            return rollBack();
    }
    if (!query.ExecuteCommand(QStringLiteral("COMMIT TRANSACTION")))
        return rollBack();
    return true;
}

void CPersonalDlg::OnOK() {
    m_chosen = m_list->CurrentKey();
    CTemplateDialog::OnOK();
}
