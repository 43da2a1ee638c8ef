#pragma once
// Creates the controls of a dialog template as child widgets.
//
// Every control gets the dynamic property "dlgId" (its id) and the object name
// "id<N>", so it can be found by id; its geometry is the template's dialog-unit
// rectangle converted with the dialog font's base units.
//
// Standard widgets by kind: push buttons QPushButton, labels QLabel, group boxes
// QGroupBox, edits QLineEdit, "special" edits CEditSpecial, check boxes QCheckBox,
// radio buttons QRadioButton (grouped in a QButtonGroup per template group), combos
// CComboList, list boxes QListWidget, placeholders QFrame, progress bars QProgressBar,
// icons QLabel. A control can be made by another class: by id through the factories
// given to Build, or by the template's "class=NAME" through RegisterClass.

#include "DialogTemplate.h"
#include "DialogUnits.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

using ControlFactory = std::function<QWidget*(QWidget* parent)>;
// Factories by control id, for controls a dialog wants made by its own classes.
using ControlFactories = std::map<int, ControlFactory>;

// The widgets built from one template.
class CDialogItems {
public:
    // The first control with the id, or null.
    QWidget* Get(int id) const { return m_byId.value(id).data(); }
    template <class T> T* Get(int id) const { return dynamic_cast<T*>(Get(id)); }
    // Every control in template order (labels without id too).
    const std::vector<QPointer<QWidget>>& All() const { return m_all; }
    int Count() const { return static_cast<int>(m_all.size()); }

    void Add(int id, QWidget* widget);

private:
    QHash<int, QPointer<QWidget>> m_byId;
    std::vector<QPointer<QWidget>> m_all;
};

class CDialogBuilder {
public:
    // Builds every control of the template as a child of parent, offset by origin
    // (pixels). Group boxes are kept below the controls they frame.
    static CDialogItems Build(const CDialogTemplate& dialog, QWidget* parent,
                              const CDialogUnits& units, const ControlFactories& byId = {},
                              QPoint origin = QPoint());

    // Makes "class=NAME" controls with the factory from now on. CEditSpecial is known
    // from the start.
    static void RegisterClass(const QString& name, ControlFactory factory);
    static bool IsClassRegistered(const QString& name);

    // Height of a closed combo box in the font's metrics (the template height is that
    // of the open list).
    static int ComboHeight(const QFont& font);
};

// Texts of any kind of control: label, button, group box, edit, combo (current text).
QString DvGetWindowText(const QWidget* widget);
void DvSetWindowText(QWidget* widget, const QString& text);

// The dialog-unit id a control was built with, or -1.
int DvControlId(const QWidget* widget);
// The first descendant of root that carries the id (a window that took over a
// control, such as a grid on its placeholder, carries the id from then on).
QWidget* DvFindDlgItem(const QWidget* root, int id);
