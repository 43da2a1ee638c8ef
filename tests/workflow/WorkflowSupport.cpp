#include "WorkflowSupport.h"

#include "Clock.h"
#include "ComboList.h"
#include "ConfigListGrid.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "DialogBuilder.h"
#include "FileDialog.h"
#include "GridComponents.h"
#include "MainFrame.h"
#include "MaskedEdit.h"
#include "Modal.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

namespace Flow {
void InitTestProgram() {
    DvTest::IsolateSettings();
    DvClock::SetFixed(QDateTime(QDate(2007, 3, 5), QTime(10, 30)));
}

void ForgetQueued() {
    DvModal::ClearHandlers();
    DvMessageBox::ClearAnswers();
    DvFileDialog::ClearFileNames();
}

QStringList Boxes::Take() {
    QStringList texts;
    for (const DvMessageBox::Message& m : m_recorder.Messages())
        texts << m.text;
    m_recorder.Clear();
    return texts;
}

QString Name(Close how) {
    switch (how) {
    case Close::Ok:
        return QStringLiteral("OK");
    case Close::Cancel:
        return QStringLiteral("Cancel");
    case Close::Escape:
        return QStringLiteral("Escape");
    }
    return QString();
}

bool Program::Start(const QString& fileName, const QStringList& statements) {
    const QString path = DvTest::TempDir() + QLatin1Char('/') + fileName;
    QFile::remove(path);
    QString error;
    if (!DvSchema::CreateDatabase(path, QString(), QString(), DvClock::Today(), error)) {
        qWarning("No se pudo crear %s: %s", qPrintable(path), qPrintable(error));
        return false;
    }
    CDbConnection& connection = CDbConnection::Instance();
    connection.Reset();
    if (!connection.OpenFile(path, QString()))
        return false;
    CDbQuery query;
    for (const QString& sql : statements) {
        if (!query.ExecuteCommand(sql))
            return false;
    }
    m_app = std::make_unique<COstrevanApp>();
    m_app->SetDatabasePath(path);
    if (!m_app->InitInstance({}) || !m_app->MainFrame())
        return false;
    m_view = m_app->MainFrame()->View();
    return m_view && m_view->IsInitialUpdateDone();
}

Program::Program() = default;

Program::~Program() {
    m_app.reset();
    CDbConnection::Instance().Reset();
}

bool Program::Command(const char* id) {
    return m_app->MainFrame()->OnCmdMsg(QString::fromLatin1(id));
}

QString Value(const QString& sql) {
    CDbQuery query;
    CDbRecordset record = query.Open(sql);
    return record.IsOpen() && !record.IsEOF() ? record.GetText(0) : QString();
}

int Count(const QString& sql) {
    CDbQuery query;
    CDbRecordset record = query.Open(sql);
    return record.IsOpen() && !record.IsEOF() ? record.GetInt(0) : -1;
}

bool HasFocusIn(const QWidget* widget) {
    const QWidget* focus = QApplication::focusWidget();
    return widget && focus && (focus == widget || widget->isAncestorOf(focus));
}

namespace {
void Activate(QWidget* window) {
    // Synchronous, and also for a window no longer on the screen: the platform's own
    // activation only reaches shown windows, and only later.
    QApplication::setActiveWindow(window);
}
} // namespace

void ClickButton(QDialog& dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(DvFindDlgItem(&dialog, id));
    QVERIFY2(button, qPrintable(QStringLiteral("sin botón %1").arg(id)));
    Activate(&dialog);
    // Through the application, as the window system delivers it: the press gives the
    // button the focus.
    QTest::mouseClick(button, Qt::LeftButton);
}

QWidget* CloseAsOnX(QDialog& dialog, Close how) {
    Activate(&dialog);
    switch (how) {
    case Close::Ok:
        ClickButton(dialog, 1);
        break;
    case Close::Cancel:
        if (DvFindDlgItem(&dialog, 2))
            ClickButton(dialog, 2);
        else
            dialog.close(); // the close box
        break;
    case Close::Escape: {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && dialog.isAncestorOf(focus) ? focus : &dialog, Qt::Key_Escape);
        break;
    }
    }
    return ActivateHidden(dialog);
}

QWidget* ActivateHidden(QDialog& dialog) {
    // Commands the dialog's own controls post (the calendar's Escape) run now.
    for (int i = 0; i < 3 && dialog.isVisible(); ++i)
        QApplication::processEvents();
    if (!dialog.isVisible())
        Activate(&dialog);
    return QApplication::focusWidget();
}

void KeepFocusIn(CCellGrid* list) {
    QVERIFY(list);
    if (!HasFocusIn(list))
        list->setFocus(Qt::OtherFocusReason);
    QVERIFY2(HasFocusIn(list), "la lista no tiene el foco");
}

void Type(QWidget* dialog, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(DvFindDlgItem(dialog, id));
    QVERIFY2(edit, qPrintable(QStringLiteral("sin campo %1").arg(id)));
    if (auto* special = qobject_cast<CEditSpecial*>(edit))
        special->SetDisplayText(text);
    else
        edit->setText(text);
}

void Choose(QWidget* dialog, int id, const QString& text) {
    auto* combo = qobject_cast<CComboList*>(DvFindDlgItem(dialog, id));
    QVERIFY2(combo, qPrintable(QStringLiteral("sin lista %1").arg(id)));
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

void ClickRow(CConfigListGrid* list, const QString& text) {
    const int row = list->FindText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    ClickRowAt(list, row);
}

void ClickRowAt(CCellGrid* list, int row) {
    QVERIFY(row >= 0 && row < list->GetRowCount());
    QRect rect;
    QVERIFY(list->GetCellRect(0, row, &rect) == 0);
    Activate(list->window());
    QTest::mouseClick(list->CellArea(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QCOMPARE(list->GetCurrentRow(), row);
}
} // namespace Flow
