// Whole-process start-up: a new process of the main program from its exec to
// its main window painted and its event loop idle, then its own exit, on the
// realistic, large and huge households; beside a minimal Qt program (one empty
// QMainWindow, bench_startup_bare) timed the same way.
//
// The program timed is bench_startup_zorbi: the main program's own main() with
// a closer (window_closer.h) that closes its main window once it has painted
// and the loop is idle; closing it runs the program's exit. With the reminder
// program running (this process listens on its socket) start-up makes no check
// of its own; without it, the check runs inside start-up and its window comes
// up with the due reminders, and is closed (as with Esc) once it has painted.
// Each run of the main program follows a run of the bare program, and their
// ratio is reported beside the times. What is left out: the window manager,
// and the time a user takes to read the reminder window.

#include "household.h"

#include "core/reminder_control.h"
#include "platform/program_link.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

QString g_programs; // the folder of the child programs
std::unique_ptr<proglink::Listener> g_reminderProgram;

QString runFolder() { return bench::benchRoot() + QStringLiteral("/run"); }

// The private runtime folder this process (the stand-in's socket) and the
// children (the program's lock) share.
bool makeRunFolder()
{
    const QString run = runFolder();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run));
    return QDir().mkpath(run) && QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A stand-in for the reminder program: it listens on the reminder program's
// socket, which is how the main program finds it running.
bool setReminderProgramRunning(bool running)
{
    if (!running) {
        g_reminderProgram.reset();
        return true;
    }
    if (!g_reminderProgram)
        g_reminderProgram = std::make_unique<proglink::Listener>(funGetReminderTitle());
    return g_reminderProgram->listen();
}

// One run of `program` from its start to its end: its time in seconds, or a
// negative number after marking `state` with the failure.
double runChild(benchmark::State &state, const QString &program, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QElapsedTimer timer;
    timer.start();
    p.start(program, {});
    const bool finished = p.waitForFinished(120000);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    // The stand-in takes its callers' connections between runs, so that
    // they never wait on a full queue.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        state.SkipWithError(
            qPrintable(QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(p.readAllStandardError()))));
        return -1;
    }
    return seconds;
}

QString bareProgram() { return g_programs + QStringLiteral("/bench_startup_bare"); }

// A child's environment: its own settings folder, the runtime folder this
// process shares with it, the program folder of a household and, unless told
// otherwise, the offscreen platform.
QProcessEnvironment childEnvironment(const QString &settings, const QString &programFolder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runFolder());
    if (!programFolder.isEmpty())
        env.insert(QStringLiteral("ZORBI_BENCH_FOLDER"), programFolder);
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// The settings of a household's runs: no "Database" (the program folder's
// Zorbi.dat serves) and no backup prompt at exit.
QString householdSettings(const QString &folder)
{
    const QString settings = folder + QStringLiteral("/settings");
    QSettings store(settings + QStringLiteral("/Zorbi 2003/Zorbi 2003.conf"), QSettings::IniFormat);
    store.setValue(QStringLiteral("Preferences/AutomaticBackup"), QStringLiteral("0"));
    return settings;
}

// Times `program` from its start to its end, in a fresh environment with its
// own settings folder. With `paired`, each run follows a run of the bare
// program (untimed), and the counter vs_bare is the ratio of their totals:
// the two are timed side by side, whatever the machine does meanwhile.
void timeChild(benchmark::State &state, const QString &program, const QString &settings,
               const QString &programFolder = QString(), bool paired = false)
{
    const QProcessEnvironment env = childEnvironment(settings, programFolder);
    double total = 0, bareTotal = 0;
    for (auto _ : state) {
        if (paired) {
            state.PauseTiming();
            QProcessEnvironment bareEnv = env;
            bareEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), bench::benchRoot() + QStringLiteral("/bare"));
            const double bare = runChild(state, bareProgram(), bareEnv);
            state.ResumeTiming();
            if (bare < 0)
                break;
            bareTotal += bare;
        }
        const double seconds = runChild(state, program, env);
        if (seconds < 0)
            break;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    if (paired && bareTotal > 0)
        state.counters["vs_bare"] = total / bareTotal;
}

void BM_BareQtProgram(benchmark::State &state)
{
    if (!makeRunFolder()) {
        state.SkipWithError("no runtime folder");
        return;
    }
    setReminderProgramRunning(false);
    timeChild(state, bareProgram(), bench::benchRoot() + QStringLiteral("/bare"));
}

// Arguments: the household's size; 1 when the reminder program runs.
void BM_ZorbiStartToIdleAndExit(benchmark::State &state)
{
    const int size = int(state.range(0));
    if (!makeRunFolder() || !setReminderProgramRunning(state.range(1) != 0)) {
        state.SkipWithError("the reminder program's socket cannot be made");
        return;
    }
    const QString folder = bench::benchFolder(bench::benchRoot(), size);
    const QString settings = householdSettings(folder); // each size its own
    timeChild(state, g_programs + QStringLiteral("/bench_startup_zorbi"), settings, folder, true);
    state.SetLabel(state.range(1) ? "reminder program running" : "check and its window");
}

// The first "Edit Details" of a session: a fresh process of the main program
// (bench_pet_window_zorbi), started as above with the reminder program
// running, opens the busiest pet once its main window is idle; the time from
// the command to the pet window painted and idle is the child's own figure.
// anchor:1 times instead the pet window's own queries on the fresh
// connection of such a process, read whole.
void BM_FirstPetWindow(benchmark::State &state)
{
    const int size = int(state.range(0));
    if (!makeRunFolder() || !setReminderProgramRunning(true)) {
        state.SkipWithError("the reminder program's socket cannot be made");
        return;
    }
    const QString folder = bench::benchFolder(bench::benchRoot(), size);
    const QString result = bench::benchRoot() + QStringLiteral("/pet_window_ms");
    QProcessEnvironment env = childEnvironment(householdSettings(folder), folder);
    env.insert(QStringLiteral("ZORBI_BENCH_RESULT"), result);
    env.insert(QStringLiteral("ZORBI_BENCH_ANCHOR"), QString::number(state.range(1)));
    for (auto _ : state) {
        QFile::remove(result);
        if (runChild(state, g_programs + QStringLiteral("/bench_pet_window_zorbi"), env) < 0)
            break;
        QFile file(result);
        bool ok = file.open(QIODevice::ReadOnly);
        const double ms = ok ? file.readAll().toDouble(&ok) : 0;
        if (!ok) {
            state.SkipWithError("the pet window did not open");
            break;
        }
        state.SetIterationTime(ms / 1000);
    }
    state.SetLabel(state.range(1) ? "its queries alone" : "the pet window");
}

} // namespace

BENCHMARK(BM_BareQtProgram)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
BENCHMARK(BM_ZorbiStartToIdleAndExit)
    ->ArgNames({"size", "reminder_program"})
    ->ArgsProduct({{bench::Realistic, bench::Large, bench::Huge}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);

BENCHMARK(BM_FirstPetWindow)
    ->ArgNames({"size", "anchor"})
    ->ArgsProduct({{bench::Realistic, bench::Large}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    g_programs = QCoreApplication::applicationDirPath();
    const int rc = bench::runBenchmarks(argc, argv, bench::Huge);
    g_reminderProgram.reset();
    return rc;
}
