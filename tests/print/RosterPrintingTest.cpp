// The roster's printing: centimetres on the paper whatever the printer's unprintable
// edge, the orientation from the service's options, and whole runs to PDF files read
// back with poppler's tools (page count, paper, the title on every page and where it
// sits), through the print dialog and the preview too.

#include "RosterPrinting.h"
#include "Clock.h"
#include "DataTestUtil.h"
#include "DbConnection.h"
#include "Modal.h"
#include "PrintTestGrid.h"
#include "PrintUtil.h"
#include "TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

namespace {
QString Tool(const QString& name) {
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        qFatal("%s is missing (package poppler-utils)", qPrintable(name));
    return path;
}

QString Run(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(Tool(tool), args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qWarning("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& file) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run("pdfinfo", {file}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Width and height of the first page, in points.
QSizeF PdfPaper(const QString& file) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"))
            .match(Run("pdfinfo", {file}));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QString PdfText(const QString& file, int page) {
    return Run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), file, "-"});
}

// The box of the first word equal to text on a page, in points from the top-left corner.
QRectF PdfWordBox(const QString& file, int page, const QString& text) {
    const QString html = Run("pdftotext", {"-bbox", "-f", QString::number(page), "-l",
                                           QString::number(page), file, "-"});
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(5) == text)
            return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                          QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    return QRectF();
}

constexpr double kPointsPerCm = 72.0 / 2.54;

// The ink of an image: the rectangle of its non-white pixels.
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

const CTituloPlanilla kTitulo{QStringLiteral("Marzo"), 2024, QString::fromUtf8("Pediatría")};
const CFormaImpresion kHorizontal{true, true};
const CFormaImpresion kVertical{false, true};
const CFormaImpresion kSinAjustar{true, false};

