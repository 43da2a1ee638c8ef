#include "OstrevanDoc.h"

#include <QStringList>

QString COstrevanDoc::DocString() {
    return QStringLiteral("Ostrevan\n\nOstrev\n\n\nOstrevan.Document\nOstrev Document");
}

QString COstrevanDoc::DocStringPart(int index) {
    const QStringList parts = DocString().split(QLatin1Char('\n'));
    return index >= 0 && index < parts.size() ? parts[index] : QString();
}
