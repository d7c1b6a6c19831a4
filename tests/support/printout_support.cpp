#include "printout_support.h"

#include "core/globals.h"
#include "platform/db/database.h"
#include "printouts/frm_report.h"

#include <QApplication>
#include <QPointer>

namespace testsupport {

long addPet(const QString &name, const QVariantMap &more)
{
    QStringList cols{"pet_name"};
    QVariantList vals{name};
    if (!more.contains(QStringLiteral("pet_species_id"))) {
        cols << "pet_species_id";
        vals << 1;
    }
    for (auto it = more.begin(); it != more.end(); ++it) {
        cols << it.key();
        vals << it.value();
    }
    const QString sql = QStringLiteral("INSERT INTO tbl_pet (%1) VALUES (%2)")
                            .arg(cols.join(','), QStringList(cols.size(), QStringLiteral("?")).join(','));
    if (!gDataDB->execute(sql, vals))
        qWarning("%s", qPrintable(gDataDB->lastError().description));
    return long(gDataDB->lastInsertId().toLongLong());
}

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

void closeViewers()
{
    QList<QPointer<QWidget>> viewers;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<frm_report *>(w))
            viewers << w;
    qDeleteAll(viewers);
}

} // namespace testsupport
