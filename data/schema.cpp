#include "data/schema.h"

#include "platform/db/database.h"

#include <QRegularExpression>

// How the files hold their data, and why.
//
// Keys.  Every data-file table is keyed by INTEGER PRIMARY KEY AUTOINCREMENT:
//   a key is never 0 (the program asks for "WHERE x_id = 0" to get an empty
//   row to add to) and never handed out twice, so a pet's old vet id can never
//   come to point at a newly added person.
//
// Text.  Everything a user types is COLLATE NOCASE: lists sort "alfie" before
//   "Zed", and "Rabies" and "rabies" are one entry in every pick list, DISTINCT
//   and GROUP BY.  The widths in VARCHAR(n) are the limits the edit boxes
//   enforce; SQLite itself does not enforce them.
//
// Dates and times are TEXT in local time: dates 'YYYY-MM-DD', times 'HH:MM:SS',
//   date-times 'YYYY-MM-DD HH:MM:SS'.  These sort in time order, compare with
//   BETWEEN and are read by strftime().  A CHECK on each column refuses any
//   other form (a 'T' between date and time, milliseconds, a locale's
//   '5/1/2020', an impossible 30 February), so a writer that slips is caught
//   at once instead of quietly dropping out of the calendar.  NULL passes
//   wherever a value may be missing.  The birthday (pet_dob) may also be ''
//   ("no birthday"); the program stores a typed birthday as 'YYYY-MM-DD'.
//   picture_date is kept exactly as typed and is not checked.
//
// "Not acknowledged" is '1900-01-01 00:00:00', NOT NULL and the column
//   default: the reminder check selects exactly that value, so a NULL would
//   never be reminded.
//
// Booleans are INTEGER NOT NULL DEFAULT 0.  True is written as -1, but any
//   value other than 0 counts as true; SQL only ever tests "<> 0" or "= 0".
//
// Object kinds and creation times are filled by the table defaults, never by
//   the program: pet 1, vaccination 6, event 8, diary 9, and for the kinds
//   nobody reads, command 10 and trip 11.  Creation times are local
//   (datetime('now','localtime')), as the rest of the file is.
//
// A pet takes its vaccinations, diary, commands and properties with it:
//   those rows REFERENCES tbl_pet ON DELETE CASCADE (the database layer
//   switches foreign keys on for every connection), and the views that show
//   them INNER JOIN tbl_pet, so a row left behind by a connection without
//   foreign keys shows nowhere either.  Contacts and pictures carry no foreign
//   key: deleting a person leaves the references to them as they are, a
//   picture may belong to no pet, and the program deletes a pet's pictures
//   (with their files) itself.
//
// The saved queries are views under their exact names; a reader adds its own
//   WHERE and ORDER BY with bound values.  Views are read-only: the vaccination
//   tab reads qry_vaccine and writes tbl_vaccine by vaccine_id.
//
// Calendar and reminder views, one row per item:
//   object_id  misc_data  item                          record_id    pet_id
//   8          0          event                         event_id     0
//   9          0          diary entry (diary_date)      diary_id     its pet
//   6          2          vaccination received          vaccine_id   its pet
//   6          1          vaccination expiring          vaccine_id   its pet
//   1          12         birthday (yearly, from        pet_id       pet_id
//                         pet_dob, until 9999-12-31)
//   event_compare_date is the key of the item's date in the form of its repeat
//   unit: weekly the weekday 1..7 with Sunday = 1, monthly the day without a
//   leading zero, yearly the English short month, a blank and the day
//   ("Jan 5"), whatever the user's language, because the program builds the
//   other side of the comparison with the same fixed names.
//   A vaccination is reminded of a week (10080 minutes) before it expires; an
//   event whose "remind me in advance" is off is reminded at its own time.

