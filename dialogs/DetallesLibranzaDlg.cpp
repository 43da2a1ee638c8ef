#include "DetallesLibranzaDlg.h"

#include "BoundControls.h"
#include "Clock.h"
#include "ColorRef.h"
#include "ComboList.h"
#include "DbQuery.h"
#include "LibranzasDlg.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "PickDateDlg.h"

#include <QSignalBlocker>

namespace {
const QString kCaption = QStringLiteral("Dravonela");
} // namespace

CDetallesLibranzaDlg::CDetallesLibranzaDlg(QWidget* parent) : CTemplateDialog(TemplateId, parent) {}

void CDetallesLibranzaDlg::OnInitDialog() {
    const CLibranzaKind& kind = CLibranzaKind::Of(m_kind);
    setWindowTitle(QStringLiteral("Ficha de %1").arg(QString::fromUtf8(kind.recordWord)));
    if (!kind.hasEnd) {
        SetDlgItemText(IdStartLabel, QStringLiteral("Fecha:"));
        for (int id : {IdEndLabel, IdEnd, IdChooseEnd}) {
            if (QWidget* control = GetDlgItem(id))
                control->hide();
        }
    }

    // The dates are typed as in every other date field of the program.
    for (int id : {IdStart, IdEnd}) {
        if (auto* field = Item<CEditSpecial>(id))
            field->SetMask(QStringLiteral("##-##-##"));
    }

    // New periods start and end on the moment the record is opened.
    const CDateTime now = CDateTime::FromQDateTime(DvClock::Now());
    m_binding.SetTable(QString::fromLatin1(kind.table));
    m_binding.BindInt(DvBindControl(GetDlgItem(IdWorkerKey)), QStringLiteral("ID_PERSONAL"), 0);
    m_binding.BindInt(DvBindControl(GetDlgItem(IdSubstituteKey)), QStringLiteral("ID_SUPLENTE"), 0);
    m_binding.BindDateTime(DvBindControl(GetDlgItem(IdStart)), DvBindControl(GetDlgItem(IdTime)),
                           QStringLiteral("INICIO"), now, false);
    if (kind.hasEnd)
        m_binding.BindDateTime(DvBindControl(GetDlgItem(IdEnd)), DvBindControl(GetDlgItem(IdTime)),
                               QStringLiteral("FINAL"), now, false);
    m_binding.Load(m_periodId);
    if (m_periodId == -1) {
        if (auto* worker = Item<CEditSpecial>(IdWorkerKey))
            worker->SetValue(m_worker);
    }

    CDbQuery query;
    const int substitute = SubstituteKey();
    const int service = substitute >= 1 ? query.GetIntById(QStringLiteral("PERSONAL"),
                                                           QStringLiteral("ID_FUNCION"), substitute)
                                        : -1;
    if (auto* services = Item<CComboList>(IdService)) {
        const QSignalBlocker quiet(services);
        services->FillFromQuery(QStringLiteral("SELECT * FROM FUNCIONES"), QStringLiteral("NOMBRE"),
                                QStringLiteral("ID"), service, true);
        services->AddItem(QStringLiteral("Cualquiera"), -1);
        if (services->SelectByItemData(service) < 0)
            services->SelectByItemData(-1);
        connect(services, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this](int) { OnServiceChanged(); });
    }

    const auto* workerKey = Item<CEditSpecial>(IdWorkerKey);
    SetDlgItemText(IdWorkerName,
                   query.GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("NOMBREPLANILLA"),
                                     workerKey ? workerKey->GetValue() : 0));
    if (auto* name = Item<CEditSpecial>(IdWorkerName))
        name->SetReadOnly(true, DvColor::ReadOnlyField);

    FillSubstitutes();
    OnSubstituteChanged();
    if (auto* substitutes = Item<CComboList>(IdSubstitute))
        connect(substitutes, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this](int) { OnSubstituteChanged(); });
}

int CDetallesLibranzaDlg::SubstituteKey() const {
    const auto* key = Item<CEditSpecial>(IdSubstituteKey);
    return key ? key->GetValue() : 0;
}

