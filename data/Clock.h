#pragma once
// The program's clock. Everything that needs "today" asks here, so tests can fix it.

#include <QDate>
#include <QDateTime>

namespace DvClock {
QDateTime Now();
QDate Today();
// Tests: freeze the clock at a moment; ClearFixed returns to the system clock.
void SetFixed(const QDateTime& moment);
void ClearFixed();
} // namespace DvClock
