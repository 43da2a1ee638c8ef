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
        QCOMPARE(lineas[2], QStringLiteral("Ruiz; Gil, Ana;0;0;0;31;0;"));
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

    void cancelado() {
        CProgresoSinVentana progreso;
        progreso.AlBombear([](const CProgresoSinVentana& p) { return p.Posicion() == 10; });
        QString texto;
        QVERIFY(!GenerarInforme(3, 2007, 1, texto, progreso));
        QCOMPARE(progreso.Posicion(), 10);
        // The lines still hold the days counted before the cancel.
        QCOMPARE(Lineas(texto)[2], QStringLiteral("Ruiz; Gil, Ana;10;0;0;0;0;"));
    }

    void anioFueraDeLoHabitual() {
        Sql({"INSERT INTO ASIG_TURNOS VALUES (5, 1, " + F(1999, 1, 1) + ", 1)"});
        CProgresoSinVentana progreso;
        QString texto;
        QVERIFY(GenerarInforme(2, 1999, 1, texto, progreso));
        QCOMPARE(Lineas(texto).size(), 3);
        QCOMPARE(Lineas(texto)[2], QStringLiteral("Ruiz; Gil, Ana;28;0;0;0;0;"));
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
