#pragma once
// A configuration dialog over a table of names (services, shift types): a name edit,
// "Añadir", "Editar", "Borrar" and the list. "Editar" takes the current row out of the
// list into the edit; "Añadir" saves the edit as a new record or over the record taken
// out, and puts its row back at the end. A record still referred to by another table
// cannot be deleted. Closed with OK it reports the current row's record (the chooser
// use of these dialogs).
//
// Nothing typed is lost on closing: OK first saves a name in the edit as "Añadir" does
// (and then reports that record), Escape or Cancel finish a pending "Editar" the same
// way, and Enter in the name edit is "Añadir".

#include "ConfigListGrid.h"
#include "RecordBinding.h"
#include "TemplateDialog.h"

class CNameListDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // What tells one such dialog from another.
    struct Setup {
        int templateId = 0;
        QString table;            // the names' table, with ID and NOMBRE
        QString fillSql;          // the list's query
        QString duplicateMessage; // the name is already listed
        QString refTable;         // a row there refers to a record through refColumn...
        QString refColumn;
        QString refusedMessage; // ...and then the record cannot be deleted
    };

    // The record of the current row after OK (0 with an empty list); -1 otherwise.
    int GetChosen() const { return m_chosen; }
    // The record taken out by "Editar" and not yet saved back; -1 when none.
    long EditingId() const { return m_editingId; }
    CConfigListGrid* List() const { return m_list; }

protected:
    // makeList creates the dialog's list as a child of the dialog it is given.
    using ListFactory = CConfigListGrid* (*)(QWidget* dialog);
    CNameListDlg(const Setup& setup, ListFactory makeList, QWidget* parent);

    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;
    void OnCancel() override;
    void keyPressEvent(QKeyEvent* event) override;

    void OnAdd();
    void OnEdit();
    void OnDelete();

private:
    void FillList();
    // What "Añadir" does with the name edit: false when the name was refused or could
    // not be saved (the dialog then stays as it is). saved gets the record written, -1
    // when nothing was.
    bool SaveTypedName(long& saved);

    Setup m_setup;
    CConfigListGrid* m_list = nullptr; // owned by the dialog as its child
    CRecordBinding m_binding;
    long m_editingId = -1;
    int m_chosen = -1;
};
