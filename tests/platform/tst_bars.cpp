// The bars, menus, tips and tray icon that the windows are built from: the
// numbering the windows address items by, the clicks they report, and the
// state that only code may change.

#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/ct_tips.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/ct_tray.h"
#include "counting_delegate.h"
#include "test_support.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <set>

namespace {

QIcon someIcon() { return QApplication::style()->standardIcon(QStyle::SP_FileIcon); }

// The main window's toolbar: 23 positions, separators among them.
const std::set<int> kToolbarSeparators{2, 4, 6, 8, 10, 12, 16, 22};

void buildToolbar(CtToolBar &bar)
{
    for (int id = 1; id <= 23; ++id) {
        if (kToolbarSeparators.count(id))
            bar.addSeparator();
        else
            bar.addItem(QStringLiteral("Button &%1").arg(id), QStringLiteral("Tip %1").arg(id), someIcon());
    }
}

// The main window's menu bar: titles 1, 11 and 21 with their entries, the
// missing ids separators; and a title without entries at 31.
void buildMenuBar(CtToolBar &bar)
{
    const std::set<int> titles{1, 11, 21, 31};
    const std::set<int> separators{5, 7, 9, 17, 19, 25, 26, 27, 28, 29};
    for (int id = 1; id <= 31; ++id) {
        if (separators.count(id))
            bar.addSeparator();
        else if (titles.count(id))
            bar.addItem(QStringLiteral("&Title %1").arg(id), {}, {}, CtToolBar::MenuTitle);
        else
            bar.addItem(QStringLiteral("Entry %1").arg(id), {}, someIcon(), CtToolBar::MenuEntry);
    }
}

QWidget *buttonOf(CtToolBar &bar, int id) { return bar.toolBar()->widgetForAction(bar.action(id)); }

// Chooses an entry of a menu as the user does: open it, click the entry.
void clickInMenu(QMenu *menu, QAction *entry)
{
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

// A press, release, press, double-click and release: what a double-click
// delivers to a widget.
void doubleClickAt(QWidget *w, const QPoint &p)
{
    QTest::mousePress(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
    QTest::mousePress(w, Qt::LeftButton, {}, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}

QPoint itemCentre(CtListBar &bar, int item)
{
    QListView *list = bar.listView();
    return list->visualRect(list->model()->index(item - 1, 0)).center();
}

// The items of the bar that its view shows selected, counted from 1.
QList<int> selectedItems(CtListBar &bar)
{
    QList<int> items;
    for (const QModelIndex &at : bar.listView()->selectionModel()->selectedIndexes())
        items << at.row() + 1;
    return items;
}

} // namespace

class TestBars : public QObject {
    Q_OBJECT
private slots:
    void toolbarNumbersSeparators();
    void toolbarClickReportsTheId();
    void stateIsSetOnlyByCode_data();
    void stateIsSetOnlyByCode();
    void menuBarTitlesHoldTheirEntries();
    void menuBarClicks_data();
    void menuBarClicks();
    void menuBarUserClicks();
    void textsRoundTrip();

    void listBarItemsAndCargo();
    void listBarClicks();
    void listBarDoubleClickSurvivesRebuild();
    void listBarLongNamesEndInAnEllipsis_data();
    void listBarLongNamesEndInAnEllipsis();
    void listBarShowsManyItemsAtOnce_data();
    void listBarShowsManyItemsAtOnce();

    void dropMenuNumbersEntries();
    void dropMenuTrigger_data();
    void dropMenuTrigger();
    void dropMenuPopUpReportsAfterClosing();
    void dropMenuShownByOthersReports();

    void tipsShowPlainLines();
    void tipsHide();

    void trayActivation_data();
    void trayActivation();
    void trayWithoutNotificationArea();
};

void TestBars::toolbarNumbersSeparators()
{
    CtToolBar bar(CtToolBar::Mode::ToolBar);
    buildToolbar(bar);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    QCOMPARE(bar.itemCount(), 23);
    for (int id = 1; id <= 23; ++id)
        QCOMPARE(bar.isSeparator(id), kToolbarSeparators.count(id) == 1);
    QCOMPARE(bar.action(13)->text(), QStringLiteral("Button &13"));

    bar.setItemVisible(9, false);
    for (int id = 1; id <= 23; ++id)
        QCOMPARE(bar.itemVisible(id), id != 9);
    QTRY_VERIFY(!buttonOf(bar, 9)->isVisible());
    QVERIFY(buttonOf(bar, 7)->isVisible());
    QVERIFY(buttonOf(bar, 11)->isVisible());
    QCOMPARE(bar.toolBar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(bar.action(3)->toolTip(), QStringLiteral("Tip 3"));

    bar.setItemVisible(9, true);
    QTRY_VERIFY(buttonOf(bar, 9)->isVisible());
}

void TestBars::toolbarClickReportsTheId()
{
    CtToolBar bar(CtToolBar::Mode::ToolBar);
    buildToolbar(bar);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy clicks(&bar, &CtToolBar::itemClick);

    QTest::mouseClick(buttonOf(bar, 3), Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.takeFirst().at(0).toInt(), 3);

    bar.clickItem(21);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.takeFirst().at(0).toInt(), 21);

    // Nothing for a separator, a hidden or a disabled item, or no item at all.
    bar.clickItem(2);
    bar.setItemVisible(9, false);
    bar.clickItem(9);
    bar.setItemEnabled(11, false);
    QVERIFY(!bar.itemEnabled(11));
    bar.clickItem(11);
    QTest::mouseClick(buttonOf(bar, 11), Qt::LeftButton);
    bar.clickItem(0);
    bar.clickItem(24);
    QCOMPARE(clicks.size(), 0);
}

void TestBars::stateIsSetOnlyByCode_data()
{
    QTest::addColumn<bool>("menuBar");
    QTest::addColumn<bool>("pressed");
    QTest::newRow("pressed button") << false << true;
    QTest::newRow("released button") << false << false;
    QTest::newRow("checked entry") << true << true;
    QTest::newRow("unchecked entry") << true << false;
}

void TestBars::stateIsSetOnlyByCode()
{
    QFETCH(bool, menuBar);
    QFETCH(bool, pressed);
    CtToolBar bar(menuBar ? CtToolBar::Mode::MenuBar : CtToolBar::Mode::ToolBar);
    menuBar ? buildMenuBar(bar) : buildToolbar(bar);
    const int id = 14;
    bar.setItemState(13, true);
    bar.setItemState(id, pressed);
    QCOMPARE(bar.itemState(id), pressed);
    QCOMPARE(bar.itemChecked(id), pressed);
    QCOMPARE(bar.action(id)->isChecked(), pressed);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    QSignalSpy clicks(&bar, &CtToolBar::itemClick);
    bool stateSeenByHandler = !pressed;
    connect(&bar, &CtToolBar::itemClick, this, [&] { stateSeenByHandler = bar.action(id)->isChecked(); });
    if (menuBar)
        clickInMenu(bar.action(11)->menu(), bar.action(id));
    else
        QTest::mouseClick(buttonOf(bar, id), Qt::LeftButton);

    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), id);
    QCOMPARE(stateSeenByHandler, pressed);
    QCOMPARE(bar.itemState(id), pressed);
    QCOMPARE(bar.action(id)->isChecked(), pressed);
    QVERIFY(bar.itemState(13));

    // The handler of the view buttons presses the chosen one and releases the others.
    bar.setItemState(13, false);
    bar.setItemState(id, true);
    QVERIFY(!bar.action(13)->isChecked());
    QVERIFY(bar.action(id)->isChecked());
}

void TestBars::menuBarTitlesHoldTheirEntries()
{
    CtToolBar bar(CtToolBar::Mode::MenuBar);
    buildMenuBar(bar);
    QVERIFY(!bar.menuBar()->isNativeMenuBar());

    // The bar shows the four titles; the entries and separators after a title
    // are its menu's, in order.
    const QList<QAction *> top = bar.menuBar()->actions();
    QCOMPARE(top, (QList<QAction *>{bar.action(1), bar.action(11), bar.action(21), bar.action(31)}));
    QVERIFY(!bar.action(31)->menu());
    QCOMPARE(bar.itemText(11), QStringLiteral("&Title 11"));
    auto entries = [&](int from, int to) {
        QList<QAction *> list;
        for (int id = from; id <= to; ++id)
            list << bar.action(id);
        return list;
    };
    QCOMPARE(bar.action(1)->menu()->actions(), entries(2, 10));
    QCOMPARE(bar.action(11)->menu()->actions(), entries(12, 20));
    QCOMPARE(bar.action(21)->menu()->actions(), entries(22, 30));
    QVERIFY(bar.action(7)->isSeparator());

    // Hiding photo-album entries leaves the rest of the menu as it was.
    bar.setItemVisible(13, false);
    bar.setItemVisible(14, false);
    QVERIFY(!bar.itemVisible(13));
    QVERIFY(bar.itemVisible(12));
    QVERIFY(bar.itemVisible(15));
}

void TestBars::menuBarClicks_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("reported"); // 0: nothing
    QTest::newRow("title with entries") << 1 << 0;
    QTest::newRow("separator") << 5 << 0;
    QTest::newRow("entry") << 2 << 2;
    QTest::newRow("entry of second menu") << 12 << 12;
    QTest::newRow("last entry") << 30 << 30;
    QTest::newRow("title without entries") << 31 << 31;
}

