#include "FichaPersonalDlg.h"

#include "BoundControls.h"
#include "ColorRef.h"
#include "DbQuery.h"
#include "DialogIds.h"
#include "LibranzasDlg.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "ServiciosDlg.h"

#include <QEvent>

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTable = QStringLiteral("PERSONAL");
} // namespace

CFichaPersonalDlg::CFichaPersonalDlg(QWidget* parent)
    : CTemplateDialog(DlgId::FichaPersonal, parent) {}

void CFichaPersonalDlg::OnInitDialog() {
    m_binding.SetTable(kTable);
    m_binding.BindText(DvBindControl(GetDlgItem(DlgId::WorkerName)), QStringLiteral("NOMBRE"), 30);
    m_binding.BindText(DvBindControl(GetDlgItem(DlgId::WorkerSurnames)),
                       QStringLiteral("APELLIDOS"), 50);
    m_binding.BindText(DvBindControl(GetDlgItem(DlgId::WorkerRosterName)),
                       QStringLiteral("NOMBREPLANILLA"), 40);
    m_binding.BindInt(DvBindControl(GetDlgItem(DlgId::WorkerServiceKey)),
                      QStringLiteral("ID_FUNCION"), 0);
    m_binding.Load(m_workerId);
    if (m_workerId == -1) {
        if (auto* key = Item<CEditSpecial>(DlgId::WorkerServiceKey))
            key->SetValue(m_presetService);
    }
    ShowServiceName();
    if (auto* serviceName = Item<CEditSpecial>(DlgId::WorkerServiceName))
        serviceName->SetReadOnly(true, DvColor::ReadOnlyField);
    if (QWidget* name = GetDlgItem(DlgId::WorkerName)) {
        m_nameOnEntry = GetDlgItemText(DlgId::WorkerName);
        name->installEventFilter(this);
    }
}

void CFichaPersonalDlg::ShowServiceName() {
    const auto* key = Item<CEditSpecial>(DlgId::WorkerServiceKey);
    CDbQuery query;
    SetDlgItemText(DlgId::WorkerServiceName,
                   query.GetTextById(QStringLiteral("FUNCIONES"), QStringLiteral("NOMBRE"),
                                     key ? key->GetValue() : 0));
}

bool CFichaPersonalDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GetDlgItem(DlgId::WorkerName)) {
        if (event->type() == QEvent::FocusIn)
            m_nameOnEntry = GetDlgItemText(DlgId::WorkerName);
        else if (event->type() == QEvent::FocusOut)
            OnNameLeft();
    }
    return CTemplateDialog::eventFilter(watched, event);
}

void CFichaPersonalDlg::OnNameLeft() {
    // The roster name follows a name the user has just written; a name merely passed
    // through keeps whatever roster name the worker has.
    const QString name = GetDlgItemText(DlgId::WorkerName);
    if (name == m_nameOnEntry)
        return;
    m_nameOnEntry = name;
    SetDlgItemText(DlgId::WorkerRosterName, name);
}

bool CFichaPersonalDlg::OnCommand(int id) {
    switch (id) {
    case DlgId::ChooseService:
        OnChooseService();
        return true;
    case DlgId::Vacations:
        OnVacaciones();
        return true;
    case DlgId::SickLeave:
        OnBajas();
        return true;
    case DlgId::PersonalDays:
        OnPermisos();
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

void CFichaPersonalDlg::OnChooseService() {
    const int chosen = CServiciosDlg::Choose(this);
    // Closing the chooser without choosing keeps the service the worker had.
    if (chosen <= 0)
        return;
    if (auto* key = Item<CEditSpecial>(DlgId::WorkerServiceKey))
        key->SetValue(chosen);
    ShowServiceName();
}

void CFichaPersonalDlg::OpenLeaveList(LeaveKind kind) {
    // Vacations, sick leave or personal days of this worker; the list refuses to open
    // for a worker not saved yet.
    CLibranzasDlg::Run(this, static_cast<int>(m_workerId), kind);
}

void CFichaPersonalDlg::OnOK() {
    if (GetDlgItemText(DlgId::WorkerRosterName).isEmpty()) {
        DvMessageBox::Show(this,
                           QStringLiteral("El nombre que va a salir en la planilla no puede estar "
                                          "vacío"),
                           kCaption);
        return;
    }
    const auto* key = Item<CEditSpecial>(DlgId::WorkerServiceKey);
    if (!key || key->GetValue() <= 0) {
        DvMessageBox::Show(this, QStringLiteral("No se le ha asignado un servicio"), kCaption);
        return;
    }
    if (m_binding.IsModified(m_workerId)) {
        long id = m_workerId;
        // A failed save was reported; the form stays open with what the user typed.
        if (!m_binding.Save(id))
            return;
        m_workerId = id;
    }
    CTemplateDialog::OnOK();
}
