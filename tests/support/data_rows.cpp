#include "data_rows.h"

#include "core/globals.h"
#include "platform/db/database.h"

#include <QStringList>

namespace testsupport {

QVariant value(const QString &sql, const QVariantList &params, const QVariant &noRow)
{
    auto rs = gDataDB->openRecordset(sql, params);
    return rs && !rs->isEOF() ? rs->field(0) : noRow;
}

int count(const QString &sql, const QVariantList &params)
{
    const QVariant v = value(sql, params);
    return v.isValid() ? v.toInt() : -1;
}

long insert(const QString &sql, const QVariantList &params)
{
    if (!gDataDB->execute(sql, params))
        qWarning("%s", qPrintable(gDataDB->lastError().description));
    return long(gDataDB->lastInsertId().toLongLong());
}

long addRow(const QString &table, const QVariantMap &values)
{
    const QStringList cols = values.keys();
    return insert(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, cols.join(','), QStringList(cols.size(), QStringLiteral("?")).join(',')),
                  values.values());
}

long addPet(const QVariant &name, const QVariantMap &more)
{
    QVariantMap values = more;
    values.insert(QStringLiteral("pet_name"), name);
    if (!values.contains(QStringLiteral("pet_species_id")))
        values.insert(QStringLiteral("pet_species_id"), 1);
    return addRow(QStringLiteral("tbl_pet"), values);
}

} // namespace testsupport
