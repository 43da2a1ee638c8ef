#pragma once
// "Configuración de personal": the workers of one service or of all, with "Nuevo",
// "Editar" and "Borrar". Deleting a worker removes everything that refers to him.
// In search mode the same dialog is "Búsqueda de personal" and returns the worker
// chosen with "Seleccionar" or a double click.

#include "ConfigListGrid.h"
#include "TemplateDialog.h"

#include <functional>

class CPersonalDlg;

// The workers list: "Apellidos, Nombre" in one column, the worker's ID as the row key.
// A double click chooses the worker in search mode and opens his record otherwise.
class CPersonalGrid : public CConfigListGrid {
    Q_OBJECT
public:
    explicit CPersonalGrid(CPersonalDlg* dialog);

    // "%s, %s": surnames, then the name.
    static QString WorkerText(const QString& name, const QString& surnames);

    void OnCellDoubleClick(int column, int row, const QRect& rect, const QPoint& point,
                           int processed) override;

private:
    CPersonalDlg* m_dialog;
};

class CPersonalDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // "Calendario...": the selected worker's calendar file or personal sheet.
    static constexpr int IdCalendario = 1160;
    // What "Calendario..." does with the worker (the opener knows the month and the
    // files); the dialog is the owner of what it shows.
    using CalendarioHandler = std::function<void(QWidget* owner, int idPersona)>;

    explicit CPersonalDlg(QWidget* parent = nullptr);

    // Before the dialog is shown: the button "Calendario..." runs the handler for the
    // current row's worker. Without one (the search) the button is not shown.
    void SetCalendario(CalendarioHandler handler) { m_calendario = std::move(handler); }

    // Before the dialog is shown: search mode ("Búsqueda de personal", "Seleccionar").
    void SetSearchMode(bool search) { m_search = search; }
    bool IsSearchMode() const { return m_search; }
    // The worker of the current row after OK (0 with an empty list); -1 otherwise.
    int GetChosen() const { return m_chosen; }
    CPersonalGrid* List() const { return m_list; }

    // Runs the dialog modally (menu "&Personal..."); returns the dialog's result.
    static int Run(QWidget* parent, CalendarioHandler calendario = nullptr);
    // Runs the search: the chosen worker, or -1 when it was not closed with OK.
    static int Search(QWidget* parent);

    // Deletes the worker with his exceptions, reference assignments and leave, and
    // clears him as substitute, all in one transaction. False (and nothing changed)
    // when it could not be done entirely.
    static bool DeleteWorker(int id);

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

    void OnServiceChanged();
    void OnNew();
    void OnEdit();
    void OnDelete();
    void OnCalendario();

private:
    void FillList(int serviceKey);
    QString WorkerRowText(int id) const;

    CPersonalGrid* m_list = nullptr; // owned by the dialog as its child
    bool m_search = false;
    int m_chosen = -1;
    CalendarioHandler m_calendario;
};
