// "dravonela avisos" as a user runs it: the real program on a demo file made for this
// month, the JSON it writes and its order, plain text, the output file, and the exit
// codes of bad arguments and failures (with no file left behind).

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {
struct CResultado {
    int codigo = -1;
    QByteArray salida;
    QByteArray errores;
};

CResultado Ejecutar(const QStringList& argumentos) {
    QProcess p;
    p.start(QStringLiteral(DV_EXE), argumentos);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Sql(const QString& ruta, const char* sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(ruta).constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}
} // namespace

class TestCmdAvisos : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_bd;
    QStringList m_mes;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_bd = m_dir.filePath("demo.mdb");
        QCOMPARE(Ejecutar({"crear-bd", m_bd, "--demo", "--clave", "secreta"}).codigo, 0);
        // Beside the demo's substitutions: a worker without a reference, two sharing a
        // planilla name, and a service with nobody.
        QVERIFY(Sql(m_bd, "INSERT INTO PERSONAL VALUES (90, 'Sin', 'Turno', 'Sin Turno', 1);"
                          "INSERT INTO PERSONAL VALUES (91, 'Otra', 'Lucía', 'Lucía Fernández', 1);"
                          "INSERT INTO ASIG_TURNOS VALUES (90, 91, '2024/01/01 00:00:00', 8);"
                          "INSERT INTO FUNCIONES VALUES (9, 'Vacío');"));
        const QDate hoy = QDate::currentDate();
        m_mes = QStringList{"--bd",    m_bd,
                            "--mes",   QString::number(hoy.month()),
                            "--anio",  QString::number(hoy.year()),
                            "--clave", "secreta"};
    }

    void jsonShapeAndOrder() {
        const CResultado r = Ejecutar(QStringList{"avisos"} + m_mes +
                                      QStringList{"--servicio", "Urgencias", "--formato", "json"});
        QCOMPARE(r.codigo, 0);
        QVERIFY(r.errores.isEmpty());
        QJsonParseError error;
        const QJsonObject raiz = QJsonDocument::fromJson(r.salida, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(raiz.keys(), (QStringList{"anio", "avisos", "mes", "servicio"}));
        QCOMPARE(raiz["servicio"].toInt(), 1);
        QCOMPARE(raiz["mes"].toInt(), QDate::currentDate().month());
        QCOMPARE(raiz["anio"].toInt(), QDate::currentDate().year());
        const QJsonArray avisos = raiz["avisos"].toArray();
        QVERIFY(avisos.size() >= 5);

        const QStringList tipos{"sin_asignacion",   "nombre_repetido",  "solapamiento",
                                "autosuplencia",    "suplente_ausente", "descanso",
                                "descanso_semanal", "noches_seguidas",  "cobertura"};
        QStringList vistos;
        QString anterior;
        for (const QJsonValue& valor : avisos) {
            const QJsonObject aviso = valor.toObject();
            QCOMPARE(aviso.keys(),
                     (QStringList{"fecha", "id_personal", "nombre", "texto", "tipo"}));
            QVERIFY(tipos.contains(aviso["tipo"].toString()));
            QVERIFY(aviso["fecha"].isNull() || aviso["fecha"].toString().size() == 10);
            QVERIFY(aviso["id_personal"].isNull() || aviso["id_personal"].isDouble());
            QVERIFY(!aviso["texto"].toString().isEmpty());
            // fecha (null first), tipo, id_personal (null first).
            const QString clave =
                (aviso["fecha"].isNull() ? QStringLiteral("0") : "1" + aviso["fecha"].toString()) +
                " " + aviso["tipo"].toString() + " " +
                QString::number(aviso["id_personal"].toInt(-1) + 1).rightJustified(6, '0');
            QVERIFY2(anterior <= clave, qPrintable(anterior + " > " + clave));
            anterior = clave;
            vistos << aviso["tipo"].toString();
        }
        // Undated first: the shared name (both workers), then the worker left out.
        QStringList primeros;
        for (int i = 0; i < 3; ++i)
            primeros << avisos[i]["tipo"].toString() + " " +
                            QString::number(avisos[i]["id_personal"].toInt()) + " " +
                            avisos[i]["nombre"].toString() + " " +
                            (avisos[i]["fecha"].isNull() ? "null" : "fecha");
        QCOMPARE(primeros, (QStringList{"nombre_repetido 1 Lucía Fernández null",
                                        "nombre_repetido 91 Lucía Fernández null",
                                        "sin_asignacion 90 Sin Turno null"}));
        QVERIFY(vistos.contains("nombre_repetido") && vistos.contains("solapamiento"));
        // Texts as the window shows them, dated ones with their day first.
        for (const QJsonValue& valor : avisos)
            if (!valor["fecha"].isNull())
                QVERIFY(valor["texto"].toString().startsWith(
                    valor["fecha"].toString().mid(8, 2) + "/" +
                    valor["fecha"].toString().mid(5, 2) + ": "));
    }

    void textAndOutputFile() {
        const QStringList base = QStringList{"avisos"} + m_mes + QStringList{"--servicio", "1"};
        const CResultado texto = Ejecutar(base);
        QCOMPARE(texto.codigo, 0);
        QVERIFY(texto.salida.startsWith("2 trabajadores del servicio se llaman «Lucía Fernández»"));
        const CResultado json = Ejecutar(base + QStringList{"--formato", "json"});
        const QJsonArray avisos = QJsonDocument::fromJson(json.salida).object()["avisos"].toArray();
        QCOMPARE(texto.salida.count('\n'), avisos.size());

        const QString ruta = m_dir.filePath("avisos.txt");
        const CResultado escrito = Ejecutar(base + QStringList{"--salida", ruta});
        QCOMPARE(escrito.codigo, 0);
        QVERIFY(escrito.salida.isEmpty());
        QCOMPARE(Leer(ruta), texto.salida);

        // A service without warnings exits 0 too.
        const CResultado vacio = Ejecutar(QStringList{"avisos"} + m_mes +
                                          QStringList{"--servicio", "Vacío", "--formato", "json"});
        QCOMPARE(vacio.codigo, 0);
        QCOMPARE(vacio.salida,
                 QByteArray("{\"servicio\": 9, \"mes\": ") +
                     QByteArray::number(QDate::currentDate().month()) + ", \"anio\": " +
                     QByteArray::number(QDate::currentDate().year()) + ", \"avisos\": []}\n");
        QCOMPARE(Ejecutar(QStringList{"avisos"} + m_mes + QStringList{"--servicio", "9"}).salida,
                 QByteArray("Sin avisos\n"));
    }

    void badArgumentsAndFailures() {
        const CResultado ayuda = Ejecutar({"avisos", "--help"});
        QCOMPARE(ayuda.codigo, 0);
        QVERIFY(ayuda.salida.startsWith("Uso: dravonela avisos"));
        QVERIFY(ayuda.errores.isEmpty());

        const CResultado desconocido = Ejecutar(QStringList{"avisos", "--color"});
        QCOMPARE(desconocido.codigo, 2);
        QVERIFY(desconocido.errores.contains("argumento no reconocido: --color"));
        QVERIFY(desconocido.errores.contains("Uso: dravonela avisos"));
        QVERIFY(desconocido.salida.isEmpty());

        const QString ruta = m_dir.filePath("no-debe-existir.json");
        const QStringList sinServicio = QStringList{"avisos"} + m_mes;
        struct CCaso {
            QStringList argumentos;
            int codigo;
            const char* mensaje;
        };
        const CCaso casos[] = {
            {sinServicio, 2, "faltan argumentos"},
            {sinServicio + QStringList{"--servicio", "1", "--mes", "13"}, 2, "el mes"},
            {sinServicio + QStringList{"--servicio", "1", "--anio", "1999"}, 2, "el año"},
            {sinServicio + QStringList{"--servicio", "1", "--formato", "csv"}, 2,
             "formato no reconocido"},
            {sinServicio + QStringList{"--servicio", "Cardiología"}, 2, "no existe el servicio"},
            {sinServicio + QStringList{"--servicio", "1", "--clave", "mala"}, 1, "contraseña"},
            {QStringList{"avisos", "--bd", m_dir.filePath("no.mdb"), "--mes", "1", "--anio", "2024",
                         "--servicio", "1"},
             1, "no existe el fichero"},
            {sinServicio +
                 QStringList{"--servicio", "1", "--salida", m_dir.filePath("no/hay/carpeta.json")},
             1, "No se pudo escribir"},
        };
        for (const CCaso& caso : casos) {
            const CResultado r = Ejecutar(caso.argumentos.mid(0, 1) +
                                          QStringList{"--salida", ruta} + caso.argumentos.mid(1));
            QVERIFY2(r.codigo == caso.codigo,
                     qPrintable(caso.argumentos.join(' ') + " → " + QString::number(r.codigo)));
            QVERIFY2(r.errores.contains(caso.mensaje), r.errores.constData());
            if (!r.errores.contains("Uso:"))
                QCOMPARE(r.errores.count('\n'), 1);
            QVERIFY(!QFile::exists(ruta));
        }

        // Never over the database it reads: refused as a bad argument, before anything runs.
        const QByteArray antes = Leer(m_bd);
        const CResultado encima = Ejecutar(QStringList{"avisos"} + m_mes +
                                           QStringList{"--servicio", "1", "--salida", m_bd});
        QCOMPARE(encima.codigo, 2);
        QCOMPARE(Leer(m_bd), antes);
    }
};

QTEST_MAIN(TestCmdAvisos)
#include "test_cmd_avisos.moc"
