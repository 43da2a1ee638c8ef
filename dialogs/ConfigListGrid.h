#pragma once
// The list of a configuration dialog: a grid that takes over the dialog's static 1015,
// one row per record, the record's ID kept as the item data of column 0.
//
// Every list of the configuration dialogs looks and behaves the same: the dialog's own
// font, pale yellow cells, no row headings, whole-row highlight, centred headings,
// columns sized as fractions of the list's width. It is filled from a query, gains a
// row at the end after a save, and loses the current row on a delete.

#include "CellGrid.h"

#include <QFont>
#include <QStringList>
#include <functional>
#include <vector>

class CDbRecordset;

class CConfigListGrid : public CCellGrid {
    Q_OBJECT
public:
    struct Column {
        QString heading;
        double fraction; // of the list's client width
    };

    explicit CConfigListGrid(std::vector<Column> columns, QWidget* parent = nullptr);

    // Takes the dialog's font and the dialog's control with the id (1015 in every
    // configuration dialog), then sets itself up. 0 on success, as AttachToDialogItem.
    int Attach(QWidget* dialog, int id = 1015);
    const QFont& ListFont() const { return m_font; }

    // Empties the list and adds one row per record of the query, in the order returned.
    // read gets each record and gives the row's key and the texts of its columns.
    using RowReader = std::function<void(const CDbRecordset& record, int& key, QStringList& texts)>;
    void Fill(const QString& sql, const RowReader& read);
    void Clear();

    // Appends a row at the end and repaints it; the current row does not change.
    // Returns the new row's index.
    int AddRecordRow(int key, const QStringList& texts);
    // Rewrites a row's texts and key and repaints it.
    void WriteRow(int row, int key, const QStringList& texts);
    // Removes the current row (nothing when there is none).
    void RemoveCurrentRow();

    // The key of the current row; 0 with no current row.
    int CurrentKey();
    int RowKey(int row);
    QString RowText(int row, int column = 0);
    // The first row whose text in the column equals text, letter case aside; -1 if none.
    int FindText(const QString& text, int column = 0);

    void OnGridSetup() override;
    GridColor OnGetDefaultBackColor(int section) override;

private:
    // Writes the cells of a row without repainting.
    void SetRow(int row, int key, const QStringList& texts);

    std::vector<Column> m_columns;
    QFont m_font;
};
