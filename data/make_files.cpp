// zorbi_make_files <program folder>
//
// Writes the two database files the program needs beside its executables:
// the system file Zorbi.sys, made afresh on every build so that it always
// matches the schema, and an empty data file Zorbi.dat, made only when there is
// none, because the one in the folder may already hold someone's pets.

#include "core/database.h"
#include "data/schema.h"
#include "platform/db/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QString g_error;

bool fail(const QString &message)
{
    g_error = message;
    return false;
}

// A journal or shared-memory file left behind by an earlier file of the same
// name would be read as part of the new file, so it has to go first.
bool removeCompanions(const QString &path)
{
    for (const char *suffix : {"-wal", "-shm", "-journal"}) {
        const QString f = path + QLatin1String(suffix);
        if (QFileInfo::exists(f) && !QFile::remove(f))
            return fail(QStringLiteral("cannot remove %1").arg(QDir::toNativeSeparators(f)));
    }
    return true;
}

// Makes a complete file under a temporary name in the same folder, so that the
// real name only ever names a finished file.
using Maker = bool (*)(const QString &path, const QString &password, db::DbError *error);

bool makeTemporary(const QString &target, Maker make, QString *temporary)
{
    const QString tmp = QStringLiteral("%1.%2.tmp").arg(target).arg(QCoreApplication::applicationPid());
    if (QFileInfo::exists(tmp) && !QFile::remove(tmp))
        return fail(QStringLiteral("cannot remove %1").arg(QDir::toNativeSeparators(tmp)));
    if (!removeCompanions(tmp))
        return false;
    db::DbError err;
    if (!make(tmp, funGetDBPassword(), &err)) {
        QFile::remove(tmp);
        removeCompanions(tmp);
        return fail(QStringLiteral("cannot create %1: error %2: %3")
                        .arg(QDir::toNativeSeparators(target))
                        .arg(err.number)
                        .arg(err.description));
    }
    // Everything must be in the main file before it is renamed.
    const QFileInfo wal(tmp + QLatin1String("-wal"));
    if (wal.exists() && wal.size() > 0) {
        QFile::remove(tmp);
        removeCompanions(tmp);
        return fail(
            QStringLiteral("cannot create %1: its journal was not written back").arg(QDir::toNativeSeparators(target)));
    }
    if (!removeCompanions(tmp))
        return false;
    *temporary = tmp;
    return true;
}

bool writeSystemFile(const QString &folder)
{
    const QString target = folder + QStringLiteral("/Zorbi.sys");
    QString tmp;
    if (!makeTemporary(target, schema::makeSystemFile, &tmp))
        return false;
    if (!removeCompanions(target)) {
        QFile::remove(tmp);
        return false;
    }
    // rename() replaces the old file in one step.
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(tmp);
        return fail(QStringLiteral("cannot replace %1: %2").arg(QDir::toNativeSeparators(target), why));
    }
    std::printf("zorbi_make_files: wrote %s\n", qPrintable(QDir::toNativeSeparators(target)));
    return true;
}

bool writeDataFile(const QString &folder, Maker make)
{
    const QString target = folder + QStringLiteral("/Zorbi.dat");
    if (QFileInfo::exists(target)) {
        std::printf("zorbi_make_files: kept %s\n", qPrintable(QDir::toNativeSeparators(target)));
        return true;
    }
    QString tmp;
    if (!makeTemporary(target, make, &tmp))
        return false;
    if (!removeCompanions(target)) {
        QFile::remove(tmp);
        return false;
    }
    // QFile::rename never replaces an existing file: should one have appeared
    // meanwhile, it is kept.
    if (!QFile::rename(tmp, target)) {
        QFile::remove(tmp);
        if (QFileInfo::exists(target)) {
            std::printf("zorbi_make_files: kept %s\n", qPrintable(QDir::toNativeSeparators(target)));
            return true;
        }
        return fail(QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(target)));
    }
    std::printf("zorbi_make_files: wrote %s\n", qPrintable(QDir::toNativeSeparators(target)));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    // --for-all-users: the files of an install that no user may write, whose
    // empty data file each user is given a copy of.
    const bool forAllUsers = args.removeAll(QStringLiteral("--for-all-users")) > 0;
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zorbi_make_files [--for-all-users] <program folder>\n");
        return 2;
    }
    const QString folder = QDir::cleanPath(QDir(args.at(1)).absolutePath());
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "zorbi_make_files: cannot create the folder %s\n",
                     qPrintable(QDir::toNativeSeparators(folder)));
        return 1;
    }
    if (!writeSystemFile(folder)
        || !writeDataFile(folder, forAllUsers ? schema::makeDataFileTemplate : schema::makeDataFile)) {
        std::fprintf(stderr, "zorbi_make_files: %s\n", qPrintable(g_error));
        return 1;
    }
    return 0;
}
