#pragma once
// Dialogs and forms made from a dialog template (res/dialogs/<id>.dlg or a template
// built in code).
//
// CTemplateDialog is the base of every dialog window: it takes the template's title,
// font and size, creates the controls, finds them by id, and routes every button click
// to OnCommand(id). OnCommand sends IDOK (1) to OnOK and IDCANCEL (2) to OnCancel;
// Escape and the window's close box are IDCANCEL, Enter clicks the default button (or
// is IDOK when the dialog has none). OnInitDialog runs once, before the dialog is
// first shown. A dialog made from a template id:
//
//   class CMiDlg : public CTemplateDialog {
//   public:
//       explicit CMiDlg(QWidget* parent) : CTemplateDialog(150, parent) {}
//   protected:
//       void OnInitDialog() override { Item<CEditSpecial>(1060)->SetMask("##-##-##"); }
//       bool OnCommand(int id) override { ...; return CTemplateDialog::OnCommand(id); }
//   };
//
// Controls a dialog wants made by a class of its own are given by id in the factories
// (for example {1015, ...}); the template's "class=NAME" does the same by name.
//
// CTemplateForm is the same for a form placed inside another window (the roster view).

#include "DialogBuilder.h"
#include "DialogTemplate.h"
#include "DialogUnits.h"

#include <QDialog>
#include <QWidget>

// The template, its units and the controls built from it, shared by dialogs and forms.
class CTemplateContent {
public:
    // Loads template id (an unreadable template is reported with qWarning and yields
    // an empty window of the default size).
    static CDialogTemplate LoadOrWarn(int id);

    void Build(QWidget* host, const CDialogTemplate& dialogTemplate,
               const ControlFactories& factories, QPoint origin);

    const CDialogTemplate& Template() const { return m_template; }
    const CDialogUnits& Units() const { return m_units; }
    const CDialogItems& Items() const { return m_items; }
    // The control with the id under host: the one built with it while it still carries
    // the id, else whichever descendant carries it now.
    QWidget* Find(const QWidget* host, int id) const;
    // Client size of the template in pixels.
    QSize ClientSize() const {
        return m_units.MapSize(m_template.rect.width(), m_template.rect.height());
    }

private:
    CDialogTemplate m_template;
    CDialogUnits m_units{6, 13};
    CDialogItems m_items;
};

class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int IdOk = 1;
    static constexpr int IdCancel = 2;

    explicit CTemplateDialog(int templateId, QWidget* parent = nullptr,
                             const ControlFactories& factories = {});
    explicit CTemplateDialog(const CDialogTemplate& dialogTemplate, QWidget* parent = nullptr,
                             const ControlFactories& factories = {});

    int TemplateId() const { return m_content.Template().id; }
    const CDialogTemplate& Template() const { return m_content.Template(); }
    const CDialogUnits& Units() const { return m_content.Units(); }
    const CDialogItems& Items() const { return m_content.Items(); }
    QRect MapDialogRect(const QRect& units) const { return m_content.Units().Map(units); }

    // The control with the id; a window that has taken a control over (a grid on its
    // placeholder) is found by the same id.
    QWidget* GetDlgItem(int id) const { return m_content.Find(this, id); }
    template <class T> T* Item(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }
    QString GetDlgItemText(int id) const { return DvGetWindowText(GetDlgItem(id)); }
    void SetDlgItemText(int id, const QString& text) { DvSetWindowText(GetDlgItem(id), text); }

    // Makes the push button with the id the default button (the one Enter clicks).
    void SetDefaultButton(int id);
    // The id of the default push button, or -1.
    int DefaultButtonId() const;

    // Runs OnInitDialog if it has not run yet.
    void EnsureInitialised();
    bool IsInitialised() const { return m_initialised; }

    // Handles the command now, as a click on the control with the id would.
    void SendCommand(int id);
    // Handles the command once the current event is done (safe from inside a control's
    // own handler, for example a grid that closes its dialog on a double click).
    void PostCommand(int id);

public slots:
    void accept() override;
    void reject() override;

protected:
    virtual void OnInitDialog() {}
    // A button was clicked (or Enter, Escape, close box). Returns true when handled.
    virtual bool OnCommand(int id);
    virtual void OnOK() { EndDialog(QDialog::Accepted); }
    virtual void OnCancel() { EndDialog(QDialog::Rejected); }
    void EndDialog(int result) { QDialog::done(result); }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Create(const CDialogTemplate& dialogTemplate, const ControlFactories& factories);
    bool HasOwnFrame() const;

    CTemplateContent m_content;
    bool m_initialised = false;
};

class CTemplateForm : public QWidget {
    Q_OBJECT
public:
    explicit CTemplateForm(int templateId, QWidget* parent = nullptr,
                           const ControlFactories& factories = {});
    explicit CTemplateForm(const CDialogTemplate& dialogTemplate, QWidget* parent = nullptr,
                           const ControlFactories& factories = {});

    int TemplateId() const { return m_content.Template().id; }
    const CDialogTemplate& Template() const { return m_content.Template(); }
    const CDialogUnits& Units() const { return m_content.Units(); }
    const CDialogItems& Items() const { return m_content.Items(); }
    QRect MapDialogRect(const QRect& units) const { return m_content.Units().Map(units); }

    // The control with the id; a window that has taken a control over (a grid on its
    // placeholder) is found by the same id.
    QWidget* GetDlgItem(int id) const { return m_content.Find(this, id); }
    template <class T> T* Item(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }
    QString GetDlgItemText(int id) const { return DvGetWindowText(GetDlgItem(id)); }
    void SetDlgItemText(int id, const QString& text) { DvSetWindowText(GetDlgItem(id), text); }

    // The template's size in pixels.
    QSize sizeHint() const override { return m_content.ClientSize(); }
    QSize minimumSizeHint() const override { return m_content.ClientSize(); }

    void EnsureInitialised();
    bool IsInitialised() const { return m_initialised; }
    void SendCommand(int id) { OnCommand(id); }
    void PostCommand(int id);

protected:
    virtual void OnInitDialog() {}
    virtual bool OnCommand(int) { return false; }
    void showEvent(QShowEvent* event) override;

private:
    void Create(const CDialogTemplate& dialogTemplate, const ControlFactories& factories);

    CTemplateContent m_content;
    bool m_initialised = false;
};
