#include "NameListDlg.h"

#include "BoundControls.h"
#include "DbQuery.h"
#include "DialogIds.h"
#include "MessageBox.h"

#include <QKeyEvent>

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
    long saved = -1;
    SaveTypedName(saved);
}

bool CNameListDlg::SaveTypedName(long& saved) {
    saved = -1;
    const QString name = GetDlgItemText(DlgId::Name);
    if (!name.isEmpty() && m_list->FindText(name) >= 0) {
        DvMessageBox::Show(this, m_setup.duplicateMessage, kCaption);
        return false;
    }
    if (!name.isEmpty()) {
        // Save on a copy of the ID: a failed insert must not leave the pending edit
        // pointing at an ID no record has.
        long id = m_editingId;
        if (!m_binding.Save(id)) {
            // Reported by the data layer; the typed name and the pending edit stay, so
            // nothing the user did is lost and no row stands for a record that is not there.
            return false;
        }
        if (id > 0) {
            CDbQuery query;
            m_list->AddRecordRow(static_cast<int>(id),
                                 {query.GetTextById(m_setup.table, QStringLiteral("NOMBRE"), id)});
            saved = id;
        }
    }
    m_editingId = -1;
    m_binding.Load(-1);
    return true;
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
    // A name typed and not yet added, or a record taken out by "Editar", is what the
    // user is working on: it is saved, and it is the record the dialog reports.
    const long editing = m_editingId;
    long saved = -1;
    if ((editing != -1 || !GetDlgItemText(DlgId::Name).isEmpty()) && !SaveTypedName(saved))
        return;
    if (saved > 0)
        m_chosen = static_cast<int>(saved);
    else if (editing != -1)
        m_chosen = static_cast<int>(editing);
    else
        m_chosen = m_list->CurrentKey();
    CTemplateDialog::OnOK();
}

void CNameListDlg::OnCancel() {
    // Closing does not undo what was written, and a pending "Editar" is finished as
    // "Añadir" would finish it; only a new name never added is dropped.
    long saved = -1;
    if (m_editingId != -1 && !SaveTypedName(saved))
        return;
    m_chosen = -1;
    CTemplateDialog::OnCancel();
}

void CNameListDlg::keyPressEvent(QKeyEvent* event) {
    // Enter after typing a name adds it, as the planner means, instead of closing.
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                       (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const QWidget* name = GetDlgItem(DlgId::Name);
    if (enter && name && name->hasFocus() && !GetDlgItemText(DlgId::Name).isEmpty()) {
        OnAdd();
        return;
    }
    CTemplateDialog::keyPressEvent(event);
}
