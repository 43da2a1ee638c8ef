#include "TemplateDialog.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <qdrawutil.h>

namespace {
// Width of the frame a popup without title bar draws around its client area.
constexpr int kOwnFrame = 2;
} // namespace

CDialogTemplate CTemplateContent::LoadOrWarn(int id) {
    CDialogTemplate dialogTemplate;
    QString error;
    if (!CDialogTemplate::Load(id, dialogTemplate, &error)) {
        qWarning("Plantilla de diálogo %d no disponible: %s", id, qPrintable(error));
        dialogTemplate = CDialogTemplate();
        dialogTemplate.id = id;
        dialogTemplate.rect = QRect(0, 0, 186, 90);
    }
    return dialogTemplate;
}

void CTemplateContent::Build(QWidget* host, const CDialogTemplate& dialogTemplate,
                             const ControlFactories& factories, QPoint origin) {
    m_template = dialogTemplate;
    host->setFont(CDialogUnits::DialogFont(m_template.fontFace, m_template.fontPointSize));
    m_units = CDialogUnits(host->font());
    m_items = CDialogBuilder::Build(m_template, host, m_units, factories, origin);
}

QWidget* CTemplateContent::Find(const QWidget* host, int id) const {
    QWidget* built = m_items.Get(id);
    if (built && built->property("dlgId").isValid() && DvControlId(built) == id)
        return built;
    return DvFindDlgItem(host, id);
}

// ---------------------------------------------------------------------------------------

CTemplateDialog::CTemplateDialog(int templateId, QWidget* parent, const ControlFactories& factories)
    : QDialog(parent) {
    Create(CTemplateContent::LoadOrWarn(templateId), factories);
}

CTemplateDialog::CTemplateDialog(const CDialogTemplate& dialogTemplate, QWidget* parent,
                                 const ControlFactories& factories)
    : QDialog(parent) {
    Create(dialogTemplate, factories);
}

bool CTemplateDialog::HasOwnFrame() const {
    const CDialogTemplate& t = m_content.Template();
    return !t.Has(DialogStyle::Caption) &&
           (t.Has(DialogStyle::DialogFrame) || t.Has(DialogStyle::ModalFrame));
}

void CTemplateDialog::Create(const CDialogTemplate& dialogTemplate,
                             const ControlFactories& factories) {
    Qt::WindowFlags flags = Qt::Dialog;
    if (!dialogTemplate.Has(DialogStyle::Caption)) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (dialogTemplate.Has(DialogStyle::SysMenu))
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    setWindowFlags(flags);
    setWindowTitle(dialogTemplate.title);

    const bool ownFrame = !dialogTemplate.Has(DialogStyle::Caption) &&
                          (dialogTemplate.Has(DialogStyle::DialogFrame) ||
                           dialogTemplate.Has(DialogStyle::ModalFrame));
    const int frame = ownFrame ? kOwnFrame : 0;
    m_content.Build(this, dialogTemplate, factories, QPoint(frame, frame));
    setFixedSize(m_content.ClientSize() + QSize(2 * frame, 2 * frame));

    for (const QPointer<QWidget>& widget : m_content.Items().All()) {
        auto* button = qobject_cast<QAbstractButton*>(widget.data());
        const int id = DvControlId(button);
        if (button && id > 0)
            connect(button, &QAbstractButton::clicked, this, [this, id]() { OnCommand(id); });
    }
}

void CTemplateDialog::SetDefaultButton(int id) {
    for (const QPointer<QWidget>& widget : m_content.Items().All()) {
        if (auto* button = qobject_cast<QPushButton*>(widget.data()))
            button->setDefault(DvControlId(button) == id);
    }
}

int CTemplateDialog::DefaultButtonId() const {
    for (const QPointer<QWidget>& widget : m_content.Items().All()) {
        auto* button = qobject_cast<QPushButton*>(widget.data());
        if (button && button->isDefault())
            return DvControlId(button);
    }
    return -1;
}

void CTemplateDialog::EnsureInitialised() {
    if (m_initialised)
        return;
    m_initialised = true;
    OnInitDialog();
}

void CTemplateDialog::SendCommand(int id) {
    OnCommand(id);
}

void CTemplateDialog::PostCommand(int id) {
    QTimer::singleShot(0, this, [this, id]() { OnCommand(id); });
}

void CTemplateDialog::accept() {
    OnCommand(IdOk);
}

void CTemplateDialog::reject() {
    OnCommand(IdCancel);
}

bool CTemplateDialog::OnCommand(int id) {
    if (id == IdOk) {
        OnOK();
        return true;
    }
    if (id == IdCancel) {
        OnCancel();
        return true;
    }
    return false;
}

void CTemplateDialog::showEvent(QShowEvent* event) {
    EnsureInitialised();
    QDialog::showEvent(event);
}

void CTemplateDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) &&
                       (event->modifiers() == Qt::NoModifier ||
                        (event->modifiers() == Qt::KeypadModifier && key == Qt::Key_Enter));
    if (enter) {
        // A focused push button takes Enter itself; otherwise the visible default
        // button is clicked, and a dialog without one gets the default command.
        for (const QPointer<QWidget>& widget : m_content.Items().All()) {
            auto* button = qobject_cast<QPushButton*>(widget.data());
            if (button && button->isDefault() && button->isVisibleTo(this)) {
                if (button->isEnabled())
                    button->click();
                return;
            }
        }
        const int id = DefaultButtonId();
        OnCommand(id > 0 ? id : IdOk);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CTemplateDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (HasOwnFrame()) {
        QPainter painter(this);
        qDrawWinPanel(&painter, rect(), palette(), false);
    }
}

// ---------------------------------------------------------------------------------------

CTemplateForm::CTemplateForm(int templateId, QWidget* parent, const ControlFactories& factories)
    : QWidget(parent) {
    Create(CTemplateContent::LoadOrWarn(templateId), factories);
}

CTemplateForm::CTemplateForm(const CDialogTemplate& dialogTemplate, QWidget* parent,
                             const ControlFactories& factories)
    : QWidget(parent) {
    Create(dialogTemplate, factories);
}

void CTemplateForm::Create(const CDialogTemplate& dialogTemplate,
                           const ControlFactories& factories) {
    m_content.Build(this, dialogTemplate, factories, QPoint());
    resize(m_content.ClientSize());
    for (const QPointer<QWidget>& widget : m_content.Items().All()) {
        auto* button = qobject_cast<QAbstractButton*>(widget.data());
        const int id = DvControlId(button);
        if (button && id > 0)
            connect(button, &QAbstractButton::clicked, this, [this, id]() { OnCommand(id); });
    }
}

void CTemplateForm::EnsureInitialised() {
    if (m_initialised)
        return;
    m_initialised = true;
    OnInitDialog();
}

void CTemplateForm::PostCommand(int id) {
    QTimer::singleShot(0, this, [this, id]() { OnCommand(id); });
}

void CTemplateForm::showEvent(QShowEvent* event) {
    EnsureInitialised();
    QWidget::showEvent(event);
}
