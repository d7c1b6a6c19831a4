// The database layer on real files: opening and refusing files, the password
// gate, recordsets, dynaset writes, compacting, and two programs on one file.

#include "platform/db/database.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace db;

namespace {

const QString kPassword = QStringLiteral("Pa$s");

QString connectFor(const QString &password) { return QStringLiteral("MS Access;PWD=") + password; }

const QString kConnect = connectFor(kPassword);

// A small schema in the shape of the system's own: keys that count, defaults,
// a cascade, a trigger whose body holds ';', and a saved query as a view.
QStringList schema()
{
    return {
        QStringLiteral("CREATE TABLE tbl_pet (pet_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "pet_name TEXT COLLATE NOCASE, pet_nickname TEXT COLLATE NOCASE, "
                       "pet_object_type INTEGER NOT NULL DEFAULT 1, "
                       "pet_cr_ts TEXT DEFAULT (datetime('now','localtime')), pet_diary_count INTEGER DEFAULT 0)"),
        QStringLiteral("CREATE TABLE tbl_diary (diary_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "diary_pet_id INTEGER NOT NULL REFERENCES tbl_pet(pet_id) ON DELETE CASCADE, "
                       "diary_text TEXT)"),
        QStringLiteral("CREATE TRIGGER trg_diary_count AFTER INSERT ON tbl_diary BEGIN "
                       "UPDATE tbl_pet SET pet_diary_count = pet_diary_count + 1 WHERE pet_id = NEW.diary_pet_id; "
                       "UPDATE tbl_pet SET pet_nickname = pet_nickname WHERE pet_id = NEW.diary_pet_id; END"),
        QStringLiteral("CREATE VIEW qry_pet AS SELECT pet_id, pet_name FROM tbl_pet"),
        QStringLiteral("CREATE TABLE tbl_who (who_id INTEGER PRIMARY KEY AUTOINCREMENT, who TEXT)"),
    };
}

// Everything in `dir` but the given names.
QStringList strayFiles(const QString &dir, const QStringList &expected = {})
{
    QStringList found = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &e : expected)
        found.removeAll(e);
    return found;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

qint64 scalar(Database &d, const QString &sql, const QVariantList &params = {})
{
    auto rs = d.openRecordset(sql, params);
    return rs && !rs->isEOF() ? rs->field(0).toLongLong() : -1;
}

// The child side of the two-program test: open the file the parent holds, report
// what the parent wrote, add a row of its own.
int childWrite(const QString &path)
{
    Workspace ws;
    DbError e;
    auto d = ws.openDatabase(path, false, false, kConnect, &e, kDataFileId);
    if (!d) {
        fprintf(stderr, "child open: %d %s\n", e.number, qPrintable(e.description));
        return 2;
    }
    const qint64 seen =
        scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_who WHERE who = ?"), {QStringLiteral("parent")});
    if (!d->execute(QStringLiteral("INSERT INTO tbl_who (who) VALUES (?)"), {QStringLiteral("child")})) {
        fprintf(stderr, "child write: %d %s\n", d->lastError().number, qPrintable(d->lastError().description));
        return 3;
    }
    printf("%lld\n", seen);
    return 0;
}

} // namespace

class TstDb : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_dir;

    QString pathOf(const QString &name) const { return m_dir + QLatin1Char('/') + name; }

    // A fresh data file with the test schema.
    QString makeFile(const QString &name = QStringLiteral("Zorbi.dat"), qint32 id = kDataFileId)
    {
        const QString path = pathOf(name);
        DbError e;
        if (!createDatabaseFile(path, id, kPassword, schema(), &e))
            qWarning("createDatabaseFile: %d %s", e.number, qPrintable(e.description));
        return path;
    }

    std::unique_ptr<Database> open(const QString &path, DbError *e = nullptr, qint32 expected = kDataFileId,
                                   bool readOnly = false)
    {
        DbError local;
        return Workspace().openDatabase(path, false, readOnly, kConnect, e ? e : &local, expected);
    }

    qint64 addPet(Database &d, const QString &name)
    {
        if (!d.execute(QStringLiteral("INSERT INTO tbl_pet (pet_name) VALUES (?)"), {name}))
            return -1;
        return d.lastInsertId().toLongLong();
    }

