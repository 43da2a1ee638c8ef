#include "LibranzasDlg.h"

#include "DbQuery.h"
#include "DetallesLibranzaDlg.h"
#include "MessageBox.h"
#include "Modal.h"
#include "PickDateDlg.h"

namespace {
const QString kCaption = QStringLiteral("Dravonela");

const CLibranzaKind kKinds[3] = {
    {1, "VACACIONES", "vacaciones", "vacaciones",
     "¿Esta seguro que desea borrar el periodo de vacaciones seleccionado", true},
    {2, "BAJAS", "bajas", "baja", "¿Esta seguro que desea borrar el periodo de baja seleccionado",
     true},
    {3, "DIASPERSONALES", "personales", "personal",
     "¿Esta seguro que desea borrar el permiso seleccionado", false},
};
} // namespace

const CLibranzaKind& CLibranzaKind::Of(int kind) {
    return kKinds[kind >= 1 && kind <= 3 ? kind - 1 : 0];
}

// ---------------------------------------------------------------------------------------

CLibranzasGrid::CLibranzasGrid(int kind, QWidget* parent)
    : CConfigListGrid(ColumnsOf(kind), parent) {}

std::vector<CConfigListGrid::Column> CLibranzasGrid::ColumnsOf(int kind) {
    if (CLibranzaKind::Of(kind).hasEnd)
        return {{QStringLiteral("Inicio"), 0.25},
                {QStringLiteral("Final"), 0.25},
                {QStringLiteral("Suplente"), 0.45}};
    return {{QStringLiteral("Día"), 0.35}, {QStringLiteral("Suplente"), 0.6}};
}

QStringList CLibranzasGrid::RowTexts(int kind, const CDateTime& start, const CDateTime& end,
                                     int substitute) {
    CDbQuery query;
    // A period without substitute (-1) shows an empty name.
    const QString name = substitute > 0
                             ? query.GetTextById(QStringLiteral("PERSONAL"),
                                                 QStringLiteral("NOMBREPLANILLA"), substitute)
                             : QString();
    if (CLibranzaKind::Of(kind).hasEnd)
        return {DvFieldDateText(start), DvFieldDateText(end), name};
    return {DvFieldDateText(start), name};
}

QStringList CLibranzasGrid::PeriodTexts(int kind, int id) {
    const CLibranzaKind& k = CLibranzaKind::Of(kind);
    const QString table = QString::fromLatin1(k.table);
    CDbQuery query;
    CDateTime start = CDateTime::MakeNull();
    CDateTime end = CDateTime::MakeNull();
    query.GetDateTimeById(table, QStringLiteral("INICIO"), id, start);
    if (k.hasEnd)
        query.GetDateTimeById(table, QStringLiteral("FINAL"), id, end);
    return RowTexts(kind, start, end, query.GetIntById(table, QStringLiteral("ID_SUPLENTE"), id));
}

// ---------------------------------------------------------------------------------------

CLibranzasDlg::CLibranzasDlg(QWidget* parent) : CTemplateDialog(TemplateId, parent) {}

QString CLibranzasDlg::UnsavedWorkerMessage() {
    return QStringLiteral("Guarde primero la ficha del trabajador (botón OK): sus vacaciones, "
                          "bajas y permisos se anotan una vez guardada");
}

int CLibranzasDlg::Run(QWidget* parent, int worker, int kind) {
    if (worker <= 0) {
        DvMessageBox::Show(parent, UnsavedWorkerMessage(), kCaption);
        return QDialog::Rejected;
    }
    CLibranzasDlg dialog(parent);
    dialog.SetWorker(worker);
    dialog.SetKind(kind);
    return DvModal::Run(dialog);
}

void CLibranzasDlg::OnInitDialog() {
    const CLibranzaKind& k = CLibranzaKind::Of(m_kind);
    const QString word = QString::fromUtf8(k.listWord);
    setWindowTitle(QStringLiteral("Configuracion de %1").arg(word));
    SetDlgItemText(IdCaption,
                   QStringLiteral("Relacion de %1 para el empleado seleccionado").arg(word));

    m_list = new CLibranzasGrid(m_kind, this);
    m_list->Attach(this, IdList);
    const int kind = m_kind;
    m_list->Fill(QStringLiteral("SELECT * FROM %1 WHERE ID_PERSONAL=%2 ORDER BY INICIO")
                     .arg(QString::fromLatin1(k.table))
                     .arg(m_worker),
                 [kind, &k](const CDbRecordset& record, int& key, QStringList& texts) {
                     key = record.GetInt(QStringLiteral("ID"));
                     texts = CLibranzasGrid::RowTexts(
                         kind, record.GetDateTime(QStringLiteral("INICIO")),
                         k.hasEnd ? record.GetDateTime(QStringLiteral("FINAL"))
                                  : CDateTime::MakeNull(),
                         record.GetInt(QStringLiteral("ID_SUPLENTE")));
                 });
}

bool CLibranzasDlg::OnCommand(int id) {
    switch (id) {
    case IdAdd:
        OnAdd();
        return true;
    case IdEdit:
        OnEdit();
        return true;
    case IdDelete:
        OnDelete();
        return true;
    default:
        return CTemplateDialog::OnCommand(id);
    }
}

void CLibranzasDlg::OnAdd() {
    CDetallesLibranzaDlg record(this);
    record.SetKind(m_kind);
    record.SetWorker(m_worker);
    record.SetPeriodId(-1);
    if (DvModal::Run(record) != QDialog::Accepted || record.GetPeriodId() <= 0)
        return;
    const int id = static_cast<int>(record.GetPeriodId());
    m_list->AddRecordRow(id, CLibranzasGrid::PeriodTexts(m_kind, id));
}

void CLibranzasDlg::OnEdit() {
    if (!m_list)
        return;
    const int row = m_list->GetCurrentRow();
    const int id = m_list->CurrentKey();
    if (id <= 0)
        return;
    CDetallesLibranzaDlg record(this);
    record.SetKind(m_kind);
    record.SetPeriodId(id);
    DvModal::Run(record);
    // Whichever way the record closed, the row shows what is stored now.
    m_list->WriteRow(row, id, CLibranzasGrid::PeriodTexts(m_kind, id));
}

void CLibranzasDlg::OnDelete() {
    if (!m_list)
        return;
    const int id = m_list->CurrentKey();
    if (id <= 0)
        return;
    const CLibranzaKind& k = CLibranzaKind::Of(m_kind);
    if (DvMessageBox::Show(this, QString::fromUtf8(k.deleteMessage), kCaption,
                           DvMessageBox::YesNo) != DvMessageBox::IdYes)
        return;
    CDbQuery query;
    if (query.DeleteWhere(QString::fromLatin1(k.table), QStringLiteral("ID"), id))
        m_list->RemoveCurrentRow();
}
