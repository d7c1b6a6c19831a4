// The icon store, image lists and the list view of the main window's lists.

#include "test_support.h"

#include "platform/controls/ct_image.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMutex>
#include <QThread>
#include <QListView>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTreeView>
#include <QtTest>

namespace {

QStringList shownTexts(VbListView &view, int column = 0)
{
    const QAbstractItemModel *m = view.findChild<QTreeView *>("reportView")->model();
    QStringList texts;
    for (int r = 0; r < m->rowCount(); ++r)
        texts << m->index(r, column).data().toString();
    return texts;
}

QAbstractItemView *visibleView(VbListView &view)
{
    return qobject_cast<QAbstractItemView *>(view.findChild<QStackedWidget *>()->currentWidget());
}

// The centre of the row showing `text` in the view shown now.
QPoint pointOf(VbListView &view, const QString &text)
{
    QAbstractItemView *v = visibleView(view);
    const QModelIndexList hits = v->model()->match(v->model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly);
    return hits.isEmpty() ? QPoint(-1, -1) : v->visualRect(hits.first()).center();
}

QPoint emptyPoint(VbListView &view)
{
    QWidget *vp = visibleView(view)->viewport();
    return QPoint(vp->width() - 4, vp->height() - 4);
}

qint64 iconKey(const QVariant &decoration) { return decoration.value<QIcon>().cacheKey(); }

} // namespace

class TestListViewIcons : public QObject {
    Q_OBJECT

private slots:
    // --- the icon store
    void storeHasPicture_data();
    void storeHasPicture();
    void storeEveryIndexTheProgramUses();
    void storePictureAndIcon();

    // --- image lists
    void imageListIndexesAndKeys();
    void imageListKeepsPicturesAtItsSize();
    // Pictures of files, read lazily into a bounded memory cache.
    void filePicturesShowWhenScrolledTo();
    void refillAndCloseWhileReading();

    // --- the list view
    void itemsKeysTagsAndSubItems();
    void viewChangeKeepsItemsAndSelection();
    void viewChangeShowsSelectionFarDown();
    void iconsComeFromTheListOfTheView();
    void sorting_data();
    void sorting();
    void sortingStaysOnAfterRefill();
    void fillAtOnceReplacesItems();
    void headerArrowOnOneColumnOnly();
    void headerClickReportsColumnAndLeavesArrow();
    void rightPressSelectsItemUnderPointer_data();
    void rightPressSelectsItemUnderPointer();
    void clicksAndDoubleClicks();
    void longNamesStayInTheirCells();
    void picturesOfTheViews();
};

// ---------------------------------------------------------------------------

void TestListViewIcons::storeHasPicture_data()
{
    QTest::addColumn<int>("store");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("has");
    const int main = int(CtImage::Store::Main), tray = int(CtImage::Store::Tray);
    QTest::newRow("program icon") << main << 0 << 1 << true;
    QTest::newRow("index 0") << main << 0 << 0 << false;
    QTest::newRow("negative index") << main << 0 << -1 << false;
    QTest::newRow("unused index 4") << main << 0 << 4 << false;
    QTest::newRow("past the last") << main << 0 << 40 << false;
    QTest::newRow("no species 0") << main << 1 << 0 << false;
    QTest::newRow("species past Other") << main << 1 << 11 << false;
    QTest::newRow("last printout icon") << main << 2 << 24 << true;
    QTest::newRow("printout 25") << main << 2 << 25 << false;
    QTest::newRow("no group 3") << main << 3 << 1 << false;
    QTest::newRow("negative group") << main << -1 << 1 << false;
    QTest::newRow("tray open") << tray << 0 << 1 << true;
    QTest::newRow("tray unused 2") << tray << 0 << 2 << false;
    QTest::newRow("tray close menu") << tray << 0 << 6 << true;
    QTest::newRow("tray has no species") << tray << 1 << 1 << false;
}

void TestListViewIcons::storeHasPicture()
{
    QFETCH(int, store);
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(bool, has);
    const CtImage images(static_cast<CtImage::Store>(store));
    QCOMPARE(images.hasPicture(group, index), has);
    QCOMPARE(images.picture(group, index).isNull(), !has);
    QCOMPARE(images.icon(group, index).isNull(), !has);
}

