#pragma once
// Our database layer: a workspace, open databases and recordsets over SQLite
// (through Qt SQL), with the error numbers and texts the rest of the program tests.

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <vector>

namespace db {

// Error numbers the callers test; the texts are the engine's own.
enum ErrorNumber : int {
    ErrNone = 0,
    ErrFileNotFound = 3024,       // "Could not find file '...'."
    ErrNotValidPassword = 3031,   // "Not a valid password."
    ErrUnrecognizedFormat = 3343, // "Unrecognized database format '...'."; a statement that
                                  // meets a damaged page says the file is damaged
    ErrOpenedExclusively = 3356,  // the file is locked by another program
    ErrNoCurrentRecord = 3021,    // "No current record."
    ErrSyntax = 3075,             // a statement the engine refused
    ErrDiskFull = 61,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
    ErrDiskNotReady = 71,
    // Further engine numbers this layer raises.
    ErrUpdateWithoutEdit = 3020,     // "Update or CancelUpdate without AddNew or Edit."
    ErrDuplicateKey = 3022,          // a unique index or key refused the row
    ErrReadOnly = 3027,              // "Cannot update. Database or object is read-only."
    ErrNotValidPath = 3044,          // "'...' is not a valid path."
    ErrCannotOpen = 3051,            // the file exists but cannot be opened (permissions)
    ErrRelatedRecordRequired = 3201, // a foreign key refused the row
    ErrDatabaseExists = 3204,        // "Database already exists."
    ErrCurrentlyLocked = 3218,       // "Could not update; currently locked."
    ErrItemNotFound = 3265,          // "Item not found in this collection."
    ErrFieldRequired = 3314,         // a NOT NULL column got Null
    ErrValidationRule = 3317,        // a CHECK constraint refused the value
    ErrObjectInvalid = 3420,         // "Object invalid or no longer set."
};

struct DbError {
    int number = 0;
    QString description;
    bool isError() const { return number != 0; }
    explicit operator bool() const { return isError(); }
};

// The "application_id" each kind of file carries, so that a foreign SQLite file,
// or the other kind of our own file, is refused at open.
constexpr qint32 kDataFileId = 0x5A425244;   // "ZBRD"
constexpr qint32 kSystemFileId = 0x5A425359; // "ZBSY"
constexpr int kSchemaVersion = 1;

class Database;

// The rows of one statement, read whole at open (a static copy): a window that
// writes does so through its data control, everything else with statements.
// Field lookups by name ignore case.
class Recordset {
public:
    bool isEOF() const;
    bool isBOF() const;
    int recordCount() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    bool move(int absolutePosition); // 0-based
    int absolutePosition() const;    // -1 when before the first or after the last

    // True when a row whose `field` equals `value` (text compared without case)
    // was found from the first row on; the row becomes current.
    bool findFirst(const QString &field, const QVariant &value);

    QVariant field(const QString &name) const;
    QVariant field(int index) const;
    bool isNull(const QString &name) const;
    int fieldCount() const;
    QStringList fieldNames() const;
    bool hasField(const QString &name) const;

    void close();
    const DbError &lastError() const { return m_error; }

private:
    friend class Database;
    Recordset() = default;
    QStringList m_names;
    std::vector<QVariantList> m_rows;
    int m_pos = -1; // current row; -1 BOF, size() EOF
    DbError m_error;
    int indexOf(const QString &name) const;
    bool hasCurrent() const;
    void fail(int number, const QString &description);
};

// One open database file on its own connection.
class Database {
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    QString path() const { return m_path; }
    qint32 applicationId() const { return m_appId; }
    QSqlDatabase connection() const;
    bool isOpen() const;

    // Runs one statement; `params` bind to its ? or :name placeholders in order.
    bool execute(const QString &sql, const QVariantList &params = {});
    int recordsAffected() const { return m_affected; }
    QVariant lastInsertId() const { return m_lastInsertId; }

    // Opens a recordset over one SELECT; nullptr on failure (see lastError()).
    std::unique_ptr<Recordset> openRecordset(const QString &sql, const QVariantList &params = {});
    // Reads one SELECT row by row, handing each row's values (in the order of
    // `names`, the statement's columns) to `row` and keeping none of them: for
    // a long read done once, which a snapshot would hold whole in memory.
    // False on failure (see lastError()), also after some rows were handed over.
    bool forEachRow(const QString &sql, const QVariantList &params,
                    const std::function<void(const QStringList &names, const QVariantList &values)> &row);

    bool transaction();
    bool commit();
    bool rollback();

    // Writes a compacted copy of this database to `target`, which must not exist
    // or be empty (a file its writer made and holds beforehand).
    bool compactTo(const QString &target);

    void close();
    const DbError &lastError() const { return m_error; }

private:
    friend class Workspace;
    friend class Recordset;
    Database() = default;
    QString m_connection, m_path, m_filePath;
    qint32 m_appId = 0;
    bool m_readOnly = false;
    int m_affected = 0;
    QVariant m_lastInsertId;
    DbError m_error;
    void setError(int number, const QString &description);
    void setErrorFrom(const class QSqlError &e);
};

// The engine's session: opens databases with the password connect string
// ("MS Access;PWD=" followed by the password).
class Workspace {
public:
    Workspace(QString name = {}, QString user = QStringLiteral("admin"), QString password = {});
    QString name() const { return m_name; }
    QString user() const { return m_user; }

    // Opens an existing file made by this system.  Refuses, with the engine's
    // error, a missing file (3024; nothing is created), a file that is not ours or
    // is damaged (3343), the wrong password (3031), or a file locked by another
    // program (3356).  `expectedAppId` 0 accepts either kind of our files.
    std::unique_ptr<Database> openDatabase(const QString &path, bool exclusive, bool readOnly, const QString &connect,
                                           DbError *error, qint32 expectedAppId = 0) const;

private:
    QString m_name, m_user, m_password;
};

// How a file keeps its journal.  WAL lets a reader and a writer work at once;
// a rollback journal lets a file that is only read open read-only in a folder
// nobody may write (WAL needs its shared-memory file beside the file even to read).
enum class Journal { Wal, Rollback };

// Makes a new database file of this system at `path` (which must not exist):
// sets its application id and schema version, stores the salted hash of
// `password` in its meta table, and runs `statements` in one transaction.
bool createDatabaseFile(const QString &path, qint32 applicationId, const QString &password,
                        const QStringList &statements, DbError *error, Journal journal = Journal::Wal);

// Statements over one table for names that come from the schema, never from
// user text (they are quoted, not bound); the values go in as ? parameters.
QString quoteIdentifier(const QString &name);
// "INSERT INTO t (a, b) VALUES (?, ?)", or with DEFAULT VALUES for no columns.
QString insertStatement(const QString &table, const QStringList &columns);
// "UPDATE t SET a = ?, b = ? WHERE key = ?"
QString updateStatement(const QString &table, const QStringList &columns, const QString &key);

// True when `path` names a file that a database open in this process keeps its
// records in: the file itself, or its -wal, -shm or -journal beside it.  Such a
// file is the engine's alone: opened, copied over or removed by anyone else it
// loses records (and opening it only to read drops the engine's locks).
bool isOpenDatabaseFile(const QString &path);

// Two field values compared as findFirst compares them: numbers by value when
// either is a number, text without regard to case; Null equals nothing.
bool sameValue(const QVariant &a, const QVariant &b);

// The password out of a connect string such as "MS Access;PWD=secret" or
// ";DATABASE=file;PWD=secret;"; the file out of the latter ("" when none).
QString connectPassword(const QString &connect);
QString connectDatabase(const QString &connect);

} // namespace db
