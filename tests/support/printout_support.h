#pragma once
// What the printout tests share: a pet added to the open data file, the
// texts and items of a laid-out printout by control name, and the viewers
// closed after a test.

#include "platform/report/page_model.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace testsupport {

// A pet named `name` of species 1 (unless `more` gives one) with the columns
// of `more`; its id.
long addPet(const QString &name, const QVariantMap &more = {});

// The texts of the items named in `names`, in page and item order, on every
// page or on page `page` (0-based); a rich-text slice gives its lines.
QStringList textsOf(const report::Document &doc, const QStringList &names, int page = -1);

// The first item named `name` (and, when given, printing `text`); nullptr
// when there is none.
const report::Item *item(const report::Document &doc, const QString &name, const QString &text = {});

// Deletes every printout viewer window.
void closeViewers();

} // namespace testsupport
