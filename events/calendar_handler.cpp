#include "events/calendar_handler.h"

#include "core/dates.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/menu.h"
#include "core/settings.h"
#include "events/print_support.h"
#include "events/repeat_rule.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/dialogs.h"
#include "platform/wait_cursor.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QPrinter>
#include <vector>

namespace calendar_handler {

namespace {

const QString kMoreEvents = QStringLiteral("More events...");

int dayNumber(const QDate &d) { return funDateToDayNumber(d); }

// A value that names a date (a date, a date-time or a typed date), or a null date.
QDate asDate(const QVariant &value)
{
    const int n = funDateToDayNumber(value);
    return n > 0 ? funDayNumberToDate(n) : QDate();
}

QString monthAndYear(const QDate &d) { return QLocale().toString(d, QStringLiteral("MMMM yyyy")); }

// "h:mm am/pm", as the calendar has always written times.
QString timeText(const QTime &t)
{
    const int hour = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(hour)
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}

// An item's name on one line: a line break of any kind becomes one blank.
QString oneLineName(const QVariant &name)
{
    if (name.isNull())
        return QStringLiteral("None");
    QString s = name.toString();
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

CtCalendar *calendarOf(QWidget *form)
{
    return form ? form->findChild<CtCalendar *>(QStringLiteral("ctCalendar1")) : nullptr;
}

// One row of either query, read once and checked. A row without a date, or
// with a time that is not a plain time of day, is no item and is passed over.
struct Item {
    int kind = 0;
    int misc = 0;
    QVariant recordId;
    int species = 0;
    QDate date;
    QVariant storedTime;
    QString timePrefix; // "h:mm am/pm " or ""
    QString name;
    // Repeating rows only.
    int first = 0, last = 0; // the span as day numbers
    int unit = 0;
    repeat_rule::DayKey key;
};

// The columns of a query's rows by position, looked up once.
struct Columns {
    int objectId, miscData, recordId, petId, species, date, time, name, endDate = -1, repeatEvery = -1;
    explicit Columns(const db::Recordset &rs)
    {
        const QStringList names = rs.fieldNames();
        auto at = [&names](const char *n) { return int(names.indexOf(QString::fromLatin1(n))); };
        objectId = at("object_id");
        miscData = at("misc_data");
        recordId = at("record_id");
        petId = at("pet_id");
        species = at("pet_species_id");
        date = at("event_date");
        time = at("event_time");
        name = at("event_name");
        endDate = at("event_end_date");
        repeatEvery = at("event_repeat_every");
    }
};

bool readItem(const db::Recordset &rs, const Columns &c, bool repeating, Item *item)
{
    item->date = dateFromDb(rs.field(c.date));
    if (!item->date.isValid())
        return false;
    item->storedTime = rs.field(c.time);
    item->timePrefix.clear();
    const QString stored = item->storedTime.toString();
    if (!item->storedTime.isNull() && !stored.isEmpty()) {
        const QTime t = QTime::fromString(stored, QStringLiteral("HH:mm:ss"));
        if (!t.isValid())
            return false;
        item->timePrefix = timeText(t) + QLatin1Char(' ');
    }
    item->kind = rs.field(c.objectId).toInt();
    item->misc = rs.field(c.miscData).toInt();
    item->name = oneLineName(rs.field(c.name));
    if (repeating) {
        item->recordId = rs.field(c.recordId);
        item->species = 0;
        item->unit = rs.field(c.repeatEvery).toInt();
        item->first = dayNumber(item->date);
        const QDate last = dateFromDb(rs.field(c.endDate));
        item->last = last.isValid() ? dayNumber(last) : item->first;
        item->key = repeat_rule::keyOf(item->date);
    } else {
        item->recordId = rs.field(item->kind == 8 ? c.recordId : c.petId);
        item->species = rs.field(c.species).toInt();
    }
    return true;
}

// Writes an item into the first free line of its day; with all three taken,
// the third line says there is more.
void placeLine(CtCalendar *cal, int day, const QString &text, bool darkRed)
{
    for (int n = 0; n < 3; ++n) {
        const QString line = n == 0 ? cal->DateText(day) : n == 1 ? cal->DateText2(day) : cal->DateText3(day);
        if (!line.trimmed().isEmpty())
            continue;
        switch (n) {
        case 0:
            cal->setDateText(day, text);
            if (darkRed)
                cal->setDateTextColor(day, kDarkRed);
            break;
        case 1:
            cal->setDateText2(day, text);
            if (darkRed)
                cal->setDateTextColor2(day, kDarkRed);
            break;
        default:
            cal->setDateText3(day, text);
            if (darkRed)
                cal->setDateTextColor3(day, kDarkRed);
            break;
        }
        return;
    }
    cal->setDateText3(day, kMoreEvents);
    cal->setDateTextColor3(day, kDarkRed);
}

void place(CtCalendar *cal, const Item &item, const QDate &on, bool darkRed)
{
    const int day = dayNumber(on);
    placeLine(cal, day, item.timePrefix + item.name, darkRed);
    gCalendarItems.push_back(QVariantList{day, item.kind, item.recordId, item.species, item.name,
                                          item.timePrefix + QLocale().toString(on, QStringLiteral("MMMM d, yyyy")),
                                          item.storedTime, QVariant()});
}

bool queryFailed(const CalendarQuery &q, std::unique_ptr<db::Recordset> *rs)
{
    if (!gDataDB) {
        ui::errorReport(db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."),
                        QStringLiteral("funCalendarRefresh"));
        return true;
    }
    *rs = gDataDB->openRecordset(q.sql, q.params);
    if (*rs)
        return false;
    ui::errorReport(gDataDB->lastError().number, gDataDB->lastError().description,
                    QStringLiteral("funCalendarRefresh"));
    return true;
}

bool placeSingleItems(CtCalendar *cal, const CalendarSettings &s, const QDate &start, const QDate &end)
{
    std::unique_ptr<db::Recordset> rs;
    if (queryFailed(singleItemsQuery(s, start, end), &rs))
        return false;
    const Columns c(*rs);
    Item item;
    for (rs->moveFirst(); !rs->isEOF(); rs->moveNext()) {
        if (!readItem(*rs, c, false, &item))
            continue;
        place(cal, item, item.date, item.kind == 6 && item.misc == 1);
    }
    return true;
}

bool placeRepeatingItems(CtCalendar *cal, const CalendarSettings &s, const QDate &shown, const QDate &start,
                         const QDate &end)
{
    std::unique_ptr<db::Recordset> rs;
    if (queryFailed(repeatingItemsQuery(s, start, end), &rs))
        return false;
    const Columns c(*rs);
    std::vector<Item> items;
    items.reserve(size_t(rs->recordCount()));
    Item item;
    for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
        if (readItem(*rs, c, true, &item))
            items.push_back(item);
    rs.reset();

    // Day by day through the grid, every item in the query's order.
    for (QDate d = start; d <= end; d = d.addDays(1)) {
        const int day = dayNumber(d);
        const repeat_rule::DayKey key = repeat_rule::keyOf(d);
        for (const Item &i : items)
            if (i.first <= day && day <= i.last && repeat_rule::sameKey(i.unit, i.key, key))
                place(cal, i, d, false);
    }

    // A month shorter than an item's day of the month shows the item on its
    // last day: the 29th to 31st in their order, each in the query's order.
    const QDate e = fDateEndOfMonth(shown);
    const int eDay = dayNumber(e);
    const repeat_rule::DayKey eKey = repeat_rule::keyOf(e);
    for (int n = e.day() + 1; n <= 31; ++n)
        for (const Item &i : items)
            if (i.key.day == n && i.first <= eDay && eDay <= i.last
                && repeat_rule::fallsOnMonthEnd(i.unit, i.key, eKey))
                place(cal, i, e, false);
    return true;
}

} // namespace

CalendarSettings CalendarSettings::fromPrefs()
{
    auto on = [](const char *key) { return funPref_Get(QLatin1String(key), 0).toInt() > 0; };
    CalendarSettings s;
    s.birthdays = on("Cal_Show_DOB");
    s.diary = on("Cal_Show_Diary");
    s.vaccinesReceived = on("Cal_Show_Vac_Rec");
    s.vaccinesExpiring = on("Cal_Show_Vac_Exp");
    return s;
}

CalendarQuery singleItemsQuery(const CalendarSettings &s, const QDate &start, const QDate &end)
{
    QString sql = QStringLiteral("SELECT * FROM qry_calendar_single WHERE event_date BETWEEN ? AND ?");
    if (!s.diary)
        sql += QStringLiteral(" AND NOT (object_id = 9 AND misc_data = 0)");
    if (!s.vaccinesReceived)
        sql += QStringLiteral(" AND NOT (object_id = 6 AND misc_data = 2)");
    if (!s.vaccinesExpiring)
        sql += QStringLiteral(" AND NOT (object_id = 6 AND misc_data = 1)");
    sql += QStringLiteral(" ORDER BY object_id ASC, misc_data ASC, event_date ASC, event_time ASC, record_id ASC");
    return {sql, {dbDate(start), dbDate(end)}};
}

CalendarQuery repeatingItemsQuery(const CalendarSettings &s, const QDate &start, const QDate &end)
{
    // An item whose last day lies before the grid can come round on none of its days.
    QString sql = QStringLiteral("SELECT * FROM qry_calendar_repeating WHERE event_date <= ?"
                                 " AND coalesce(event_end_date, event_date) >= ?");
    if (!s.birthdays)
        sql += QStringLiteral(" AND NOT (object_id = 1 AND misc_data = 12)");
    sql += QStringLiteral(" ORDER BY event_date ASC, event_time ASC, object_id ASC, record_id ASC");
    return {sql, {dbDate(end), dbDate(start)}};
}

QDate gridStart(const QDate &date)
{
    const QDate first(date.year(), date.month(), 1);
    return first.addDays(-(first.dayOfWeek() % 7)); // Qt counts Sunday as 7
}

bool fillCalendar(CtCalendar *cal, const QDate &shown, const QDate &start, const QDate &end,
                  const CalendarSettings &settings)
{
    if (!cal)
        return false;
    gCalendarItems.assign(1, QVariantList());
    cal->ClearDays();
    const bool ok = placeSingleItems(cal, settings, start, end)
                    && placeRepeatingItems(cal, settings, shown, start, end);
    // The grid's own colours do not depend on what could be read.
    for (QDate d = start; d <= end; d = d.addDays(1))
        if (d.month() != shown.month() || d.year() != shown.year())
            cal->setDayForeColor(dayNumber(d), kGrey);
    cal->setDayBackColor(dayNumber(zbclock::today()), kTodayColor);
    return ok;
}

bool funCalendarHandler(QWidget *form, int action, const QVariant &date)
{
    switch (action) {
    case 5: funCalendarShow(form, date); break;
    case 7: funCalendarPrint(form); break;
    case 15: funCalendarRefresh(form); break;
    default:
        ui::dialogs().msgBox(form, QStringLiteral("Invalid function (%1) specified in funCalendarHandler").arg(action),
                             ui::OKOnly);
        break;
    }
    return false;
}

bool funCalendarShow(QWidget *form, const QVariant &dateArg)
{
    CtCalendar *cal = calendarOf(form);
    if (!cal)
        return false;
    QDate date = asDate(dateArg);
    if (!date.isValid())
        date = zbclock::today();
    ui::WaitCursor wait;
    gCurrentView = 6;
    subSetToolBar(form, 6);

    const QDate start = gridStart(date);
    const QDate end = start.addDays(CtCalendar::kGridDays - 1);
    cal->setDateStart(dayNumber(start));
    cal->setDateEnd(dayNumber(end));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    if (auto *title = form->findChild<QLabel *>(QStringLiteral("lblMain(3)")))
        title->setText(QStringLiteral(" Calendar - ") + monthAndYear(date));
    fillCalendar(cal, date, start, end, CalendarSettings::fromPrefs());

    // The flag tells the main window that the month change about to come is
    // ours. Raised for a move within the month it would stay up, and the
    // user's next move to another month would go unfilled.
    const QDate before = funDayNumberToDate(cal->Date());
    gCalendarShown = before.month() != date.month() || before.year() != date.year();
    cal->setDate(dayNumber(date));
    cal->setPrintTitle(QStringLiteral("Zorbi Calendar"));
    cal->setPrintSubTitle(monthAndYear(date));

    if (auto *main = qobject_cast<frm_main *>(form))
        main->showView(6);
    return false;
}

bool funCalendarRefresh(QWidget *form, const QVariant &dateArg, const QVariant &startArg, const QVariant &endArg)
{
    CtCalendar *cal = calendarOf(form);
    if (!cal)
        return false;
    QDate date = asDate(dateArg), start = asDate(startArg), end = asDate(endArg);
    if (!date.isValid())
        date = funDayNumberToDate(cal->Date());
    if (!start.isValid())
        start = funDayNumberToDate(cal->DateStart());
    if (!end.isValid())
        end = funDayNumberToDate(cal->DateEnd());
    ui::WaitCursor wait;
    return fillCalendar(cal, date, start, end, CalendarSettings::fromPrefs());
}

bool funCalendarPrint(QWidget *form)
{
    CtCalendar *cal = calendarOf(form);
    if (!cal)
        return false;
    cal->setPrintTitle(funGetAppTitle() + QStringLiteral(" Calendar"));
    ui::WaitCursor wait;
    // A month is wider than it is high: it goes across the page, and the
    // printer keeps its own orientation for everything else.
    QPrinter &printer = funProgramPrinter();
    const QPageLayout::Orientation was = printer.pageLayout().orientation();
    printer.setPageOrientation(QPageLayout::Landscape);
    const bool printed = cal->PrintCalendar(&printer);
    printer.setPageOrientation(was);
    if (!printed)
        ui::errorReport(482, QStringLiteral("Printer error"), QStringLiteral("funCalendarPrint"));
    return printed;
}

void subCalendarToolBar(QWidget *form)
{
    auto *bar = form ? form->findChild<CtToolBar *>(QStringLiteral("ctToolbar_MainToolbar")) : nullptr;
    if (!bar)
        return;
    bar->setItemVisible(8, true);
    bar->setItemVisible(9, true);
    bar->setItemEnabled(9, true);
    for (int id = 10; id <= 15; ++id)
        bar->setItemVisible(id, false);
    for (int id = 16; id <= 21; ++id)
        bar->setItemVisible(id, true);
}

} // namespace calendar_handler
