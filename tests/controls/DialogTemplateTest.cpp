// Dialog templates: reading the text form, dialog-unit conversion, and dialogs and
// forms built from the program's templates, their controls found by id.

#include "DialogTemplate.h"
#include "ComboList.h"
#include "DialogBuilder.h"
#include "DialogUnits.h"
#include "MaskedEdit.h"
#include "TemplateDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {
const char* kSample = "# sample\n"
                      "dialog 300 10 20 200 120 popup caption sysmenu modalframe\n"
                      "title \"Ficha de \\\"prueba\\\"\"\n"
                      "font 8 \"MS Sans Serif\"\n"
                      "label     -1   \"&Nombre:\"    7  10  40  8   right\n"
                      "edit      1060 \"\"            50 9   80  12  password\n"
                      "special   1061 \"\"            50 25  40  12  hidden number\n"
                      "group     -1   \"Tipo\"        7  40  120 30\n"
                      "radio     1070 \"Quitar\"      15 52  50  10  group\n"
                      "radio     1071 \"Añadir\"      70 52  50  10\n"
                      "radio     1072 \"Otro\"        15 80  50  10  group\n"
                      "radio     1073 \"Más\"         70 80  50  10\n"
                      "check     1080 \"Todos\"       7  95  60  10  3state disabled\n"
                      "combo     1090 \"\"            140 9  50  60  sorted\n"
                      "defbutton 1    \"OK\"          140 30 50  14\n"
                      "button    2    \"Cancel\"      140 47 50  14\n"
                      "placeholder 1015 \"\"          140 64 50  40\n";

// A dialog that records the commands it gets and, like the progress window, stays open
// when cancelled.
class CStayOpenDlg : public CTemplateDialog {
public:
    using CTemplateDialog::CTemplateDialog;
    QList<int> commands;
    int inits = 0;

protected:
    void OnInitDialog() override { ++inits; }
    bool OnCommand(int id) override {
        commands << id;
        return CTemplateDialog::OnCommand(id);
    }
    void OnCancel() override {}
};
} // namespace

class DialogTemplateTest : public QObject {
    Q_OBJECT
private slots:
    void parsesEveryPartOfALine();
    void reportsErrorsWithTheirLine_data();
    void reportsErrorsWithTheirLine();
    void textFormRoundTrips();
    void dialogUnitsConvertEdgesWithRounding();
    void dialogFontHasSensibleBaseUnits();
    void progressTemplateBuildsAsGiven();
    void rosterFormTemplateBuildsAsGiven();
    void aboutBoxTemplate();
    void radioGroupsAndGroupBoxes();
    void sortedComboKeepsDataWithItsText();
    void classesAndFactoriesReplaceStandardWidgets();
    void commandsEscapeEnterAndClose();
    void enterWithoutVisibleDefaultSendsOk();
    void datePickerTemplateHasNoTitleBar();
    void missingTemplateIsReportedNotFatal();
};

