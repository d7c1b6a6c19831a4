#include "core/settings.h"
#include "platform/dialogs.h"
#include <QSettings>
#include <QStringList>
#include <memory>

namespace {

const QString kApplication = QStringLiteral("Zorbi 2003");
const QString kSection = QStringLiteral("Preferences");

// A store that cannot be read or written is error 75, as the run-time library
// numbers a file it cannot reach.
constexpr int kErrPathFileAccess = 75;
const QString kPathFileAccessText = QStringLiteral("Path/File access error");

// A fresh store each time, so a value the other program has just written is seen.
std::unique_ptr<QSettings> openStore()
{
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             kApplication, kApplication);
    store->beginGroup(kSection);
    return store;
}

// Only a store out of reach is a failure: a partly damaged file still gives the
// values it holds, and the next write puts it right.
bool reachable(const QSettings &store, const QString &routine)
{
    if (store.status() != QSettings::AccessError)
        return true;
    ui::errorReport(kErrPathFileAccess, kPathFileAccessText, routine);
    return false;
}

} // namespace

QString funPrefText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString(""); // never a null string: callers compare with ""
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QStringList:
        // A hand-edited line "a,b" reads back as a list; keep it as the text it was.
        return value.toStringList().join(QLatin1Char(','));
    default:
        return value.toString();
    }
}

QString funPref_Get(const QString &key, const QVariant &defaultValue)
{
    auto store = openStore();
    if (!reachable(*store, QStringLiteral("funPref_Get")))
        return QString("");
    if (!store->contains(key))
        return funPrefText(defaultValue);
    return funPrefText(store->value(key));
}

bool funPref_Set(const QString &key, const QVariant &value)
{
    auto store = openStore();
    store->setValue(key, funPrefText(value));
    store->sync();
    return reachable(*store, QString());
}
