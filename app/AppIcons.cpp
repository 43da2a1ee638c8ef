#include "AppIcons.h"

#include <QFile>

namespace DvIcons {
QIcon Load(const QString& name) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        const QString path = QStringLiteral(":/icons/%1-%2.png").arg(name).arg(size);
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    return icon;
}

QIcon Programa() {
    return Load(QStringLiteral("dravonela"));
}
} // namespace DvIcons
