#pragma once
// "Ficha de personal": one worker's name, surnames, the name printed on the roster and
// his service, with the buttons that open his vacations, sick leave and personal days.

#include "RecordBinding.h"
#include "TemplateDialog.h"

class CFichaPersonalDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CFichaPersonalDlg(QWidget* parent = nullptr);

    // The worker shown (PERSONAL.ID); -1 for a new one, replaced by the new ID when the
    // record is inserted.
    void SetWorkerId(long id) { m_workerId = id; }
    long GetWorkerId() const { return m_workerId; }
    // The service a new worker starts with (FUNCIONES.ID; 0 for none).
    void SetPresetService(int service) { m_presetService = service; }

    // The leave lists a worker has, as their dialog numbers them.
    enum LeaveKind { Vacaciones = 1, Bajas = 2, DiasPersonales = 3 };

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void OnChooseService();
    // The leave buttons open the worker's leave list of that kind.
    void OnVacaciones() { OpenLeaveList(Vacaciones); }
    void OnBajas() { OpenLeaveList(Bajas); }
    void OnPermisos() { OpenLeaveList(DiasPersonales); }
    void OpenLeaveList(LeaveKind kind);

private:
    void ShowServiceName();
    void OnNameLeft();

    CRecordBinding m_binding;
    long m_workerId = -1;
    int m_presetService = 0;
    // The name as it stood when the field last took the focus (or was loaded): leaving
    // the field copies the name into the roster name only when it was changed.
    QString m_nameOnEntry;
};
