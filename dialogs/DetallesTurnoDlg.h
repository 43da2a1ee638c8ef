#pragma once
// "Detalles del turno": one shift of a rotation pattern, its name, start and end time,
// and whether it is a rest day. The kind of day is kept in the date part of both times
// (23/04/2001 for a rest day, 01/01/2005 for a working shift), which the roster reads.

#include "DateTime.h"
#include "RecordBinding.h"
#include "TemplateDialog.h"

class CDetallesTurnoDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDetallesTurnoDlg(QWidget* parent = nullptr);

    // The shift shown (TURNOS.ID); -1 for a new one, replaced by the new ID on insert.
    void SetShiftId(long id) { m_shiftId = id; }
    long GetShiftId() const { return m_shiftId; }
    // What a new shift starts with: its place in the rotation and its shift type.
    void SetOrderDefault(int order) { m_orderDefault = order; }
    void SetShiftTypeDefault(int shiftType) { m_shiftTypeDefault = shiftType; }

    // The day-kind markers of the date part of HORAINICIAL and HORAFINAL.
    static CDateTime RestDayMarker() { return CDateTime(2001, 4, 23); }
    static CDateTime ShiftMarker() { return CDateTime(2005, 1, 1); }
    // A rest day as the lists tell it: HORAINICIAL in 2001.
    static bool IsRestDay(const CDateTime& start) {
        return start.IsValid() && start.GetYear() == 2001;
    }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

private:
    void EnableTimes();

    CRecordBinding m_binding;
    long m_shiftId = -1;
    int m_orderDefault = 0;
    int m_shiftTypeDefault = 0;
};
