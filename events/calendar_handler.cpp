#include "events/calendar_handler.h"
#include "core/codes.h"

#include "platform/dates.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/menu.h"
#include "core/settings.h"
#include "events/repeat_rule.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"

#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QLocale>
#include <QPrinter>
#include <algorithm>
#include <array>
#include <memory>
#include <tuple>
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
    if (!s.contains(QLatin1Char('\n')) && !s.contains(QLatin1Char('\r')))
        return s;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

// The calendar lives on the main window only; any other form has none.
CtCalendar *calendarOf(QWidget *form)
{
    auto *main = qobject_cast<frm_main *>(form);
    return main ? main->ctCalendar1 : nullptr;
}

// One row of either query, read once and checked. A row without a date, or
// with a time that is not a plain time of day, is no item and is passed over.
struct Item {
    int kind = 0;
    int misc = 0;
    long recordId = 0;
    int species = 0;
    QDate date;
    QString storedTime; // null when there is none
    QString timePrefix; // "h:mm am/pm " or ""
    QString name;
    int seconds = -1; // the time of day, -1 for none
    qint64 rowId = 0; // record_id, the last key of the order
    // Repeating rows only.
    repeat_rule::Recurrence rule;
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

// "h:mm am/pm " of each time of day met in one fill, made once.
using TimeTexts = QHash<int, QString>;

bool readItem(const db::Recordset &rs, const Columns &c, bool repeating, TimeTexts &times, Item *item)
{
    item->date = dateFromDb(rs.field(c.date));
    if (!item->date.isValid())
        return false;
    const QVariant storedTime = rs.field(c.time);
    item->storedTime = storedTime.isNull() ? QString() : storedTime.toString();
    item->timePrefix.clear();
    const QString &stored = item->storedTime;
    if (!stored.isEmpty()) {
        // A time of day alone, 'HH:MM:SS'; with a date in front it is no time.
        const QTime t = stored.size() == 8 ? timeFromDb(stored) : QTime();
        if (!t.isValid())
            return false;
        item->seconds = t.msecsSinceStartOfDay() / 1000;
        auto known = times.constFind(item->seconds);
        if (known == times.constEnd())
            known = times.insert(item->seconds, timeText(t) + QLatin1Char(' '));
        item->timePrefix = *known;
    } else {
        item->seconds = -1;
    }
    item->rowId = rs.field(c.recordId).toLongLong();
    item->kind = rs.field(c.objectId).toInt();
    item->misc = rs.field(c.miscData).toInt();
    item->name = oneLineName(rs.field(c.name));
    if (repeating) {
        item->recordId = long(item->rowId);
        item->species = 0;
        item->rule = repeat_rule::Recurrence(repeat_rule::repeatTypeOf(rs.field(c.repeatEvery)), item->date,
                                             dateFromDb(rs.field(c.endDate)));
    } else {
        item->recordId = long(rs.field(item->kind == 8 ? c.recordId : c.petId).toLongLong());
        item->species = rs.field(c.species).toInt();
    }
    return true;
}

// Every good row of a query, in the query's order, added to `items`.
void readItems(db::Recordset &rs, bool repeating, TimeTexts &times, std::vector<Item> &items)
{
    const Columns c(rs);
    items.reserve(items.size() + size_t(rs.recordCount()));
    for (rs.moveFirst(); !rs.isEOF(); rs.moveNext()) {
        items.emplace_back();
        if (!readItem(rs, c, repeating, times, &items.back()))
            items.pop_back();
    }
}

// What one fill read, kept until the next fill: the values of each item it
// placed are made from it when the item is first read (see CalendarItems).
struct Placed {
    explicit Placed(const QDate &first) : start(first) {}
    std::vector<Item> items;
    QDate start;
    std::vector<QString> dateTexts = std::vector<QString>(CtCalendar::kGridDays);

    // "mmmm d, yyyy" of a day on the grid (or, should one ever come, off it).
    QString dateText(const QDate &d)
    {
        const qint64 i = start.daysTo(d);
        if (i < 0 || i >= qint64(dateTexts.size()))
            return QLocale().toString(d, QStringLiteral("MMMM d, yyyy"));
        QString &text = dateTexts[size_t(i)];
        if (text.isEmpty())
            text = QLocale().toString(d, QStringLiteral("MMMM d, yyyy"));
        return text;
    }