void DialogTemplateTest::parsesEveryPartOfALine() {
    CDialogTemplate t;
    QString error;
    QVERIFY2(CDialogTemplate::Parse(kSample, t, &error), qPrintable(error));
    QCOMPARE(t.id, 300);
    QCOMPARE(t.rect, QRect(10, 20, 200, 120));
    QCOMPARE(t.title, QString("Ficha de \"prueba\""));
    QCOMPARE(t.fontFace, QString("MS Sans Serif"));
    QCOMPARE(t.fontPointSize, 8);
    QVERIFY(t.Has(DialogStyle::Popup) && t.Has(DialogStyle::Caption) &&
            t.Has(DialogStyle::SysMenu) && t.Has(DialogStyle::ModalFrame));
    QVERIFY(!t.Has(DialogStyle::Child));
    QCOMPARE(int(t.controls.size()), 13);

    const CControlTemplate& label = t.controls[0];
    QCOMPARE(label.kind, ControlKind::Label);
    QCOMPARE(label.id, -1);
    QCOMPARE(label.text, QString("&Nombre:"));
    QCOMPARE(label.rect, QRect(7, 10, 40, 8));
    QVERIFY(label.Has(ControlStyle::Right));

    const CControlTemplate* special = t.Find(1061);
    QVERIFY(special);
    QCOMPARE(special->kind, ControlKind::SpecialEdit);
    QVERIFY(special->Has(ControlStyle::Hidden) && special->Has(ControlStyle::Number));
    QCOMPARE(t.Find(1070)->kind, ControlKind::RadioButton);
    QVERIFY(t.Find(1070)->Has(ControlStyle::Group));
    QVERIFY(t.Find(1080)->Has(ControlStyle::ThreeState) &&
            t.Find(1080)->Has(ControlStyle::Disabled));
    QVERIFY(t.Find(1090)->Has(ControlStyle::Sorted));
    QVERIFY(t.Find(1)->Has(ControlStyle::Default)); // a default button is default
    QVERIFY(t.Find(1015)->className.isEmpty());
    CDialogTemplate withClass;
    QVERIFY(CDialogTemplate::Parse("dialog 1 0 0 9 9\nplaceholder 5 \"\" 0 0 1 1 class=MiMarco\n",
                                   withClass));
    QCOMPARE(withClass.controls[0].className, QString("MiMarco"));
    QCOMPARE(t.Find(9999), nullptr);
}

void DialogTemplateTest::reportsErrorsWithTheirLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where");
    QTest::newRow("no dialog line") << "title \"x\"\n"
                                    << "línea 1";
    QTest::newRow("unknown kind") << "dialog 1 0 0 10 10\nslider 5 \"\" 0 0 1 1\n"
                                  << "línea 2";
    QTest::newRow("unknown style") << "dialog 1 0 0 10 10\n\nbutton 5 \"\" 0 0 1 1 bold\n"
                                   << "línea 3";
    QTest::newRow("unclosed text") << "dialog 1 0 0 10 10\nbutton 5 \"OK 0 0 1 1\n"
                                   << "línea 2";
    QTest::newRow("text not quoted") << "dialog 1 0 0 10 10\nbutton 5 OK 0 0 1 1\n"
                                     << "línea 2";
    QTest::newRow("bad number") << "dialog 1 0 0 10 10\nbutton 5 \"\" 0 x 1 1\n"
                                << "línea 2";
    QTest::newRow("missing height") << "dialog 1 0 0 10 10\nbutton 5 \"\" 0 0 1\n"
                                    << "línea 2";
    QTest::newRow("negative size") << "dialog 1 0 0 10 10\nbutton 5 \"\" 0 0 -1 1\n"
                                   << "línea 2";
    QTest::newRow("bad dialog style") << "dialog 1 0 0 10 10 resizable\n"
                                      << "línea 1";
    QTest::newRow("empty") << ""
                           << "dialog";
}

void DialogTemplateTest::reportsErrorsWithTheirLine() {
    QFETCH(QString, text);
    QFETCH(QString, where);
    CDialogTemplate t;
    QString error;
    QVERIFY(!CDialogTemplate::Parse(text, t, &error));
    QVERIFY2(error.contains(where), qPrintable(error));
}

void DialogTemplateTest::textFormRoundTrips() {
    CDialogTemplate first;
    QVERIFY(CDialogTemplate::Parse(kSample, first));
    CDialogTemplate second;
    QString error;
    QVERIFY2(CDialogTemplate::Parse(first.ToText(), second, &error), qPrintable(error));
    QCOMPARE(second.ToText(), first.ToText());
    QCOMPARE(second.title, first.title);
    QCOMPARE(int(second.controls.size()), int(first.controls.size()));
    for (size_t i = 0; i < first.controls.size(); ++i) {
        QCOMPARE(second.controls[i].kind, first.controls[i].kind);
        QCOMPARE(second.controls[i].styles, first.controls[i].styles);
        QCOMPARE(second.controls[i].rect, first.controls[i].rect);
    }
}

