// One reminder check on a realistic and on a very large household, without the
// reminder window: as the main program runs it on its open data file, and as
// the reminder program runs it, opening and closing both files around it.

#include "household.h"

#include "core/database.h"
#include "core/globals.h"
#include "events/reminders.h"
#include "platform/clock.h"
#include "platform/db/database.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

void useFolder(int large)
{
    bench::useBenchFolder(large != 0);
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

} // namespace

BENCHMARK(BM_Check)->ArgNames({"large"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckOpeningTheFiles)->ArgNames({"large"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return bench::runBenchmarks(argc, argv);
}
