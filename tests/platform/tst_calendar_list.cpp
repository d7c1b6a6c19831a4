// The month calendar and the list: the grid's days by day number, what a day
// holds, when the month-change event comes, the day numbers the mouse events
// report, the list's cells, marks, pictures and keys, and both printouts.

#include "counting_delegate.h"
#include "test_support.h"

#include "platform/dates.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/ct_list.h"

#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

int dayNo(int y, int m, int d) { return funDateToDayNumber(QDate(y, m, d)); }

QPixmap solid(Qt::GlobalColor c)
{
    QPixmap pm(16, 16);
    pm.fill(c);
    return pm;
}

// The number of pages a PDF written by Qt holds, from its page tree.
int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = f.readAll();
    if (!data.startsWith("%PDF"))
        return -1;
    const QRegularExpression rx(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(data).count(rx));
}

} // namespace

class TestCalendarList : public QObject {
    Q_OBJECT
private slots:
    void init() { zbclock::setNow(QDateTime(QDate(2026, 2, 11), QTime(9, 30))); }
    void cleanup() { zbclock::reset(); }

    void calendarGrid_data();
    void calendarGrid();
    void calendarTexts();
    void calendarClearDays();
    void calendarMonthChanged();
    void calendarNavigation();
    void calendarMouse();
    void calendarDoubleClickOnNextMonth();
    void calendarPrint();

    void listCells_data();
    void listCells();
    void listRows();
    void listAddRows();
    void listChecks();
    void listEnterInDialog();
    void listCurrentRow();
    void listPictures();
    void listPaintsOnlyShownRows();
    void listPrint();
};

// ---- Calendar ----

void TestCalendarList::calendarGrid_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("first");
    QTest::newRow("starts on a Sunday") << QDate(2026, 2, 20) << QDate(2026, 2, 1);
    QTest::newRow("September 2029") << QDate(2029, 9, 30) << QDate(2029, 8, 26);
    QTest::newRow("April 2026") << QDate(2026, 4, 1) << QDate(2026, 3, 29);
    QTest::newRow("across a year") << QDate(2027, 1, 31) << QDate(2026, 12, 27);
}

void TestCalendarList::calendarGrid()
{
    QFETCH(QDate, date);
    QFETCH(QDate, first);
    CtCalendar cal;
    cal.setDate(funDateToDayNumber(date));
    QCOMPARE(cal.Date(), funDateToDayNumber(date));
    QCOMPARE(funDayNumberToDate(cal.DateStart()), first);
    QCOMPARE(funDayNumberToDate(cal.DateStart()).dayOfWeek(), 7);
    QCOMPARE(cal.DateEnd(), cal.DateStart() + 41);
    QCOMPARE(cal.Month(), date.month());
    QCOMPARE(cal.Year(), date.year());
}

void TestCalendarList::calendarTexts()
{
    CtCalendar cal;
    cal.setDate(dayNo(2026, 2, 11));
    const int day = dayNo(2026, 2, 14);
    cal.setDateText(day, QStringLiteral("9:00 am Vet"));
    cal.setDateText2(day, QStringLiteral("Walk"));
    cal.setDateText3(day, QStringLiteral("More events..."));
    cal.setDateTextColor3(day, QColor(128, 0, 0));
    QCOMPARE(cal.DateText(day), QStringLiteral("9:00 am Vet"));
    QCOMPARE(cal.DateText2(day), QStringLiteral("Walk"));
    QCOMPARE(cal.DateText3(day), QStringLiteral("More events..."));
    QCOMPARE(cal.DateTextColor3(day), QColor(128, 0, 0));
    QVERIFY(!cal.DateTextColor(day).isValid());
    // The neighbours hold nothing: the lines belong to the day, not to a cell.
    QCOMPARE(cal.DateText(day - 1), QString());
    QCOMPARE(cal.DateText(day + 1), QString());

    // A day keeps its lines when the grid moves away and back.
    cal.setDate(dayNo(2026, 3, 5));
    QCOMPARE(cal.DateText2(day), QStringLiteral("Walk"));
    cal.setDate(dayNo(2026, 2, 1));
    QCOMPARE(cal.DateText(day), QStringLiteral("9:00 am Vet"));
}

