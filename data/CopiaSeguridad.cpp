#include "CopiaSeguridad.h"

#include "ArchivoSalida.h"
#include "Resources.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <sqlite3.h>
#include <sys/statvfs.h>

namespace DvCopia {
namespace {
const QString kFormato = QStringLiteral("yyyyMMdd-HHmmss");

// The tables the upgrade adds by itself to a file made before them.
const char* const kAnadidas[] = {"VACACIONES", "AUX", "REGLAS_SERVICIO", "MINIMOS_COBERTURA"};

QString Mostrada(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

QString TextoDe(sqlite3_stmt* stmt, int columna) {
    const unsigned char* texto = sqlite3_column_text(stmt, columna);
    return texto ? QString::fromUtf8(reinterpret_cast<const char*>(texto)) : QString();
}

// Why SQLite refused, in the words a planner reads.
QString Causa(sqlite3* db, int rc) {
    switch (rc & 0xff) {
    case SQLITE_CORRUPT:
        return QStringLiteral("el fichero está dañado (%1)")
            .arg(QString::fromUtf8(sqlite3_errmsg(db)));
    case SQLITE_NOTADB:
        return QStringLiteral("el fichero no es una base de datos");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("otro programa está usando el fichero");
    case SQLITE_CANTOPEN:
        return QStringLiteral("no se puede abrir el fichero");
    case SQLITE_IOERR:
        return QStringLiteral("error de entrada/salida al leer el fichero");
    default:
        return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    }
}

// The column names of a table, upper case; empty when the table does not exist.
QStringList Columnas(sqlite3* db, const QString& tabla, bool* ok) {
    QStringList nombres;
    sqlite3_stmt* stmt = nullptr;
    *ok = sqlite3_prepare_v2(db, "SELECT upper(name) FROM pragma_table_info(?1)", -1, &stmt,
                             nullptr) == SQLITE_OK;
    if (*ok) {
        const QByteArray nombre = tabla.toUtf8();
        sqlite3_bind_text(stmt, 1, nombre.constData(), nombre.size(), SQLITE_TRANSIENT);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            nombres << TextoDe(stmt, 0);
        *ok = rc == SQLITE_DONE;
    }
    sqlite3_finalize(stmt);
    return nombres;
}

// The tables of a new file and their columns, from the program's own schema.
struct CTablaEsperada {
    QString nombre;
    QStringList columnas;
};
const std::vector<CTablaEsperada>& Esperadas() {
    static const std::vector<CTablaEsperada> tablas = [] {
        std::vector<CTablaEsperada> lista;
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
            sqlite3_exec(
                db, DvResources::ReadText(QStringLiteral(":/sql/schema.sql")).toUtf8().constData(),
                nullptr, nullptr, nullptr) == SQLITE_OK) {
            sqlite3_stmt* stmt = nullptr;
            QStringList nombres;
            if (sqlite3_prepare_v2(db,
                                   "SELECT upper(name) FROM sqlite_master WHERE type = 'table' "
                                   "ORDER BY rowid",
                                   -1, &stmt, nullptr) == SQLITE_OK)
                while (sqlite3_step(stmt) == SQLITE_ROW)
                    nombres << TextoDe(stmt, 0);
            sqlite3_finalize(stmt);
            for (const QString& nombre : nombres) {
                bool ok = false;
                lista.push_back({nombre, Columnas(db, nombre, &ok)});
            }
        }
        sqlite3_close(db);
        return lista;
    }();
    return tablas;
}

bool Anadida(const QString& tabla) {
    for (const char* nombre : kAnadidas)
        if (tabla == QLatin1String(nombre))
            return true;
    return false;
}

// Opens a file to read it only; null with the reason in error.
sqlite3* AbrirLectura(const QString& ruta, QString* error) {
    const QFileInfo info(ruta);
    if (!info.exists()) {
        *error = QStringLiteral("no existe el fichero %1").arg(Mostrada(ruta));
        return nullptr;
    }
    if (!info.isFile()) {
        *error = QStringLiteral("%1 no es un fichero normal").arg(Mostrada(ruta));
        return nullptr;
    }
    if (info.size() == 0) {
        *error = QStringLiteral("el fichero %1 está vacío").arg(Mostrada(ruta));
        return nullptr;
    }
    if (DvSchema::InspectFile(ruta) == DvSchema::FileKind::Foreign) {
        *error = DvSchema::ForeignFileMessage(ruta);
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        *error = Causa(db, rc);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 3000);
    return db;
}

qint64 EspacioLibre(const QString& carpeta) {
    struct statvfs vfs {};
    if (::statvfs(QFile::encodeName(carpeta).constData(), &vfs) != 0)
        return -1;
    return static_cast<qint64>(vfs.f_bavail) * static_cast<qint64>(vfs.f_frsize);
}

// The database whole, taken page by page in one read transaction; retried while another
// program holds the file locked for a moment.
bool Volcar(sqlite3* origen, QByteArray& bytes, QString* error) {
    sqlite3* memoria = nullptr;
    if (sqlite3_open_v2(":memory:", &memoria, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        *error = QStringLiteral("memoria insuficiente");
        sqlite3_close(memoria);
        return false;
    }
    int rc = SQLITE_ERROR;
    for (int intento = 0; intento < 50; ++intento) {
        sqlite3_backup* copia = sqlite3_backup_init(memoria, "main", origen, "main");
        if (!copia) {
            rc = sqlite3_errcode(memoria);
            break;
        }
        rc = sqlite3_backup_step(copia, -1);
        sqlite3_backup_finish(copia);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        sqlite3_sleep(100);
    }
    bool ok = rc == SQLITE_DONE;
    if (!ok) {
        *error = Causa(origen, rc);
    } else {
        // Only damage stops a copy: a file of an odd schema is still the planner's.
        const QStringList problemas = Integridad(memoria, true);
        if (!problemas.isEmpty()) {
            *error = problemas.first();
            ok = false;
        }
    }
    if (ok) {
        sqlite3_int64 tamano = 0;
        unsigned char* imagen = sqlite3_serialize(memoria, "main", &tamano, 0);
        ok = imagen && tamano > 0 && tamano <= std::numeric_limits<int>::max();
        if (ok)
            bytes = QByteArray(reinterpret_cast<const char*>(imagen), static_cast<int>(tamano));
        else
            *error = QStringLiteral("memoria insuficiente");
        sqlite3_free(imagen);
    }
    sqlite3_close(memoria);
    return ok;
}

bool Renombrar(const QString& de, const QString& a) {
    return ::rename(QFile::encodeName(de).constData(), QFile::encodeName(a).constData()) == 0;
}

// The files SQLite keeps beside a database while it is written.
const char* const kCompaneros[] = {"-journal", "-wal", "-shm"};
} // namespace

QString NombreCopia(const QDateTime& momento) {
    return QStringLiteral("ostrevan-") + momento.toString(kFormato) + QStringLiteral(".mdb");
}

QDateTime MomentoDe(const QString& nombre) {
    static const QRegularExpression patron(
        QStringLiteral("^ostrevan-(\\d{8}-\\d{6})(?:-\\d{1,3})?\\.mdb$"));
    const QRegularExpressionMatch m = patron.match(nombre);
    if (!m.hasMatch())
        return QDateTime();
    return QDateTime::fromString(m.captured(1), kFormato);
}

QString Carpeta(const QString& bd, const QString& alternativa) {
    const QFileInfo info(bd);
    QStringList candidatas{info.absoluteDir().filePath(QStringLiteral("copias"))};
    if (!alternativa.isEmpty())
        candidatas << QDir(alternativa).filePath(QStringLiteral("copias"));
    for (const QString& carpeta : candidatas) {
        if (!QDir().mkpath(carpeta))
            continue;
        const QFileInfo datos(carpeta);
        if (datos.isDir() && datos.isWritable())
            return carpeta;
    }
    return QString();
}

std::vector<CCopia> Listar(const QString& carpeta) {
    std::vector<CCopia> copias;
    const QDir dir(carpeta);
    const QStringList nombres =
        dir.entryList({QStringLiteral("ostrevan-*.mdb")}, QDir::Files, QDir::Name);
    for (const QString& nombre : nombres) {
        const QDateTime momento = MomentoDe(nombre);
        if (momento.isValid())
            copias.push_back({dir.filePath(nombre), momento});
    }
    std::stable_sort(copias.begin(), copias.end(), [](const CCopia& a, const CCopia& b) {
        return a.momento != b.momento ? a.momento > b.momento : a.ruta > b.ruta;
    });
    return copias;
}

QStringList Conservar(const QStringList& nombres, const QDate& hoy) {
    struct CNombre {
        QString nombre;
        QDateTime momento;
    };
    std::vector<CNombre> copias;
    QStringList conservados;
    for (const QString& nombre : nombres) {
        const QDateTime momento = MomentoDe(nombre);
        if (momento.isValid())
            copias.push_back({nombre, momento});
        else
            conservados << nombre; // not a copy: not ours to remove
    }
    std::stable_sort(copias.begin(), copias.end(), [](const CNombre& a, const CNombre& b) {
        return a.momento != b.momento ? a.momento > b.momento : a.nombre > b.nombre;
    });
    const QDate primerMes = QDate(hoy.year(), hoy.month(), 1).addMonths(-(MesesConservados - 1));
    QSet<int> mesesVistos;
    for (size_t i = 0; i < copias.size(); ++i) {
        const QDate dia = copias[i].momento.date();
        const int mes = dia.year() * 12 + dia.month();
        bool guardar = static_cast<int>(i) < CopiasRecientes;
        if (dia >= primerMes && !mesesVistos.contains(mes)) {
            mesesVistos.insert(mes);
            guardar = true;
        }
        if (guardar)
            conservados << copias[i].nombre;
    }
    return conservados;
}

int Rotar(const QString& carpeta, const QDate& hoy) {
    const std::vector<CCopia> copias = Listar(carpeta);
    QStringList nombres;
    for (const CCopia& copia : copias)
        nombres << QFileInfo(copia.ruta).fileName();
    const QStringList quedan = Conservar(nombres, hoy);
    int quitadas = 0;
    for (const CCopia& copia : copias)
        if (!quedan.contains(QFileInfo(copia.ruta).fileName()) && QFile::remove(copia.ruta))
            ++quitadas;
    return quitadas;
}

CResultado Copiar(sqlite3* db, const QString& carpeta, const QDateTime& ahora, qint64 reserva) {
    CResultado resultado;
    if (!db || carpeta.isEmpty()) {
        resultado.mensaje =
            QStringLiteral("No se hizo la copia de seguridad: no hay carpeta donde escribirla");
        return resultado;
    }
    QByteArray bytes;
    QString error;
    if (!Volcar(db, bytes, &error)) {
        resultado.estado = error.startsWith(QLatin1String("el fichero está dañado")) ||
                                   error.startsWith(QLatin1String("el fichero no es")) ||
                                   error.startsWith(QLatin1String("la base de datos"))
                               ? Estado::Danada
                               : Estado::Fallo;
        resultado.mensaje = QStringLiteral("No se hizo la copia de seguridad: %1").arg(error);
        return resultado;
    }
    const qint64 libre = EspacioLibre(carpeta);
    if (libre >= 0 && libre < bytes.size() + reserva) {
        resultado.estado = Estado::SinEspacio;
        resultado.mensaje = QStringLiteral("No se hizo la copia de seguridad: queda poco espacio "
                                           "en el disco (%1 MB libres)")
                                .arg(libre / (1024 * 1024));
        return resultado;
    }
    const QDir dir(carpeta);
    QString ruta = dir.filePath(NombreCopia(ahora));
    for (int n = 2; QFileInfo::exists(ruta) && n < 100; ++n)
        ruta =
            dir.filePath(QStringLiteral("ostrevan-%1-%2.mdb").arg(ahora.toString(kFormato)).arg(n));
    if (!DvArchivo::EscribirNuevo(ruta, bytes, &error)) {
        resultado.mensaje = QStringLiteral("No se hizo la copia de seguridad: %1").arg(error);
        return resultado;
    }
    Rotar(carpeta, ahora.date());
    resultado.estado = Estado::Hecha;
    resultado.ruta = ruta;
    resultado.mensaje = QStringLiteral("Copia de seguridad hecha: %1").arg(Mostrada(ruta));
    return resultado;
}

CResultado CopiarFichero(const QString& bd, const QString& carpeta, const QDateTime& ahora,
                         qint64 reserva) {
    QString error;
    sqlite3* db = AbrirLectura(bd, &error);
    if (!db) {
        CResultado resultado;
        resultado.mensaje = QStringLiteral("No se hizo la copia de seguridad: %1").arg(error);
        return resultado;
    }
    const CResultado resultado = Copiar(db, carpeta, ahora, reserva);
    sqlite3_close(db);
    return resultado;
}

QStringList Integridad(sqlite3* db, bool rapida) {
    QStringList problemas;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(
        db, rapida ? "PRAGMA quick_check(20)" : "PRAGMA integrity_check(20)", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        // SQLite's own words, a finding a line, without the name of the schema; a row may
        // hold several findings of one page. The first few tell the planner enough.
        constexpr int kMostrados = 3;
        QStringList hallazgos;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QString texto = TextoDe(stmt, 0);
            texto.remove(QStringLiteral("*** in database main ***"));
            for (const QString& linea : texto.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                const QString hallazgo = linea.simplified();
                if (!hallazgo.isEmpty() &&
                    hallazgo.compare(QLatin1String("ok"), Qt::CaseInsensitive) != 0)
                    hallazgos << hallazgo;
            }
        }
        const int total = int(hallazgos.size());
        for (int i = 0; i < total && i < kMostrados; ++i)
            problemas << QStringLiteral("la base de datos está dañada: %1").arg(hallazgos[i]);
        if (total > kMostrados)
            problemas << QStringLiteral("y %1 problemas más de la misma comprobación")
                             .arg(total - kMostrados);
    }
    // A check that could not go on says so when it has found nothing else.
    if (rc != SQLITE_DONE && problemas.isEmpty())
        problemas
            << ((rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_NOTADB
                    ? Causa(db, rc)
                    : QStringLiteral("no se pudo comprobar el fichero: %1").arg(Causa(db, rc)));
    sqlite3_finalize(stmt);
    return problemas;
}

QStringList Problemas(sqlite3* db, bool rapida) {
    QStringList problemas = Integridad(db, rapida);
    if (!problemas.isEmpty())
        return problemas;
    for (const CTablaEsperada& tabla : Esperadas()) {
        bool ok = false;
        const QStringList columnas = Columnas(db, tabla.nombre, &ok);
        if (!ok) {
            problemas << QStringLiteral("no se pudo leer la tabla %1: %2")
                             .arg(tabla.nombre, QString::fromUtf8(sqlite3_errmsg(db)));
            continue;
        }
        if (columnas.isEmpty()) {
            if (!Anadida(tabla.nombre))
                problemas << QStringLiteral("falta la tabla %1").arg(tabla.nombre);
            continue;
        }
        for (const QString& columna : tabla.columnas)
            if (!columnas.contains(columna))
                problemas << QStringLiteral("falta la columna %1 de la tabla %2")
                                 .arg(columna, tabla.nombre);
    }
    return problemas;
}

QStringList ProblemasFichero(const QString& ruta, bool rapida) {
    QString error;
    sqlite3* db = AbrirLectura(ruta, &error);
    if (!db)
        return {error};
    const QStringList problemas = Problemas(db, rapida);
    sqlite3_close(db);
    return problemas;
}

CCopia UltimaBuena(const QString& carpeta) {
    for (const CCopia& copia : Listar(carpeta))
        if (ProblemasFichero(copia.ruta, true).isEmpty())
            return copia;
    return CCopia();
}

QString NombreApartado(const QString& bd, const QDateTime& momento) {
    return bd + QStringLiteral(".dañado-") + momento.toString(kFormato);
}

bool Restaurar(const QString& bd, const QString& copia, const QDateTime& ahora, QString* apartado,
               QString* error) {
    if (apartado)
        apartado->clear();
    auto fallar = [error](const QString& texto) {
        if (error)
            *error = texto;
        return false;
    };
    const QFileInfo infoBd(bd);
    const QFileInfo infoCopia(copia);
    if (infoBd.exists() && infoCopia.exists() &&
        infoBd.canonicalFilePath() == infoCopia.canonicalFilePath())
        return fallar(QStringLiteral("la copia y la base de datos son el mismo fichero"));
    if (infoBd.exists() && !infoBd.isFile())
        return fallar(QStringLiteral("%1 no es un fichero normal").arg(Mostrada(bd)));
    const QStringList problemas = ProblemasFichero(copia, false);
    if (!problemas.isEmpty())
        return fallar(
            QStringLiteral("la copia %1 no sirve: %2").arg(Mostrada(copia), problemas.first()));
    QFile origen(copia);
    if (!origen.open(QIODevice::ReadOnly))
        return fallar(QStringLiteral("no se pudo leer la copia %1").arg(Mostrada(copia)));
    const QByteArray bytes = origen.readAll();
    origen.close();
    if (bytes.isEmpty())
        return fallar(QStringLiteral("no se pudo leer la copia %1").arg(Mostrada(copia)));

    // The damaged file and what SQLite left beside it go aside together: a journal left
    // beside the copy would be played back into it.
    const QString aparte = NombreApartado(bd, ahora);
    QStringList movidos;
    auto deshacer = [&]() {
        for (const QString& sufijo : movidos)
            Renombrar(aparte + sufijo, bd + sufijo);
    };
    QStringList sufijos{QString()};
    for (const char* companero : kCompaneros)
        sufijos << QString::fromLatin1(companero);
    for (const QString& sufijo : sufijos) {
        if (!QFileInfo::exists(bd + sufijo) && !QFileInfo(bd + sufijo).isSymLink())
            continue;
        if (QFileInfo::exists(aparte + sufijo) || !Renombrar(bd + sufijo, aparte + sufijo)) {
            deshacer();
            return fallar(QStringLiteral("no se pudo apartar %1 como %2")
                              .arg(Mostrada(bd + sufijo), Mostrada(aparte + sufijo)));
        }
        movidos << sufijo;
    }
    QString motivo;
    if (!DvArchivo::EscribirNuevo(bd, bytes, &motivo)) {
        deshacer();
        return fallar(motivo);
    }
    if (apartado && movidos.contains(QString()))
        *apartado = aparte;
    return true;
}
} // namespace DvCopia