namespace schema {

namespace {

// One table or view per raw string; a column that holds a date, a time or a
// date-time is marked {date}, {time}, {datetime} or {dob} (a date or '') at
// the end of its line, and gets its CHECK here, so the DDL stays readable.
const char *const kDate = "[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]";
const char *const kTime = "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]";

QString dateTest(const QString &v)
{
    // GLOB fixes the shape; the round trip through julianday() refuses a day
    // the month does not have.
    return QStringLiteral("%1 GLOB '%2' AND date(julianday(%1)) IS %1").arg(v, kDate);
}

QString timeTest(const QString &v) { return QStringLiteral("%1 GLOB '%2' AND %1 < '24'").arg(v, kTime); }

QString checkFor(const QString &column, const QString &kind)
{
    if (kind == QLatin1String("date"))
        return dateTest(column);
    if (kind == QLatin1String("dob"))
        return QStringLiteral("%1 = '' OR (%2)").arg(column, dateTest(column));
    if (kind == QLatin1String("time"))
        return timeTest(column);
    // date-time
    const QString d = QStringLiteral("substr(%1, 1, 10)").arg(column);
    return QStringLiteral("%1 GLOB '%2 %3' AND date(julianday(%4)) IS %4 AND substr(%1, 12) < '24'")
        .arg(column, kDate, kTime, d);
}

QString withChecks(const char *ddl)
{
    static const QRegularExpression marker(QStringLiteral(R"((\w+)([^\n{]*?)\s*\{(date|time|datetime|dob)\})"));
    QString sql = QString::fromUtf8(ddl).trimmed();
    QString out;
    qsizetype last = 0;
    auto it = marker.globalMatch(sql);
    while (it.hasNext()) {
        const auto m = it.next();
        out += sql.mid(last, m.capturedStart() - last);
        out += m.captured(1) + m.captured(2) + QStringLiteral(" CHECK (") + checkFor(m.captured(1), m.captured(3))
               + QLatin1Char(')');
        last = m.capturedEnd();
    }
    out += sql.mid(last);
    return out;
}

QString sql(const char *text) { return QString::fromUtf8(text).trimmed(); }

QString quoted(const QString &text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// ---------------------------------------------------------------------------
// Data file: tables

const char *const kPet = R"(
CREATE TABLE tbl_pet (
    pet_id INTEGER PRIMARY KEY AUTOINCREMENT,
    pet_object_type INTEGER NOT NULL DEFAULT 1,
    pet_species_id INTEGER,
    pet_name VARCHAR(50) COLLATE NOCASE,
    pet_nickname VARCHAR(50) COLLATE NOCASE,
    pet_color VARCHAR(50) COLLATE NOCASE,
    pet_dob TEXT {dob},
    pet_weight VARCHAR(10) COLLATE NOCASE,
    pet_height_length VARCHAR(10) COLLATE NOCASE,
    pet_gender TEXT COLLATE NOCASE,
    pet_breed TEXT COLLATE NOCASE,
    pet_mother VARCHAR(50) COLLATE NOCASE,
    pet_father VARCHAR(50) COLLATE NOCASE,
    pet_vet_id INTEGER,
    pet_sitter_id INTEGER,
    pet_emergency_contact_id INTEGER,
    pet_picture TEXT,
    pet_feeding TEXT,
    pet_care TEXT,
    pet_notes TEXT,
    pet_insurance_details TEXT,
    pet_feeding_rtf TEXT,
    pet_care_rtf TEXT,
    pet_notes_rtf TEXT,
    pet_insurance_details_rtf TEXT
))";

const char *const kVaccine = R"(
CREATE TABLE tbl_vaccine (
    vaccine_id INTEGER PRIMARY KEY AUTOINCREMENT,
    vaccine_object_type INTEGER NOT NULL DEFAULT 6,
    vaccine_pet_id INTEGER NOT NULL REFERENCES tbl_pet (pet_id) ON DELETE CASCADE,
    vaccine_name VARCHAR(50) COLLATE NOCASE,
    vaccine_received_date TEXT {date},
    vaccine_expiration_date TEXT {date},
    vaccine_vet_id INTEGER,
    vaccine_acknowledged_date TEXT NOT NULL DEFAULT '1900-01-01 00:00:00' {datetime},
    vaccine_cr_ts TEXT DEFAULT (datetime('now', 'localtime')) {datetime},
    vaccine_notes TEXT
))";

const char *const kDiary = R"(
CREATE TABLE tbl_diary (
    diary_id INTEGER PRIMARY KEY AUTOINCREMENT,
    diary_object_type INTEGER NOT NULL DEFAULT 9,
    diary_pet_id INTEGER NOT NULL REFERENCES tbl_pet (pet_id) ON DELETE CASCADE,
    diary_date TEXT {date},
    diary_category TEXT COLLATE NOCASE,
    diary_text_rtf TEXT,
    diary_text TEXT,
    diary_cr_ts TEXT DEFAULT (datetime('now', 'localtime')) {datetime}
))";

const char *const kCommand = R"(
CREATE TABLE tbl_command (
    command_id INTEGER PRIMARY KEY AUTOINCREMENT,
    command_object_type INTEGER NOT NULL DEFAULT 10,
    command_pet_id INTEGER NOT NULL REFERENCES tbl_pet (pet_id) ON DELETE CASCADE,
    command_name VARCHAR(25) COLLATE NOCASE,
    command_value TEXT,
    command_cr_ts TEXT DEFAULT (datetime('now', 'localtime')) {datetime}
))";

const char *const kProperty = R"(
CREATE TABLE tbl_property (
    property_id INTEGER PRIMARY KEY AUTOINCREMENT,
    property_pet_id INTEGER NOT NULL REFERENCES tbl_pet (pet_id) ON DELETE CASCADE,
    property_name VARCHAR(25) COLLATE NOCASE,
    property_value VARCHAR(100) COLLATE NOCASE
))";

