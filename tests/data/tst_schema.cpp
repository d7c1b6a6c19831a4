// The shipped schema, run on plain SQLite connections: the tables and views the
// readers rely on, what the views return on small households, the defaults,
// the constraints and the lookup rows.

#include "data/schema.h"
#include "platform/rtf.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

namespace {

const QString kNotAck = QStringLiteral("1900-01-01 00:00:00");

using Rows = QList<QVariantList>;

// The columns each table must have; from these the views' needs follow too.
QMap<QString, QStringList> expectedTables()
{
    return {
        {"tbl_pet",
         {"pet_id",
          "pet_object_type",
          "pet_species_id",
          "pet_name",
          "pet_nickname",
          "pet_color",
          "pet_dob",
          "pet_weight",
          "pet_height_length",
          "pet_gender",
          "pet_breed",
          "pet_mother",
          "pet_father",
          "pet_vet_id",
          "pet_sitter_id",
          "pet_emergency_contact_id",
          "pet_picture",
          "pet_feeding",
          "pet_care",
          "pet_notes",
          "pet_insurance_details",
          "pet_feeding_rtf",
          "pet_care_rtf",
          "pet_notes_rtf",
          "pet_insurance_details_rtf"}},
        {"tbl_vaccine",
         {"vaccine_id", "vaccine_object_type", "vaccine_pet_id", "vaccine_name", "vaccine_received_date",
          "vaccine_expiration_date", "vaccine_vet_id", "vaccine_acknowledged_date", "vaccine_cr_ts", "vaccine_notes"}},
        {"tbl_diary",
         {"diary_id", "diary_object_type", "diary_pet_id", "diary_date", "diary_category", "diary_text_rtf",
          "diary_text", "diary_cr_ts"}},
        {"tbl_command",
         {"command_id", "command_object_type", "command_pet_id", "command_name", "command_value", "command_cr_ts"}},
        {"tbl_property", {"property_id", "property_pet_id", "property_name", "property_value"}},
        {"tbl_contact",
         {"contact_id", "contact_name", "contact_address", "contact_city", "contact_state", "contact_zip",
          "contact_country", "contact_ph_1", "contact_ph_2", "contact_ph_3", "contact_ph_1_type", "contact_ph_2_type",
          "contact_ph_3_type", "contact_email", "contact_www", "contact_directions", "contact_notes"}},
        {"tbl_picture",
         {"picture_id", "picture_pet_id", "picture_title", "picture_description", "picture_date", "picture_category",
          "picture_filename"}},
        {"tbl_event",
         {"event_id", "event_name", "event_date", "event_time", "event_end_date", "event_show_reminder",
          "event_type_repeating", "event_all_day", "event_reminder_minutes", "event_repeat_every",
          "event_repeat_day_of_week", "event_repeat_day_of_month", "event_notes", "event_acknowledged_date"}},
        {"tbl_trip",
         {"trip_id", "trip_object_type", "trip_name", "trip_location", "trip_date_begin", "trip_date_begin_tod",
          "trip_date_end", "trip_date_end_tod", "trip_contact_location", "trip_contact_number", "trip_notes",
          "trip_cr_ts"}},
        // system file
        {"tbl_species", {"species_id", "species_name"}},
        {"tbl_breed", {"breed_name", "breed_species_id"}},
        {"tbl_gender", {"gender"}},
        {"tbl_phone_type", {"phone_type_name", "phone_type_sort_order"}},
        {"tbl_defaults", {"default_feeding_text", "default_care_text", "default_feeding_rtf", "default_care_rtf"}},
        {"tbl_repeat_type", {"repeat_type_id", "repeat_type_desc"}},
        {"tbl_reminder_units", {"reminder_desc", "reminder_minutes", "reminder_sort_order"}},
        {"tbl_trip_times", {"trip_time_name"}},
    };
}

} // namespace

class tst_schema : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_data, m_sys;

    bool build(QSqlDatabase &db, const QString &name, const QStringList &statements)
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_dir->filePath(name));
        if (!db.open())
            return false;
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
            return false;
        // All in one transaction, as the files are written.
        if (!db.transaction())
            return false;
        for (const QString &s : statements) {
            if (!q.exec(s)) {
                qWarning().noquote() << q.lastError().text() << "\n" << s;
                return false;
            }
        }
        return db.commit();
    }

    // Runs one statement with its values bound in order; fails the test on error.
    Rows rows(QSqlDatabase &db, const QString &sql, const QVariantList &params = {})
    {
        QSqlQuery q(db);
        if (!q.prepare(sql)) {
            QTest::qFail(qPrintable(q.lastError().text() + " in " + sql), __FILE__, __LINE__);
            return {};
        }
        for (const QVariant &p : params)
            q.addBindValue(p);
        if (!q.exec()) {
            QTest::qFail(qPrintable(q.lastError().text() + " in " + sql), __FILE__, __LINE__);
            return {};
        }
        Rows out;
        while (q.next()) {
            QVariantList r;
            // A NULL reads as an invalid QVariant, so rows compare with QVariant().
            for (int i = 0; i < q.record().count(); ++i)
                r << (q.isNull(i) ? QVariant() : q.value(i));
            out << r;
        }
        return out;
    }

    // The first value of the first row, or an invalid QVariant when there is none.
    QVariant value(QSqlDatabase &db, const QString &sql, const QVariantList &params = {})
    {
        return rows(db, sql, params).value(0).value(0);
    }

    // Adds a row to the data file; returns its key, or -1 when it was refused.
    qint64 add(const QString &table, const QVariantMap &values, QString *error = nullptr)
    {
        QStringList cols, marks;
        for (auto it = values.begin(); it != values.end(); ++it) {
            cols << it.key();
            marks << QStringLiteral("?");
        }
        QSqlQuery q(m_data);
        q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(", "), marks.join(", ")));
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec()) {
            if (error)
                *error = q.lastError().text();
            return -1;
        }
        return q.lastInsertId().toLongLong();
    }

    qint64 addPet(const QString &name, const QVariantMap &more = {})
    {
        QVariantMap v = more;
        v.insert("pet_name", name);
        if (!v.contains("pet_species_id"))
            v.insert("pet_species_id", 2);
        return add("tbl_pet", v);
    }

    qint64 addContact(const QString &name, const QString &ph1 = {}, const QString &ph2 = {})
    {
        return add("tbl_contact", {{"contact_name", name},
                                   {"contact_ph_1", ph1.isNull() ? QVariant() : QVariant(ph1)},
                                   {"contact_ph_2", ph2.isNull() ? QVariant() : QVariant(ph2)}});
    }

    static QStringList columnsOf(const QSqlRecord &r)
    {
        QStringList c;
        for (int i = 0; i < r.count(); ++i)
            c << r.fieldName(i);
        return c;
    }

