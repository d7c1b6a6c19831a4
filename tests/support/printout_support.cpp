#include "printout_support.h"

#include "core/globals.h"
#include "platform/db/database.h"
#include "printouts/frm_report.h"

#include <QApplication>
#include <QPointer>

namespace testsupport {

QStringList textsOf(const report::Document &doc, const QStringList &names, int page)
{
    QStringList out;
    for (int p = 0; p < doc.pageCount(); ++p) {
        if (page >= 0 && p != page)
            continue;
        for (const report::Item &it : doc.pages[size_t(p)].items)
            if (names.contains(it.name))
                out << (it.kind == report::Item::Rich ? it.richText() : it.textFor(p + 1, doc.pageCount()));
    }
    return out;
}

const report::Item *item(const report::Document &doc, const QString &name, const QString &text)
{
    for (const report::Page &page : doc.pages)
        for (const report::Item &it : page.items)
            if (it.name == name && (text.isEmpty() || it.text == text))
                return &it;
    return nullptr;
}

QList<frm_report *> openViewers()
{
    QList<frm_report *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *v = qobject_cast<frm_report *>(w))
            out << v;
    return out;
}

void closeViewers()
{
    // Held by guarded pointers: a viewer may take another with it.
    QList<QPointer<frm_report>> viewers;
    for (frm_report *v : openViewers())
        viewers << v;
    for (const QPointer<frm_report> &v : viewers)
        delete v.data();
}

} // namespace testsupport