const char *const kContact = R"(
CREATE TABLE tbl_contact (
    contact_id INTEGER PRIMARY KEY AUTOINCREMENT,
    contact_name VARCHAR(50) COLLATE NOCASE,
    contact_address VARCHAR(100) COLLATE NOCASE,
    contact_city VARCHAR(50) COLLATE NOCASE,
    contact_state VARCHAR(2) COLLATE NOCASE,
    contact_zip VARCHAR(20) COLLATE NOCASE,
    contact_country VARCHAR(50) COLLATE NOCASE,
    contact_ph_1 VARCHAR(30),
    contact_ph_2 VARCHAR(30),
    contact_ph_3 VARCHAR(30),
    contact_ph_1_type TEXT COLLATE NOCASE,
    contact_ph_2_type TEXT COLLATE NOCASE,
    contact_ph_3_type TEXT COLLATE NOCASE,
    contact_email TEXT,
    contact_www TEXT,
    contact_directions TEXT,
    contact_notes TEXT
))";

const char *const kPicture = R"(
CREATE TABLE tbl_picture (
    picture_id INTEGER PRIMARY KEY AUTOINCREMENT,
    picture_pet_id INTEGER,
    picture_title VARCHAR(30) COLLATE NOCASE,
    picture_description VARCHAR(255) COLLATE NOCASE,
    picture_date VARCHAR(10),
    picture_category TEXT COLLATE NOCASE,
    picture_filename TEXT
))";

const char *const kEvent = R"(
CREATE TABLE tbl_event (
    event_id INTEGER PRIMARY KEY AUTOINCREMENT,
    event_object_type INTEGER NOT NULL DEFAULT 8,
    event_name TEXT COLLATE NOCASE,
    event_date TEXT {date},
    event_time TEXT {time},
    event_end_date TEXT {date},
    event_show_reminder INTEGER NOT NULL DEFAULT 0,
    event_type_repeating INTEGER NOT NULL DEFAULT 0,
    event_all_day INTEGER NOT NULL DEFAULT 0,
    event_reminder_minutes INTEGER,
    event_repeat_every INTEGER,
    event_repeat_day_of_week TEXT,
    event_repeat_day_of_month TEXT,
    event_notes TEXT,
    event_acknowledged_date TEXT NOT NULL DEFAULT '1900-01-01 00:00:00' {datetime},
    event_cr_ts TEXT DEFAULT (datetime('now', 'localtime')) {datetime}
))";

const char *const kTrip = R"(
CREATE TABLE tbl_trip (
    trip_id INTEGER PRIMARY KEY AUTOINCREMENT,
    trip_object_type INTEGER NOT NULL DEFAULT 11,
    trip_name TEXT COLLATE NOCASE,
    trip_location TEXT COLLATE NOCASE,
    trip_date_begin TEXT {date},
    trip_date_begin_tod TEXT COLLATE NOCASE,
    trip_date_end TEXT {date},
    trip_date_end_tod TEXT COLLATE NOCASE,
    trip_contact_location TEXT,
    trip_contact_number TEXT,
    trip_notes TEXT,
    trip_cr_ts TEXT DEFAULT (datetime('now', 'localtime')) {datetime}
))";

const char *const kIndexes[] = {
    "CREATE INDEX ix_vaccine_pet_id ON tbl_vaccine (vaccine_pet_id)",
    "CREATE INDEX ix_diary_pet_id ON tbl_diary (diary_pet_id)",
    "CREATE INDEX ix_command_pet_id ON tbl_command (command_pet_id)",
    "CREATE INDEX ix_property_pet_id ON tbl_property (property_pet_id)",
    "CREATE INDEX ix_picture_pet_id ON tbl_picture (picture_pet_id)",
    "CREATE INDEX ix_event_date ON tbl_event (event_date)",
    // The calendar asks for six weeks of items at a time. Single and repeating
    // events each have their own index, and the diary and vaccination indexes
    // carry what the calendar shows of them (pet, text or name), so a month is
    // read from the index alone instead of from rows strewn over the whole file.
    "CREATE INDEX ix_event_single_date ON tbl_event (event_date) WHERE event_type_repeating = 0",
    "CREATE INDEX ix_event_repeating_date ON tbl_event (event_date) WHERE event_type_repeating <> 0",
    "CREATE INDEX ix_diary_date ON tbl_diary (diary_date, diary_pet_id, diary_text)",
    "CREATE INDEX ix_vaccine_received_date ON tbl_vaccine (vaccine_received_date, vaccine_pet_id, vaccine_name)",
    "CREATE INDEX ix_vaccine_expiration_date ON tbl_vaccine (vaccine_expiration_date, vaccine_pet_id, vaccine_name)",
    // The pet window's pick lists of names and categories already used
    // (SELECT DISTINCT) read these instead of every row of the table.
    "CREATE INDEX ix_vaccine_name ON tbl_vaccine (vaccine_name)",
    "CREATE INDEX ix_diary_category ON tbl_diary (diary_category)",
};

// ---------------------------------------------------------------------------
// Data file: saved queries

