#pragma once
// "Configuración de turnos": the shifts of one shift type in rotation order, rest days
// included. "Subir" and "Bajar" move a shift in the list; OK writes the list order into
// ORDEN (1, 2, 3 ...), which is the order the roster walks.

#include "ConfigListGrid.h"
#include "DateTime.h"
#include "TemplateDialog.h"

// The shifts list: "Nombre" and "Horas" ("Libre" for a rest day, "08:00 - 15:00"
// otherwise), the shift's ID as the row key.
class CTurnosGrid : public CConfigListGrid {
    Q_OBJECT
public:
    explicit CTurnosGrid(QWidget* parent = nullptr);

    // The "Horas" text of a shift.
    static QString HoursText(const CDateTime& start, const CDateTime& end);
    // Rewrites a row from the stored shift.
    void WriteShiftRow(int row, int shiftId);
    // Appends a row for the stored shift and repaints it.
    void AddShiftRow(int shiftId);

private:
    static QStringList ShiftTexts(int shiftId);
};

class CTurnosDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CTurnosDlg(QWidget* parent = nullptr);

    // Runs the dialog modally (menu "&Turnos..."); returns the dialog's result.
    static int Run(QWidget* parent);

    int GetShiftType() const { return m_shiftType; }
    CTurnosGrid* List() const { return m_list; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

    void OnFind();
    void OnNew();
    void OnRecord();
    void OnDelete();
    void OnMove(int step);

private:
    void FillList();

    CTurnosGrid* m_list = nullptr; // owned by the dialog as its child
    int m_shiftType = -1;
};