void TestListViewIcons::storeEveryIndexTheProgramUses()
{
    const CtImage images;
    QList<int> general{1, 2, 3};
    for (int i = 5; i <= 39; ++i)
        if (i != 29)
            general << i;
    for (int i : general)
        QVERIFY2(images.hasPicture(0, i), qPrintable(QString("general icon %1").arg(i)));
    // One per species id of the system file, 1 Dog to 10 Other.
    for (int species = 1; species <= 10; ++species)
        QVERIFY2(images.hasPicture(1, species), qPrintable(QString("species %1").arg(species)));
    for (int i = 1; i <= 24; ++i)
        QVERIFY2(images.hasPicture(2, i), qPrintable(QString("printout icon %1").arg(i)));
    const CtImage tray(CtImage::Store::Tray);
    for (int i : {1, 3, 4, 5, 6})
        QVERIFY2(tray.hasPicture(0, i), qPrintable(QString("tray icon %1").arg(i)));
    // Each species has its own picture.
    QSet<QByteArray> seen;
    for (int species = 1; species <= 9; ++species) {
        const QImage image = images.picture(1, species).toImage();
        seen.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    }
    QCOMPARE(seen.size(), 9);
}

void TestListViewIcons::storePictureAndIcon()
{
    const CtImage images;
    QCOMPARE(images.picture(1, 2).size(), QSize(32, 32));
    const QIcon icon = images.icon(0, 18);
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    // Two stores side by side see the same pictures.
    QCOMPARE(CtImage().picture(0, 1).toImage(), images.picture(0, 1).toImage());
}

// ---------------------------------------------------------------------------

void TestListViewIcons::imageListIndexesAndKeys()
{
    const CtImage store;
    VbImageList list;
    QSignalSpy changed(&list, &VbImageList::changed);
    QCOMPARE(list.Count(), 0);
    QVERIFY(list.picture(1).isNull());

    const QIcon a = store.icon(0, 1), b = store.icon(0, 2), c = store.icon(0, 3);
    QCOMPARE(list.add(a, "close"), 1);
    QCOMPARE(list.add(b), 2);
    // Inserting at 1 moves the others on, keys with them.
    QCOMPARE(list.insert(1, c, "print"), 1);
    QCOMPARE(list.Count(), 3);
    QCOMPARE(list.picture(1).cacheKey(), c.cacheKey());
    QCOMPARE(list.picture(2).cacheKey(), a.cacheKey());
    QCOMPARE(list.picture(3).cacheKey(), b.cacheKey());
    QCOMPARE(list.indexOf("CLOSE"), 2);
    QCOMPARE(list.picture("Print").cacheKey(), c.cacheKey());
    QCOMPARE(list.indexOf("help"), 0);
    QVERIFY(list.picture("help").isNull());
    QVERIFY(list.picture(0).isNull());
    QVERIFY(list.picture(4).isNull());

    // A missing picture still takes its place, so the next index stays right.
    QCOMPARE(list.add(store.picture(0, 99)), 4);
    QCOMPARE(list.Count(), 4);
    QVERIFY(list.picture(4).isNull());
    QCOMPARE(list.add(a), 5);

    // An index out of range appends.
    QCOMPARE(list.insert(9, b), 6);
    QCOMPARE(changed.count(), 6);

    list.clear();
    QCOMPARE(list.Count(), 0);
    QCOMPARE(list.indexOf("close"), 0);
    QCOMPARE(list.add(a), 1);
}

void TestListViewIcons::imageListKeepsPicturesAtItsSize()
{
    VbImageList thumbs;
    thumbs.setImageSize(QSize(128, 128));
    QPixmap photo(1600, 800);
    photo.fill(Qt::red);
    thumbs.add(photo);
    const QList<QSize> sizes = thumbs.picture(1).availableSizes();
    QCOMPARE(sizes, QList<QSize>{QSize(128, 64)});

    // A small list keeps the store's own 16-pixel drawing, not a scaled copy.
    VbImageList small;
    small.setImageSize(QSize(16, 16));
    small.add(CtImage().icon(0, 18));
    const QImage kept = small.picture(1).pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = QImage(":/icons/g0/18-16.png").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(kept, drawn);
}