void TestCalendarList::calendarClearDays()
{
    CtCalendar cal;
    cal.setDate(dayNo(2026, 2, 11));
    const int grey = cal.DateStart() + 40, today = dayNo(2026, 2, 11);
    cal.setDateText(today, QStringLiteral("Vaccine expires"));
    cal.setDateTextColor(today, QColor(128, 0, 0));
    cal.setDayBackColor(today, QColor(170, 223, 255));
    cal.setDateText2(grey, QStringLiteral("Walk"));
    cal.setDayForeColor(grey, QColor(128, 128, 128));
    QCOMPARE(cal.DayNumberColor(grey), QColor(128, 128, 128));
    QCOMPARE(cal.DateTextColor2(grey), QColor(128, 128, 128));

    cal.ClearDays();
    for (int day : {today, grey}) {
        QCOMPARE(cal.DateText(day), QString());
        QCOMPARE(cal.DateText2(day), QString());
        QCOMPARE(cal.DateText3(day), QString());
        QVERIFY(!cal.DateTextColor(day).isValid());
        QVERIFY(!cal.DateTextColor2(day).isValid());
        QVERIFY(!cal.DateTextColor3(day).isValid());
        QVERIFY(!cal.DayBackColor(day).isValid());
        QVERIFY(!cal.DayNumberColor(day).isValid());
    }
    // The grid itself is untouched.
    QCOMPARE(cal.Date(), today);
    QCOMPARE(funDayNumberToDate(cal.DateStart()), QDate(2026, 2, 1));
}

void TestCalendarList::calendarMonthChanged()
{
    CtCalendar cal;
    cal.setDate(dayNo(2026, 2, 11));
    QSignalSpy spy(&cal, &CtCalendar::monthChanged);

    cal.setDate(dayNo(2026, 2, 27)); // same month
    QCOMPARE(spy.count(), 0);

    // Laying out another month's grid by its range is not a month change.
    cal.setDateStart(dayNo(2026, 3, 29));
    cal.setDateEnd(dayNo(2026, 3, 29) + 41);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(cal.DateEnd(), dayNo(2026, 3, 29) + 41);

    cal.setDate(dayNo(2026, 4, 9));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).toInt(), dayNo(2026, 4, 9));
    QCOMPARE(funDayNumberToDate(cal.DateStart()), QDate(2026, 3, 29));

    cal.setDate(dayNo(2027, 4, 9)); // the same month of another year
    QCOMPARE(spy.count(), 1);
    spy.clear();

    // An owner that answers the event by laying the month out again (as the
    // main window does) gets no second event.
    connect(&cal, &CtCalendar::monthChanged, &cal, [&cal](int day) {
        cal.setDateStart(cal.DateStart());
        cal.setDate(day);
    });
    cal.setDate(dayNo(2027, 5, 1));
    QCOMPARE(spy.count(), 1);
}

void TestCalendarList::calendarNavigation()
{
    CtCalendar cal;
    cal.resize(800, 500);
    cal.setDate(dayNo(2026, 1, 31));
    QSignalSpy spy(&cal, &CtCalendar::monthChanged);
    auto *next = cal.findChild<QToolButton *>(QStringLiteral("ctCalendarNextMonth"));
    auto *prev = cal.findChild<QToolButton *>(QStringLiteral("ctCalendarLastMonth"));
    QVERIFY(next && prev);

    next->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(funDayNumberToDate(cal.Date()), QDate(2026, 2, 28)); // the month's last day
    QCOMPARE(funDayNumberToDate(cal.DateStart()), QDate(2026, 2, 1));
    prev->click();
    prev->click();
    QCOMPARE(spy.count(), 3);
    QCOMPARE(funDayNumberToDate(cal.Date()), QDate(2025, 12, 28));
    QCOMPARE(cal.Year(), 2025);

    // The keys move the selection; leaving the month counts as a month change.
    spy.clear();
    cal.setDate(dayNo(2026, 2, 27));
    spy.clear();
    QTest::keyClick(&cal, Qt::Key_Right);
    QCOMPARE(funDayNumberToDate(cal.Date()), QDate(2026, 2, 28));
    QCOMPARE(spy.count(), 0);
    QTest::keyClick(&cal, Qt::Key_Down);
    QCOMPARE(funDayNumberToDate(cal.Date()), QDate(2026, 3, 7));
    QCOMPARE(spy.count(), 1);
}

