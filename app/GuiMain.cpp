// The window program. Until the main window is built, it opens the database beside the
// executable and prints what it holds.

#include "Commands.h"
#include "DbConnection.h"
#include "DbQuery.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {
void Print(const QString& text) {
    std::printf("%s\n", text.toLocal8Bit().constData());
}

int Count(CDbQuery& query, const QString& sql) {
    CDbRecordset rs = query.Open(sql);
    return rs.IsOpen() && !rs.IsEOF() ? rs.GetInt(0) : -1;
}
} // namespace

int RunGui(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString path = CDbConnection::DatabasePath();
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "Dravonela: Aplicacion no válida. Falta fichero ostrevan.mdb\n");
        return 1;
    }
    CDbConnection& connection = CDbConnection::Instance();
    if (!connection.Open())
        return 1;

    CDbQuery query;
    Print(QStringLiteral("Base de datos: %1").arg(path));
    Print(QStringLiteral("Servicios:"));
    CDbRecordset services = query.Open(QStringLiteral(
        "SELECT FUNCIONES.ID, FUNCIONES.NOMBRE, (SELECT COUNT(*) FROM PERSONAL WHERE "
        "PERSONAL.ID_FUNCION = FUNCIONES.ID) AS PERSONAS FROM FUNCIONES ORDER BY NOMBRE"));
    while (!services.IsEOF()) {
        Print(QStringLiteral("  %1  (%2 personas)")
                  .arg(services.GetText(QStringLiteral("NOMBRE")), -24)
                  .arg(services.GetInt(QStringLiteral("PERSONAS"))));
        services.MoveNext();
    }
    services.Close();

    struct Table {
        const char* label;
        const char* sql;
    };
    const Table tables[] = {
        {"Tipos de turno", "SELECT COUNT(*) FROM TIPOSTURNO"},
        {"Turnos", "SELECT COUNT(*) FROM TURNOS"},
        {"Asignaciones de referencia", "SELECT COUNT(*) FROM ASIG_TURNOS"},
        {"Fiestas", "SELECT COUNT(*) FROM FIESTAS"},
        {"Excepciones", "SELECT COUNT(*) FROM EXCEPCIONES"},
        {"Vacaciones", "SELECT COUNT(*) FROM VACACIONES"},
        {"Bajas", "SELECT COUNT(*) FROM BAJAS"},
        {"Días personales", "SELECT COUNT(*) FROM DIASPERSONALES"},
        {"Preferencias de impresión", "SELECT COUNT(*) FROM PREF_IMPRESION"},
    };
    for (const Table& table : tables)
        Print(QStringLiteral("%1 %2")
                  .arg(QString::fromUtf8(table.label) + QLatin1Char(':'), -28)
                  .arg(Count(query, QString::fromUtf8(table.sql))));
    return connection.IsOpen() ? 0 : 1;
}