void CDetallesLibranzaDlg::FillSubstitutes() {
    auto* substitutes = Item<CComboList>(IdSubstitute);
    const auto* services = Item<CComboList>(IdService);
    if (!substitutes)
        return;
    const QSignalBlocker quiet(substitutes);
    const int service = services ? services->GetSelectedItemData() : -1;
    const QString sql =
        service < 1 ? QStringLiteral("SELECT * FROM PERSONAL")
                    : QStringLiteral("SELECT * FROM PERSONAL WHERE ID_FUNCION=%1").arg(service);
    const int key = SubstituteKey();
    substitutes->FillFromQuery(sql, QStringLiteral("NOMBREPLANILLA"), QStringLiteral("ID"), key,
                               true);
    substitutes->AddItem(QStringLiteral("Ninguno"), -1);
    // No item is chosen when the substitute is not among those offered.
    if (substitutes->SelectByItemData(key) < 0)
        substitutes->setCurrentIndex(-1);
}

void CDetallesLibranzaDlg::OnServiceChanged() {
    FillSubstitutes();
}

void CDetallesLibranzaDlg::OnSubstituteChanged() {
    const auto* substitutes = Item<CComboList>(IdSubstitute);
    if (auto* key = Item<CEditSpecial>(IdSubstituteKey))
        key->SetValue(substitutes ? substitutes->GetSelectedItemData() : -1);
}

bool CDetallesLibranzaDlg::OnCommand(int id) {
    switch (id) {
    case IdChooseStart:
        CPickDateDlg::PickInto(this, Item<CEditSpecial>(IdStart));
        return true;
    case IdChooseEnd:
        CPickDateDlg::PickInto(this, Item<CEditSpecial>(IdEnd));
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

void CDetallesLibranzaDlg::OnOK() {
    const CLibranzaKind& kind = CLibranzaKind::Of(m_kind);
    const auto* startField = Item<CEditSpecial>(IdStart);
    const auto* endField = Item<CEditSpecial>(IdEnd);
    // A date that cannot be read counts as 30/12/1899 in the comparison.
    CDateTime start, end;
    const bool startRead = startField && startField->GetDate(start);
    if (!startRead)
        start = CDateTime();
    if (kind.hasEnd) {
        if (!endField || !endField->GetDate(end))
            end = CDateTime();
        if (!(end > start)) {
            DvMessageBox::Show(this,
                               QStringLiteral("El final del periodo debe ser posterior al inicio"),
                               kCaption);
            return;
        }
    }
    // A period without its start would be stored without a date and never reach a
    // roster.
    if (!startRead) {
        DvMessageBox::Show(this, QStringLiteral("La fecha no es válida"), kCaption);
        return;
    }
    // The worker must exist: periods of an unsaved worker (no ID) would belong to no one.
    const auto* workerKey = Item<CEditSpecial>(IdWorkerKey);
    if (!workerKey || workerKey->GetValue() <= 0) {
        DvMessageBox::Show(this, CLibranzasDlg::UnsavedWorkerMessage(), kCaption);
        return;
    }

    const auto* substitutes = Item<CComboList>(IdSubstitute);
    // Nobody covers his own absence: the roster would show him at work on the very days
    // he is away, and the shift would have no one.
    if (substitutes && substitutes->GetSelectedItemData() > 0 &&
        substitutes->GetSelectedItemData() == workerKey->GetValue()) {
        DvMessageBox::Show(this, QStringLiteral("Un trabajador no puede ser su propio suplente"),
                           kCaption);
        return;
    }
    if (!substitutes || substitutes->GetSelectedItemData() <= 0) {
        if (DvMessageBox::Show(
                this, QStringLiteral("No se ha seleccionado un suplente.\r\n¿Desea continuar?"),
                kCaption, DvMessageBox::YesNo) == DvMessageBox::IdNo)
            return;
    }
    // What is stored is the substitute shown (none when nothing is chosen).
    OnSubstituteChanged();
    DvFillEmptyTime(Item<CEditSpecial>(IdTime), false);
    long id = m_periodId;
    // A failed save was reported; the record stays open with what the user entered.
    if (!m_binding.Save(id))
        return;
    m_periodId = id;
    CTemplateDialog::OnOK();
}
