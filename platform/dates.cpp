#include "platform/dates.h"
#include "platform/clock.h"
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

namespace {

const QDate kDayZero(1900, 1, 1);

// The years a date of the old run-time library could hold.
bool inVbRange(const QDate &d) { return d.isValid() && d.year() >= 100 && d.year() <= 9999; }

// Two-digit years as the old run-time read them: 00-29 are this century, 30-99 the last.
int windowYear(int twoDigits) { return twoDigits < 30 ? 2000 + twoDigits : 1900 + twoDigits; }

// A short-date format made of day, month and year numbers with separators
// between them ("M/d/yy", "dd.MM.yyyy", "yyyy/MM/dd"), read into a pattern that
// takes one or two digits for day and month and two or four for the year. A
// format with month names or anything else gives no pattern.
struct NumericFormat {
    QRegularExpression pattern;
    char order[3] = {0, 0, 0}; // 'd', 'M', 'y' in the order they appear
    bool valid = false;
};

NumericFormat numericFormat(const QString &format)
{
    NumericFormat nf;
    QString rx = QStringLiteral("^");
    int fields = 0;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            if (fields == 3 || (c != QLatin1Char('y') && run > 2) || (c == QLatin1Char('y') && run != 2 && run != 4))
                return nf; // a day or month name, or a second field of one kind
            for (int k = 0; k < fields; ++k)
                if (nf.order[k] == c.toLatin1())
                    return nf;
            nf.order[fields++] = c.toLatin1();
            rx += c == QLatin1Char('y') ? QStringLiteral("(\\d{4}|\\d{2})") : QStringLiteral("(\\d{1,2})");
        } else if (c.isLetter() || c == QLatin1Char('\'')) {
            return nf;
        } else {
            rx += QRegularExpression::escape(format.mid(i, run));
        }
        i += run;
    }
    if (fields != 3)
        return nf;
    nf.pattern.setPattern(rx + QStringLiteral("$"));
    nf.valid = true;
    return nf;
}

QDate parseShortDate(const QString &text)
{
    const QLocale locale;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const NumericFormat nf = numericFormat(format);
    if (nf.valid) {
        const QRegularExpressionMatch m = nf.pattern.match(text);
        if (!m.hasMatch())
            return {};
        int day = 0, month = 0, year = 0;
        for (int k = 0; k < 3; ++k) {
            const QString part = m.captured(k + 1);
            switch (nf.order[k]) {
            case 'd': day = part.toInt(); break;
            case 'M': month = part.toInt(); break;
            default: year = part.size() == 2 ? windowYear(part.toInt()) : part.toInt(); break;
            }
        }
        return QDate(year, month, day); // invalid for 31 February and the like
    }
    // A short date with names in it: let the locale read it with a four-digit
    // year, then with two digits in the same window as the numeric forms.
    QDate d = locale.toDate(text, vbShortDateFormat());
    if (d.isValid())
        return d;
    QString twoDigit = vbShortDateFormat();
    twoDigit.replace(QStringLiteral("yyyy"), QStringLiteral("yy"));
    d = locale.toDate(text, twoDigit);
    if (!d.isValid())
        return {};
    const int twoDigits = d.year() % 100;
    return QDate(windowYear(twoDigits), d.month(), d.day());
}

QDate isoDateText(const QString &text)
{
    // 'YYYY-MM-DD', optionally followed by a time of day. Read digit by digit:
    // every stored date passes here, and a calendar month reads thousands.
    if (text.size() < 10 || (text.size() > 10 && text.at(10) != QLatin1Char(' ') && text.at(10) != QLatin1Char('T')))
        return {};
    int parts[3] = {0, 0, 0};
    for (int i = 0, part = 0; i < 10; ++i) {
        const QChar c = text.at(i);
        if (i == 4 || i == 7) {
            if (c != QLatin1Char('-'))
                return {};
            ++part;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            parts[part] = parts[part] * 10 + (c.unicode() - '0');
        } else {
            return {};
        }
    }
    return QDate(parts[0], parts[1], parts[2]); // invalid for 30 February and the like
}

