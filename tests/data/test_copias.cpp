// Copies of the database and their rotation, the check of a damaged file and the putting
// back of a copy: what the planner relies on when the file is lost.

#include "CopiaSeguridad.h"
#include "DataTestUtil.h"
#include "DbQuery.h"
#include "DiscoLleno.h"
#include "FicherosPrueba.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <sqlite3.h>

namespace {
const QDateTime kAhora(QDate(2026, 12, 8), QTime(10, 30, 0));

QString NuevaCarpeta(const QString& nombre) {
    const QString carpeta = QFileInfo(DataTest::NewPath(nombre)).absoluteFilePath();
    QDir().mkpath(carpeta);
    return carpeta;
}

// A database with some workers, spread over more than one page.
QString BaseConDatos() {
    const QString ruta = DataTest::NewDatabase();
    QString sql = QStringLiteral("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'Urgencias');");
    for (int i = 1; i <= 300; ++i)
        sql += QStringLiteral("INSERT INTO PERSONAL VALUES (%1, 'Nombre %1', 'Apellidos largos "
                              "del trabajador %1', 'N%1', 1);")
                   .arg(i);
    if (!DataTest::RawExec(ruta, sql))
        return QString();
    return ruta;
}

// Overwrites the first bytes of the page that holds the table's b-tree root.
bool Danar(const QString& ruta, const char* tabla) {
    const int pagina =
        DataTest::RawValue(ruta, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE "
                                                "name = '%1'")
                                     .arg(QLatin1String(tabla)))
            .toInt();
    const int tamano = DataTest::RawValue(ruta, QStringLiteral("PRAGMA page_size")).toInt();
    QFile f(ruta);
    if (pagina < 2 || tamano <= 0 || !f.open(QIODevice::ReadWrite))
        return false;
    f.seek(qint64(pagina - 1) * tamano);
    return f.write(QByteArray(16, '\xA5')) == 16;
}

QString Filas(const QString& ruta) {
    return DataTest::RawValue(ruta, QStringLiteral("SELECT count(*) FROM PERSONAL"));
}
} // namespace

class TestCopias : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void nombresYRotacion();
    void rotarSoloQuitaCopiasSobrantes();
    void copiaMientrasOtroEscribe();
    void copiaAntesDelPrimerCambio();
    void sinEspacioNoSeCopia();
    void discoLlenoNoDejaNada();
    void baseDanadaSeDetectaYNoSeCopia();
    void esquemaIncompleto();
    void restaurarConservaLaDanada();
    void copiaDanadaNoSeRestaura();
};

void TestCopias::nombresYRotacion() {
    QCOMPARE(DvCopia::NombreCopia(kAhora), QStringLiteral("ostrevan-20261208-103000.mdb"));
    QCOMPARE(DvCopia::MomentoDe(QStringLiteral("ostrevan-20261208-103000.mdb")), kAhora);
    QCOMPARE(DvCopia::MomentoDe(QStringLiteral("ostrevan-20261208-103000-2.mdb")), kAhora);
    for (const char* ajeno : {"ostrevan-2026120-103000.mdb", "ostrevan-20261308-103000.mdb",
                              "copia-20261208-103000.mdb", "ostrevan-20261208-103000.mdb.txt"})
        QVERIFY2(!DvCopia::MomentoDe(QString::fromLatin1(ajeno)).isValid(), ajeno);

    // Fifteen copies this month, three in November, two in June, one in January and one
    // the December before (out of the twelve months), and a file that is no copy.
    QStringList nombres;
    for (int i = 0; i < 15; ++i)
        nombres << DvCopia::NombreCopia(kAhora.addSecs(-3600 * i));
    const QString noviembre = QStringLiteral("ostrevan-20261120-090000.mdb");
    const QString junio = QStringLiteral("ostrevan-20260630-235959.mdb");
    const QString enero = QStringLiteral("ostrevan-20260101-000000.mdb");
    nombres << QStringLiteral("ostrevan-20261101-090000.mdb") << noviembre
            << QStringLiteral("ostrevan-20261110-090000.mdb")
            << QStringLiteral("ostrevan-20260601-080000.mdb") << junio << enero
            << QStringLiteral("ostrevan-20251231-230000.mdb") << QStringLiteral("notas.txt");
    QStringList esperados = nombres.mid(0, 10);
    esperados << noviembre << junio << enero << QStringLiteral("notas.txt");
    QStringList conservados = DvCopia::Conservar(nombres, kAhora.date());
    conservados.sort();
    esperados.sort();
    QCOMPARE(conservados, esperados);

    // Few copies: all of them stay, whatever their age.
    const QStringList pocas{enero, QStringLiteral("ostrevan-20200101-000000.mdb")};
    QCOMPARE(DvCopia::Conservar(pocas, kAhora.date()).size(), 2);
}

