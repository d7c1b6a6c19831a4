#include "platform/controls/ct_calendar.h"
#include "platform/printing.h"

#include "platform/dates.h"
#include "platform/clock.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QToolButton>
#include <QToolTip>

namespace {

// The week start (Sunday) on or before the first day of the month that holds `day`.
int gridStartFor(int day)
{
    const QDate date = funDayNumberToDate(day);
    const QDate first(date.year(), date.month(), 1);
    return funDateToDayNumber(first) - (first.dayOfWeek() - CtCalendar::kWeekStart + 7) % 7;
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

// A line is one line, whatever the caller put into it.
QString oneLine(const QString &text)
{
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

} // namespace

bool CtCalendar::DayCell::isEmpty() const
{
    for (int i = 0; i < 3; ++i)
        if (!text[i].isEmpty() || textColor[i].isValid())
            return false;
    return !back.isValid() && !number.isValid();
}

CtCalendar::CtCalendar(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The grid takes the room its frame has; a title above it keeps its own height.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    m_prev = new QToolButton(this);
    m_prev->setArrowType(Qt::LeftArrow);
    m_prev->setAutoRaise(true);
    m_prev->setFocusPolicy(Qt::NoFocus);
    m_prev->setToolTip(QStringLiteral("Last Month"));
    m_prev->setObjectName(QStringLiteral("ctCalendarLastMonth"));
    m_next = new QToolButton(this);
    m_next->setArrowType(Qt::RightArrow);
    m_next->setAutoRaise(true);
    m_next->setFocusPolicy(Qt::NoFocus);
    m_next->setToolTip(QStringLiteral("Next Month"));
    m_next->setObjectName(QStringLiteral("ctCalendarNextMonth"));
    connect(m_prev, &QToolButton::clicked, this, [this] { stepMonths(-1); });
    connect(m_next, &QToolButton::clicked, this, [this] { stepMonths(1); });

    m_date = funDateToDayNumber(zbclock::today());
    m_start = gridStartFor(m_date);
    m_end = m_start + kGridDays - 1;
}

// ---- Days and the grid ----

void CtCalendar::setDate(int day)
{
    const QDate before = funDayNumberToDate(m_date);
    const QDate after = funDayNumberToDate(day);
    const bool newMonth = before.month() != after.month() || before.year() != after.year();
    m_date = day;
    // A day of another month brings its month into view; so does a day that
    // the grid, laid out by the owner, does not hold.
    if (newMonth || day < m_start || day >= m_start + kGridDays) {
        m_start = gridStartFor(day);
        m_end = m_start + kGridDays - 1;
    }
    update();
    if (newMonth)
        emit monthChanged(day);
}

void CtCalendar::setDateStart(int day)
{
    m_start = day;
    m_end = day + kGridDays - 1;
    update();
}

void CtCalendar::setDateEnd(int day)
{
    m_end = day;
    update();
}

int CtCalendar::Month() const { return funDayNumberToDate(m_date).month(); }

int CtCalendar::Year() const { return funDayNumberToDate(m_date).year(); }

void CtCalendar::ClearDays()
{
    m_days.clear();
    update();
}

CtCalendar::DayCell &CtCalendar::cell(int day) { return m_days[day]; }

void CtCalendar::dropIfEmpty(int day)
{
    const auto it = m_days.find(day);
    if (it != m_days.end() && it->isEmpty())
        m_days.erase(it);
}

QString CtCalendar::line(int day, int n) const
{
    const auto it = m_days.constFind(day);
    return it == m_days.constEnd() ? QString() : it->text[n];
}

void CtCalendar::setLine(int day, int n, const QString &text)
{
    cell(day).text[n] = text;
    dropIfEmpty(day);
    update();
}

QColor CtCalendar::lineColor(int day, int n) const
{
    const auto it = m_days.constFind(day);
    return it == m_days.constEnd() ? QColor() : it->textColor[n];
}

void CtCalendar::setLineColor(int day, int n, const QColor &c)
{
    cell(day).textColor[n] = c;
    dropIfEmpty(day);
    update();
}

QColor CtCalendar::DayBackColor(int day) const
{
    const auto it = m_days.constFind(day);
    return it == m_days.constEnd() ? QColor() : it->back;
}

void CtCalendar::setDayBackColor(int day, const QColor &c)
{
    cell(day).back = c;
    dropIfEmpty(day);
    update();
}

QColor CtCalendar::DayNumberColor(int day) const
{
    const auto it = m_days.constFind(day);
    return it == m_days.constEnd() ? QColor() : it->number;
}

void CtCalendar::setDayNumberColor(int day, const QColor &c)
{
    cell(day).number = c;
    dropIfEmpty(day);
    update();
}

void CtCalendar::setDayForeColor(int day, const QColor &c)
{
    DayCell &d = cell(day);
    d.number = c;
    for (QColor &t : d.textColor)
        t = c;
    dropIfEmpty(day);
    update();
}

// ---- The user's navigation ----

void CtCalendar::selectDay(int day)
{
    if (day == m_date)
        return;
    setDate(day);
}

void CtCalendar::stepMonths(int months)
{
    const QDate d = funDayNumberToDate(m_date).addMonths(months); // keeps the day, or the month's last
    selectDay(funDateToDayNumber(d));
}

void CtCalendar::mousePressEvent(QMouseEvent *e)
{
    int day = 0;
    m_pressMovedGrid = false;
    if (e->button() == Qt::LeftButton && dayAt(e->position().toPoint(), &day)) {
        const int start = m_start;
        selectDay(day);
        m_pressMovedGrid = m_start != start;
    }
    QWidget::mousePressEvent(e);
}

void CtCalendar::mouseDoubleClickEvent(QMouseEvent *e)
{
    int day = 0;
    if (e->button() != Qt::LeftButton || !dayAt(e->position().toPoint(), &day))
        return;
    // When the first press of the double-click selected a day of another month,
    // the grid has moved since: the day meant is the one that press selected,
    // not whatever the new grid holds under the pointer.
    if (m_pressMovedGrid)
        day = m_date;
    else
        selectDay(day);
    m_pressMovedGrid = false;
    emit dayDblClick(day);
}

void CtCalendar::contextMenuEvent(QContextMenuEvent *e)
{
    int day = m_date;
    if (e->reason() != QContextMenuEvent::Keyboard && !dayAt(e->pos(), &day)) {
        e->ignore();
        return;
    }
    e->accept();
    emit dayRightClick(day);
}

void CtCalendar::keyPressEvent(QKeyEvent *e)
{
    int step = 0;
    switch (e->key()) {
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Right: step = 1; break;
    case Qt::Key_Up: step = -7; break;
    case Qt::Key_Down: step = 7; break;
    case Qt::Key_PageUp: stepMonths(-1); return;
    case Qt::Key_PageDown: stepMonths(1); return;
    default: QWidget::keyPressEvent(e); return;
    }
    selectDay(m_date + step);
}

bool CtCalendar::event(QEvent *e)
{
    if (e->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(e);
        int day = 0;
        if (dayAt(help->pos(), &day))
            emit tipWanted(day); // the owner's tips window shows it, never QToolTip
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void CtCalendar::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange || e->type() == QEvent::PaletteChange) {
        layoutButtons();
        update();
    }
    QWidget::changeEvent(e);
}

// ---- Geometry ----

CtCalendar::Layout CtCalendar::screenLayout() const
{
    const QFontMetrics fm(font());
    const qreal headerH = qMax<qreal>(fm.height() * 1.9, 24);
    const qreal weekdaysH = fm.height() + 6;
    Layout l;
    const QRectF all(rect());
    l.header = QRectF(all.left(), all.top(), all.width(), headerH);
    l.weekdays = QRectF(all.left(), l.header.bottom(), all.width(), weekdaysH);
    l.grid = QRectF(all.left(), l.weekdays.bottom(), all.width() - 1,
                    qMax<qreal>(all.bottom() - 1 - l.weekdays.bottom(), 6));
    return l;
}

QRectF CtCalendar::cellRect(const QRectF &grid, int index)
{
    const int col = index % 7, row = index / 7;
    const qreal x0 = grid.left() + grid.width() * col / 7, x1 = grid.left() + grid.width() * (col + 1) / 7;
    const qreal y0 = grid.top() + grid.height() * row / 6, y1 = grid.top() + grid.height() * (row + 1) / 6;
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

bool CtCalendar::dayAt(const QPoint &pos, int *day) const
{
    const QRectF grid = screenLayout().grid;
    if (!grid.contains(pos) || grid.width() <= 0 || grid.height() <= 0)
        return false;
    const int col = qBound(0, int((pos.x() - grid.left()) * 7 / grid.width()), 6);
    const int row = qBound(0, int((pos.y() - grid.top()) * 6 / grid.height()), 5);
    if (day)
        *day = m_start + row * 7 + col;
    return true;
}

QRect CtCalendar::dayRect(int day) const
{
    const int index = day - m_start;
    if (index < 0 || index >= kGridDays)
        return QRect();
    return cellRect(screenLayout().grid, index).toAlignedRect();
}

QSize CtCalendar::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(7 * fm.horizontalAdvance(QLatin1Char('M')) * 10, 6 * fm.height() * 5);
}

QSize CtCalendar::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(7 * fm.horizontalAdvance(QStringLiteral("00")) * 2, fm.height() * 10);
}

void CtCalendar::resizeEvent(QResizeEvent *e)
{
    layoutButtons();
    QWidget::resizeEvent(e);
}

void CtCalendar::layoutButtons()
{
    const QRect header = screenLayout().header.toRect();
    const int side = qMax(header.height() - 6, 16);
    const int y = header.top() + (header.height() - side) / 2;
    m_prev->setGeometry(header.left() + 4, y, side, side);
    m_next->setGeometry(header.right() - 4 - side, y, side, side);
}

// ---- Painting ----

void CtCalendar::paintGrid(QPainter &p, const QRectF &weekdays, const QRectF &grid, bool printing) const
{
    const QPalette &pal = palette();
    // Paper is white whatever the screen's colours are.
    const QColor base = printing ? QColor(Qt::white) : pal.color(QPalette::Base);
    const QColor text = printing ? QColor(Qt::black) : pal.color(QPalette::Text);
    const QColor gridLine = printing ? QColor(160, 160, 160) : mix(pal.color(QPalette::Mid), base, 0.35);
    const QColor outsideBack = mix(base, printing ? QColor(Qt::gray) : pal.color(QPalette::Window), 0.35);
    const QColor outsideNumber = mix(text, base, 0.55);
    const qreal lineWidth = printing ? qMax<qreal>(1.0, p.device()->logicalDpiX() / 150.0) : 1.0;

    const QFont baseFont = p.font();
    QFont boldFont = baseFont;
    boldFont.setBold(true);
    const QFontMetricsF fm(baseFont, p.device());
    const qreal pad = qMax<qreal>(2, fm.height() * 0.2);

    // Weekday names, Sunday first.
    p.setPen(text);
    p.setFont(boldFont);
    const QLocale locale;
    for (int c = 0; c < 7; ++c) {
        const QRectF r(weekdays.left() + weekdays.width() * c / 7, weekdays.top(), weekdays.width() / 7,
                       weekdays.height());
        const int qtDay = (CtCalendar::kWeekStart - 1 + c) % 7 + 1;
        p.drawText(r, Qt::AlignCenter, locale.dayName(qtDay, QLocale::ShortFormat));
    }

    const QDate shown = funDayNumberToDate(m_date);
    const int today = funDateToDayNumber(zbclock::today());
    for (int i = 0; i < kGridDays; ++i) {
        const int day = m_start + i;
        const QRectF r = cellRect(grid, i);
        const QDate date = funDayNumberToDate(day);
        const bool inMonth = date.month() == shown.month() && date.year() == shown.year();
        const auto found = m_days.constFind(day);
        const DayCell empty;
        const DayCell &d = found == m_days.constEnd() ? empty : *found;

        p.fillRect(r, d.back.isValid() ? d.back : (inMonth ? base : outsideBack));

        p.save();
        p.setClipRect(r.adjusted(lineWidth, lineWidth, -lineWidth, -lineWidth));
        const QRectF inner = r.adjusted(pad + lineWidth, pad * 0.5 + lineWidth, -pad - lineWidth, -pad);
        p.setFont(day == today ? boldFont : baseFont);
        p.setPen(d.number.isValid() ? d.number : (inMonth ? text : outsideNumber));
        const QRectF numberRect(inner.left(), inner.top(), inner.width(), fm.height());
        p.drawText(numberRect, Qt::AlignLeft | Qt::AlignVCenter, QString::number(date.day()));

        p.setFont(baseFont);
        qreal y = numberRect.bottom();
        for (int n = 0; n < 3; ++n) {
            if (!d.text[n].isEmpty()) {
                p.setPen(d.textColor[n].isValid() ? d.textColor[n] : text);
                const QString shownText = fm.elidedText(oneLine(d.text[n]), Qt::ElideRight, inner.width());
                p.drawText(QRectF(inner.left(), y, inner.width(), fm.height()),
                           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText);
            }
            y += fm.height();
        }
        p.restore();
    }

    // Grid lines over the cells, then the selection on top.
    QPen pen(gridLine, lineWidth);
    pen.setCosmetic(!printing);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int c = 0; c <= 7; ++c) {
        const qreal x = grid.left() + grid.width() * c / 7;
        p.drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
    }
    for (int r = 0; r <= 6; ++r) {
        const qreal y = grid.top() + grid.height() * r / 6;
        p.drawLine(QPointF(grid.left(), y), QPointF(grid.right(), y));
    }