// A picture "file" of the tests below: its number gives its colour; "bad"
// gives no picture. Each read is counted by number.
struct CountingReader {
    QMutex mutex;
    QHash<QString, int> reads;
    int sleepMs = 0;

    static QColor colourOf(int n) { return QColor(n % 256, (n / 256) * 40, 200); }
    VbImageList::FileReader reader()
    {
        return [this](const QString &path) {
            {
                QMutexLocker lock(&mutex);
                ++reads[path];
            }
            if (sleepMs)
                QThread::msleep(sleepMs);
            if (path.startsWith("bad"))
                return QImage();
            QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
            image.fill(colourOf(path.toInt()));
            return image;
        };
    }
    int count(const QString &path)
    {
        QMutexLocker lock(&mutex);
        return reads.value(path);
    }
    int total()
    {
        QMutexLocker lock(&mutex);
        int n = 0;
        for (int r : std::as_const(reads))
            n += r;
        return n;
    }
};

QColor centreOf(const QIcon &icon)
{
    const QImage image = icon.pixmap(128, 128).toImage();
    return image.isNull() ? QColor() : QColor(image.pixel(64, 64));
}

void TestListViewIcons::filePicturesShowWhenScrolledTo()
{
    CountingReader files;
    VbImageList list;
    list.setImageSize(QSize(128, 128));
    list.setFileReader(files.reader());
    list.setCacheSize(24);
    QPixmap placeholderPixmap(128, 128);
    placeholderPixmap.fill(Qt::black);
    const QIcon placeholder(placeholderPixmap);
    VbListView view;
    view.resize(400, 300);
    constexpr int kCount = 300;
    for (int n = 1; n <= kCount; ++n) {
        // Every 7th file gives no picture.
        const int index = list.addFile(n % 7 == 0 ? "bad" + QString::number(n) : QString::number(n), placeholder);
        QCOMPARE(index, n);
        view.addItem({}, "Picture " + QString::number(n), index);
    }
    // The items are there at once, with the placeholder.
    QCOMPARE(centreOf(list.picture(1)), QColor(Qt::black));
    view.setIcons(&list);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    auto *icons = view.findChild<QListView *>("iconView");
    const QAbstractItemModel *model = icons->model();
    for (int row = 0; row < kCount; row += 5) {
        icons->scrollTo(model->index(row, 0));
        const int n = row + 1;
        if (n % 7 == 0)
            continue;
        QTRY_COMPARE(centreOf(list.picture(n)), CountingReader::colourOf(n));
        QTRY_COMPARE(list.wantedUnread(), 0);
    }
    QTRY_VERIFY(!list.isReading());
    // Every file was read, the unreadable once and for good.
    for (int n = 1; n <= kCount; ++n) {
        const QString path = n % 7 == 0 ? "bad" + QString::number(n) : QString::number(n);
        QVERIFY2(files.count(path) >= 1, qPrintable(path));
        if (n % 7 == 0) {
            QCOMPARE(files.count(path), 1);
            QCOMPARE(centreOf(list.picture(n)), QColor(Qt::black));
        }
    }
    // Memory holds no more than the cache's share.
    int inMemory = 0;
    for (int n = 1; n <= kCount; ++n)
        inMemory += centreOf(list.picture(n)) != QColor(Qt::black) ? 1 : 0;
    QVERIFY2(inMemory <= list.cacheSize(), qPrintable(QString::number(inMemory)));

    // Back at the top the first pictures, long dropped from memory, are read again.
    icons->scrollTo(model->index(0, 0));
    QTRY_COMPARE(centreOf(list.picture(1)), CountingReader::colourOf(1));
    QVERIFY(files.count("1") >= 2);
}

