#pragma once
// Rows of the open data file for the tests: one value read, a row put in, a pet.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

namespace testsupport {

// The first column of the first row `sql` gives on the open data file;
// `noRow` when it gives none.
QVariant value(const QString &sql, const QVariantList &params = {}, const QVariant &noRow = {});
// The same as a whole number; -1 when there is no row.
int count(const QString &sql, const QVariantList &params = {});

// Runs one INSERT on the open data file; the new row's id (a warning when it fails).
long insert(const QString &sql, const QVariantList &params = {});
// Inserts `values` (column to value) into `table`; the new row's id.
long addRow(const QString &table, const QVariantMap &values);
// A pet named `name` of species 1 (unless `more` gives one) with the columns
// of `more`; its id.
long addPet(const QVariant &name, const QVariantMap &more = {});

} // namespace testsupport
