#pragma once
// A combo box whose items carry an integer item data, normally a row ID, and that fills
// itself from a query. Items made of a left part, a tab and a right part can be lined up
// in two columns.

#include <QComboBox>

class CDbConnection;

class CComboList : public QComboBox {
    Q_OBJECT
public:
    explicit CComboList(QWidget* parent = nullptr);

    // Appends the text with the data; returns its index, or -1 when it was not added.
    int AddItem(const QString& text, int data);
    // Selects the first item carrying the data and returns its index; -1 (and the
    // selection unchanged) when no item carries it.
    int SelectByItemData(int data);
    // The data of the selected item, or -1 when nothing is selected.
    int GetSelectedItemData() const;
    void Enable(bool enable = true) { setEnabled(enable); }
    void Disable() { setEnabled(false); }

    // Empties the list when reset is set, adds one item per row (text column as text,
    // ID column as data), lines up the tab columns and selects the item of preselectedId,
    // or the first item when it is negative or the query gave no row. A failure is
    // reported by the data layer; the items added until then stay.
    bool FillFromQuery(const QString& sql, const QString& textColumn, const QString& idColumn,
                       int preselectedId, bool reset);
    bool FillFromQuery(CDbConnection& connection, const QString& sql, const QString& textColumn,
                       const QString& idColumn, int preselectedId, bool reset);

    // Rewrites every "left\tright" item as the left part, blanks up to four past the
    // farthest tab of all items, and the right part; then widens the drop-down list to
    // its widest item.
    void AlignTabColumns();

    // The same operations on any combo box (a plain QComboBox of a dialog template).
    static int AddItem(QComboBox& combo, const QString& text, int data);
    static int SelectByItemData(QComboBox& combo, int data);
    static int GetSelectedItemData(const QComboBox& combo);
    static bool FillFromQuery(QComboBox& combo, CDbConnection& connection, const QString& sql,
                              const QString& textColumn, const QString& idColumn, int preselectedId,
                              bool reset);
    static void AlignTabColumns(QComboBox& combo);
    // The text of each item after lining up (no widget needed; used by AlignTabColumns).
    static QStringList AlignedTexts(const QStringList& texts);
};
