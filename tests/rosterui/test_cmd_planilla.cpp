// dravonela planilla: the cells as JSON, the calendar as Windows-1252 CSV, and the
// argument and failure handling, run in the test's own process.

#include "BdPrueba.h"
#include "Commands.h"
#include "PlanillaPrueba.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace DvPlanilla;
using DvPrueba::F;
using DvPrueba::Sql;

namespace {
int Ejecutar(const QStringList& argumentos) {
    QList<QByteArray> bytes{"dravonela", "planilla"};
    for (const QString& a : argumentos)
        bytes << a.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    return RunPlanilla(static_cast<int>(bytes.size()), argv.data());
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject Celda(const QJsonArray& celdas, int col, int fila) {
    for (const QJsonValue& v : celdas) {
        const QJsonObject o = v.toObject();
        if (o.value("col").toInt() == col && o.value("fila").toInt() == fila)
            return o;
    }
    return QJsonObject();
}
} // namespace

class TestCmdPlanilla : public QObject {
    Q_OBJECT

    QString m_bd;
    QString m_dir;

    QStringList Base(const QString& formato, const QString& salida) const {
        return {"--bd",      m_bd,      "--mes", "1",         "--anio", "2024",     "--servicio",
                "Urgencias", "--clave", "",      "--formato", formato,  "--salida", salida};
    }

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        m_dir = DvTest::TempDir();
    }
    void init() {
        DvPrueba::Errores().clear();
        m_bd = DvPrueba::NuevaBd(QStringLiteral("cmd.mdb"));
        QVERIFY(!m_bd.isEmpty());
        Turnos();
        Persona(1, "Ana");
        Persona(2, "Berta");
        Persona(3, "Peña; J");
        Asignar(1, 1, F(2023, 12, 3), 1);
        Asignar(2, 3, F(2023, 12, 2), 1);
        Asignar(3, 2, F(2023, 12, 1), 2);
        Sql({"INSERT INTO VACACIONES VALUES (1, 1, " + F(2024, 1, 2) + ", " + F(2024, 1, 2) +
             ", 2)"});
    }