void TestBars::menuBarClicks()
{
    QFETCH(int, id);
    QFETCH(int, reported);
    CtToolBar bar(CtToolBar::Mode::MenuBar);
    buildMenuBar(bar);
    QSignalSpy clicks(&bar, &CtToolBar::itemClick);
    bar.clickItem(id);
    QCOMPARE(clicks.size(), reported ? 1 : 0);
    if (reported)
        QCOMPARE(clicks.at(0).at(0).toInt(), reported);

    // An entry of a hidden or disabled menu cannot be reached.
    if (id == 12) {
        bar.setItemVisible(11, false);
        bar.clickItem(12);
        bar.setItemVisible(11, true);
        bar.setItemEnabled(11, false);
        bar.clickItem(12);
        QCOMPARE(clicks.size(), 1);
    }
}

void TestBars::menuBarUserClicks()
{
    CtToolBar bar(CtToolBar::Mode::MenuBar);
    buildMenuBar(bar);
    bar.resize(600, bar.sizeHint().height());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy clicks(&bar, &CtToolBar::itemClick);
    QMenuBar *mb = bar.menuBar();

    // A title with entries opens its menu and reports nothing.
    QTest::mouseClick(mb, Qt::LeftButton, {}, mb->actionGeometry(bar.action(21)).center());
    QMenu *help = bar.action(21)->menu();
    QTRY_VERIFY(help->isVisible());
    QTest::mouseClick(help, Qt::LeftButton, {}, help->actionGeometry(bar.action(23)).center());
    QTRY_VERIFY(!help->isVisible());
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.takeFirst().at(0).toInt(), 23);

    // A title without entries is a command.
    QTest::mouseClick(mb, Qt::LeftButton, {}, mb->actionGeometry(bar.action(31)).center());
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.takeFirst().at(0).toInt(), 31);
}

