#include "core/settings.h"
#include "platform/dialogs.h"
#include <QHash>
#include <QSettings>
#include <QStringList>
#include <memory>
#include <utility>

namespace {

const QString kApplication = QStringLiteral("Zorbi 2003");
const QString kSection = QStringLiteral("Preferences");

// A store that cannot be written is error 75, as the run-time library numbers a
// file it cannot reach.
constexpr int kErrPathFileAccess = 75;
const QString kPathFileAccessText = QStringLiteral("Path/File access error");

struct Session {
    QHash<QString, QString> held;    // stored while writes are held, not yet written
    QHash<QString, QString> unsaved; // could not be written; this run still uses them
    bool holding = false;
    bool reported = false; // the user hears of an unwritable store once a run
    int writes = 0;
};

Session &session()
{
    static Session s;
    return s;
}

// A fresh store each time, so a value the other program has just written is seen.
std::unique_ptr<QSettings> openStore()
{
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             kApplication, kApplication);
    store->beginGroup(kSection);
    return store;
}

bool holdsText(const QSettings &store, const QString &key, const QString &text)
{
    return store.contains(key) && funPrefText(store.value(key)) == text;
}

// Writes the values that differ from the file in one sync; none when all agree.
bool writeOut(const QHash<QString, QString> &values)
{
    Session &s = session();
    auto store = openStore();
    bool changed = false;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (holdsText(*store, it.key(), it.value())) {
            s.unsaved.remove(it.key());
            continue;
        }
        store->setValue(it.key(), it.value());
        changed = true;
    }
    if (!changed)
        return true;
    ++s.writes;
    store->sync();
    // Only a store out of reach is a failure: a partly damaged file still gives
    // the values it holds, and this write has put it right.
    if (store->status() != QSettings::AccessError) {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            s.unsaved.remove(it.key());
        return true;
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        s.unsaved.insert(it.key(), it.value());
    if (!s.reported) {
        s.reported = true;
        ui::errorReport(kErrPathFileAccess, kPathFileAccessText, QString());
    }
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
    const Session &s = session();
    if (auto it = s.held.constFind(key); it != s.held.cend())
        return *it;
    if (auto it = s.unsaved.constFind(key); it != s.unsaved.cend())
        return *it;
    // A store that cannot be read holds nothing, so the default serves.
    auto store = openStore();
    if (!store->contains(key))
        return funPrefText(defaultValue);
    return funPrefText(store->value(key));
}

bool funPref_Set(const QString &key, const QVariant &value)
{
    Session &s = session();
    const QString text = funPrefText(value);
    if (s.holding) {
        s.held.insert(key, text); // compared with the file when it is written
        return true;
    }
    // Already tried and refused this run: trying again would only fail again.
    if (auto it = s.unsaved.constFind(key); it != s.unsaved.cend() && *it == text)
        return false;
    return writeOut({{key, text}});
}

namespace settings {

void holdWrites() { session().holding = true; }

bool flushWrites()
{
    Session &s = session();
    s.holding = false;
    const QHash<QString, QString> held = std::exchange(s.held, {});
    return held.isEmpty() || writeOut(held);
}

void resetSession() { session() = Session(); }

int writeCount() { return session().writes; }

} // namespace settings
