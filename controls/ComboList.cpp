#include "ComboList.h"

#include "DbConnection.h"
#include "DbQuery.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QStyle>

CComboList::CComboList(QWidget* parent) : QComboBox(parent) {}

int CComboList::AddItem(const QString& text, int data) {
    return AddItem(*this, text, data);
}

int CComboList::SelectByItemData(int data) {
    return SelectByItemData(*this, data);
}

int CComboList::GetSelectedItemData() const {
    return GetSelectedItemData(*this);
}

bool CComboList::FillFromQuery(const QString& sql, const QString& textColumn,
                               const QString& idColumn, int preselectedId, bool reset) {
    return FillFromQuery(*this, CDbConnection::Instance(), sql, textColumn, idColumn, preselectedId,
                         reset);
}

bool CComboList::FillFromQuery(CDbConnection& connection, const QString& sql,
                               const QString& textColumn, const QString& idColumn,
                               int preselectedId, bool reset) {
    return FillFromQuery(*this, connection, sql, textColumn, idColumn, preselectedId, reset);
}

void CComboList::AlignTabColumns() {
    AlignTabColumns(*this);
}

int CComboList::AddItem(QComboBox& combo, const QString& text, int data) {
    const int before = combo.count();
    combo.addItem(text, data);
    if (combo.count() == before)
        return -1;
    // A sorted combo may have placed the item anywhere: find it by text and data.
    for (int i = combo.count() - 1; i >= 0; --i) {
        if (combo.itemText(i) == text && combo.itemData(i).toInt() == data)
            return i;
    }
    return combo.count() - 1;
}

int CComboList::SelectByItemData(QComboBox& combo, int data) {
    for (int i = 0; i < combo.count(); ++i) {
        const QVariant value = combo.itemData(i);
        if (value.isValid() && value.toInt() == data) {
            combo.setCurrentIndex(i);
            return i;
        }
    }
    return -1;
}

int CComboList::GetSelectedItemData(const QComboBox& combo) {
    const int index = combo.currentIndex();
    if (index < 0)
        return -1;
    const QVariant value = combo.itemData(index);
    return value.isValid() ? value.toInt() : 0;
}

bool CComboList::FillFromQuery(QComboBox& combo, CDbConnection& connection, const QString& sql,
                               const QString& textColumn, const QString& idColumn,
                               int preselectedId, bool reset) {
    if (reset)
        combo.clear();
    CDbQuery query(connection);
    CDbRecordset rs = query.Open(sql);
    if (!rs.IsOpen())
        return false; // reported by the data layer
    const int textIndex = rs.ColumnIndex(textColumn);
    const int idIndex = rs.ColumnIndex(idColumn);
    if (textIndex < 0 || idIndex < 0) {
        // Reads by name report the missing column.
        rs.GetText(textColumn);
        rs.GetInt(idColumn);
        return false;
    }
    const bool noRow = rs.IsEOF();
    while (!rs.IsEOF()) {
        AddItem(combo, rs.GetText(textIndex), rs.GetInt(idIndex));
        rs.MoveNext();
    }
    // A failure while reading the rows closes the result: the items so far stay.
    const bool failed = !rs.IsOpen();
    rs.Close();
    if (failed)
        return false;
    AlignTabColumns(combo);
    if (noRow || preselectedId < 0)
        combo.setCurrentIndex(combo.count() > 0 ? 0 : -1);
    else
        SelectByItemData(combo, preselectedId);
    return true;
}

QStringList CComboList::AlignedTexts(const QStringList& texts) {
    int tabColumn = 0;
    for (const QString& text : texts)
        tabColumn = qMax(tabColumn, int(text.indexOf(QLatin1Char('\t'))));
    if (tabColumn <= 0)
        return texts;
    QStringList aligned;
    aligned.reserve(texts.size());
    for (const QString& text : texts) {
        const int tab = text.indexOf(QLatin1Char('\t'));
        if (tab < 0) {
            aligned.append(text);
            continue;
        }
        aligned.append(text.left(tab) + QString(tabColumn - tab + 4, QLatin1Char(' ')) +
                       text.mid(tab + 1));
    }
    return aligned;
}

void CComboList::AlignTabColumns(QComboBox& combo) {
    QStringList texts;
    texts.reserve(combo.count());
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    QVariantList data;
    for (int i = 0; i < combo.count(); ++i)
        data.append(combo.itemData(i));
    const QStringList aligned = AlignedTexts(texts);
    // Only the text changes: each item keeps its data. A sorted combo may move an item
    // when its text changes, so each item is found again by its old text and data.
    for (int k = 0; k < aligned.size(); ++k) {
        if (aligned[k] == texts[k])
            continue;
        for (int j = 0; j < combo.count(); ++j) {
            if (combo.itemText(j) == texts[k] && combo.itemData(j) == data[k]) {
                combo.setItemText(j, aligned[k]);
                break;
            }
        }
    }
    // The drop-down list is as wide as the widest item.
    const QFontMetrics metrics(combo.font());
    int widest = 0;
    for (int i = 0; i < combo.count(); ++i)
        widest = qMax(widest, metrics.horizontalAdvance(combo.itemText(i)));
    if (widest > 0) {
        const int margins = 2 * combo.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                            combo.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12;
        combo.view()->setMinimumWidth(widest + margins);
    }
}
