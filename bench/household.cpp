#include "household.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/settings.h"
#include "data/schema.h"
#include "platform/db/database.h"

#include <QDate>
#include <QDir>
#include <QSettings>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace bench {

namespace {
const char *const kNames[] = {"Rex",   "Bella", "Max",   "Luna",   "Charlie", "Daisy",  "Milo",  "Coco",
                              "Oscar", "Molly", "Teddy", "Willow", "Biscuit", "Pepper", "Shadow"};
const char *const kVaccines[] = {"Rabies",        "Distemper",       "Parvovirus",        "Bordetella",
                                 "Leptospirosis", "Feline Leukemia", "Heartworm tablets", "Flea treatment"};
const char *const kCategories[] = {"Health", "Grooming", "Training", "Food", "Fun", "Vet visit"};
const char *const kSurnames[] = {"Smith", "Jones",  "Garcia", "Brown", "Miller",
                                 "Davis", "Wilson", "Clark",  "Lewis", "Walker"};

QString iso(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

bool run(QSqlQuery &q, QString *error)
{
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}
} // namespace

// The pet with the most rows of its own (diary entries, vaccinations,
// pictures, commands and properties) in the data file open, 0 for none.
long busiestPet()
{
    auto rs = gDataDB->openRecordset(
        QStringLiteral("SELECT pet_id FROM tbl_pet ORDER BY "
                       "(SELECT count(*) FROM tbl_diary WHERE diary_pet_id = pet_id) "
                       "+ (SELECT count(*) FROM tbl_vaccine WHERE vaccine_pet_id = pet_id) "
                       "+ (SELECT count(*) FROM tbl_picture WHERE picture_pet_id = pet_id) "
                       "+ (SELECT count(*) FROM tbl_command WHERE command_pet_id = pet_id) "
                       "+ (SELECT count(*) FROM tbl_property WHERE property_pet_id = pet_id) DESC, pet_id LIMIT 1"));
    return rs && !rs->isEOF() ? long(rs->field(0).toLongLong()) : 0;
}

bool makeHousehold(const QString &path, const HouseholdSize &size, QString *error)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    db::DbError err;
    if (!db::createDatabaseFile(path, db::kDataFileId, funGetDBPassword(), schema::dataFileStatements(), &err)) {
        if (error)
            *error = err.description;
        return false;
    }
    const QString conn = QStringLiteral("bench-household");
    bool ok = true;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
        c.setDatabaseName(path);
        if (!c.open()) {
            if (error)
                *error = c.lastError().text();
            ok = false;
        }
        QRandomGenerator rng(20261210); // the same household every time
        const QDate today(2026, 12, 10);
        auto pick = [&](int n) { return int(rng.bounded(n)); };
        auto dayAround = [&](int spread) { return today.addDays(pick(2 * spread) - spread); };

