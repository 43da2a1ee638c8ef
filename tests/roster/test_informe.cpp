// The monthly report on small hand-made files, and the report file's bytes.

#include "ArchivoInforme.h"
#include "BdPrueba.h"
#include "Informe.h"
#include "TestSupport.h"

#include <QFile>
#include <QtTest>

using DvPrueba::F;
using DvPrueba::Sql;

class TestInforme : public QObject {
    Q_OBJECT

    QStringList Lineas(const QString& texto) {
        QStringList lineas = texto.split(QStringLiteral("\r\n"));
        lineas.removeLast(); // after the last CR LF
        return lineas;
    }

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        DvPrueba::Errores().clear();
        QVERIFY(!DvPrueba::NuevaBd(QStringLiteral("informe.mdb")).isEmpty());
        const QString w = QStringLiteral("2005/01/01 ");
        Sql({"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
             "INSERT INTO FUNCIONES VALUES (2, 'UCI')",
             // Rotation 1: 08-15 every day. Rotation 2: 15-08 one day, rest the next.
             "INSERT INTO TURNOS VALUES (1,'M','" + w + "08:00:00','" + w + "15:00:00',1,1)",
             "INSERT INTO TURNOS VALUES (2,'TN','" + w + "15:00:00','" + w + "08:00:00',1,2)",
             "INSERT INTO TURNOS VALUES (3,'L','2001/04/23 00:00:00','2001/04/23 00:00:00',2,2)",
             "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz; Gil', 'Ana', 1)",
             "INSERT INTO PERSONAL VALUES (2, 'Bea', 'Peña', 'Bea', 1)",
             "INSERT INTO PERSONAL VALUES (3, 'Carlos', 'Sanz', 'Carlos', 1)",
             "INSERT INTO PERSONAL VALUES (4, 'Dora', 'Fuera', 'Dora', 2)",
             "INSERT INTO ASIG_TURNOS VALUES (1, 1, " + F(2007, 3, 1) + ", 1)",
             "INSERT INTO ASIG_TURNOS VALUES (2, 2, " + F(2007, 3, 1) + ", 1)",
             "INSERT INTO ASIG_TURNOS VALUES (3, 3, " + F(2007, 3, 1) + ", 2)",
             "INSERT INTO ASIG_TURNOS VALUES (4, 4, " + F(2007, 3, 1) + ", 1)"});
    }
    void cleanup() {
        QVERIFY2(DvPrueba::Errores().isEmpty(), qPrintable(DvPrueba::Errores().join('\n')));
    }

    void lineasYCuentas() {
        // Ana on vacation all March, covered by Bea; Carlos works 15-08 every other day;
        // a sick day of Carlos covered by Dora (another service) and a personal day.
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2007, 2, 20) + ", " + F(2007, 4, 2) +
                 ", 2)",
             "INSERT INTO BAJAS VALUES (1, 3, " + F(2007, 3, 3) + ", " + F(2007, 3, 3) + ", 4)",
             "INSERT INTO DIASPERSONALES VALUES (1, 3, " + F(2007, 3, 5, 9) + ", -1)"});
        CProgresoSinVentana progreso;
        QString texto;
        QVERIFY(GenerarInforme(3, 2007, 1, texto, progreso));
        const QStringList lineas = Lineas(texto);
        QCOMPARE(lineas.size(), 5);
        QCOMPARE(lineas[0], QStringLiteral("INFORME MES Marzo DE 2007 DEL SERVICIO Urgencias"));
        QCOMPARE(lineas[1], QStringLiteral("TRABAJADOR;DIAS TRABAJADOS;NOCHES;PERSONALES;"
                                           "VACACIONES;DIAS BAJA;COMENTARIOS"));
        // Workers in reference order (equal dates: assignment ID order).
        QCOMPARE(lineas[2], QStringLiteral("\"Ruiz; Gil, Ana\";0;0;0;31;0;"));
        QCOMPARE(lineas[3], QStringLiteral("Peña, Bea;62;0;0;0;0;"));
        // Carlos: 16 days on the 15-08 shift (1st, 3rd ... 31st), two entries and one night
        // each, except the 3rd (sick, Dora covers) and the 5th (personal day, nobody).
        QCOMPARE(lineas[4], QStringLiteral("Sanz, Carlos;28;14;1;0;1;"));
        QCOMPARE(progreso.Rango(), 31);
        QCOMPARE(progreso.Posicion(), 31);
        QCOMPARE(progreso.Paso(), QStringLiteral("Paso (31/31)"));
        QCOMPARE(progreso.Mensaje(), QStringLiteral("Recogiendo datos para día: 31"));
        QVERIFY(progreso.Cerrado());
    }

    void homonimosConSuLinea() {
        // A second Bea Peña with the same planilla name, on the 15-08 rotation from the 2nd:
        // both are listed, the newer reference first.
        Sql({"INSERT INTO PERSONAL VALUES (5, 'Bea', 'Peña', 'Bea', 1)",
             "INSERT INTO ASIG_TURNOS VALUES (5, 5, " + F(2007, 3, 2) + ", 2)"});
        CProgresoSinVentana progreso;
        QString texto;
        QVERIFY(GenerarInforme(3, 2007, 1, texto, progreso));
        const QStringList lineas = Lineas(texto);
        QCOMPARE(lineas.size(), 6);
        QCOMPARE(lineas[2], QStringLiteral("Peña, Bea;30;15;0;0;0;"));
        QCOMPARE(lineas[4], QStringLiteral("Peña, Bea;31;0;0;0;0;"));
    }

    void unAusenteConDosSuplentes() {
        // Ana on vacation from the 1st to the 10th covered by Bea, and on sick leave from
        // the 5th to the 15th covered by Carlos. The roster shows Bea up to the 10th (the
        // vacation wins) and Carlos from the 11th to the 15th: Ana's day counts once, for
        // the substitute shown.
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2007, 3, 1) + ", " + F(2007, 3, 10) +
                 ", 2)",
             "INSERT INTO BAJAS VALUES (1, 1, " + F(2007, 3, 5) + ", " + F(2007, 3, 15) + ", 3)"});
        CProgresoSinVentana progreso;
        QString texto;
        QVERIFY(GenerarInforme(3, 2007, 1, texto, progreso));
        const QStringList lineas = Lineas(texto);
        QCOMPARE(lineas[2], QStringLiteral("\"Ruiz; Gil, Ana\";16;0;0;10;5;"));
        QCOMPARE(lineas[3], QStringLiteral("Peña, Bea;41;0;0;0;0;"));
        // Carlos: his own 16 nights of 15-08 (two entries each) and Ana's 5 mornings.
        QCOMPARE(lineas[4], QStringLiteral("Sanz, Carlos;37;16;0;0;0;"));
    }

    void unSuplenteConDosAusentes() {
        // Bea covers Ana (08-15) and Carlos (15-08, a night every other day) all month.
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2007, 3, 1) + ", " + F(2007, 3, 31) +
                 ", 2)",
             "INSERT INTO BAJAS VALUES (1, 3, " + F(2007, 3, 1) + ", " + F(2007, 3, 31) + ", 2)"});
        CProgresoSinVentana progreso;
        QString texto;
        QVERIFY(GenerarInforme(3, 2007, 1, texto, progreso));
        const QStringList lineas = Lineas(texto);
        QCOMPARE(lineas[2], QStringLiteral("\"Ruiz; Gil, Ana\";0;0;0;31;0;"));
        // Her own 31 mornings, Ana's 31, and Carlos's 16 afternoons and 16 nights.
        QCOMPARE(lineas[3], QStringLiteral("Peña, Bea;94;16;0;0;0;"));
        QCOMPARE(lineas[4], QStringLiteral("Sanz, Carlos;0;0;0;0;31;"));
    }

    void nombresQueNoRompenLineasNiCampos() {
        Sql({"UPDATE FUNCIONES SET NOMBRE = 'Urgen' || char(13) || char(10) || 'cias' || "
             "char(0) || 'A' WHERE ID = 1",
             "UPDATE PERSONAL SET APELLIDOS = 'O\"Neil' || char(13) || 'Sanz', NOMBRE = 'Car' "
             "|| char(10) || 'los' WHERE ID = 3",
             "UPDATE PERSONAL SET NOMBRE = 'Be' || char(0) || 'a' || char(13) || char(10) || "
             "'Luz' WHERE ID = 2"});
        CProgresoSinVentana progreso;
        QString texto;
        QVERIFY(GenerarInforme(3, 2007, 1, texto, progreso));
        const QStringList lineas = Lineas(texto);
        QCOMPARE(lineas.size(), 5);
        QCOMPARE(lineas[0], QStringLiteral("INFORME MES Marzo DE 2007 DEL SERVICIO Urgen  cias A"));
        QCOMPARE(lineas[2], QStringLiteral("\"Ruiz; Gil, Ana\";31;0;0;0;0;"));
        QCOMPARE(lineas[3], QStringLiteral("Peña, Be a  Luz;31;0;0;0;0;"));
        QCOMPARE(lineas[4], QStringLiteral("\"O\"\"Neil Sanz, Car los\";32;16;0;0;0;"));
        // Every line keeps its seven fields once the quotes are read.
        for (int i = 2; i < lineas.size(); ++i) {
            QString sinCitas = lineas[i];
            sinCitas.remove(QRegularExpression(QStringLiteral("^\"([^\"]|\"\")*\"")));
            QCOMPARE(sinCitas.count(QLatin1Char(';')), 6);
        }
        // The file holds the same lines, CR LF between them and nowhere else.
        QByteArray bytes;
        QVERIFY(TextoAWindows1252(texto, bytes));
        QCOMPARE(bytes.count("\r\n"), 5);
        QCOMPARE(bytes.count('\r'), 5);
        QCOMPARE(bytes.count('\n'), 5);
        QVERIFY(!bytes.contains('\0'));
    }

    void cancelado() {
        CProgresoSinVentana progreso;
        progreso.AlBombear([](const CProgresoSinVentana& p) { return p.Posicion() == 10; });
        QString texto;
        QVERIFY(!GenerarInforme(3, 2007, 1, texto, progreso));
        QCOMPARE(progreso.Posicion(), 10);
        // The lines still hold the days counted before the cancel.
        QCOMPARE(Lineas(texto)[2], QStringLiteral("\"Ruiz; Gil, Ana\";10;0;0;0;0;"));
    }

    void anioFueraDeLoHabitual() {
        Sql({"INSERT INTO ASIG_TURNOS VALUES (5, 1, " + F(1999, 1, 1) + ", 1)"});
        CProgresoSinVentana progreso;
        QString texto;
        QVERIFY(GenerarInforme(2, 1999, 1, texto, progreso));
        QCOMPARE(Lineas(texto).size(), 3);
        QCOMPARE(Lineas(texto)[2], QStringLiteral("\"Ruiz; Gil, Ana\";28;0;0;0;0;"));
        QVERIFY(GenerarInforme(2, 2150, 1, texto, progreso));
        QCOMPARE(Lineas(texto).size(), 5);
        // A service without workers: title and heading only.
        QVERIFY(GenerarInforme(2, 2007, 7, texto, progreso));
        QCOMPARE(texto,
                 QStringLiteral("INFORME MES Febrero DE 2007 DEL SERVICIO \r\nTRABAJADOR;DIAS "
                                "TRABAJADOS;NOCHES;PERSONALES;VACACIONES;DIAS BAJA;"
                                "COMENTARIOS\r\n"));
    }

    void bytesDelFichero() {
        QByteArray bytes;
        QVERIFY(TextoAWindows1252(QStringLiteral("Peña €\nłx\r\nfin\r"), bytes));
        QCOMPARE(bytes, QByteArray("Pe\xF1"
                                   "a \x80\r\n?x\r\nfin\r\n"));
        QVERIFY(TextoAWindows1252(QString(), bytes));
        QVERIFY(bytes.isEmpty());
        QVERIFY(TextoAWindows1252(QStringLiteral("\U0001F600;"), bytes));
        QCOMPARE(bytes, QByteArray("?;"));
    }

    void escrituraEnteraONada() {
        const QString ruta = DvTest::TempDir() + QStringLiteral("/informe.csv");
        QFile viejo(ruta);
        QVERIFY(viejo.open(QIODevice::WriteOnly));
        viejo.write("contenido anterior mucho más largo que el nuevo");
        viejo.close();
        QVERIFY(EscribirArchivoInforme(ruta, QStringLiteral("A;ñ\r\n")));
        QFile leido(ruta);
        QVERIFY(leido.open(QIODevice::ReadOnly));
        QCOMPARE(leido.readAll(), QByteArray("A;\xF1\r\n"));
        leido.close();
        // A folder that does not exist: failure, nothing made.
        QString error;
        const QString mala = DvTest::TempDir() + QStringLiteral("/no/existe/informe.csv");
        QVERIFY(!EscribirArchivoInforme(mala, QStringLiteral("x"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(mala));
    }
};

QTEST_GUILESS_MAIN(TestInforme)
#include "test_informe.moc"
