// The session extension is part of the system's SQLite; its declarations are only
// visible with these two names defined.
#define SQLITE_ENABLE_SESSION 1
#define SQLITE_ENABLE_PREUPDATE_HOOK 1
#include "DiarioCambios.h"

#include "DbConnection.h"

#include <QMap>
#include <QMutexLocker>
#include <QStringList>
#include <sqlite3.h>

namespace {
// The most steps kept for undo in a run.
constexpr size_t kPasosMaximos = 200;

struct CNombreTabla {
    const char* tabla;
    const char* nombre;
};
const CNombreTabla kNombres[] = {
    {"FUNCIONES", "servicio"},
    {"PERSONAL", "trabajador"},
    {"TIPOSTURNO", "tipo de turno"},
    {"TURNOS", "turno"},
    {"ASIG_TURNOS", "asignación de turno"},
    {"FIESTAS", "festivo"},
    {"EXCEPCIONES", "excepción"},
    {"VACACIONES", "vacaciones"},
    {"BAJAS", "baja"},
    {"DIASPERSONALES", "día personal"},
    {"PREF_IMPRESION", "opciones de planilla"},
    {"REGLAS_SERVICIO", "reglas"},
    {"MINIMOS_COBERTURA", "mínimos"},
};

QString NombreDeTabla(const QString& tabla) {
    for (const CNombreTabla& n : kNombres)
        if (tabla.compare(QLatin1String(n.tabla), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(n.nombre);
    return tabla.toLower();
}

QString Texto(sqlite3_value* valor) {
    if (!valor || sqlite3_value_type(valor) == SQLITE_NULL)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(valor)));
}

QStringList ColumnasDe(sqlite3* db, const QString& tabla) {
    QStringList columnas;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT upper(name) FROM pragma_table_info(?1) ORDER BY cid", -1,
                           &stmt, nullptr) == SQLITE_OK) {
        const QByteArray nombre = tabla.toUtf8();
        sqlite3_bind_text(stmt, 1, nombre.constData(), nombre.size(), SQLITE_TRANSIENT);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            columnas << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    return columnas;
}

// One text of a row read from the file: "" when there is none.
QString Leer(sqlite3* db, const QString& sql, const QString& id) {
    sqlite3_stmt* stmt = nullptr;
    QString texto;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        const QByteArray valor = id.toUtf8();
        sqlite3_bind_text(stmt, 1, valor.constData(), valor.size(), SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
            texto = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    return texto.trimmed();
}

QString NombreTrabajador(sqlite3* db, const QString& id) {
    return Leer(db,
                QStringLiteral("SELECT trim(coalesce(NOMBRE, '') || ' ' || coalesce(APELLIDOS, "
                               "'')) FROM PERSONAL WHERE ID = ?1"),
                id);
}

// The words that tell which row a change was about: its name, or whose it is.
QString QuienEs(sqlite3* db, const QString& tabla, const QMap<QString, QString>& fila) {
    const QString t = tabla.toUpper();
    if (t == QLatin1String("PERSONAL")) {
        const QString nombre = (fila.value(QStringLiteral("NOMBRE")) + QLatin1Char(' ') +
                                fila.value(QStringLiteral("APELLIDOS")))
                                   .trimmed();
        return nombre.isEmpty() ? fila.value(QStringLiteral("NOMBREPLANILLA")) : nombre;
    }
    if (fila.contains(QStringLiteral("NOMBRE")))
        return fila.value(QStringLiteral("NOMBRE")).trimmed();
    if (fila.contains(QStringLiteral("DESCRIPCION")))
        return fila.value(QStringLiteral("DESCRIPCION")).trimmed();
    if (fila.contains(QStringLiteral("ID_PERSONAL"))) {
        const QString nombre = NombreTrabajador(db, fila.value(QStringLiteral("ID_PERSONAL")));
        return nombre.isEmpty() ? QString() : QStringLiteral("de ") + nombre;
    }
    if (fila.contains(QStringLiteral("ID_SERVICIO"))) {
        const QString nombre =
            Leer(db, QStringLiteral("SELECT NOMBRE FROM FUNCIONES WHERE ID = ?1"),
                 fila.value(QStringLiteral("ID_SERVICIO")));
        return nombre.isEmpty() ? QString() : QStringLiteral("de ") + nombre;
    }
    return QString();
}

int Conflicto(void*, int, sqlite3_changeset_iter*) {
    // A row no longer as the step left it: nothing of the step is applied.
    return SQLITE_CHANGESET_ABORT;
}
} // namespace