// The vaccination tab: the table's own columns, in the grid's order, with the
// vet's name.
const char *const kQryVaccine = R"(
CREATE VIEW qry_vaccine AS
SELECT v.vaccine_id, v.vaccine_object_type, v.vaccine_pet_id, v.vaccine_name,
       v.vaccine_received_date, v.vaccine_expiration_date, v.vaccine_vet_id,
       v.vaccine_acknowledged_date, v.vaccine_cr_ts,
       c.contact_name AS veterinarian_name,
       v.vaccine_notes
FROM tbl_vaccine AS v
     INNER JOIN tbl_pet AS p ON p.pet_id = v.vaccine_pet_id
     LEFT JOIN tbl_contact AS c ON c.contact_id = v.vaccine_vet_id)";

// The photo gallery: every picture, with or without a pet.
const char *const kQryListviewPicture = R"(
CREATE VIEW qry_listview_picture AS
SELECT pic.picture_id, pic.picture_pet_id, pic.picture_title, pic.picture_description,
       pic.picture_date, pic.picture_category, pic.picture_filename,
       p.pet_name
FROM tbl_picture AS pic
     LEFT JOIN tbl_pet AS p ON p.pet_id = pic.picture_pet_id)";

// Items shown on one day each.  The calendar asks for a date range with
// "event_date BETWEEN ? AND ?", which reaches every branch.
const char *const kQryCalendarSingle = R"(
CREATE VIEW qry_calendar_single AS
SELECT 8 AS object_id, 0 AS misc_data, e.event_id AS record_id,
       0 AS pet_id, 0 AS pet_species_id,
       e.event_date AS event_date, e.event_time AS event_time, e.event_name AS event_name
FROM tbl_event AS e
WHERE e.event_type_repeating = 0
UNION ALL
SELECT 9, 0, d.diary_id, p.pet_id, p.pet_species_id, d.diary_date, NULL,
       coalesce(nullif(p.pet_name, ''), '(No Name)')
       || CASE WHEN ifnull(d.diary_text, '') <> '' THEN ': ' || d.diary_text ELSE '' END
FROM tbl_diary AS d
     INNER JOIN tbl_pet AS p ON p.pet_id = d.diary_pet_id
UNION ALL
SELECT 6, 2, v.vaccine_id, p.pet_id, p.pet_species_id, v.vaccine_received_date, NULL,
       coalesce(nullif(p.pet_name, ''), '(No Name)') || ': '
       || coalesce(nullif(v.vaccine_name, ''), 'Vaccination') || ' received'
FROM tbl_vaccine AS v
     INNER JOIN tbl_pet AS p ON p.pet_id = v.vaccine_pet_id
UNION ALL
SELECT 6, 1, v.vaccine_id, p.pet_id, p.pet_species_id, v.vaccine_expiration_date, NULL,
       coalesce(nullif(p.pet_name, ''), '(No Name)') || ': '
       || coalesce(nullif(v.vaccine_name, ''), 'Vaccination') || ' expires'
FROM tbl_vaccine AS v
     INNER JOIN tbl_pet AS p ON p.pet_id = v.vaccine_pet_id)";

// Items that come back: repeating events, and every pet's birthday once a year.
// A pet without a birthday ('' or NULL) has no row.
const char *const kQryCalendarRepeating = R"(
CREATE VIEW qry_calendar_repeating AS
SELECT 8 AS object_id, 0 AS misc_data, e.event_id AS record_id,
       0 AS pet_id, 0 AS pet_species_id,
       e.event_date AS event_date, e.event_time AS event_time, e.event_name AS event_name,
       e.event_end_date AS event_end_date, e.event_repeat_every AS event_repeat_every,
       CASE e.event_repeat_every
           WHEN 2 THEN CAST(CAST(strftime('%w', e.event_date) AS INTEGER) + 1 AS TEXT)
           WHEN 4 THEN substr('JanFebMarAprMayJunJulAugSepOctNovDec',
                              3 * CAST(strftime('%m', e.event_date) AS INTEGER) - 2, 3)
                       || ' ' || CAST(strftime('%d', e.event_date) AS INTEGER)
           WHEN 1 THEN CAST(CAST(strftime('%d', e.event_date) AS INTEGER) AS TEXT)
           WHEN 3 THEN CAST(CAST(strftime('%d', e.event_date) AS INTEGER) AS TEXT)
       END AS event_compare_date