void TestListViewIcons::refillAndCloseWhileReading()
{
    CountingReader files;
    files.sleepMs = 5;
    auto list = std::make_unique<VbImageList>();
    list->setImageSize(QSize(128, 128));
    list->setFileReader(files.reader());
    auto view = std::make_unique<VbListView>();
    view->resize(400, 300);
    const QIcon placeholder;
    auto fill = [&](int offset) {
        view->clearItems();
        list->clear();
        for (int n = 1; n <= 400; ++n)
            view->addItem({}, QString::number(n), list->addFile(QString::number(n + offset), placeholder));
    };
    fill(0);
    view->setIcons(list.get());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QTRY_VERIFY(files.total() > 0);
    // A refill while the first fill is read: no picture of the old fill shows.
    fill(1000);
    QTRY_VERIFY(!list->isReading());
    for (int n = 1; n <= 40; ++n)
        QCOMPARE(centreOf(list->picture(n)), CountingReader::colourOf(n + 1000));

    // Gone while reading: no crash, and no read starts afterwards.
    fill(2000);
    QTRY_VERIFY(files.count("2001") > 0);
    QVERIFY(list->isReading());
    view.reset();
    list.reset();
    const int total = files.total();
    QTest::qWait(50);
    QCOMPARE(files.total(), total);
}

// ---------------------------------------------------------------------------

void TestListViewIcons::itemsKeysTagsAndSubItems()
{
    VbListView view;
    view.setColumnHeaders({"Name", "Primary Phone", "E-Mail"});
    QCOMPARE(view.ColumnCount(), 3);
    QCOMPARE(view.SelectedItem(), nullptr);

    VbListItem *rex = view.addItem("r4", "Rex", 2, 1);
    rex->setSubItems(1, "Home 555-1234");
    rex->setSubItems(2, "rex@example.com");
    rex->setTag(20);
    VbListItem *plain = view.addItem({}, "Plain");
    // More sub-items than headers are kept too.
    plain->setSubItems(4, "extra");
    view.setTag(17);

    QCOMPARE(view.ItemCount(), 2);
    QCOMPARE(rex->Key(), QString("r4"));
    QCOMPARE(rex->text(), QString("Rex"));
    QCOMPARE(rex->SubItems(1), QString("Home 555-1234"));
    QCOMPARE(rex->SubItems(2), QString("rex@example.com"));
    QCOMPARE(rex->SubItems(3), QString());
    QCOMPARE(rex->Tag().toInt(), 20);
    QCOMPARE(rex->Icon(), 2);
    QCOMPARE(rex->SmallIcon(), 1);
    QCOMPARE(plain->Key(), QString());
    QCOMPARE(plain->Icon(), 0);
    QVERIFY(!plain->Tag().isValid());
    QCOMPARE(plain->SubItems(4), QString("extra"));
    QCOMPARE(view.Tag().toInt(), 17);
    QCOMPARE(shownTexts(view, 2), (QStringList{"rex@example.com", ""}));
    // No item is selected until the user (or a caller) selects one.
    QCOMPARE(view.SelectedItem(), nullptr);

    view.clearItems();
    QCOMPARE(view.ItemCount(), 0);
    QCOMPARE(view.SelectedItem(), nullptr);
    QCOMPARE(view.ColumnCount(), 3);
    QCOMPARE(view.Tag().toInt(), 17);
}

void TestListViewIcons::viewChangeKeepsItemsAndSelection()
{
    VbListView view;
    view.resize(500, 300);
    view.setColumnHeaders({"Name", "Description"});
    for (const char *name : {"Alpha", "Beta", "Gamma"})
        view.addItem({}, name);
    view.setView(3);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTest::mouseClick(visibleView(view)->viewport(), Qt::LeftButton, {}, pointOf(view, "Beta"));
    QVERIFY(view.SelectedItem());
    VbListItem *beta = view.SelectedItem();
    QCOMPARE(beta->text(), QString("Beta"));

    for (int mode : {0, 1, 2, 3, 0}) {
        view.setView(mode);
        QCOMPARE(view.View(), mode);
        QCOMPARE(view.ItemCount(), 3);
        QCOMPARE(view.SelectedItem(), beta);
        QAbstractItemView *shown = visibleView(view);
        QCOMPARE(shown->objectName(), QString(mode == 3 ? "reportView" : "iconView"));
        if (auto *list = qobject_cast<QListView *>(shown)) {
            QCOMPARE(list->viewMode(), mode == 0 ? QListView::IconMode : QListView::ListMode);
            QCOMPARE(list->flow(), mode == 2 ? QListView::TopToBottom : QListView::LeftToRight);
            QCOMPARE(list->movement(), QListView::Static);
        }
    }
    // A value that is no view leaves the view as it is.
    view.setView(7);
    QCOMPARE(view.View(), 0);
    view.setView(-1);
    QCOMPARE(view.View(), 0);
}