    void json() {
        const QString salida = m_dir + "/planilla.json";
        QCOMPARE(Ejecutar(Base("json", salida)), 0);
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(Leer(salida), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject raiz = doc.object();
        QCOMPARE(raiz.value("filas").toInt(), 15);
        QCOMPARE(raiz.value("columnas").toInt(), 14);
        const QJsonArray celdas = raiz.value("celdas").toArray();

        // Ordered by row, then column; only rows of the roster.
        int anterior = -1;
        for (const QJsonValue& v : celdas) {
            const QJsonObject o = v.toObject();
            const int clave = o.value("fila").toInt() * 14 + o.value("col").toInt();
            QVERIFY(clave > anterior);
            QVERIFY(o.value("fila").toInt() < 15);
            anterior = clave;
            QCOMPARE(o.keys().size(), 8);
        }

        const QJsonObject dia = Celda(celdas, 1, 0);
        QCOMPARE(dia.value("texto").toString(), QStringLiteral("1"));
        QCOMPARE(dia.value("dato").toInt(), CDateTime(2024, 1, 1).DayNumber());
        QCOMPARE(dia.value("borde").toInt(), 0x20D);
        QVERIFY(dia.value("color_fondo").isNull());
        QVERIFY(dia.value("color_texto").isNull());
        QVERIFY(dia.value("union").isNull());
        QCOMPARE(Celda(celdas, 13, 0).value("color_fondo").toInt(), 0xB4B4B4);

        const QJsonObject nombre = Celda(celdas, 0, 1);
        QCOMPARE(nombre.value("texto").toString(), QStringLiteral("Peña; J"));
        QCOMPARE(nombre.value("dato").toInt(), 8);
        QCOMPARE(nombre.value("color_texto").toInt(), 0);
        QCOMPARE(nombre.value("borde").toInt(), 0x05);
        QCOMPARE(nombre.value("union").toArray(), QJsonArray({0, 1, 1, 1}));
        // The joined cell beside it: no text, no data, the same block.
        const QJsonObject unida = Celda(celdas, 1, 1);
        QCOMPARE(unida.value("texto").toString(), QString());
        QCOMPARE(unida.value("dato").toInt(), 0);
        QVERIFY(unida.value("borde").isNull());
        QCOMPARE(unida.value("union").toArray(), QJsonArray({0, 1, 1, 1}));
        // Berta stands in for Ana on the 2nd, in the vacation colour.
        QCOMPARE(Celda(celdas, 2, 0).value("texto").toString(), QStringLiteral("Berta"));
        QCOMPARE(Celda(celdas, 2, 0).value("color_texto").toInt(), 0x000096);
        // The blank days after Wednesday 31st.
        QCOMPARE(Celda(celdas, 13, 14).value("union").toArray(), QJsonArray({6, 12, 13, 14}));
        // The fields of a cell in their documented order.
        QVERIFY(Leer(salida).contains("{\"col\": 1, \"fila\": 0, \"texto\": \"1\", \"dato\": "));

        // A service nobody belongs to: no rows, no cells.
        QStringList vacio = Base("json", salida);
        vacio[vacio.indexOf("--servicio") + 1] = "2";
        QCOMPARE(Ejecutar(vacio), 0);
        const QJsonObject sinFilas = QJsonDocument::fromJson(Leer(salida)).object();
        QCOMPARE(sinFilas.value("filas").toInt(), 0);
        QCOMPARE(sinFilas.value("columnas").toInt(), 14);
        QVERIFY(sinFilas.value("celdas").isArray());
        QCOMPARE(sinFilas.value("celdas").toArray().size(), 0);
    }

    void csv() {
        const QString salida = m_dir + "/planilla.csv";
        QCOMPARE(Ejecutar(Base("csv", salida)), 0);
        const QByteArray bytes = Leer(salida);
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QByteArray> lineas = bytes.split('\n');
        QCOMPARE(lineas.size(), 1 + 15 + 1); // heading, rows, nothing after the last CR LF
        QCOMPARE(lineas.last(), QByteArray());
        QCOMPARE(lineas[0], QByteArray("Lunes;;Martes;;Mi\xE9rcoles;;Jueves;;Viernes;;S\xE1"
                                       "bado;;Domingo;\r"));
        QCOMPARE(lineas[1], QByteArray("Ana;1;Berta;2;Ana;3;Ana;4;Ana;5;Ana;6;Ana;7\r"));
        // A name holding the separator is quoted, so the row keeps its 14 fields.
        QCOMPARE(lineas[2], QByteArray("\"Pe\xF1"
                                       "a; J\";;\"Pe\xF1"
                                       "a; J\";;\"Pe\xF1"
                                       "a; J\";;\"Pe\xF1"
                                       "a; J\";;\"Pe\xF1"
                                       "a; J\";;\"Pe\xF1"
                                       "a; J\";;\"Pe\xF1"
                                       "a; J\";\r"));
        QCOMPARE(lineas[3], QByteArray("Berta;;Berta;;Berta;;Berta;;Berta;;Berta;;Berta;\r"));
        QCOMPARE(lineas[13], QByteArray("Ana;29;Ana;30;Ana;31;;;;;;;;\r"));
        // Every line: CR LF, 14 fields.
        for (int i = 0; i < 16; ++i) {
            QVERIFY(lineas[i].endsWith('\r'));
            QByteArray sinComillas = lineas[i];
            sinComillas.replace("\"Pe\xF1"
                                "a; J\"",
                                "P");
            QCOMPARE(sinComillas.count(';'), 13);
        }
    }

    void errores() {
        const QString salida = m_dir + "/no.json";
        QFile::remove(salida);
        auto con = [&](const QString& clave, const QString& valor) {
            QStringList a = Base("json", salida);
            a[a.indexOf(clave) + 1] = valor;
            return a;
        };
        QCOMPARE(Ejecutar(con("--formato", "xls")), 2);
        QCOMPARE(Ejecutar(con("--mes", "13")), 2);
        QCOMPARE(Ejecutar(con("--anio", "2000")), 2);
        QCOMPARE(Ejecutar(con("--servicio", "Cocina")), 2);
        QCOMPARE(Ejecutar(con("--bd", m_dir + "/no-existe.mdb")), 1);
        QCOMPARE(Ejecutar({"--bd", m_bd, "--mes", "1"}), 2);
        QCOMPARE(Ejecutar(Base("json", salida).mid(0, 13)), 2); // --salida without a value
        QVERIFY(!QFile::exists(salida));
        // An output that cannot be written.
        QCOMPARE(Ejecutar(con("--salida", m_dir + "/no-hay-carpeta/p.json")), 1);
        // By number, and the name in other letter case.
        QCOMPARE(Ejecutar(con("--servicio", "1")), 0);
        QVERIFY(QFile::exists(salida));
        QCOMPARE(Ejecutar(con("--servicio", "urgencias")), 0);
    }
};

QTEST_MAIN(TestCmdPlanilla)
#include "test_cmd_planilla.moc"