void DialogTemplateTest::dialogUnitsConvertEdgesWithRounding() {
    const CDialogUnits units(6, 13);
    // Edges: 63*6/4 = 94.5 -> 95, 69*13/8 = 112.1 -> 112, 113*6/4 = 169.5 -> 170,
    // 83*13/8 = 134.9 -> 135.
    QCOMPARE(units.Map(QRect(63, 69, 50, 14)), QRect(95, 112, 75, 23));
    QCOMPARE(units.MapSize(186, 90), QSize(279, 146));
    // Two controls that touch in dialog units touch in pixels.
    const QRect a = units.Map(QRect(7, 7, 33, 10));
    const QRect b = units.Map(QRect(40, 7, 20, 10));
    QCOMPARE(a.right() + 1, b.left());
    QCOMPARE(CDialogUnits::MulDiv(-3, 1, 2), -2);
    QCOMPARE(CDialogUnits::MulDiv(3, 1, 2), 2);
    QCOMPARE(CDialogUnits::MulDiv(5, 7, 0), -1);
    const CDialogUnits wide(8, 16);
    QCOMPARE(wide.Map(QRect(4, 8, 4, 8)), QRect(8, 16, 8, 16));
}

void DialogTemplateTest::dialogFontHasSensibleBaseUnits() {
    const QFont font = CDialogUnits::DialogFont("MS Sans Serif", 8);
    QCOMPARE(font.pixelSize(), CDialogUnits::MulDiv(8, CDialogUnits::ScreenDpi(), 72));
    const CDialogUnits units(font);
    // An 8-point dialog font is about 5-7 pixels wide and 12-15 high per character.
    QVERIFY2(units.BaseX() >= 5 && units.BaseX() <= 7, qPrintable(QString::number(units.BaseX())));
    QVERIFY2(units.BaseY() >= 12 && units.BaseY() <= 15,
             qPrintable(QString::number(units.BaseY())));
    // A bigger font makes bigger units.
    const CDialogUnits bigger(CDialogUnits::DialogFont("MS Sans Serif", 16));
    QVERIFY(bigger.BaseX() > units.BaseX() && bigger.BaseY() > units.BaseY());
}

void DialogTemplateTest::progressTemplateBuildsAsGiven() {
    CTemplateDialog dialog(147);
    QCOMPARE(dialog.TemplateId(), 147);
    QCOMPARE(dialog.windowTitle(), QString("Progreso de operación"));
    QCOMPARE(dialog.size(), dialog.Units().MapSize(186, 90));
    QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);

    auto* cancel = dialog.Item<QPushButton>(2);
    QVERIFY(cancel);
    QCOMPARE(cancel->text(), QString("Cancel"));
    QCOMPARE(cancel->geometry(), dialog.MapDialogRect(QRect(63, 69, 50, 14)));
    QCOMPARE(cancel->property("dlgId").toInt(), 2);
    QCOMPARE(dialog.findChild<QPushButton*>("id2"), cancel);

    auto* step = dialog.Item<QLabel>(1099);
    auto* message = dialog.Item<QLabel>(1100);
    QVERIFY(step && message);
    QVERIFY(step->alignment() & Qt::AlignHCenter);
    QVERIFY(message->alignment() & Qt::AlignHCenter);
    QCOMPARE(message->geometry(), dialog.MapDialogRect(QRect(7, 36, 172, 11)));
    dialog.show();
    QVERIFY(!step->isVisible()); // created hidden, stays hidden
    QVERIFY(message->isVisible());
    dialog.SetDlgItemText(1099, "Paso (1/30)");
    QCOMPARE(dialog.GetDlgItemText(1099), QString("Paso (1/30)"));
    QVERIFY(!step->isVisible());

    auto* bar = dialog.Item<QProgressBar>(1101);
    QVERIFY(bar);
    QCOMPARE(bar->orientation(), Qt::Horizontal);
    QCOMPARE(bar->geometry(), dialog.MapDialogRect(QRect(23, 55, 148, 8)));
    QCOMPARE(dialog.GetDlgItem(4242), nullptr);
}

