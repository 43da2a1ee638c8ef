#pragma once
// The menu bar, keyboard accelerators and toolbar of the main window, kept as text in
// ":/menu/<id>.menu" (see res/menu/128.menu for the format) and read into plain data.
// Commands are named by their identifier ("ID_FILE_PRINT"); the window maps them to
// its handlers.

#include <QString>
#include <vector>

struct CMenuItem {
    QString command; // empty for a separator
    QString text;    // "&Imprimir...\tCtrl+I": the part after the tab is only shown
    bool IsSeparator() const { return command.isEmpty(); }
};

struct CMenuPopup {
    QString text;
    std::vector<CMenuItem> items;
};

struct CAccelerator {
    QString command;
    QString keys; // portable key text, "Ctrl+P", "Shift+Del"
};

struct CToolbarButton {
    QString command; // empty for a separator
    QString icon;    // icon resource name
    bool IsSeparator() const { return command.isEmpty(); }
};

class CMenuResource {
public:
    std::vector<CMenuPopup> popups;
    std::vector<CAccelerator> accelerators;
    std::vector<CToolbarButton> toolbar;

    // "Status text\nTooltip" of a command; empty when it has none.
    QString Prompt(const QString& command) const;
    // The status text (before "\n") and the tooltip (after it; the status text when
    // there is no "\n").
    QString StatusText(const QString& command) const;
    QString ToolTip(const QString& command) const;
    // Every key bound to the command, in resource order.
    std::vector<QString> KeysOf(const QString& command) const;

    // Reads the text form. On failure returns false and, when given, error names the
    // line and the reason; out keeps what was read until then.
    static bool Parse(const QString& text, CMenuResource& out, QString* error = nullptr);
    // Reads ":/menu/<id>.menu".
    static bool Load(int id, CMenuResource& out, QString* error = nullptr);

private:
    std::vector<std::pair<QString, QString>> m_prompts; // command, prompt
};
