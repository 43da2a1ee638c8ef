#pragma once
// The interface through which the grid stores and reads cell records. Operations a source
// does not implement answer -1, or 1 (allow) for the permission questions.

#include <QString>

class CCellRecord;

class CCellSource {
public:
    virtual ~CCellSource();

    // Size and naming questions the grid itself never asks.
    virtual int GetRowCount() { return -1; }
    virtual int GetColumnCount() { return -1; }
    virtual int GetColumnName(int column, QString* name);
    virtual int Open(const QString& /*name*/) { return -1; }
    virtual int Close() { return -1; }
    virtual int Save() { return -1; }
    virtual int IsOpen() { return 0; }
    virtual int SetPassword(const QString& user, const QString& password);
    virtual int GetSourceName(QString* name);
    // Drops every stored row from row on (rows beyond the grid's count included).
    virtual int DeleteRowsFrom(int row);
    virtual int StartTransaction() { return -1; }
    virtual int FinishTransaction() { return -1; }

    // Rows, columns and cells.
    virtual int AppendRow() { return -1; }
    virtual int InsertRow(int row);
    virtual int AppendColumn() { return -1; }
    virtual int InsertColumn(int column);
    virtual int DeleteRow(int row);
    virtual int DeleteColumn(int column);
    virtual int DeleteCell(int column, int row);
    virtual int DeleteAll() { return -1; }
    // Merges the stored record into record: 0, or 1 when the cell has none.
    virtual int GetCell(int column, int row, CCellRecord* record);
    // Replaces the stored record with record.
    virtual int SetCell(int column, int row, const CCellRecord* record);

    // Searching and sorting; the program's grids never use them.
    virtual int FindFirst(QString* text, int* column, int* row, int flags);
    virtual int FindNext(QString* text, int* column, int* row, int flags);
    virtual int SortBy(const int* columns, int count, int flags);
    virtual int SortBy(int column, int flags);

    // Options the grid itself never asks about.
    virtual int SetOption(int option, int value);
    virtual int GetOption(int option, int* value);
    virtual int GetNumberRecords() { return -1; }
    virtual int Requery() { return -1; }

    // Notifications from the grid.
    virtual void OnRowChange(int oldRow, int newRow);
    virtual void OnColumnChange(int oldColumn, int newColumn);
    // May the current cell move: 1 yes.
    virtual int OnCanMove(int oldColumn, int oldRow, int newColumn, int newRow);
    // May the view move: 1 yes.
    virtual int OnCanViewMove(int oldColumn, int oldRow, int newColumn, int newRow);
    // The view reached the last row; a source that can supply more stores how many.
    virtual void OnHitBottom(int rowCount, int rowsPast, int* rowsFound);
    virtual void OnHitTop(int rowCount, int rowsPast);
    virtual int OnCanSizeColumn(int column);
    virtual int OnCanSizeRow(int row);
    virtual void OnCellChange(int oldColumn, int newColumn, int oldRow, int newRow);
    virtual void OnGridClosing() {}

    // The nearest column left of column in the row whose cell has text (never a heading
    // column), or -1.
    virtual int GetPrevNonBlankColumn(int column, int row);
    virtual int GetNextNonBlankColumn(int column, int row);
};
