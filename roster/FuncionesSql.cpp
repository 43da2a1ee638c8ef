#include "FuncionesSql.h"

#include "DateTime.h"
#include "DbConnection.h"
#include "DbQuery.h"

#include <QString>
#include <sqlite3.h>

namespace {
// The value as a date-time column reads it.
CDateTime Valor(sqlite3_value* valor) {
    switch (sqlite3_value_type(valor)) {
    case SQLITE_NULL:
        return CDateTime::MakeNull();
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return CDateTime::FromDays(sqlite3_value_double(valor));
    case SQLITE_TEXT:
        return CDateTime::ParseUtf8(reinterpret_cast<const char*>(sqlite3_value_text(valor)),
                                    sqlite3_value_bytes(valor));
    default:
        return CDateTime::MakeInvalid();
    }
}

void Dias(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const CDateTime v = Valor(argv[0]);
    if (v.IsValid())
        sqlite3_result_double(ctx, v.Days());
    else
        sqlite3_result_null(ctx);
}

void Dia(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const CDateTime v = Valor(argv[0]);
    if (v.IsValid())
        sqlite3_result_int(ctx, v.DayNumber());
    else
        sqlite3_result_null(ctx);
}

void Hora(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, Valor(argv[0]).GetHour());
}

void Minuto(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, Valor(argv[0]).GetMinute());
}

void Minutos(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const CDateTime v = Valor(argv[0]);
    sqlite3_result_int(ctx, v.GetHour() * 60 + v.GetMinute());
}

bool Registradas(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    const bool hay = sqlite3_prepare_v2(db, "SELECT DV_DIA(NULL)", -1, &stmt, nullptr) == SQLITE_OK;
    sqlite3_finalize(stmt);
    return hay;
}
} // namespace

namespace DvFuncionesSql {
void Preparar() {
    CDbConnection& conexion = CDbConnection::Instance();
    if (!conexion.IsOpen())
        return;
    sqlite3* db = conexion.Handle();
    // Asked once per file opened (each opening has its own number).
    static sqlite3* vista = nullptr;
    static int apertura = -1;
    if (!db || (db == vista && conexion.Aperturas() == apertura))
        return;
    vista = db;
    apertura = conexion.Aperturas();
    if (Registradas(db))
        return;
    const int banderas = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "DV_DIAS", 1, banderas, nullptr, Dias, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "DV_DIA", 1, banderas, nullptr, Dia, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "DV_HORA", 1, banderas, nullptr, Hora, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "DV_MINUTO", 1, banderas, nullptr, Minuto, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "DV_MINUTOS", 1, banderas, nullptr, Minutos, nullptr, nullptr,
                               nullptr);
    // The month's rows are found through indexes on the date columns. A file that cannot
    // take them (read-only) is read without.
    static const char* const indices[] = {
        "CREATE INDEX IF NOT EXISTS IX_EXCEPCIONES_DIA ON EXCEPCIONES (DIA)",
        "CREATE INDEX IF NOT EXISTS IX_VACACIONES_FINAL ON VACACIONES (FINAL)",
        "CREATE INDEX IF NOT EXISTS IX_BAJAS_FINAL ON BAJAS (FINAL)",
        "CREATE INDEX IF NOT EXISTS IX_DIASPERSONALES_INICIO ON DIASPERSONALES (INICIO)",
    };
    CDbQuery consulta(conexion);
    for (const char* sql : indices)
        consulta.ExecuteCommand(QString::fromLatin1(sql), nullptr, 0);
}
} // namespace DvFuncionesSql