private slots:
    void initTestCase()
    {
        // Half an hour off any whole-hour zone, so a creation time written in
        // UTC could never pass for local time.
        qputenv("TZ", "ZBT-05:30");
        tzset();
    }

    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        QVERIFY(build(m_data, "data.dat", schema::dataFileStatements()));
        QVERIFY(build(m_sys, "system.sys", schema::systemFileStatements()));
    }

    void cleanup()
    {
        m_data.close();
        m_sys.close();
        m_data = m_sys = QSqlDatabase();
        QSqlDatabase::removeDatabase("data.dat");
        QSqlDatabase::removeDatabase("system.sys");
        delete m_dir;
        m_dir = nullptr;
    }

    // --- what exists -------------------------------------------------------

    void namedObjects()
    {
        auto names = [this](QSqlDatabase &db, const char *type) {
            QStringList n;
            for (const auto &r : rows(db,
                                      "SELECT name FROM sqlite_master WHERE type = ? "
                                      "AND name NOT LIKE 'sqlite_%' ORDER BY name",
                                      {QString::fromLatin1(type)}))
                n << r[0].toString();
            return n;
        };
        auto sorted = [](QStringList l) {
            l.sort(Qt::CaseInsensitive);
            return l;
        };
        QCOMPARE(names(m_data, "table"), sorted(schema::dataFileTables()));
        QCOMPARE(names(m_sys, "table"), sorted(schema::systemFileTables()));
        QCOMPARE(sorted(names(m_data, "view")), sorted(schema::dataFileViews()));
        QCOMPARE(schema::dataFileViews().size(), qsizetype(14));
        QVERIFY(names(m_sys, "view").isEmpty());
        // The data file ships empty.
        for (const QString &t : schema::dataFileTables())
            QCOMPARE(rows(m_data, "SELECT count(*) FROM " + t).value(0).value(0).toInt(), 0);
    }

    void tableColumns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        const auto t = expectedTables();
        for (auto it = t.begin(); it != t.end(); ++it)
            QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
    }

    void tableColumns()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        QSqlDatabase &db = schema::dataFileTables().contains(table) ? m_data : m_sys;
        QStringList have;
        for (const auto &r : rows(db, "SELECT name FROM pragma_table_info(?)", {table}))
            have << r[0].toString();
        for (const QString &c : columns)
            QVERIFY2(have.contains(c), qPrintable(table + " lacks " + c));
    }

    void viewColumns_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("columns");
        const auto t = expectedTables();
        const QStringList calendar = {"object_id",      "misc_data",  "record_id",  "pet_id",
                                      "pet_species_id", "event_date", "event_time", "event_name"};
        const QStringList reminder = {"object_id",
                                      "record_id",
                                      "event_date",
                                      "event_time",
                                      "event_all_day",
                                      "event_reminder_minutes",
                                      "event_name",
                                      "event_type_repeating",
                                      "event_acknowledged_date"};
        const QStringList petReport =
            t["tbl_pet"] + QStringList{"pet_vet",  "pet_vet_ph",  "pet_sitter",     "pet_sitter_ph",
                                       "pet_emer", "pet_emer_ph", "pet_emer_ph_alt"};
        const QStringList pictures = {"picture_id",   "picture_title",       "picture_filename", "picture_category",
                                      "picture_date", "picture_description", "pet_name"};
        QTest::newRow("qry_vaccine") << "qry_vaccine" << t["tbl_vaccine"] + QStringList{"veterinarian_name"};
        QTest::newRow("qry_listview_picture") << "qry_listview_picture" << pictures;
        QTest::newRow("qry_Listview_Picture") << "qry_Listview_Picture" << pictures;
        QTest::newRow("qry_calendar_single") << "qry_calendar_single" << calendar;
        QTest::newRow("qry_calendar_repeating")
            << "qry_calendar_repeating"
            << calendar + QStringList{"event_end_date", "event_repeat_every", "event_compare_date"};
        QTest::newRow("qry_reminder_single") << "qry_reminder_single" << reminder;
        QTest::newRow("qry_reminder_events_repeating")
            << "qry_reminder_events_repeating" << reminder + QStringList{"event_end_date", "event_repeat_every"};
        QTest::newRow("qryrptPet") << "qryrptPet" << petReport;
        QTest::newRow("qryrptTrip") << "qryrptTrip" << t["tbl_trip"] + petReport;
        QTest::newRow("qryRptContact") << "qryRptContact" << QStringList{"contact_name",
                                                                         "contact_address",
                                                                         "contact_citystzip",
                                                                         "contact_ph1",
                                                                         "contact_ph2",
                                                                         "contact_ph3",
                                                                         "email",
                                                                         "www",
                                                                         "notes"};
        QTest::newRow("qryrptContact") << "qryrptContact" << QStringList{"Contact_Name"};
        QTest::newRow("qryrptDiary") << "qryrptDiary"
                                     << QStringList{"diary_date", "diary_text", "diary_category", "diary_pet_id"};
        QTest::newRow("qryrptCommand") << "qryrptCommand"
                                       << QStringList{"command_name", "command_value", "command_pet_id"};
        QTest::newRow("qryrptProperty") << "qryrptProperty"
                                        << QStringList{"property_name", "property_value", "property_pet_id"};
        QTest::newRow("qryrptVaccine") << "qryrptVaccine" << QStringList{"vaccine_id",
                                                                         "vaccine_pet_id",
                                                                         "vaccine_name",
                                                                         "vaccine_received_date",
                                                                         "vaccine_expiration_date",
                                                                         "vaccine_notes",
                                                                         "contact_person"};
        QTest::newRow("qryrptPictureAlbum")
            << "qryrptPictureAlbum" << QStringList{"picture_id",   "picture_title",    "picture_description",
                                                   "picture_date", "picture_filename", "pet_name"};
    }

    void viewColumns()
    {
        QFETCH(QString, view);
        QFETCH(QStringList, columns);
        QSqlQuery q(m_data);
        // Executed, not only prepared: the driver names the columns at execution.
        QVERIFY2(q.exec("SELECT * FROM " + view), qPrintable(q.lastError().text()));
        const QSqlRecord rec = q.record();
        for (const QString &c : columns)
            QVERIFY2(rec.indexOf(c) >= 0, qPrintable(view + " lacks " + c));
        // A column twice would make a reader's field lookup ambiguous.
        const QStringList have = columnsOf(rec);
        QCOMPARE(QSet<QString>(have.begin(), have.end()).size(), have.size());
    }

    // --- what the views return ----------------------------------------------

    void calendarSingle()
    {
        const qint64 rex = addPet("Rex", {{"pet_species_id", 1}});
        const qint64 ev =
            add("tbl_event", {{"event_name", "Groomer"}, {"event_date", "2024-01-05"}, {"event_time", "10:30:00"}});
        add("tbl_event", {{"event_name", "Weekly walk"},
                          {"event_date", "2024-01-05"},
                          {"event_type_repeating", -1},
                          {"event_repeat_every", 2}});
        add("tbl_event", {{"event_name", "Too late"}, {"event_date", "2024-02-01"}});
        const qint64 di =
            add("tbl_diary", {{"diary_pet_id", rex}, {"diary_date", "2024-01-06"}, {"diary_text", "First bath"}});
        const qint64 va = add("tbl_vaccine", {{"vaccine_pet_id", rex},
                                              {"vaccine_name", "Rabies"},
                                              {"vaccine_received_date", "2024-01-31"},
                                              {"vaccine_expiration_date", "2025-01-31"}});

        const QString select = "SELECT object_id, misc_data, record_id, pet_id, pet_species_id, "
                               "event_date, event_time, event_name FROM qry_calendar_single "
                               "WHERE event_date BETWEEN ? AND ? %1"
                               "ORDER BY object_id ASC, misc_data ASC, event_date ASC, event_time ASC";
        const Rows jan = rows(m_data, select.arg(""), {"2024-01-01", "2024-01-31"});
        QCOMPARE(jan.size(), 3); // neither the repeating event nor February's
        QCOMPARE(jan[0], (QVariantList{6, 2, va, rex, 1, "2024-01-31", QVariant(), "Rex: Rabies received"}));
        QCOMPARE(jan[1].mid(0, 5), (QVariantList{8, 0, ev, 0, 0}));
        QCOMPARE(jan[1].mid(5), (QVariantList{"2024-01-05", "10:30:00", "Groomer"}));
        QCOMPARE(jan[2].mid(0, 6), (QVariantList{9, 0, di, rex, 1, "2024-01-06"}));
        QCOMPARE(jan[2][7].toString(), QString("Rex: First bath"));

        // The calendar's own filters for settings that are off.
        const Rows eventsOnly = rows(m_data,
                                     select.arg("AND NOT (object_id = 9 AND misc_data = 0) "
                                                "AND NOT (object_id = 6 AND misc_data = 2) "
                                                "AND NOT (object_id = 6 AND misc_data = 1) "),
                                     {"2024-01-01", "2025-12-31"});
        QCOMPARE(eventsOnly.size(), 2);
        QCOMPARE(eventsOnly[0][0].toInt(), 8);

        const Rows expiring = rows(m_data, select.arg(""), {"2025-01-31", "2025-01-31"});
        QCOMPARE(expiring.size(), 1);
        QCOMPARE(expiring[0].mid(0, 4), (QVariantList{6, 1, va, rex}));
        QCOMPARE(expiring[0][7].toString(), QString("Rex: Rabies expires"));
    }

    void calendarRepeatingKeys_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("every");
        QTest::addColumn<QString>("key");
        QTest::newRow("weekly, Sunday is 1") << "2024-01-07" << 2 << "1";
        QTest::newRow("weekly, Saturday is 7") << "2024-01-13" << 2 << "7";
        QTest::newRow("monthly, no leading zero") << "2024-01-05" << 3 << "5";
        QTest::newRow("monthly on the 31st") << "2024-01-31" << 3 << "31";
        QTest::newRow("yearly") << "2024-01-05" << 4 << "Jan 5";
        QTest::newRow("yearly in December") << "2023-12-25" << 4 << "Dec 25";
        QTest::newRow("yearly on 29 February") << "2024-02-29" << 4 << "Feb 29";
    }

    void calendarRepeatingKeys()
    {
        QFETCH(QString, date);
        QFETCH(int, every);
        QFETCH(QString, key);
        const qint64 id = add("tbl_event", {{"event_name", "Repeats"},
                                            {"event_date", date},
                                            {"event_end_date", "2030-01-01"},
                                            {"event_type_repeating", -1},
                                            {"event_repeat_every", every}});
        const Rows r = rows(m_data,
                            "SELECT object_id, misc_data, record_id, event_repeat_every, "
                            "event_compare_date, event_end_date FROM qry_calendar_repeating "
                            "WHERE event_date <= ? ORDER BY event_date ASC, event_time ASC",
                            {"2030-12-31"});
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0][0].toInt(), 8);
        QCOMPARE(r[0][1].toInt(), 0);
        QCOMPARE(r[0][2].toLongLong(), id);
        QCOMPARE(r[0][3].toInt(), every);
        QCOMPARE(r[0][4].toString(), key);
        QCOMPARE(r[0][5].toString(), QString("2030-01-01"));
    }

    void calendarBirthdays()
    {
        const qint64 tom = addPet("Tom", {{"pet_dob", "2019-01-05"}, {"pet_species_id", 2}});
        addPet("Nodate", {{"pet_dob", ""}});
        addPet("Nulldate");
        add("tbl_event", {{"event_name", "Once"}, {"event_date", "2024-01-05"}});
        const QString select = "SELECT object_id, misc_data, record_id, pet_id, event_date, "
                               "event_end_date, event_repeat_every, event_compare_date, event_name "
                               "FROM qry_calendar_repeating WHERE event_date <= ? %1"
                               "ORDER BY event_date ASC, event_time ASC";
        const Rows r = rows(m_data, select.arg(""), {"2024-12-31"});
        QCOMPARE(r.size(), 1); // no single events, no pets without a birthday
        QCOMPARE(r[0], (QVariantList{1, 12, tom, tom, "2019-01-05", "9999-12-31", 4, "Jan 5", "Tom's birthday"}));
        QVERIFY(rows(m_data, select.arg("AND NOT (object_id = 1 AND misc_data = 12) "), {"2024-12-31"}).isEmpty());
        // Born after the shown month: not yet on the calendar.
        QVERIFY(rows(m_data, select.arg(""), {"2018-12-31"}).isEmpty());
    }

    void reminderSingle()
    {
        const qint64 rex = addPet("Rex");
        const qint64 lead = add("tbl_event", {{"event_name", "Vet"},
                                              {"event_date", "2024-03-01"},
                                              {"event_time", "09:00:00"},
                                              {"event_show_reminder", -1},
                                              {"event_reminder_minutes", 30}});
        const qint64 noLead = add("tbl_event", {{"event_name", "Walk"},
                                                {"event_date", "2024-03-02"},
                                                {"event_show_reminder", 0},
                                                {"event_reminder_minutes", 30}});
        add("tbl_event",
            {{"event_name", "Done"}, {"event_date", "2024-03-03"}, {"event_acknowledged_date", "2024-03-03 08:00:00"}});
        add("tbl_event", {{"event_name", "Repeats"},
                          {"event_date", "2024-03-04"},
                          {"event_type_repeating", -1},
                          {"event_end_date", "2024-12-31"}});
        const qint64 vac =
            add("tbl_vaccine",
                {{"vaccine_pet_id", rex}, {"vaccine_name", "Rabies"}, {"vaccine_expiration_date", "2024-03-05"}});
        add("tbl_vaccine", {{"vaccine_pet_id", rex},
                            {"vaccine_name", "Old"},
                            {"vaccine_expiration_date", "2024-03-06"},
                            {"vaccine_acknowledged_date", "2024-03-01 12:00:00"}});
        add("tbl_vaccine", {{"vaccine_pet_id", rex}, {"vaccine_name", "No expiry"}});

        const Rows r = rows(m_data,
                            "SELECT object_id, record_id, event_date, event_time, event_all_day, "
                            "event_reminder_minutes, event_name, event_type_repeating "
                            "FROM qry_reminder_single WHERE event_acknowledged_date = ? "
                            "ORDER BY event_date ASC, event_time ASC",
                            {kNotAck});
        QCOMPARE(r.size(), 3);
        QCOMPARE(r[0].mid(0, 4), (QVariantList{8, lead, "2024-03-01", "09:00:00"}));
        QCOMPARE(r[0][5].toInt(), 30);
        QCOMPARE(r[0][7].toInt(), 0);
        QCOMPARE(r[1][1].toLongLong(), noLead);
        QCOMPARE(r[1][5].toInt(), 0); // not reminded in advance: at its own time
        QCOMPARE(r[2].mid(0, 3), (QVariantList{6, vac, "2024-03-05"}));
        QVERIFY(r[2][4].toInt() != 0); // all day: no time is shown
        QCOMPARE(r[2][5].toInt(), 7 * 24 * 60);
        QCOMPARE(r[2][6].toString(), QString("Rex: Rabies expires"));
        QCOMPARE(r[2][7].toInt(), 0);
    }

    void reminderRepeating()
    {
        const qint64 a = add("tbl_event", {{"event_name", "Pills"},
                                           {"event_date", "2024-03-02"},
                                           {"event_type_repeating", -1},
                                           {"event_repeat_every", 1},
                                           {"event_end_date", "2024-03-31"},
                                           {"event_show_reminder", -1},
                                           {"event_reminder_minutes", 15}});
        const qint64 b = add("tbl_event", {{"event_name", "No until"},
                                           {"event_date", "2024-03-01"},
                                           {"event_type_repeating", -1},
                                           {"event_repeat_every", 2}});
        add("tbl_event", {{"event_name", "Single"}, {"event_date", "2024-03-01"}});
        const Rows r = rows(m_data, "SELECT record_id, event_end_date, event_repeat_every, "
                                    "event_reminder_minutes, event_acknowledged_date, "
                                    "event_type_repeating FROM qry_reminder_events_repeating");
        QCOMPARE(r.size(), 2);
        // In date order, as the list shows them; an event without an end date
        // is reminded of its own date and never given an open-ended scan.
        QCOMPARE(r[0].mid(0, 5), (QVariantList{b, "2024-03-01", 2, 0, kNotAck}));
        QCOMPARE(r[1].mid(0, 5), (QVariantList{a, "2024-03-31", 1, 15, kNotAck}));
        QVERIFY(r[1][5].toInt() != 0);
    }

    void petReport()
    {
        const qint64 vet = addContact("Dr. Hale", "555-0100");
        const qint64 emer = addContact("Aunt May", "555-0200", "555-0201");
        const qint64 gone = addContact("Moved away", "555-0300");
        QVERIFY(rows(m_data, "DELETE FROM tbl_contact WHERE contact_id = ?", {gone}).isEmpty());
        const qint64 rex =
            addPet("Rex", {{"pet_vet_id", vet}, {"pet_sitter_id", gone}, {"pet_emergency_contact_id", emer}});
        const qint64 tom = addPet("Tom");
        const QString select = "SELECT pet_name, pet_vet, pet_vet_ph, pet_sitter, pet_sitter_ph, "
                               "pet_emer, pet_emer_ph, pet_emer_ph_alt FROM qryrptPet ";
        const Rows r = rows(m_data, select + "WHERE pet_id = ?", {rex});
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0], (QVariantList{"Rex", "Dr. Hale", "555-0100", QVariant(), QVariant(), "Aunt May", "555-0200",
                                     "555-0201"}));
        QVERIFY(r[0][3].isNull());
        const Rows t = rows(m_data, select + "WHERE pet_id = ?", {tom});
        QCOMPARE(t.size(), 1);
        for (int i = 1; i < t[0].size(); ++i)
            QVERIFY(t[0][i].isNull());
        QCOMPARE(rows(m_data, select + "ORDER BY pet_name").size(), 2);
        QVERIFY(rows(m_data, select + "WHERE pet_id = ?", {0}).isEmpty());
    }

    void contactCityLine_data()
    {
        QTest::addColumn<QVariant>("city");
        QTest::addColumn<QVariant>("state");
        QTest::addColumn<QVariant>("zip");
        QTest::addColumn<QString>("line");
        const QVariant null;
        QTest::newRow("all three") << QVariant("Springfield") << QVariant("IL") << QVariant("62704")
                                   << "Springfield, IL 62704";
        QTest::newRow("no zip") << QVariant("Springfield") << QVariant("IL") << null << "Springfield, IL";
        QTest::newRow("no state") << QVariant("Springfield") << null << QVariant("62704") << "Springfield, 62704";
        QTest::newRow("city only") << QVariant("Springfield") << null << null << "Springfield";
        QTest::newRow("no city") << null << QVariant("IL") << QVariant("62704") << "IL 62704";
        QTest::newRow("empty texts") << QVariant("") << QVariant("") << QVariant("62704") << "62704";
        QTest::newRow("nothing") << null << null << null << "";
    }

    void contactCityLine()
    {
        QFETCH(QVariant, city);
        QFETCH(QVariant, state);
        QFETCH(QVariant, zip);
        QFETCH(QString, line);
        add("tbl_contact",
            {{"contact_name", "Someone"}, {"contact_city", city}, {"contact_state", state}, {"contact_zip", zip}});
        const Rows r = rows(m_data, "SELECT contact_citystzip FROM qryRptContact");
        QCOMPARE(r.size(), 1);
        QVERIFY(!r[0][0].isNull());
        QCOMPARE(r[0][0].toString(), line);
    }

    void contactListing()
    {
        add("tbl_contact", {{"contact_name", "Zed"},
                            {"contact_email", "zed@example.com"},
                            {"contact_ph_1", "1"},
                            {"contact_ph_2", "2"},
                            {"contact_ph_3", "3"}});
        add("tbl_contact", {{"contact_name", "alfie"}, {"contact_email", ""}});
        const Rows r = rows(m_data, "SELECT contact_name, email, www, contact_ph1, contact_ph2, "
                                    "contact_ph3 FROM qryrptContact ORDER BY contact_name ASC");
        QCOMPARE(r.size(), 2);
        QCOMPARE(r[0][0].toString(), QString("alfie"));
        // "" and NULL stay apart: only a real address becomes a link.
        QVERIFY(!r[0][1].isNull());
        QVERIFY(r[0][2].isNull());
        QCOMPARE(r[1].mid(1), (QVariantList{"zed@example.com", QVariant(), "1", "2", "3"}));
    }

    void vaccinationVet()
    {
        const qint64 rex = addPet("Rex");
        const qint64 vet = addContact("Dr. Hale");
        const qint64 withVet =
            add("tbl_vaccine", {{"vaccine_pet_id", rex}, {"vaccine_name", "Rabies"}, {"vaccine_vet_id", vet}});
        const qint64 noVet =
            add("tbl_vaccine", {{"vaccine_pet_id", rex}, {"vaccine_name", "Lyme"}, {"vaccine_vet_id", 999}});
        const Rows rpt = rows(m_data,
                              "SELECT vaccine_id, contact_person FROM qryrptVaccine "
                              "WHERE vaccine_pet_id = ? ORDER BY vaccine_id",
                              {rex});
        QCOMPARE(rpt, (Rows{{withVet, "Dr. Hale"}, {noVet, QVariant()}}));
        const Rows tab = rows(m_data,
                              "SELECT vaccine_id, veterinarian_name FROM qry_vaccine "
                              "WHERE vaccine_pet_id = ? ORDER BY vaccine_id",
                              {rex});
        QCOMPARE(tab, (Rows{{withVet, "Dr. Hale"}, {noVet, QVariant()}}));
    }

    void pictureViews()
    {
        const qint64 rex = addPet("Rex");
        const qint64 a = add(
            "tbl_picture", {{"picture_title", "Beach"}, {"picture_pet_id", rex}, {"picture_filename", "ZB_00001.jpg"}});
        const qint64 b = add("tbl_picture", {{"picture_title", "alone"}, {"picture_filename", "ZB_00002.jpg"}});
        const qint64 c = add("tbl_picture", {{"picture_title", "Lost pet"}, {"picture_pet_id", 4242}});
        const Rows g = rows(m_data, "SELECT picture_id, pet_name FROM qry_listview_picture "
                                    "ORDER BY picture_title ASC");
        QCOMPARE(g, (Rows{{b, QVariant()}, {a, "Rex"}, {c, QVariant()}}));
        const Rows album = rows(m_data, "SELECT picture_id FROM qryrptPictureAlbum "
                                        "WHERE picture_filename <> '' ORDER BY picture_date");
        QCOMPARE(album.size(), 2);
    }

    void tripCrossJoin()
    {
        const qint64 rex = addPet("Rex");
        const qint64 tom = addPet("Tom");
        const qint64 t1 = add("tbl_trip", {{"trip_name", "Beach"}, {"trip_date_begin", "2024-07-01"}});
        const qint64 t2 = add("tbl_trip", {{"trip_name", "Ski"}});
        QCOMPARE(rows(m_data, "SELECT * FROM qryrptTrip").size(), 4);
        const Rows one = rows(m_data,
                              "SELECT trip_name, trip_date_begin, pet_name FROM qryrptTrip "
                              "WHERE trip_id = ? AND pet_id = ?",
                              {t1, tom});
        QCOMPARE(one, (Rows{{"Beach", "2024-07-01", "Tom"}}));
        const Rows all = rows(m_data,
                              "SELECT pet_id FROM qryrptTrip WHERE trip_id = ? "
                              "ORDER BY pet_name",
                              {t2});
        QCOMPARE(all, (Rows{{rex}, {tom}}));
    }

    void vaccineSummary()
    {
        const qint64 rex = addPet("Rex");
        const qint64 tom = addPet("Tom");
        add("tbl_vaccine", {{"vaccine_pet_id", rex},
                            {"vaccine_name", "Rabies"},
                            {"vaccine_received_date", "2023-05-01"},
                            {"vaccine_expiration_date", "2024-05-01"},
                            {"vaccine_notes", "old"}});
        const qint64 latest = add("tbl_vaccine", {{"vaccine_pet_id", rex},
                                                  {"vaccine_name", "rabies"},
                                                  {"vaccine_received_date", "2024-05-02"},
                                                  {"vaccine_expiration_date", "2025-05-02"},
                                                  {"vaccine_notes", "new"}});
        add("tbl_vaccine", {{"vaccine_pet_id", rex},
                            {"vaccine_name", "Distemper"},
                            {"vaccine_received_date", "2024-01-01"},
                            {"vaccine_expiration_date", "2026-01-01"}});
        add("tbl_vaccine",
            {{"vaccine_pet_id", tom}, {"vaccine_name", "Rabies"}, {"vaccine_expiration_date", "2030-01-01"}});
        const QString sql = schema::vaccineSummarySql();
        QCOMPARE(sql.count(QLatin1Char('?')), qsizetype(1));
        QSqlQuery q(m_data);
        QVERIFY(q.prepare(sql));
        q.addBindValue(rex);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        QVERIFY(q.next());
        QCOMPARE(q.value("vaccine_name").toString().toLower(), QString("rabies"));
        QCOMPARE(q.value("vaccine_expiration_date").toString(), QString("2025-05-02"));
        QCOMPARE(q.value("vaccine_received_date").toString(), QString("2024-05-02"));
        QCOMPARE(q.value("vaccine_id").toLongLong(), latest);
        QCOMPARE(q.value("vaccine_notes").toString(), QString("new"));
        QVERIFY(q.record().indexOf("contact_person") >= 0);
        QVERIFY(q.next());
        QCOMPARE(q.value("vaccine_name").toString(), QString("Distemper"));
        QVERIFY(!q.next());
    }

    // --- defaults, keys, cascade, collation, checks ------------------------------

    void tableDefaults()
    {
        const qint64 pet = addPet("Rex");
        const qint64 vac = add("tbl_vaccine", {{"vaccine_pet_id", pet}});
        const qint64 di = add("tbl_diary", {{"diary_pet_id", pet}});
        const qint64 cmd = add("tbl_command", {{"command_pet_id", pet}});
        const qint64 ev = add("tbl_event", {{"event_name", "x"}});
        const qint64 trip = add("tbl_trip", {{"trip_name", "x"}});
        QCOMPARE(value(m_data, "SELECT pet_object_type FROM tbl_pet WHERE pet_id = ?", {pet}).toInt(), 1);
        const Rows v = rows(m_data,
                            "SELECT vaccine_object_type, vaccine_acknowledged_date, "
                            "vaccine_cr_ts FROM tbl_vaccine WHERE vaccine_id = ?",
                            {vac});
        QCOMPARE(v.size(), qsizetype(1));
        QCOMPARE(v[0][0].toInt(), 6);
        QCOMPARE(v[0][1].toString(), kNotAck);
        QCOMPARE(value(m_data, "SELECT diary_object_type FROM tbl_diary WHERE diary_id = ?", {di}).toInt(), 9);
        const Rows e = rows(m_data,
                            "SELECT event_object_type, event_acknowledged_date, "
                            "event_show_reminder, event_type_repeating, event_all_day, "
                            "event_cr_ts FROM tbl_event WHERE event_id = ?",
                            {ev});
        QCOMPARE(e.size(), qsizetype(1));
        QCOMPARE(e[0].mid(0, 5), (QVariantList{8, kNotAck, 0, 0, 0}));

        // Creation times are local wall-clock time, in the file's date-time form.
        const QDateTime now = QDateTime::currentDateTime();
        for (const QString &ts :
             {v[0][2].toString(), e[0][5].toString(),
              value(m_data, "SELECT diary_cr_ts FROM tbl_diary WHERE diary_id = ?", {di}).toString(),
              value(m_data, "SELECT command_cr_ts FROM tbl_command WHERE command_id = ?", {cmd}).toString(),
              value(m_data, "SELECT trip_cr_ts FROM tbl_trip WHERE trip_id = ?", {trip}).toString()}) {
            const QDateTime t = QDateTime::fromString(ts, "yyyy-MM-dd HH:mm:ss");
            QVERIFY2(t.isValid(), qPrintable(ts));
            QVERIFY2(qAbs(t.secsTo(now)) < 120, qPrintable(ts + " vs " + now.toString(Qt::ISODate)));
        }
        QCOMPARE(value(m_data, "SELECT command_object_type FROM tbl_command").toInt(), 10);
        QCOMPARE(value(m_data, "SELECT trip_object_type FROM tbl_trip").toInt(), 11);
    }

    void keysStartAtOneAndAreNotReused()
    {
        const qint64 a = addPet("A");
        const qint64 b = addPet("B");
        QCOMPARE(a, qint64(1));
        rows(m_data, "DELETE FROM tbl_pet WHERE pet_id = ?", {b});
        QCOMPARE(addPet("C"), b + 1);
    }

    void cascadeOnPetDelete()
    {
        const qint64 rex = addPet("Rex");
        const qint64 tom = addPet("Tom");
        for (qint64 pet : {rex, tom}) {
            add("tbl_vaccine", {{"vaccine_pet_id", pet}});
            add("tbl_diary", {{"diary_pet_id", pet}});
            add("tbl_command", {{"command_pet_id", pet}});
            add("tbl_property", {{"property_pet_id", pet}});
        }
        add("tbl_picture", {{"picture_pet_id", rex}});
        add("tbl_contact", {{"contact_name", "Vet"}});
        rows(m_data, "DELETE FROM tbl_pet WHERE pet_id = ?", {rex});
        for (const char *t : {"tbl_vaccine", "tbl_diary", "tbl_command", "tbl_property"}) {
            const QString pet = QString::fromLatin1(t).mid(4) + "_pet_id";
            QCOMPARE(rows(m_data, QString("SELECT %1 FROM %2").arg(pet, t)), (Rows{{tom}}));
        }
        // The program removes a pet's pictures (and their files) itself.
        QCOMPARE(value(m_data, "SELECT count(*) FROM tbl_picture").toInt(), 1);
        QCOMPARE(value(m_data, "SELECT count(*) FROM tbl_contact").toInt(), 1);
        // A sub-record must belong to a pet that exists.
        QString err;
        QCOMPARE(add("tbl_diary", {{"diary_pet_id", rex}}, &err), qint64(-1));
        QCOMPARE(add("tbl_vaccine", {{"vaccine_name", "x"}}, &err), qint64(-1));
    }

    void caseBlindText()
    {
        addPet("Zed");
        addPet("alfie");
        addPet("Bella");
        QCOMPARE(rows(m_data, "SELECT pet_name FROM tbl_pet ORDER BY pet_name ASC"),
                 (Rows{{"alfie"}, {"Bella"}, {"Zed"}}));
        QCOMPARE(rows(m_data, "SELECT pet_name FROM qryrptPet ORDER BY pet_name"),
                 (Rows{{"alfie"}, {"Bella"}, {"Zed"}}));
        const qint64 pet = addPet("Rex");
        for (const char *n : {"Rabies", "rabies", "Distemper"})
            add("tbl_vaccine", {{"vaccine_pet_id", pet}, {"vaccine_name", n}});
        const Rows names = rows(m_data, "SELECT DISTINCT vaccine_name FROM tbl_vaccine "
                                        "ORDER BY vaccine_name ASC");
        QCOMPARE(names.size(), 2);
        QCOMPARE(names[0][0].toString(), QString("Distemper"));
        for (const char *c : {"Walks", "walks"})
            add("tbl_diary", {{"diary_pet_id", pet}, {"diary_category", c}});
        QCOMPARE(rows(m_data, "SELECT DISTINCT diary_category FROM tbl_diary").size(), 1);
        QCOMPARE(rows(m_data, "SELECT pet_name FROM tbl_pet WHERE pet_name = ?", {"ZED"}).size(), 1);
    }

    void dateChecks_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("accepted");
        const QVariant null;
        auto row = [](const char *name, const char *t, const char *c, const QVariant &v, bool ok) {
            QTest::newRow(name) << QString(t) << QString(c) << v << ok;
        };
        row("event date", "tbl_event", "event_date", "2024-01-05", true);
        row("event date with T and time", "tbl_event", "event_date", "2024-01-05T10:00:00", false);
        row("event date as m/d/yyyy", "tbl_event", "event_date", "5/1/2020", false);
        row("event date 30 February", "tbl_event", "event_date", "2024-02-30", false);
        row("event date 29 February", "tbl_event", "event_date", "2024-02-29", true);
        row("event date empty", "tbl_event", "event_date", "", false);
        row("event date missing", "tbl_event", "event_date", null, true);
        row("event time", "tbl_event", "event_time", "10:00:00", true);
        row("event time with ms", "tbl_event", "event_time", "10:00:00.000", false);
        row("event time 24:00", "tbl_event", "event_time", "24:00:00", false);
        row("event time h:mm", "tbl_event", "event_time", "9:00", false);
        row("event until as m/d/yyyy", "tbl_event", "event_end_date", "5/1/2020", false);
        row("acknowledged", "tbl_event", "event_acknowledged_date", "2024-01-05 10:00:00", true);
        row("acknowledged with T and ms", "tbl_event", "event_acknowledged_date", "2024-01-05T10:00:00.000", false);
        row("acknowledged date only", "tbl_event", "event_acknowledged_date", "2024-01-05", false);
        row("acknowledged NULL", "tbl_event", "event_acknowledged_date", null, false);
        row("vaccine received with T", "tbl_vaccine", "vaccine_received_date", "2024-01-05T10:00:00", false);
        row("vaccine expiry as m/d/yyyy", "tbl_vaccine", "vaccine_expiration_date", "5/1/2020", false);
        row("vaccine acknowledged NULL", "tbl_vaccine", "vaccine_acknowledged_date", null, false);
        row("diary date", "tbl_diary", "diary_date", "2024-01-05", true);
        row("diary date as m/d/yyyy", "tbl_diary", "diary_date", "5/1/2020", false);
        row("creation time with T", "tbl_diary", "diary_cr_ts", "2024-01-05T10:00:00", false);
        row("birthday", "tbl_pet", "pet_dob", "2019-12-25", true);
        row("birthday empty", "tbl_pet", "pet_dob", "", true);
        row("birthday missing", "tbl_pet", "pet_dob", null, true);
        row("birthday as m/d/yyyy", "tbl_pet", "pet_dob", "5/1/2020", false);
        row("trip leaving as m/d/yyyy", "tbl_trip", "trip_date_begin", "5/1/2020", false);
        row("picture date as typed", "tbl_picture", "picture_date", "5/1/2020", true);
    }

    void dateChecks()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QVariant, value);
        QFETCH(bool, accepted);
        const qint64 pet = addPet("Rex");
        QVariantMap row{{column, value}};
        if (table == "tbl_vaccine" || table == "tbl_diary")
            row.insert(table.mid(4) + "_pet_id", pet);
        QString err;
        const qint64 id = add(table, row, &err);
        QVERIFY2((id > 0) == accepted, qPrintable(err.isEmpty() ? QString("accepted") : err));
    }

    // --- the system file's rows ----------------------------------------------

    void lookupRows()
    {
        QCOMPARE(rows(m_sys, "SELECT repeat_type_id, repeat_type_desc FROM tbl_repeat_type "
                             "ORDER BY repeat_type_id"),
                 (Rows{{1, "Day"}, {2, "Week"}, {3, "Month"}, {4, "Year"}}));
        QCOMPARE(rows(m_sys, "SELECT reminder_minutes FROM tbl_reminder_units WHERE reminder_desc = ?", {"30 minutes"}),
                 (Rows{{30}}));
        const Rows units = rows(m_sys, "SELECT reminder_minutes FROM tbl_reminder_units "
                                       "ORDER BY reminder_sort_order");
        QCOMPARE(units.first()[0].toInt(), 5);
        QCOMPARE(units.last()[0].toInt(), 14 * 24 * 60);
        for (qsizetype i = 1; i < units.size(); ++i)
            QVERIFY(units[i - 1][0].toInt() < units[i][0].toInt());

        QStringList phones;
        for (const auto &r : rows(m_sys, "SELECT phone_type_name FROM tbl_phone_type "
                                         "ORDER BY phone_type_sort_order ASC"))
            phones << r[0].toString();
        for (const char *p : {"Home", "Work", "Fax"})
            QVERIFY2(phones.contains(p), p);
        QCOMPARE(phones.first(), QString("Home"));

        QCOMPARE(rows(m_sys, "SELECT gender FROM tbl_gender ORDER BY gender_id"), (Rows{{"Female"}, {"Male"}}));

        const Rows species = rows(m_sys, "SELECT species_id, species_name FROM tbl_species "
                                         "ORDER BY species_id");
        QCOMPARE(species.size(), 10);
        QCOMPARE(species.first(), (QVariantList{1, "Dog"}));
        QCOMPARE(species.last(), (QVariantList{10, "Other"}));
        for (const auto &s : species) {
            QStringList breeds;
            for (const auto &r : rows(m_sys,
                                      "SELECT breed_name FROM tbl_breed "
                                      "WHERE breed_species_id = ? ORDER BY breed_id",
                                      {s[0]}))
                breeds << r[0].toString();
            QVERIFY2(breeds.size() >= 3, qPrintable(s[1].toString()));
            QStringList sorted = breeds;
            sorted.sort(Qt::CaseInsensitive);
            QCOMPARE(breeds, sorted);
        }
        QVERIFY(value(m_sys, "SELECT count(*) FROM tbl_trip_times").toInt() > 0);
    }

    void defaultTexts()
    {
        const Rows r = rows(m_sys, "SELECT default_feeding_text, default_feeding_rtf, "
                                   "default_care_text, default_care_rtf FROM tbl_defaults");
        QCOMPARE(r.size(), 1);
        for (int i : {0, 2}) {
            const QString text = r[0][i].toString();
            const QString rtf = r[0][i + 1].toString();
            QVERIFY(text.size() > 40);
            QVERIFY(rtf.startsWith("{\\rtf1"));
            QCOMPARE(rtf::plainText(rtf), text);
        }
        QVERIFY(r[0][0] != r[0][2]);
    }
};

QTEST_MAIN(tst_schema)
#include "tst_schema.moc"
