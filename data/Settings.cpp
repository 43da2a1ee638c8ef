#include "Settings.h"

#include <QFile>
#include <QSettings>
#include <QStringList>

namespace {
// The settings of CONFIG, opened on the user's store of this program.
class ConfigGroup {
public:
    ConfigGroup()
        : m_settings(QString::fromLatin1(DvSettings::Organisation),
                     QString::fromLatin1(DvSettings::Application)) {
        m_settings.beginGroup(QString::fromLatin1(DvSettings::Section));
    }
    QSettings& operator*() { return m_settings; }
    QSettings* operator->() { return &m_settings; }

private:
    QSettings m_settings;
};

int g_idioma = -1; // -1: not read yet in this run

const QString kDbPass = QStringLiteral("DB_PASS");

// The text after "KEY=" on the key's line of section CONFIG of the settings file, as
// the user wrote it (blanks around it dropped); false when the file has no such line.
bool RawValue(const QString& fileName, const QString& key, QString& value) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const QString section = QString::fromLatin1(DvSettings::Section);
    bool inSection = false;
    bool found = false;
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            inSection = trimmed.mid(1, trimmed.size() - 2).trimmed() == section;
            continue;
        }
        const int equals = trimmed.indexOf(QLatin1Char('='));
        if (!inSection || equals <= 0 || trimmed.left(equals).trimmed() != key)
            continue;
        value = trimmed.mid(equals + 1).trimmed(); // the last line wins, as for the store
        found = true;
    }
    return found;
}

// The settings file's syntax reads an unquoted comma as a list separator and a
// semicolon as the start of a comment, so a value written by hand as "a,b" or "a;b"
// would come back as something else. Such a value is taken as it stands; a quoted one
// is in the store's own escaped form, and every other one reads the same either way.
bool TakenAsWritten(const QString& raw) {
    return !raw.startsWith(QLatin1Char('"')) &&
           (raw.contains(QLatin1Char(',')) || raw.contains(QLatin1Char(';')));
}

// Writes one value. Writing rewrites the whole file from what the store understood of
// it, so the password goes back as the text it is (quoted where its characters need
// it), never as the list or the cut text the store would otherwise put back.
void Write(const QString& key, const QVariant& value) {
    const bool keepPassword = key != kDbPass && DvSettings::Has(kDbPass);
    const QString password = keepPassword ? DvSettings::DbPassword() : QString();
    ConfigGroup config;
    config->setValue(key, value);
    if (keepPassword)
        config->setValue(kDbPass, password);
    config->sync();
}
} // namespace

namespace DvSettings {
int ReadInt(const QString& key, int defaultValue) {
    ConfigGroup config;
    const QVariant value = config->value(key);
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

QString ReadText(const QString& key, const QString& defaultValue) {
    ConfigGroup config;
    if (!config->contains(key))
        return defaultValue;
    return config->value(key).toString();
}

bool Has(const QString& key) {
    ConfigGroup config;
    return config->contains(key);
}

void WriteInt(const QString& key, int value) {
    Write(key, value);
}

void WriteText(const QString& key, const QString& value) {
    Write(key, value);
}

QString DbPassword() {
    ConfigGroup config;
    if (!config->contains(kDbPass))
        return QStringLiteral("pradoluminar");
    QString raw;
    if (RawValue(config->fileName(), kDbPass, raw) && TakenAsWritten(raw))
        return raw;
    return config->value(kDbPass).toString();
}

int TamFuente() {
    return ReadInt(QStringLiteral("TAM_FUENTE"), 15);
}

int TamLinea() {
    return ReadInt(QStringLiteral("TAM_LINEA"), 16);
}

int Idioma() {
    if (g_idioma >= 0)
        return g_idioma;
    const int value = ReadInt(QStringLiteral("IDIOMA"), -1);
    if (value >= 0 && value < 3) {
        g_idioma = value;
    } else {
        g_idioma = 0;
        WriteInt(QStringLiteral("IDIOMA"), 0);
    }
    return g_idioma;
}

void ForgetIdioma() {
    g_idioma = -1;
}
} // namespace DvSettings