void TestBars::textsRoundTrip()
{
    CtToolBar bar(CtToolBar::Mode::MenuBar);
    buildMenuBar(bar);

    // The caption and the stored text are apart: the caption is shown, the
    // stored text is what the click handler opens.
    bar.setItemText(13, QStringLiteral("http://pets.example.org"));
    bar.setItemStoredText(13, QStringLiteral("http://pets.example.org/?a=1&b=2"));
    QCOMPARE(bar.itemText(13), QStringLiteral("http://pets.example.org"));
    QCOMPARE(bar.action(13)->text(), QStringLiteral("http://pets.example.org"));
    QCOMPARE(bar.itemStoredText(13), QStringLiteral("http://pets.example.org/?a=1&b=2"));
    QCOMPARE(bar.itemStoredText(14), QString());
    bar.setItemText(1, QStringLiteral("&Archive"));
    QCOMPARE(bar.action(1)->menu()->title(), QStringLiteral("&Archive"));

    // Separators have no caption; ids outside the bar read empty and are ignored.
    QCOMPARE(bar.itemText(5), QString());
    bar.setItemText(5, QStringLiteral("x"));
    QCOMPARE(bar.itemText(5), QString());
    bar.setItemVisible(0, false);
    bar.setItemState(99, true);
    bar.setItemStoredText(-1, QStringLiteral("x"));
    QVERIFY(!bar.itemVisible(99));
    QVERIFY(!bar.itemState(99));
    QCOMPARE(bar.itemText(0), QString());
    QVERIFY(!bar.action(32));
}