// A long list is laid out a part at a time; the selected item is in sight in
// every view all the same, however far down it is.
void TestListViewIcons::viewChangeShowsSelectionFarDown()
{
    VbListView view;
    view.resize(500, 300);
    view.setColumnHeaders({"Name"});
    std::vector<VbListRow> rows;
    for (int i = 0; i < 6000; ++i)
        rows.push_back({QString::number(i), QStringLiteral("Item %1").arg(i, 4, 10, QLatin1Char('0')), 0, 0, {}, {}});
    view.setItems(rows);
    view.setView(3);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.selectKey("5900"));
    for (int mode : {0, 1, 2, 3}) {
        view.setView(mode);
        QCoreApplication::processEvents();
        QAbstractItemView *shown = visibleView(view);
        const QRect rect = shown->visualRect(shown->currentIndex());
        QVERIFY2(shown->viewport()->rect().intersects(rect), qPrintable(QString::number(mode)));
    }
}

void TestListViewIcons::iconsComeFromTheListOfTheView()
{
    const CtImage store;
    VbImageList large, small;
    large.add(store.icon(0, 3));
    large.add(store.icon(0, 8));
    small.add(store.icon(0, 2));
    VbListView view;
    view.setIcons(&large);
    view.setSmallIcons(&small);
    view.addItem("edit", "Edit Details", 2, 1);
    view.addItem("none", "No Icons", 0, 0);
    view.addItem("far", "Out Of Range", 9, 5);
    const QAbstractItemModel *m = visibleView(view)->model();
    auto decoration = [&](int row) { return m->index(row, 0).data(Qt::DecorationRole); };

    QCOMPARE(view.View(), 0);
    QCOMPARE(iconKey(decoration(0)), large.picture(2).cacheKey());
    QVERIFY(!decoration(1).isValid());
    QVERIFY(!decoration(2).isValid());
    view.setView(3);
    QCOMPARE(iconKey(decoration(0)), small.picture(1).cacheKey());
    view.setView(1);
    QCOMPARE(iconKey(decoration(0)), small.picture(1).cacheKey());
    QCOMPARE(visibleView(view)->iconSize(), QSize(16, 16));

    // Detached lists draw nothing; the gallery sets a thumbnail size before
    // attaching again, and the large icons follow it.
    view.setView(0);
    view.setIcons(nullptr);
    QVERIFY(!decoration(0).isValid());
    large.clear();
    large.setImageSize(QSize(128, 128));
    large.add(store.icon(0, 26));
    large.add(store.icon(0, 26));
    view.setIcons(&large);
    QVERIFY(decoration(0).isValid());
    QCOMPARE(visibleView(view)->iconSize(), QSize(128, 128));
}

void TestListViewIcons::sorting_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("mails");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("expected"); // names, top to bottom
    const QStringList names{"Zed", "alfie", "Bella", "émile", "Ed"};
    const QStringList mails{"b@x", "Z@x", "a@x", "c@x", "B@x"};
    QTest::newRow("name ascending, case-blind, accents in place")
        << names << mails << 0 << 0 << QStringList{"alfie", "Bella", "Ed", "émile", "Zed"};
    QTest::newRow("name descending") << names << mails << 0 << 1 << QStringList{"Zed", "émile", "Ed", "Bella", "alfie"};
    // "b@x" and "B@x" are equal without case and keep the order they came in.
    QTest::newRow("second column ascending")
        << names << mails << 1 << 0 << QStringList{"Bella", "Zed", "Ed", "émile", "alfie"};
    QTest::newRow("second column descending")
        << names << mails << 1 << 1 << QStringList{"alfie", "émile", "Zed", "Ed", "Bella"};
    QTest::newRow("empty texts first") << QStringList{"b", "", "a"} << QStringList{"", "", ""} << 0 << 0
                                       << QStringList{"", "a", "b"};
}

