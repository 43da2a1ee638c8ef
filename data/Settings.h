#pragma once
// The per-user settings store: section CONFIG of the application's QSettings
// (organisation "Local AppWizard-Generated Applications", application "Dravonela").

#include <QString>

namespace DvSettings {
constexpr const char* Organisation = "Local AppWizard-Generated Applications";
constexpr const char* Application = "Dravonela";
constexpr const char* Section = "CONFIG";

int ReadInt(const QString& key, int defaultValue);
QString ReadText(const QString& key, const QString& defaultValue);
bool Has(const QString& key);
void WriteInt(const QString& key, int value);
void WriteText(const QString& key, const QString& value);
} // namespace DvSettings