void TestBars::listBarItemsAndCargo()
{
    CtListBar bar;
    bar.setCaption(QStringLiteral("Menu"));
    QCOMPARE(bar.caption(), QStringLiteral("Menu"));
    QCOMPARE(bar.addPictureItem(1, QStringLiteral("Rex"), someIcon()), 1);
    QCOMPARE(bar.addPictureItem(1, QStringLiteral("Printouts"), someIcon()), 2);
    QCOMPARE(bar.addPictureItem(1, QStringLiteral("Calendar"), someIcon()), 3);
    QCOMPARE(bar.addPictureItem(2, QStringLiteral("Elsewhere"), someIcon()), 0);
    QCOMPARE(bar.itemCount(1), 3);

    for (int item = 1; item <= 3; ++item)
        bar.setItemCargo(1, item, 40 + item);
    for (int item = 1; item <= 3; ++item)
        QCOMPARE(bar.itemCargo(1, item), 40 + item);
    QCOMPARE(bar.itemText(1, 2), QStringLiteral("Printouts"));
    QCOMPARE(bar.itemCargo(1, 4), 0);
    // The view shows the same items, each with its picture and its cargo.
    const QAbstractItemModel *model = bar.listView()->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(1, 0).data(Qt::DisplayRole).toString(), QStringLiteral("Printouts"));
    QCOMPARE(model->index(2, 0).data(Qt::UserRole).toInt(), 43);
    QVERIFY(!model->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    QCOMPARE(bar.itemText(2, 1), QString());
    QCOMPARE(bar.currentItem(), 0);
    QCOMPARE(bar.currentGroup(), 0);

    bar.removeAll();
    QCOMPARE(bar.itemCount(1), 0);
    QCOMPARE(bar.addPictureItem(1, QStringLiteral("Add New Pet"), someIcon()), 1);
    QCOMPARE(bar.itemCargo(1, 1), 0);
    QCOMPARE(bar.listView()->model()->rowCount(), 1);
    QCOMPARE(model->index(0, 0).data(Qt::DisplayRole).toString(), QStringLiteral("Add New Pet"));

    bar.setIconSize(1);
    bar.setIconSize2(0);
    QCOMPARE(bar.listView()->viewMode(), QListView::ListMode);
    QCOMPARE(bar.listView()->iconSize(), QSize(16, 16));
    bar.setIconSize(0);
    bar.setIconSize2(2);
    QCOMPARE(bar.iconSize2(), 2);
    QCOMPARE(bar.listView()->viewMode(), QListView::IconMode);
    QCOMPARE(bar.listView()->iconSize(), QSize(32, 32));
}

void TestBars::listBarLongNamesEndInAnEllipsis_data()
{
    QTest::addColumn<int>("iconSize");
    QTest::addColumn<int>("lines");
    QTest::newRow("large icons") << 0 << 2;
    QTest::newRow("small icons") << 1 << 1;
}

// A name too long for its item is shown on the lines the item has, the last
// ending in an ellipsis, never cut through a line; a short one as it is.
void TestBars::listBarLongNamesEndInAnEllipsis()
{
    QFETCH(int, iconSize);
    QFETCH(int, lines);
    CtListBar bar;
    bar.setIconSize(iconSize);
    const QStringList names{QStringLiteral("Rex"),
                            QStringLiteral("Bartholomew-the-Magnificent-Third-of-Hollyhock-Lane"),
                            QStringLiteral("Sir Reginald Fluffington Whiskers of the Royal House of Windsor")};
    for (const QString &name : names)
        bar.addPictureItem(1, name, someIcon());
    bar.resize(110, 400);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QCOMPARE(bar.shownText(1, 1), QString("Rex"));
    const QFontMetrics fm(bar.listView()->font());
    for (int item = 2; item <= 3; ++item) {
        QCOMPARE(bar.itemText(1, item), names[item - 1]);
        const QStringList shown = bar.shownText(1, item).split(QLatin1Char('\n'));
        QCOMPARE(shown.size(), lines);
        QVERIFY2(shown.last().endsWith(QChar(0x2026)), qPrintable(shown.last()));
        for (const QString &line : shown)
            QVERIFY2(fm.horizontalAdvance(line) <= bar.listView()->viewport()->width(), qPrintable(line));
    }
    bar.grab().save(QStringLiteral("listbar-long-names-%1.png").arg(iconSize));
}