    if (!printing) {
        const int index = m_date - m_start;
        if (index >= 0 && index < kGridDays) {
            QColor sel = pal.color(QPalette::Highlight);
            if (!hasFocus())
                sel = mix(sel, base, 0.3);
            p.setPen(QPen(sel, 2));
            p.drawRect(cellRect(grid, index).adjusted(1.5, 1.5, -1, -1));
        }
    }
}

void CtCalendar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const Layout l = screenLayout();
    const QPalette &pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Window));

    QFont title = font();
    title.setBold(true);
    title.setPointSizeF(font().pointSizeF() * 1.25);
    p.setFont(title);
    p.setPen(pal.color(QPalette::WindowText));
    const QDate shown = funDayNumberToDate(m_date);
    p.drawText(l.header, Qt::AlignCenter, QLocale().toString(shown, QStringLiteral("MMMM yyyy")));

    p.setFont(font());
    p.setRenderHint(QPainter::TextAntialiasing);
    paintGrid(p, l.weekdays, l.grid, false);
}

// ---- Printing ----

void CtCalendar::paintPrintPage(QPainter &p, const QRectF &page) const
{
    p.save();
    const QFont base = font();
    QFont titleFont = base;
    titleFont.setBold(true);
    titleFont.setPointSizeF(16);
    QFont subFont = base;
    subFont.setPointSizeF(11);

    qreal y = page.top();
    if (!m_printTitle.isEmpty()) {
        p.setFont(titleFont);
        const qreal h = QFontMetricsF(titleFont, p.device()).height();
        p.setPen(Qt::black);
        p.drawText(QRectF(page.left(), y, page.width(), h), Qt::AlignCenter | Qt::TextSingleLine, m_printTitle);
        y += h * 1.1;
    }
    if (!m_printSubTitle.isEmpty()) {
        p.setFont(subFont);
        const qreal h = QFontMetricsF(subFont, p.device()).height();
        p.setPen(Qt::black);
        p.drawText(QRectF(page.left(), y, page.width(), h), Qt::AlignCenter | Qt::TextSingleLine, m_printSubTitle);
        y += h;
    }
    y += QFontMetricsF(subFont, p.device()).height() * 0.6;

    // Day text as large as the widget's, but small enough for a number and
    // three lines to fit in a cell of this page.
    QFont dayFont = base;
    if (dayFont.pointSizeF() <= 0)
        dayFont.setPointSizeF(9);
    const qreal weekdaysH = QFontMetricsF(dayFont, p.device()).height() * 1.5;
    const qreal cellH = (page.bottom() - y - weekdaysH) / 6;
    for (int guard = 0; guard < 40; ++guard) {
        const qreal lineH = QFontMetricsF(dayFont, p.device()).height();
        if (lineH * 4.5 <= cellH || dayFont.pointSizeF() <= 4)
            break;
        dayFont.setPointSizeF(dayFont.pointSizeF() * 0.9);
    }
    p.setFont(dayFont);
    const QRectF weekdays(page.left(), y, page.width(), weekdaysH);
    const QRectF grid(page.left(), weekdays.bottom(), page.width(), page.bottom() - weekdays.bottom());
    paintGrid(p, weekdays, grid, true);
    p.restore();
}

bool CtCalendar::PrintCalendar(QPagedPaintDevice *device)
{
    QPainter p;
    if (!beginPrinting(p, device))
        return false;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF page(QPointF(0, 0), QSizeF(device->width(), device->height()));
    paintPrintPage(p, page);
    return p.end();
}
