#include "platform/clock.h"

namespace {
QDateTime g_fixed;
}

namespace zbclock {

QDateTime now()
{
    if (g_fixed.isValid())
        return g_fixed;
    QDateTime t = QDateTime::currentDateTime();
    t.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return t;
}

QDate today() { return now().date(); }

void setNow(const QDateTime &fixed) { g_fixed = fixed; }

void reset() { g_fixed = QDateTime(); }

} // namespace zbclock
