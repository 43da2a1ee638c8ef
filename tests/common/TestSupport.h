#pragma once
// Helpers shared by the test programs.

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace DvTest {
// Points the program's settings store at a fresh temporary folder for the rest of the
// test program, so the real user's settings are never read or written.
void IsolateSettings();
// A temporary folder that lives until the test program ends.
QString TempDir();
} // namespace DvTest
