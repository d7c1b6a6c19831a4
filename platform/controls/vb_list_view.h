#pragma once
// The list view of the main window's lists: items with a key, a text,
// sub-items (the further columns), a tag and two icon indexes, shown as large
// icons (View 0), small icons (1), a list (2) or a report with column headers
// (3). The icon indexes point into the attached image lists and are looked up
// when the items are drawn: the large list in View 0, the small one otherwise;
// 0 is no icon.
//
// Sorting is by the text of one column, without regard to case and in the
// order of the user's language. Once switched on it stays on, so items added
// later take their sorted place.

#include <QPointer>
#include <QStandardItem>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <vector>

class QListView;
class QModelIndex;
class QStackedWidget;
class QTreeView;
class VbImageList;
class VbListModel;
class VbListSortModel;

// What one item is made of, for filling a list at once.
struct VbListRow {
    QString key, text;
    int icon = 0, smallIcon = 0;
    QStringList subItems;
    QVariant tag;
};

// One item; owned by its list view and gone when the list is cleared.
class VbListItem : public QStandardItem {
public:
    enum { Type = QStandardItem::UserType + 1 };

    VbListItem(const QString &key, const QString &text, int icon, int smallIcon);
    int type() const override { return Type; }

    QString Key() const;
    void setKey(const QString &key);
    QVariant Tag() const;
    void setTag(const QVariant &tag);
    // Indexes into the list view's large and small image lists; 0 = none.
    int Icon() const;
    void setIcon(int index);
    int SmallIcon() const;
    void setSmallIcon(int index);
    // The text of column `column` + 1 (SubItems(1) is the second column); ""
    // when it was never set.
    QString SubItems(int column) const;
    void setSubItems(int column, const QString &text);
};

class VbListView : public QWidget {
    Q_OBJECT
public:
    explicit VbListView(QWidget *parent = nullptr);
    ~VbListView() override;

    // 0 large icons, 1 small icons, 2 list, 3 report. Another value leaves the
    // view as it is. Items and the selected item stay when the view changes.
    int View() const { return m_view; }
    void setView(int view);

    // The report view's columns; the last one takes the rest of the width.
    void setColumnHeaders(const QStringList &labels);
    int ColumnCount() const;
    // Column counted from 0, width in pixels.
    void setColumnWidth(int column, int width);

    void clearItems();
    // Adds an item at the end (or at its sorted place while sorting is on).
    VbListItem *addItem(const QString &key, const QString &text, int icon = 0, int smallIcon = 0);
    // The same with the texts of the further columns and the tag, all set
    // before the views hear of the row: a long list fills much faster so.
    VbListItem *addItem(const QString &key, const QString &text, int icon, int smallIcon, const QStringList &subItems,
                        const QVariant &tag);
    // Replaces every item with `rows`, in their order (or sorted while sorting
    // is on), as clearItems() and addItem() for each would, but the views
    // hear of them once: tens of thousands come in a blink so. The selection
    // goes with the old items.
    void setItems(const std::vector<VbListRow> &rows);
    int ItemCount() const;
    // Null when no item is selected.
    VbListItem *SelectedItem() const;
    // Selects `item` (nullptr clears the selection), as a click would.
    void setSelectedItem(VbListItem *item);
    // The item with `key`, or nullptr.
    VbListItem *ListItem(const QString &key) const;
    // Selects the item with `key`; false when there is none.
    bool selectKey(const QString &key);

    QVariant Tag() const { return m_tag; }
    void setTag(const QVariant &tag) { m_tag = tag; }

    // The image lists the icon indexes point into; null detaches. The list
    // view does not own them.
    VbImageList *Icons() const;
    void setIcons(VbImageList *list);
    VbImageList *SmallIcons() const;
    void setSmallIcons(VbImageList *list);

    bool Sorted() const { return m_sorted; }
    void setSorted(bool sorted);
    // The column sorted by, counted from 0.
    int SortKey() const { return m_sortKey; }
    void setSortKey(int column);
    // 0 ascending, 1 descending.
    int SortOrder() const { return m_sortOrder; }
    void setSortOrder(int order);

    // The sort arrow of a column header (column from 0): image 0 ascending,
    // 1 descending. Showing it on a column takes it from any other; removing
    // it from a column that does not show it changes nothing.
    void setColumnHeaderImage(int column, int image, bool show);

signals:
    // A click on a column header, counted from 1.
    void columnClick(int header);
    // An item was clicked, or made current with the keyboard.
    void itemClick(VbListItem *item);
    // A double-click on an item; none on empty space.
    void itemDblClick();
    // A mouse button went down: 1 left, 2 right, 4 middle, with the item
    // under the pointer (null on empty space). A right press first selects
    // that item, or clears the selection on empty space, so SelectedItem() is
    // what the user pointed at.
    void mouseDown(int button, VbListItem *item);

private:
    template <class> friend class VbInnerView;
    friend class VbListSortModel;

    VbListItem *appendRow(const VbListRow &row);
    VbListItem *itemAt(const QModelIndex &viewIndex) const;
    QVariant pictureFor(const QModelIndex &sourceIndex) const;
    void applyView();
    void applySort();
    void applyArrow();
    void attach(QPointer<VbImageList> &slot, VbImageList *list);
    void imagesChanged();
    QSize largeSize() const;
    QSize smallSize() const;

    void viewPressed(int button, const QModelIndex &index);
    void viewClicked(const QModelIndex &index);
    void viewDoubleClicked();
    // An item was drawn in the icon view; after the drawing its image list
    // hears which pictures are on screen.
    void itemDrawn(int row);
    void wantDrawn();

    VbListModel *m_model;
    VbListSortModel *m_proxy;
    QStackedWidget *m_stack;
    QListView *m_iconView;
    QTreeView *m_reportView;

    int m_view = 0;
    int m_headerCount = 0;
    QVariant m_tag;
    QPointer<VbImageList> m_icons;
    QPointer<VbImageList> m_smallIcons;
    QSize m_appliedIconSize;
    bool m_sorted = false;
    int m_sortKey = 0;
    int m_sortOrder = 0;
    int m_arrowColumn = -1;
    int m_arrowImage = 0;
    std::vector<int> m_drawnRows;
};
