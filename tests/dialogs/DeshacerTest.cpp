// "Deshacer" and "Rehacer" over the changes the configuration dialogs write: the worker
// cascade as one step, every row of it back, and a step refused when its rows have
// changed since.

#include "DbConnection.h"
#include "DbQuery.h"
#include "DialogTestUtil.h"
#include "DiarioCambios.h"
#include "PersonalDlg.h"
#include "TestSupport.h"

#include <QtTest>

using namespace DlgTest;

namespace {
// Every row of every table the dialogs write, table by table.
QStringList Todo() {
    QStringList filas;
    for (const char* tabla : {"FUNCIONES", "PERSONAL", "EXCEPCIONES", "ASIG_TURNOS", "VACACIONES",
                              "BAJAS", "DIASPERSONALES", "TURNOS"})
        for (const QString& fila : Rows(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(tabla)))
            filas << QString::fromLatin1(tabla) + QLatin1Char(':') + fila;
    return filas;
}

// A statement as the dialogs run theirs (Exec goes round the journal, as another
// program would).
bool Escribir(const QString& sql) {
    return CDbQuery().ExecuteCommand(sql);
}

CDiarioCambios& Diario() {
    return CDbConnection::Instance().Diario();
}
} // namespace

class DeshacerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        OpenNewDatabase();
        QVERIFY(Exec({
            "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'Urgencias')",
            "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz Gil', 'Ana R.', 1)",
            "INSERT INTO PERSONAL VALUES (3, 'Marta', 'Pérez', 'Marta P.', 1)",
            "INSERT INTO EXCEPCIONES (ID, DIA, ID_PERSONAL, TIPO) VALUES (1, '2024/03/05', 1, 1)",
            "INSERT INTO EXCEPCIONES (ID, DIA, ID_PERSONAL, TIPO) VALUES (2, '2024/03/06', 3, 1)",
            "INSERT INTO ASIG_TURNOS VALUES (1, 1, '2024/01/01 00:00:00', 5)",
            "INSERT INTO VACACIONES VALUES (1, 1, '2024/07/01', '2024/07/15', 3)",
            "INSERT INTO VACACIONES VALUES (2, 3, '2024/08/01', '2024/08/15', 1)",
            "INSERT INTO BAJAS VALUES (2, 3, '2024/04/01', '2024/04/10', 1)",
            "INSERT INTO DIASPERSONALES VALUES (2, 3, '2024/05/03', 1)",
            "INSERT INTO TURNOS (ID, NOMBRE, ORDEN, ID_TIPOTURNO) VALUES (1, 'M', 1, 1)",
            "INSERT INTO TURNOS (ID, NOMBRE, ORDEN, ID_TIPOTURNO) VALUES (2, 'T', 2, 1)",
        }));
        // The seeding above is no step of the planner's.
        Diario().Activar(true);
    }
    void cleanup() { Diario().Activar(false); }
    void cleanupTestCase() { CloseDatabase(); }

    void cascadaDeshechaYRehecha();
    void pasoRechazadoSiLasFilasCambiaron();
    void pasosSueltosYFallidos();
};

void DeshacerTest::cascadaDeshechaYRehecha() {
    const QStringList antes = Todo();
    QVERIFY(CPersonalDlg::DeleteWorker(1));
    const QStringList despues = Todo();
    QVERIFY(despues != antes);
    QVERIFY(!despues.join(' ').contains(QStringLiteral("Ana")));
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("borrar trabajador Ana Ruiz Gil"));
    QVERIFY(!Diario().PuedeRehacer());

    QString error;
    QVERIFY2(Diario().Deshacer(&error), qPrintable(error));
    QCOMPARE(Todo(), antes);
    QVERIFY(!Diario().PuedeDeshacer());
    QCOMPARE(Diario().TextoRehacer(), QStringLiteral("borrar trabajador Ana Ruiz Gil"));

    QVERIFY2(Diario().Rehacer(&error), qPrintable(error));
    QCOMPARE(Todo(), despues);
    QVERIFY2(Diario().Deshacer(&error), qPrintable(error));
    QCOMPARE(Todo(), antes);
    QVERIFY(DbErrors().isEmpty());
}

