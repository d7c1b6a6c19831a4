// One month of the calendar on the realistic, large and huge households: the
// whole fill with all four kinds of item shown and with the settings a new user
// has, the latter also as the first fill on a file just opened, beside the
// fill's two queries alone in the same run; and the month as the user sees it,
// filled and painted in the shown main window.

#include "household.h"

#include "core/database.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "data/schema.h"
#include "core/globals.h"
#include "events/calendar_handler.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/db/database.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QTemporaryDir *g_dir = nullptr;
// The households' own "today", and the month around it.
const QDate kShown(2026, 12, 10);

QString fileFor(int size)
{
    return g_dir->filePath(QString::fromLatin1(bench::sizeName(size)) + QStringLiteral(".dat"));
}

calendar_handler::CalendarSettings showAll()
{
    calendar_handler::CalendarSettings s;
    s.birthdays = s.diary = s.vaccinesReceived = s.vaccinesExpiring = true;
    return s;
}

bool open(benchmark::State &state)
{
    gWorkspace = std::make_unique<db::Workspace>();
    if (funOpen_DataDB(nullptr, fileFor(int(state.range(0)))))
        return true;
    state.SkipWithError("open failed");
    return false;
}

void fill(benchmark::State &state, const calendar_handler::CalendarSettings &settings)
{
    if (!open(state))
        return;
    const QDate start = calendar_handler::gridStart(kShown), end = start.addDays(41);
    CtCalendar calendar;
    for (auto _ : state) {
        if (!calendar_handler::fillCalendar(&calendar, kShown, start, end, settings)) {
            state.SkipWithError("fill failed");
            break;
        }
    }
    state.counters["items"] = double(gCalendarItems.size());
    subCloseDataDB();
}

// Every kind of item on the grid.
void BM_CalendarFill(benchmark::State &state) { fill(state, showAll()); }

// As a new user has it: the four calendar settings off, events alone.
void BM_CalendarFillDefault(benchmark::State &state) { fill(state, calendar_handler::CalendarSettings()); }

// The first fill after the file is opened, as at start-up: the engine's cache
// of the file's pages is empty (the system's is not).
void BM_CalendarFillFirst(benchmark::State &state)
{
    const QDate start = calendar_handler::gridStart(kShown), end = start.addDays(41);
    CtCalendar calendar;
    for (auto _ : state) {
        state.PauseTiming();
        if (!open(state))
            return;
        state.ResumeTiming();
        if (!calendar_handler::fillCalendar(&calendar, kShown, start, end, calendar_handler::CalendarSettings())) {
            state.SkipWithError("fill failed");
            break;
        }
        state.PauseTiming();
        subCloseDataDB();
        state.ResumeTiming();
    }
    state.counters["items"] = double(gCalendarItems.size());
}

// The month in the main window as the user sees it: the calendar view's
// Refresh (the month filled with the settings a new user has) and the window
// painted, on the warm file (first:0) or as the first fill on a data file just
// opened (first:1; the reopening is not timed).
void BM_CalendarMonthShown(benchmark::State &state)
{
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_SystemDB(nullptr, funGetDBNameSystem()) || !open(state)) {
        state.SkipWithError("open failed");
        return;
    }
    gControls = new frm_controls;
    gMain = new frm_main;
    gMain->resize(1180, 720);
    gMain->show();
    calendar_handler::funCalendarShow(gMain, kShown);
    QCoreApplication::processEvents();
    const bool first = state.range(1) != 0;
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            subCloseDataDB();
            if (!funOpen_DataDB(nullptr, fileFor(int(state.range(0))))) {
                state.SkipWithError("open failed");
                break;
            }
            state.ResumeTiming();
        }
        if (!calendar_handler::funCalendarRefresh(gMain)) {
            state.SkipWithError("refresh failed");
            break;
        }
        gMain->ctCalendar1->repaint(); // painted before the loop goes on, as on the screen
        QCoreApplication::processEvents();
    }
    state.counters["items"] = double(gCalendarItems.size());
    resetGlobals();
}

void BM_CalendarQueriesAlone(benchmark::State &state)
{
    if (!open(state))
        return;
    const QDate start = calendar_handler::gridStart(kShown), end = start.addDays(41);
    const calendar_handler::CalendarQuery queries[2] = {calendar_handler::singleItemsQuery(showAll(), start, end),
                                                        calendar_handler::repeatingItemsQuery(showAll(), start, end)};
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const auto &q : queries) {
            auto rs = gDataDB->openRecordset(q.sql, q.params);
            if (!rs) {
                state.SkipWithError(qPrintable(gDataDB->lastError().description));
                return;
            }
            rows += rs->recordCount();
        }
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
    subCloseDataDB();
}

} // namespace

BENCHMARK(BM_CalendarQueriesAlone)
    ->ArgNames({"size"})
    ->DenseRange(bench::Realistic, bench::Huge)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarFill)
    ->ArgNames({"size"})
    ->DenseRange(bench::Realistic, bench::Huge)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarFillDefault)
    ->ArgNames({"size"})
    ->DenseRange(bench::Realistic, bench::Huge)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarMonthShown)
    ->ArgNames({"size", "first"})
    ->ArgsProduct({{bench::Realistic, bench::Large, bench::Huge}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarFillFirst)
    ->ArgNames({"size"})
    ->DenseRange(bench::Realistic, bench::Huge)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    zbclock::setNow(QDateTime(kShown, QTime(12, 0)));
    // The main window's own file, beside the households'.
    setProgramFolder(dir.path());
    db::DbError err;
    if (!db::createDatabaseFile(funGetDBNameSystem(), db::kSystemFileId, funGetDBPassword(),
                                schema::systemFileStatements(), &err)) {
        std::fprintf(stderr, "could not make the system file: %s\n", qPrintable(err.description));
        return 1;
    }
    for (int size = bench::Realistic; size <= bench::Huge; ++size) {
        QString error;
        if (!bench::makeHousehold(fileFor(size), bench::householdSize(size), &error)) {
            std::fprintf(stderr, "could not make the household: %s\n", qPrintable(error));
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetGlobals();
    return 0;
}