CDiarioCambios::CDiarioCambios(CDbConnection& conexion) : m_conexion(conexion) {}

CDiarioCambios::~CDiarioCambios() {
    CerrarSesion();
}

void CDiarioCambios::Activar(bool activo) {
    m_activo = activo;
    if (!activo)
        Vaciar();
}

void CDiarioCambios::CerrarSesion() {
    if (m_sesion)
        sqlite3session_delete(m_sesion);
    m_sesion = nullptr;
    m_db = nullptr;
    m_fallo = false;
}

void CDiarioCambios::Vaciar() {
    CerrarSesion();
    m_deshacer.clear();
    m_rehacer.clear();
}

void CDiarioCambios::AntesDeEscribir(sqlite3* db) {
    if (!m_activo || !db)
        return;
    if (m_sesion && m_db == db)
        return;
    CerrarSesion();
    if (sqlite3session_create(db, "main", &m_sesion) != SQLITE_OK) {
        m_sesion = nullptr;
        return;
    }
    if (sqlite3session_attach(m_sesion, nullptr) != SQLITE_OK) {
        CerrarSesion();
        return;
    }
    m_db = db;
}

void CDiarioCambios::DespuesDe(sqlite3* db, bool ok, bool deshace) {
    if (!m_sesion || db != m_db)
        return;
    if (!ok || deshace)
        m_fallo = true;
    // Inside a transaction the step goes on until its end.
    if (!sqlite3_get_autocommit(db))
        return;
    if (!m_fallo) {
        int tamano = 0;
        void* datos = nullptr;
        if (sqlite3session_changeset(m_sesion, &tamano, &datos) == SQLITE_OK && tamano > 0) {
            const QByteArray cambios(static_cast<const char*>(datos), tamano);
            m_deshacer.push_back({NombrarPaso(db, cambios), cambios});
            if (m_deshacer.size() > kPasosMaximos)
                m_deshacer.erase(m_deshacer.begin());
            m_rehacer.clear();
        }
        sqlite3_free(datos);
    }
    CerrarSesion();
}

QString CDiarioCambios::TextoDeshacer() const {
    return m_deshacer.empty() ? QString() : m_deshacer.back().nombre;
}

QString CDiarioCambios::TextoRehacer() const {
    return m_rehacer.empty() ? QString() : m_rehacer.back().nombre;
}

bool CDiarioCambios::Deshacer(QString* error) {
    return Aplicar(m_deshacer, m_rehacer, true, error);
}

bool CDiarioCambios::Rehacer(QString* error) {
    return Aplicar(m_rehacer, m_deshacer, false, error);
}

bool CDiarioCambios::Aplicar(std::vector<CPaso>& desde, std::vector<CPaso>& hacia, bool inverso,
                             QString* error) {
    auto fallar = [error](const QString& texto) {
        if (error)
            *error = texto;
        return false;
    };
    const QString accion = inverso ? QStringLiteral("deshacer") : QStringLiteral("rehacer");
    if (desde.empty())
        return fallar(QStringLiteral("No hay nada que %1.").arg(accion));
    QMutexLocker bloqueo(&m_conexion.Lock());
    sqlite3* db = m_conexion.Handle();
    if (!m_conexion.IsOpen() || !db)
        return fallar(
            QStringLiteral("No se puede %1: la base de datos no está abierta.").arg(accion));
    if (!sqlite3_get_autocommit(db) || m_sesion)
        return fallar(
            QStringLiteral("No se puede %1 mientras se está escribiendo en la base de datos.")
                .arg(accion));
    const CPaso& paso = desde.back();
    QByteArray cambios = paso.cambios;
    if (inverso) {
        int tamano = 0;
        void* datos = nullptr;
        if (sqlite3changeset_invert(paso.cambios.size(),
                                    const_cast<char*>(paso.cambios.constData()), &tamano,
                                    &datos) != SQLITE_OK)
            return fallar(QStringLiteral("No se puede deshacer «%1».").arg(paso.nombre));
        cambios = QByteArray(static_cast<const char*>(datos), tamano);
        sqlite3_free(datos);
    }
    m_conexion.AntesDeCambiar();
    // One savepoint: the whole step is applied, or nothing when a row has changed since.
    const int rc =
        sqlite3changeset_apply(db, cambios.size(), cambios.data(), nullptr, &Conflicto, nullptr);
    if (rc == SQLITE_ABORT)
        return fallar(QStringLiteral("No se puede %1 «%2»: los datos han cambiado desde entonces.")
                          .arg(accion, paso.nombre));
    if (rc != SQLITE_OK)
        return fallar(QStringLiteral("No se puede %1 «%2»: %3")
                          .arg(accion, paso.nombre, QString::fromUtf8(sqlite3_errmsg(db))));
    hacia.push_back(paso);
    desde.pop_back();
    return true;
}

