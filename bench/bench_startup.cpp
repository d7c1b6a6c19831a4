// Whole-process start-up: a new process that opens both files, loads the main
// window, shows it and exits, on a realistic and on a large household, beside a
// bare Qt program that shows one empty main window and exits.
//
// The parent times each child process from its start to its end. The child is
// this same executable run with "--child zorbi FOLDER" or "--child bare": it goes
// through the program's own start-up and exit procedures, so what is timed is
// what a user waits for, less the window manager and less the reminder check.

#include "apps/routines.h"
#include "household.h"

#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

QString g_self;

QString runFolder() { return bench::benchRoot() + QStringLiteral("/run"); }

// The child's side: start, show, and leave as soon as the window is up.
int runChild(int argc, char **argv, const QString &what, const QString &folder)
{
    QApplication app(argc, argv);
    installProgramRoutines();
    QApplication::setApplicationName(QStringLiteral("Zorbi 2003"));
    QApplication::setOrganizationName(QStringLiteral("Zorbi 2003"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (what == QLatin1String("bare")) {
        QMainWindow w;
        w.show();
        QTimer::singleShot(0, &app, &QApplication::quit);
        return app.exec();
    }
    setProgramFolder(folder);
    setCommandArguments({});
    // As on most desktops, the reminder program is running, so start-up makes no
    // check of its own (a check with something due waits for the user; the
    // check alone is timed by bench_reminders).
    subjectRoutines().remindersRunning = [] { return true; };
    if (Main() >= 0)
        return 1; // start-up failed: the parent reports it
    // The first pass of the event loop paints the shown window; then exit the
    // way the program does.
    QTimer::singleShot(0, &app, [] {
        subExitProcedure();
        resetGlobals();
        QApplication::quit();
    });
    return app.exec();
}

void runChildProcess(benchmark::State &state, const QStringList &arguments, const QString &settings)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runFolder());
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto _ : state) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(g_self, arguments);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            state.SkipWithError(qPrintable(QStringLiteral("the child failed: ") + QString::fromLocal8Bit(p.readAllStandardError())));
            break;
        }
    }
}

void BM_BareQtProgram(benchmark::State &state)
{
    runChildProcess(state, {QStringLiteral("--child"), QStringLiteral("bare")}, bench::benchRoot() + QStringLiteral("/bare"));
}

void BM_ZorbiStartToShownAndExit(benchmark::State &state)
{
    if (!QDir().mkpath(runFolder()) ||
        !QFile::setPermissions(runFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        state.SkipWithError("no runtime folder");
        return;
    }
    const QString folder = bench::benchFolder(bench::benchRoot(), state.range(0) != 0);
    runChildProcess(state, {QStringLiteral("--child"), QStringLiteral("zorbi"), folder},
                    folder + QStringLiteral("/settings")); // no "Database" stored: the folder's Zorbi.dat
}

} // namespace

BENCHMARK(BM_BareQtProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ZorbiStartToShownAndExit)
    ->ArgNames({"large"})
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

int main(int argc, char **argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]), argc >= 4 ? QString::fromLocal8Bit(argv[3]) : QString());
    QCoreApplication app(argc, argv);
    g_self = QCoreApplication::applicationFilePath();
    return bench::runBenchmarks(argc, argv);
}