void TestCalendarList::calendarMouse()
{
    CtCalendar cal;
    cal.resize(800, 500);
    cal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cal));
    cal.setDate(dayNo(2026, 2, 2));
    const int day = dayNo(2026, 2, 19); // third row, fifth column
    const QPoint at = cal.dayRect(day).center();
    QCOMPARE(cal.dayRect(day).size().width() > 100, true);
    int found = -1;
    QVERIFY(cal.dayAt(at, &found));
    QCOMPARE(found, day);
    QVERIFY(!cal.dayAt(QPoint(400, 5), &found)); // the header

    QSignalSpy dbl(&cal, &CtCalendar::dayDblClick);
    QSignalSpy right(&cal, &CtCalendar::dayRightClick);
    QSignalSpy tip(&cal, &CtCalendar::tipWanted);

    QTest::mouseClick(&cal, Qt::LeftButton, {}, at);
    QCOMPARE(cal.Date(), day);
    QCOMPARE(dbl.count(), 0);
    QTest::mouseDClick(&cal, Qt::LeftButton, {}, at);
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(dbl.at(0).at(0).toInt(), day);

    const int other = dayNo(2026, 2, 3);
    const QPoint otherAt = cal.dayRect(other).center();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, otherAt, cal.mapToGlobal(otherAt));
    QApplication::sendEvent(&cal, &menu);
    QCOMPARE(right.count(), 1);
    QCOMPARE(right.at(0).at(0).toInt(), other);

    QHelpEvent help(QEvent::ToolTip, otherAt, cal.mapToGlobal(otherAt));
    QApplication::sendEvent(&cal, &help);
    QCOMPARE(tip.count(), 1);
    QCOMPARE(tip.at(0).at(0).toInt(), other);
    QHelpEvent overHeader(QEvent::ToolTip, QPoint(400, 5), cal.mapToGlobal(QPoint(400, 5)));
    QApplication::sendEvent(&cal, &overHeader);
    QCOMPARE(tip.count(), 1);
}

void TestCalendarList::calendarDoubleClickOnNextMonth()
{
    // The first click on a day of the next month brings that month into view;
    // the double-click must still name the day the user clicked.
    CtCalendar cal;
    cal.resize(800, 500);
    cal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cal));
    cal.setDate(dayNo(2026, 2, 2));
    const int day = dayNo(2026, 3, 10); // in the grid of February, last row
    const QPoint at = cal.dayRect(day).center();
    QSignalSpy dbl(&cal, &CtCalendar::dayDblClick);
    QSignalSpy month(&cal, &CtCalendar::monthChanged);
    // What the window system delivers: press, release, double-click, release.
    QTest::mouseClick(&cal, Qt::LeftButton, {}, at);
    QTest::mouseDClick(&cal, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&cal, Qt::LeftButton, {}, at);
    QCOMPARE(month.count(), 1);
    QCOMPARE(cal.Month(), 3);
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(dbl.at(0).at(0).toInt(), day);

    // In the month now shown, the day under the pointer is the one meant.
    const int inMonth = dayNo(2026, 3, 20);
    QTest::mouseDClick(&cal, Qt::LeftButton, {}, cal.dayRect(inMonth).center());
    QCOMPARE(dbl.count(), 2);
    QCOMPARE(dbl.at(1).at(0).toInt(), inMonth);
    QCOMPARE(cal.Date(), inMonth);
}