void DialogTemplateTest::rosterFormTemplateBuildsAsGiven() {
    CTemplateForm form(101);
    // 584 x 382 with the warnings list added under the grid.
    QCOMPARE(form.sizeHint(), form.Units().MapSize(584, 446));

    auto* month = form.Item<CComboList>(1053);
    auto* year = form.Item<CEditSpecial>(1054);
    auto* service = form.Item<CComboList>(1055);
    auto* generate = form.Item<QPushButton>(1056);
    QWidget* placeholder = form.GetDlgItem(1015);
    QVERIFY(month && year && service && generate && placeholder);
    QCOMPARE(generate->text(), QString("Generar"));
    QCOMPARE(year->geometry(), form.MapDialogRect(QRect(270, 17, 35, 12)));
    QCOMPARE(generate->geometry(), form.MapDialogRect(QRect(465, 16, 58, 15)));
    QCOMPARE(placeholder->geometry(), form.MapDialogRect(QRect(7, 48, 570, 327)));
    QCOMPARE(placeholder->focusPolicy(), Qt::NoFocus);

    // A combo's template height is its open list; closed it is one line high.
    const QRect monthRect = form.MapDialogRect(QRect(173, 17, 68, 150));
    QCOMPARE(month->geometry().topLeft(), monthRect.topLeft());
    QCOMPARE(month->width(), monthRect.width());
    QCOMPARE(month->property("dropHeight").toInt(), monthRect.height());
    QVERIFY(month->height() < monthRect.height() / 4);
    QVERIFY(month->maxVisibleItems() >= 12); // all twelve months without scrolling
    QVERIFY(!month->property("sorted").toBool());
    QVERIFY(service->property("sorted").toBool());

    // The labels stand left of their controls without overlapping them.
    const QStringList labels{"Mes:", "Año:", "Servicio:"};
    const QList<QWidget*> after{month, year, service};
    for (int i = 0; i < labels.size(); ++i) {
        QLabel* label = nullptr;
        for (QLabel* l : form.findChildren<QLabel*>()) {
            if (l->text() == labels[i])
                label = l;
        }
        QVERIFY2(label, qPrintable(labels[i]));
        QVERIFY(label->geometry().right() < after[i]->geometry().left());
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }

    // A window that takes the placeholder over (as the roster grid does) is found by
    // the same id from then on.
    auto* grid = new QWidget(&form);
    grid->setGeometry(placeholder->geometry());
    placeholder->setProperty("dlgId", QVariant());
    grid->setProperty("dlgId", 1015);
    QCOMPARE(form.GetDlgItem(1015), grid);
    QCOMPARE(form.GetDlgItem(1056), static_cast<QWidget*>(generate));

    // Typing into the year field works through the form.
    year->SetDisplayText(QString());
    QTest::keyClicks(year, "20x07");
    QCOMPARE(year->GetValue(), 2007);
}

void DialogTemplateTest::aboutBoxTemplate() {
    CTemplateDialog about(100);
    QCOMPARE(about.windowTitle(), QString("Acerca de Dravonela"));
    auto* ok = about.Item<QPushButton>(1);
    auto* web = about.Item<QPushButton>(1057);
    QVERIFY(ok && web);
    QCOMPARE(ok->text(), QString("Aceptar"));
    QCOMPARE(web->text(), QString("Web"));
    QVERIFY(ok->isDefault());
    QCOMPARE(about.DefaultButtonId(), 1);
    bool found = false;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text() == QString("Dravonela Versión 1.2")) {
            found = true;
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        }
        if (label->pixmap().isNull() == false)
            QVERIFY(label->pixmap().width() >= 16);
    }
    QVERIFY(found);
    about.show();
    QTest::keyClick(&about, Qt::Key_Return);
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(!about.isVisible());
}

