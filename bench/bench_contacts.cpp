// The address book shown from the list bar, on a realistic household and on
// a very large one (2,000 people), in each view mode and sorted by a column.

#include "apps/routines.h"
#include "core/codes.h"
#include "household.h"

#include "core/database.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// Opens the household's files and makes the main window, with the address
// book's icons, as start-up does.
bool start(benchmark::State &state)
{
    bench::useBenchFolder(state.range(0) != 0);
    gWorkspace = std::make_unique<db::Workspace>();
    if (!funOpen_SystemDB(nullptr, funGetDBNameSystem()) || !funOpen_DataDB(nullptr, funGetDBNameData())) {
        state.SkipWithError("open failed");
        return false;
    }
    gControls = new frm_controls;
    gMain = new frm_main;
    gMain->ImageListContact_small->insert(1, gControls->ctImageMain.icon(0, 2));
    gMain->ImageListContact_large->insert(1, gControls->ctImageMain.icon(0, 3));
    gMain->resize(1000, 700);
    gMain->show();
    return true;
}

// A click on "Address Book": the view, its toolbar and the fill, drawn.
// range(1): the view mode; range(2): 1 when sorted by the phone column first.
void BM_AddressBook(benchmark::State &state)
{
    if (!start(state))
        return;
    gListviewAddress = int(state.range(1));
    if (state.range(2)) {
        gMain->ListView_ColumnClick(gMain->ListView_Contact, 2);
        gMain->ListView_ColumnClick(gMain->ListView_Contact, 2);
    }
    for (auto _ : state) {
        funContactHandler(gMain, ActionShow, 0, QString());
        QCoreApplication::processEvents(); // the list is drawn as the user sees it
    }
    state.counters["people"] = gMain->ListView_Contact->ItemCount();
    resetGlobals();
}

} // namespace

BENCHMARK(BM_AddressBook)
    ->ArgNames({"large", "view", "sorted"})
    ->Args({0, 3, 0})
    ->Args({1, 0, 0})
    ->Args({1, 1, 0})
    ->Args({1, 3, 0})
    ->Args({1, 3, 1})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installProgramRoutines();
    return bench::runBenchmarks(argc, argv);
}
