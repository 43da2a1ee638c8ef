#include "RecordBinding.h"

#include "DbConnection.h"
#include "DbQuery.h"

#include <QStringList>

namespace {
// Entries are added twenty slots at a time, as a dialog rarely binds more.
constexpr size_t kGrowBy = 20;
} // namespace

CRecordBinding::CRecordBinding() : CRecordBinding(CDbConnection::Instance()) {}

CRecordBinding::CRecordBinding(CDbConnection& connection) : m_connection(connection) {}

void CRecordBinding::SetTable(const QString& table) {
    m_table = table;
}

CFieldBinding& CRecordBinding::Add(CFieldBinding::Kind kind, std::unique_ptr<IBoundControl> control,
                                   const QString& column) {
    if (m_entries.size() == m_entries.capacity())
        m_entries.reserve(m_entries.size() + kGrowBy);
    auto entry = std::make_unique<CFieldBinding>();
    entry->kind = kind;
    entry->control = std::move(control);
    entry->column = column;
    m_entries.push_back(std::move(entry));
    return *m_entries.back();
}

void CRecordBinding::BindText(std::unique_ptr<IBoundControl> control, const QString& column,
                              int maxLength) {
    CFieldBinding& entry = Add(CFieldBinding::Text, std::move(control), column);
    entry.maxLength = maxLength;
}

void CRecordBinding::BindInt(std::unique_ptr<IBoundControl> control, const QString& column,
                             int defaultValue) {
    CFieldBinding& entry = Add(CFieldBinding::Integer, std::move(control), column);
    entry.intValue = defaultValue;
    entry.hasDefault = true;
}

void CRecordBinding::BindFlag(std::unique_ptr<IBoundControl> checkBox, const QString& column,
                              bool defaultValue) {
    CFieldBinding& entry = Add(CFieldBinding::Flag, std::move(checkBox), column);
    entry.flagValue = defaultValue;
    entry.hasDefault = true;
}

void CRecordBinding::BindDateTime(std::unique_ptr<IBoundControl> dateControl,
                                  std::unique_ptr<IBoundControl> timeControl, const QString& column,
                                  const CDateTime& defaultValue, bool withSeconds) {
    CFieldBinding& entry = Add(CFieldBinding::DateTime, std::move(dateControl), column);
    entry.timeControl = std::move(timeControl);
    entry.dateTimeValue = defaultValue;
    entry.flagValue = withSeconds;
    entry.hasDefault = true;
}

void CRecordBinding::Load(long id) {
    CDbQuery query(m_connection);
    const bool stored = id > 0;
    for (const auto& e : m_entries) {
        CFieldBinding& entry = *e;
        IBoundControl* control = entry.control.get();
        switch (entry.kind) {
        case CFieldBinding::Integer:
            if (stored)
                control->SetValue(query.GetIntById(m_table, entry.column, id));
            else if (entry.hasDefault)
                control->SetValue(entry.intValue);
            break;
        case CFieldBinding::Text:
            control->SetText(stored ? query.GetTextById(m_table, entry.column, id) : QString());
            if (entry.maxLength >= 1)
                control->SetLimitText(entry.maxLength);
            break;
        case CFieldBinding::Flag: {
            bool ticked = false;
            if (stored)
                ticked = query.GetFlagById(m_table, entry.column, id);
            else if (entry.hasDefault)
                ticked = entry.flagValue;
            control->SetCheck(ticked ? 1 : 0);
            break;
        }
        case CFieldBinding::DateTime: {
            // A row that has gone, or a NULL column, shows both controls empty.
            CDateTime value = CDateTime::MakeNull();
            if (stored)
                query.GetDateTimeById(m_table, entry.column, id, value);
            else
                value = entry.dateTimeValue;
            control->SetDate(value);
            if (entry.timeControl)
                entry.timeControl->SetTime(value, entry.flagValue);
            break;
        }
        }
    }
}

CDateTime CRecordBinding::Combined(const CFieldBinding& entry) {
    CDateTime date;
    CDateTime time;
    const bool hasDate = entry.control->GetDate(date);
    const bool hasTime = entry.timeControl ? entry.timeControl->GetTime(time) : true;
    if (!hasDate || !hasTime)
        return CDateTime::MakeInvalid();
    CDateTime result;
    if (!result.SetDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), time.GetHour(),
                            time.GetMinute(), time.GetSecond()))
        return CDateTime::MakeInvalid();
    return result;
}