void DialogTemplateTest::radioGroupsAndGroupBoxes() {
    CDialogTemplate t;
    QVERIFY(CDialogTemplate::Parse(kSample, t));
    CTemplateDialog dialog(t);
    auto* r0 = dialog.Item<QRadioButton>(1070);
    auto* r1 = dialog.Item<QRadioButton>(1071);
    auto* r2 = dialog.Item<QRadioButton>(1072);
    auto* r3 = dialog.Item<QRadioButton>(1073);
    QVERIFY(r0 && r1 && r2 && r3);
    dialog.show();
    r0->click();
    r2->click();
    QVERIFY(r0->isChecked() && r2->isChecked()); // two groups
    r1->click();
    QVERIFY(!r0->isChecked() && r1->isChecked() && r2->isChecked());
    QVERIFY(r0->group() && r0->group() == r1->group() && r0->group() != r2->group());

    // The group box, drawn before its radio buttons, does not cover them.
    QWidget* hit = dialog.childAt(r0->geometry().center());
    QCOMPARE(hit, static_cast<QWidget*>(r0));
    QVERIFY(dialog.findChild<QGroupBox*>());

    auto* check = dialog.Item<QCheckBox>(1080);
    QVERIFY(check->isTristate());
    QVERIFY(!check->isEnabled());

    // "&Nombre:" leads to the edit after it.
    QLabel* label = nullptr;
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        if (l->text() == QString("&Nombre:"))
            label = l;
    }
    QVERIFY(label);
    QCOMPARE(label->buddy(), dialog.GetDlgItem(1060));
    QCOMPARE(dialog.Item<QLineEdit>(1060)->echoMode(), QLineEdit::Password);
    auto* hidden = dialog.Item<CEditSpecial>(1061);
    QVERIFY(hidden && !hidden->isVisible() && hidden->IsDigitsOnly());
}

void DialogTemplateTest::sortedComboKeepsDataWithItsText() {
    CDialogTemplate t;
    QVERIFY(CDialogTemplate::Parse(kSample, t));
    CTemplateDialog dialog(t);
    auto* combo = dialog.Item<QComboBox>(1090);
    QVERIFY(combo);
    QCOMPARE(CComboList::AddItem(*combo, "Urgencias", 4), 0);
    QCOMPARE(CComboList::AddItem(*combo, "ambulancias", 7), 0);
    QCOMPARE(CComboList::AddItem(*combo, "Ávila", 9), 1);
    QCOMPARE(CComboList::AddItem(*combo, "Cirugía", 2), 2);
    const QStringList expected{"ambulancias", "Ávila", "Cirugía", "Urgencias"};
    const QList<int> data{7, 9, 2, 4};
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(combo->itemText(i), expected[i]);
        QCOMPARE(combo->itemData(i).toInt(), data[i]);
    }
    combo->setItemText(0, "Zamora"); // a renamed item moves to its place
    QCOMPARE(combo->itemText(3), QString("Zamora"));
    QCOMPARE(combo->itemData(3).toInt(), 7);

    // An unsorted combo keeps the order of insertion.
    CTemplateForm form(101);
    auto* month = form.Item<QComboBox>(1053);
    month->addItem("Enero", 1);
    month->addItem("Febrero", 2);
    month->addItem("Abril", 4);
    QCOMPARE(month->itemText(2), QString("Abril"));
}