void TestCalendarList::calendarPrint()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("calendar.pdf"));
    CtCalendar cal;
    cal.setDate(dayNo(2026, 2, 11));
    cal.setPrintTitle(QStringLiteral("Zorbi 2003 Calendar"));
    cal.setPrintSubTitle(QStringLiteral("February 2026"));
    for (int i = 0; i < 42; i += 3)
        cal.setDateText(cal.DateStart() + i, QStringLiteral("9:00 am A rather long event name for a cell"));
    cal.setDateText(dayNo(2026, 2, 14), QStringLiteral("Vet"));
    cal.setDateText2(dayNo(2026, 2, 14), QStringLiteral("Walk"));
    cal.setDateText3(dayNo(2026, 2, 14), QStringLiteral("More events..."));
    cal.setDateTextColor3(dayNo(2026, 2, 14), QColor(128, 0, 0));
    cal.setDayBackColor(dayNo(2026, 2, 11), QColor(170, 223, 255));
    for (int d = dayNo(2026, 3, 1); d <= cal.DateEnd(); ++d)
        cal.setDayForeColor(d, QColor(128, 128, 128));
    {
        QPdfWriter pdf(path);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                      QPageLayout::Millimeter));
        QVERIFY(cal.PrintCalendar(&pdf));
    }
    QCOMPARE(pdfPages(path), 1);
    QVERIFY(QFileInfo(path).size() > 1000);
    QVERIFY(!cal.PrintCalendar(nullptr));
}

// ---- List ----

void TestCalendarList::listCells_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("cells");
    const QStringList three{QString(), QStringLiteral("Event"), QStringLiteral("Due")};
    const QStringList dayList{QStringLiteral("Event"), QStringLiteral("Due"), QStringLiteral("object_type"),
                              QStringLiteral("record_id")};
    QTest::newRow("three cells") << three << "a;b;c" << QStringList{"a", "b", "c"};
    QTest::newRow("empty cells kept") << three << ";x;" << QStringList{"", "x", ""};
    QTest::newRow("fewer cells") << three << "a" << QStringList{"a", "", ""};
    QTest::newRow("blank") << three << "" << QStringList{"", "", ""};
    // A ";" inside a name must not push the data cells out of their columns.
    QTest::newRow("name with ; after the check cell")
        << three << ";Vet; shots;March 3, 2026" << QStringList{"", "Vet; shots", "March 3, 2026"};
    QTest::newRow("name with ; in the day list")
        << dayList << "Vet;8;5;March 3, 2026;8;12" << QStringList{"Vet;8;5", "March 3, 2026", "8", "12"};
}

void TestCalendarList::listCells()
{
    QFETCH(QStringList, columns);
    QFETCH(QString, row);
    QFETCH(QStringList, cells);
    CtList list;
    list.setColumns(columns);
    list.addRow(QStringLiteral("first;row"));
    QCOMPARE(list.addRow(row), 1);
    for (int c = 0; c < cells.size(); ++c)
        QCOMPARE(list.CellText(1, c + 1), cells.at(c));
    QCOMPARE(list.CellText(1, int(cells.size()) + 1), QString()); // past the last column
    QCOMPARE(list.CellText(1, 0), QString());
    QCOMPARE(list.CellText(0, 2), QStringLiteral("row"));
}

void TestCalendarList::listRows()
{
    CtList list;
    list.setColumns(
        {QStringLiteral("Event"), QStringLiteral("Due"), QStringLiteral("object_type"), QStringLiteral("record_id")},
        {200, 200, 10, 10});
    list.setColumnVisible(3, false);
    list.setColumnVisible(4, false);
    QVERIFY(list.ColumnVisible(2));
    QVERIFY(!list.ColumnVisible(4));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(list.addRow(QStringLiteral("Item %1;due;8;%1").arg(i)), i);
    QCOMPARE(list.RowCount(), 5);
    QCOMPARE(list.CellText(3, 4), QStringLiteral("3")); // hidden cells still read
    list.setRowData(2, QStringLiteral("17"));
    list.setCellText(2, 2, QStringLiteral("today"));
    QCOMPARE(list.RowData(2), QStringLiteral("17"));
    QCOMPARE(list.CellText(2, 2), QStringLiteral("today"));
    QCOMPARE(list.RowData(1), QString());
    QCOMPARE(list.RowData(9), QString());
    list.setRowData(9, QStringLiteral("ignored"));

    list.clearRows();
    QCOMPARE(list.RowCount(), 0);
    QCOMPARE(list.CurrentRow(), -1);
    QCOMPARE(list.addRow(QStringLiteral("again")), 0);
    QCOMPARE(list.CellText(0, 1), QStringLiteral("again"));
}

