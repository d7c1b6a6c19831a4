#pragma once
// The bar along the top of a window: either a row of buttons (a toolbar) or a
// menu bar. Items are laid down once, in order, when the window is built; each
// gets its id as it is added (separators too), and the window keeps that id
// under a name of its own, so the code that shows, hides, checks or renames
// an item names it by the same id as the click that reports it.
//
// In a menu bar, level-1 items are the menu titles and the level-2 items that
// follow a title are its entries. A title with entries opens its menu and
// reports nothing itself; a title without entries is a command of its own.
// Separators never report a click.
//
// The pressed state of a button and the check mark of an entry are one and the
// same, and only code sets them: a click reports the item and leaves its state
// as it was, for the command decides what is pressed.

#include <QIcon>
#include <QString>
#include <QWidget>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

class CtToolBar : public QWidget {
    Q_OBJECT
public:
    enum class Mode { ToolBar, MenuBar };
    enum Level { MenuTitle = 1, MenuEntry = 2 };

    explicit CtToolBar(Mode mode, QWidget *parent = nullptr);
    ~CtToolBar() override;

    Mode mode() const { return m_mode; }

    // Building, in design order; each returns the new item's id. A toolbar
    // ignores the level. Captions keep their "&" mnemonics ("&&" shows one "&").
    int addItem(const QString &caption, const QString &tip = {}, const QIcon &picture = {}, int level = MenuTitle);
    int addSeparator();
    int itemCount() const { return int(m_items.size()); }
    bool isSeparator(int id) const;
    int itemLevel(int id) const; // 0 for an id that does not exist

    // An id outside 1..itemCount() reads as false or "" and is ignored when set.
    bool itemVisible(int id) const;
    void setItemVisible(int id, bool visible);
    bool itemEnabled(int id) const;
    void setItemEnabled(int id, bool enabled);
    // Pressed (a button) and checked (a menu entry) are one state.
    bool itemState(int id) const;
    void setItemState(int id, bool pressed);
    bool itemChecked(int id) const { return itemState(id); }
    void setItemChecked(int id, bool checked) { setItemState(id, checked); }
    // The caption.
    QString itemText(int id) const;
    void setItemText(int id, const QString &caption);
    // Text the window keeps with an item (an address, a folder) to read back
    // when the item is clicked; the bar never shows it.
    QString itemStoredText(int id) const;
    void setItemStoredText(int id, const QString &text);

    // Clicks an item as the user would: nothing happens for a separator, a menu
    // title with entries, or an item the user could not reach (hidden or
    // disabled, itself or its menu).
    void clickItem(int id);

    // The action behind an item (a menu title's is its menu's action).
    QAction *action(int id) const;
    // The bar's own widget: a QToolBar or a QMenuBar.
    QToolBar *toolBar() const { return m_toolBar; }
    QMenuBar *menuBar() const { return m_menuBar; }

signals:
    void itemClick(int id);

private:
    struct Item {
        QAction *action = nullptr;
        int level = MenuTitle;
        bool separator = false;
        bool state = false;
        QString stored;
        QMenu *menu = nullptr; // a menu title with entries
        int title = 0;         // the menu title an entry or separator belongs to
    };

    const Item *item(int id) const;
    Item *item(int id);
    void connectClick(QAction *action, int id);
    void onTriggered(int id);
    QMenu *menuOf(int titleId);
    void placePendingInBar();

    Mode m_mode;
    QToolBar *m_toolBar = nullptr;
    QMenuBar *m_menuBar = nullptr;
    std::vector<Item> m_items;
    int m_currentTitle = 0;           // the last menu title laid down
    std::vector<QAction *> m_pending; // separators after a title that has no entries yet
};