void TestBars::listBarClicks()
{
    CtListBar bar;
    for (const char *name : {"Rex", "Printouts", "Calendar"})
        bar.addPictureItem(1, QString::fromLatin1(name), someIcon());
    bar.resize(120, 400);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QWidget *vp = bar.listView()->viewport();
    QSignalSpy clicks(&bar, &CtListBar::itemClick);
    QSignalSpy rightClicks(&bar, &CtListBar::itemRightClick);

    QTest::mouseClick(vp, Qt::LeftButton, {}, itemCentre(bar, 2));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.takeFirst(), (QList<QVariant>{1, 2}));
    QCOMPARE(bar.currentItem(), 2);
    QCOMPARE(bar.currentGroup(), 1);

    // The right button reports the item under the pointer, not the current one.
    QTest::mouseClick(vp, Qt::RightButton, {}, itemCentre(bar, 3));
    QCOMPARE(rightClicks.size(), 1);
    QCOMPARE(rightClicks.takeFirst(), (QList<QVariant>{1, 3}));
    QCOMPARE(bar.currentItem(), 3);
    QCOMPARE(clicks.size(), 0);

    // Below the last item there is nothing to click.
    const QPoint below(vp->width() / 2, vp->height() - 3);
    QVERIFY(!bar.listView()->indexAt(below).isValid());
    QTest::mouseClick(vp, Qt::LeftButton, {}, below);
    QTest::mouseClick(vp, Qt::RightButton, {}, below);
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(rightClicks.size(), 0);
}

void TestBars::listBarDoubleClickSurvivesRebuild()
{
    CtListBar bar;
    auto fill = [&bar](int cargoBase) {
        bar.removeAll();
        for (const char *name : {"Rex", "Tibbles", "Calendar"}) {
            const int item = bar.addPictureItem(1, QString::fromLatin1(name), someIcon());
            bar.setItemCargo(1, item, cargoBase + item);
        }
    };
    fill(0);
    bar.resize(120, 400);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    // As the main window does: every click rebuilds the whole bar.
    int rebuilds = 0;
    connect(&bar, &CtListBar::itemClick, this, [&] { fill(100 * ++rebuilds); });
    int currentSeen = -1;
    int cargoSeen = -1;
    QString textSeen;
    connect(&bar, &CtListBar::itemDblClick, this, [&] {
        currentSeen = bar.currentItem();
        cargoSeen = bar.itemCargo(bar.currentGroup(), currentSeen);
        textSeen = bar.itemText(bar.currentGroup(), currentSeen);
    });
    QSignalSpy dblClicks(&bar, &CtListBar::itemDblClick);

    // A rebuild keeps the clicked item current.
    QTest::mouseClick(bar.listView()->viewport(), Qt::LeftButton, {}, itemCentre(bar, 3));
    QCOMPARE(rebuilds, 1);
    QCOMPARE(bar.currentItem(), 3);
    QCOMPARE(selectedItems(bar), QList<int>{3});
    QCOMPARE(dblClicks.size(), 0);

    doubleClickAt(bar.listView()->viewport(), itemCentre(bar, 2));
    QTRY_COMPARE(dblClicks.size(), 1);
    QCOMPARE(rebuilds, 2); // the second half of a double-click is no click
    QCOMPARE(currentSeen, 2);
    QCOMPARE(cargoSeen, 202);
    QCOMPARE(textSeen, QStringLiteral("Tibbles"));
    QCOMPARE(selectedItems(bar), QList<int>{2});

    // The current index outlives a rebuild that has fewer items only while it exists.
    bar.removeAll();
    bar.addPictureItem(1, QStringLiteral("Calendar"), someIcon());
    QCOMPARE(bar.currentItem(), 0);
}

void TestBars::listBarShowsManyItemsAtOnce_data()
{
    QTest::addColumn<int>("iconSize");
    QTest::newRow("large icons") << 0;
    QTest::newRow("small icons") << 1;
}

