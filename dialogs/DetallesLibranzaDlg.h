#pragma once
// "Ficha de vacaciones / de baja / de personal": one leave period of a worker, its start
// and end (a single day for personal days) chosen with "Elegir", and the worker who
// substitutes him, picked from a service's workers ("Cualquiera" offers everyone,
// "Ninguno" means no substitute).

#include "DateTime.h"
#include "RecordBinding.h"
#include "TemplateDialog.h"

class CDetallesLibranzaDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 176;
    static constexpr int IdWorkerName = 1093;
    static constexpr int IdWorkerKey = 1094; // hidden: ID_PERSONAL
    static constexpr int IdStartLabel = 1095;
    static constexpr int IdStart = 1096;
    static constexpr int IdChooseStart = 1097;
    static constexpr int IdEndLabel = 1098;
    static constexpr int IdEnd = 1099;
    static constexpr int IdChooseEnd = 1100;
    static constexpr int IdTime = 1101; // hidden: time of day of INICIO and FINAL
    static constexpr int IdSubstitute = 1102;
    static constexpr int IdSubstituteKey = 1103; // hidden: ID_SUPLENTE
    static constexpr int IdService = 1104;

    explicit CDetallesLibranzaDlg(QWidget* parent = nullptr);

    // Set by the opener: the kind (1 vacations, 2 sick leave, 3 personal day), and the
    // worker of a new period or the period shown.
    void SetKind(int kind) { m_kind = kind; }
    void SetWorker(int worker) { m_worker = worker; }
    // The period (ID in the kind's table); -1 for a new one, replaced by the new ID on
    // insert.
    void SetPeriodId(long id) { m_periodId = id; }
    long GetPeriodId() const { return m_periodId; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

private:
    void FillSubstitutes();
    void OnServiceChanged();
    void OnSubstituteChanged();
    int SubstituteKey() const;

    CRecordBinding m_binding;
    int m_kind = 1;
    int m_worker = -1;
    long m_periodId = -1;
};
