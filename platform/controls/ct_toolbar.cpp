#include "platform/controls/ct_toolbar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QVBoxLayout>

CtToolBar::CtToolBar(Mode mode, QWidget *parent) : QWidget(parent), m_mode(mode)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (m_mode == Mode::MenuBar) {
        m_menuBar = new QMenuBar(this);
        // Kept inside the window: a desktop-wide menu would take it away from
        // dialogs and from the window's own layout.
        m_menuBar->setNativeMenuBar(false);
        layout->addWidget(m_menuBar);
    } else {
        m_toolBar = new QToolBar(this);
        m_toolBar->setMovable(false);
        m_toolBar->setFloatable(false);
        m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        layout->addWidget(m_toolBar);
    }
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

CtToolBar::~CtToolBar() = default;

const CtToolBar::Item *CtToolBar::item(int id) const
{
    if (id < 1 || id > int(m_items.size()))
        return nullptr;
    return &m_items[size_t(id - 1)];
}

CtToolBar::Item *CtToolBar::item(int id) { return const_cast<Item *>(std::as_const(*this).item(id)); }

void CtToolBar::connectClick(QAction *action, int id)
{
    connect(action, &QAction::triggered, this, [this, id] { onTriggered(id); });
}

int CtToolBar::addItem(const QString &caption, const QString &tip, const QIcon &picture, int level)
{
    const int id = int(m_items.size()) + 1;
    Item it;
    it.level = level == MenuEntry ? MenuEntry : MenuTitle;

    auto *action = new QAction(caption, this);
    if (!tip.isEmpty()) {
        action->setToolTip(tip);
        action->setStatusTip(tip);
    }

    if (m_mode == Mode::ToolBar) {
        action->setIcon(picture);
        m_toolBar->addAction(action);
    } else if (it.level == MenuTitle) {
        // Menu titles carry no picture: a menu bar would show it in place of the caption.
        placePendingInBar();
        m_menuBar->addAction(action);
        m_currentTitle = id;
    } else {
        action->setIcon(picture);
        it.title = m_currentTitle;
        if (QMenu *menu = menuOf(m_currentTitle))
            menu->addAction(action);
        else
            m_menuBar->addAction(action);
    }
    connectClick(action, id);
    it.action = action;
    m_items.push_back(it);
    return id;
}

int CtToolBar::addSeparator()
{
    const int id = int(m_items.size()) + 1;
    Item it;
    it.separator = true;
    it.level = MenuEntry;
    auto *action = new QAction(this);
    action->setSeparator(true);

    if (m_mode == Mode::ToolBar) {
        m_toolBar->addAction(action);
    } else {
        it.title = m_currentTitle;
        const Item *title = item(m_currentTitle);
        if (title && title->menu)
            title->menu->addAction(action);
        else if (title)
            m_pending.push_back(action); // goes into the menu once the title has an entry
        else
            m_menuBar->addAction(action);
    }
    it.action = action;
    m_items.push_back(it);
    return id;
}

// The menu of a title, made when its first entry arrives: the title's plain
// action gives way to the menu's own action, keeping what was set on it.
QMenu *CtToolBar::menuOf(int titleId)
{
    Item *title = item(titleId);
    if (!title)
        return nullptr;
    if (title->menu)
        return title->menu;

    QAction *old = title->action;
    auto *menu = new QMenu(m_menuBar);
    QAction *menuAction = menu->menuAction();
    menuAction->setText(old->text());
    menuAction->setToolTip(old->toolTip());
    menuAction->setStatusTip(old->statusTip());
    menuAction->setEnabled(old->isEnabled());
    menuAction->setVisible(old->isVisible());
    m_menuBar->insertAction(old, menuAction);
    m_menuBar->removeAction(old);
    delete old;

    for (QAction *sep : m_pending)
        menu->addAction(sep);
    m_pending.clear();

    title->action = menuAction;
    title->menu = menu;
    return menu;
}

void CtToolBar::placePendingInBar()
{
    for (QAction *sep : m_pending)
        m_menuBar->addAction(sep);
    m_pending.clear();
}

bool CtToolBar::isSeparator(int id) const
{
    const Item *it = item(id);
    return it && it->separator;
}

int CtToolBar::itemLevel(int id) const
{
    const Item *it = item(id);
    return it ? it->level : 0;
}

bool CtToolBar::itemVisible(int id) const
{
    const Item *it = item(id);
    return it && it->action->isVisible();
}

void CtToolBar::setItemVisible(int id, bool visible)
{
    if (Item *it = item(id))
        it->action->setVisible(visible);
}

bool CtToolBar::itemEnabled(int id) const
{
    const Item *it = item(id);
    return it && it->action->isEnabled();
}

void CtToolBar::setItemEnabled(int id, bool enabled)
{
    if (Item *it = item(id))
        it->action->setEnabled(enabled);
}

bool CtToolBar::itemState(int id) const
{
    const Item *it = item(id);
    return it && it->state;
}

// An item is checkable only while it is pressed, so that a click on an item
// that is not pressed cannot press it; a click on a pressed one is undone in
// onTriggered before the click is reported.
void CtToolBar::setItemState(int id, bool pressed)
{
    Item *it = item(id);
    if (!it || it->separator)
        return;
    it->state = pressed;
    if (pressed) {
        it->action->setCheckable(true);
        it->action->setChecked(true);
    } else {
        it->action->setChecked(false);
        it->action->setCheckable(false);
    }
}

QString CtToolBar::itemText(int id) const
{
    const Item *it = item(id);
    return it && !it->separator ? it->action->text() : QString();
}

void CtToolBar::setItemText(int id, const QString &caption)
{
    Item *it = item(id);
    if (it && !it->separator)
        it->action->setText(caption);
}

QString CtToolBar::itemStoredText(int id) const
{
    const Item *it = item(id);
    return it ? it->stored : QString();
}

void CtToolBar::setItemStoredText(int id, const QString &text)
{
    if (Item *it = item(id))
        it->stored = text;
}

QAction *CtToolBar::action(int id) const
{
    const Item *it = item(id);
    return it ? it->action : nullptr;
}

void CtToolBar::clickItem(int id)
{
    const Item *it = item(id);
    if (!it || it->separator || it->menu)
        return;
    if (!it->action->isVisible() || !it->action->isEnabled())
        return;
    if (const Item *title = item(it->title); title && title->menu) {
        if (!title->action->isVisible() || !title->action->isEnabled())
            return;
    }
    it->action->trigger();
}

void CtToolBar::onTriggered(int id)
{
    Item *it = item(id);
    if (!it)
        return;
    if (it->action->isChecked() != it->state)
        it->action->setChecked(it->state);
    emit itemClick(id);
}
