#pragma once
// One worker's leave of one kind: vacations (1, table VACACIONES), sick leave (2, BAJAS)
// or personal days (3, DIASPERSONALES), each period with its substitute. Opened from
// the worker record ("Vacaciones", "Bajas", "Permisos"); each period is kept in
// CDetallesLibranzaDlg.

#include "ConfigListGrid.h"
#include "DateTime.h"
#include "TemplateDialog.h"

// What tells the three kinds of leave apart.
struct CLibranzaKind {
    int kind;                  // 1, 2 or 3
    const char* table;         // VACACIONES, BAJAS, DIASPERSONALES
    const char* listWord;      // in the list's title and caption
    const char* recordWord;    // in the record's title
    const char* deleteMessage; // the question before a period is deleted
    bool hasEnd;               // INICIO to FINAL, or the single day INICIO

    // The kind's description; kinds outside 1..3 count as vacations.
    static const CLibranzaKind& Of(int kind);
};

// The periods list: "Inicio", "Final" and "Suplente" (kinds 1 and 2) or "Día" and
// "Suplente" (kind 3), the period's ID as the row key.
class CLibranzasGrid : public CConfigListGrid {
    Q_OBJECT
public:
    explicit CLibranzasGrid(int kind, QWidget* parent = nullptr);

    static QStringList RowTexts(int kind, const CDateTime& start, const CDateTime& end,
                                int substitute);
    // The texts of a stored period's row.
    static QStringList PeriodTexts(int kind, int id);

private:
    static std::vector<Column> ColumnsOf(int kind);
};

class CLibranzasDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 175;
    static constexpr int IdCaption = 1092;
    static constexpr int IdList = 1015;
    static constexpr int IdAdd = 1017;
    static constexpr int IdEdit = 1018;
    static constexpr int IdDelete = 1019;

    explicit CLibranzasDlg(QWidget* parent = nullptr);

    // Set by the opener before the run: the worker (PERSONAL.ID) and the kind (1, 2, 3).
    void SetWorker(int worker) { m_worker = worker; }
    int GetWorker() const { return m_worker; }
    void SetKind(int kind) { m_kind = kind; }
    int GetKind() const { return m_kind; }

    // The worker record's leave buttons: runs the worker's list of that kind modally and
    // returns its result. A worker not saved yet (no ID) has nothing to attach periods
    // to: the user is told to save the record first and nothing opens.
    static int Run(QWidget* parent, int worker, int kind);
    static QString UnsavedWorkerMessage();

    CLibranzasGrid* List() const { return m_list; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;

    void OnAdd();
    void OnEdit();
    void OnDelete();

private:
    CLibranzasGrid* m_list = nullptr; // made for the kind when the dialog initialises
    int m_worker = -1;
    int m_kind = 1;
};
