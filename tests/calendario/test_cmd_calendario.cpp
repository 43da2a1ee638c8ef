// "dravonela calendario" as a user runs it: the real program on a demo file placed
// around March 2024, its exit codes, the calendar read back with libical and the
// personal sheet read back with pdftotext, its totals against "dravonela informe".

#include "LeerIcs.h"
#include "Resources.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Resultado {
    int codigo = -1;
    QByteArray salida;
    QByteArray error;
};

Resultado Ejecutar(const QString& programa, const QStringList& args) {
    QProcess p;
    p.start(programa, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

Resultado Dravonela(const QStringList& args) {
    return Ejecutar(QStringLiteral(DV_EXE), args);
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of one page of a PDF, as pdftotext lays it out.
QString PaginaPdf(const QString& ruta, int pagina) {
    const Resultado r =
        Ejecutar(QStringLiteral("pdftotext"),
                 {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(pagina),
                  QStringLiteral("-l"), QString::number(pagina), ruta, QStringLiteral("-")});
    return QString::fromUtf8(r.salida);
}

int Paginas(const QString& ruta) {
    const QString info = QString::fromUtf8(Ejecutar(QStringLiteral("pdfinfo"), {ruta}).salida);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
} // namespace

class TestCmdCalendario : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_bd;

    QString Ruta(const QString& nombre) const { return m_dir.filePath(nombre); }
    // The command on the demo file for a worker, March 2024, plus the given arguments.
    Resultado Calendario(const QString& trabajador, const QStringList& mas) const {
        return Dravonela(QStringList{QStringLiteral("calendario"), QStringLiteral("--bd"), m_bd,
                                     QStringLiteral("--clave"), QString(),
                                     QStringLiteral("--trabajador"), trabajador,
                                     QStringLiteral("--mes"), QStringLiteral("3"),
                                     QStringLiteral("--anio"), QStringLiteral("2024")} +
                         mas);
    }

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        QVERIFY(m_dir.isValid());
        m_bd = Ruta(QStringLiteral("demo.mdb"));
        QString error;
        QVERIFY2(DvSchema::CreateDatabase(m_bd, QString(),
                                          DvResources::ReadText(QStringLiteral(":/sql/demo.sql")),
                                          QDate(2024, 3, 12), error),
                 qPrintable(error));
    }

    void helpAndBadArguments() {
        const Resultado ayuda = Dravonela({QStringLiteral("calendario"), QStringLiteral("--help")});
        QCOMPARE(ayuda.codigo, 0);
        QVERIFY(ayuda.salida.startsWith("Uso: dravonela calendario"));
        QVERIFY(ayuda.error.isEmpty());

        const Resultado desconocido = Calendario(QStringLiteral("1"), {QStringLiteral("--x")});
        QCOMPARE(desconocido.codigo, 2);
        QVERIFY(desconocido.error.contains("argumento no reconocido: --x"));
        QVERIFY(desconocido.error.contains("Uso: dravonela calendario"));
        QVERIFY(desconocido.salida.isEmpty());

        const QString salida = Ruta(QStringLiteral("nunca.ics"));
        const QList<QStringList> malos = {
            {QStringLiteral("--formato"), QStringLiteral("ics")}, // no --salida
            {QStringLiteral("--formato"), QStringLiteral("txt"), QStringLiteral("--salida"),
             salida},
            {QStringLiteral("--formato"), QStringLiteral("ics"), QStringLiteral("--meses"),
             QStringLiteral("0"), QStringLiteral("--salida"), salida},
            {QStringLiteral("--formato"), QStringLiteral("ics"), QStringLiteral("--meses"),
             QStringLiteral("25"), QStringLiteral("--salida"), salida},
        };
        for (const QStringList& args : malos) {
            const Resultado r = Calendario(QStringLiteral("1"), args);
            QCOMPARE(r.codigo, 2);
            QCOMPARE(r.error.count('\n') >= 1, true);
        }
        // A worker that is not in the file.
        const Resultado nadie =
            Calendario(QStringLiteral("999"), {QStringLiteral("--formato"), QStringLiteral("ics"),
                                               QStringLiteral("--salida"), salida});
        QCOMPARE(nadie.codigo, 2);
        QVERIFY(nadie.error.contains("no existe el trabajador 999"));
        QVERIFY(!QFile::exists(salida));
    }

    void databaseAndOutputFailures() {
        const QByteArray antes = Leer(m_bd);
        // Never over the database, whatever the spelling: refused as a bad argument, as
        // the other commands do.
        const Resultado encima = Calendario(
            QStringLiteral("19"), {QStringLiteral("--formato"), QStringLiteral("ics"),
                                   QStringLiteral("--salida"), m_dir.path() + "/./demo.mdb"});
        QCOMPARE(encima.codigo, 2);
        QVERIFY(encima.error.contains("base de datos"));
        QCOMPARE(Leer(m_bd), antes);

        const Resultado sinCarpeta = Calendario(
            QStringLiteral("19"), {QStringLiteral("--formato"), QStringLiteral("pdf"),
                                   QStringLiteral("--salida"), Ruta("no/hay/carpeta.pdf")});
        QCOMPARE(sinCarpeta.codigo, 1);
        QVERIFY(!QFile::exists(Ruta("no/hay/carpeta.pdf")));

        const Resultado sinBd =
            Dravonela({QStringLiteral("calendario"), QStringLiteral("--bd"), Ruta("otra.mdb"),
                       QStringLiteral("--trabajador"), QStringLiteral("1"), QStringLiteral("--mes"),
                       QStringLiteral("3"), QStringLiteral("--anio"), QStringLiteral("2024"),
                       QStringLiteral("--formato"), QStringLiteral("ics"),
                       QStringLiteral("--salida"), Ruta("x.ics")});
        QCOMPARE(sinBd.codigo, 1);
        QVERIFY(!QFile::exists(Ruta("x.ics")));
    }

    void calendarFileReadBack() {
        // Sofía Hernández (19) stands in for María José Martínez's vacation this month.
        const QString ruta = Ruta(QStringLiteral("sofia.ics"));
        const Resultado r =
            Calendario(QStringLiteral("19"), {QStringLiteral("--formato"), QStringLiteral("ics"),
                                              QStringLiteral("--salida"), ruta});
        QCOMPARE(r.codigo, 0);
        QVERIFY(r.error.isEmpty());
        const QByteArray bytes = Leer(ruta);
        QVERIFY(bytes.startsWith("BEGIN:VCALENDAR\r\n"));
        const DvPruebaIcs::CCalendario cal = DvPruebaIcs::Leer(bytes);
        QVERIFY(cal.valido);
        QCOMPARE(cal.tzidZona, QStringLiteral("Europe/Madrid"));
        QVERIFY(cal.eventos.size() > 15);
        bool sustituye = false;
        for (const auto& evento : cal.eventos) {
            QVERIFY(evento.uid.startsWith(QStringLiteral("dravonela-19-202403")));
            sustituye =
                sustituye || evento.resumen.endsWith(QStringLiteral(" — sustituye a María José "
                                                                    "Martínez"));
        }
        QVERIFY(sustituye);

        // The same on standard output.
        const Resultado estandar =
            Calendario(QStringLiteral("19"), {QStringLiteral("--formato"), QStringLiteral("ICS"),
                                              QStringLiteral("--salida"), QStringLiteral("-")});
        QCOMPARE(estandar.codigo, 0);
        QCOMPARE(int(DvPruebaIcs::Leer(estandar.salida).eventos.size()), int(cal.eventos.size()));
    }

    void personalSheetOnePagePerMonth() {
        const QString ruta = Ruta(QStringLiteral("sofia.pdf"));
        const Resultado r =
            Calendario(QStringLiteral("19"), {QStringLiteral("--formato"), QStringLiteral("pdf"),
                                              QStringLiteral("--meses"), QStringLiteral("2"),
                                              QStringLiteral("--salida"), ruta});
        QCOMPARE(r.codigo, 0);
        QVERIFY(Leer(ruta).startsWith("%PDF"));
        QCOMPARE(Paginas(ruta), 2);

        const QString marzo = PaginaPdf(ruta, 1);
        QVERIFY(marzo.contains(QStringLiteral("Marzo 2024")));
        QVERIFY(marzo.contains(QStringLiteral("Servicio: Urgencias")));
        for (const char* dia : {"Lunes", "Domingo", " 1 ", " 15 ", " 31"})
            QVERIFY2(marzo.contains(QLatin1String(dia)), dia);
        QVERIFY(marzo.contains(QStringLiteral("sust. a María")));
        QVERIFY(PaginaPdf(ruta, 2).contains(QStringLiteral("Abril 2024")));

        // The totals are the worker's line of the report.
        const Resultado informe = Dravonela(
            {QStringLiteral("informe"), QStringLiteral("--bd"), m_bd, QStringLiteral("--clave"),
             QString(), QStringLiteral("--mes"), QStringLiteral("3"), QStringLiteral("--anio"),
             QStringLiteral("2024"), QStringLiteral("--servicio"), QStringLiteral("Urgencias")});
        QCOMPARE(informe.codigo, 0);
        QStringList campos;
        for (const QString& linea : QString::fromUtf8(informe.salida).split(QStringLiteral("\r\n")))
            if (linea.startsWith(QStringLiteral("Hernández Sáez, Sofía;")))
                campos = linea.split(QLatin1Char(';'));
        QCOMPARE(campos.size(), 7);
        const QString texto = marzo.simplified();
        QVERIFY2(texto.contains(QStringLiteral("Días trabajados: %1").arg(campos[1])),
                 qPrintable(texto));
        QVERIFY(texto.contains(QStringLiteral("Noches: %1").arg(campos[2])));
        QVERIFY(texto.contains(QStringLiteral("Días personales: %1").arg(campos[3])));
        QVERIFY(texto.contains(QStringLiteral("Vacaciones: %1").arg(campos[4])));
        QVERIFY(texto.contains(QStringLiteral("Días de baja: %1").arg(campos[5])));
    }
};

QTEST_MAIN(TestCmdCalendario)
#include "test_cmd_calendario.moc"
