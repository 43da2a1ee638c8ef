#include "DbError.h"

#include <sqlite3.h>

QString DbEngineSource() {
    return QStringLiteral("Motor de base de datos SQLite %1")
        .arg(QString::fromLatin1(sqlite3_libversion()));
}

CDbError CDbError::Make(uint32_t code, const QString& description) {
    CDbError error;
    error.code = code;
    error.source = DbEngineSource();
    error.hasSource = true;
    error.description = description;
    error.hasDescription = true;
    return error;
}

CDbError CDbError::FromSqlite(int resultCode, const char* engineMessage) {
    const QString text = engineMessage ? QString::fromUtf8(engineMessage)
                                       : QString::fromUtf8(sqlite3_errstr(resultCode));
    uint32_t code = DbCode::Fail;
    switch (resultCode & 0xff) {
    case SQLITE_CONSTRAINT:
        code = DbCode::Integrity;
        break;
    case SQLITE_AUTH:
        code = DbCode::Authentication;
        break;
    case SQLITE_ERROR:
        if (text.startsWith(QLatin1String("no such table")))
            code = DbCode::MissingTable;
        else if (text.contains(QLatin1String("syntax error")) ||
                 text.startsWith(QLatin1String("incomplete input")) ||
                 text.startsWith(QLatin1String("unrecognized token")) ||
                 text.startsWith(QLatin1String("no such function")) ||
                 text.startsWith(QLatin1String("wrong number of arguments")))
            code = DbCode::Syntax;
        break;
    default:
        break;
    }
    return Make(code, text);
}
