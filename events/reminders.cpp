#include "events/reminders.h"

#include "core/database.h"
#include "platform/dates.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "events/frm_reminder.h"
#include "events/reminder_rules.h"
#include "platform/clock.h"
#include "platform/controls/ct_image.h"
#include "platform/controls/ct_list.h"
#include "platform/db/database.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <optional>
#include <vector>

namespace reminders {

namespace {

QPointer<frm_reminder> g_window;

// Error reports that wait until the acknowledgement's transaction has ended, so
// that no box holds the data file locked while it waits for the user.
struct Report {
    int number;
    QString description, routine;
};
std::vector<Report> *g_heldReports = nullptr;

void report(int number, const QString &description, const QString &routine)
{
    if (g_heldReports)
        g_heldReports->push_back({number, description, routine});
    else
        ui::errorReport(number, description, routine, QStringLiteral(" - "));
}

// The reminder program's hidden window, as its timer passed it in for the check
// under way.
QPointer<QWidget> g_programWindow;

// The window the program's boxes belong to: the main window, or the reminder
// program's hidden window.
QWidget *owner()
{
    if (gMain)
        return gMain;
    return g_programWindow.data();
}

// Marks a check (or an acknowledgement) under way for as long as it lasts.
class Busy {
public:
    Busy() { gReminderCheckBusy = true; }
    ~Busy() { gReminderCheckBusy = false; }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;
};

// The name as listed: "(None)" for none, and on one line.
QString listName(const QVariant &name)
{
    if (name.isNull())
        return QStringLiteral("(None)");
    QString text = name.toString();
    if (text.contains(QLatin1Char('\r')))
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return text;
}

// The columns of a reminder query by their place, looked up once per query.
struct Columns {
    int kind, id, date, time, allDay, lead, name, repeating, endDate, every, acknowledged;
    explicit Columns(const QStringList &names)
    {
        auto at = [&names](const char *name) {
            for (int i = 0; i < names.size(); ++i)
                if (names.at(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                    return i;
            return -1;
        };
        kind = at("object_id");
        id = at("record_id");
        date = at("event_date");
        time = at("event_time");
        allDay = at("event_all_day");
        lead = at("event_reminder_minutes");
        name = at("event_name");
        repeating = at("event_type_repeating");
        endDate = at("event_end_date");
        every = at("event_repeat_every");
        acknowledged = at("event_acknowledged_date");
    }
};

// A column's value in a row; Null for a column the query does not have. Read
// in place: a row's values are looked at several times each, for every row.
const QVariant &value(const QVariantList &rs, int column)
{
    static const QVariant none;
    return column >= 0 && column < rs.size() ? rs.at(column) : none;
}

ReminderRow entryOf(const QVariantList &rs, const Columns &c, const DueCheck &due)
{
    return ReminderRow{value(rs, c.kind).toInt(),
                       long(value(rs, c.id).toLongLong()),
                       listName(value(rs, c.name)),
                       due.dueText,
                       value(rs, c.repeating).toLongLong() != 0,
                       due.acknowledgeValue};
}

// A due single item with what it is listed by: its date and time as the file
// holds them (Null first, then text in the engine's order), events before
// vaccinations, and each kind in the order it was entered.
struct SingleDue {
    QVariant date, time;
    int kind;
    qint64 id;
    ReminderRow entry;
    // The date and time as numbers that sort as their texts do, when they are
    // stored in the files' own form ('YYYY-MM-DD', 'HH:MM:SS'; a time may be
    // Null, -1); kOtherForm when they are not.
    qint64 dateKey = kOtherForm, timeKey = kOtherForm;
    static constexpr qint64 kOtherForm = -2;
};

// The digits of `text` read as one number when it has exactly the shape of
// `pattern` ('9' a digit, anything else itself), else SingleDue::kOtherForm.
qint64 formKey(const QVariant &v, QLatin1String pattern)
{
    if (v.typeId() != QMetaType::QString)
        return SingleDue::kOtherForm;
    const QString &text = *static_cast<const QString *>(v.constData());
    if (text.size() != pattern.size())
        return SingleDue::kOtherForm;
    qint64 key = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (pattern.at(i) == QLatin1Char('9')) {
            if (c < u'0' || c > u'9')
                return SingleDue::kOtherForm;
            key = key * 10 + (c - u'0');
        } else if (c != char16_t(pattern.at(i).unicode())) {
            return SingleDue::kOtherForm;
        }
    }
    return key;
}

SingleDue singleDue(const QVariant &date, const QVariant &time, int kind, qint64 id, ReminderRow entry)
{
    SingleDue d{date, time, kind, id, std::move(entry)};
    d.dateKey = formKey(date, QLatin1String("9999-99-99"));
    d.timeKey = time.isNull() ? -1 : formKey(time, QLatin1String("99:99:99"));
    return d;
}

// The engine's order of two stored values of one column: Null, numbers, text
// (by character codes), blobs (by bytes).
int storedOrder(const QVariant &a, const QVariant &b)
{
    auto rank = [](const QVariant &v) {
        if (v.isNull())
            return 0;
        switch (v.typeId()) {
        case QMetaType::QString: return 2;
        case QMetaType::QByteArray: return 3;
        default: return 1;
        }
    };
    const int ra = rank(a), rb = rank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (ra) {
    case 0: return 0;
    case 1: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    case 2:
        return QString::compare(*static_cast<const QString *>(a.constData()),
                                *static_cast<const QString *>(b.constData()), Qt::CaseSensitive);
    default: {
        const QByteArray &x = *static_cast<const QByteArray *>(a.constData());
        const QByteArray &y = *static_cast<const QByteArray *>(b.constData());
        return x < y ? -1 : y < x ? 1 : 0;
    }
    }
}

bool listedBefore(const SingleDue &a, const SingleDue &b)
{
    if (a.dateKey != SingleDue::kOtherForm && b.dateKey != SingleDue::kOtherForm) {
        if (a.dateKey != b.dateKey)
            return a.dateKey < b.dateKey;
    } else if (const int d = storedOrder(a.date, b.date)) {
        return d < 0;
    }
    if (a.timeKey != SingleDue::kOtherForm && b.timeKey != SingleDue::kOtherForm) {
        if (a.timeKey != b.timeKey)
            return a.timeKey < b.timeKey;
    } else if (const int t = storedOrder(a.time, b.time)) {
        return t < 0;
    }
    if (a.kind != b.kind)
        return a.kind > b.kind;
    return a.id < b.id;
}

void skipped(const QVariantList &rs, const Columns &c)
{
    qWarning("reminders: row %s of kind %s cannot be read and was left out", qPrintable(value(rs, c.id).toString()),
             qPrintable(value(rs, c.kind).toString()));
}

// Fills the window from gReminders and sets it up for the program showing it.
void fillWindow(frm_reminder &w, bool showSnooze)
{
    w.cmdClose->setEnabled(false);
    w.cmdPrint->setEnabled(false);
    w.ctList1->clearRows();
    // The cells as they are (a ";" in a name stays in the name), all in one go.
    QList<QStringList> rows;
    QStringList data;
    rows.reserve(qsizetype(gReminders.size()));
    data.reserve(qsizetype(gReminders.size()));
    for (size_t i = 1; i < gReminders.size(); ++i) {
        const ReminderRow &e = gReminders[i];
        rows.append({QString(), e.name, e.due});
        data.append(QString::number(i));
    }
    w.ctList1->addRows(rows, data);
    w.lblHeader[0]->setText(w.ctList1->CellText(0, 2));
    w.lblHeader[1]->setText(QStringLiteral("Due:"));
    w.lblHeader[2]->setText(w.ctList1->CellText(0, 3));
    w.cmdClose->setEnabled(true);
    w.cmdPrint->setEnabled(true);
    w.setSnoozeShown(showSnooze);
    w.setWindowTitle(QStringLiteral("Reminders - ") + funGetAppTitle());
    w.setWindowIcon(CtImage(CtImage::Store::Tray).icon(0, 1));
}

bool checkNow(bool showSnooze, bool messageIfNone)
{
    if (!gDataDB) {
        report(db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."),
               QStringLiteral("funCheckReminders"));
        return false;
    }
    db::DbError error;
    bool collected = false;
    {
        Hourglass hourglass;
        collected = funCollectReminders(*gDataDB, zbclock::now(), &error);
    }
    if (!collected) {
        report(error.number, error.description, QStringLiteral("funCheckReminders"));
        return false;
    }
    if (gReminders.size() <= 1) {
        if (messageIfNone)
            ui::dialogs().msgBox(owner(), QStringLiteral("There are no event reminders due at this time."),
                                 ui::Information | ui::OKOnly);
        return false;
    }
    // The reminder program's window stands on its own; the main program's belongs
    // to the main window.
    std::unique_ptr<frm_reminder> window(new frm_reminder(showSnooze ? nullptr : gMain));
    g_window = window.get();
    fillWindow(*window, showSnooze);
    window->showModal();
    return true;
}

void closeFiles()
{
    subCloseDataDB();
    subCloseSystemDB();
    gWorkspace.reset();
}

// A fresh workspace, and both paths when they are not known yet.
void prepareFiles()
{
    gWorkspace = std::make_unique<db::Workspace>(QString(), QStringLiteral("admin"), QString());
    if (gDataDBPath.trimmed().isEmpty())
        gDataDBPath = funGetDBNameData();
    if (gSystemDBPath.trimmed().isEmpty())
        gSystemDBPath = funGetDBNameSystem();
}

} // namespace

QString funGetFrequency() { return QStringLiteral("n"); }

QString funGetInterval() { return QStringLiteral("5"); }

QDateTime funDateAdd(const QString &unit, qint64 number, const QDateTime &t)
{
    if (unit == QLatin1String("s"))
        return t.addSecs(number);
    if (unit == QLatin1String("h"))
        return t.addSecs(number * 3600);
    if (unit == QLatin1String("d"))
        return t.addDays(number);
    return t.addSecs(number * 60);
}

frm_reminder *reminderWindow() { return g_window.data(); }

bool funCollectReminders(db::Database &data, const QDateTime &now, db::DbError *error)
{
    gReminders.assign(1, ReminderRow());
    const DueClock clock(now);

    // The rows of qry_reminder_single, read from its tables: a row whose day,
    // less its lead time, lies more than a day ahead cannot be due, whatever its
    // time of day, and is left out by the file. The events are read in the
    // table's own order: through the date index the engine would fetch every
    // row from a page of its own, many times slower on a large household.
    // Read row by row: a large household has tens of thousands due, and only
    // the entries of those due are kept.
    static const QString lead =
        QStringLiteral("CASE WHEN e.event_show_reminder <> 0 THEN ifnull(e.event_reminder_minutes, 0) ELSE 0 END");
    std::optional<Columns> sc;
    std::vector<SingleDue> singles;
    const bool singleRead = data.forEachRow(
        QStringLiteral("SELECT 8 AS object_id, e.event_id AS record_id, e.event_date AS event_date, "
                       "e.event_time AS event_time, e.event_all_day AS event_all_day, "
                       "%1 AS event_reminder_minutes, e.event_name AS event_name, "
                       "e.event_type_repeating AS event_type_repeating "
                       "FROM tbl_event AS e NOT INDEXED "
                       "WHERE e.event_type_repeating = 0 AND e.event_date IS NOT NULL "
                       "AND e.event_acknowledged_date = ?1 "
                       "AND julianday(e.event_date) - (%1) / 1440.0 <= julianday(?2) + 1 "
                       "UNION ALL "
                       "SELECT 6, v.vaccine_id, v.vaccine_expiration_date, NULL, -1, 10080, "
                       "coalesce(nullif(p.pet_name, ''), '(No Name)') || ': ' "
                       "|| coalesce(nullif(v.vaccine_name, ''), 'Vaccination') || ' expires', 0 "
                       "FROM tbl_vaccine AS v INNER JOIN tbl_pet AS p ON p.pet_id = v.vaccine_pet_id "
                       "WHERE v.vaccine_expiration_date IS NOT NULL "
                       "AND v.vaccine_acknowledged_date = ?1 "
                       "AND julianday(v.vaccine_expiration_date) - 10080 / 1440.0 <= julianday(?2) + 1 ")
            .arg(lead),
        {kNotAcknowledged, dbDateTime(now)}, [&](const QStringList &names, const QVariantList &row) {
            if (!sc)
                sc.emplace(names);
            const DueCheck due = funSingleDue(value(row, sc->date), value(row, sc->time), value(row, sc->allDay),
                                              value(row, sc->lead), clock);
            if (due.verdict == DueCheck::Due)
                singles.push_back(singleDue(value(row, sc->date), value(row, sc->time), value(row, sc->kind).toInt(),
                                            value(row, sc->id).toLongLong(), entryOf(row, *sc, due)));
            else if (due.verdict == DueCheck::Bad)
                skipped(row, *sc);
        });
    if (!singleRead) {
        if (error)
            *error = data.lastError();
        return false;
    }
    // In date and time order, sorted here: the engine takes several times as
    // long to sort the whole rows of a large household.
    // Their keys are sorted side by side, not the items, which are many times
    // larger and lie all over memory.
    struct Place {
        qint64 dateKey, timeKey, id;
        int kind;
        quint32 index;
    };
    std::vector<Place> order(singles.size());
    for (size_t i = 0; i < singles.size(); ++i) {
        const SingleDue &d = singles[i];
        order[i] = {d.dateKey, d.timeKey, d.id, d.kind, quint32(i)};
    }
    std::sort(order.begin(), order.end(), [&singles](const Place &a, const Place &b) {
        if (a.dateKey != SingleDue::kOtherForm && b.dateKey != SingleDue::kOtherForm
            && a.timeKey != SingleDue::kOtherForm && b.timeKey != SingleDue::kOtherForm) {
            if (a.dateKey != b.dateKey)
                return a.dateKey < b.dateKey;
            if (a.timeKey != b.timeKey)
                return a.timeKey < b.timeKey;
            if (a.kind != b.kind)
                return a.kind > b.kind;
            return a.id < b.id;
        }
        return listedBefore(singles[a.index], singles[b.index]);
    });
    gReminders.reserve(singles.size() + 1);
    for (const Place &p : order)
        gReminders.push_back(std::move(singles[p.index].entry));

    std::optional<Columns> rc;
    const bool repeatingRead =
        data.forEachRow(QStringLiteral("SELECT object_id, record_id, event_date, event_time, "
                                       "event_reminder_minutes, event_name, event_type_repeating, "
                                       "event_end_date, event_repeat_every, event_acknowledged_date "
                                       "FROM qry_reminder_events_repeating"),
                        {}, [&](const QStringList &names, const QVariantList &row) {
                            if (!rc)
                                rc.emplace(names);
                            const DueCheck due = funRepeatingDue(
                                value(row, rc->date), value(row, rc->time), value(row, rc->lead),
                                value(row, rc->endDate), value(row, rc->every), value(row, rc->acknowledged), clock);
                            if (due.verdict == DueCheck::Due)
                                gReminders.push_back(entryOf(row, *rc, due));
                            else if (due.verdict == DueCheck::Bad)
                                skipped(row, *rc);
                        });
    if (!repeatingRead) {
        if (error)
            *error = data.lastError();
        return false;
    }
    return true;
}

bool funCheckReminders(bool showSnooze, bool messageIfNone)
{
    if (gReminderCheckBusy) {
        // The window of the check under way is still up: bring it forward.
        if (g_window) {
            g_window->raise();
            g_window->activateWindow();
        }
        return false;
    }
    Busy busy;
    return checkNow(showSnooze, messageIfNone);
}

void subReminderTimer(QWidget *programWindow, bool forced)
{
    // A check under way holds the files open and its window up; this pass waits
    // for the next tick rather than closing the files under it.
    if (gReminderCheckBusy) {
        if (forced && g_window) {
            g_window->raise();
            g_window->activateWindow();
        }
        return;
    }
    gCheckUnit = funGetFrequency();
    gCheckInterval = funGetInterval().toInt();
    const QDateTime now = zbclock::now();
    if (!gNextReminderCheck.isValid() || now >= gNextReminderCheck || forced) {
        Busy busy;
        g_programWindow = programWindow;
        gNextReminderCheck = funDateAdd(gCheckUnit, gCheckInterval, now);
        prepareFiles();
        if (!funOpen_DataDB(owner(), gDataDBPath)) {
            ui::dialogs().msgBox(owner(), QStringLiteral("Unable to open Zorbi data file, no reminders available..."),
                                 ui::OKOnly, QStringLiteral("Error"));
            closeFiles();
            return;
        }
        if (!funOpen_SystemDB(owner(), gSystemDBPath)) {
            ui::dialogs().msgBox(owner(), QStringLiteral("Unable to open Zorbi system file, no reminders available..."),
                                 ui::OKOnly, QStringLiteral("Error"));
            closeFiles();
            return;
        }
        gNextReminderCheck = funDateAdd(gCheckUnit, gCheckInterval, zbclock::now());
        checkNow(true, forced);
    }
    closeFiles();
}

namespace {
// Writes `value` into the acknowledged date of item `index`; an UPDATE that
// finds no row (the record was deleted meanwhile) is no error.
bool acknowledge(long index, const QString &sql, const QDateTime &value, const QString &routine)
{
    if (!gDataDB || index < 1 || size_t(index) >= gReminders.size())
        return false;
    if (!gDataDB->execute(sql, {dbDateTime(value), qlonglong(gReminders[size_t(index)].recordID)})) {
        report(gDataDB->lastError().number, gDataDB->lastError().description, routine);
        return false;
    }
    return true;
}
} // namespace

bool funAcknowledgeEvent(long &index)
{
    if (index < 1 || size_t(index) >= gReminders.size())
        return false;
    // A single event is acknowledged now; a repeating one up to the occurrence
    // that was listed.
    const ReminderRow &e = gReminders[size_t(index)];
    const QDateTime value = e.repeating ? e.acknowledgeValue : zbclock::now();
    return acknowledge(index, QStringLiteral("UPDATE tbl_event SET event_acknowledged_date = ? WHERE event_id = ?"),
                       value, QStringLiteral("funAcknowledgeEvent"));
}

bool funAcknowledgeVaccine(long &index)
{
    return acknowledge(index,
                       QStringLiteral("UPDATE tbl_vaccine SET vaccine_acknowledged_date = ? WHERE vaccine_id = ?"),
                       zbclock::now(), QStringLiteral("funAcknowledgeVaccine"));
}

void subAcknowledgeChecked(frm_reminder *form)
{
    if (!form || !gDataDB)
        return;
    std::vector<Report> held;
    {
        Hourglass hourglass;
        // One short transaction: every marked item is written, or, should the
        // program be stopped, none is, and all are listed again.
        if (!gDataDB->transaction()) {
            report(gDataDB->lastError().number, gDataDB->lastError().description,
                   QStringLiteral("subAcknowledgeChecked"));
            return;
        }
        g_heldReports = &held;
        CtList *list = form->ctList1;
        for (int row = 0; row < list->RowCount(); ++row) {
            if (list->CheckState(row) != 1)
                continue;
            bool ok = false;
            long i = list->RowData(row).toLong(&ok);
            if (!ok || i < 1 || size_t(i) >= gReminders.size())
                continue;
            switch (gReminders[size_t(i)].kind) {
            case 6: funAcknowledgeVaccine(i); break;
            case 8: funAcknowledgeEvent(i); break;
            default: break;
            }
        }
        g_heldReports = nullptr;
        if (!gDataDB->commit()) {
            held.push_back({gDataDB->lastError().number, gDataDB->lastError().description,
                            QStringLiteral("subAcknowledgeChecked")});
            gDataDB->rollback();
        }
    }
    for (const Report &r : held)
        ui::errorReport(r.number, r.description, r.routine, QStringLiteral(" - "));
}

void subAcknowledgeReminders(frm_reminder *form)
{
    prepareFiles();
    if (!funOpen_DataDB(owner(), gDataDBPath)) {
        ui::dialogs().msgBox(owner(),
                             QStringLiteral("Unable to open Zorbi data file, events could not be acknowledged."),
                             ui::Critical | ui::OKOnly, QStringLiteral("Error"));
        return;
    }
    if (!funOpen_SystemDB(owner(), gSystemDBPath)) {
        ui::dialogs().msgBox(owner(),
                             QStringLiteral("Unable to open Zorbi system file, events could not be acknowledged."),
                             ui::Critical | ui::OKOnly, QStringLiteral("Error"));
        return;
    }
    subAcknowledgeChecked(form);

    bool ok = false;
    qint64 snooze = gSnoozeMinutes.trimmed().toLongLong(&ok);
    if (!ok)
        snooze = funGetInterval().toLongLong();
    gNextReminderCheck = funDateAdd(gCheckUnit, snooze, zbclock::now());

    // Every window of the program but the hidden tray form goes with the
    // reminder window. The icon in the notification area is a window of its own
    // that bypasses the window manager, and open menus are pop-ups: both stay.
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w == form || w == g_programWindow || !w->isVisible())
            continue;
        if (w->objectName().compare(QStringLiteral("frm_systray"), Qt::CaseInsensitive) == 0)
            continue;
        const Qt::WindowType type = w->windowType();
        if ((type != Qt::Window && type != Qt::Dialog) || w->windowFlags().testFlag(Qt::BypassWindowManagerHint))
            continue;
        w->close();
    }
    closeFiles();
}

} // namespace reminders