void TestListViewIcons::sorting()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, mails);
    QFETCH(int, key);
    QFETCH(int, order);
    QFETCH(QStringList, expected);
    VbListView view;
    view.setColumnHeaders({"Name", "E-Mail"});
    for (int i = 0; i < names.size(); ++i)
        view.addItem({}, names[i])->setSubItems(1, mails[i]);
    QCOMPARE(shownTexts(view), names);

    view.setSortKey(key);
    view.setSortOrder(order);
    view.setSorted(true);
    QCOMPARE(view.SortKey(), key);
    QCOMPARE(view.SortOrder(), order);
    QVERIFY(view.Sorted());
    QCOMPARE(shownTexts(view), expected);
}

void TestListViewIcons::sortingStaysOnAfterRefill()
{
    VbListView view;
    view.setColumnHeaders({"Name", "Description"});
    view.addItem({}, "b");
    view.setSortKey(0);
    view.setSortOrder(1);
    view.setSorted(true);

    // The callers clear and refill in their own order; the list stays sorted.
    view.clearItems();
    for (const char *name : {"alfie", "Zed", "Milo"})
        view.addItem({}, name);
    QCOMPARE(shownTexts(view), (QStringList{"Zed", "Milo", "alfie"}));
    // A changed direction re-sorts what is there.
    view.setSortOrder(0);
    QCOMPARE(shownTexts(view), (QStringList{"alfie", "Milo", "Zed"}));
    // A sub-item set after the item was added moves it when it is the key.
    view.setSortKey(1);
    view.clearItems();
    view.addItem({}, "first")->setSubItems(1, "z");
    view.addItem({}, "second")->setSubItems(1, "a");
    QCOMPARE(shownTexts(view), (QStringList{"second", "first"}));
}

// The long lists fill in one go; the outcome is that of clearing and adding
// each, with the widths, the sort and the arrow the user set kept.
void TestListViewIcons::fillAtOnceReplacesItems()
{
    VbListView view;
    view.setColumnHeaders({"Title", "Pet", "Date"});
    view.setView(3);
    view.resize(600, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setColumnWidth(0, 170);
    view.setColumnWidth(1, 90);
    view.setColumnHeaderImage(1, 1, true);
    view.addItem("old", "Old");
    view.selectKey("old");
    QVERIFY(view.SelectedItem());
    view.setSortKey(1);
    view.setSortOrder(1);
    view.setSorted(true);

    view.setItems({{"a", "Alpha", 3, 1, {"Bella", "2024-01-02"}, 11},
                   {"b", "Beta", 4, 1, {"Zorro", "2024-01-03", "", "beyond the headers"}, 12},
                   {"c", "", 0, 0, {}, {}}});
    QCOMPARE(view.ItemCount(), 3);
    QCOMPARE(view.SelectedItem(), nullptr);
    QCOMPARE(view.ListItem("old"), nullptr);
    QCOMPARE(shownTexts(view), (QStringList{"Beta", "Alpha", ""}));
    VbListItem *beta = view.ListItem("b");
    QVERIFY(beta);
    QCOMPARE(beta->Tag().toInt(), 12);
    QCOMPARE(beta->Icon(), 4);
    QCOMPARE(beta->SubItems(2), QString("2024-01-03"));
    QCOMPARE(beta->SubItems(4), QString("beyond the headers"));
    QCOMPARE(view.ColumnCount(), 5);
    QVERIFY(!view.ListItem("c")->Tag().isValid());
    auto *report = view.findChild<QTreeView *>("reportView");
    QCOMPARE(report->columnWidth(0), 170);
    QCOMPARE(report->columnWidth(1), 90);
    QCOMPARE(report->header()->sortIndicatorSection(), 1);
    QCOMPARE(report->header()->sortIndicatorOrder(), Qt::DescendingOrder);

    // The items are as good as added ones: selectable, and cleared as those.
    QVERIFY(view.selectKey("a"));
    QCOMPARE(view.SelectedItem()->text(), QString("Alpha"));
    view.setItems({{"d", "Delta", 0, 0, {"Max"}, {}}});
    QCOMPARE(view.ColumnCount(), 3);
    QCOMPARE(shownTexts(view), QStringList{"Delta"});
    QCOMPARE(view.SelectedItem(), nullptr);
    view.clearItems();
    QCOMPARE(view.ItemCount(), 0);
}

void TestListViewIcons::headerArrowOnOneColumnOnly()
{
    VbListView view;
    // An arrow set before the columns exist shows once they do.
    view.setColumnHeaderImage(0, 0, true);
    view.setColumnHeaders({"Title", "Pet", "Category", "Date", "Caption"});
    QHeaderView *header = view.findChild<QTreeView *>("reportView")->header();
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

    // The sorting rule: arrow on the sort column, removed from every other.
    for (int c = 0; c < 5; ++c)
        view.setColumnHeaderImage(c, 1, c == 3);
    QCOMPARE(header->sortIndicatorSection(), 3);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QVERIFY(header->isSortIndicatorShown());

    // Showing it elsewhere moves it; removing it where it is not shown does not.
    view.setColumnHeaderImage(1, 0, true);
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    view.setColumnHeaderImage(4, 0, false);
    QCOMPARE(header->sortIndicatorSection(), 1);
    view.setColumnHeaderImage(1, 0, false);
    QCOMPARE(header->sortIndicatorSection(), -1);
}

void TestListViewIcons::headerClickReportsColumnAndLeavesArrow()
{
    VbListView view;
    view.resize(500, 200);
    view.setView(3);
    view.setColumnHeaders({"Name", "Primary Phone", "E-Mail"});
    view.setColumnHeaderImage(0, 0, true);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QHeaderView *header = view.findChild<QTreeView *>("reportView")->header();
    QSignalSpy clicks(&view, &VbListView::columnClick);

    const QPoint onEMail(header->sectionViewportPosition(2) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onEMail);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 3);
    // Nobody moved the arrow, so it stays where the owner put it.
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

void TestListViewIcons::rightPressSelectsItemUnderPointer_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("large icons") << 0;
    QTest::newRow("report") << 3;
}

