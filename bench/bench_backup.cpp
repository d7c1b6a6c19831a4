// The whole backup of the large household's data file (the reminder program
// not running, no dialog asked) against the engine's bare compaction of the
// same file, which is the least any backup must cost.

#include "household.h"

#include "core/backup.h"
#include "core/database.h"
#include "core/globals.h"
#include "platform/db/database.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

QString target() { return bench::benchFolder(bench::benchRoot(), true) + QStringLiteral("/Backup.dat"); }

void BM_WholeBackup(benchmark::State &state)
{
    bench::useBenchFolder(true);
    ui::ScriptedDialogs boxes; // the result message is recorded, not shown
    ui::ScopedDialogs scope(&boxes);
    gWorkspace = std::make_unique<db::Workspace>();
    gSystemDBPath = funGetDBNameSystem();
    if (!funOpen_SystemDB(nullptr, gSystemDBPath) || !funOpen_DataDB(nullptr, funGetDBNameData())) {
        state.SkipWithError("open failed");
        return;
    }
    QFile::remove(target());
    for (auto _ : state) {
        if (!backup::funBackupTo(nullptr, target())) {
            state.SkipWithError(qPrintable(boxes.last(ui::ScriptedDialogs::Message)->text));
            break;
        }
        boxes.clear();
    }
    state.counters["MB"] = double(QFileInfo(target()).size()) / (1024 * 1024);
    subCloseDataDB();
    subCloseSystemDB();
    QFile::remove(target());
}

void BM_BareVacuumInto(benchmark::State &state)
{
    bench::useBenchFolder(true);
    db::DbError err;
    auto source = db::Workspace().openDatabase(funGetDBNameData(), false, false, funDBConnect(), &err);
    if (!source) {
        state.SkipWithError(qPrintable(err.description));
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target());
        state.ResumeTiming();
        if (!source->compactTo(target())) {
            state.SkipWithError(qPrintable(source->lastError().description));
            break;
        }
    }
    source->close();
    QFile::remove(target());
}

} // namespace

BENCHMARK(BM_BareVacuumInto)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WholeBackup)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char **argv)
{
    QApplication app(argc, argv); // the backup closes windows, so it needs the widgets
    return bench::runBenchmarks(argc, argv);
}
