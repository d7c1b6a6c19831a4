#pragma once
// The one source of "now", which tests can set.

#include <QDate>
#include <QDateTime>

namespace zbclock {
QDateTime now(); // local time, whole seconds
QDate today();
void setNow(const QDateTime &fixed); // a null QDateTime returns to the real clock
void reset();
} // namespace zbclock
