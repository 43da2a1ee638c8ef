// Builds every dialog template offscreen and saves a picture of each, to look at the
// layout: texts readable, nothing clipped or overlapping.
//
//   template_shots [OUTPUT_DIR]      (default: the current directory)

#include "ColorRef.h"
#include "DialogTemplate.h"
#include "MaskedEdit.h"
#include "TemplateDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <cstdio>

namespace {
// Sample contents, so that the picture shows the controls as the program fills them.
void FillSamples(QWidget* root) {
    for (QComboBox* combo : root->findChildren<QComboBox*>()) {
        combo->addItem(QStringLiteral("Septiembre"));
        combo->addItem(QStringLiteral("Urgencias"));
    }
    for (CEditSpecial* edit : root->findChildren<CEditSpecial*>()) {
        if (edit->isVisibleTo(root) && edit->text().isEmpty())
            edit->SetDisplayText(QStringLiteral("2007"));
    }
    for (QProgressBar* bar : root->findChildren<QProgressBar*>())
        bar->setValue(40);
    // Placeholders are empty until another window takes them over: outline them.
    for (QFrame* frame : root->findChildren<QFrame*>()) {
        if (frame->metaObject() == &QFrame::staticMetaObject && frame->property("dlgId").isValid())
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    if (auto* label = root->findChild<QLabel*>(QStringLiteral("id1100")))
        label->setText(QStringLiteral("Procesando datos para día: 12"));
}

// The window with a title strip drawn above it, as a window manager would show it.
QImage WithTitle(QWidget* widget, const QString& title) {
    const QImage body = widget->grab().toImage();
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
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(outDir);

    QList<int> ids;
    QDirIterator it(QStringLiteral(":/dialogs"));
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        bool ok = false;
        const int id = info.completeBaseName().toInt(&ok);
        if (ok && info.suffix() == QLatin1String("dlg"))
            ids << id;
    }
    std::sort(ids.begin(), ids.end());

    int failures = 0;
    auto save = [&](const QImage& image, const QString& name) {
        const QString path = outDir + QLatin1Char('/') + name;
        if (!image.save(path)) {
            std::fprintf(stderr, "no se pudo guardar %s\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    };

    for (int id : ids) {
        CDialogTemplate dialogTemplate;
        QString error;
        if (!CDialogTemplate::Load(id, dialogTemplate, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            ++failures;
            continue;
        }
        if (dialogTemplate.Has(DialogStyle::Child)) {
            CTemplateForm form(dialogTemplate);
            FillSamples(&form);
            form.show();
            save(WithTitle(&form, QString()), QStringLiteral("dialogo_%1.png").arg(id));
        } else {
            CTemplateDialog dialog(dialogTemplate);
            FillSamples(&dialog);
            dialog.show();
            save(WithTitle(&dialog, dialog.windowTitle()),
                 QStringLiteral("dialogo_%1.png").arg(id));
            dialog.hide();
        }
    }

    // The masked edit in its states: empty date template, a date, a time with seconds,
    // a display-only field on its own background.
    {
        CDialogTemplate fields;
        QString error;
        CDialogTemplate::Parse(QStringLiteral("dialog 0 0 0 160 70 popup caption\n"
                                              "title \"Campos\"\n"
                                              "label -1 \"Fecha:\" 7 9 40 8\n"
                                              "special 10 \"\" 50 7 40 12\n"
                                              "special 11 \"\" 95 7 40 12\n"
                                              "label -1 \"Hora:\" 7 25 40 8\n"
                                              "special 12 \"\" 50 23 40 12\n"
                                              "label -1 \"Servicio:\" 7 41 40 8\n"
                                              "special 13 \"\" 50 39 100 12\n"),
                               fields, &error);
        CTemplateDialog dialog(fields);
        dialog.Item<CEditSpecial>(10)->SetMask(QStringLiteral("##-##-##"));
        dialog.Item<CEditSpecial>(11)->SetMask(QStringLiteral("##-##-##"));
        dialog.Item<CEditSpecial>(11)->SetDate(CDateTime(2007, 1, 5));
        dialog.Item<CEditSpecial>(12)->SetMask(QStringLiteral("##:##:##"));
        dialog.Item<CEditSpecial>(12)->SetTime(CDateTime(1899, 12, 30, 7, 5, 9), true);
        dialog.Item<CEditSpecial>(13)->SetDisplayText(QStringLiteral("Urgencias"));
        dialog.Item<CEditSpecial>(13)->SetReadOnly(true, DvColor::ReadOnlyField);
        dialog.show();
        save(WithTitle(&dialog, dialog.windowTitle()), QStringLiteral("campos.png"));
    }

    CTemplateDialog picker(MakeDatePickerTemplate());
    picker.show();
    save(WithTitle(&picker, QString()), QStringLiteral("dialogo_calendario.png"));
    return failures == 0 ? 0 : 1;
}