void TestCalendarList::listAddRows()
{
    CtList list;
    list.setColumns({QString(), QStringLiteral("Event"), QStringLiteral("Due")});
    list.setCheckBoxes(true);
    list.addRow(QStringLiteral(";first;row"));
    // Cells as given, a ";" kept; short rows padded, surplus cells dropped; data
    // where given.
    QCOMPARE(list.addRows({{QString(), QStringLiteral("Vet; shots"), QStringLiteral("Today")},
                           {QString(), QStringLiteral("Walk")},
                           {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("surplus")}},
                          {QStringLiteral("7"), QStringLiteral("8")}),
             1);
    QCOMPARE(list.RowCount(), 4);
    QCOMPARE(list.CellText(1, 2), QStringLiteral("Vet; shots"));
    QCOMPARE(list.CellText(1, 3), QStringLiteral("Today"));
    QCOMPARE(list.CellText(2, 3), QString());
    QCOMPARE(list.CellText(3, 3), QStringLiteral("c"));
    QCOMPARE(list.CellText(0, 2), QStringLiteral("first"));
    QCOMPARE(list.RowData(1), QStringLiteral("7"));
    QCOMPARE(list.RowData(2), QStringLiteral("8"));
    QCOMPARE(list.RowData(3), QString());
    // Every row added has its unmarked box, which only the owner changes.
    for (int row = 1; row < 4; ++row) {
        const QModelIndex box = list.model()->index(row, 0);
        QCOMPARE(list.CheckState(row), 0);
        QCOMPARE(box.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(!(box.flags() & Qt::ItemIsUserCheckable));
        QVERIFY(box.flags() & Qt::ItemIsSelectable);
    }
    QCOMPARE(list.addRows({}), 4);
    QCOMPARE(list.addRow(QStringLiteral(";last")), 4);
}

void TestCalendarList::listChecks()
{
    CtList list;
    list.setColumns({QString(), QStringLiteral("Event"), QStringLiteral("Due")}, {24, 200, 200});
    list.setCheckBoxes(true);
    list.resize(500, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.addRow(QStringLiteral(";Walk;9:00 am"));
    list.addRow(QStringLiteral(";Feed;10:00 am"));
    QCOMPARE(list.CheckState(0), 0);
    list.setCheckState(1, 1);
    QCOMPARE(list.CheckState(1), 1);
    list.setCheckState(1, 0);
    QCOMPARE(list.CheckState(1), 0);
    list.setCheckState(0, 1);
    const QModelIndex first = list.model()->index(0, 0);
    QCOMPARE(first.data(Qt::CheckStateRole).toInt(), int(Qt::Checked)); // drawn as a box
    QVERIFY(!(first.flags() & Qt::ItemIsUserCheckable));
    QVERIFY(!list.model()->index(0, 1).data(Qt::CheckStateRole).isValid()); // in column 1 only
    // On screen: a marked box, an unmarked one, and (boxes off, further down) none.
    auto checkCell = [&list](int row) {
        return list.viewport()->grab().toImage().copy(list.visualRect(list.model()->index(row, 0)));
    };
    const QImage marked = checkCell(0), unmarked = checkCell(1);
    QVERIFY(marked != unmarked);

    QSignalSpy clicks(&list, &CtList::rowClick);
    QSignalSpy keys(&list, &CtList::keyPress);
    QSignalSpy selected(&list, &CtList::rowSelected);
    // A click on the box itself and one on the text: the view changes no mark.
    const QRect box = list.visualRect(first);
    for (const QPoint &at : {QPoint(box.left() + 10, box.center().y()), QPoint(150, box.center().y())}) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(list.CheckState(0), 1);
    }
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(0).at(0).toInt(), 0);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toInt(), 0);

    QTest::keyClick(&list, Qt::Key_Space);
    QCOMPARE(list.CheckState(0), 1);
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.CurrentRow(), 1);
    QCOMPARE(selected.count(), 2);
    QTest::keyClick(&list, Qt::Key_A);
    QTest::keyClick(&list, Qt::Key_Return);
    QList<int> codes;
    for (const auto &k : keys)
        codes << k.at(0).toInt();
    QCOMPARE(codes, (QList<int>{32, 'a', 13}));

    // Turning the boxes off takes them from every row.
    list.setCheckBoxes(false);
    QCOMPARE(list.CheckState(0), 0);
    QVERIFY(list.model()->index(0, 0).data(Qt::CheckStateRole).isNull());
    QVERIFY(checkCell(1) != unmarked);
    // Without boxes there is no mark to set, and boxes turned on again come unmarked.
    list.setCheckState(1, 1);
    QCOMPARE(list.CheckState(1), 0);
    QVERIFY(list.model()->index(1, 0).data(Qt::CheckStateRole).isNull());
    list.setCheckBoxes(true);
    QCOMPARE(list.CheckState(0), 0);
    QCOMPARE(list.CheckState(1), 0);
    QCOMPARE(list.model()->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
}

