#pragma once
// Copies of the roster database, their rotation, the check of a file and the putting
// back of a copy.
//
// A copy is taken with SQLite's online backup API (consistent while the file is open
// and being written), checked, and written as a new file "ostrevan-AAAAMMDD-HHMMSS.mdb"
// by the program's one writer. The folder of copies is copias/ beside the database, or
// copias/ in another folder (the user's data folder) when that one cannot be written.
// A damaged database is never copied, so a bad copy never pushes a good one out.
// (Only damage stops a copy; the check of the tables is for comprobar and restoring.)
//
// Kept after each copy: the newest ten, and the newest of each of the last twelve
// months (the current one included). Nothing else in the folder is touched.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

struct sqlite3;

namespace DvCopia {
// "ostrevan-AAAAMMDD-HHMMSS.mdb"
QString NombreCopia(const QDateTime& momento);
// The moment a copy's name tells ("ostrevan-AAAAMMDD-HHMMSS[-N].mdb"); invalid for any
// other name.
QDateTime MomentoDe(const QString& nombre);

// The folder of copies of bd: copias/ beside it when that can be made and written,
// else copias/ in alternativa. Made when missing. Empty when neither can be used.
QString Carpeta(const QString& bd, const QString& alternativa);

struct CCopia {
    QString ruta;
    QDateTime momento;
};
// The copies in carpeta, newest first.
std::vector<CCopia> Listar(const QString& carpeta);

// Of these names of copies, those kept: the newest `recientes`, and the newest of each
// of the last `meses` months up to hoy's month.
constexpr int CopiasRecientes = 10;
constexpr int MesesConservados = 12;
QStringList Conservar(const QStringList& nombres, const QDate& hoy);
// Removes the copies in carpeta that Conservar does not keep; how many went.
int Rotar(const QString& carpeta, const QDate& hoy);

// The free space a copy leaves at least on its disk, beside its own size.
constexpr qint64 ReservaMinima = 64LL * 1024 * 1024;

enum class Estado {
    Hecha,      // written, and the folder rotated
    SinEspacio, // skipped: the disk has too little free space
    Danada,     // skipped: the database is damaged
    Fallo,      // the copy could not be written
};
struct CResultado {
    Estado estado = Estado::Fallo;
    QString ruta;    // the copy made
    QString mensaje; // Spanish, one line, for the status bar or a headless command
};
// A copy of the open database db into carpeta, named after ahora. The disk must keep
// ReservaMinima (or reserva) free beyond the copy, or nothing is written.
CResultado Copiar(sqlite3* db, const QString& carpeta, const QDateTime& ahora,
                  qint64 reserva = ReservaMinima);
// The same for a database file that is not open here (opened read-only for the copy).
CResultado CopiarFichero(const QString& bd, const QString& carpeta, const QDateTime& ahora,
                         qint64 reserva = ReservaMinima);

// What SQLite's integrity check (quick: its quick check) finds wrong; empty when sound.
QStringList Integridad(sqlite3* db, bool rapida);
// What is wrong with a database: SQLite's integrity check (quick: its quick check) and
// the check of the tables and columns a roster database has (a table or column the
// upgrade adds by itself is not required). Empty when it is sound.
QStringList Problemas(sqlite3* db, bool rapida);
// The same for a file, opened read-only; a file that does not open says why.
QStringList ProblemasFichero(const QString& ruta, bool rapida);

// The newest copy in carpeta that passes the quick check; ruta empty when none.
CCopia UltimaBuena(const QString& carpeta);

// "FILE.dañado-AAAAMMDD-HHMMSS", the name a damaged file is set aside under.
QString NombreApartado(const QString& bd, const QDateTime& momento);

// Puts the copy in bd's place: the copy is checked first (a damaged one is refused and
// nothing changes), bd and its journal are set aside under NombreApartado (kept, never
// removed), and the copy's content is written as bd by the program's one writer. On a
// failure after the setting aside, bd is put back. The database must not be open.
// apartado receives where the old file went (empty when there was none).
bool Restaurar(const QString& bd, const QString& copia, const QDateTime& ahora, QString* apartado,
               QString* error);
} // namespace DvCopia
