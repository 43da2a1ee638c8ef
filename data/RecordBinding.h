#pragma once
// Binds the controls of a record dialog to the columns of one table.
//
// A dialog declares, once, which control shows which column and of what kind; the
// binding then shows a row (or the defaults of a new row), tells whether the controls
// differ from the stored row, and writes them back with one INSERT or UPDATE it builds
// itself:
//
//   m_binding.SetTable("FUNCIONES");
//   m_binding.BindText(DvBindControl(Item<QLineEdit>(1016)), "NOMBRE", 30);
//   m_binding.Load(m_id);
//   ...
//   if (m_binding.IsModified(m_id) && !m_binding.Save(m_id)) return; // reported
//
// This layer knows no widgets: it reaches the controls through IBoundControl, which
// the controls library implements for its edits and check boxes (BoundControls.h).

#include "DateTime.h"

#include <QString>
#include <memory>
#include <vector>

class CDbConnection;

// What the binding needs from a control.
class IBoundControl {
public:
    virtual ~IBoundControl() = default;

    virtual QString GetText() const = 0;
    virtual void SetText(const QString& text) = 0;
    // The text read as a decimal integer (0 when it does not start with one).
    virtual int GetValue() const = 0;
    virtual void SetValue(int value) = 0;
    // 0 cleared, 1 ticked, 2 undetermined.
    virtual int GetCheck() const = 0;
    virtual void SetCheck(int state) = 0;
    // Date and time conversions of the masked edit; false (and value invalid) when the
    // control does not hold a readable date or time.
    virtual bool GetDate(CDateTime& value) const = 0;
    virtual void SetDate(const CDateTime& value) = 0;
    virtual bool GetTime(CDateTime& value) const = 0;
    virtual void SetTime(const CDateTime& value, bool withSeconds) = 0;
    // Most characters the user may type; 0 removes the limit.
    virtual void SetLimitText(int maxLength) = 0;
};

// One bound column.
struct CFieldBinding {
    enum Kind { Integer, Text, Flag, DateTime };

    std::unique_ptr<IBoundControl> control;
    std::unique_ptr<IBoundControl> timeControl; // DateTime only: the time of day
    QString column;
    int intValue = 0;       // Integer: default, then the collected value
    QString textValue;      // Text: collected, quotes doubled; DateTime: the SQL literal
    bool flagValue = false; // Flag: default, then collected; DateTime: time with seconds
    bool hasDefault = false;
    int maxLength = 0; // Text: input limit, 0 for none
    CDateTime dateTimeValue;
    Kind kind = Text;
};

class CRecordBinding {
public:
    // Works on the program's connection unless given another one.
    CRecordBinding();
    explicit CRecordBinding(CDbConnection& connection);
    CRecordBinding(const CRecordBinding&) = delete;
    CRecordBinding& operator=(const CRecordBinding&) = delete;

    void SetTable(const QString& table);
    const QString& Table() const { return m_table; }

    // The entries go in this order into the column lists of the statements.
    void BindText(std::unique_ptr<IBoundControl> control, const QString& column, int maxLength);
    void BindInt(std::unique_ptr<IBoundControl> control, const QString& column, int defaultValue);
    void BindFlag(std::unique_ptr<IBoundControl> checkBox, const QString& column,
                  bool defaultValue);
    void BindDateTime(std::unique_ptr<IBoundControl> dateControl,
                      std::unique_ptr<IBoundControl> timeControl, const QString& column,
                      const CDateTime& defaultValue, bool withSeconds);

    // Shows row id, or the defaults when id is not above 0. Text controls then get the
    // input limit of their column.
    void Load(long id);
    // True when a save is needed: always for a new row (id not above 0), otherwise
    // when any control differs from the value stored now.
    bool IsModified(long id);
    // Copies the controls into the entries.
    void Collect();
    // Inserts (id -1: id becomes the new row's ID) or updates row id. False when the
    // statement failed (reported by the data layer), and when row id (above 0) is no
    // longer there, deleted meanwhile by another copy of the program (RowGoneMessage is
    // reported through the connection's sink); nothing is stored then, and the dialog
    // keeps the record open.
    bool Save(long& id);
    static QString RowGoneMessage();

    // The statements Save would run with the values collected last.
    QString InsertStatement(long newId) const;
    QString UpdateStatement(long id) const;

    int Count() const { return static_cast<int>(m_entries.size()); }
    const CFieldBinding& Entry(int index) const { return *m_entries[static_cast<size_t>(index)]; }

private:
    // The date of the date control and the time of the time control as one value;
    // invalid when either cannot be read.
    static CDateTime Combined(const CFieldBinding& entry);
    static QString ValueLiteral(const CFieldBinding& entry);
    CFieldBinding& Add(CFieldBinding::Kind kind, std::unique_ptr<IBoundControl> control,
                       const QString& column);

    CDbConnection& m_connection;
    QString m_table;
    std::vector<std::unique_ptr<CFieldBinding>> m_entries;
};