void TestCopias::rotarSoloQuitaCopiasSobrantes() {
    const QString carpeta = NuevaCarpeta(QStringLiteral("rotar"));
    // Twelve daily copies back from the 8th, and two in October.
    QStringList nombres;
    for (int i = 0; i < 12; ++i)
        nombres << DvCopia::NombreCopia(kAhora.addDays(-i));
    const QString octubre = QStringLiteral("ostrevan-20261015-120000.mdb");
    nombres << octubre << QStringLiteral("ostrevan-20261001-120000.mdb")
            << QStringLiteral("ostrevan-notas.mdb") << QStringLiteral("leeme.txt");
    for (const QString& nombre : nombres) {
        QFile f(QDir(carpeta).filePath(nombre));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    // The 10 newest (down to 29 November, also November's newest) and October's newest.
    QCOMPARE(DvCopia::Rotar(carpeta, kAhora.date()), 3);
    QStringList quedan = DvTest::Contenido(carpeta);
    QCOMPARE(quedan.size(), 13);
    QVERIFY(quedan.contains(QStringLiteral("ostrevan-notas.mdb")));
    QVERIFY(quedan.contains(QStringLiteral("leeme.txt")));
    QVERIFY(quedan.contains(octubre));
    QVERIFY(quedan.contains(DvCopia::NombreCopia(kAhora.addDays(-9))));
    QVERIFY(!quedan.contains(DvCopia::NombreCopia(kAhora.addDays(-10))));
    QVERIFY(!quedan.contains(DvCopia::NombreCopia(kAhora.addDays(-11))));
    // A second rotation finds nothing more to remove.
    QCOMPARE(DvCopia::Rotar(carpeta, kAhora.date()), 0);
    QCOMPARE(DvCopia::Listar(carpeta).front().momento, kAhora);
}

void TestCopias::copiaMientrasOtroEscribe() {
    const QString bd = BaseConDatos();
    QVERIFY(!bd.isEmpty());
    const QString carpeta = NuevaCarpeta(QStringLiteral("copias-escritura"));
    // Another program is half-way through a transaction of many rows.
    sqlite3* otro = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(bd).constData(), &otro), SQLITE_OK);
    QCOMPARE(sqlite3_exec(otro, "BEGIN; DELETE FROM PERSONAL WHERE ID > 100;", nullptr, nullptr,
                          nullptr),
             SQLITE_OK);
    for (int i = 1000; i < 1400; ++i)
        QCOMPARE(sqlite3_exec(otro,
                              QStringLiteral("INSERT INTO PERSONAL VALUES (%1, 'Nuevo', 'Nuevo', "
                                             "'N', 1)")
                                  .arg(i)
                                  .toUtf8()
                                  .constData(),
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
    const DvCopia::CResultado durante = DvCopia::CopiarFichero(bd, carpeta, kAhora);
    QCOMPARE(durante.estado, DvCopia::Estado::Hecha);
    QCOMPARE(sqlite3_exec(otro, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    const DvCopia::CResultado despues = DvCopia::CopiarFichero(bd, carpeta, kAhora);
    sqlite3_close(otro);
    QCOMPARE(despues.estado, DvCopia::Estado::Hecha);
    // Two copies in the same second get two names.
    QVERIFY(durante.ruta != despues.ruta);

    // Each copy is whole and sound, and holds what was committed when it was taken.
    QCOMPARE(DvCopia::ProblemasFichero(durante.ruta, false), QStringList());
    QCOMPARE(DvCopia::ProblemasFichero(despues.ruta, false), QStringList());
    QCOMPARE(Filas(durante.ruta), QStringLiteral("300"));
    QCOMPARE(Filas(despues.ruta), QStringLiteral("500"));
    QCOMPARE(DvCopia::Listar(carpeta).size(), size_t(2));
}

void TestCopias::copiaAntesDelPrimerCambio() {
    const QString bd = BaseConDatos();
    const QString carpeta = NuevaCarpeta(QStringLiteral("copias-cambio"));
    DataTest::RecordingConnection c;
    QStringList copias;
    c->SetBeforeFirstChange([&](sqlite3* db) {
        copias << DvCopia::Copiar(db, carpeta, kAhora.addSecs(copias.size())).ruta;
    });
    QVERIFY(c->OpenFile(bd, QString()));
    CDbQuery q(*c);
    // Reading is no change.
    {
        CDbRecordset filas = q.Open(QStringLiteral("SELECT count(*) FROM PERSONAL"));
        QCOMPARE(filas.GetInt(0), 300);
    }
    QVERIFY(copias.isEmpty());
    // The copy comes inside the dialog's transaction, before its first statement runs.
    QVERIFY(q.ExecuteCommand(QStringLiteral("BEGIN TRANSACTION")));
    QVERIFY(copias.isEmpty());
    QVERIFY(q.ExecuteCommand(QStringLiteral("DELETE FROM PERSONAL WHERE ID > 10")));
    QVERIFY(q.ExecuteCommand(QStringLiteral("COMMIT TRANSACTION")));
    QVERIFY(q.ExecuteCommand(QStringLiteral("DELETE FROM PERSONAL WHERE ID > 5")));
    QCOMPARE(copias.size(), 1);
    QCOMPARE(Filas(copias.first()), QStringLiteral("300"));
    QCOMPARE(DvCopia::ProblemasFichero(copias.first(), false), QStringList());
    // The next opening of a file has its own first change.
    c->Reset();
    QVERIFY(c->OpenFile(bd, QString()));
    QVERIFY(CDbQuery(*c).ExecuteCommand(QStringLiteral("DELETE FROM PERSONAL WHERE ID > 1")));
    QCOMPARE(copias.size(), 2);
    QCOMPARE(Filas(copias.last()), QStringLiteral("5"));
    QCOMPARE(c.Boxes(), 0);
}

void TestCopias::sinEspacioNoSeCopia() {
    const QString bd = BaseConDatos();
    const QString carpeta = NuevaCarpeta(QStringLiteral("copias-sin-espacio"));
    const DvCopia::CResultado r =
        DvCopia::CopiarFichero(bd, carpeta, kAhora, std::numeric_limits<qint64>::max() / 2);
    QCOMPARE(r.estado, DvCopia::Estado::SinEspacio);
    QVERIFY(r.mensaje.startsWith(QStringLiteral("No se hizo la copia de seguridad: queda poco "
                                                "espacio en el disco")));
    QVERIFY(r.ruta.isEmpty());
    QCOMPARE(DvTest::Contenido(carpeta), QStringList());
}

void TestCopias::discoLlenoNoDejaNada() {
    const QString bd = BaseConDatos();
    const QString carpeta =
        QFileInfo(DataTest::NewPath(QStringLiteral("lleno"))).absoluteFilePath();
    const QString vieja = DvCopia::NombreCopia(kAhora.addDays(-1));
    DvTest::CDiscoLleno disco;
    QVERIFY(disco.Preparar(carpeta, {{vieja, "anterior"}}));
    const QStringList inicial = DvTest::Contenido(carpeta);
    DvCopia::CResultado r;
    {
        const auto limite = disco.Limitar();
        r = DvCopia::CopiarFichero(bd, carpeta, kAhora, 0);
    }
    QVERIFY(r.estado == DvCopia::Estado::Fallo || r.estado == DvCopia::Estado::SinEspacio);
    QVERIFY(r.mensaje.startsWith(QStringLiteral("No se hizo la copia de seguridad")));
    // Nothing half-written, and the older copy kept (rotation only follows a copy made).
    QCOMPARE(DvTest::Contenido(carpeta), inicial);
    QVERIFY(inicial.contains(vieja));
    QCOMPARE(DvTest::Leer(QDir(carpeta).filePath(vieja)), QByteArray("anterior"));
}

void TestCopias::baseDanadaSeDetectaYNoSeCopia() {
    const QString bd = BaseConDatos();
    QCOMPARE(DvCopia::ProblemasFichero(bd, false), QStringList());
    QVERIFY(Danar(bd, "PERSONAL"));
    const QStringList completa = DvCopia::ProblemasFichero(bd, false);
    const QStringList rapida = DvCopia::ProblemasFichero(bd, true);
    QVERIFY(!completa.isEmpty());
    QVERIFY(!rapida.isEmpty());
    QVERIFY2(rapida.first().contains(QStringLiteral("dañad")), qPrintable(rapida.first()));

    // A damaged file is never copied: a bad copy must not push a good one out.
    const QString carpeta = NuevaCarpeta(QStringLiteral("copias-danada"));
    const DvCopia::CResultado r = DvCopia::CopiarFichero(bd, carpeta, kAhora, 0);
    QCOMPARE(r.estado, DvCopia::Estado::Danada);
    QCOMPARE(DvTest::Contenido(carpeta), QStringList());

    // Files that are no database at all say so.
    QVERIFY(DvCopia::ProblemasFichero(DataTest::NewPath(), true)
                .first()
                .startsWith(QStringLiteral("no existe")));
    const QString texto = DataTest::NewPath();
    QFile f(texto);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
    f.close();
    QCOMPARE(DvCopia::ProblemasFichero(texto, true).size(), 1);
}

void TestCopias::esquemaIncompleto() {
    // A file made before the tables the upgrade adds by itself is sound.
    const QString antigua = DataTest::NewDatabase();
    QVERIFY(DataTest::RawExec(antigua, "DROP TABLE REGLAS_SERVICIO; DROP TABLE MINIMOS_COBERTURA"));
    QCOMPARE(DvCopia::ProblemasFichero(antigua, false), QStringList());
    // A table or column of every roster file missing is not.
    const QString rota = DataTest::NewDatabase();
    QVERIFY(DataTest::RawExec(rota, "CREATE TABLE P2 AS SELECT ID, NOMBRE, APELLIDOS, ID_FUNCION "
                                    "FROM PERSONAL; DROP TABLE PERSONAL; ALTER TABLE P2 "
                                    "RENAME TO PERSONAL; DROP TABLE BAJAS"));
    QCOMPARE(DvCopia::ProblemasFichero(rota, false),
             (QStringList{QStringLiteral("falta la columna NOMBREPLANILLA de la tabla PERSONAL"),
                          QStringLiteral("falta la tabla BAJAS")}));
}

void TestCopias::restaurarConservaLaDanada() {
    const QString bd = BaseConDatos();
    const QString carpeta = NuevaCarpeta(QStringLiteral("copias-restaurar"));
    const DvCopia::CResultado copia = DvCopia::CopiarFichero(bd, carpeta, kAhora.addDays(-1));
    QCOMPARE(copia.estado, DvCopia::Estado::Hecha);
    QVERIFY(DataTest::RawExec(bd, "DELETE FROM PERSONAL WHERE ID > 200"));
    QVERIFY(Danar(bd, "PERSONAL"));
    const QByteArray danada = DvTest::Leer(bd);
    // A journal left beside the damaged file goes aside with it, never into the copy.
    QFile journal(bd + QStringLiteral("-journal"));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write("restos");
    journal.close();

    QString apartado, error;
    QVERIFY2(DvCopia::Restaurar(bd, copia.ruta, kAhora, &apartado, &error), qPrintable(error));
    QCOMPARE(apartado, bd + QStringLiteral(".dañado-20261208-103000"));
    QCOMPARE(DvTest::Leer(apartado), danada);
    QCOMPARE(DvTest::Leer(apartado + QStringLiteral("-journal")), QByteArray("restos"));
    QVERIFY(!QFileInfo::exists(bd + QStringLiteral("-journal")));
    QCOMPARE(DvTest::Leer(bd), DvTest::Leer(copia.ruta));
    QCOMPARE(DvCopia::ProblemasFichero(bd, false), QStringList());
    QCOMPARE(Filas(bd), QStringLiteral("300"));

    // A second restore in the same second would need the same name: refused, nothing lost.
    QString otro;
    QVERIFY(!DvCopia::Restaurar(bd, copia.ruta, kAhora, &otro, &error));
    QVERIFY(otro.isEmpty());
    QCOMPARE(DvTest::Leer(apartado), danada);
    QCOMPARE(DvTest::Leer(bd), DvTest::Leer(copia.ruta));
}

void TestCopias::copiaDanadaNoSeRestaura() {
    const QString bd = BaseConDatos();
    const QString carpeta = NuevaCarpeta(QStringLiteral("copias-mala"));
    const DvCopia::CResultado copia = DvCopia::CopiarFichero(bd, carpeta, kAhora);
    QVERIFY(Danar(copia.ruta, "PERSONAL"));
    const QByteArray antes = DvTest::Leer(bd);
    const QStringList nombres = DvTest::Contenido(QFileInfo(bd).absolutePath());
    QString apartado, error;
    QVERIFY(!DvCopia::Restaurar(bd, copia.ruta, kAhora, &apartado, &error));
    QVERIFY2(error.startsWith(QStringLiteral("la copia ")), qPrintable(error));
    QVERIFY(apartado.isEmpty());
    QCOMPARE(DvTest::Leer(bd), antes);
    QCOMPARE(DvTest::Contenido(QFileInfo(bd).absolutePath()), nombres);
    // The newest good copy passes over a damaged newer one.
    const DvCopia::CResultado buena = DvCopia::CopiarFichero(bd, carpeta, kAhora.addDays(-3));
    QCOMPARE(DvCopia::UltimaBuena(carpeta).ruta, buena.ruta);
}

QTEST_GUILESS_MAIN(TestCopias)
#include "test_copias.moc"