    // Item `source` as placed on `day`; its due text is its time, if it has
    // one, and the date.
    CalendarItem made(int day, int source)
    {
        const Item &item = items[size_t(source)];
        const QString date = dateText(funDayNumberToDate(day));
        const QString due = item.timePrefix.isEmpty() ? date : item.timePrefix + date;
        return CalendarItem{day, item.kind, item.recordId, item.species, item.name, due, item.storedTime};
    }
};

// One fill of the grid: the calendar, its days, what was read, and how many
// lines of each day are written.
struct Grid {
    Grid(CtCalendar *calendar, const QDate &shownDate, const QDate &first, const QDate &last, const CalendarSettings &s,
         std::shared_ptr<Placed> p)
        : cal(calendar), shown(shownDate), start(first), end(last), settings(s), placed(std::move(p))
    {
    }
    CtCalendar *cal;
    QDate shown, start, end;
    CalendarSettings settings;
    TimeTexts timeTexts;
    std::shared_ptr<Placed> placed;

    // The lines of a day written with text so far, and whether the day has
    // no room left (its third line says there is more).
    struct Lines {
        int used = 0;
        bool full = false;
    };
    std::array<Lines, CtCalendar::kGridDays> gridLines{};
    QHash<int, Lines> offGrid;
    Lines &linesOf(const QDate &d, int day)
    {
        const qint64 i = start.daysTo(d);
        return i >= 0 && i < qint64(gridLines.size()) ? gridLines[size_t(i)] : offGrid[day];
    }
};

// Writes an item into the first free line of its day; with all three taken,
// the third line says there is more, and later items change nothing more. The
// day's lines are written by this fill alone (it cleared them), so they are
// counted here rather than read back from the calendar for each item. A line
// written blank stays free.
void placeLine(Grid &grid, const QDate &on, int day, const Item &item, bool darkRed)
{
    Grid::Lines &lines = grid.linesOf(on, day);
    if (lines.full)
        return;
    CtCalendar *cal = grid.cal;
    if (lines.used == 3) {
        cal->setDateText3(day, kMoreEvents);
        cal->setDateTextColor3(day, kDarkRed);
        lines.full = true;
        return;
    }
    const QString text = item.timePrefix + item.name;
    switch (lines.used) {
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
    if (text.trimmed().isEmpty())
        return;
    // A third line that reads as the mark of more (an item of that name) ends the day too.
    if (++lines.used == 3 && text == kMoreEvents)
        lines.full = true;
}

// Places item `source` on a day (`day` is the day number of `on`) and keeps it.
void place(Grid &grid, size_t source, const QDate &on, int day, bool darkRed)
{
    placeLine(grid, on, day, grid.placed->items[source], darkRed);
    gCalendarItems.addMade(day, int(source));
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

bool placeSingleItems(Grid &grid)
{
    std::unique_ptr<db::Recordset> rs;
    if (queryFailed(singleItemsQuery(grid.settings, grid.start, grid.end), &rs))
        return false;
    std::vector<Item> &items = grid.placed->items;
    const size_t first = items.size();
    readItems(*rs, false, grid.timeTexts, items);
    rs.reset();
    // Kinds first (expiring vaccinations before received ones), then by date
    // and time, items without a time first: the order the lines fill in.
    auto order = [&items](size_t i) {
        const Item &x = items[i];
        return std::make_tuple(x.kind, x.misc, x.date.toJulianDay(), x.seconds, x.rowId);
    };
    std::vector<size_t> sorted(items.size() - first);
    for (size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = first + i;
    std::sort(sorted.begin(), sorted.end(), [&order](size_t a, size_t b) { return order(a) < order(b); });
    gCalendarItems.reserve(gCalendarItems.size() + sorted.size());
    for (size_t i : sorted) {
        const Item &item = items[i];
        place(grid, i, item.date, dayNumber(item.date), item.kind == 6 && item.misc == 1);
    }
    return true;
}

bool placeRepeatingItems(Grid &grid)
{
    std::unique_ptr<db::Recordset> rs;
    if (queryFailed(repeatingItemsQuery(grid.settings, grid.start, grid.end), &rs))
        return false;
    std::vector<Item> &items = grid.placed->items;
    const size_t first = items.size();
    readItems(*rs, true, grid.timeTexts, items);
    rs.reset();

    // Each item's occurrences on its own day of the month (or week, or year)
    // go on the grid day by day, each day's items in the query's order. Those
    // that stand in at a month's end are shown on the shown month's last day
    // alone, after all the others: a neighbouring month's last day in the
    // grey part of the grid shows an item only on its own day.
    const qint64 gridDays = std::max<qint64>(0, grid.start.daysTo(grid.end) + 1);
    std::vector<std::vector<size_t>> onDay(static_cast<size_t>(gridDays));
    const QDate e = fDateEndOfMonth(grid.shown);
    std::vector<size_t> atMonthEnd;
    for (size_t n = first; n < items.size(); ++n) {
        const repeat_rule::Recurrence &rule = items[n].rule;
        for (repeat_rule::Occurrence o = rule.next(grid.start); o.isValid() && o.date <= grid.end;
             o = rule.next(o.date.addDays(1)))
            if (!o.monthEnd)
                onDay[size_t(grid.start.daysTo(o.date))].push_back(n);
        const repeat_rule::Occurrence last = rule.next(e);
        if (last.monthEnd && last.date == e)
            atMonthEnd.push_back(n);
    }
    size_t placed = atMonthEnd.size();
    for (const auto &day : onDay)
        placed += day.size();
    gCalendarItems.reserve(gCalendarItems.size() + placed);
    for (size_t n = 0; n < onDay.size(); ++n) {
        const QDate d = grid.start.addDays(qint64(n));
        const int day = dayNumber(d);
        for (size_t i : onDay[n])
            place(grid, i, d, day, false);
    }
    // The 29th to 31st in their order, each in the query's order.
    std::stable_sort(atMonthEnd.begin(), atMonthEnd.end(),
                     [&items](size_t a, size_t b) { return items[a].rule.dayOfMonth() < items[b].rule.dayOfMonth(); });
    for (size_t i : atMonthEnd)
        place(grid, i, e, dayNumber(e), false);
    return true;
}

} // namespace

CalendarSettings CalendarSettings::fromPrefs()
{
    CalendarSettings s;
    s.birthdays = settings::isOn(Setting::CalShowDOB);
    s.diary = settings::isOn(Setting::CalShowDiary);
    s.vaccinesReceived = settings::isOn(Setting::CalShowVacRec);
    s.vaccinesExpiring = settings::isOn(Setting::CalShowVacExp);
    return s;
}

CalendarQuery singleItemsQuery(const CalendarSettings &s, const QDate &start, const QDate &end)
{
    // The rows of the data file's view qry_calendar_single, asked of each kind
    // shown on its own: SQLite searches the date index of every kind the view
    // joins, those the settings leave out too, and on a household with a
    // million diary entries that search is most of a month's fill. Each part
    // gives the view's columns as the view writes them.
    struct Kind {
        bool shown;
        const char *sql;
    };
    const Kind kinds[] = {
        {true, "SELECT 8 AS object_id, 0 AS misc_data, e.event_id AS record_id, 0 AS pet_id, 0 AS pet_species_id,"
               " e.event_date AS event_date, e.event_time AS event_time, e.event_name AS event_name"
               " FROM tbl_event AS e WHERE e.event_type_repeating = 0 AND e.event_date >= ? AND e.event_date < ?"},
        {s.diary, "SELECT 9, 0, d.diary_id, p.pet_id, p.pet_species_id, d.diary_date, NULL,"
                  " coalesce(nullif(p.pet_name, ''), '(No Name)')"
                  " || CASE WHEN ifnull(d.diary_text, '') <> '' THEN ': ' || d.diary_text ELSE '' END"
                  " FROM tbl_diary AS d INNER JOIN tbl_pet AS p ON p.pet_id = d.diary_pet_id"
                  " WHERE d.diary_date >= ? AND d.diary_date < ?"},
        {s.vaccinesReceived, "SELECT 6, 2, v.vaccine_id, p.pet_id, p.pet_species_id, v.vaccine_received_date, NULL,"
                             " coalesce(nullif(p.pet_name, ''), '(No Name)') || ': '"
                             " || coalesce(nullif(v.vaccine_name, ''), 'Vaccination') || ' received'"
                             " FROM tbl_vaccine AS v INNER JOIN tbl_pet AS p ON p.pet_id = v.vaccine_pet_id"
                             " WHERE v.vaccine_received_date >= ? AND v.vaccine_received_date < ?"},
        {s.vaccinesExpiring, "SELECT 6, 1, v.vaccine_id, p.pet_id, p.pet_species_id, v.vaccine_expiration_date, NULL,"
                             " coalesce(nullif(p.pet_name, ''), '(No Name)') || ': '"
                             " || coalesce(nullif(v.vaccine_name, ''), 'Vaccination') || ' expires'"
                             " FROM tbl_vaccine AS v INNER JOIN tbl_pet AS p ON p.pet_id = v.vaccine_pet_id"
                             " WHERE v.vaccine_expiration_date >= ? AND v.vaccine_expiration_date < ?"},
    };
    // Up to the day after the grid, so that a date stored with a time of day
    // on the grid's last day is not lost to the comparison of texts.
    const QVariant from = dbDate(start), to = dbDate(end.addDays(1));
    CalendarQuery q;
    for (const Kind &k : kinds) {
        if (!k.shown)
            continue;
        if (!q.sql.isEmpty())
            q.sql += QStringLiteral(" UNION ALL ");
        q.sql += QLatin1String(k.sql);
        q.params << from << to;
    }
    // In no order: the fill sorts the rows itself, far faster than the file
    // sorts whole rows of text.
    return q;
}

CalendarQuery repeatingItemsQuery(const CalendarSettings &s, const QDate &start, const QDate &end)
{
    // An item whose last day lies before the grid can come round on none of its days.
    // The columns the fill reads; the view's text key of each date is not among
    // them, as the keys are taken from the dates themselves.
    QString sql = QStringLiteral("SELECT object_id, misc_data, record_id, event_date, event_time, event_name,"
                                 " event_end_date, event_repeat_every FROM qry_calendar_repeating"
                                 " WHERE event_date < ? AND coalesce(event_end_date, event_date) >= ?");
    if (!s.birthdays)
        sql += QStringLiteral(" AND NOT (object_id = 1 AND misc_data = 12)");
    sql += QStringLiteral(" ORDER BY event_date ASC, event_time ASC, object_id ASC, record_id ASC");
    return {sql, {dbDate(end.addDays(1)), dbDate(start)}};
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
    // The items of the last fill, and through them what it read, go now.
    auto placed = std::make_shared<Placed>(start);
    gCalendarItems.restart([placed](int day, int source) { return placed->made(day, source); });
    cal->ClearDays();
    Grid grid(cal, shown, start, end, settings, placed);
    const bool ok = placeSingleItems(grid) && placeRepeatingItems(grid);
    for (QDate d = start; d <= end; d = d.addDays(1))
        if (d.month() != shown.month() || d.year() != shown.year())
            cal->setDayForeColor(dayNumber(d), kGrey);
    cal->setDayBackColor(dayNumber(zbclock::today()), kTodayColor);
    return ok;
}

bool funCalendarHandler(QWidget *form, int action, const QVariant &date)
{
    switch (action) {
    case ActionShow: funCalendarShow(form, date); break;
    case ActionPrint: funCalendarPrint(form); break;
    case ActionRefresh: funCalendarRefresh(form); break;
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
    Hourglass hourglass;
    gCurrentView = 6;
    subSetToolBar(form, 6);

    const QDate start = gridStart(date);
    const QDate end = start.addDays(CtCalendar::kGridDays - 1);
    cal->setDateStart(dayNumber(start));
    cal->setDateEnd(dayNumber(end));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    // A calendar was found, so the form is the main window.
    if (QLabel *title = funMainWindow(form)->lblMain[3])
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
    Hourglass hourglass;
    return fillCalendar(cal, date, start, end, CalendarSettings::fromPrefs());
}

bool funCalendarPrint(QWidget *form)
{
    CtCalendar *cal = calendarOf(form);
    if (!cal)
        return false;
    cal->setPrintTitle(funGetAppTitle() + QStringLiteral(" Calendar"));
    Hourglass hourglass;
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
    auto *w = qobject_cast<frm_main *>(form);
    CtToolBar *bar = w ? w->ctToolbar_MainToolbar : nullptr;
    if (!bar)
        return;
    const MainToolItems &t = w->toolItems;
    bar->setItemVisible(t.sepPrint, true);
    bar->setItemVisible(t.print, true);
    bar->setItemEnabled(t.print, true);
    for (int id : {t.sepDelete, t.del})
        bar->setItemVisible(id, false);
    for (int id : t.viewGroup())
        bar->setItemVisible(id, false);
    for (int id : t.calendarGroup())
        bar->setItemVisible(id, true);
}

} // namespace calendar_handler
