#include "platform/db/database.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>
#include <QUrl>
#include <algorithm>
#include <dlfcn.h>
#include <sqlite3.h>

namespace db {

namespace {

// Primary result codes of SQLite (the driver reports the extended code; the low
// byte is the primary one).
enum SqliteCode {
    kSqliteError = 1,
    kSqlitePerm = 3,
    kSqliteBusy = 5,
    kSqliteLocked = 6,
    kSqliteReadOnly = 8,
    kSqliteIoErr = 10,
    kSqliteCorrupt = 11,
    kSqliteFull = 13,
    kSqliteCantOpen = 14,
    kSqliteConstraint = 19,
    kSqliteAuth = 23,
    kSqliteNotADb = 26,
};
enum SqliteExtendedCode {
    kConstraintCheck = 275,
    kConstraintForeignKey = 787,
    kConstraintNotNull = 1299,
    kConstraintPrimaryKey = 1555,
    kConstraintUnique = 2067,
};

const char kConnectOptions[] = "QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000";
const char kReadOnlyConnectOptions[] = "QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY";

// The files of the databases open in this process, by their real paths, with
// the number of connections on each.
QMutex g_openFilesLock;
QHash<QString, int> g_openFiles;

QString realPath(const QString &path)
{
    const QFileInfo fi(path);
    const QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : canonical;
}

void noteOpenFile(const QString &file, int change)
{
    const QMutexLocker lock(&g_openFilesLock);
    int &n = g_openFiles[file];
    n += change;
    if (n <= 0)
        g_openFiles.remove(file);
}

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("zorbi_db_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

QString absolutePath(const QString &path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// An SQLite URI for `absPath`: '?', '#', '%' and blanks in the path must not be
// read as parts of the URI.
QString sqliteUri(const QString &absPath, const char *mode)
{
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(absPath, "/"))
           + QStringLiteral("?mode=") + QLatin1String(mode);
}

int extendedCode(const QSqlError &e)
{
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return ok ? code : -1;
}

int primaryCode(const QSqlError &e)
{
    const int code = extendedCode(e);
    return code < 0 ? -1 : (code & 0xFF);
}

QString errorText(const QSqlError &e)
{
    const QString text = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
    return text.isEmpty() ? QStringLiteral("Unknown database error.") : text;
}

QString unrecognizedFormat(const QString &path)
{
    return QStringLiteral("Unrecognized database format '%1'.").arg(path);
}

// A file that opened but has a page that cannot be read: every statement that
// meets that page fails the same way, and what helps is the backup.
QString damagedFile(const QString &path)
{
    return QStringLiteral("The database file '%1' is damaged: a part of it cannot be read, so some "
                          "records cannot be shown or saved. Close the program and restore the file "
                          "from a backup copy.")
        .arg(path);
}

// The engine's number for a statement that SQLite refused; the description is
// SQLite's own text.
DbError statementError(const QSqlError &e, const QString &path)
{
    const QString text = errorText(e);
    switch (primaryCode(e)) {
    case kSqliteFull: return {ErrDiskFull, text};
    case kSqliteIoErr: return {ErrDiskNotReady, text};
    case kSqliteCorrupt:
    case kSqliteNotADb: return {ErrUnrecognizedFormat, damagedFile(path)};
    case kSqliteCantOpen: return {ErrCannotOpen, text};
    case kSqliteBusy:
    case kSqliteLocked: return {ErrCurrentlyLocked, QStringLiteral("Could not update; currently locked.")};
    case kSqliteReadOnly: return {ErrReadOnly, QStringLiteral("Cannot update. Database or object is read-only.")};
    case kSqliteConstraint:
        switch (extendedCode(e)) {
        case kConstraintUnique:
        case kConstraintPrimaryKey: return {ErrDuplicateKey, text};
        case kConstraintForeignKey: return {ErrRelatedRecordRequired, text};
        case kConstraintNotNull: return {ErrFieldRequired, text};
        case kConstraintCheck: return {ErrValidationRule, text};
        default: return {ErrSyntax, text};
        }
    default: return {ErrSyntax, text};
    }
}

QString folderOf(const QString &path) { return QFileInfo(absolutePath(path)).absolutePath(); }

// What stands in the way of opening `path` as asked, told from the file
// system before the engine is asked (the engine would open a write-protected
// file read-only without a word, and every later change would fail); nothing
// when the file may be opened.  QFileInfo asks the system (access()), so a
// read-only mount or an immutable file counts even for root.
DbError accessError(const QString &path, bool readOnly)
{
    const QFileInfo file(path);
    if (!file.isReadable())
        return {ErrCannotOpen, QStringLiteral("You need permission to read the file '%1'.").arg(path)};
    if (readOnly)
        return {};
    // The engine keeps its journal in files beside the file; and a folder that
    // cannot be written (a read-only drive) is the thing to tell first.
    const QString folder = folderOf(path);
    if (!QFileInfo(folder).isWritable())
        return {ErrReadOnly, QStringLiteral("The file '%1' is in the folder '%2', which is read-only "
                                            "for you, so no changes can be saved in the file. Move "
                                            "the file to a folder you can write to, or ask for "
                                            "permission to write in this folder.")
                                 .arg(path, QDir::toNativeSeparators(folder))};
    if (!file.isWritable())
        return {ErrReadOnly, QStringLiteral("The file '%1' is read-only, so no changes can be saved "
                                            "in it. Allow changes to the file, or use a copy of it "
                                            "that you can change.")
                                 .arg(path)};
    return {};
}

// What a failure while opening and probing a file means to the caller.
DbError openError(const QSqlError &e, const QString &path, bool readOnly)
{
    switch (primaryCode(e)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return {ErrOpenedExclusively, QStringLiteral("The database file '%1' is locked by another program.").arg(path)};
    case kSqliteError: // our own tables are not there
    case kSqliteCorrupt:
    case kSqliteNotADb: return {ErrUnrecognizedFormat, unrecognizedFormat(path)};
    default: break;
    }
    if (DbError access = accessError(path, readOnly))
        return access;
    if (primaryCode(e) == kSqliteReadOnly)
        return {ErrReadOnly, QStringLiteral("The file '%1' cannot be opened for changes: %2").arg(path, errorText(e))};
    // Reading a file in WAL needs its shared-memory file beside it.
    if (primaryCode(e) == kSqliteCantOpen && !QFileInfo(folderOf(path)).isWritable())
        return {ErrCannotOpen, QStringLiteral("The file '%1' cannot be opened in the folder '%2', "
                                              "which is read-only for you.")
                                   .arg(path, QDir::toNativeSeparators(folderOf(path)))};
    return {ErrCannotOpen, QStringLiteral("Cannot open the file '%1': %2").arg(path, errorText(e))};
}

// What a failure while writing a whole file (the compacted copy) means.
DbError fileError(const QSqlError &e)
{
    switch (primaryCode(e)) {
    case kSqliteFull: return {ErrDiskFull, QStringLiteral("Disk full")};
    case kSqliteCantOpen:
    case kSqliteReadOnly:
    case kSqlitePerm:
    case kSqliteAuth: return {ErrPermissionDenied, QStringLiteral("Permission denied")};
    case kSqliteIoErr: return {ErrDiskNotReady, QStringLiteral("Disk not ready")};
    default: return {ErrSyntax, errorText(e)};
    }
}

// The files stay in the fixed text forms whatever the caller binds: Qt would
// write a QDateTime with a 'T' and milliseconds, and True as 1.
QVariant bindable(const QVariant &v)
{
    if (v.isNull())
        return v;
    switch (v.typeId()) {
    case QMetaType::QDateTime: return v.toDateTime().toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime: return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Bool: return v.toBool() ? -1 : 0;
    default: return v;
    }
}

bool run(QSqlQuery &q, const QString &sql, const QVariantList &params = {})
{
    if (!q.prepare(sql))
        return false;
    for (const QVariant &p : params)
        q.addBindValue(bindable(p));
    return q.exec();
}

QString passwordHash(const QString &salt, const QString &password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash((salt + password).toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString newSalt()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(words), sizeof words).toHex());
}

void removeConnection(const QString &name)
{
    {
        QSqlDatabase c = QSqlDatabase::database(name, false);
        if (c.isValid())
            c.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void removeDatabaseFiles(const QString &absPath)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(absPath + QLatin1String(suffix));
}

bool ourApplicationId(qint32 id, qint32 expected)
{
    if (expected != 0)
        return id == expected;
    return id == kDataFileId || id == kSystemFileId;
}

// The page cache of one connection in KiB: the file's size with room to grow,
// never under the engine's default of 2,000 KiB, nor over 64 MiB.
qint64 pageCacheKiB(const QString &path)
{
    const qint64 fileKiB = QFileInfo(path).size() / 1024;
    return std::clamp<qint64>(fileKiB + fileKiB / 4, 2000, 65536);
}

// Opens connection `name` (already added) and proves the file is one of ours with
// the right password, then sets up the connection for shared use.
DbError probeAndPrepare(const QString &name, const QString &path, bool exclusive, bool readOnly,
                        const QString &password, qint32 expectedAppId, qint32 *appId)
{
    QSqlDatabase c = QSqlDatabase::database(name, false);
    if (!c.open())
        return openError(c.lastError(), path, readOnly);
    QSqlQuery q(c);
    q.setForwardOnly(true);
    // Before the first read, so that the first read takes the lock and keeps it.
    if (exclusive && !run(q, QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")))
        return openError(q.lastError(), path, readOnly);

    auto readInt = [&](const char *pragma, qint64 *value) {
        if (!run(q, QLatin1String(pragma)) || !q.next())
            return false;
        *value = q.value(0).toLongLong();
        q.finish();
        return true;
    };
    qint64 id = 0, version = 0;
    if (!readInt("PRAGMA application_id", &id))
        return openError(q.lastError(), path, readOnly);
    if (!ourApplicationId(qint32(id), expectedAppId))
        return {ErrUnrecognizedFormat, unrecognizedFormat(path)};
    if (!readInt("PRAGMA user_version", &version))
        return openError(q.lastError(), path, readOnly);
    if (version < 1 || version > kSchemaVersion)
        return {ErrUnrecognizedFormat, unrecognizedFormat(path)};

    if (!run(q, QStringLiteral("SELECT meta_salt, meta_hash FROM zb_meta")))
        return openError(q.lastError(), path, readOnly);
    if (!q.next())
        return q.lastError().isValid() ? openError(q.lastError(), path, readOnly)
                                       : DbError{ErrUnrecognizedFormat, unrecognizedFormat(path)};
    const QString salt = q.value(0).toString(), hash = q.value(1).toString();
    q.finish();
    if (passwordHash(salt, password).compare(hash, Qt::CaseInsensitive) != 0)
        return {ErrNotValidPassword, QStringLiteral("Not a valid password.")};

    if (!run(q, QStringLiteral("PRAGMA foreign_keys=ON")))
        return openError(q.lastError(), path, readOnly);
    // A page cache that holds the whole file, up to a cap: with the engine's
    // own 2 MB, a month of a large household's calendar reads its rows off
    // pages the cache has already let go. The cache takes memory only for the
    // pages read, so a small file costs no more than before.
    if (!run(q, QStringLiteral("PRAGMA cache_size=%1").arg(-pageCacheKiB(path))))
        return openError(q.lastError(), path, readOnly);
    // Sorts and temporary tables stay in memory: spilled to temporary files, the
    // sort of a large household's reminders cost more than the rest of the query.
    if (!run(q, QStringLiteral("PRAGMA temp_store=MEMORY")))
        return openError(q.lastError(), path, readOnly);
    if (!readOnly) {
        // A file that cannot change its journal (say, write-protected) still opens.
        if (!run(q, QStringLiteral("PRAGMA journal_mode=WAL"))) {
            const int code = primaryCode(q.lastError());
            if (code == kSqliteBusy || code == kSqliteLocked)
                return openError(q.lastError(), path, readOnly);
        }
        q.finish();
    }
    *appId = qint32(id);
    return {};
}

// The engine's own handle of a connection: the rows of a long read are taken
// from it straight, without the driver's copy of each row and its cache.
// The driver's handle may go to our own calls of the engine only when the
// driver runs on the very library this program is linked with: a Qt built with
// a copy of SQLite of its own would hand us a handle of that copy. The driver's
// plugin is asked which library it resolves the engine from.
bool driverSharesOurEngine(const QSqlDriver *driver)
{
    static const bool shared = [driver] {
        Dl_info info{};
        if (!dladdr(*reinterpret_cast<void *const *>(driver), &info) || !info.dli_fname)
            return false;
        void *plugin = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
        if (!plugin)
            return false;
        void *theirs = dlsym(plugin, "sqlite3_libversion");
        dlclose(plugin);
        const bool same = theirs == reinterpret_cast<void *>(&sqlite3_libversion);
        if (!same)
            qWarning("database: the SQLite driver does not use this program's SQLite library");
        return same;
    }();
    return shared;
}

sqlite3 *engineHandle(const QSqlDatabase &c)
{
    const QSqlDriver *driver = c.driver();
    if (!driver || !driverSharesOurEngine(driver))
        return nullptr;
    const QVariant handle = driver->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// The engine's error as the driver reports it: its text and its extended code.
QSqlError engineError(sqlite3 *handle)
{
    return QSqlError(QStringLiteral("Unable to execute statement"),
                     QString::fromUtf16(static_cast<const char16_t *>(sqlite3_errmsg16(handle))),
                     QSqlError::StatementError, QString::number(sqlite3_extended_errcode(handle)));
}

QSqlError usageError(const QString &text)
{
    return QSqlError(text, text, QSqlError::StatementError, QString::number(kSqliteError));
}

// One statement prepared on the engine's handle, its values bound as the
// driver binds them (the same conversions as `bindable`); it is finalized when
// it goes.  The values of a row come out with the types the driver gives them:
// whole numbers as qlonglong, text as QString, Null as a null QString.
class EngineStatement {
public:
    EngineStatement(sqlite3 *handle, const QString &sql, const QVariantList &params) : m_handle(handle)
    {
        const void *tail = nullptr;
        if (sqlite3_prepare16_v2(handle, sql.utf16(), int(sql.size() * sizeof(char16_t)), &m_stmt, &tail)
            != SQLITE_OK) {
            m_error = engineError(handle);
            return;
        }
        if (!m_stmt) {
            m_error = usageError(QStringLiteral("No statement to run."));
            return;
        }
        // As the driver does: a second statement after the first is refused.
        const qsizetype used = static_cast<const char16_t *>(tail) - reinterpret_cast<const char16_t *>(sql.utf16());
        if (!QStringView(sql).mid(used).trimmed().isEmpty()) {
            m_error = usageError(QStringLiteral("Unable to execute multiple statements at a time"));
            return;
        }
        if (sqlite3_bind_parameter_count(m_stmt) != params.size()) {
            m_error = usageError(QStringLiteral("Parameter count mismatch"));
            return;
        }
        for (int i = 0; i < params.size(); ++i) {
            if (bind(i + 1, bindable(params.at(i))) != SQLITE_OK) {
                m_error = engineError(handle);
                return;
            }
        }
        const int columns = sqlite3_column_count(m_stmt);
        m_names.reserve(columns);
        for (int i = 0; i < columns; ++i)
            m_names << QString::fromUtf16(static_cast<const char16_t *>(sqlite3_column_name16(m_stmt, i)))
                           .remove(QLatin1Char('"'));
    }
    ~EngineStatement() { sqlite3_finalize(m_stmt); }
    EngineStatement(const EngineStatement &) = delete;
    EngineStatement &operator=(const EngineStatement &) = delete;

    bool isValid() const { return !m_error.isValid(); }
    const QSqlError &error() const { return m_error; }
    const QStringList &names() const { return m_names; }

    // The next row into `values` (sized to the columns); false at the end or
    // on an error (see error()).
    bool next(QVariantList &values)
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW) {
            if (rc != SQLITE_DONE)
                m_error = engineError(m_handle);
            return false;
        }
        const int columns = int(m_names.size());
        if (values.size() != columns)
            values.resize(columns);
        for (int i = 0; i < columns; ++i)
            values[i] = value(i);
        return true;
    }

private:
    sqlite3 *m_handle;
    sqlite3_stmt *m_stmt = nullptr;
    QSqlError m_error;
    QStringList m_names;

    int bind(int index, const QVariant &v)
    {
        if (v.isNull())
            return sqlite3_bind_null(m_stmt, index);
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
        case QMetaType::Bool: return sqlite3_bind_int64(m_stmt, index, v.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float: return sqlite3_bind_double(m_stmt, index, v.toDouble());
        case QMetaType::QByteArray: {
            const QByteArray bytes = v.toByteArray();
            return sqlite3_bind_blob(m_stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        }
        default: {
            const QString text = v.toString();
            return sqlite3_bind_text16(m_stmt, index, text.utf16(), int(text.size() * sizeof(char16_t)),
                                       SQLITE_TRANSIENT);
        }
        }
    }

    QVariant value(int i) const
    {
        switch (sqlite3_column_type(m_stmt, i)) {
        case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
        case SQLITE_FLOAT: return QVariant(sqlite3_column_double(m_stmt, i));
        case SQLITE_NULL: return QVariant(QMetaType::fromType<QString>());
        case SQLITE_BLOB:
            return QVariant(
                QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, i)), sqlite3_column_bytes(m_stmt, i)));
        default: {
            // The files keep their text in UTF-8: read as it is stored, the
            // engine makes no copy of its own.
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
            return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, i)));
        }
        }
    }
};

} // namespace

