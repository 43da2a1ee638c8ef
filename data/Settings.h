#pragma once
// The per-user settings store: section CONFIG of the application's QSettings
// (organisation "Local AppWizard-Generated Applications", application "Dravonela").

#include <QString>

namespace DvSettings {
constexpr const char* Organisation = "Local AppWizard-Generated Applications";
constexpr const char* Application = "Dravonela";
constexpr const char* Section = "CONFIG";

// A value of CONFIG; the default when it is absent or not a number.
int ReadInt(const QString& key, int defaultValue);
// A value of CONFIG; the default only when it is absent (an empty text stays empty).
QString ReadText(const QString& key, const QString& defaultValue);
bool Has(const QString& key);
void WriteInt(const QString& key, int value);
void WriteText(const QString& key, const QString& value);

// The values the program reads, with their defaults.
// DB_PASS: the database password, "pradoluminar" when absent. Any text survives: one
// written by hand with a comma or a semicolon is read as it stands, and writing another
// value keeps it (in the store's quoted form when its characters need it).
QString DbPassword();
// TAM_FUENTE (15) and TAM_LINEA (16): roster grid font size and row height.
int TamFuente();
int TamLinea();
// IDIOMA: read once per run and kept; a value outside 0..2 (or none) is replaced by 0,
// and 0 is written back.
int Idioma();
// Tests: forget the kept IDIOMA so the next Idioma() reads the store again.
void ForgetIdioma();
} // namespace DvSettings
