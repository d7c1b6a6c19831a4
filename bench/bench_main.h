#pragma once
// The main() of a benchmark over the two generated households.

#include "household.h"

#include "core/globals.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace bench {

// Makes both households in a temporary folder (whose path goes into `root`),
// keeps the settings there too, and runs the registered benchmarks.
inline int runOnHouseholds(int argc, char **argv, QString &root)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    root = dir.path();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    if (!makeProgramFolders(root))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetGlobals();
    return 0;
}

} // namespace bench