QString plural(qint64 n, const char *unit)
{
    return QStringLiteral("(%1 %2%3 old)").arg(n).arg(QLatin1String(unit), n == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

QString trimBlanks(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

QDate anyDate(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate: return value.toDate();
    case QMetaType::QDateTime: return value.toDateTime().date();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = trimBlanks(value.toString());
        const QDate d = vbCDate(text);
        return d.isValid() ? d : isoDateText(text);
    }
    default: return {};
    }
}

// ---- Day numbers ----

int funDateToDayNumber(const QDate &date)
{
    if (!inVbRange(date))
        return 0;
    return static_cast<int>(kDayZero.daysTo(date));
}

int funDateToDayNumber(const QDateTime &dateTime) { return funDateToDayNumber(dateTime.date()); }

int funDateToDayNumber(const QVariant &value) { return funDateToDayNumber(anyDate(value)); }

QDate funDayNumberToDate(int dayNumber)
{
    const QDate d = kDayZero.addDays(dayNumber);
    return inVbRange(d) ? d : zbclock::today();
}

QDate fDateEndOfMonth(const QDate &date)
{
    if (!date.isValid())
        return {};
    return QDate(date.year(), date.month(), date.daysInMonth());
}

QDate fDateEndOfMonth(const QDateTime &dateTime) { return fDateEndOfMonth(dateTime.date()); }

// ---- Age ----

QString funAgeText(const QVariant &birthDate)
{
    const QDate born = anyDate(birthDate);
    const QDate today = zbclock::today();
    if (!born.isValid() || !today.isValid() || born >= today)
        return QString("");

    // Completed months: the month count back from today's month, less one when
    // the monthly anniversary (clamped to a short month's last day) is still ahead.
    qint64 months = qint64(today.year() - born.year()) * 12 + (today.month() - born.month());
    if (born.addMonths(static_cast<int>(months)) > today)
        --months;
    if (months >= 12)
        return plural(months / 12, "year");
    if (months >= 1)
        return plural(months, "month");
    const qint64 days = born.daysTo(today);
    if (days >= 7)
        return plural(days / 7, "week");
    return plural(days, "day");
}

// ---- Typed dates ----

QString vbShortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    static const QRegularExpression shortYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(shortYear, QStringLiteral("yyyy"));
    return format;
}

int vbShortDateLength()
{
    const QLocale locale;
    const QString format = vbShortDateFormat();
    int longest = 0;
    // Days 22 to 28 are two-digit and fall on every weekday in each month.
    for (int month = 1; month <= 12; ++month)
        for (int day = 22; day <= 28; ++day)
            longest = qMax(longest, int(locale.toString(QDate(2000, month, day), format).size()));
    return longest;
}

QDate vbCDate(const QString &text)
{
    const QString t = trimBlanks(text);
    if (t.isEmpty())
        return {};
    QDate d;
    if (t.size() == 10 && t.at(4) == QLatin1Char('-') && t.at(7) == QLatin1Char('-'))
        d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        d = parseShortDate(t);
    return inVbRange(d) ? d : QDate();
}

bool vbIsDate(const QString &text) { return vbCDate(text).isValid(); }

QTime vbCTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})(?::(\\d{2}))?(?::(\\d{2}))?\\s*(\\S*)$"));
    const QRegularExpressionMatch m = form.match(trimBlanks(text));
    if (!m.hasMatch())
        return {};
    const QString marker = m.captured(4);
    const QLocale locale;
    auto is = [&marker](const QString &word) {
        return !word.isEmpty() && marker.compare(word, Qt::CaseInsensitive) == 0;
    };
    const bool am = is(locale.amText()) || is(QStringLiteral("AM"));
    const bool pm = is(locale.pmText()) || is(QStringLiteral("PM"));
    if (!marker.isEmpty() && !am && !pm)
        return {};
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const int second = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (am || pm) {
        if (hour < 1 || hour > 12)
            return {};
        hour = hour % 12 + (pm ? 12 : 0);
    } else if (m.captured(2).isEmpty()) {
        return {}; // "5" could be morning or evening
    }
    return QTime(hour, minute, second); // invalid for 24:00, 5:60 and the like
}

