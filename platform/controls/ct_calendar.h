#pragma once
// The month calendar of the main window: a painted grid of six weeks (42 days,
// Sunday first) with up to three coloured text lines a day, addressed by day
// numbers (whole days from 1 January 1900, see core/dates.h).
//
// The grid always runs 42 days from DateStart. What a day holds (its lines and
// colours) is kept by day number, so it stays with the day when the grid moves
// and is dropped only by ClearDays.

#include <QColor>
#include <QHash>
#include <QString>
#include <QWidget>

class QPagedPaintDevice;
class QPainter;
class QToolButton;

class CtCalendar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kGridDays = 42;
    // The day every week of the grid starts on; the program's other month
    // views (the date chooser, the date fields' pop-up) start on it too.
    static constexpr Qt::DayOfWeek kWeekStart = Qt::Sunday;

    explicit CtCalendar(QWidget *parent = nullptr);

    // The selected day. Setting a day of another month moves the grid to that
    // month (DateStart = the Sunday on or before its first day) and raises
    // monthChanged; a day of the shown month only moves the selection.
    int Date() const { return m_date; }
    void setDate(int day);

    // First and last day of the grid. Writing them changes what the grid shows
    // but never raises monthChanged (the owner lays out a month by writing them
    // before it fills the days). Writing DateStart also sets DateEnd to
    // DateStart + 41; DateEnd reads back what was last written.
    int DateStart() const { return m_start; }
    void setDateStart(int day);
    int DateEnd() const { return m_end; }
    void setDateEnd(int day);

    // The month (1-12) and the year of the selected day: the month shown.
    int Month() const;
    int Year() const;

    // Empties every day's lines and returns all of its colours to normal.
    void ClearDays();

    // The three text lines of a day.
    QString DateText(int day) const { return line(day, 0); }
    QString DateText2(int day) const { return line(day, 1); }
    QString DateText3(int day) const { return line(day, 2); }
    void setDateText(int day, const QString &text) { setLine(day, 0, text); }
    void setDateText2(int day, const QString &text) { setLine(day, 1, text); }
    void setDateText3(int day, const QString &text) { setLine(day, 2, text); }

    // Colours of a day. An invalid QColor is "normal" (the calendar's own
    // colour); setting one puts the day back to normal.
    QColor DateTextColor(int day) const { return lineColor(day, 0); }
    QColor DateTextColor2(int day) const { return lineColor(day, 1); }
    QColor DateTextColor3(int day) const { return lineColor(day, 2); }
    void setDateTextColor(int day, const QColor &c) { setLineColor(day, 0, c); }
    void setDateTextColor2(int day, const QColor &c) { setLineColor(day, 1, c); }
    void setDateTextColor3(int day, const QColor &c) { setLineColor(day, 2, c); }
    QColor DayBackColor(int day) const;
    void setDayBackColor(int day, const QColor &c);
    QColor DayNumberColor(int day) const;
    void setDayNumberColor(int day, const QColor &c);
    // The number colour and all three line colours at once (a day outside the month).
    void setDayForeColor(int day, const QColor &c);

    // Row size as the owner sets it from the calendar's height; kept, the grid
    // itself always fills the widget.
    double RowSize() const { return m_rowSize; }
    void setRowSize(double size) { m_rowSize = size; }

    QString PrintTitle() const { return m_printTitle; }
    void setPrintTitle(const QString &title) { m_printTitle = title; }
    QString PrintSubTitle() const { return m_printSubTitle; }
    void setPrintSubTitle(const QString &title) { m_printSubTitle = title; }

    // Prints the grid under the title and subtitle on one page of `device`
    // (a QPrinter or QPdfWriter set up by the caller), scaled to the page;
    // landscape suits it best. False when the device cannot be painted on.
    bool PrintCalendar(QPagedPaintDevice *device);
    // The same page painted into `page` of an active painter.
    void paintPrintPage(QPainter &painter, const QRectF &page) const;

    // The day under a point of the widget, or false when there is none there.
    bool dayAt(const QPoint &pos, int *day) const;
    // Where a day of the grid is drawn; an empty rectangle for a day outside it.
    QRect dayRect(int day) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void dayDblClick(int day);
    // The month or year shown changed (by the user or by writing Date); `day`
    // is the new selected day.
    void monthChanged(int day);
    // Raised synchronously when the pointer rests on a day, so that the owner
    // can fill and show its tips window for that day.
    void tipWanted(int day);
    void dayRightClick(int day);

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    struct DayCell {
        QString text[3];
        QColor textColor[3];
        QColor back;
        QColor number;
        bool isEmpty() const;
    };
    struct Layout {
        QRectF header, weekdays, grid;
    };

    QString line(int day, int n) const;
    void setLine(int day, int n, const QString &text);
    QColor lineColor(int day, int n) const;
    void setLineColor(int day, int n, const QColor &c);
    DayCell &cell(int day);
    void dropIfEmpty(int day);

    // Selects a day as the user does; the grid follows into another month.
    void selectDay(int day);
    void stepMonths(int months);
    void layoutButtons();
    Layout screenLayout() const;
    static QRectF cellRect(const QRectF &grid, int index);
    void paintGrid(QPainter &p, const QRectF &weekdays, const QRectF &grid, bool printing) const;

    int m_date = 0;
    int m_start = 0;
    int m_end = 0;
    bool m_pressMovedGrid = false; // the last press brought another month into view
    double m_rowSize = 0;
    QString m_printTitle;
    QString m_printSubTitle;
    QHash<int, DayCell> m_days;
    QToolButton *m_prev = nullptr;
    QToolButton *m_next = nullptr;
};