void DialogTemplateTest::classesAndFactoriesReplaceStandardWidgets() {
    CDialogTemplate t;
    QVERIFY(CDialogTemplate::Parse(
        QString(kSample).replace("140 64 50  40", "140 64 50  40 class=MiMarco"), t));
    {
        // Unknown class: the standard widget, with a warning.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("clase desconocida MiMarco"));
        CTemplateDialog dialog(t);
        QVERIFY(dialog.GetDlgItem(1015));
        QCOMPARE(dialog.GetDlgItem(1015)->metaObject()->className(), "QFrame");
    }
    CDialogBuilder::RegisterClass("MiMarco", [](QWidget* parent) { return new QLabel(parent); });
    QVERIFY(CDialogBuilder::IsClassRegistered("MiMarco"));
    QVERIFY(CDialogBuilder::IsClassRegistered("CEditSpecial"));
    {
        CTemplateDialog dialog(t, nullptr,
                               {{1060, [](QWidget* parent) { return new CEditSpecial(parent); }}});
        QVERIFY(dialog.Item<QLabel>(1015));
        auto* edit = dialog.Item<CEditSpecial>(1060);
        QVERIFY(edit);
        // The template's styles still apply to the replacement.
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->objectName(), QString("id1060"));
        QCOMPARE(edit->geometry(), dialog.MapDialogRect(QRect(50, 9, 80, 12)));
    }
}

void DialogTemplateTest::commandsEscapeEnterAndClose() {
    CDialogTemplate t;
    QVERIFY(CDialogTemplate::Parse(kSample, t));
    CStayOpenDlg dialog(t);
    QCOMPARE(dialog.inits, 0);
    dialog.show();
    QCOMPARE(dialog.inits, 1);
    dialog.hide();
    dialog.show();
    QCOMPARE(dialog.inits, 1); // once only

    dialog.Item<QRadioButton>(1071)->click();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.close() == false); // the close box is a cancel too; it stays open
    dialog.Item<QPushButton>(2)->click();
    QCOMPARE(dialog.commands, (QList<int>{1071, 2, 2, 2}));
    QVERIFY(dialog.isVisible());

    dialog.PostCommand(1060);
    QCOMPARE(dialog.commands.size(), 4);
    QCoreApplication::processEvents();
    QCOMPARE(dialog.commands.size(), 5);
    QCOMPARE(dialog.commands.last(), 1060);

    // Enter clicks the default button, which is OK here.
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.commands.last(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void DialogTemplateTest::enterWithoutVisibleDefaultSendsOk() {
    CDialogTemplate t;
    QVERIFY(CDialogTemplate::Parse("dialog 5 0 0 100 50 popup caption\n"
                                   "button 1 \"\" 0 0 1 1 hidden\n"
                                   "edit 10 \"\" 5 5 60 12\n",
                                   t));
    CTemplateDialog dialog(t);
    dialog.show();
    QTest::keyClick(dialog.GetDlgItem(10), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void DialogTemplateTest::datePickerTemplateHasNoTitleBar() {
    const CDialogTemplate t = MakeDatePickerTemplate();
    QCOMPARE(t.rect, QRect(0, 0, 180, 100));
    QVERIFY(t.title.isEmpty());
    CTemplateDialog picker(t);
    QVERIFY(picker.windowFlags() & Qt::FramelessWindowHint);
    QWidget* calendar = picker.GetDlgItem(100);
    QVERIFY(calendar);
    QCOMPARE(calendar->size(), picker.Units().MapSize(180, 100));
    // The frame the popup draws itself goes round the calendar.
    QCOMPARE(picker.size(), calendar->size() + QSize(4, 4));
    QCOMPARE(calendar->pos(), QPoint(2, 2));
}

void DialogTemplateTest::missingTemplateIsReportedNotFatal() {
    CDialogTemplate t;
    QString error;
    QVERIFY(!CDialogTemplate::Load(99999, t, &error));
    QVERIFY(error.contains("99999"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("99999"));
    CTemplateDialog dialog(99999);
    QCOMPARE(dialog.Items().Count(), 0);
    QVERIFY(dialog.width() > 0);
}

QTEST_MAIN(DialogTemplateTest)
#include "DialogTemplateTest.moc"