void TestCalendarList::listEnterInDialog()
{
    // Enter in the list is the list's: the window's default button stays up.
    QDialog dialog;
    auto *list = new CtList(&dialog);
    auto *done = new QPushButton(QStringLiteral("&Done"), &dialog);
    done->setDefault(true);
    auto *layout = new QHBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(done);
    list->setColumns({QString(), QStringLiteral("Event")});
    list->addRow(QStringLiteral(";Walk"));
    list->setCurrentRow(0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    list->setFocus();
    QSignalSpy pressed(done, &QPushButton::clicked);
    QSignalSpy keys(list, &CtList::keyPress);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(keys.count(), 2);
    QCOMPARE(pressed.count(), 0);
    QVERIFY(dialog.isVisible());
}

void TestCalendarList::listCurrentRow()
{
    CtList list;
    list.setColumns({QStringLiteral("Event"), QStringLiteral("Due")});
    QCOMPARE(list.CurrentRow(), -1);
    QSignalSpy selected(&list, &CtList::rowSelected);
    list.setCurrentRow(0); // no rows: stays none
    QCOMPARE(list.CurrentRow(), -1);
    list.addRow(QStringLiteral("a;1"));
    list.addRow(QStringLiteral("b;2"));
    QCOMPARE(list.CurrentRow(), -1);
    list.setCurrentRow(1);
    QCOMPARE(list.CurrentRow(), 1);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toInt(), 1);
    list.setCurrentRow(-1);
    QCOMPARE(list.CurrentRow(), -1);
    QCOMPARE(selected.count(), 1); // no event for "none"
    list.setCurrentRow(0);
    list.clearRows();
    QCOMPARE(list.CurrentRow(), -1);
}

