#include "Resources.h"

#include <QFile>

namespace DvResources {
QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString ReadText(const QString& path) { return QString::fromUtf8(Read(path)); }
} // namespace DvResources