        if (ok)
            c.transaction();
        QSqlQuery q(c);
        if (ok)
            q.prepare(QStringLiteral("INSERT INTO tbl_contact (contact_name, contact_address, contact_city,"
                                     " contact_state, contact_zip, contact_ph_1, contact_ph_1_type,"
                                     " contact_email) VALUES (?,?,?,?,?,?,?,?)"));
        for (int i = 1; ok && i <= size.people; ++i) {
            q.addBindValue(
                QStringLiteral("%1 %2").arg(QLatin1String(kNames[i % 15]), QLatin1String(kSurnames[i % 10])));
            q.addBindValue(QStringLiteral("%1 Elm Street").arg(i));
            q.addBindValue(QStringLiteral("Springfield"));
            q.addBindValue(QStringLiteral("IL"));
            q.addBindValue(QStringLiteral("6270%1").arg(i % 10));
            q.addBindValue(QStringLiteral("555-01%1").arg(i % 100, 2, 10, QLatin1Char('0')));
            q.addBindValue(QStringLiteral("Home"));
            q.addBindValue(QStringLiteral("person%1@example.org").arg(i));
            ok = run(q, error);
        }
        if (ok)
            q.prepare(QStringLiteral("INSERT INTO tbl_pet (pet_species_id, pet_name, pet_dob, pet_breed,"
                                     " pet_gender, pet_vet_id, pet_sitter_id, pet_emergency_contact_id,"
                                     " pet_feeding, pet_care) VALUES (?,?,?,?,?,?,?,?,?,?)"));
        for (int i = 1; ok && i <= size.pets; ++i) {
            q.addBindValue(1 + pick(10));
            q.addBindValue(QStringLiteral("%1 %2").arg(QLatin1String(kNames[i % 15])).arg(i));
            q.addBindValue(iso(today.addDays(-pick(5000) - 30)));
            q.addBindValue(QStringLiteral("Mixed"));
            q.addBindValue(i % 2 ? QStringLiteral("Female") : QStringLiteral("Male"));
            q.addBindValue(1 + pick(std::max(1, size.people)));
            q.addBindValue(1 + pick(std::max(1, size.people)));
            q.addBindValue(1 + pick(std::max(1, size.people)));
            q.addBindValue(QStringLiteral("Twice a day."));
            q.addBindValue(QStringLiteral("Brush weekly."));
            ok = run(q, error);
        }
        // Pet 1 takes the busy pet's share; the others share the rest.
        auto ownerOf = [&](int i, int busyShare) {
            if (busyShare == 0)
                return 1 + pick(size.pets);
            return i <= busyShare || size.pets < 2 ? int(kBusyPet) : 2 + pick(size.pets - 1);
        };
        if (ok)
            q.prepare(QStringLiteral("INSERT INTO tbl_vaccine (vaccine_pet_id, vaccine_name,"
                                     " vaccine_received_date, vaccine_expiration_date, vaccine_vet_id,"
                                     " vaccine_notes) VALUES (?,?,?,?,?,?)"));
        for (int i = 1; ok && i <= size.vaccinations; ++i) {
            const QDate received = dayAround(700);
            q.addBindValue(ownerOf(i, size.busyPetVaccinations));
            q.addBindValue(QLatin1String(kVaccines[pick(8)]));
            q.addBindValue(iso(received));
            q.addBindValue(iso(received.addYears(1)));
            q.addBindValue(1 + pick(std::max(1, size.people)));
            q.addBindValue(QStringLiteral("Booster due next year."));
            ok = run(q, error);
        }
        if (ok)
            q.prepare(QStringLiteral("INSERT INTO tbl_diary (diary_pet_id, diary_date, diary_category,"
                                     " diary_text) VALUES (?,?,?,?)"));
        for (int i = 1; ok && i <= size.diary; ++i) {
            q.addBindValue(ownerOf(i, size.busyPetDiary));
            q.addBindValue(iso(dayAround(900)));
            q.addBindValue(QLatin1String(kCategories[pick(6)]));
            q.addBindValue(QStringLiteral("A walk in the park, then a long nap."));
            ok = run(q, error);
        }
        if (ok)
            q.prepare(QStringLiteral("INSERT INTO tbl_event (event_name, event_date, event_time, event_end_date,"
                                     " event_show_reminder, event_type_repeating, event_all_day,"
                                     " event_reminder_minutes, event_repeat_every, event_notes)"
                                     " VALUES (?,?,?,?,?,?,?,?,?,?)"));
        for (int i = 1; ok && i <= size.events; ++i) {
            const bool repeating = i <= size.repeatingEvents;
            const QDate d = dayAround(400);
            q.addBindValue(repeating ? QStringLiteral("Walk the dog") : QStringLiteral("Vet appointment"));
            q.addBindValue(iso(d));
            q.addBindValue(QStringLiteral("%1:%2:00")
                               .arg(8 + pick(10), 2, 10, QLatin1Char('0'))
                               .arg(pick(4) * 15, 2, 10, QLatin1Char('0')));
            q.addBindValue(repeating ? iso(d.addYears(2)) : iso(d.addMonths(1)));
            q.addBindValue(-1);
            q.addBindValue(repeating ? -1 : 0);
            q.addBindValue(0);
            q.addBindValue(30);
            q.addBindValue(1 + pick(4));
            q.addBindValue(QStringLiteral("Bring the lead."));
            ok = run(q, error);
        }
        if (ok)
            q.prepare(QStringLiteral("INSERT INTO tbl_picture (picture_pet_id, picture_title, picture_description,"
                                     " picture_date, picture_category, picture_filename) VALUES (?,?,?,?,?,?)"));
        for (int i = 1; ok && i <= size.pictures; ++i) {
            q.addBindValue(1 + pick(size.pets));
            q.addBindValue(QStringLiteral("Picture %1").arg(i));
            q.addBindValue(QStringLiteral("At the beach"));
            q.addBindValue(iso(dayAround(900)));
            q.addBindValue(QLatin1String(kCategories[pick(6)]));
            q.addBindValue(QStringLiteral("ZB_%1.jpg").arg(i, 5, 10, QLatin1Char('0')));
            ok = run(q, error);
        }
        q = QSqlQuery();
        if (ok)
            ok = c.commit();
        else
            c.rollback();
        c.close();
    }
    QSqlDatabase::removeDatabase(conn);
    return ok;
}

const HouseholdSize &householdSize(int size)
{
    switch (size) {
    case Huge: return kHuge;
    case Large: return kLarge;
    default: return kRealistic;
    }
}

const char *sizeName(int size)
{
    switch (size) {
    case Huge: return "huge";
    case Large: return "large";
    default: return "realistic";
    }
}

int sizeNamed(const QString &name)
{
    for (int size : {Realistic, Large, Huge})
        if (name == QLatin1String(sizeName(size)))
            return size;
    return -1;
}

QString benchFolder(const QString &root, int size) { return root + QLatin1Char('/') + QLatin1String(sizeName(size)); }

bool makeBenchFolders(const QString &root, int largest)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + QStringLiteral("/settings"));
    for (int size = Realistic; size <= largest; ++size) {
        const QString folder = benchFolder(root, size);
        QDir().mkpath(folder);
        db::DbError err;
        QString error;
        if (!db::createDatabaseFile(folder + QStringLiteral("/Zorbi.sys"), db::kSystemFileId, funGetDBPassword(),
                                    schema::systemFileStatements(), &err)
            || !makeHousehold(folder + QStringLiteral("/Zorbi.dat"), householdSize(size), &error)) {
            std::fprintf(stderr, "could not make the %s household: %s%s\n", sizeName(size), qPrintable(err.description),
                         qPrintable(error));
            return false;
        }
    }
    return true;
}

namespace {
QString g_root;
} // namespace

QString benchRoot() { return g_root; }

void useBenchFolder(int size)
{
    const QString folder = benchFolder(g_root, size);
    setProgramFolder(folder);
    settings::set(Setting::Database, folder + QStringLiteral("/Zorbi.dat"));
}

void useBenchRoot(const QString &root)
{
    g_root = root;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + QStringLiteral("/settings"));
}

int runBenchmarks(int argc, char **argv, int largest)
{
    QTemporaryDir dir;
    g_root = dir.path();
    if (!makeBenchFolders(g_root, largest))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetGlobals();
    g_root.clear();
    return 0;
}

} // namespace bench