// ---------------------------------------------------------------- statements

QString quoteIdentifier(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QString insertStatement(const QString &table, const QStringList &columns)
{
    if (columns.isEmpty())
        return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(table));
    QStringList names, marks;
    for (const QString &c : columns) {
        names << quoteIdentifier(c);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quoteIdentifier(table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

QString updateStatement(const QString &table, const QStringList &columns, const QString &key)
{
    QStringList sets;
    for (const QString &c : columns)
        sets << quoteIdentifier(c) + QStringLiteral(" = ?");
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
        .arg(quoteIdentifier(table), sets.join(QStringLiteral(", ")), quoteIdentifier(key));
}

// ---------------------------------------------------------------- connect strings

static QString connectValue(const QString &connect, QLatin1String key)
{
    const QStringList parts = connect.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1);
    }
    return {};
}

QString connectPassword(const QString &connect) { return connectValue(connect, QLatin1String("PWD")); }

QString connectDatabase(const QString &connect) { return connectValue(connect, QLatin1String("DATABASE")); }

// ---------------------------------------------------------------- workspace

Workspace::Workspace(QString name, QString user, QString password)
    : m_name(std::move(name)), m_user(std::move(user)), m_password(std::move(password))
{
}

std::unique_ptr<Database> Workspace::openDatabase(const QString &path, bool exclusive, bool readOnly,
                                                  const QString &connect, DbError *error, qint32 expectedAppId) const
{
    if (error)
        *error = {};
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.isFile()) {
        if (error)
            *error = {ErrFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path)};
        return nullptr;
    }
    if (const DbError access = accessError(path, readOnly)) {
        if (error)
            *error = access;
        return nullptr;
    }
    const QString name = nextConnectionName();
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // mode=rw: SQLite must never make a file that is not there.
        c.setDatabaseName(sqliteUri(absolutePath(path), readOnly ? "ro" : "rw"));
        c.setConnectOptions(QLatin1String(readOnly ? kReadOnlyConnectOptions : kConnectOptions));
    }
    qint32 appId = 0;
    const DbError e = probeAndPrepare(name, path, exclusive, readOnly, connectPassword(connect), expectedAppId, &appId);
    if (e) {
        removeConnection(name);
        if (error)
            *error = e;
        return nullptr;
    }
    std::unique_ptr<Database> d(new Database);
    d->m_connection = name;
    d->m_path = path;
    d->m_appId = appId;
    d->m_readOnly = readOnly;
    d->m_filePath = realPath(path);
    noteOpenFile(d->m_filePath, +1);
    return d;
}

