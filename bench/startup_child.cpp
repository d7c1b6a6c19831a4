// Linked with the main program's own main() into bench_startup_zorbi, the copy
// of the program that bench_startup times. When the application object is made
// it points the program at the benchmark's program folder (ZORBI_BENCH_FOLDER),
// sets the clock at the day the households were made around, and sets up the
// closer that ends the program once its window is up and idle.

#include "window_closer.h"

#include "core/globals.h"
#include "platform/clock.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {
void setUpBenchRun()
{
    setProgramFolder(qEnvironmentVariable("ZORBI_BENCH_FOLDER"));
    zbclock::setNow(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    new bench::WindowCloser(bench::WindowCloser::ModalThenMainWindow, qApp);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(setUpBenchRun)