FROM tbl_event AS e
WHERE e.event_type_repeating <> 0
UNION ALL
SELECT 1, 12, p.pet_id, p.pet_id, p.pet_species_id, p.pet_dob, NULL,
       coalesce(nullif(p.pet_name, ''), '(No Name)') || '''s birthday',
       '9999-12-31', 4,
       substr('JanFebMarAprMayJunJulAugSepOctNovDec',
              3 * CAST(strftime('%m', p.pet_dob) AS INTEGER) - 2, 3)
       || ' ' || CAST(strftime('%d', p.pet_dob) AS INTEGER)
FROM tbl_pet AS p
WHERE p.pet_dob <> '')";

// What may fall due once: single events, and vaccinations by their expiry.
// The reminder check selects the rows not yet acknowledged.
const char *const kQryReminderSingle = R"(
CREATE VIEW qry_reminder_single AS
SELECT 8 AS object_id, e.event_id AS record_id,
       e.event_date AS event_date, e.event_time AS event_time,
       e.event_all_day AS event_all_day,
       CASE WHEN e.event_show_reminder <> 0 THEN ifnull(e.event_reminder_minutes, 0) ELSE 0 END
           AS event_reminder_minutes,
       e.event_name AS event_name, e.event_type_repeating AS event_type_repeating,
       e.event_acknowledged_date AS event_acknowledged_date
FROM tbl_event AS e
WHERE e.event_type_repeating = 0 AND e.event_date IS NOT NULL
UNION ALL
SELECT 6, v.vaccine_id, v.vaccine_expiration_date, NULL, -1, 10080,
       coalesce(nullif(p.pet_name, ''), '(No Name)') || ': '
       || coalesce(nullif(v.vaccine_name, ''), 'Vaccination') || ' expires',
       0, v.vaccine_acknowledged_date
FROM tbl_vaccine AS v
     INNER JOIN tbl_pet AS p ON p.pet_id = v.vaccine_pet_id
WHERE v.vaccine_expiration_date IS NOT NULL)";

// Repeating events for the reminder scan, which walks each one's days up to
// its last day.  An event with no "until" date shows on its own date only in
// the calendar, and is reminded of that one date too.  The reader adds no
// order and lists the rows as they come, so the view gives one.
const char *const kQryReminderEventsRepeating = R"(
CREATE VIEW qry_reminder_events_repeating AS
SELECT 8 AS object_id, e.event_id AS record_id,
       e.event_date AS event_date, e.event_time AS event_time,
       e.event_all_day AS event_all_day,
       CASE WHEN e.event_show_reminder <> 0 THEN ifnull(e.event_reminder_minutes, 0) ELSE 0 END
           AS event_reminder_minutes,
       e.event_name AS event_name, e.event_type_repeating AS event_type_repeating,
       coalesce(e.event_end_date, e.event_date) AS event_end_date,
       e.event_repeat_every AS event_repeat_every,
       e.event_acknowledged_date AS event_acknowledged_date
FROM tbl_event AS e
WHERE e.event_type_repeating <> 0 AND e.event_date IS NOT NULL
ORDER BY e.event_date, e.event_time, e.event_id)";

// One row per pet with the names and phones of its vet, sitter and emergency
// contact; a missing or deleted person gives NULLs, never a lost pet.
const char *const kQryrptPet = R"(
CREATE VIEW qryrptPet AS
SELECT p.*,
       vet.contact_name AS pet_vet, vet.contact_ph_1 AS pet_vet_ph,
       sit.contact_name AS pet_sitter, sit.contact_ph_1 AS pet_sitter_ph,
       emr.contact_name AS pet_emer, emr.contact_ph_1 AS pet_emer_ph,
       emr.contact_ph_2 AS pet_emer_ph_alt
FROM tbl_pet AS p
     LEFT JOIN tbl_contact AS vet ON vet.contact_id = p.pet_vet_id
     LEFT JOIN tbl_contact AS sit ON sit.contact_id = p.pet_sitter_id
     LEFT JOIN tbl_contact AS emr ON emr.contact_id = p.pet_emergency_contact_id)";

// The sitter's instructions: every trip with every pet.
const char *const kQryrptTrip = R"(
CREATE VIEW qryrptTrip AS
SELECT t.*, rp.*
FROM tbl_trip AS t
     CROSS JOIN qryrptPet AS rp
ORDER BY t.trip_id, rp.pet_name, rp.pet_id)";

// The address book listing.  City, state and postal code make one line
// ("Springfield, IL 62704"); a part that is missing leaves out its separator.
// E-mail and web address stay NULL when missing, unlike "".
const char *const kQryRptContact = R"(
CREATE VIEW qryRptContact AS
SELECT c.contact_id, c.contact_name, c.contact_address,
       ifnull(c.contact_city, '')
       || CASE WHEN ifnull(c.contact_city, '') <> ''
                    AND (ifnull(c.contact_state, '') <> '' OR ifnull(c.contact_zip, '') <> '')
               THEN ', ' ELSE '' END
       || ifnull(c.contact_state, '')
       || CASE WHEN ifnull(c.contact_state, '') <> '' AND ifnull(c.contact_zip, '') <> ''
               THEN ' ' ELSE '' END
       || ifnull(c.contact_zip, '') AS contact_citystzip,
       c.contact_ph_1 AS contact_ph1, c.contact_ph_2 AS contact_ph2, c.contact_ph_3 AS contact_ph3,
       c.contact_email AS email, c.contact_www AS www, c.contact_notes AS notes
FROM tbl_contact AS c)";

const char *const kQryrptDiary = R"(
CREATE VIEW qryrptDiary AS
SELECT d.*, p.pet_name
FROM tbl_diary AS d
     INNER JOIN tbl_pet AS p ON p.pet_id = d.diary_pet_id)";

const char *const kQryrptCommand = R"(
CREATE VIEW qryrptCommand AS
SELECT c.*, p.pet_name
FROM tbl_command AS c
     INNER JOIN tbl_pet AS p ON p.pet_id = c.command_pet_id)";

const char *const kQryrptProperty = R"(
CREATE VIEW qryrptProperty AS
SELECT pr.*, p.pet_name
FROM tbl_property AS pr
     INNER JOIN tbl_pet AS p ON p.pet_id = pr.property_pet_id)";

const char *const kQryrptVaccine = R"(
CREATE VIEW qryrptVaccine AS
SELECT v.vaccine_id, v.vaccine_pet_id, v.vaccine_name, v.vaccine_received_date,
       v.vaccine_expiration_date, v.vaccine_vet_id, v.vaccine_acknowledged_date,
       v.vaccine_notes, c.contact_name AS contact_person, p.pet_name
FROM tbl_vaccine AS v
     INNER JOIN tbl_pet AS p ON p.pet_id = v.vaccine_pet_id
     LEFT JOIN tbl_contact AS c ON c.contact_id = v.vaccine_vet_id)";

const char *const kQryrptPictureAlbum = R"(
CREATE VIEW qryrptPictureAlbum AS
SELECT pic.picture_id, pic.picture_pet_id, pic.picture_title, pic.picture_description,
       pic.picture_date, pic.picture_category, pic.picture_filename,
       p.pet_name
FROM tbl_picture AS pic
     LEFT JOIN tbl_pet AS p ON p.pet_id = pic.picture_pet_id)";

// ---------------------------------------------------------------------------
// System file

const char *const kSpecies = R"(
CREATE TABLE tbl_species (
    species_id INTEGER PRIMARY KEY,
    species_name VARCHAR(50) COLLATE NOCASE NOT NULL
))";

const char *const kBreed = R"(
CREATE TABLE tbl_breed (
    breed_id INTEGER PRIMARY KEY,
    breed_species_id INTEGER NOT NULL REFERENCES tbl_species (species_id),
    breed_name VARCHAR(50) COLLATE NOCASE NOT NULL
))";

const char *const kGender = R"(
CREATE TABLE tbl_gender (
    gender_id INTEGER PRIMARY KEY,
    gender VARCHAR(30) COLLATE NOCASE NOT NULL
))";

const char *const kPhoneType = R"(
CREATE TABLE tbl_phone_type (
    phone_type_id INTEGER PRIMARY KEY,
    phone_type_name VARCHAR(30) COLLATE NOCASE,
    phone_type_sort_order INTEGER NOT NULL
))";

// Exactly one row: the texts a new pet starts with.
const char *const kDefaults = R"(
CREATE TABLE tbl_defaults (
    default_id INTEGER PRIMARY KEY CHECK (default_id = 1),
    default_feeding_text TEXT,
    default_feeding_rtf TEXT,
    default_care_text TEXT,
    default_care_rtf TEXT
))";

const char *const kRepeatType = R"(
CREATE TABLE tbl_repeat_type (
    repeat_type_id INTEGER PRIMARY KEY,
    repeat_type_desc VARCHAR(20) NOT NULL
))";

const char *const kReminderUnits = R"(
CREATE TABLE tbl_reminder_units (
    reminder_id INTEGER PRIMARY KEY,
    reminder_desc VARCHAR(30) NOT NULL,
    reminder_minutes INTEGER NOT NULL UNIQUE,
    reminder_sort_order INTEGER NOT NULL
))";

const char *const kTripTimes = R"(
CREATE TABLE tbl_trip_times (
    trip_time_id INTEGER PRIMARY KEY,
    trip_time_name VARCHAR(30) COLLATE NOCASE NOT NULL,
    trip_time_sort_order INTEGER NOT NULL
))";

// Species ids are also the positions of the species icons, so they are fixed.
const char *const kSpeciesRows[] = {"Dog",    "Cat",     "Bird",       "Fish",    "Horse",
                                    "Rabbit", "Hamster", "Guinea Pig", "Reptile", "Other"};

struct Breeds {
    int species;
    QStringList names; // alphabetical
};

const QList<Breeds> &breedRows()
{
    static const QList<Breeds> rows = {
        {1,
         {"Beagle", "Border Collie", "Boxer", "Chihuahua", "Dachshund", "German Shepherd", "Golden Retriever",
          "Labrador Retriever", "Mixed Breed", "Poodle", "Yorkshire Terrier"}},
        {2,
         {"Abyssinian", "Bengal", "Domestic Longhair", "Domestic Shorthair", "Maine Coon", "Persian", "Ragdoll",
          "Siamese"}},
        {3, {"Budgerigar", "Canary", "Cockatiel", "Finch", "Lovebird", "Parrot"}},
        {4, {"Betta", "Goldfish", "Guppy", "Koi", "Neon Tetra"}},
        {5, {"Appaloosa", "Arabian", "Morgan", "Pony", "Quarter Horse", "Thoroughbred"}},
        {6, {"Dutch", "Holland Lop", "Lionhead", "Mini Rex", "Netherland Dwarf"}},
        {7, {"Chinese", "Dwarf Campbell", "Roborovski", "Syrian", "Winter White"}},
        {8, {"Abyssinian", "American", "Peruvian", "Teddy"}},
        {9, {"Bearded Dragon", "Corn Snake", "Leopard Gecko", "Tortoise", "Turtle"}},
        {10, {"Chinchilla", "Ferret", "Gerbil", "Hedgehog", "Mouse", "Rat"}},
    };
    return rows;
}

const char *const kGenderRows[] = {"Female", "Male"};
const char *const kPhoneTypeRows[] = {"Home", "Work", "Mobile", "Fax", "Pager", "Other"};
// The editor compares the chosen text with these very words.
const char *const kRepeatTypeRows[] = {"Day", "Week", "Month", "Year"};

struct ReminderUnit {
    const char *desc;
    int minutes;
};
const ReminderUnit kReminderUnitRows[] = {
    {"5 minutes", 5}, {"10 minutes", 10}, {"15 minutes", 15}, {"30 minutes", 30}, {"1 hour", 60},
    {"2 hours", 120}, {"4 hours", 240},   {"8 hours", 480},   {"12 hours", 720},  {"1 day", 1440},
    {"2 days", 2880}, {"3 days", 4320},   {"1 week", 10080},  {"2 weeks", 20160},
};

const char *const kTripTimeRows[] = {"Early Morning",  "Morning", "Late Morning", "Noon",      "Afternoon",
                                     "Late Afternoon", "Evening", "Night",        "Late Night"};

const QStringList kFeeding = {
    "Feed at the same times every day, and measure each meal rather than guessing.",
    "Keep fresh, clean water available at all times, and wash the bowls every day.",
    "Change to a new food gradually, over about a week, to avoid an upset stomach.",
    "Treats should make up no more than a tenth of the day's food.",
    "Never give chocolate, grapes, raisins, onions, garlic, alcohol, coffee, cooked bones "
    "or anything sweetened with xylitol.",
    "Ask your vet how much to feed for your pet's age, size and activity, and check the "
    "weight once a month.",
};

const QStringList kCare = {
    "See the vet for a check-up once a year, and keep vaccinations and flea, tick and worm "
    "treatments up to date.",
    "Brush the coat, trim the nails, and check the ears, eyes and teeth regularly.",
    "Give daily exercise and play suited to your pet's age and health.",
    "Keep the bed, cage, tank or litter box clean and dry.",
    "Make sure your pet wears an ID tag or is microchipped, and keep your phone number on "
    "it current.",
    "Call your vet if you notice a change in appetite, thirst, weight, behavior or toilet "
    "habits.",
};

// Plain RTF of a few paragraphs; characters outside ASCII and RTF's own
// \ { } are escaped so that every reader makes the same text of it.
QString rtfOf(const QStringList &paragraphs)
{
    QString body;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            body += QLatin1String("\\par ");
        for (QChar ch : paragraphs[i]) {
            const ushort u = ch.unicode();
            if (ch == QLatin1Char('\\') || ch == QLatin1Char('{') || ch == QLatin1Char('}'))
                body += QLatin1Char('\\') + ch;
            else if (u < 0x80)
                body += ch;
            else
                body += QStringLiteral("\\u%1?").arg(static_cast<short>(u));
        }
    }
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") + body + QLatin1Char('}');
}

} // namespace

QStringList dataFileStatements()
{
    QStringList s;
    for (const char *t : {kPet, kVaccine, kDiary, kCommand, kProperty, kContact, kPicture, kEvent, kTrip})
        s << withChecks(t);
    for (const char *i : kIndexes)
        s << sql(i);
    for (const char *v : {kQryVaccine, kQryListviewPicture, kQryCalendarSingle, kQryCalendarRepeating,
                          kQryReminderSingle, kQryReminderEventsRepeating, kQryrptPet, kQryrptTrip, kQryRptContact,
                          kQryrptDiary, kQryrptCommand, kQryrptProperty, kQryrptVaccine, kQryrptPictureAlbum})
        s << sql(v);
    return s;
}

QStringList systemFileStatements()
{
    QStringList s;
    for (const char *t : {kSpecies, kBreed, kGender, kPhoneType, kDefaults, kRepeatType, kReminderUnits, kTripTimes})
        s << withChecks(t);
    s << sql("CREATE INDEX ix_breed_species_id ON tbl_breed (breed_species_id)");

    int id = 0;
    for (const char *name : kSpeciesRows)
        s << QStringLiteral("INSERT INTO tbl_species (species_id, species_name) VALUES (%1, %2)")
                 .arg(++id)
                 .arg(quoted(QString::fromUtf8(name)));
    id = 0;
    for (const Breeds &b : breedRows())
        for (const QString &name : b.names)
            s << QStringLiteral("INSERT INTO tbl_breed (breed_id, breed_species_id, breed_name) VALUES (%1, %2, %3)")
                     .arg(++id)
                     .arg(b.species)
                     .arg(quoted(name));
    id = 0;
    for (const char *g : kGenderRows)
        s << QStringLiteral("INSERT INTO tbl_gender (gender_id, gender) VALUES (%1, %2)")
                 .arg(++id)
                 .arg(quoted(QString::fromUtf8(g)));
    id = 0;
    for (const char *p : kPhoneTypeRows) {
        ++id;
        s << QStringLiteral("INSERT INTO tbl_phone_type (phone_type_id, phone_type_name, "
                            "phone_type_sort_order) VALUES (%1, %2, %1)")
                 .arg(id)
                 .arg(quoted(QString::fromUtf8(p)));
    }
    s << QStringLiteral("INSERT INTO tbl_defaults (default_id, default_feeding_text, "
                        "default_feeding_rtf, default_care_text, default_care_rtf) "
                        "VALUES (1, %1, %2, %3, %4)")
             .arg(quoted(kFeeding.join(QLatin1Char('\n'))), quoted(rtfOf(kFeeding)),
                  quoted(kCare.join(QLatin1Char('\n'))), quoted(rtfOf(kCare)));
    id = 0;
    for (const char *r : kRepeatTypeRows)
        s << QStringLiteral("INSERT INTO tbl_repeat_type (repeat_type_id, repeat_type_desc) "
                            "VALUES (%1, %2)")
                 .arg(++id)
                 .arg(quoted(QString::fromUtf8(r)));
    id = 0;
    for (const ReminderUnit &u : kReminderUnitRows) {
        ++id;
        s << QStringLiteral("INSERT INTO tbl_reminder_units (reminder_id, reminder_desc, "
                            "reminder_minutes, reminder_sort_order) VALUES (%1, %2, %3, %1)")
                 .arg(id)
                 .arg(quoted(QString::fromUtf8(u.desc)))
                 .arg(u.minutes);
    }
    id = 0;
    for (const char *t : kTripTimeRows) {
        ++id;
        s << QStringLiteral("INSERT INTO tbl_trip_times (trip_time_id, trip_time_name, "
                            "trip_time_sort_order) VALUES (%1, %2, %1)")
                 .arg(id)
                 .arg(quoted(QString::fromUtf8(t)));
    }
    return s;
}

QStringList dataFileTables()
{
    return {"tbl_pet",     "tbl_vaccine", "tbl_diary", "tbl_command", "tbl_property",
            "tbl_contact", "tbl_picture", "tbl_event", "tbl_trip"};
}

QStringList systemFileTables()
{
    return {"tbl_species",  "tbl_breed",       "tbl_gender",         "tbl_phone_type",
            "tbl_defaults", "tbl_repeat_type", "tbl_reminder_units", "tbl_trip_times"};
}

QStringList dataFileViews()
{
    return {"qry_vaccine",         "qry_listview_picture",
            "qry_calendar_single", "qry_calendar_repeating",
            "qry_reminder_single", "qry_reminder_events_repeating",
            "qryrptPet",           "qryrptTrip",
            "qryRptContact",       "qryrptDiary",
            "qryrptCommand",       "qryrptProperty",
            "qryrptVaccine",       "qryrptPictureAlbum"};
}

QString vaccineSummarySql()
{
    // With one max() in the select list SQLite takes the other columns from
    // the row that holds the maximum, so the received date, notes and vet
    // belong to the latest shot of each vaccine.  vaccine_name keeps its
    // NOCASE collation through the view, so the grouping ignores case.
    return sql(R"(
SELECT vaccine_pet_id, max(vaccine_expiration_date) AS vaccine_expiration_date, vaccine_name,
       vaccine_received_date, vaccine_id, vaccine_notes, contact_person
FROM qryrptVaccine
WHERE vaccine_pet_id = ?
GROUP BY vaccine_pet_id, vaccine_name
ORDER BY max(vaccine_expiration_date), vaccine_name)");
}

bool makeSystemFile(const QString &path, const QString &password, db::DbError *error)
{
    return db::createDatabaseFile(path, db::kSystemFileId, password, systemFileStatements(), error,
                                  db::Journal::Rollback);
}

bool makeDataFile(const QString &path, const QString &password, db::DbError *error)
{
    return db::createDatabaseFile(path, db::kDataFileId, password, dataFileStatements(), error, db::Journal::Wal);
}

bool makeDataFileTemplate(const QString &path, const QString &password, db::DbError *error)
{
    return db::createDatabaseFile(path, db::kDataFileId, password, dataFileStatements(), error, db::Journal::Rollback);
}

} // namespace schema
