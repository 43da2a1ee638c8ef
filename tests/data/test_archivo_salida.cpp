// The program's one writer: what it refuses to write over, what a failed write leaves,
// and the temporary files of a write that never ended.

#include "ArchivoSalida.h"
#include "DataTestUtil.h"
#include "DbConnection.h"
#include "DiscoLleno.h"
#include "FicherosPrueba.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void Poner(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString NuevaCarpeta(const QString& nombre) {
    const QString carpeta = DvTest::TempDir() + QLatin1Char('/') + nombre;
    QDir().mkpath(carpeta);
    return carpeta;
}

} // namespace

using DvTest::Contenido;
using DvTest::Leer;

class TestArchivoSalida : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void cleanup() {
        CDbConnection::Instance().Reset();
        DvArchivo::OlvidarProtegidos();
    }

    void neverOverTheDatabase() {
        const QString carpeta = NuevaCarpeta("bd");
        const QString bd = carpeta + "/ostrevan.mdb";
        QVERIFY(QFile::copy(DataTest::NewDatabase(), bd));
        QVERIFY(CDbConnection::Instance().OpenFile(bd, QString()));
        const QByteArray antes = Leer(bd);
        QVERIFY(QFile::link(bd, carpeta + "/enlace.mdb"));
        QVERIFY(::link(QFile::encodeName(bd).constData(),
                       QFile::encodeName(carpeta + "/duro.csv").constData()) == 0);
        const QStringList nombres = {bd, carpeta + "/./ostrevan.mdb",
                                     carpeta + "/../bd/ostrevan.mdb", carpeta + "/enlace.mdb",
                                     carpeta + "/duro.csv"};
        for (const QString& nombre : nombres) {
            QVERIFY2(DvArchivo::MotivoRechazo(nombre).startsWith(
                         "No se puede escribir sobre la base de datos"),
                     qPrintable(nombre));
            QString error;
            QVERIFY(!DvArchivo::Escribir(nombre, "INFORME;\r\n", &error));
            QCOMPARE(error, DvArchivo::MotivoRechazo(nombre));
        }
        QCOMPARE(Leer(bd), antes);
        QCOMPARE(Contenido(carpeta), QStringList({"duro.csv", "enlace.mdb", "ostrevan.mdb"}));

        // A headless command's --bd is guarded before it is opened.
        CDbConnection::Instance().Reset();
        QVERIFY(DvArchivo::MotivoRechazo(carpeta + "/enlace.mdb").isEmpty());
        DvArchivo::Proteger(carpeta + "/../bd/ostrevan.mdb");
        QVERIFY(!DvArchivo::MotivoRechazo(carpeta + "/enlace.mdb").isEmpty());
        QCOMPARE(Leer(bd), antes);
    }

    void onlyRegularFiles() {
        const QString carpeta = NuevaCarpeta("especiales");
        const QString fifo = carpeta + "/tuberia";
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
        QVERIFY(QFile::link(carpeta, carpeta + "/enlace-carpeta"));
        const QStringList nombres = {
            carpeta, carpeta + "/", carpeta + "/no-hay/", carpeta + "/enlace-carpeta",
            fifo,    "/dev/null"};
        for (const QString& nombre : nombres) {
            QVERIFY2(DvArchivo::MotivoRechazo(nombre).startsWith("No se puede escribir en "),
                     qPrintable(nombre));
            QString error;
            QVERIFY(!DvArchivo::Escribir(nombre, "x", &error));
            QVERIFY(!error.isEmpty());
        }
        QCOMPARE(DvArchivo::MotivoRechazo(carpeta),
                 "No se puede escribir en " + carpeta + ": es una carpeta");
        QCOMPARE(DvArchivo::MotivoRechazo(fifo),
                 "No se puede escribir en " + fifo + ": no es un fichero normal");
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        QCOMPARE(Contenido(carpeta), QStringList({"enlace-carpeta", "tuberia"}));
        QVERIFY(!DvArchivo::MotivoRechazo(QString()).isEmpty());
    }

    void replacesWholeKeepingWhatTheFileWas() {
        const QString carpeta = NuevaCarpeta("reemplazo");
        const QString ruta = carpeta + "/informe.csv";
        Poner(ruta, QByteArray(5000, 'x'));
        QVERIFY(::chmod(QFile::encodeName(ruta).constData(), 0640) == 0);
        QString error;
        QVERIFY2(DvArchivo::Escribir(ruta, "nuevo\r\n", &error), qPrintable(error));
        QCOMPARE(Leer(ruta), QByteArray("nuevo\r\n"));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(ruta).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));

        // A link stays a link; the file it names gets the content.
        QVERIFY(QFile::link(ruta, carpeta + "/enlace.csv"));
        QVERIFY(DvArchivo::Escribir(carpeta + "/enlace.csv", "por el enlace", &error));
        QVERIFY(QFileInfo(carpeta + "/enlace.csv").isSymLink());
        QCOMPARE(Leer(ruta), QByteArray("por el enlace"));

        // A file marked read-only is left alone, whoever runs the program.
        const QString protegido = carpeta + "/protegido.csv";
        Poner(protegido, "anterior");
        QVERIFY(::chmod(QFile::encodeName(protegido).constData(), 0444) == 0);
        QVERIFY(DvArchivo::MotivoRechazo(protegido).isEmpty());
        QVERIFY(!DvArchivo::Escribir(protegido, "nuevo", &error));
        QCOMPARE(error, "No se pudo escribir el fichero " + protegido + ": permiso denegado");
        QCOMPARE(Leer(protegido), QByteArray("anterior"));

        // A folder that does not exist: nothing made anywhere.
        QVERIFY(!DvArchivo::Escribir(carpeta + "/no/hay/informe.csv", "x", &error));
        QVERIFY(error.endsWith(": la carpeta no existe"));

        // Only a new file: an existing one stays as it is.
        QVERIFY(!DvArchivo::EscribirNuevo(ruta, "otro", &error));
        QVERIFY(error.contains("ya existe"));
        QCOMPARE(Leer(ruta), QByteArray("por el enlace"));
        QVERIFY(DvArchivo::EscribirNuevo(carpeta + "/nuevo.mdb", "base", &error));
        QCOMPARE(Leer(carpeta + "/nuevo.mdb"), QByteArray("base"));
        QCOMPARE(Contenido(carpeta),
                 QStringList({"enlace.csv", "informe.csv", "nuevo.mdb", "protegido.csv"}));
    }

    void fullDiskLeavesTheOldFileByteForByte() {
        const QString carpeta = DvTest::TempDir() + "/lleno";
        const QByteArray antes = "INFORME MES Enero DE 2024\r\nanterior;1;2\r\n";
        DvTest::CDiscoLleno disco;
        QVERIFY(disco.Preparar(carpeta, {{"informe.csv", antes}}));
        const QStringList inicial = Contenido(carpeta);
        const QByteArray nuevo = QByteArray(20000, 'n');
        QString error;
        bool escrito = true;
        bool nuevoEscrito = true;
        {
            const auto limite = disco.Limitar();
            escrito = DvArchivo::Escribir(carpeta + "/informe.csv", nuevo, &error);
            nuevoEscrito = DvArchivo::EscribirNuevo(carpeta + "/otro.csv", nuevo, nullptr);
        }
        QVERIFY(!escrito);
        QVERIFY(!nuevoEscrito);
        QVERIFY2(error.endsWith(disco.EsTmpfs() ? ": no queda espacio en el disco"
                                                : ": el fichero es demasiado grande"),
                 qPrintable(error));
        QCOMPARE(Leer(carpeta + "/informe.csv"), antes);
        QCOMPARE(Contenido(carpeta), inicial); // no temporary file, no new file
    }

    void temporariesOfAnEndedWriteAreRemoved() {
        const QString carpeta = NuevaCarpeta("temporales");
        const QString prefijo = carpeta + "/" + DvArchivo::PrefijoTemporal("informe.csv");
        QCOMPARE(DvArchivo::PrefijoTemporal("informe.csv"), QString(".informe.csv.dvtmp-"));
        // Left by a run that was killed: nobody holds them.
        Poner(prefijo + "Ab12Cd", "a medias");
        Poner(prefijo + "zz99YY", "");
        // Still being written by another run: it holds its lock.
        Poner(prefijo + "EnUso1", "escribiendo");
        const int fd = ::open(QFile::encodeName(prefijo + "EnUso1").constData(), O_RDONLY);
        QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0);
        // Not ours: another name, another target.
        Poner(prefijo + "nota.txt", "del usuario");
        Poner(carpeta + "/" + DvArchivo::PrefijoTemporal("otro.csv") + "Ab12Cd", "otro");
        Poner(carpeta + "/.informe.csv.Ab12Cd", "del usuario");

        QString error;
        QVERIFY(DvArchivo::Escribir(carpeta + "/informe.csv", "nuevo", &error));
        ::close(fd);
        QCOMPARE(
            Contenido(carpeta),
            QStringList({".informe.csv.Ab12Cd", ".informe.csv.dvtmp-EnUso1",
                         ".informe.csv.dvtmp-nota.txt", ".otro.csv.dvtmp-Ab12Cd", "informe.csv"}));
        // Once its run has ended, the next write takes it away too.
        QCOMPARE(DvArchivo::LimpiarTemporales(carpeta + "/informe.csv"), 1);
    }
};

QTEST_GUILESS_MAIN(TestArchivoSalida)
#include "test_archivo_salida.moc"
