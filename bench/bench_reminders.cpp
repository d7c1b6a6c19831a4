// One reminder check on the realistic, large and huge households: without the
// reminder window, as the main program runs it on its open data file and as the
// reminder program runs it, opening and closing both files around it; and the
// main program's whole check, its window made, filled, shown and painted, then
// closed (as with Esc) by the closer.

#include "household.h"
#include "window_closer.h"

#include "core/database.h"
#include "core/globals.h"
#include "events/reminders.h"
#include "platform/clock.h"
#include "platform/db/database.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void useFolder(int size)
{
    bench::useBenchFolder(size);
    // The households are made around this day.
    zbclock::setNow(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
}

// The check on the open data file.
void BM_Check(benchmark::State &state)
{
    useFolder(int(state.range(0)));
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_DataDB(nullptr, funGetDBNameData())) {
        state.SkipWithError("open failed");
        return;
    }
    db::DbError error;
    for (auto _ : state) {
        if (!reminders::funCollectReminders(*gDataDB, zbclock::now(), &error)) {
            state.SkipWithError(qPrintable(error.description));
            break;
        }
    }
    state.counters["due"] = double(gReminders.size() - 1);
    subCloseDataDB();
}

// The reminder program's pass: both files opened, the check, both closed.
void BM_CheckOpeningTheFiles(benchmark::State &state)
{
    useFolder(int(state.range(0)));
    db::DbError error;
    for (auto _ : state) {
        gWorkspace = std::make_unique<db::Workspace>();
        if (!funOpen_DataDB(nullptr, funGetDBNameData()) || !funOpen_SystemDB(nullptr, funGetDBNameSystem())) {
            state.SkipWithError("open failed");
            break;
        }
        if (!reminders::funCollectReminders(*gDataDB, zbclock::now(), &error)) {
            state.SkipWithError(qPrintable(error.description));
            break;
        }
        subCloseDataDB();
        subCloseSystemDB();
        gWorkspace.reset();
    }
    state.counters["due"] = double(gReminders.size() - 1);
}

// The main program's check on its open files, with the window of what is due.
void BM_CheckWithWindow(benchmark::State &state)
{
    useFolder(int(state.range(0)));
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_DataDB(nullptr, funGetDBNameData()) || !funOpen_SystemDB(nullptr, funGetDBNameSystem())) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        bench::WindowCloser closer(bench::WindowCloser::ModalOnly);
        if (!reminders::funCheckReminders(false, false) || closer.modalsClosed() != 1) {
            state.SkipWithError("the check showed no window");
            break;
        }
    }
    state.counters["due"] = double(gReminders.size() - 1);
    subCloseDataDB();
    subCloseSystemDB();
    gWorkspace.reset();
}

} // namespace

BENCHMARK(BM_Check)->ArgNames({"size"})->DenseRange(bench::Realistic, bench::Huge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckOpeningTheFiles)
    ->ArgNames({"size"})
    ->DenseRange(bench::Realistic, bench::Huge)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckWithWindow)
    ->ArgNames({"size"})
    ->DenseRange(bench::Realistic, bench::Huge)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char **argv)
{
    // The offscreen platform says at every window that it cannot raise it.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            qt_message_output(type, context, message);
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runBenchmarks(argc, argv, bench::Huge);
}
