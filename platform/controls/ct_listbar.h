#pragma once
// The side bar of the main window: a caption above a column of picture items,
// each with its caption and a whole-number cargo that the window reads back
// when the item is clicked.
//
// Items are addressed by group and by their index in the group, counted from 1
// in the order added. Only group 1 exists; the group arguments stay so that the
// calls read the way the window is written, and any other group reads as empty.
//
// The window rebuilds the whole bar from its click handler. The current item is
// therefore kept as an index that outlives a rebuild: after remove-all and the
// items added again, the item at the same index is current, and a double-click
// (reported a moment later, once the click's handling is over) finds it.
//
// The items live in a list model of the bar's own, a plain vector. Items
// added are told to the view together, in one insertion, once the adding is
// over (or at once when anything asks the view), so that a rebuild with many
// thousand pets costs the view no work per item; every item has one size in
// each mode, so the view measures one and paints only the items shown.

#include <QIcon>
#include <QString>
#include <QWidget>

class QLabel;
class QListView;
class CtListBarDelegate;
class CtListBarModel;
class CtListBarView;

class CtListBar : public QWidget {
    Q_OBJECT
public:
    explicit CtListBar(QWidget *parent = nullptr);
    ~CtListBar() override;

    QString caption() const;
    void setCaption(const QString &caption);

    // Removes every item; the current index is kept (see above).
    void removeAll();
    // Appends an item, with its cargo, to the group and returns its index; 0
    // for any group but 1.
    int addPictureItem(int group, const QString &caption, const QIcon &picture, int cargo = 0);
    int itemCount(int group) const;

    int itemCargo(int group, int item) const; // 0 for an item that does not exist
    void setItemCargo(int group, int item, int cargo);
    QString itemText(int group, int item) const;
    // The caption as the item shows it: on the lines its item has room for
    // (one with small icons), a name too long ending in "…" ("\n" between lines).
    QString shownText(int group, int item) const;

    // 0 when there is none.
    int currentItem() const;
    int currentGroup() const;
    void setCurrentItem(int item);

    // 0 large icons (32 px, caption below), 1 small icons (16 px, caption beside).
    int iconSize() const { return m_iconSize; }
    void setIconSize(int size);
    // Set together with the icon size; kept as given, the look follows iconSize.
    int iconSize2() const { return m_iconSize2; }
    void setIconSize2(int size) { m_iconSize2 = size; }

    // The view of group 1 (its model holds the items: display text, icon, and
    // the cargo as Qt::UserRole), for tests that click on it. The items added
    // so far are in it.
    QListView *listView() const;

signals:
    // Left button only.
    void itemClick(int group, int item);
    // No arguments: the handler reads currentItem() and currentGroup().
    void itemDblClick();
    // The item under the pointer, which becomes current first.
    void itemRightClick(int group, int item);

private:
    friend class CtListBarView;
    void applyIconSize();
    // Tells the view of the items added since it last heard; the kept current
    // item is selected when it is among them.
    void publish() const;
    void selectRow(int row) const; // 0-based, -1 none; without touching the kept index
    void onCurrentRowChanged(int row);
    void onPressed(int row, Qt::MouseButton button);
    void onReleased(int row, Qt::MouseButton button);
    void onDoubleClicked(int row);

    QLabel *m_caption = nullptr;
    CtListBarModel *m_model = nullptr;
    CtListBarView *m_list = nullptr;
    CtListBarDelegate *m_delegate = nullptr;
    int m_current = 0; // kept across a rebuild
    int m_pressed = 0; // the item a left press went down on
    mutable bool m_updating = false;
    mutable bool m_publishQueued = false;
    bool m_swallowRelease = false;
    int m_iconSize = 0;
    int m_iconSize2 = 0;
};
