// The pet panel and the list bar's pet entries, filled on a realistic
// household and on a very large one (the list bar also on the huge one); and
// opening the pet window.

#include "apps/routines.h"
#include "core/codes.h"
#include "household.h"

#include "core/database.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/menu.h"
#include "core/settings.h"
#include "platform/controls/vb_list_view.h"
#include "platform/db/database.h"
#include "printouts/report_handler.h"
#include "platform/controls/data_control.h"
#include "records/frm_pet_detail.h"
#include "records/pet_handler.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// Opens the household's files and makes the main window, as start-up does.
bool start(benchmark::State &state)
{
    bench::useBenchFolder(int(state.range(0)));
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_SystemDB(nullptr, funGetDBNameSystem()) || !funOpen_DataDB(nullptr, funGetDBNameData())) {
        state.SkipWithError("open failed");
        return false;
    }
    report_handler::funReportInitialize();
    gControls = new frm_controls;
    gMain = new frm_main;
    gMain->resize(1000, 700);
    gMain->show();
    return true;
}

// The pet panel of the busiest pet, in the list view's report mode.
void BM_PetPanel(benchmark::State &state)
{
    if (!start(state))
        return;
    gMain->ListView_Pet->setView(3);
    const long pet = bench::busiestPet();
    for (auto _ : state) {
        funPetHandler(gMain, ActionShow, pet, QString(), 1);
        QCoreApplication::processEvents(); // the list is drawn as the user sees it
    }
    state.counters["pet"] = double(pet);
    state.counters["items"] = gMain->ListView_Pet->ItemCount();
    resetGlobals();
}

// The list bar rebuilt with every pet, as after adding or deleting one.
void BM_ListBar(benchmark::State &state)
{
    if (!start(state))
        return;
    for (auto _ : state) {
        subRefreshListBar();
        QCoreApplication::processEvents();
    }
    state.counters["entries"] = double(gListBarCargo.size() - 1);
    resetGlobals();
}

// Opening the pet window as "Edit Details" does: made, bound to the pet's row,
// its four lists of rows and its pick lists filled, and shown; the busiest pet
// of each household (on the large one 1,000 diary entries, 200 vaccinations).
void BM_PetWindow(benchmark::State &state)
{
    if (!start(state))
        return;
    const long pet = bench::busiestPet();
    int diary = 0, vaccinations = 0;
    for (auto _ : state) {
        std::unique_ptr<frm_pet_detail> w(pet_handler::funPetEditWindow(gMain, pet, 1));
        if (!w) {
            state.SkipWithError("the pet window did not open");
            break;
        }
        w->show();
        QCoreApplication::processEvents();
        diary = w->Datatbl_diary->recordCount();
        vaccinations = w->Datatbl_vaccine->recordCount();
        state.PauseTiming();
        w->DataDetail->cancelUpdate();
        w->close();
        w.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["pet"] = double(pet);
    state.counters["diary"] = diary;
    state.counters["vaccinations"] = vaccinations;
    resetGlobals();
}

} // namespace

BENCHMARK(BM_PetWindow)->ArgNames({"large"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PetPanel)->ArgNames({"large"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListBar)->ArgNames({"size"})->DenseRange(bench::Realistic, bench::Huge)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installProgramRoutines();
    return bench::runBenchmarks(argc, argv, bench::Huge);
}