bool CRecordBinding::IsModified(long id) {
    if (id <= 0)
        return true;
    CDbQuery query(m_connection);
    for (const auto& e : m_entries) {
        const CFieldBinding& entry = *e;
        const IBoundControl* control = entry.control.get();
        switch (entry.kind) {
        case CFieldBinding::Integer:
            if (control->GetValue() != query.GetIntById(m_table, entry.column, id))
                return true;
            break;
        case CFieldBinding::Text:
            // The stored text comes back trimmed; the control's is taken as typed, so
            // blanks the user added count as a change.
            if (control->GetText() != query.GetTextById(m_table, entry.column, id))
                return true;
            break;
        case CFieldBinding::Flag:
            if (control->GetCheck() != (query.GetFlagById(m_table, entry.column, id) ? 1 : 0))
                return true;
            break;
        case CFieldBinding::DateTime: {
            const CDateTime shown = Combined(entry);
            CDateTime stored = CDateTime::MakeNull();
            query.GetDateTimeById(m_table, entry.column, id, stored);
            if (shown.IsValid() != stored.IsValid())
                return true;
            if (shown.IsValid() && shown != stored)
                return true;
            break;
        }
        }
    }
    return false;
}

void CRecordBinding::Collect() {
    for (const auto& e : m_entries) {
        CFieldBinding& entry = *e;
        switch (entry.kind) {
        case CFieldBinding::Integer:
            entry.intValue = entry.control->GetValue();
            break;
        case CFieldBinding::Text:
            entry.textValue = QuoteSqlText(entry.control->GetText());
            break;
        case CFieldBinding::Flag:
            entry.flagValue = entry.control->GetCheck() == 1;
            break;
        case CFieldBinding::DateTime:
            entry.dateTimeValue = Combined(entry);
            entry.textValue = entry.dateTimeValue.IsValid()
                                  ? FormatDateTimeLiteral(entry.dateTimeValue)
                                  : QString();
            break;
        }
    }
}

QString CRecordBinding::ValueLiteral(const CFieldBinding& entry) {
    switch (entry.kind) {
    case CFieldBinding::Integer:
        return QString::number(entry.intValue);
    case CFieldBinding::Text:
        return QLatin1Char('\'') + entry.textValue + QLatin1Char('\'');
    case CFieldBinding::Flag:
        return QString::number(entry.flagValue ? 1 : 0);
    case CFieldBinding::DateTime:
        return entry.textValue.isEmpty() ? QStringLiteral("null") : entry.textValue;
    }
    return QString();
}

QString CRecordBinding::InsertStatement(long newId) const {
    QStringList columns;
    QStringList values;
    for (const auto& entry : m_entries) {
        columns << entry->column;
        values << ValueLiteral(*entry);
    }
    QString sql = QStringLiteral("INSERT INTO %1 (ID,").arg(m_table);
    sql += columns.join(QLatin1Char(','));
    sql += QStringLiteral(") VALUES(") + QString::number(newId) + QLatin1Char(',');
    sql += values.join(QLatin1Char(','));
    sql += QLatin1Char(')');
    return sql;
}

QString CRecordBinding::UpdateStatement(long id) const {
    QStringList assignments;
    for (const auto& entry : m_entries)
        assignments << entry->column + QStringLiteral(" = ") + ValueLiteral(*entry);
    return QStringLiteral("UPDATE %1 SET ").arg(m_table) + assignments.join(QLatin1Char(',')) +
           QStringLiteral(" WHERE ID = ") + QString::number(id);
}

bool CRecordBinding::Save(long& id) {
    Collect();
    CDbQuery query(m_connection);
    if (id == -1) {
        id = query.NextId(m_table);
        if (id == -1)
            return false; // every attempt was reported; nothing to insert under
        return query.ExecuteCommand(InsertStatement(id));
    }
    if (!query.ExecuteCommand(UpdateStatement(id)))
        return false;
    // The row went while the record was open (another copy of the program deleted it):
    // the edit was stored nowhere, and the user must know. (An ID of 0 names no row at
    // all; its UPDATE changes nothing and succeeds, as callers expect.)
    if (id > 0 && query.ChangedRows() == 0) {
        m_connection.ReportMessage(RowGoneMessage());
        return false;
    }
    return true;
}

QString CRecordBinding::RowGoneMessage() {
    return QStringLiteral("El registro ya no existe en la base de datos: se ha borrado mientras "
                          "se editaba. Los cambios no se han guardado.");
}
