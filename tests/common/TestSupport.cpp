#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

namespace DvTest {
namespace {
QTemporaryDir& Root() {
    static QTemporaryDir dir;
    return dir;
}
} // namespace

QString TempDir() { return Root().path(); }

void IsolateSettings() {
    const QString path = Root().path() + "/settings";
    QDir().mkpath(path);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}
} // namespace DvTest