// The words of a page with their boxes, in reading order.
struct Palabra {
    QString texto;
    QRectF caja;
};
QList<Palabra> PdfWords(const QString& file, int page) {
    const QString html = Run("pdftotext", {"-bbox", "-f", QString::number(page), "-l",
                                           QString::number(page), file, "-"});
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Palabra> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString text = m.captured(5);
        text.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">");
        words.append({text, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                   QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

// How many times each day number 1 .. 31 stands alone as a word over the pages.
QMap<int, int> DayNumbers(const QString& file, int pages) {
    QMap<int, int> count;
    for (int p = 1; p <= pages; ++p)
        for (const Palabra& w : PdfWords(file, p)) {
            bool ok = false;
            const int n = w.texto.toInt(&ok);
            if (ok && n >= 1 && n <= 31 && w.texto == QString::number(n))
                ++count[n];
        }
    return count;
}

const char* const kWeekdays[] = {"Lunes",   "Martes", "Miércoles", "Jueves",
                                 "Viernes", "Sábado", "Domingo"};
} // namespace

class RosterPrintingTest : public QObject {
    Q_OBJECT

    DataTest::RecordingConnection m_errors;
    QString m_dir;

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        m_dir = DvTest::TempDir();
        const QString db = DataTest::NewDatabase();
        QVERIFY(DataTest::RawExec(
            db, "INSERT INTO PREF_IMPRESION (ID, ID_SERVICIO, TAM_FUENTE, ALTO_FILA, HORIZONTAL, "
                "AJUSTAR_HOJA) VALUES (1, 1, 13, 15, 1, 1), (2, 2, 16, 19, 0, 0)"));
        CDbConnection::Instance().SetErrorSink(
            [this](const QString& text) { QFAIL(qPrintable("error box: " + text)); });
        QVERIFY(CDbConnection::Instance().OpenFile(db, QString()));
    }
    void cleanup() { DvModal::ClearHandlers(); }

    void titleText() {
        QCOMPARE(kTitulo.Texto(), QString::fromUtf8("Marzo 2024 - Pediatría"));
        QCOMPARE((CTituloPlanilla{QString(), 0, QString()}.Texto()), QStringLiteral(" 0 - "));
    }

    // A letter-size paper at 600 dpi whose printable area starts 150 pixels from the left
    // edge and 100 from the top: centimetres count from the paper's edge.
    void centimetresFromThePaperEdge() {
        CPrintDeviceMeasures m;
        m.dpiX = m.dpiY = 600;
        m.physWidth = 5100;
        m.physHeight = 6600;
        m.offsetX = 150;
        m.offsetY = 100;
        m.horzRes = 4800;
        m.vertRes = 6400;
        m.horzSizeMm = 4800 * 25.4 / 600;
        m.vertSizeMm = 6400 * 25.4 / 600;
        CPrintUtil util;
        util.SetUpdatePosition(true);
        util.Attach(nullptr, m);
        QVERIFY(!util.GetUpdatePosition()); // cleared by Attach
        QVERIFY(qAbs(util.GetPaperWidth() - 215.9f) < 0.01f);
        QVERIFY(qAbs(util.GetPaperHeight() - 279.4f) < 0.01f);
        QCOMPARE(util.CmToDeviceX(0.0), -150);
        QCOMPARE(util.CmToDeviceX(10.0), 2212);   // 2362.2 from the edge
        QCOMPARE(util.CmToDeviceY(0.7), 65);      // 165.4 from the edge
        QCOMPARE(util.CmToDeviceX(-0.001), -150); // truncated toward zero
        util.MoveToCm(10.0, 0.7, 5);
        QCOMPARE(util.CurrentPosition(), QPoint(2212, 70));

        // -1 cm: characters 1 cm high (236 pixels at 600 dpi); positive: the whole line.
        QFont font;
        util.CreateFontCm(&font, -1.0, 400, QStringLiteral("Times New Roman"), 0, 0);
        QCOMPARE(font.pixelSize(), 237);
        QCOMPARE(font.weight(), QFont::Normal);
        QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
        util.CreateFontCm(&font, 1.0, 700, QStringLiteral("Arial"), 0, 0);
        QVERIFY(font.pixelSize() < 237);
        QCOMPARE(font.weight(), QFont::Bold);
    }

    // The text starts at the current position when updating it (and moves it past the
    // text); otherwise it goes to the device's origin.
    void textOutPosition() {
        CPrintDeviceMeasures m;
        m.dpiX = m.dpiY = 100;
        m.physWidth = 900;
        m.physHeight = 1200;
        m.offsetX = 20;
        m.offsetY = 30;
        m.horzRes = 860;
        m.vertRes = 1140;
        m.horzSizeMm = 860 * 0.254;
        m.vertSizeMm = 1140 * 0.254;
        QImage image(860, 1140, QImage::Format_RGB32);
        image.fill(Qt::white);
        CPrintUtil util;
        {
            QPainter painter(&image);
            util.Attach(&painter, m);
            QFont font;
            util.CreateFontCm(&font, -1.0, 400, QStringLiteral("Times New Roman"), 0, 0);
            painter.setFont(font);
            util.SetUpdatePosition(true);
            util.TextOutCm(5.0, 2.0, 0, QStringLiteral("HHHH"));
        }
        const QPoint at(util.CmToDeviceX(5.0), util.CmToDeviceY(2.0)); // (176, 48)
        QCOMPARE(at, QPoint(176, 48));
        const QRect ink = Ink(image);
        QVERIFY2(ink.left() >= at.x() && ink.left() <= at.x() + 8,
                 qPrintable(QString("ink from x %1").arg(ink.left())));
        // Capitals 1 cm high (39 pixels) below the top of the line.
        QVERIFY2(ink.top() >= at.y() && ink.top() <= at.y() + 20,
                 qPrintable(QString("ink from y %1").arg(ink.top())));
        QVERIFY(qAbs(ink.height() - 26) <= 4); // a capital is about 2/3 of the size
        QVERIFY(util.CurrentPosition().x() >= ink.right());
        QCOMPARE(util.CurrentPosition().y(), at.y());

        image.fill(Qt::white);
        {
            QPainter painter(&image);
            util.Attach(&painter, m);
            QFont font;
            util.CreateFontCm(&font, -1.0, 400, QStringLiteral("Times New Roman"), 0, 0);
            painter.setFont(font);
            util.TextOutCm(5.0, 2.0, 0, QStringLiteral("HHHH"));
        }
        QVERIFY(Ink(image).left() < 10);
        QVERIFY(Ink(image).top() < 20);
    }

    // HORIZONTAL of the service's PREF_IMPRESION row; landscape without a row, as the
    // options dialog shows it. AJUSTAR_HOJA likewise, fitted without a row.
    void orientationFromOptions() {
        QVERIFY(CImpresionPlanilla::LeerHorizontal(1));
        QVERIFY(!CImpresionPlanilla::LeerHorizontal(2));
        QVERIFY(CImpresionPlanilla::LeerHorizontal(3));
        QVERIFY(CImpresionPlanilla::LeerAjustar(1));
        QVERIFY(!CImpresionPlanilla::LeerAjustar(2));
        QVERIFY(CImpresionPlanilla::LeerAjustar(3));
        QVERIFY(!CImpresionPlanilla::OnPreparePrinting(nullptr, 1));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        QVERIFY(CImpresionPlanilla::OnPreparePrinting(&printer, 1));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer.resolution(), CImpresionPlanilla::Resolucion);
        QVERIFY(CImpresionPlanilla::OnPreparePrinting(&printer, 2));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        QVERIFY(CImpresionPlanilla::OnPreparePrinting(&printer, 3));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        CImpresionPlanilla::SetPrinterOrientation(nullptr, true); // nothing, no crash
    }

    // Unfitted, a roster of 60 rows in landscape needs two pages down; each carries the
    // title and the weekday headings, and every name is printed once.
    void multiPageRosterPdf() {
        // 14 columns of 53 pixels print 875 wide, within the 898 of a landscape A4 page.
        PrintTest::RosterHost host(780);
        host.grid->Fill(3, 31, 12);
        QCOMPARE(host.grid->GetRowCount(), 60);
        const QString file = m_dir + "/marzo.pdf";
        QString error;
        QVERIFY2(ImprimirPlanillaPdf(*host.grid, kTitulo, kSinAjustar, file, &error),
                 qPrintable(error));
        QCOMPARE(PdfPages(file), 2);
        const QSizeF paper = PdfPaper(file);
        QVERIFY(qAbs(paper.width() - 841.89) < 1 && qAbs(paper.height() - 595.28) < 1);
        const QString page1 = PdfText(file, 1);
        const QString page2 = PdfText(file, 2);
        for (const QString& text : {page1, page2}) {
            QVERIFY(text.contains(kTitulo.Texto()));
            QVERIFY(text.contains("Lunes"));
            QVERIFY(text.contains("Domingo"));
        }
        QVERIFY(page1.contains("N1-0"));
        QVERIFY(!page2.contains("N1-0"));
        QVERIFY(page2.contains("N31-11"));
        QVERIFY(!page1.contains("N31-11"));

        // A range of pages: the second alone.
        {
            QPdfWriter writer(file);
            writer.setResolution(CImpresionPlanilla::Resolucion);
            writer.setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
            CImpresionPlanilla impresion(*host.grid, false);
            QVERIFY(impresion.Imprimir(&writer, kTitulo, 2, 5, &error));
        }
        QCOMPARE(PdfPages(file), 1);
        QVERIFY(PdfText(file, 1).contains("N31-11"));
        QVERIFY(PdfText(file, 1).contains(kTitulo.Texto()));

        // Portrait: the same roster is too wide for the paper and takes two pages across,
        // as many as the layout makes; Sunday goes to the second.
        QVERIFY(ImprimirPlanillaPdf(*host.grid, kTitulo, {false, false}, file, &error));
        QPdfWriter writer(m_dir + "/scratch.pdf");
        writer.setResolution(CImpresionPlanilla::Resolucion);
        const double edge = CImpresionPlanilla::MargenPdfMm;
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(edge, edge, edge, edge),
                                         QPageLayout::Millimeter));
        CImpresionPlanilla layout(*host.grid, false);
        const int expected = layout.OnBeginPrinting(&writer);
        layout.OnEndPrinting();
        QCOMPARE(layout.GridPrinter().ColumnPageCount(), 2);
        QCOMPARE(PdfPages(file), expected);
        for (int p = 1; p <= expected; ++p)
            QVERIFY(PdfText(file, p).contains(kTitulo.Texto()));
        // Sunday's heading on the second; the first has the legend's "Domingo o festivo".
        const auto domingos = [&](int page) {
            int n = 0;
            for (const Palabra& w : PdfWords(file, page))
                n += w.texto == QStringLiteral("Domingo");
            return n;
        };
        QCOMPARE(domingos(1), 1);
        QCOMPARE(domingos(2), 2);
    }

    // The title starts 10 cm from the paper's left edge and 0.7 cm from its top, also on
    // a page whose printable area starts well inside the paper.
    void titlePosition_data() {
        QTest::addColumn<QMarginsF>("margins");
        QTest::newRow("no offsets") << QMarginsF();
        QTest::newRow("offsets") << QMarginsF(15, 12, 15, 12);
    }
    void titlePosition() {
        QFETCH(QMarginsF, margins);
        PrintTest::RosterHost host(800);
        host.grid->Fill(0, 28, 3);
        const QString file = m_dir + "/titulo.pdf";
        {
            QPdfWriter writer(file);
            writer.setResolution(CImpresionPlanilla::Resolucion);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                             margins, QPageLayout::Millimeter));
            CImpresionPlanilla impresion(*host.grid);
            QString error;
            QVERIFY2(impresion.Imprimir(&writer, kTitulo, 0, 0, &error), qPrintable(error));
            QVERIFY(!impresion.IsPrinting());
        }
        const QRectF box = PdfWordBox(file, 1, "Marzo");
        const QRectF lunes = PdfWordBox(file, 1, "Lunes");
        QVERIFY(box.isValid());
        QVERIFY2(qAbs(box.left() - 10 * kPointsPerCm) < 1.5,
                 qPrintable(QString("title at x %1 pt").arg(box.left())));
        // The top of the text line 0.7 cm down (the word box starts at the font's ascent).
        QVERIFY2(qAbs(box.top() - 0.7 * kPointsPerCm) < 3,
                 qPrintable(QString("title at y %1 pt").arg(box.top())));
        // 1 cm characters: the line is a little taller than 28.3 points.
        QVERIFY(box.height() > 25 && box.height() < 40);
        // A title too long for the rest of the line ends at the paper's printable edge
        // instead of running off it.
        {
            QPdfWriter writer(file);
            writer.setResolution(CImpresionPlanilla::Resolucion);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                             margins, QPageLayout::Millimeter));
            CImpresionPlanilla impresion(*host.grid);
            const CTituloPlanilla largo{"Septiembre", 2024,
                                        QString::fromUtf8("Cirugía Ortopédica")};
            QVERIFY(impresion.Imprimir(&writer, largo, 0, 0, nullptr));
        }
        const QRectF ortopedia = PdfWordBox(file, 1, QString::fromUtf8("Ortopédica"));
        const QRectF septiembre = PdfWordBox(file, 1, "Septiembre");
        QVERIFY(ortopedia.isValid() && septiembre.isValid());
        const double printableRight = (210 - margins.right()) / 25.4 * 72;
        QVERIFY2(ortopedia.right() <= printableRight + 1,
                 qPrintable(QString("title ends at %1 pt").arg(ortopedia.right())));
        QVERIFY(septiembre.left() < 10 * kPointsPerCm - 10);

        // The weekday headings are below the title.
        QVERIFY(lunes.isValid());
        QVERIFY(lunes.top() > box.bottom());
    }

    // An empty roster prints one page with its title; a file that cannot be written is
    // reported and nothing is left behind.
    void emptyRosterAndUnwritableFile() {
        PrintTest::RosterHost host(800);
        const QString file = m_dir + "/vacia.pdf";
        QString error;
        QVERIFY(ImprimirPlanillaPdf(*host.grid, kTitulo, kVertical, file, &error));
        QCOMPARE(PdfPages(file), 1);
        QVERIFY(PdfText(file, 1).contains(kTitulo.Texto()));
        QVERIFY(PdfText(file, 1).contains("Vacaciones"));

        const QString bad = m_dir + "/no/existe/planilla.pdf";
        QVERIFY(!ImprimirPlanillaPdf(*host.grid, kTitulo, kVertical, bad, &error));
        QVERIFY(error.contains(bad));
        QVERIFY(!QFile::exists(bad));

        // An existing file is replaced only by a complete one.
        host.grid->Fill(0, 28, 3);
        QVERIFY(ImprimirPlanillaPdf(*host.grid, kTitulo, kVertical, file, &error));
        QCOMPARE(PdfPages(file), 1);
        QVERIFY(PdfText(file, 1).contains("N28-2"));
    }

    // Fitted: one sheet in either orientation whatever the window's width; the week's
    // columns fill the printable width; title, weekday names, hour labels, legend and
    // print date on it; every day number once.
    void fittedToOneSheet_data() {
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("horizontal") << true;
        QTest::newRow("vertical") << false;
    }
    void fittedToOneSheet() {
        QFETCH(bool, horizontal);
        DvClock::SetFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
        QList<QRectF> sundays;
        for (const int width : {600, 780, 1500}) {
            PrintTest::RosterHost host(width);
            host.grid->Fill(3, 31, 5);
            const QString file = m_dir + QStringLiteral("/ajustada%1.pdf").arg(width);
            QString error;
            QVERIFY2(ImprimirPlanillaPdf(*host.grid, kTitulo, {horizontal, true}, file, &error),
                     qPrintable(error));
            QCOMPARE(PdfPages(file), 1);
            const QSizeF paper = PdfPaper(file);
            QCOMPARE(paper.width() > paper.height(), horizontal);
            const QString text = PdfText(file, 1);
            QVERIFY(text.contains(kTitulo.Texto()));
            for (const char* day : kWeekdays)
                QVERIFY2(text.contains(QString::fromUtf8(day)), day);
            for (const char* word : {"Vacaciones", "Baja", "Día personal", "Domingo o festivo",
                                     "Impreso el 08/12/2026"})
                QVERIFY2(text.contains(QString::fromUtf8(word)), word);
            const QMap<int, int> days = DayNumbers(file, 1);
            for (int d = 1; d <= 31; ++d)
                QVERIFY2(days.value(d) == 1,
                         qPrintable(QString("day %1: %2").arg(d).arg(days.value(d))));
            // Each of the five weeks carries its two hour groups in the margin.
            QCOMPARE(text.count(QRegularExpression("(^|\\s)8:00(\\s|$)")), 5);
            QCOMPARE(text.count(QRegularExpression("(^|\\s)15:00(\\s|$)")), 5);
            // The last day's name ends inside the printable width.
            // Sunday's heading: the highest "Domingo" (the legend's is at the foot).
            QRectF domingo;
            for (const Palabra& w : PdfWords(file, 1))
                if (w.texto == QStringLiteral("Domingo") &&
                    (!domingo.isValid() || w.caja.top() < domingo.top()))
                    domingo = w.caja;
            QVERIFY(domingo.isValid());
            const double printable = paper.width() - CImpresionPlanilla::MargenPdfMm / 25.4 * 72;
            QVERIFY2(domingo.right() <= printable, qPrintable(QString::number(domingo.right())));
            QVERIFY(domingo.left() > paper.width() * 0.75);
            sundays << domingo;
        }
        // The same sheet from any window.
        QVERIFY(qAbs(sundays[0].left() - sundays[2].left()) < 1.0);
        QVERIFY(qAbs(sundays[0].top() - sundays[2].top()) < 1.0);
        DvClock::ClearFixed();
    }

    // A month too long for one legible sheet goes on more, broken only between weeks:
    // every sheet has the headings, and every name stands on the sheet of its day number.
    void fittedBreaksBetweenWeeks() {
        PrintTest::RosterHost host(780);
        host.grid->Fill(3, 31, 22);
        const QString file = m_dir + "/larga.pdf";
        QString error;
        QVERIFY(ImprimirPlanillaPdf(*host.grid, kTitulo, kHorizontal, file, &error));
        const int pages = PdfPages(file);
        QVERIFY2(pages >= 2 && pages <= 5, qPrintable(QString::number(pages)));
        for (int p = 1; p <= pages; ++p) {
            const QString text = PdfText(file, p);
            QVERIFY(text.contains(kTitulo.Texto()));
            QVERIFY(text.contains("Lunes") && text.contains("Domingo"));
            QVERIFY(text.contains("Vacaciones"));
            QSet<int> numbers;
            QList<int> named;
            for (const Palabra& w : PdfWords(file, p)) {
                bool ok = false;
                const int n = w.texto.toInt(&ok);
                if (ok && n >= 1 && n <= 31)
                    numbers.insert(n);
                const QRegularExpressionMatch m =
                    QRegularExpression("^N(\\d+)-\\d+$").match(w.texto);
                if (m.hasMatch())
                    named << m.captured(1).toInt();
                // Legible: no name smaller than 6 points (its line is taller still).
                if (m.hasMatch())
                    QVERIFY2(w.caja.height() >= 6.0, qPrintable(w.texto));
            }
            QVERIFY(!named.isEmpty());
            for (int d : named)
                QVERIFY2(numbers.contains(d), qPrintable(QString("page %1 day %2").arg(p).arg(d)));
        }
        const QMap<int, int> days = DayNumbers(file, pages);
        for (int d = 1; d <= 31; ++d)
            QCOMPARE(days.value(d), 1);

        // The layout in numbers: pages start with weeks, the text at the least scale.
        QPdfWriter writer(m_dir + "/scratch.pdf");
        writer.setResolution(CImpresionPlanilla::Resolucion);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
        CImpresionPlanilla layout(*host.grid);
        QCOMPARE(layout.OnBeginPrinting(&writer), pages);
        const std::vector<int> weeks = CImpresionPlanilla::InicioSemanas(*host.grid);
        QCOMPARE(weeks, (std::vector<int>{0, 22, 44, 66, 88}));
        for (int p = 1; p <= pages; ++p) {
            CGridPrintPage range;
            QVERIFY(layout.GridPrinter().GetPage(p, &range));
            QVERIFY(std::find(weeks.begin(), weeks.end(), range.firstRow) != weeks.end());
            QCOMPARE(range.firstColumn, 0);
            QCOMPARE(range.lastColumn, 13);
        }
        // 15-pixel text at 96 dpi is 11.25 points: never below 6 points, a scale of 0.533,
        // yet small enough that one sheet fewer would not do.
        QVERIFY(layout.GridPrinter().TextScale() >= 6.0 / 11.25 - 1e-6);
        QVERIFY(layout.GridPrinter().TextScale() < 1.0);
        layout.OnEndPrinting();
    }

    // A name too wide for its cell is drawn smaller and then cut with "…"; one that fits
    // is printed whole.
    void longNamesShrinkThenEllipsis() {
        PrintTest::RosterHost host(780);
        host.grid->Fill(0, 28, 3);
        const QString largo = QString::fromUtf8("Maximiliano Fernández de la Villaverde");
        host.grid->SetCellText(0, 1, largo); // a joined row: the whole day
        // Beside the day number, in black (no substitute's mark): Thursday the 4th.
        host.grid->SetCellText(6, 0, QString::fromUtf8("Bartolomé"));
        const QString file = m_dir + "/nombres.pdf";
        QString error;
        QVERIFY(ImprimirPlanillaPdf(*host.grid, kTitulo, kVertical, file, &error));
        const QString text = PdfText(file, 1);
        QVERIFY2(text.contains(QString::fromUtf8("Bartolomé")), qPrintable(text));
        QVERIFY(!text.contains(largo));
        QVERIFY2(text.contains(QString::fromUtf8("Maximiliano")), qPrintable(text));
        QVERIFY(text.contains(QString::fromUtf8("…")));
    }

    // A substitute (a name in a leave colour) gets a mark of that colour at the right end
    // of its cell, so a black-and-white copy still shows it; a worker in person none.
    void substitutesAreMarked() {
        PrintTest::RosterHost host(780);
        host.grid->Fill(3, 31, 4);
        QImage page(3508, 2480, QImage::Format_RGB32); // A4 landscape at 300 dpi
        page.setDotsPerMeterX(qRound(300 / 0.0254));
        page.setDotsPerMeterY(qRound(300 / 0.0254));
        page.fill(Qt::white);
        CImpresionPlanilla impresion(*host.grid);
        QCOMPARE(impresion.OnBeginPrinting(&page), 1);
        {
            QPainter painter(&page);
            impresion.OnPrint(&painter, 1, kTitulo);
        }
        const CGridPrinter& layout = impresion.GridPrinter();
        const double k = 300.0 / layout.ScreenDpiX() * layout.TextScale();
        const std::vector<CGridPrintRowBand> bands = layout.RowBands(1);
        // Pixels of the colour in the right quarter of the name cell (column, row); below
        // the day number it takes the day's two columns.
        const auto marked = [&](int column, int row, GridColor colour) {
            double left = layout.BlockLeft();
            for (int c = 0; c < column; ++c)
                left += layout.PrintedWidth(c) * k;
            double width = layout.PrintedWidth(column) * k;
            if (row > 0)
                width += layout.PrintedWidth(column + 1) * k;
            const CGridPrintRowBand& band = bands[static_cast<size_t>(row)];
            const QColor want = ToQColor(colour);
            int count = 0;
            for (int y = qRound(band.top) + 2; y < qRound(band.bottom) - 2; ++y)
                for (int x = qRound(left + width * 0.75); x < qRound(left + width) - 2; ++x) {
                    const QColor got = page.pixelColor(x, y);
                    count += qAbs(got.red() - want.red()) < 40 &&
                             qAbs(got.green() - want.green()) < 40 &&
                             qAbs(got.blue() - want.blue()) < 40;
                }
            return count;
        };
        // Thursday the 1st: entry 0 in the vacation colour, 1 sick leave, 2 personal, 3 own.
        QVERIFY(marked(6, 0, PrintTest::kRed) > 20);
        QVERIFY(marked(6, 1, PrintTest::kGreen) > 20);
        QVERIFY(marked(6, 2, PrintTest::kBlue) > 20);
        for (GridColor colour : {PrintTest::kRed, PrintTest::kGreen, PrintTest::kBlue})
            QCOMPARE(marked(6, 3, colour), 0);
        impresion.OnEndPrinting();
    }

    // Where each week and each hour group starts, read from the cells.
    void weeksAndHourGroups() {
        PrintTest::RosterHost host(780);
        host.grid->Fill(5, 30, 4); // starts on a Saturday: five weeks
        const std::vector<int> weeks = CImpresionPlanilla::InicioSemanas(*host.grid);
        QCOMPARE(weeks, (std::vector<int>{0, 4, 8, 12, 16}));
        const auto hours = CImpresionPlanilla::InicioHoras(*host.grid);
        QCOMPARE(static_cast<int>(hours.size()), 10);
        QCOMPARE(hours[0], (std::pair<int, QString>{0, "8:00"}));
        QCOMPARE(hours[1], (std::pair<int, QString>{2, "15:00"}));
        QCOMPARE(hours[2], (std::pair<int, QString>{4, "8:00"}));
        PrintTest::RosterHost empty(780);
        QVERIFY(CImpresionPlanilla::InicioSemanas(*empty.grid).empty());
    }

    // "&Imprimir...": the print dialog with the pages offered, then the pages to the file
    // the dialog chose, in the service's orientation; Cancel prints nothing.
    void printDialog() {
        PrintTest::RosterHost host(800);
        host.grid->Fill(3, 31, 12);
        const QString file = m_dir + "/dialogo.pdf";
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);

        int offered = 0;
        DvModal::QueueHandler([&](QDialog& dialog) {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            QVERIFY(print);
            offered = print->maxPage();
            dialog.reject();
        });
        QVERIFY(!DvImpresion::Imprimir(nullptr, &printer, *host.grid, 1, kTitulo));
        QCOMPARE(offered, 1); // fitted to one sheet (service 1)
        QVERIFY(!QFile::exists(file));

        DvModal::QueueHandler([](QDialog& dialog) { dialog.accept(); });
        QVERIFY(DvImpresion::Imprimir(nullptr, &printer, *host.grid, 1, kTitulo));
        QCOMPARE(PdfPages(file), offered);
        QVERIFY(PdfPaper(file).width() > PdfPaper(file).height());
        QVERIFY(PdfText(file, 1).contains(kTitulo.Texto()));

        // No printer installed: a PDF file, offered in the home folder.
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        const QString fakeHome = m_dir + "/casa";
        QDir().mkpath(fakeHome);
        qputenv("HOME", fakeHome.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (fakeHome + "/.config").toLocal8Bit());
        QString offeredFile;
        DvModal::QueueHandler([&](QDialog& dialog) {
            offeredFile = static_cast<QPrintDialog&>(dialog).printer()->outputFileName();
            dialog.accept();
        });
        const bool printed = DvImpresion::Imprimir(nullptr, nullptr, *host.grid, 2, kTitulo);
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
        QVERIFY(printed);
        QCOMPARE(offeredFile, fakeHome + "/planilla.pdf");
        QCOMPARE(PdfPages(offeredFile), 2); // service 2: unfitted, two pages across
        QVERIFY(PdfPaper(offeredFile).width() < PdfPaper(offeredFile).height()); // service 2
    }

    // "&Presentación preliminar": Qt's preview over the same pages, in Spanish.
    void preview() {
        PrintTest::RosterHost host(800);
        host.grid->Fill(3, 31, 12);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        int pages = -1;
        QStringList actions;
        const auto look = [&](QDialog& dialog) {
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            QVERIFY(widget);
            widget->updatePreview();
            pages = widget->pageCount();
            for (const QAction* action : dialog.findChildren<QAction*>())
                actions << action->text();
            dialog.reject();
        };
        // Service 2: portrait, unfitted, two pages across.
        DvModal::QueueHandler(look);
        QVERIFY(DvImpresion::PresentacionPreliminar(nullptr, &printer, *host.grid, 2, kTitulo));
        QCOMPARE(pages, 2);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        DvModal::QueueHandler(look);
        QVERIFY(DvImpresion::PresentacionPreliminar(nullptr, &printer, *host.grid, 1, kTitulo));
        QCOMPARE(pages, 1);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QVERIFY2(actions.contains(QStringLiteral("Imprimir")) ||
                     actions.contains(QStringLiteral("Imprimir...")),
                 qPrintable(actions.join(" | ")));
        QVERIFY(!actions.contains(QStringLiteral("Print")));
    }
};

QTEST_MAIN(RosterPrintingTest)
#include "RosterPrintingTest.moc"