void DeshacerTest::pasoRechazadoSiLasFilasCambiaron() {
    QVERIFY(CPersonalDlg::DeleteWorker(1));
    // Another program puts a substitute back on a row the cascade had changed.
    QVERIFY(Exec("UPDATE VACACIONES SET ID_SUPLENTE = 7 WHERE ID = 2"));
    QVERIFY(CPersonalDlg::DeleteWorker(3));
    QVERIFY(Escribir("DELETE FROM FUNCIONES WHERE ID = 1"));
    const QStringList ahora = Todo();
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("borrar servicio Urgencias"));
    QString error;
    QVERIFY(Diario().Deshacer(&error));
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("borrar trabajador Marta Pérez"));
    QVERIFY(Diario().Deshacer(&error));
    // Ana's deletion set VACACIONES 2's substitute to -1; the row now says 7.
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("borrar trabajador Ana Ruiz Gil"));
    const QStringList antesDelRechazo = Todo();
    QVERIFY(!Diario().Deshacer(&error));
    QCOMPARE(error, QStringLiteral("No se puede deshacer «borrar trabajador Ana Ruiz Gil»: los "
                                   "datos han cambiado desde entonces."));
    // Nothing of the step was applied, and it stays on the list.
    QCOMPARE(Todo(), antesDelRechazo);
    QVERIFY(Diario().PuedeDeshacer());
    QVERIFY(Diario().Rehacer(&error));
    QVERIFY(Diario().Rehacer(&error));
    QCOMPARE(Todo(), ahora);
}

void DeshacerTest::pasosSueltosYFallidos() {
    // One statement outside a transaction is one step; a change of ORDEN alone is a
    // renumbering.
    QVERIFY(Escribir("UPDATE TURNOS SET ORDEN = 3 WHERE ID = 1"));
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("cambiar el orden de los turnos"));
    QVERIFY(Escribir("UPDATE PERSONAL SET NOMBREPLANILLA = 'Marta' WHERE ID = 3"));
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("cambiar trabajador Marta Pérez"));
    QVERIFY(Escribir("INSERT INTO VACACIONES VALUES (9, 3, '2024/09/01', '2024/09/15', -1)"));
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("añadir vacaciones de Marta Pérez"));

    // A renumbering in one transaction, as the shifts dialog writes it: one step.
    {
        CDbQuery q;
        QVERIFY(q.ExecuteCommand(QStringLiteral("BEGIN TRANSACTION")));
        QVERIFY(q.SetIntById(QStringLiteral("TURNOS"), QStringLiteral("ORDEN"), 2, 1));
        QVERIFY(q.SetIntById(QStringLiteral("TURNOS"), QStringLiteral("ORDEN"), 1, 2));
        QVERIFY(q.ExecuteCommand(QStringLiteral("COMMIT TRANSACTION")));
    }
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("cambiar el orden de los turnos"));
    {
        QString error;
        QVERIFY(Diario().Deshacer(&error));
    }
    QCOMPARE(Rows("SELECT ID, ORDEN FROM TURNOS ORDER BY ID"), (QStringList{"1|3", "2|2"}));

    // A cascade that fails half-way and is rolled back leaves no step behind.
    QVERIFY(Exec("CREATE TRIGGER bajas_bloqueadas BEFORE DELETE ON BAJAS "
                 "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"));
    const QStringList antes = Todo();
    QVERIFY(!CPersonalDlg::DeleteWorker(3));
    QCOMPARE(Todo(), antes);
    QCOMPARE(Diario().TextoDeshacer(), QStringLiteral("añadir vacaciones de Marta Pérez"));

    QString error;
    QVERIFY(Diario().Deshacer(&error));
    QVERIFY(Diario().Deshacer(&error));
    QVERIFY(Diario().Deshacer(&error));
    QCOMPARE(Value("SELECT ORDEN FROM TURNOS WHERE ID = 1"), QStringLiteral("1"));
    QCOMPARE(Value("SELECT NOMBREPLANILLA FROM PERSONAL WHERE ID = 3"), QStringLiteral("Marta P."));
    QCOMPARE(IntValue("SELECT count(*) FROM VACACIONES WHERE ID = 9"), 0);
    // A new step after undoing forgets what could be redone.
    QVERIFY(Diario().PuedeRehacer());
    QVERIFY(Escribir("DELETE FROM TURNOS WHERE ID = 2"));
    QVERIFY(!Diario().PuedeRehacer());
    // Another file opened: nothing of this one can be undone there.
    OpenNewDatabase();
    QVERIFY(!Diario().PuedeDeshacer());
}

QTEST_MAIN(DeshacerTest)
#include "DeshacerTest.moc"