bool createDatabaseFile(const QString &path, qint32 applicationId, const QString &password,
                        const QStringList &statements, DbError *error, Journal journal)
{
    auto fail = [error](DbError e) {
        if (error)
            *error = e;
        return false;
    };
    if (error)
        *error = {};
    const QString abs = absolutePath(path);
    if (path.isEmpty() || QFileInfo::exists(abs))
        return fail({ErrDatabaseExists, QStringLiteral("Database already exists.")});
    if (!QFileInfo(QFileInfo(abs).absolutePath()).isDir())
        return fail({ErrNotValidPath, QStringLiteral("'%1' is not a valid path.").arg(path)});
    // A journal left beside a file that is gone would be replayed into the new one.
    removeDatabaseFiles(abs);

    const QString name = nextConnectionName();
    DbError e;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        c.setDatabaseName(sqliteUri(abs, "rwc"));
        c.setConnectOptions(QLatin1String(kConnectOptions));
        if (!c.open()) {
            e = fileError(c.lastError());
        } else {
            QSqlQuery q(c);
            auto step = [&](const QString &sql, const QVariantList &params = {}) {
                if (e)
                    return;
                if (!run(q, sql, params))
                    e = statementError(q.lastError(), path);
                q.finish();
            };
            step(journal == Journal::Wal ? QStringLiteral("PRAGMA journal_mode=WAL")
                                         : QStringLiteral("PRAGMA journal_mode=DELETE"));
            step(QStringLiteral("PRAGMA foreign_keys=ON"));
            step(QStringLiteral("BEGIN IMMEDIATE"));
            step(QStringLiteral("PRAGMA application_id=%1").arg(applicationId));
            step(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
            step(QStringLiteral("CREATE TABLE zb_meta (meta_id INTEGER PRIMARY KEY CHECK (meta_id = 1), "
                                "meta_salt TEXT NOT NULL, meta_hash TEXT NOT NULL)"));
            const QString salt = newSalt();
            step(QStringLiteral("INSERT INTO zb_meta (meta_id, meta_salt, meta_hash) VALUES (1, ?, ?)"),
                 {salt, passwordHash(salt, password)});
            for (int i = 0; i < statements.size() && !e; ++i) {
                if (statements.at(i).trimmed().isEmpty())
                    continue;
                step(statements.at(i));
                if (e)
                    e.description +=
                        QStringLiteral(" (statement %1: %2)").arg(i + 1).arg(statements.at(i).simplified().left(80));
            }
            step(QStringLiteral("COMMIT"));
        }
        c.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (e) {
        removeDatabaseFiles(abs);
        return fail(e);
    }
    return true;
}

// ---------------------------------------------------------------- database

Database::~Database() { close(); }

QSqlDatabase Database::connection() const
{
    if (m_connection.isEmpty())
        return {};
    return QSqlDatabase::database(m_connection, false);
}

bool Database::isOpen() const { return !m_connection.isEmpty() && connection().isOpen(); }

void Database::setError(int number, const QString &description) { m_error = {number, description}; }

void Database::setErrorFrom(const QSqlError &e) { m_error = statementError(e, m_path); }

bool Database::execute(const QString &sql, const QVariantList &params)
{
    m_error = {};
    m_affected = 0;
    m_lastInsertId = {};
    if (!isOpen()) {
        setError(ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."));
        return false;
    }
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    if (!run(q, sql, params)) {
        setErrorFrom(q.lastError());
        return false;
    }
    m_affected = q.numRowsAffected();
    m_lastInsertId = q.lastInsertId();
    return true;
}

bool Database::forEachRow(const QString &sql, const QVariantList &params,
                          const std::function<void(const QStringList &names, const QVariantList &values)> &row)
{
    m_error = {};
    if (!isOpen()) {
        setError(ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."));
        return false;
    }
    sqlite3 *handle = engineHandle(connection());
    if (!handle) {
        setError(ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."));
        return false;
    }
    EngineStatement statement(handle, sql, params);
    if (!statement.isValid()) {
        setErrorFrom(statement.error());
        return false;
    }
    QVariantList values;
    while (statement.next(values))
        row(statement.names(), values);
    if (!statement.isValid()) {
        setErrorFrom(statement.error());
        return false;
    }
    return true;
}

std::unique_ptr<Recordset> Database::openRecordset(const QString &sql, const QVariantList &params)
{
    m_error = {};
    sqlite3 *handle = isOpen() ? engineHandle(connection()) : nullptr;
    if (!handle) {
        setError(ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."));
        return nullptr;
    }
    std::unique_ptr<Recordset> rs(new Recordset);
    {
        EngineStatement statement(handle, sql, params);
        if (!statement.isValid()) {
            setErrorFrom(statement.error());
            return nullptr;
        }
        rs->m_names = statement.names();
        QVariantList values;
        while (statement.next(values)) {
            rs->m_rows.push_back(values);
            values = QVariantList(); // the next row gets a list of its own
        }
        if (!statement.isValid()) {
            setErrorFrom(statement.error());
            return nullptr;
        }
    }
    rs->m_pos = 0;
    return rs;
}

bool Database::transaction()
{
    return execute(m_readOnly ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

bool Database::commit() { return execute(QStringLiteral("COMMIT")); }

bool Database::rollback() { return execute(QStringLiteral("ROLLBACK")); }

bool Database::compactTo(const QString &target)
{
    m_error = {};
    if (!isOpen()) {
        setError(ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."));
        return false;
    }
    const QString abs = absolutePath(target);
    const QFileInfo there(abs);
    if (target.isEmpty() || (there.exists() && (!there.isFile() || there.size() > 0))) {
        setError(ErrDatabaseExists, QStringLiteral("Database already exists."));
        return false;
    }
    QSqlQuery q(connection());
    // A plain path: it does not start with "file:", so SQLite reads no URI in it.
    if (!run(q, QStringLiteral("VACUUM INTO ?"), {abs})) {
        m_error = fileError(q.lastError());
        QFile::remove(abs);
        return false;
    }
    return true;
}

void Database::close()
{
    if (m_connection.isEmpty())
        return;
    removeConnection(m_connection);
    m_connection.clear();
    noteOpenFile(m_filePath, -1);
}

bool isOpenDatabaseFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    QString file = realPath(path);
    for (const char *suffix : {"-wal", "-shm", "-journal"}) {
        if (file.endsWith(QLatin1String(suffix))) {
            // The companion may not be there; its database is.
            file = realPath(file.chopped(int(qstrlen(suffix))));
            break;
        }
    }
    const QMutexLocker lock(&g_openFilesLock);
    return g_openFiles.contains(file);
}

// ---------------------------------------------------------------- recordset

int Recordset::indexOf(const QString &name) const
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void Recordset::fail(int number, const QString &description) { m_error = {number, description}; }

bool Recordset::hasCurrent() const { return m_pos >= 0 && m_pos < int(m_rows.size()); }

bool Recordset::isEOF() const { return m_rows.empty() || m_pos >= int(m_rows.size()); }

bool Recordset::isBOF() const { return m_rows.empty() || m_pos < 0; }

int Recordset::recordCount() const { return int(m_rows.size()); }

static const QString kNoCurrentRecord = QStringLiteral("No current record.");

void Recordset::moveFirst()
{
    m_error = {};
    if (m_rows.empty()) {
        fail(ErrNoCurrentRecord, kNoCurrentRecord);
        return;
    }
    m_pos = 0;
}

void Recordset::moveLast()
{
    m_error = {};
    if (m_rows.empty()) {
        fail(ErrNoCurrentRecord, kNoCurrentRecord);
        return;
    }
    m_pos = int(m_rows.size()) - 1;
}

void Recordset::moveNext()
{
    m_error = {};
    if (isEOF()) {
        fail(ErrNoCurrentRecord, kNoCurrentRecord);
        return;
    }
    ++m_pos;
}

void Recordset::movePrevious()
{
    m_error = {};
    if (isBOF()) {
        fail(ErrNoCurrentRecord, kNoCurrentRecord);
        return;
    }
    --m_pos;
}

bool Recordset::move(int absolutePosition)
{
    m_error = {};
    if (absolutePosition < 0 || absolutePosition >= int(m_rows.size())) {
        fail(ErrNoCurrentRecord, kNoCurrentRecord);
        return false;
    }
    m_pos = absolutePosition;
    return true;
}

int Recordset::absolutePosition() const { return hasCurrent() ? m_pos : -1; }

static bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool: return true;
    default: return false;
    }
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return false;
    if (isNumber(a) || isNumber(b)) {
        bool okA = false, okB = false;
        const double x = a.toDouble(&okA), y = b.toDouble(&okB);
        if (okA && okB)
            return x == y;
    }
    return a.toString().compare(b.toString(), Qt::CaseInsensitive) == 0;
}

bool Recordset::findFirst(const QString &field, const QVariant &value)
{
    m_error = {};
    const int i = indexOf(field);
    if (i < 0) {
        fail(ErrItemNotFound, QStringLiteral("Item not found in this collection."));
        return false;
    }
    for (int r = 0; r < int(m_rows.size()); ++r) {
        if (sameValue(m_rows[r].at(i), value)) {
            m_pos = r;
            return true;
        }
    }
    return false;
}

QVariant Recordset::field(int index) const
{
    if (index < 0 || index >= m_names.size())
        return {};
    if (!hasCurrent())
        return {};
    return m_rows[m_pos].at(index);
}

QVariant Recordset::field(const QString &name) const { return field(indexOf(name)); }

bool Recordset::isNull(const QString &name) const { return field(name).isNull(); }

int Recordset::fieldCount() const { return m_names.size(); }

QStringList Recordset::fieldNames() const { return m_names; }

bool Recordset::hasField(const QString &name) const { return indexOf(name) >= 0; }

void Recordset::close()
{
    m_rows.clear();
    m_pos = -1;
}

} // namespace db