// A household of many thousand pets costs the bar no work per pet on screen:
// the view hears of a whole rebuild in one step, measures one item for all,
// and paints only the items shown, the current one among them.
void TestBars::listBarShowsManyItemsAtOnce()
{
    QFETCH(int, iconSize);
    constexpr int kItems = 20000;
    CtListBar bar;
    bar.setIconSize(iconSize);
    bar.resize(120, 400);
    QListView *view = bar.listView();
    QWidget *vp = view->viewport();
    auto *counting = new CountingDelegate(view->itemDelegate(), view);
    view->setItemDelegate(counting);
    QSignalSpy inserted(view->model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(view->model(), &QAbstractItemModel::modelReset);
    auto fill = [&bar] {
        bar.removeAll();
        for (int i = 1; i <= kItems; ++i)
            bar.addPictureItem(1, QStringLiteral("Pet %1").arg(i), someIcon(), i);
    };
    // The rows a paint touched lie in the viewport (or in the row at its edge
    // that the view paints ahead), and the item given among them.
    auto paintedOnlyShown = [&](int item) {
        if (!counting->painted.contains(item - 1))
            return QStringLiteral("item %1 not painted").arg(item);
        const QRect item1 = view->visualRect(view->model()->index(0, 0));
        const int ahead = item1.height() + 2 * view->spacing();
        for (int row : std::as_const(counting->painted)) {
            if (!view->visualRect(view->model()->index(row, 0)).intersects(vp->rect().adjusted(0, -ahead, 0, ahead)))
                return QStringLiteral("item %1 painted out of sight").arg(row + 1);
        }
        return QString();
    };
    fill();
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QTRY_VERIFY(!counting->painted.isEmpty());
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), kItems - 1);
    QVERIFY2(counting->measured < 100, qPrintable(QString::number(counting->measured)));
    QCOMPARE(paintedOnlyShown(1), QString());

    // Far down the list: the current item is brought into sight, and a
    // rebuild keeps it current, selected and in sight, again in one step.
    bar.setCurrentItem(15000);
    counting->painted.clear();
    counting->measured = 0;
    inserted.clear();
    reset.clear();
    fill();
    vp->repaint(); // before the event loop has run: the paint shows the new items
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(reset.size(), 1);
    QCOMPARE(paintedOnlyShown(15000), QString());
    QVERIFY2(counting->measured < 100, qPrintable(QString::number(counting->measured)));
    QCOMPARE(bar.currentItem(), 15000);
    QCOMPARE(selectedItems(bar), QList<int>{15000});
    QCOMPARE(bar.itemCargo(1, 15000), 15000);
    QCOMPARE(view->model()->index(15000 - 1, 0).data(Qt::UserRole).toInt(), 15000);
}

void TestBars::dropMenuNumbersEntries()
{
    CtDropMenu menu(2);
    QCOMPARE(menu.number(), 2);
    QCOMPARE(menu.addEntry(QStringLiteral("New"), 0, 0), 1);
    QCOMPARE(menu.addEntry(QString(), 1, 0), 2);
    QCOMPARE(menu.addEntry(QStringLiteral("Open"), 0, 0), 3);
    QCOMPARE(menu.addEntry(QString(), 1, 0), 4);
    QCOMPARE(menu.addEntry(QStringLiteral("Delete"), 0, 0), 5);
    menu.setEntryPicture(5, someIcon());
    QVERIFY(!menu.menu()->actions().at(4)->icon().isNull());
    QCOMPARE(menu.entryCaption(3), QStringLiteral("Open"));
    QCOMPARE(menu.entryCaption(2), QString());
    QCOMPARE(menu.entryCaption(6), QString());
    QVERIFY(menu.isSeparator(4));
    QCOMPARE(menu.menu()->actions().size(), 5);

    menu.setTag(QStringLiteral("17"));
    QCOMPARE(menu.tag(), QStringLiteral("17"));

    menu.removeAll();
    QCOMPARE(menu.entryCount(), 0);
    QCOMPARE(menu.addEntry(QStringLiteral("Open Events"), 0, 0), 1);
    QCOMPARE(menu.addEntry(QStringLiteral("New &Event"), 0, 0), 2);
    QCOMPARE(menu.entryCaption(2), QStringLiteral("New &Event"));
    QCOMPARE(menu.menu()->actions().size(), 2);
    QCOMPARE(menu.tag(), QStringLiteral("17"));

    menu.setSetupFlag(true);
    menu.setSetupValue(0);
    QVERIFY(menu.setupFlag());
    QCOMPARE(menu.setupValue(), 0);
}

