#pragma once
// A pop-up menu whose entries are numbered from 1 in the order they were
// added, separators included, with a tag text that the window popping it up
// writes for the click handler to read. A choice is reported with the menu's
// own number once the menu has closed, so the handler may open windows or
// rebuild the menu itself.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QAction;
class QMenu;

class CtDropMenu : public QObject {
    Q_OBJECT
public:
    explicit CtDropMenu(int number = 0, QObject *parent = nullptr);
    ~CtDropMenu() override;

    // The number the menu reports its clicks with (its place in its array).
    int number() const { return m_number; }

    void removeAll();
    // A separator is added with separator 1 (and an empty caption). The third
    // argument is always 0. Returns the new entry's number.
    int addEntry(const QString &caption, int separator = 0, int reserved = 0);
    int entryCount() const { return int(m_entries.size()); }
    void setEntryPicture(int entry, const QIcon &picture);
    // As it was added, "&" mnemonics included; "" for an entry that does not exist.
    QString entryCaption(int entry) const;
    bool isSeparator(int entry) const;

    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // The two set-up values the tray menu writes before it is first shown;
    // kept as written.
    bool setupFlag() const { return m_setupFlag; }
    void setSetupFlag(bool flag) { m_setupFlag = flag; }
    int setupValue() const { return m_setupValue; }
    void setSetupValue(int value) { m_setupValue = value; }

    // Shows the menu at the mouse pointer and waits until it closes; a choice
    // is then reported through itemClick. `owner` is any widget of the window
    // the menu is popped up for (the active window when null); owner() gives
    // that window to the click handler.
    void popUp(QWidget *owner = nullptr);
    QWidget *owner() const { return m_owner; }

    // Chooses an entry as a click in the open menu would, without showing it;
    // with an `owner`, that window is recorded as popUp records it.
    void triggerEntry(int entry, QWidget *owner = nullptr);

    QMenu *menu() const { return m_menu.get(); }

signals:
    void itemClick(int menu, int entry);

private:
    void deliver(int entry);
    int entryOf(const QAction *action) const;

    int m_number;
    std::unique_ptr<QMenu> m_menu;
    std::vector<QAction *> m_entries;
    QString m_tag;
    QPointer<QWidget> m_owner;
    bool m_inExec = false;
    bool m_setupFlag = false;
    int m_setupValue = 0;
};

// A numbered set of menus that share one click handler: every menu's click
// comes out of itemClick with that menu's number.
class CtDropMenuArray : public QObject {
    Q_OBJECT
public:
    explicit CtDropMenuArray(int count, QObject *parent = nullptr);
    ~CtDropMenuArray() override;

    int count() const { return int(m_menus.size()); }
    // nullptr for a number outside 0..count()-1.
    CtDropMenu *menu(int number) const;
    CtDropMenu *operator[](int number) const { return menu(number); }

signals:
    void itemClick(int menu, int entry);

private:
    std::vector<CtDropMenu *> m_menus;
};
