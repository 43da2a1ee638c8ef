#include "NameListDlg.h"

#include "BoundControls.h"
#include "DbQuery.h"
#include "DialogIds.h"
#include "MessageBox.h"

namespace {
const QString kCaption = QStringLiteral("Dravonela");
} // namespace

CNameListDlg::CNameListDlg(const Setup& setup, ListFactory makeList, QWidget* parent)
    : CTemplateDialog(setup.templateId, parent), m_setup(setup), m_list(makeList(this)) {}

void CNameListDlg::OnInitDialog() {
    m_list->Attach(this, DlgId::List);
    FillList();
    m_binding.SetTable(m_setup.table);
    m_binding.BindText(DvBindControl(GetDlgItem(DlgId::Name)), QStringLiteral("NOMBRE"), 30);
    m_binding.Load(-1);
}

void CNameListDlg::FillList() {
    m_list->Fill(m_setup.fillSql, [](const CDbRecordset& record, int& key, QStringList& texts) {
        key = record.GetInt(QStringLiteral("ID"));
        texts << record.GetText(QStringLiteral("NOMBRE"));
    });
}

bool CNameListDlg::OnCommand(int id) {
    switch (id) {
    case DlgId::Add:
        OnAdd();
        return true;
    case DlgId::Edit:
        OnEdit();
        return true;
    case DlgId::Delete:
        OnDelete();
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

void CNameListDlg::OnAdd() {
    const QString name = GetDlgItemText(DlgId::Name);
    if (m_list->FindText(name) >= 0) {
        DvMessageBox::Show(this, m_setup.duplicateMessage, kCaption);
        return;
    }
    if (!name.isEmpty()) {
        // Save on a copy of the ID: a failed insert must not leave the pending edit
        // pointing at an ID no record has.
        long id = m_editingId;
        if (!m_binding.Save(id)) {
            // Reported by the data layer; the typed name and the pending edit stay, so
            // nothing the user did is lost and no row stands for a record that is not there.
            return;
        }
        if (id > 0) {
            CDbQuery query;
            m_list->AddRecordRow(static_cast<int>(id),
                                 {query.GetTextById(m_setup.table, QStringLiteral("NOMBRE"), id)});
        }
    }
    m_editingId = -1;
    m_binding.Load(-1);
}

void CNameListDlg::OnEdit() {
    if (m_editingId != -1 || m_list->GetRowCount() == 0)
        return;
    m_editingId = m_list->CurrentKey();
    SetDlgItemText(DlgId::Name, m_list->RowText(m_list->GetCurrentRow()));
    m_list->RemoveCurrentRow();
}

void CNameListDlg::OnDelete() {
    const int id = m_list->CurrentKey();
    if (id <= 0)
        return;
    CDbQuery query;
    if (query.GetInt(m_setup.refTable, QStringLiteral("ID"), m_setup.refColumn, id) != -1) {
        DvMessageBox::Show(this, m_setup.refusedMessage, kCaption);
        return;
    }
    if (query.DeleteWhere(m_setup.table, QStringLiteral("ID"), id))
        m_list->RemoveCurrentRow();
}

void CNameListDlg::OnOK() {
    m_chosen = m_list->CurrentKey();
    CTemplateDialog::OnOK();
}