void TestBars::dropMenuTrigger_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("reported");
    QTest::newRow("first") << 1 << true;
    QTest::newRow("separator") << 2 << false;
    QTest::newRow("last") << 5 << true;
    QTest::newRow("none") << 0 << false;
    QTest::newRow("beyond") << 6 << false;
}

void TestBars::dropMenuTrigger()
{
    QFETCH(int, entry);
    QFETCH(bool, reported);
    CtDropMenuArray menus(6);
    QCOMPARE(menus.count(), 6);
    QVERIFY(!menus.menu(6));
    QVERIFY(!menus.menu(-1));
    CtDropMenu *gallery = menus[5];
    for (const char *caption : {"New", "", "Open", "", "Delete"})
        gallery->addEntry(QString::fromLatin1(caption), *caption ? 0 : 1, 0);
    menus[1]->addEntry(QStringLiteral("Open"), 0, 0);

    QWidget window;
    auto *child = new QWidget(&window);
    QSignalSpy clicks(&menus, &CtDropMenuArray::itemClick);
    gallery->triggerEntry(entry, child);
    QCOMPARE(gallery->owner(), &window);
    QCOMPARE(clicks.size(), reported ? 1 : 0);
    if (reported)
        QCOMPARE(clicks.at(0), (QList<QVariant>{5, entry}));
}

void TestBars::dropMenuPopUpReportsAfterClosing()
{
    QWidget window;
    window.resize(200, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *child = new QWidget(&window);

    CtDropMenu menu(4);
    menu.addEntry(QStringLiteral("Open Events"), 0, 0);
    menu.addEntry(QString(), 1, 0);
    menu.addEntry(QStringLiteral("New &Event"), 0, 0);
    QAction *third = menu.menu()->actions().at(2);

    bool menuOpenAtClick = true;
    QWidget *ownerAtClick = nullptr;
    QSignalSpy clicks(&menu, &CtDropMenu::itemClick);
    connect(&menu, &CtDropMenu::itemClick, this, [&] {
        menuOpenAtClick = menu.menu()->isVisible();
        ownerAtClick = menu.owner();
    });

    // Chooses the entry once the menu is up; should that fail, closes it so
    // that the test cannot hang.
    QTimer::singleShot(0, menu.menu(), [&] {
        QTest::mouseClick(menu.menu(), Qt::LeftButton, {}, menu.menu()->actionGeometry(third).center());
    });
    QTimer::singleShot(5000, menu.menu(), [&] { menu.menu()->close(); });
    menu.popUp(child);

    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.at(0), (QList<QVariant>{4, 3}));
    QVERIFY(!menuOpenAtClick);
    QCOMPARE(ownerAtClick, &window);

    // An empty menu shows nothing and reports nothing.
    CtDropMenu empty(0);
    QSignalSpy none(&empty, &CtDropMenu::itemClick);
    empty.popUp(child);
    QCOMPARE(none.size(), 0);
    QCOMPARE(empty.owner(), &window);
}

void TestBars::dropMenuShownByOthersReports()
{
    // The tray shows its menu itself; the choice still arrives, after the
    // action's own handling is over.
    CtDropMenu menu(0);
    menu.addEntry(QStringLiteral("Check Reminders"), 0, 0);
    menu.addEntry(QString(), 1, 0);
    menu.addEntry(QStringLiteral("Exit"), 0, 0);
    QSignalSpy clicks(&menu, &CtDropMenu::itemClick);
    menu.menu()->actions().at(2)->trigger();
    QCOMPARE(clicks.size(), 0);
    QTRY_COMPARE(clicks.size(), 1);
    QCOMPARE(clicks.at(0), (QList<QVariant>{0, 3}));
}

