// The combo list: item data, filling from a query, lining up tab columns.

#include "ComboList.h"
#include "DataTestUtil.h"
#include "DbQuery.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>

using DataTest::RecordingConnection;

class TestComboList : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void itemData();
    void fillFromQuery();
    void fillFromEmptyResultSelectsNothing();
    void fillFailureKeepsItemsAdded();
    void alignTabColumns();

private:
    RecordingConnection m_c;
};

void TestComboList::initTestCase() {
    DvTest::IsolateSettings();
    QVERIFY(m_c->OpenFile(DataTest::NewDatabase(), ""));
    CDbQuery q(*m_c);
    QVERIFY(q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (3, 'UCI'), "
                             "(5, 'Urgencias'), (9, ' Pediatría ')"));
}

void TestComboList::itemData() {
    CComboList combo;
    QCOMPARE(combo.GetSelectedItemData(), -1);
    QCOMPARE(combo.AddItem("a", 10), 0);
    QCOMPARE(combo.AddItem("b", 20), 1);
    QCOMPARE(combo.AddItem("c", 20), 2);
    combo.setCurrentIndex(0);
    QCOMPARE(combo.SelectByItemData(20), 1); // the first one carrying it
    QCOMPARE(combo.GetSelectedItemData(), 20);
    QCOMPARE(combo.SelectByItemData(99), -1);
    QCOMPARE(combo.currentIndex(), 1); // unchanged
    combo.Disable();
    QVERIFY(!combo.isEnabled());
    combo.Enable();
    QVERIFY(combo.isEnabled());
}

void TestComboList::fillFromQuery() {
    CComboList combo;
    QVERIFY(
        combo.FillFromQuery(*m_c, "SELECT * FROM FUNCIONES ORDER BY ID", "NOMBRE", "ID", 5, true));
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(2), QString("Pediatría"));
    QCOMPARE(combo.GetSelectedItemData(), 5);
    // Preselection -1 selects the first item; reset empties first.
    QVERIFY(
        combo.FillFromQuery(*m_c, "SELECT * FROM FUNCIONES ORDER BY ID", "NOMBRE", "ID", -1, true));
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.currentIndex(), 0);
    // Without reset, an item added before stays and can be the preselection.
    QComboBox plain;
    CComboList::AddItem(plain, "Todos", 0);
    QVERIFY(CComboList::FillFromQuery(plain, *m_c, "SELECT * FROM FUNCIONES", "NOMBRE", "ID", 0,
                                      false));
    QCOMPARE(plain.count(), 4);
    QCOMPARE(plain.currentText(), QString("Todos"));
    QCOMPARE(m_c.Boxes(), 0);
}

void TestComboList::fillFromEmptyResultSelectsNothing() {
    CComboList combo;
    combo.AddItem("viejo", 1);
    QVERIFY(
        combo.FillFromQuery(*m_c, "SELECT * FROM FUNCIONES WHERE ID < 0", "NOMBRE", "ID", 3, true));
    QCOMPARE(combo.count(), 0);
    QCOMPARE(combo.currentIndex(), -1);
    QCOMPARE(combo.GetSelectedItemData(), -1);
}

void TestComboList::fillFailureKeepsItemsAdded() {
    m_c.Clear();
    CComboList combo;
    combo.AddItem("Cualquiera", -1);
    QVERIFY(!combo.FillFromQuery(*m_c, "SELECT * FROM NO_HAY", "NOMBRE", "ID", 3, false));
    QCOMPARE(combo.count(), 1);
    QCOMPARE(m_c.Boxes(), 1);
    QVERIFY(!combo.FillFromQuery(*m_c, "SELECT * FROM FUNCIONES", "NOMBRES", "ID", 3, false));
    QCOMPARE(combo.count(), 1);
    QCOMPARE(m_c.Boxes(), 2);
    QVERIFY(m_c->IsOpen());
}

void TestComboList::alignTabColumns() {
    CComboList combo;
    combo.AddItem("Ana\t08:00", 1);
    combo.AddItem("Bartolomé Ruiz\t15:00", 2);
    combo.AddItem("Sin hora", 3);
    combo.AlignTabColumns();
    QCOMPARE(combo.itemText(0), QString("Ana") + QString(15, ' ') + "08:00");
    QCOMPARE(combo.itemText(1), QString("Bartolomé Ruiz") + QString(4, ' ') + "15:00");
    QCOMPARE(combo.itemText(0).indexOf("08:00"), combo.itemText(1).indexOf("15:00"));
    QCOMPARE(combo.itemText(2), QString("Sin hora"));
    QCOMPARE(combo.itemData(1).toInt(), 2);
    // The drop-down list is at least as wide as the widest item.
    QVERIFY(combo.view()->minimumWidth() >=
            combo.fontMetrics().horizontalAdvance(combo.itemText(1)));
    // No tab anywhere: nothing changes.
    QCOMPARE(CComboList::AlignedTexts({"a", "b"}), QStringList({"a", "b"}));
}

QTEST_MAIN(TestComboList)
#include "test_combolist.moc"
