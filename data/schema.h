#pragma once
// The schema of the two database files the program ships: the data file
// (Zorbi.dat, the household's records) and the system file (Zorbi.sys, the
// read-only lookup lists).  The build tool writes both files from these
// statements and the tests run the same statements, so they can never drift.

#include <QString>
#include <QStringList>

namespace db {
struct DbError;
}

namespace schema {

// Every statement that makes an empty data file: tables, indexes and the saved
// queries (as views), one statement per item, in the order they must run.
QStringList dataFileStatements();

// Every statement that makes the system file: its tables, then the lookup rows.
QStringList systemFileStatements();

// Make the two files at `path` (which must not exist) with `password`.  The
// system file keeps a rollback journal: it is only ever read, and so opens
// read-only in a program folder the user cannot write.  The data file runs in WAL.
bool makeSystemFile(const QString &path, const QString &password, db::DbError *error);
bool makeDataFile(const QString &path, const QString &password, db::DbError *error);
// The empty data file an install for all users ships, from which each user's
// own is copied: in rollback-journal mode, so that it too opens read-only in a
// folder nobody may write.
bool makeDataFileTemplate(const QString &path, const QString &password, db::DbError *error);

// The names of what those statements create.
QStringList dataFileTables();
QStringList systemFileTables();
QStringList dataFileViews();

// The health statement's summary of one pet's vaccinations: one row per
// vaccine name (names that differ only in case are one vaccine), taken from
// the row with the latest expiry, latest expiry last.  One `?` for the pet id.
QString vaccineSummarySql();

} // namespace schema