void TestListViewIcons::rightPressSelectsItemUnderPointer()
{
    QFETCH(int, mode);
    VbListView view;
    view.resize(600, 400);
    view.setColumnHeaders({"Name", "E-Mail"});
    view.setView(mode);
    VbListItem *ann = view.addItem({}, "Ann");
    VbListItem *bob = view.addItem({}, "Bob");
    ann->setTag(1);
    bob->setTag(2);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QWidget *viewport = visibleView(view)->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, pointOf(view, "Ann"));
    QCOMPARE(view.SelectedItem(), ann);

    // What the handler sees when the right button goes down.
    QList<QPair<int, VbListItem *>> pressed;
    QList<VbListItem *> selectedThen;
    connect(&view, &VbListView::mouseDown, &view, [&](int button, VbListItem *item) {
        pressed.append({button, item});
        selectedThen.append(view.SelectedItem());
    });
    QSignalSpy clicks(&view, &VbListView::itemClick);

    QTest::mouseClick(viewport, Qt::RightButton, {}, pointOf(view, "Bob"));
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(pressed.at(0).first, 2);
    QCOMPARE(pressed.at(0).second, bob);
    QCOMPARE(selectedThen.at(0), bob);
    QCOMPARE(view.SelectedItem()->Tag().toInt(), 2);
    // A right click is no item click.
    QCOMPARE(clicks.count(), 0);

    // On empty space no item is reported and none stays selected.
    QTest::mouseClick(viewport, Qt::RightButton, {}, emptyPoint(view));
    QCOMPARE(pressed.size(), 2);
    QCOMPARE(pressed.at(1).first, 2);
    QCOMPARE(pressed.at(1).second, nullptr);
    QCOMPARE(selectedThen.at(1), nullptr);
    QCOMPARE(view.SelectedItem(), nullptr);

    // The left button reports 1 with its item.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, pointOf(view, "Ann"));
    QCOMPARE(pressed.size(), 3);
    QCOMPARE(pressed.at(2).first, 1);
    QCOMPARE(pressed.at(2).second, ann);
}

