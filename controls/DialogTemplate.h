#pragma once
// A dialog described as data: its id, title, font, size in dialog units and styles,
// then its controls with their kind, id, text, dialog-unit rectangle and styles.
//
// Templates live as text files under ":/dialogs/<id>.dlg", one line per item:
//
//   # comment
//   dialog 147 0 0 186 90 popup caption sysmenu modalframe
//   title "Progreso de operación"
//   font 8 "MS Sans Serif"
//   button 2 "Cancel" 63 69 50 14
//   label 1099 "" 7 20 172 10 center hidden
//
// A control line is: kind, id (-1 for none), quoted text, x, y, width, height, then
// any styles. Texts are in double quotes; \" \\ \n and \t are the escapes. Kinds and
// styles are listed in ControlKindName / ControlStyleName. Templates can also be built
// in code (the date picker keeps its template in memory).

#include <QRect>
#include <QString>
#include <vector>

enum class ControlKind {
    PushButton,    // "button"
    DefPushButton, // "defbutton": the dialog's default button
    Label,         // "label": static text, left aligned unless "center" or "right"
    GroupBox,      // "group"
    Edit,          // "edit": plain single-line edit
    SpecialEdit,   // "special": CEditSpecial
    CheckBox,      // "check": automatic check box
    RadioButton,   // "radio": automatic radio button; "group" starts a new group
    ComboBox,      // "combo": drop-down list; the height is that of the open list
    ListBox,       // "listbox"
    Placeholder,   // "placeholder": an empty static another window takes over by id
    ProgressBar,   // "progress": horizontal progress bar, range 0..100
    Icon,          // "icon": the text names the icon resource; empty for the program's icon
};

namespace ControlStyle {
enum : unsigned {
    Hidden = 1u << 0,      // "hidden": not visible when created
    Disabled = 1u << 1,    // "disabled"
    Center = 1u << 2,      // "center": centred text
    Right = 1u << 3,       // "right": right-aligned text
    TabStop = 1u << 4,     // "tabstop": reached with Tab (default for input controls)
    NoTabStop = 1u << 5,   // "notabstop"
    Group = 1u << 6,       // "group": first control of a group (radio buttons)
    Sorted = 1u << 7,      // "sorted": combo and list items kept in alphabetical order
    ReadOnly = 1u << 8,    // "readonly": edit that cannot be typed into
    Password = 1u << 9,    // "password"
    Number = 1u << 10,     // "number": edit that takes digits only
    Border = 1u << 11,     // "border": thin frame (labels, placeholders)
    NoWrap = 1u << 12,     // "nowrap": label on one line
    Editable = 1u << 13,   // "editable": combo whose text can be typed
    ThreeState = 1u << 14, // "3state": check box with a third, undetermined state
    Default = 1u << 15,    // "default": default push button
    Sunken = 1u << 16,     // "sunken": sunken frame
    Uppercase = 1u << 17,  // "uppercase": edit that turns letters to upper case
};
}

namespace DialogStyle {
enum : unsigned {
    Popup = 1u << 0,       // "popup": a window of its own
    Child = 1u << 1,       // "child": a form placed inside another window
    Caption = 1u << 2,     // "caption": title bar
    SysMenu = 1u << 3,     // "sysmenu": window menu and close box
    ModalFrame = 1u << 4,  // "modalframe"
    DialogFrame = 1u << 5, // "dlgframe": a frame without a title bar
    Visible = 1u << 6,     // "visible": meant to be shown as soon as it is created
};
}

struct CControlTemplate {
    ControlKind kind = ControlKind::Label;
    int id = -1;
    QString text;
    QRect rect; // dialog units
    unsigned styles = 0;
    // Optional class that replaces the kind's standard widget ("class=CComboList").
    QString className;

    bool Has(unsigned style) const { return (styles & style) != 0; }
};

struct CDialogTemplate {
    int id = 0;
    QString title;
    QString fontFace = QStringLiteral("MS Sans Serif");
    int fontPointSize = 8;
    QRect rect; // dialog units; x and y place the window relative to its owner
    unsigned styles =
        DialogStyle::Popup | DialogStyle::Caption | DialogStyle::SysMenu | DialogStyle::ModalFrame;
    std::vector<CControlTemplate> controls;

    bool Has(unsigned style) const { return (styles & style) != 0; }
    // The first control with the id, or null.
    const CControlTemplate* Find(int controlId) const;

    // Reads a template from its text form. On failure returns false and, when given,
    // error says which line and why; out is left as far as it was read.
    static bool Parse(const QString& text, CDialogTemplate& out, QString* error = nullptr);
    // Reads ":/dialogs/<id>.dlg".
    static bool Load(int id, CDialogTemplate& out, QString* error = nullptr);
    static QString ResourcePath(int id);
    // The text form of a template; Parse(ToText()) gives the same template back.
    QString ToText() const;
};

// The calendar popup's template, kept in memory: a visible popup with a dialog frame and
// no title bar, 180 x 100 dialog units at 0,0, holding one empty static (id 100) of the
// same size that the calendar grid takes over.
CDialogTemplate MakeDatePickerTemplate();

QString ControlKindName(ControlKind kind);
bool ControlKindFromName(const QString& name, ControlKind& kind);