private slots:
    void init()
    {
        QVERIFY(m_tmp.isValid());
        // A fresh folder per test, so stray files are easy to see.
        static int n = 0;
        m_dir = m_tmp.path() + QStringLiteral("/case%1").arg(++n);
        QVERIFY(QDir().mkpath(m_dir));
        // Connections must be released cleanly, never while still in use.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QSqlDatabase")));
    }

    void createThenOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Zorbi.dat";
        QTest::newRow("blank") << "My Pets.dat";
        QTest::newRow("hash") << "pets#1.dat";
        QTest::newRow("question mark") << "what?mode=ro.dat";
        QTest::newRow("percent") << "100%20sure.dat";
        QTest::newRow("non-ASCII") << "Schnüffel & Co.dat";
    }
    void createThenOpen()
    {
        QFETCH(QString, name);
        const QString path = makeFile(name);
        QCOMPARE(strayFiles(m_dir), QStringList{name});
        {
            DbError e;
            auto d = open(path, &e);
            QVERIFY2(d, qPrintable(e.description));
            QVERIFY(!e);
            QVERIFY(d->isOpen());
            QCOMPARE(d->path(), path);
            QCOMPARE(d->applicationId(), kDataFileId);
            QCOMPARE(scalar(*d, QStringLiteral("PRAGMA foreign_keys")), 1);
            QCOMPARE(scalar(*d, QStringLiteral("PRAGMA user_version")), kSchemaVersion);
            auto mode = d->openRecordset(QStringLiteral("PRAGMA journal_mode"));
            QVERIFY(mode);
            QCOMPARE(mode->field(0).toString(), QStringLiteral("wal"));
            QVERIFY(addPet(*d, QStringLiteral("Rex")) > 0);
            // Either kind is accepted when no kind is asked for.
            auto any = Workspace().openDatabase(path, false, false, kConnect, &e, 0);
            QVERIFY(any);
            QCOMPARE(scalar(*any, QStringLiteral("SELECT count(*) FROM tbl_pet")), 1);
        }
        // The last close folds the journal back: only the file is left.
        QCOMPARE(strayFiles(m_dir), QStringList{name});
    }

    void createRefusesExistingPath()
    {
        const QString path = pathOf(QStringLiteral("taken.dat"));
        QVERIFY(writeAll(path, "keep me"));
        DbError e;
        QVERIFY(!createDatabaseFile(path, kDataFileId, kPassword, schema(), &e));
        QCOMPARE(e.number, int(ErrDatabaseExists));
        QCOMPARE(readAll(path), QByteArray("keep me"));
    }

    void createRemovesHalfMadeFile()
    {
        const QString path = pathOf(QStringLiteral("half.dat"));
        QStringList statements = schema();
        statements.insert(2, QStringLiteral("CREATE TABLE tbl_broken (x INTEGER"));
        DbError e;
        QVERIFY(!createDatabaseFile(path, kDataFileId, kPassword, statements, &e));
        QCOMPARE(e.number, int(ErrSyntax));
        QVERIFY2(e.description.contains(QStringLiteral("statement 3")), qPrintable(e.description));
        QCOMPARE(strayFiles(m_dir), QStringList());

        QVERIFY(
            !createDatabaseFile(pathOf(QStringLiteral("no/such/folder.dat")), kDataFileId, kPassword, schema(), &e));
        QCOMPARE(e.number, int(ErrNotValidPath));
    }

    void missingFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("plain") << "Zorbi.dat" << false;
        QTest::newRow("plain, read-only") << "Zorbi.dat" << true;
        QTest::newRow("blank") << "My Pets.dat" << false;
        QTest::newRow("question mark") << "a?b.dat" << false;
        QTest::newRow("hash") << "a#b.dat" << false;
        QTest::newRow("folder missing") << "gone/Zorbi.dat" << false;
        QTest::newRow("a folder, not a file") << "." << false;
    }
    void missingFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, readOnly);
        const QString path = pathOf(name);
        DbError e;
        auto d = Workspace().openDatabase(path, false, readOnly, kConnect, &e);
        QVERIFY(!d);
        QCOMPARE(e.number, int(ErrFileNotFound));
        QCOMPARE(e.description, QStringLiteral("Could not find file '%1'.").arg(path));
        QCOMPARE(strayFiles(m_dir), QStringList());
        QCOMPARE(QDir(m_dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void unrecognizedFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("text file") << "text" << kDataFileId;
        QTest::newRow("empty file") << "empty" << kDataFileId;
        QTest::newRow("header only") << "header" << kDataFileId;
        QTest::newRow("first page only") << "firstpage" << kDataFileId;
        QTest::newRow("damaged page") << "damaged" << kDataFileId;
        QTest::newRow("plain SQLite file") << "foreign" << qint32(0);
        QTest::newRow("our id, no meta table") << "nometa" << qint32(0);
        QTest::newRow("newer schema version") << "newer" << qint32(0);
        QTest::newRow("system file where the data file is expected") << "system" << kDataFileId;
        QTest::newRow("data file where the system file is expected") << "data" << kSystemFileId;
        QTest::newRow("unknown id of our making") << "otherid" << qint32(0);
    }
    void unrecognizedFile()
    {
        QFETCH(QString, kind);
        QFETCH(qint32, expected);
        const QString path = pathOf(QStringLiteral("file.dat"));
        auto plainSqlite = [&](const QStringList &statements) {
            {
                QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
                c.setDatabaseName(path);
                QVERIFY(c.open());
                QSqlQuery q(c);
                for (const QString &s : statements)
                    QVERIFY2(q.exec(s), qPrintable(s));
            }
            QSqlDatabase::removeDatabase(QStringLiteral("plain"));
        };
        if (kind == QLatin1String("text")) {
            QVERIFY(writeAll(path, "Name,Species\nRex,Dog\n"));
        } else if (kind == QLatin1String("empty")) {
            QVERIFY(writeAll(path, {}));
        } else if (kind == QLatin1String("foreign")) {
            plainSqlite({QStringLiteral("CREATE TABLE tbl_pet (pet_id INTEGER PRIMARY KEY)")});
        } else if (kind == QLatin1String("nometa")) {
            plainSqlite({QStringLiteral("PRAGMA application_id=%1").arg(kDataFileId),
                         QStringLiteral("PRAGMA user_version=1"),
                         QStringLiteral("CREATE TABLE tbl_pet (pet_id INTEGER PRIMARY KEY)")});
        } else if (kind == QLatin1String("system")) {
            makeFile(QStringLiteral("file.dat"), kSystemFileId);
        } else if (kind == QLatin1String("otherid")) {
            makeFile(QStringLiteral("file.dat"), 0x12345678);
        } else {
            makeFile(QStringLiteral("file.dat"));
            {
                auto d = open(path);
                QVERIFY(d);
                for (int i = 0; i < 200; ++i)
                    addPet(*d, QStringLiteral("pet %1 ").arg(i).repeated(20));
                if (kind == QLatin1String("newer"))
                    QVERIFY(d->execute(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion + 1)));
            }
            QByteArray bytes = readAll(path);
            QVERIFY(bytes.size() > 3 * 4096);
            if (kind == QLatin1String("header"))
                bytes.truncate(100);
            else if (kind == QLatin1String("firstpage"))
                bytes.truncate(4096);
            else if (kind == QLatin1String("damaged"))
                bytes.replace(4096, 4096, QByteArray(4096, '\xA5')); // the meta table's page
            QVERIFY(writeAll(path, bytes));
        }
        const QByteArray before = readAll(path);
        DbError e;
        auto d = Workspace().openDatabase(path, false, false, kConnect, &e, expected);
        QVERIFY(!d);
        QCOMPARE(e.number, int(ErrUnrecognizedFormat));
        QCOMPARE(e.description, QStringLiteral("Unrecognized database format '%1'.").arg(path));
        // A refused file is left as it was, and nothing is left beside it.
        QCOMPARE(readAll(path), before);
        QCOMPARE(strayFiles(m_dir), QStringList{QStringLiteral("file.dat")});
    }

    void password_data()
    {
        QTest::addColumn<QString>("connect");
        QTest::addColumn<int>("number");
        QTest::newRow("right") << connectFor(QStringLiteral("Pa$s")) << 0;
        QTest::newRow("report form") << ";DATABASE=x;PWD=Pa$s;" << 0;
        QTest::newRow("key case") << "MS Access;pwd=Pa$s" << 0;
        QTest::newRow("wrong") << connectFor(QStringLiteral("pa$s")) << int(ErrNotValidPassword);
        QTest::newRow("none") << "MS Access;" << int(ErrNotValidPassword);
        QTest::newRow("longer") << connectFor(QStringLiteral("Pa$s ")) << int(ErrNotValidPassword);
    }
    void password()
    {
        QFETCH(QString, connect);
        QFETCH(int, number);
        const QString path = makeFile();
        DbError e;
        auto d = Workspace().openDatabase(path, false, false, connect, &e);
        QCOMPARE(e.number, number);
        QCOMPARE(bool(d), number == 0);
        if (number)
            QCOMPARE(e.description, QStringLiteral("Not a valid password."));
    }

    void connectStrings_data()
    {
        QTest::addColumn<QString>("connect");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("database");
        QTest::newRow("report") << ";DATABASE=f;PWD=x;"
                                << "x"
                                << "f";
        QTest::newRow("engine") << "MS Access;PWD=x"
                                << "x"
                                << "";
        QTest::newRow("keys without case") << ";database=/a b/Zorbi.dat;Pwd=x y;"
                                           << "x y"
                                           << "/a b/Zorbi.dat";
        QTest::newRow("blanks round keys") << "MS Access; PWD =x"
                                           << "x"
                                           << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("no password") << "Access 2000;"
                                     << ""
                                     << "";
    }
    void connectStrings()
    {
        QFETCH(QString, connect);
        QFETCH(QString, password);
        QFETCH(QString, database);
        QCOMPARE(connectPassword(connect), password);
        QCOMPARE(connectDatabase(connect), database);
    }

    void readOnlyOpen()
    {
        const QString path = makeFile();
        {
            auto d = open(path);
            addPet(*d, QStringLiteral("Rex"));
        }
        DbError e;
        auto d = open(path, &e, kDataFileId, true);
        QVERIFY2(d, qPrintable(e.description));
        QCOMPARE(scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_pet")), 1);
        QVERIFY(!d->execute(QStringLiteral("DELETE FROM tbl_pet")));
        QCOMPARE(d->lastError().number, int(ErrReadOnly));
    }

    void exclusiveOpenLocksOthersOut()
    {
        const QString path = makeFile();
        DbError e;
        auto holder = Workspace().openDatabase(path, true, false, kConnect, &e);
        QVERIFY2(holder, qPrintable(e.description));
        QElapsedTimer t;
        t.start();
        auto other = open(path, &e);
        QVERIFY(!other);
        QCOMPARE(e.number, int(ErrOpenedExclusively));
        QCOMPARE(e.description, QStringLiteral("The database file '%1' is locked by another program.").arg(path));
        QVERIFY(t.elapsed() >= 4000); // it waited out the busy timeout first
        holder.reset();
        QVERIFY(open(path));
    }

    void recordsetWalk()
    {
        auto d = open(makeFile());
        QVERIFY(d);
        addPet(*d, QStringLiteral("Bella"));
        addPet(*d, QStringLiteral("rex"));
        addPet(*d, QStringLiteral("Abby"));
        QVERIFY(d->execute(QStringLiteral("UPDATE tbl_pet SET pet_nickname = '' WHERE pet_name = 'Abby'")));
        QCOMPARE(d->recordsAffected(), 1);

        auto rs = d->openRecordset(QStringLiteral("SELECT * FROM tbl_pet ORDER BY pet_name"));
        QVERIFY(rs);
        QCOMPARE(rs->recordCount(), 3);
        QVERIFY(!rs->isBOF());
        QVERIFY(!rs->isEOF());
        QCOMPARE(rs->absolutePosition(), 0);
        QCOMPARE(rs->fieldCount(), 6);
        QCOMPARE(rs->fieldNames().first(), QStringLiteral("pet_id"));
        QVERIFY(rs->hasField(QStringLiteral("PET_NAME")));
        QVERIFY(!rs->hasField(QStringLiteral("pet_colour")));
        QCOMPARE(rs->field(QStringLiteral("Pet_Name")).toString(), QStringLiteral("Abby"));
        // "" and Null are two things.
        QVERIFY(!rs->isNull(QStringLiteral("pet_nickname")));
        QCOMPARE(rs->field(QStringLiteral("pet_nickname")).toString(), QString());
        QStringList names;
        for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
            names << rs->field(1).toString();
        QCOMPARE(names, (QStringList{"Abby", "Bella", "rex"})); // NOCASE order
        QVERIFY(rs->isEOF());
        QCOMPARE(rs->absolutePosition(), -1);
        QVERIFY(!rs->field(QStringLiteral("pet_name")).isValid());
        rs->moveNext();
        QCOMPARE(rs->lastError().number, int(ErrNoCurrentRecord));
        rs->moveLast();
        QVERIFY(!rs->lastError());
        QCOMPARE(rs->field(QStringLiteral("pet_name")).toString(), QStringLiteral("rex"));
        QVERIFY(rs->isNull(QStringLiteral("pet_nickname")));
        rs->movePrevious();
        rs->movePrevious();
        rs->movePrevious();
        QVERIFY(rs->isBOF());
        rs->movePrevious();
        QCOMPARE(rs->lastError().number, int(ErrNoCurrentRecord));
        QVERIFY(rs->move(1));
        QCOMPARE(rs->field(QStringLiteral("pet_name")).toString(), QStringLiteral("Bella"));
        QVERIFY(!rs->move(3));
        QCOMPARE(rs->absolutePosition(), 1);

        QVERIFY(rs->findFirst(QStringLiteral("PET_NAME"), QStringLiteral("REX")));
        QCOMPARE(rs->absolutePosition(), 2);
        const qint64 rexId = rs->field(QStringLiteral("pet_id")).toLongLong();
        QVERIFY(rs->move(0));
        QVERIFY(rs->findFirst(QStringLiteral("pet_id"), QString::number(rexId)));
        QCOMPARE(rs->absolutePosition(), 2);
        QVERIFY(!rs->findFirst(QStringLiteral("pet_name"), QStringLiteral("Nobody")));
        QCOMPARE(rs->absolutePosition(), 2);
        QVERIFY(!rs->findFirst(QStringLiteral("pet_nickname"), QVariant()));

        // An empty set is at BOF and EOF at once, and still knows its fields.
        auto none = d->openRecordset(QStringLiteral("SELECT * FROM tbl_pet WHERE pet_id = ?"), {0});
        QVERIFY(none);
        QCOMPARE(none->recordCount(), 0);
        QVERIFY(none->isBOF() && none->isEOF());
        QCOMPARE(none->fieldCount(), 6);
        none->moveFirst();
        QCOMPARE(none->lastError().number, int(ErrNoCurrentRecord));

        // A snapshot is a copy: later changes do not show in it.
        QVERIFY(d->execute(QStringLiteral("DELETE FROM tbl_pet")));
        QCOMPARE(rs->recordCount(), 3);
        rs->close();
        QCOMPARE(rs->recordCount(), 0);
    }

    void boundParameters()
    {
        auto d = open(makeFile());
        QVERIFY(d);
        const QString tricky = QStringLiteral("O'Brien \"Rex\"; DROP TABLE tbl_pet; -- ü");
        const qint64 id = addPet(*d, tricky);
        QVERIFY(id > 0);
        auto rs = d->openRecordset(QStringLiteral("SELECT pet_name FROM tbl_pet WHERE pet_name = ?"), {tricky});
        QVERIFY(rs);
        QCOMPARE(rs->recordCount(), 1);
        QCOMPARE(rs->field(QStringLiteral("pet_name")).toString(), tricky);
        // Named placeholders bind in order too.
        QVERIFY(d->execute(QStringLiteral("UPDATE tbl_pet SET pet_nickname = :nick WHERE pet_id = :id"),
                           {QStringLiteral("O'B"), id}));
        QCOMPARE(d->recordsAffected(), 1);
        QCOMPARE(scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_pet WHERE pet_nickname = 'O''B'")), 1);
        // Dates go in the files' text forms, True as -1.
        QVERIFY(d->execute(QStringLiteral("UPDATE tbl_pet SET pet_nickname = ?, pet_cr_ts = ?, pet_object_type = ?"),
                           {QDate(2024, 1, 5), QDateTime(QDate(2024, 1, 5), QTime(10, 0, 0, 123)), true}));
        rs = d->openRecordset(QStringLiteral("SELECT * FROM tbl_pet"));
        QCOMPARE(rs->field(QStringLiteral("pet_nickname")).toString(), QStringLiteral("2024-01-05"));
        QCOMPARE(rs->field(QStringLiteral("pet_cr_ts")).toString(), QStringLiteral("2024-01-05 10:00:00"));
        QCOMPARE(rs->field(QStringLiteral("pet_object_type")).toInt(), -1);
    }

    void rowByRow()
    {
        auto d = open(makeFile());
        QVERIFY(d);
        addPet(*d, QStringLiteral("Bella"));
        addPet(*d, QStringLiteral("rex"));
        addPet(*d, QStringLiteral("Abby"));
        QStringList seen, columns;
        QVERIFY(d->forEachRow(QStringLiteral("SELECT pet_name, pet_nickname FROM tbl_pet WHERE pet_name <> ? "
                                             "ORDER BY pet_name"),
                              {QStringLiteral("Bella")}, [&](const QStringList &names, const QVariantList &row) {
                                  columns = names;
                                  QCOMPARE(row.size(), 2);
                                  QVERIFY(row.at(1).isNull());
                                  seen << row.at(0).toString();
                              }));
        QCOMPARE(seen, (QStringList{"Abby", "rex"}));
        QCOMPARE(columns, (QStringList{"pet_name", "pet_nickname"}));
        QVERIFY(!d->lastError());
        int calls = 0;
        QVERIFY(d->forEachRow(QStringLiteral("SELECT * FROM tbl_pet WHERE pet_id = 0"), {},
                              [&](const QStringList &, const QVariantList &) { ++calls; }));
        QCOMPARE(calls, 0);
        // A failing statement says so, with the engine's error, and hands over nothing.
        QVERIFY(!d->forEachRow(QStringLiteral("SELEC * FROM tbl_pet"), {},
                               [&](const QStringList &, const QVariantList &) { ++calls; }));
        QCOMPARE(d->lastError().number, int(ErrSyntax));
        QCOMPARE(calls, 0);
        d->close();
        QVERIFY(!d->forEachRow(QStringLiteral("SELECT * FROM tbl_pet"), {},
                               [&](const QStringList &, const QVariantList &) { ++calls; }));
        QCOMPARE(d->lastError().number, int(ErrObjectInvalid));
    }

    void statementErrors_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("params");
        QTest::addColumn<int>("number");
        QTest::newRow("syntax") << "SELEC * FROM tbl_pet" << QVariantList() << int(ErrSyntax);
        QTest::newRow("no such table") << "SELECT * FROM tbl_nothing" << QVariantList() << int(ErrSyntax);
        QTest::newRow("two statements") << "DELETE FROM tbl_pet; DELETE FROM tbl_diary" << QVariantList()
                                        << int(ErrSyntax);
        QTest::newRow("duplicate key") << "INSERT INTO tbl_pet (pet_id) VALUES (1)" << QVariantList()
                                       << int(ErrDuplicateKey);
        QTest::newRow("related record") << "INSERT INTO tbl_diary (diary_pet_id) VALUES (?)" << QVariantList{99}
                                        << int(ErrRelatedRecordRequired);
        QTest::newRow("required") << "INSERT INTO tbl_diary (diary_text) VALUES ('x')" << QVariantList()
                                  << int(ErrFieldRequired);
    }
    void statementErrors()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, params);
        QFETCH(int, number);
        auto d = open(makeFile());
        QVERIFY(d);
        addPet(*d, QStringLiteral("Rex"));
        QVERIFY(!d->execute(sql, params));
        QCOMPARE(d->lastError().number, number);
        QVERIFY(!d->lastError().description.isEmpty());
        QVERIFY(!d->openRecordset(sql, params));
        QCOMPARE(d->lastError().number, number);
        QCOMPARE(scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_pet")), 1);
    }

    void foreignKeysCascadeAndTriggers()
    {
        auto d = open(makeFile());
        QVERIFY(d);
        const qint64 rex = addPet(*d, QStringLiteral("Rex"));
        const qint64 tom = addPet(*d, QStringLiteral("Tom"));
        for (qint64 pet : {rex, rex, tom})
            QVERIFY(d->execute(QStringLiteral("INSERT INTO tbl_diary (diary_pet_id) VALUES (?)"), {pet}));
        // The trigger with ';' in its body was made whole.
        QCOMPARE(scalar(*d, QStringLiteral("SELECT pet_diary_count FROM tbl_pet WHERE pet_id = ?"), {rex}), 2);
        QVERIFY(d->execute(QStringLiteral("DELETE FROM tbl_pet WHERE pet_id = ?"), {rex}));
        QCOMPARE(scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_diary")), 1);
        QCOMPARE(scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_diary WHERE diary_pet_id = ?"), {tom}), 1);
    }

    void transactions()
    {
        auto d = open(makeFile());
        QVERIFY(d);
        QVERIFY(d->transaction());
        addPet(*d, QStringLiteral("Gone"));
        QVERIFY(d->rollback());
        QVERIFY(d->transaction());
        addPet(*d, QStringLiteral("Kept"));
        QVERIFY(d->commit());
        QCOMPARE(scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_pet")), 1);
        QVERIFY(!d->commit());
        QCOMPARE(d->lastError().number, int(ErrSyntax));
    }

    void compact_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("number");
        QTest::newRow("new file") << "Backup 1.dat" << 0;
        QTest::newRow("odd name") << "back#up?x=1%.dat" << 0;
        QTest::newRow("target exists") << "Zorbi.dat" << int(ErrDatabaseExists);
        QTest::newRow("folder missing") << "gone/Backup.dat" << int(ErrPermissionDenied);
    }
    void compact()
    {
        QFETCH(QString, target);
        QFETCH(int, number);
        const QString path = makeFile();
        const QString targetPath = pathOf(target);
        auto d = open(path);
        QVERIFY(d);
        for (int i = 0; i < 50; ++i)
            addPet(*d, QStringLiteral("pet %1").arg(i));
        QVERIFY(d->execute(QStringLiteral("DELETE FROM tbl_pet WHERE pet_id > 10")));
        const QByteArray before = readAll(targetPath);
        QCOMPARE(d->compactTo(targetPath), number == 0);
        QCOMPARE(d->lastError().number, number);
        if (number) {
            QVERIFY(!d->lastError().description.isEmpty());
            QCOMPARE(readAll(targetPath), before);
            return;
        }
        // The copy is a whole file of ours, behind the same password, while the source stays open.
        DbError e;
        auto copy = open(targetPath, &e);
        QVERIFY2(copy, qPrintable(e.description));
        QCOMPARE(scalar(*copy, QStringLiteral("SELECT count(*) FROM tbl_pet")), 10);
        QCOMPARE(copy->applicationId(), kDataFileId);
        QVERIFY(!Workspace().openDatabase(targetPath, false, false, connectFor(QStringLiteral("x")), &e));
        QCOMPARE(e.number, int(ErrNotValidPassword));
        QVERIFY(addPet(*copy, QStringLiteral("new")) > 50); // keys go on counting
        QVERIFY(addPet(*d, QStringLiteral("still open")) > 0);
    }

    void closeReleasesTheConnection()
    {
        auto d = open(makeFile());
        QVERIFY(d);
        addPet(*d, QStringLiteral("Rex"));
        auto rs = d->openRecordset(QStringLiteral("SELECT * FROM tbl_pet"));
        QVERIFY(rs);
        const QString name = d->connection().connectionName();
        QVERIFY(QSqlDatabase::contains(name));
        d->close();
        QVERIFY(!QSqlDatabase::contains(name));
        QVERIFY(!d->isOpen());
        // What was read stays readable; a statement on a closed file fails cleanly.
        QCOMPARE(rs->field(QStringLiteral("pet_name")).toString(), QStringLiteral("Rex"));
        QVERIFY(!d->execute(QStringLiteral("SELECT 1")));
        QCOMPARE(d->lastError().number, int(ErrObjectInvalid));
        d->close(); // twice is harmless
        d.reset();
    }

    // Two programs on one file: the parent holds it open, and holds a write for a
    // moment while the child starts, so the child's write waits out the lock.
    void twoProcessesShareTheFile()
    {
        const QString path = makeFile();
        auto d = open(path);
        QVERIFY(d);
        QVERIFY(d->execute(QStringLiteral("INSERT INTO tbl_who (who) VALUES ('parent')")));
        QVERIFY(d->transaction());
        QVERIFY(d->execute(QStringLiteral("INSERT INTO tbl_who (who) VALUES ('parent')")));

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZB_TST_DB_CHILD"), path);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForStarted());
        QTest::qWait(500);
        QVERIFY(d->commit());
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        // The child saw at least the committed row, never the uncommitted one alone.
        const int seen = child.readAllStandardOutput().trimmed().toInt();
        QVERIFY(seen == 1 || seen == 2);
        QCOMPARE(scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_who WHERE who = 'child'")), 1);
        QCOMPARE(scalar(*d, QStringLiteral("SELECT count(*) FROM tbl_who WHERE who = 'parent'")), 2);
        QVERIFY(d->execute(QStringLiteral("INSERT INTO tbl_who (who) VALUES ('parent after')")));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString child = qEnvironmentVariable("ZB_TST_DB_CHILD");
    if (!child.isEmpty())
        return childWrite(child);
    TstDb test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_db.moc"
