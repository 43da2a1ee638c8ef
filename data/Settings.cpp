#include "Settings.h"

#include <QSettings>

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
    ConfigGroup config;
    config->setValue(key, value);
    config->sync();
}

void WriteText(const QString& key, const QString& value) {
    ConfigGroup config;
    config->setValue(key, value);
    config->sync();
}

QString DbPassword() {
    return ReadText(QStringLiteral("DB_PASS"), QStringLiteral("pradoluminar"));
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
