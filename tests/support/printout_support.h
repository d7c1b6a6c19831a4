#pragma once
// What the printout tests share: rows put straight into the data file, the
// laid-out texts and items by control name, and the open viewer windows.

#include "platform/report/page_model.h"

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class frm_report;

namespace testsupport {

// Inserts a row into `table` of the open data file; its new id.
long addRow(const QString &table, const QVariantMap &values);
// A pet of species 1 named `name`, with the further columns of `more`.
long addPet(const QVariant &name, const QVariantMap &more = {});

// The texts of the items named in `names`, in page and item order; of page
// `page` (0-based) alone when it is not -1.
QStringList textsOf(const report::Document &doc, const QStringList &names, int page = -1);
// The first item named `name` (and showing `text`, when given); none: nullptr.
const report::Item *itemNamed(const report::Document &doc, const QString &name, const QString &text = {});

// The printout viewers open now.
QList<frm_report *> openViewers();

} // namespace testsupport
