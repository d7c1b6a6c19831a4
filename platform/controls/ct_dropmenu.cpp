#include "platform/controls/ct_dropmenu.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QWidget>

CtDropMenu::CtDropMenu(int number, QObject *parent)
    : QObject(parent), m_number(number), m_menu(std::make_unique<QMenu>())
{
}

CtDropMenu::~CtDropMenu() = default;

void CtDropMenu::removeAll()
{
    m_menu->clear();
    m_entries.clear();
}

int CtDropMenu::addEntry(const QString &caption, int separator, int /*reserved*/)
{
    QAction *action = nullptr;
    if (separator != 0) {
        action = m_menu->addSeparator();
        action->setText(caption);
    } else {
        action = m_menu->addAction(caption);
    }
    m_entries.push_back(action);
    const int entry = int(m_entries.size());
    if (separator == 0) {
        // Popped up by popUp, the choice comes back from exec; shown by someone
        // else (the tray shows its menu itself), it arrives here, and is
        // reported once the menu has gone.
        connect(action, &QAction::triggered, this, [this, entry] {
            if (!m_inExec)
                QTimer::singleShot(0, this, [this, entry] { deliver(entry); });
        });
    }
    return entry;
}

void CtDropMenu::setEntryPicture(int entry, const QIcon &picture)
{
    if (entry >= 1 && entry <= entryCount())
        m_entries[size_t(entry - 1)]->setIcon(picture);
}

QString CtDropMenu::entryCaption(int entry) const
{
    if (entry < 1 || entry > entryCount())
        return {};
    return m_entries[size_t(entry - 1)]->text();
}

bool CtDropMenu::isSeparator(int entry) const
{
    return entry >= 1 && entry <= entryCount() && m_entries[size_t(entry - 1)]->isSeparator();
}

int CtDropMenu::entryOf(const QAction *action) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i] == action)
            return int(i) + 1;
    }
    return 0;
}

void CtDropMenu::popUp(QWidget *owner)
{
    m_owner = owner ? owner->window() : QApplication::activeWindow();
    if (m_entries.empty())
        return;
    m_inExec = true;
    QAction *chosen = m_menu->exec(QCursor::pos());
    m_inExec = false;
    if (const int entry = entryOf(chosen))
        deliver(entry);
}

void CtDropMenu::triggerEntry(int entry, QWidget *owner)
{
    if (owner)
        m_owner = owner->window();
    deliver(entry);
}

void CtDropMenu::deliver(int entry)
{
    if (entry < 1 || entry > entryCount())
        return;
    const QAction *action = m_entries[size_t(entry - 1)];
    if (action->isSeparator() || !action->isEnabled())
        return;
    emit itemClick(m_number, entry);
}

CtDropMenuArray::CtDropMenuArray(int count, QObject *parent) : QObject(parent)
{
    for (int n = 0; n < count; ++n) {
        auto *menu = new CtDropMenu(n, this);
        connect(menu, &CtDropMenu::itemClick, this, &CtDropMenuArray::itemClick);
        m_menus.push_back(menu);
    }
}

CtDropMenuArray::~CtDropMenuArray() = default;

CtDropMenu *CtDropMenuArray::menu(int number) const
{
    return number >= 0 && number < count() ? m_menus[size_t(number)] : nullptr;
}