// ---- The database files' text ----

QString dbDate(const QDate &date) { return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString(); }

QString dbTime(const QTime &time) { return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString(); }

QString dbDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return QString();
    return dateTime.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDate dateFromDb(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate: return value.toDate();
    case QMetaType::QDateTime: return value.toDateTime().toLocalTime().date();
    case QMetaType::QString:
    case QMetaType::QByteArray: return isoDateText(value.toString().trimmed());
    default: return {};
    }
}

QTime timeFromDb(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QTime: return value.toTime();
    case QMetaType::QDateTime: return value.toDateTime().toLocalTime().time();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        QString text = value.toString().trimmed();
        // The files' own 'HH:MM:SS', read digit by digit: the reminder check and
        // the calendar read thousands.
        if (text.size() == 8 && text.at(2) == QLatin1Char(':') && text.at(5) == QLatin1Char(':')) {
            auto digits = [&text](int at) {
                const char16_t a = text.at(at).unicode(), b = text.at(at + 1).unicode();
                return a >= u'0' && a <= u'9' && b >= u'0' && b <= u'9' ? (a - u'0') * 10 + (b - u'0') : -1;
            };
            const int h = digits(0), m = digits(3), s = digits(6);
            if (h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60)
                return QTime(h, m, s);
        }
        if (isoDateText(text).isValid())
            text = text.mid(11); // the time part of a date-time
        return QTime::fromString(text, Qt::ISODateWithMs);
    }
    default: return {};
    }
}

QDateTime dateTimeFromDb(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime: return value.toDateTime().toLocalTime();
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = value.toString().trimmed();
        const QDate d = isoDateText(text);
        if (!d.isValid())
            return {};
        if (text.size() == 10)
            return QDateTime(d, QTime(0, 0));
        const QDateTime dt = QDateTime::fromString(text.left(10) + QLatin1Char('T') + text.mid(11), Qt::ISODateWithMs);
        return dt.isValid() ? dt.toLocalTime() : QDateTime();
    }
    default: return {};
    }
}

// ---- Shown to the user ----

QString vbFormatTimeAmPm(const QTime &time)
{
    if (!time.isValid())
        return QString("");
    // The am/pm marker of this form is always the small English one, whatever the language.
    const int h12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    QString text = QString::number(h12);
    text += QLatin1Char(':');
    text += QLatin1Char(char('0' + time.minute() / 10));
    text += QLatin1Char(char('0' + time.minute() % 10));
    text += time.hour() < 12 ? QLatin1String(" am") : QLatin1String(" pm");
    return text;
}

QString vbFormatLongDate(const QDate &date)
{
    if (!date.isValid())
        return QString("");
    // Long lists (the reminder check, the calendar) show the same few dates many
    // times over: each is put together once per language, from the names rather
    // than through a format that would be read anew every time.
    static QLocale cachedFor;
    static QHash<qint64, QString> cache;
    const QLocale locale;
    if (locale != cachedFor || cache.size() > 4096) {
        cache.clear();
        cachedFor = locale;
    }
    QString &text = cache[date.toJulianDay()];
    if (text.isEmpty())
        text = locale.dayName(date.dayOfWeek(), QLocale::LongFormat) + QStringLiteral(", ")
               + locale.monthName(date.month(), QLocale::LongFormat) + QLatin1Char(' ') + QString::number(date.day())
               + QStringLiteral(", ") + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    return text;
}

QString vbFormatGeneralDate(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return QString("");
    const QLocale locale;
    QString text = locale.toString(dateTime.date(), vbShortDateFormat());
    if (dateTime.time() == QTime(0, 0))
        return text;
    // The long time without the time zone Qt's long form carries.
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.replace(zone, QStringLiteral(" "));
    return text + QLatin1Char(' ') + locale.toString(dateTime.time(), timeFormat.trimmed());
}
