// Opening both files, and one representative query of each saved query, on a
// realistic household and on a very large one.

#include "household.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/settings.h"
#include "platform/db/database.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

struct ViewQuery {
    const char *name;
    const char *sql;
    QVariantList params;
};

const std::vector<ViewQuery> &viewQueries()
{
    static const std::vector<ViewQuery> q = {
        {"qry_vaccine",
         "SELECT * FROM qry_vaccine WHERE vaccine_pet_id = ? ORDER BY vaccine_expiration_date DESC, vaccine_name ASC",
         {3}},
        {"qry_listview_picture", "SELECT * FROM qry_listview_picture ORDER BY picture_title ASC", {}},
        {"qry_calendar_single",
         "SELECT * FROM qry_calendar_single WHERE event_date BETWEEN ? AND ? ORDER BY object_id ASC, misc_data ASC, event_date ASC, event_time ASC",
         {"2026-11-29", "2027-01-09"}},
        {"qry_calendar_repeating",
         "SELECT * FROM qry_calendar_repeating WHERE event_date <= ? ORDER BY event_date ASC, event_time ASC",
         {"2027-01-09"}},
        {"qry_reminder_single",
         "SELECT * FROM qry_reminder_single WHERE event_acknowledged_date = ? ORDER BY event_date ASC, event_time ASC",
         {"1900-01-01 00:00:00"}},
        {"qry_reminder_events_repeating",
         "SELECT * FROM qry_reminder_events_repeating ORDER BY event_date, event_time, record_id",
         {}},
        {"qryrptPet", "SELECT * FROM qryrptPet WHERE pet_id = ?", {3}},
        {"qryrptTrip", "SELECT * FROM qryrptTrip WHERE trip_id = ?", {1}},
        {"qryRptContact", "SELECT * FROM qryRptContact ORDER BY contact_name ASC", {}},
        {"qryrptDiary", "SELECT * FROM qryrptDiary WHERE diary_pet_id = ? ORDER BY diary_date DESC", {3}},
        {"qryrptCommand", "SELECT * FROM qryrptCommand WHERE command_pet_id = ?", {3}},
        {"qryrptProperty", "SELECT * FROM qryrptProperty WHERE property_pet_id = ?", {3}},
        {"qryrptVaccine",
         "SELECT * FROM qryrptVaccine WHERE vaccine_pet_id = ? ORDER BY vaccine_expiration_date DESC",
         {3}},
        {"qryrptPictureAlbum",
         "SELECT * FROM qryrptPictureAlbum WHERE picture_filename <> '' ORDER BY picture_date",
         {}},
    };
    return q;
}

void BM_OpenBothFiles(benchmark::State &state)
{
    bench::useBenchFolder(state.range(0) != 0);
    for (auto _ : state) {
        gWorkspace = std::make_unique<db::Workspace>();
        if (!funOpen_SystemDB(nullptr, funGetDBNameSystem()) || !funOpen_DataDB(nullptr, funGetDBNameData())) {
            state.SkipWithError("open failed");
            break;
        }
        subCloseSystemDB();
        subCloseDataDB();
    }
}

void BM_View(benchmark::State &state)
{
    const ViewQuery &v = viewQueries()[size_t(state.range(1))];
    state.SetLabel(v.name);
    bench::useBenchFolder(state.range(0) != 0);
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_DataDB(nullptr, funGetDBNameData())) {
        state.SkipWithError("open failed");
        return;
    }
    int rows = 0;
    for (auto _ : state) {
        auto rs = gDataDB->openRecordset(QString::fromLatin1(v.sql), v.params);
        if (!rs) {
            state.SkipWithError(qPrintable(gDataDB->lastError().description));
            break;
        }
        rows = rs->recordCount();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
    subCloseDataDB();
}

} // namespace

BENCHMARK(BM_OpenBothFiles)->ArgNames({"large"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View)
    ->ArgNames({"large", "view"})
    ->ArgsProduct({{0, 1}, benchmark::CreateDenseRange(0, 13, 1)})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return bench::runBenchmarks(argc, argv);
}
