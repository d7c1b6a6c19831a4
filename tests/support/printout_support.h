#pragma once
// What the printout tests share: the laid-out texts and items by control
// name, and the viewer windows (and, through data_rows.h, rows of the data file).

#include "data_rows.h"
#include "platform/report/page_model.h"

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class frm_report;

namespace testsupport {

// The texts of the items named in `names`, in page and item order, on every
// page or on page `page` (0-based); a rich-text slice gives its lines.
QStringList textsOf(const report::Document &doc, const QStringList &names, int page = -1);

// The first item named `name` (and, when given, printing `text`); nullptr
// when there is none.
const report::Item *item(const report::Document &doc, const QString &name, const QString &text = {});

// The printout viewers open now, and every one of them deleted.
QList<frm_report *> openViewers();
void closeViewers();

} // namespace testsupport
