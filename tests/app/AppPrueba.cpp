#include "AppPrueba.h"

#include "DbConnection.h"
#include "DbQuery.h"
#include "OstrevanApp.h"
#include "Resources.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QWidget>
#include <sqlite3.h>

namespace DvAppPrueba {
QString NuevaBdDemo(const QString& nombre, const QDate& hoy) {
    const QString ruta = DvTest::TempDir() + QLatin1Char('/') + nombre;
    QFile::remove(ruta);
    QString error;
    if (!DvSchema::CreateDatabase(
            ruta, QString(), DvResources::ReadText(QStringLiteral(":/sql/demo.sql")), hoy, error)) {
        qWarning("No se pudo crear %s: %s", qPrintable(ruta), qPrintable(error));
        return QString();
    }
    return ruta;
}

bool AbrirBd(const QString& ruta) {
    CDbConnection& conexion = CDbConnection::Instance();
    conexion.Reset();
    return conexion.OpenFile(ruta, QString());
}

bool Sql(const QString& sentencias) {
    CDbQuery consulta;
    for (const QString& sentencia : DvSchema::StatementsOf(sentencias))
        if (!consulta.ExecuteCommand(sentencia))
            return false;
    return true;
}

std::unique_ptr<COstrevanApp> Iniciar(const QString& ruta, const QStringList& argumentos) {
    auto app = std::make_unique<COstrevanApp>();
    app->SetDatabasePath(ruta);
    if (!app->InitInstance(argumentos))
        return nullptr;
    return app;
}

bool SqlEnFichero(const QString& ruta, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(ruta).constData(), &db);
    const bool ok = sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
}

int VentanasVisibles() {
    int visibles = 0;
    for (QWidget* ventana : QApplication::topLevelWidgets())
        if (ventana->isVisible())
            ++visibles;
    return visibles;
}
} // namespace DvAppPrueba