void TestListViewIcons::clicksAndDoubleClicks()
{
    VbListView view;
    view.resize(400, 300);
    view.setColumnHeaders({"Name", "Description"});
    view.setView(3);
    VbListItem *first = view.addItem("edit", "Edit Details");
    VbListItem *second = view.addItem("vaccine", "Update Vaccinations");
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QAbstractItemView *shown = visibleView(view);
    QSignalSpy clicks(&view, &VbListView::itemClick);
    QSignalSpy doubles(&view, &VbListView::itemDblClick);

    QTest::mouseDClick(shown->viewport(), Qt::LeftButton, {}, emptyPoint(view));
    QCOMPARE(doubles.count(), 0);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(view.SelectedItem(), nullptr);

    QTest::mouseClick(shown->viewport(), Qt::LeftButton, {}, pointOf(view, "Edit Details"));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).value<VbListItem *>(), first);
    QTest::mouseDClick(shown->viewport(), Qt::LeftButton, {}, pointOf(view, "Edit Details"));
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(view.SelectedItem(), first);
    // The list is for choosing, never for editing the texts.
    QCOMPARE(first->text(), QString("Edit Details"));
    QVERIFY(!shown->findChild<QLineEdit *>());

    // Moving with the keyboard reports the new item as a click.
    shown->setFocus();
    QTest::keyClick(shown, Qt::Key_Down);
    QCOMPARE(view.SelectedItem(), second);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(1).at(0).value<VbListItem *>(), second);
}

void TestListViewIcons::longNamesStayInTheirCells()
{
    // Medium icons: rows of equal cells. A name longer than its cell ends in
    // "..." within it, short of the next item's icon; a short one shows whole.
    VbListView view;
    view.resize(700, 200);
    const QString longName = "Bartholomew Featherstonehaugh-Smythe of Little Snoring";
    for (const QString &name : {longName, QString("Åström"), QString("Bella")})
        view.addItem({}, name);
    view.setView(1);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto *list = qobject_cast<QListView *>(visibleView(view));
    QVERIFY(list);
    const QAbstractItemModel *m = list->model();
    const QRect first = list->visualRect(m->index(0, 0));
    const QRect second = list->visualRect(m->index(1, 0));
    QCOMPARE(first.top(), second.top()); // side by side
    QVERIFY2(first.right() < second.left(),
             qPrintable(
                 QString("%1 runs to %2, the next starts at %3").arg(longName).arg(first.right()).arg(second.left())));
    QVERIFY(first.width() <= list->gridSize().width());
    const QRect third = list->visualRect(m->index(2, 0));
    QVERIFY(third.width() >= list->fontMetrics().horizontalAdvance("Bella"));
    view.grab().save(QCoreApplication::applicationDirPath() + "/listview_long_names.png");
}

void TestListViewIcons::picturesOfTheViews()
{
    // Pictures to look at, one per view, as a person would see them.
    const CtImage store;
    VbImageList large, small;
    large.setImageSize(QSize(32, 32));
    small.setImageSize(QSize(16, 16));
    VbListView view;
    view.resize(520, 260);
    view.setColumnHeaders({"Name", "Description"});
    view.setIcons(&large);
    view.setSmallIcons(&small);
    const QStringList names{"Pet Sitter Instructions", "Address Book Listing", "Publish Zorbi", "Photo Album",
                            "Health Statement"};
    const QList<int> printouts{1, 2, 9, 12, 13};
    const QList<int> smallIcons{1, 15, 5, 21, 23};
    for (int i = 0; i < names.size(); ++i) {
        const int l = large.add(store.icon(2, smallIcons[i] + 1));
        const int s = small.add(store.icon(2, smallIcons[i]));
        view.addItem("r" + QString::number(printouts[i]), names[i], l, s)->setSubItems(1, "Description of " + names[i]);
    }
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QString dir = QCoreApplication::applicationDirPath();
    QList<QImage> shots;
    for (int mode = 0; mode <= 3; ++mode) {
        view.setView(mode);
        QCoreApplication::processEvents();
        const QImage shot = view.grab().toImage();
        QVERIFY(shot.save(dir + QString("/listview_view%1.png").arg(mode)));
        // Each mode draws the items its own way: a mode that changed nothing on
        // screen would look like the one before it.
        for (int before = 0; before < shots.size(); ++before)
            QVERIFY2(shot != shots[before], qPrintable(QString("view %1 looks like view %2").arg(mode).arg(before)));
        shots << shot;
    }
}

ZORBI_TEST_MAIN(TestListViewIcons)
#include "tst_listview_icons.moc"