void TestCalendarList::listPictures()
{
    CtList list;
    list.setColumns({QStringLiteral("Event"), QStringLiteral("Due")});
    QCOMPARE(list.addPicture(QIcon()), 0);
    QCOMPARE(list.addPicture(QIcon(solid(Qt::red))), 1);
    QCOMPARE(list.addPicture(QIcon(QStringLiteral("/no/such/picture.png"))), 0);
    QCOMPARE(list.addPicture(QIcon(solid(Qt::blue))), 2);
    list.addRow(QStringLiteral("Walk;today"));
    QCOMPARE(list.CellIcon(0, 1), 0);
    list.setCellIcon(0, 1, 2);
    QCOMPARE(list.CellIcon(0, 1), 2);
    // The cell shows the picture it names.
    const QModelIndex cell = list.model()->index(0, 0);
    const QImage shown = cell.data(Qt::DecorationRole).value<QIcon>().pixmap(QSize(16, 16)).toImage();
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.pixelColor(8, 8), QColor(Qt::blue));
    QVERIFY(list.model()->index(0, 1).data(Qt::DecorationRole).isNull());
    list.setCellIcon(0, 1, 0);
    QCOMPARE(list.CellIcon(0, 1), 0);
    QVERIFY(cell.data(Qt::DecorationRole).isNull());
    list.setCellIcon(0, 1, 7); // no such picture: none
    QCOMPARE(list.CellIcon(0, 1), 0);
    // A column added or dropped later leaves the other cells as they were.
    list.setCellIcon(0, 2, 1);
    list.setColumns({QStringLiteral("Event"), QStringLiteral("Due"), QStringLiteral("Where")});
    QCOMPARE(list.CellText(0, 2), QStringLiteral("today"));
    QCOMPARE(list.CellIcon(0, 2), 1);
    QCOMPARE(list.CellText(0, 3), QString());
    list.setCellText(0, 3, QStringLiteral("park"));
    list.setColumns({QStringLiteral("Event")});
    QCOMPARE(list.CellText(0, 1), QStringLiteral("Walk"));
    QCOMPARE(list.CellText(0, 2), QString());
    list.setColumns({QStringLiteral("Event"), QStringLiteral("Due")});
    QCOMPARE(list.CellText(0, 2), QString());
    QCOMPARE(list.CellIcon(0, 2), 0);
    list.clearRows();
    QCOMPARE(list.PictureCount(), 2); // the pictures outlive the rows
}

void TestCalendarList::listPaintsOnlyShownRows()
{
    // A long fill costs no work per row on screen: going far down and painting
    // touch the rows shown only, one row's height serving for all.
    CtList list;
    list.setColumns({QString(), QStringLiteral("Event"), QStringLiteral("Due")}, {24, 200});
    list.setCheckBoxes(true);
    QList<QStringList> rows;
    for (int i = 0; i < 20000; ++i)
        rows.append({QString(), QStringLiteral("Item %1").arg(i), QStringLiteral("today")});
    list.addRows(rows);
    auto *counting = new CountingDelegate(list.itemDelegate(), &list);
    list.setItemDelegate(counting);
    list.resize(400, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    counting->painted.clear();
    counting->measured = 0;
    list.setCurrentRow(15000);
    list.viewport()->repaint();
    const QModelIndex top = list.indexAt(QPoint(30, 1));
    const QModelIndex bottom = list.indexAt(QPoint(30, list.viewport()->height() - 1));
    QVERIFY(top.isValid() && bottom.isValid());
    QVERIFY(top.row() <= 15000 && 15000 <= bottom.row());
    QVERIFY(counting->painted.contains(15000));
    for (int row : std::as_const(counting->painted))
        QVERIFY2(row >= top.row() && row <= bottom.row(), qPrintable(QString::number(row)));
    QVERIFY2(counting->measured < 100, qPrintable(QString::number(counting->measured)));
}

void TestCalendarList::listPrint()
{
    QTemporaryDir dir;
    CtList list;
    list.setColumns({QString(), QStringLiteral("Event"), QStringLiteral("Due"), QStringLiteral("record_id")},
                    {24, 200, 200, 10});
    list.setColumnVisible(4, false);
    list.setCheckBoxes(true);
    list.setPrintTitle(QStringLiteral("Zorbi 2003"));
    list.setPrintSubTitle(QStringLiteral("2/11/2026 9:30:00 AM"));
    auto print = [&](const QString &name) {
        const QString path = dir.filePath(name);
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        return list.PrintList(&pdf) ? pdfPages(path) : -1;
    };
    QCOMPARE(print(QStringLiteral("empty.pdf")), 1);
    for (int i = 0; i < 3; ++i)
        list.addRow(QStringLiteral(";Give the heart-worm tablet to pet %1;March %1, 2026 9:00 am;%1").arg(i + 1));
    list.setCheckState(1, 1);
    QCOMPARE(print(QStringLiteral("short.pdf")), 1);
    for (int i = 0; i < 120; ++i)
        list.addRow(QStringLiteral(";Walk %1;today;0").arg(i));
    QVERIFY(print(QStringLiteral("long.pdf")) >= 3);
}

ZORBI_TEST_MAIN(TestCalendarList)
#include "tst_calendar_list.moc"
