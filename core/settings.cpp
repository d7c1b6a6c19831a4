#include "core/settings.h"
#include "core/globals.h"
#include "platform/dialogs.h"
#include <QFile>
#include <QHash>
#include <QSettings>
#include <QStringList>
#include <cmath>
#include <memory>
#include <utility>

#include <sys/stat.h>

namespace {

const QString kApplication = QStringLiteral("Zorbi 2003");
const QString kSection = QStringLiteral("Preferences");

// A store that cannot be written is error 75, as the run-time library numbers a
// file it cannot reach.
constexpr int kErrPathFileAccess = 75;
const QString kPathFileAccessText = QStringLiteral("Path/File access error");

// What the settings file looked like when it was last read: a change of any
// of these means someone (this program, or the other one) has written it.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{}, changed{};

    bool operator==(const FileStamp &o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size
               && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec
               && changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

FileStamp stampOf(const QByteArray &path)
{
    FileStamp stamp;
    struct stat st {};
    if (path.isEmpty() || ::stat(path.constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modified = st.st_mtim;
    stamp.changed = st.st_ctim;
    return stamp;
}

// The section's values as last read from the file, kept for as long as the
// file stays as it was then. Reading the file through a fresh QSettings each
// time costs far more than looking at the file's stamp.
struct Snapshot {
    bool valid = false;
    QByteArray path; // the settings file, as QSettings names it
    FileStamp stamp;
    QHash<QString, QString> values;
};

struct Session {
    QHash<QString, QString> held;    // stored while writes are held, not yet written
    QHash<QString, QString> unsaved; // could not be written; this run still uses them
    bool holding = false;
    bool reported = false; // the user hears of an unwritable store once a run
    int writes = 0;
    Snapshot read;
};

Session &session()
{
    static Session s;
    return s;
}

// A fresh store each time, so a value the other program has just written is seen.
std::unique_ptr<QSettings> openStore()
{
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kApplication, kApplication);
    store->beginGroup(kSection);
    // Where the file is now: the store's place is found anew with each write,
    // and a read after that looks there.
    Snapshot &read = session().read;
    const QByteArray path = QFile::encodeName(store->fileName());
    if (path != read.path) {
        read.path = path;
        read.valid = false;
    }
    return store;
}

// The values of the file as it is now: read again only when the file has
// changed since the last read (its size, times or identity), so a value the
// other program has just written is seen at the next read.
const QHash<QString, QString> &currentValues()
{
    Snapshot &read = session().read;
    if (read.valid && stampOf(read.path) == read.stamp)
        return read.values;
    // The stamp is taken before the file is read: a write in between shows as
    // a change at the next read, never as a stale value kept.
    if (read.path.isEmpty())
        openStore();
    const FileStamp stamp = stampOf(read.path);
    auto store = openStore();
    read.values.clear();
    // A store that cannot be read holds nothing, so the defaults serve.
    for (const QString &key : store->allKeys())
        read.values.insert(key, funPrefText(store->value(key)));
    read.stamp = stamp;
    read.valid = true;
    return read.values;
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
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QStringList:
        // A hand-edited line "a,b" reads back as a list; keep it as the text it was.
        return value.toStringList().join(QLatin1Char(','));
    default: return value.toString();
    }
}

QString funPref_Get(const QString &key, const QVariant &defaultValue)
{
    const Session &s = session();
    if (auto it = s.held.constFind(key); it != s.held.cend())
        return *it;
    if (auto it = s.unsaved.constFind(key); it != s.unsaved.cend())
        return *it;
    const QHash<QString, QString> &values = currentValues();
    if (auto it = values.constFind(key); it != values.cend())
        return *it;
    return funPrefText(defaultValue);
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

namespace {

struct Entry {
    Setting setting;
    const char *key;
    QVariant (*defaultOf)();
};

QVariant none() { return QString(); }
QVariant zero() { return 0; }
QVariant one() { return 1; }

// The one table of what is stored and what stands in for it when it is not.
constexpr Entry kEntries[] = {
    {Setting::Database, "Database", [] { return QVariant(funGetProgramFolder() + QStringLiteral("/Zorbi.dat")); }},
    {Setting::BackupFolder, "BackupFolder", none},
    // Never counted: a first exit asks for a backup.
    {Setting::BackupCount, "BackupCount", [] { return QVariant(99); }},
    {Setting::AutomaticBackup, "AutomaticBackup", one},
    {Setting::AutomaticBackupCount, "AutomaticBackupCount", [] { return QVariant(5); }},
    {Setting::MainMenuIconSize, "MainMenuIconSize", zero},
    {Setting::ListviewPet, "Listview_Pet", zero},
    {Setting::ListviewAddress, "Listview_Address", zero},
    {Setting::ListviewReport, "Listview_Report", zero},
    {Setting::ListviewPicture, "Listview_Picture", zero},
    {Setting::PhotoSite1, "PhotoSite_1", none},
    {Setting::PhotoSite2, "PhotoSite_2", none},
    {Setting::PhotoSite3, "PhotoSite_3", none},
    {Setting::CalShowDOB, "Cal_Show_DOB", zero},
    {Setting::CalShowDiary, "Cal_Show_Diary", zero},
    {Setting::CalShowVacRec, "Cal_Show_Vac_Rec", zero},
    {Setting::CalShowVacExp, "Cal_Show_Vac_Exp", zero},
    {Setting::SitterContact, "Sitter_Contact", none},
};

// The table is in the enum's order, so a setting is its own index.
constexpr bool inSettingOrder()
{
    int i = 0;
    for (const Entry &e : kEntries)
        if (static_cast<int>(e.setting) != i++)
            return false;
    return i == static_cast<int>(Setting::SitterContact) + 1;
}
static_assert(inSettingOrder(), "one entry for each setting, in the enum's order");

const Entry &entry(Setting s) { return kEntries[static_cast<int>(s)]; }

} // namespace

QString key(Setting s) { return QLatin1String(entry(s).key); }

QVariant defaultValue(Setting s) { return entry(s).defaultOf(); }

QString text(Setting s) { return funPref_Get(key(s), defaultValue(s)); }

QString storedText(Setting s) { return funPref_Get(key(s), QString()); }

bool set(Setting s, const QVariant &value) { return funPref_Set(key(s), value); }

int count(Setting s)
{
    const int fallback = defaultValue(s).toInt();
    bool ok = false;
    double v = text(s).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return fallback;
    v = std::nearbyint(v);
    if (v > 32767 || v < -32768)
        return fallback;
    return int(v);
}

bool isOn(Setting s) { return text(s).toInt() > 0; }

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
