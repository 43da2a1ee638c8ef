#pragma once
// "Asignación de turno de referencia": for a worker found with "Buscar", the shifts of
// a rotation he held on reference days (table ASIG_TURNOS), from which the roster
// projects his rotation. "Asignar turno" stores the shift and date of the form as a new
// assignment; "Borrar" deletes the one selected in the list.

#include "ConfigListGrid.h"
#include "DateTime.h"
#include "RecordBinding.h"
#include "TemplateDialog.h"

// The assignments list: "Turno" ("type - shift") and "Fecha ref." (dd-mm-yy), the
// assignment's ID as the row key.
class CAsignacionGrid : public CConfigListGrid {
    Q_OBJECT
public:
    explicit CAsignacionGrid(QWidget* parent = nullptr);

    // The texts of an assignment's row, the shift's names looked up by its ID.
    static QStringList RowTexts(int shift, const CDateTime& referenceDay);
    // The texts of a stored assignment's row.
    static QStringList AssignmentTexts(int id);
};

class CAsignacionDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 170;
    static constexpr int IdWorkerName = 1060;
    static constexpr int IdFind = 1061;      // "Buscar"
    static constexpr int IdWorkerKey = 1062; // hidden: ID_PERSONAL
    static constexpr int IdDate = 1063;
    static constexpr int IdChooseDate = 1064; // "Elegir"
    static constexpr int IdTime = 1065;       // hidden: time of day of DIA_REF
    static constexpr int IdAssign = 1066;     // "Asignar turno"
    static constexpr int IdShift = 1067;
    static constexpr int IdShiftKey = 1068; // hidden: ID_TURNO
    static constexpr int IdShiftType = 1069;
    static constexpr int IdDelete = 1019;
    static constexpr int IdList = 1015;

    explicit CAsignacionDlg(QWidget* parent = nullptr);

    // Runs the dialog modally (menu "&Asignación de turnos..."); returns its result.
    static int Run(QWidget* parent);

    // Shows a worker and his assignments, as "Buscar" does with the worker found.
    void ShowWorker(int worker);
    int GetWorker() const;
    CAsignacionGrid* List() const { return m_list; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;

    void OnFind();
    void OnChooseDate();
    void OnAssign();
    void OnDelete();
    void OnShiftTypeChanged();
    void OnShiftChanged();

private:
    void FillShifts();

    CAsignacionGrid* m_list = nullptr; // owned by the dialog as its child
    CRecordBinding m_binding;
};