QString CDiarioCambios::NombrarPaso(sqlite3* db, const QByteArray& cambios) {
    sqlite3_changeset_iter* it = nullptr;
    if (sqlite3changeset_start(&it, cambios.size(), const_cast<char*>(cambios.constData())) !=
        SQLITE_OK)
        return QStringLiteral("cambio");
    QString nombre;
    QString primeraTabla;
    int primeraOp = 0;
    bool soloOrden = true;
    int filas = 0;
    while (sqlite3changeset_next(it) == SQLITE_ROW) {
        const char* tabla = nullptr;
        int columnas = 0;
        int op = 0;
        int indirecto = 0;
        sqlite3changeset_op(it, &tabla, &columnas, &op, &indirecto);
        const QString estaTabla = QString::fromUtf8(tabla);
        const QStringList nombres = ColumnasDe(db, estaTabla);
        if (filas == 0) {
            primeraTabla = estaTabla;
            primeraOp = op;
        }
        ++filas;
        // A renumbering changes ORDEN alone, in rows of one table.
        if (op != SQLITE_UPDATE || estaTabla != primeraTabla) {
            soloOrden = false;
        } else {
            for (int i = 0; i < columnas; ++i) {
                sqlite3_value* nuevo = nullptr;
                if (sqlite3changeset_new(it, i, &nuevo) == SQLITE_OK && nuevo &&
                    nombres.value(i) != QLatin1String("ORDEN"))
                    soloOrden = false;
            }
        }
        if (filas > 1)
            continue;
        QMap<QString, QString> fila;
        QString id;
        unsigned char* clave = nullptr;
        int nClave = 0;
        sqlite3changeset_pk(it, &clave, &nClave);
        for (int i = 0; i < columnas; ++i) {
            sqlite3_value* valor = nullptr;
            if (op == SQLITE_INSERT)
                sqlite3changeset_new(it, i, &valor);
            else
                sqlite3changeset_old(it, i, &valor);
            if (valor && i < nClave && clave[i])
                id = Texto(valor);
            if (valor && op != SQLITE_UPDATE)
                fila.insert(nombres.value(i), Texto(valor));
        }
        if (op == SQLITE_UPDATE && !id.isEmpty()) {
            // Only the changed columns travel in the step: the rest is read.
            sqlite3_stmt* stmt = nullptr;
            const QString sql =
                QStringLiteral("SELECT * FROM \"%1\" WHERE rowid = ?1").arg(estaTabla);
            if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK) {
                sqlite3_bind_int64(stmt, 1, id.toLongLong());
                if (sqlite3_step(stmt) == SQLITE_ROW)
                    for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                        fila.insert(QString::fromUtf8(sqlite3_column_name(stmt, i)).toUpper(),
                                    Texto(sqlite3_column_value(stmt, i)));
            }
            sqlite3_finalize(stmt);
        }
        nombre = QuienEs(db, estaTabla, fila);
    }
    sqlite3changeset_finalize(it);
    if (filas == 0)
        return QStringLiteral("cambio");
    const QString cosa = NombreDeTabla(primeraTabla);
    if (soloOrden && primeraOp == SQLITE_UPDATE)
        return QStringLiteral("cambiar el orden de %1")
            .arg(primeraTabla.toUpper() == QLatin1String("TURNOS") ? QStringLiteral("los turnos")
                                                                   : cosa);
    const QString verbo = primeraOp == SQLITE_INSERT   ? QStringLiteral("añadir")
                          : primeraOp == SQLITE_DELETE ? QStringLiteral("borrar")
                                                       : QStringLiteral("cambiar");
    return nombre.isEmpty() ? verbo + QLatin1Char(' ') + cosa
                            : verbo + QLatin1Char(' ') + cosa + QLatin1Char(' ') + nombre;
}