void TestBars::tipsShowPlainLines()
{
    QWidget owner;
    CtTips tips(&owner);
    QVERIFY(tips.isWindow());
    auto *label = tips.findChild<QLabel *>();
    QVERIFY(label);

    tips.setText(QStringLiteral("<b>Rex</b> - Vet at 10\r\nTibbles & Co - Vaccination"));
    QCOMPARE(tips.text(), QStringLiteral("<b>Rex</b> - Vet at 10\r\nTibbles & Co - Vaccination"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), QStringLiteral("<b>Rex</b> - Vet at 10\nTibbles & Co - Vaccination"));

    QFont font(QStringLiteral("Serif"), 17);
    tips.setFont(font);
    QCOMPARE(label->font().pointSize(), 17);

    tips.showAt(QPoint(50, 60));
    QTRY_VERIFY(tips.isVisible());
    // Two lines in the tip's own font.
    QVERIFY(tips.height() >= 2 * QFontMetrics(font).lineSpacing());
}

void TestBars::tipsHide()
{
    CtTips tips;
    tips.showAt(QPoint(50, 60));
    QVERIFY(!tips.isVisible());

    tips.setText(QStringLiteral("Rex - Vet"));
    tips.showAt(QPoint(50, 60));
    QVERIFY(tips.isVisible());
    tips.setText(QString());
    QVERIFY(!tips.isVisible());

    // Like any tool tip, a key press elsewhere takes it away.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    tips.setText(QStringLiteral("Rex - Vet"));
    tips.showAt(QPoint(50, 60));
    QVERIFY(tips.isVisible());
    QTest::keyClick(&other, Qt::Key_A);
    QVERIFY(!tips.isVisible());
}

void TestBars::trayActivation_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("withMenu");
    QTest::addColumn<int>("button"); // 0: none reported
    QTest::addColumn<int>("menuRequests");
    QTest::newRow("primary click") << int(QSystemTrayIcon::Trigger) << false << 1 << 0;
    QTest::newRow("double-click") << int(QSystemTrayIcon::DoubleClick) << false << 0 << 0;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false << 4 << 0;
    QTest::newRow("context click") << int(QSystemTrayIcon::Context) << false << 0 << 1;
    QTest::newRow("context click, menu shown by the tray") << int(QSystemTrayIcon::Context) << true << 0 << 0;
    QTest::newRow("primary click with a menu") << int(QSystemTrayIcon::Trigger) << true << 1 << 0;
}

void TestBars::trayActivation()
{
    QFETCH(int, reason);
    QFETCH(bool, withMenu);
    QFETCH(int, button);
    QFETCH(int, menuRequests);
    CtTray tray;
    CtDropMenu menu(0);
    menu.addEntry(QStringLiteral("Exit"), 0, 0);
    if (withMenu)
        tray.setContextMenu(&menu);
    QSignalSpy buttons(&tray, &CtTray::buttonNotify);
    QSignalSpy requests(&tray, &CtTray::menuRequest);

    auto *icon = tray.findChild<QSystemTrayIcon *>();
    QVERIFY(icon);
    emit icon->activated(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(buttons.size(), button ? 1 : 0);
    if (button)
        QCOMPARE(buttons.at(0).at(0).toInt(), button);
    QCOMPARE(requests.size(), menuRequests);
}

void TestBars::trayWithoutNotificationArea()
{
    // Offscreen there is no notification area: all of it must still just work.
    auto *tray = new CtTray;
    tray->setDisplayMode(1);
    QCOMPARE(tray->displayMode(), 1);
    tray->setToolTip(QStringLiteral("Reminders - Zorbi 2003"));
    QCOMPARE(tray->toolTip(), QStringLiteral("Reminders - Zorbi 2003"));
    tray->show(); // no picture set: a stand-in is used
    QVERIFY(!tray->icon().isNull());
    tray->setIcon(someIcon());
    tray->remove();
    QVERIFY(!tray->isShown());
    {
        CtDropMenu menu(0);
        tray->setContextMenu(&menu);
        QCOMPARE(tray->contextMenu(), &menu);
    }
    QVERIFY(!tray->contextMenu());
    tray->show();
    delete tray;
    CtTray::isAvailable();
}

ZORBI_TEST_MAIN(TestBars)
#include "tst_bars.moc"
