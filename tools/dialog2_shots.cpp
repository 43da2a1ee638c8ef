// Opens the date picker and the dialogs of reference assignments, holidays, exceptions
// and leave offscreen on a demonstration database, and saves a picture of each as the
// planner sees it, so their layout and contents can be looked at:
//
//   QT_QPA_PLATFORM=offscreen dialog2_shots [OUTPUT_DIR]   (default: current directory)
//
// The clock is fixed on 5 March 2007 and the settings go to a temporary folder.

#include "AsignacionDlg.h"
#include "CalendarGrid.h"
#include "Clock.h"
#include "ComboList.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "DetallesLibranzaDlg.h"
#include "ExcepcionesDlg.h"
#include "FestivosDlg.h"
#include "FichaExcepcionDlg.h"
#include "FichaFestivoDlg.h"
#include "LibranzasDlg.h"
#include "PickDateDlg.h"
#include "Resources.h"
#include "Schema.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// The window with a title strip drawn above it, as a window manager would show it.
QImage WithTitle(QWidget* widget) {
    const QImage body = widget->grab().toImage();
    const QString title = widget->windowTitle();
    const int strip = title.isEmpty() ? 0 : 22;
    QImage image(body.width() + 2, body.height() + strip + 2, QImage::Format_ARGB32);
    image.fill(QColor(80, 80, 80));
    QPainter painter(&image);
    if (strip) {
        painter.fillRect(1, 1, body.width(), strip, QColor(40, 70, 130));
        painter.setPen(Qt::white);
        painter.setFont(widget->font());
        painter.drawText(QRect(8, 1, body.width() - 8, strip), Qt::AlignVCenter, title);
    }
    painter.drawImage(1, 1 + strip, body);
    return image;
}

class Shots {
public:
    explicit Shots(const QString& dir) : m_dir(dir) {}
    void Take(QWidget& widget, const QString& name) {
        widget.show();
        QApplication::processEvents();
        const QString path = m_dir + QLatin1Char('/') + name;
        if (WithTitle(&widget).save(path)) {
            std::printf("%s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "no se pudo guardar %s\n", qPrintable(path));
            ++m_failures;
        }
        widget.hide();
    }
    int Failures() const { return m_failures; }

private:
    QString m_dir;
    int m_failures = 0;
};

void Picker(Shots& shots, const CDateTime& date, const QString& name) {
    CPickDateDlg picker;
    picker.SetPickedDate(date);
    shots.Take(picker, name);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(outDir);

    QTemporaryDir temp;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, temp.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, temp.path());
    const QDate today(2007, 3, 5);
    DvClock::SetFixed(QDateTime(today, QTime(10, 30)));

    const QString path = temp.path() + QStringLiteral("/ostrevan.mdb");
    QString error;
    if (!DvSchema::CreateDatabase(path, QString(),
                                  DvResources::ReadText(QStringLiteral(":/sql/demo.sql")), today,
                                  error) ||
        !CDbConnection::Instance().OpenFile(path, QString())) {
        std::fprintf(stderr, "no se pudo crear la base de datos: %s\n", qPrintable(error));
        return 1;
    }
    Shots shots(outDir);

    Picker(shots, CDateTime(2007, 3, 15), QStringLiteral("picker_marzo_2007.png"));
    Picker(shots, CDateTime::MakeInvalid(), QStringLiteral("picker_sin_fecha.png"));
    DvSettings::WriteInt(QStringLiteral("IDIOMA"), 1);
    DvSettings::ForgetIdioma();
    CCalendarGrid::ForgetMonthNames();
    Picker(shots, CDateTime(2008, 2, 29), QStringLiteral("picker_ingles.png"));
    DvSettings::WriteInt(QStringLiteral("IDIOMA"), 0);
    DvSettings::ForgetIdioma();
    CCalendarGrid::ForgetMonthNames();

    CDbQuery query;
    const int worker = query.GetInt(QStringLiteral("ASIG_TURNOS"), QStringLiteral("ID_PERSONAL"),
                                    QStringLiteral("ID"), 1);
    {
        CAsignacionDlg dialog;
        dialog.EnsureInitialised();
        dialog.ShowWorker(worker);
        shots.Take(dialog, QStringLiteral("asignacion.png"));
    }
    {
        CFestivosDlg dialog;
        shots.Take(dialog, QStringLiteral("festivos.png"));
    }
    {
        CFichaFestivoDlg dialog;
        dialog.SetHolidayId(-1);
        shots.Take(dialog, QStringLiteral("ficha_festivo.png"));
    }
    {
        // The day of the month with the most exceptions in the demonstration data.
        CDbRecordset record = query.Open(QStringLiteral(
            "SELECT DIA, COUNT(*) AS N FROM EXCEPCIONES GROUP BY DIA ORDER BY N DESC"));
        const CDateTime day = record.IsEOF() ? CDateTime(2007, 3, 5) : record.GetDateTime(0);
        record.Close();
        const int service =
            query.GetIntById(QStringLiteral("PERSONAL"), QStringLiteral("ID_FUNCION"), worker);
        CExcepcionesDlg dialog;
        dialog.SetDay(day);
        dialog.SetService(service);
        shots.Take(dialog, QStringLiteral("excepciones.png"));

        CFichaExcepcionDlg remove;
        remove.SetDay(day);
        remove.SetService(service);
        shots.Take(remove, QStringLiteral("ficha_excepcion_quitar.png"));

        CFichaExcepcionDlg add;
        add.SetDay(day);
        add.SetService(service);
        add.EnsureInitialised();
        if (auto* button = add.Item<QRadioButton>(CFichaExcepcionDlg::IdAddTo))
            button->click();
        shots.Take(add, QStringLiteral("ficha_excepcion_anadir.png"));
    }
    {
        // The worker with most vacations, and his records of every kind.
        const int absent = query.GetInt(QStringLiteral("VACACIONES"), QStringLiteral("ID_PERSONAL"),
                                        QStringLiteral("ID"), 1);
        const char* names[] = {"vacaciones", "bajas", "permisos"};
        for (int kind = 1; kind <= 3; ++kind) {
            CLibranzasDlg list;
            list.SetWorker(absent);
            list.SetKind(kind);
            shots.Take(list,
                       QStringLiteral("libranzas_%1.png").arg(QLatin1String(names[kind - 1])));

            CDetallesLibranzaDlg record;
            record.SetKind(kind);
            record.SetWorker(absent);
            record.SetPeriodId(-1);
            shots.Take(record,
                       QStringLiteral("detalles_%1.png").arg(QLatin1String(names[kind - 1])));
        }
        const int period = query.GetInt(QStringLiteral("VACACIONES"), QStringLiteral("ID"),
                                        QStringLiteral("ID_PERSONAL"), absent);
        CDetallesLibranzaDlg record;
        record.SetKind(1);
        record.SetPeriodId(period);
        shots.Take(record, QStringLiteral("detalles_vacaciones_guardadas.png"));
    }
    CDbConnection::Instance().Close();
    return shots.Failures() == 0 ? 0 : 1;
}
