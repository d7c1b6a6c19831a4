#include "platform/controls/ct_listbar.h"

#include <QAbstractListModel>
#include <QHelpEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <vector>

namespace {
constexpr int kGroup = 1;
constexpr int kLargeIcon = 32;
constexpr int kSmallIcon = 16;
// A caption as it fits in `width` on at most `lines` lines: broken at blanks
// where it can, anywhere where a word alone is too wide, and the last line
// ends in an ellipsis when there is more.
QString fittedCaption(const QString &caption, const QFont &font, int width, int lines)
{
    const QFontMetrics fm(font);
    if (width <= 0 || lines <= 0)
        return caption;
    QTextLayout layout(caption);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFont(font);
    QStringList shown;
    layout.beginLayout();
    int used = 0;
    for (int n = 0; n < lines; ++n) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        const QString part = caption.mid(line.textStart(), line.textLength());
        used = line.textStart() + line.textLength();
        shown << (n + 1 < lines ? part.trimmed() : caption.mid(line.textStart()).trimmed());
    }
    layout.endLayout();
    if (shown.isEmpty())
        return caption;
    QString &last = shown.last();
    if (used < caption.size() || fm.horizontalAdvance(last) > width)
        last = fm.elidedText(last, Qt::ElideRight, width);
    return shown.join(QLatin1Char('\n'));
}

constexpr int kCargoRole = Qt::UserRole;

} // namespace

// The items of the bar, 0-based, in a vector. The view hears only of the rows
// up to shownCount(): rows appended beyond it are held back until publish(),
// which tells it of all of them in one insertion.
class CtListBarModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    struct Item {
        QString caption;
        QIcon icon;
        int cargo = 0;
    };

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_shown; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_shown)
            return {};
        const Item &item = m_items[size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole: return item.caption;
        case Qt::DecorationRole: return item.icon;
        case Qt::TextAlignmentRole:
            return int(m_small ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignHCenter | Qt::AlignTop);
        case kCargoRole: return item.cargo;
        default: return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
    }

    int count() const { return int(m_items.size()); }
    int shownCount() const { return m_shown; }
    bool hasItem(int row) const { return row >= 0 && row < count(); }
    const Item &item(int row) const { return m_items[size_t(row)]; }

    // Appended without a word to the view; see publish().
    int append(Item item)
    {
        m_items.push_back(std::move(item));
        return count();
    }

    // Tells the view of the rows appended since the last time: the first row
    // it had not heard of, or -1 when there was none.
    int publish()
    {
        if (m_shown == count())
            return -1;
        const int first = m_shown;
        beginInsertRows({}, first, count() - 1);
        m_shown = count();
        endInsertRows();
        return first;
    }

    void clear()
    {
        if (m_shown == 0) {
            m_items.clear();
            return;
        }
        beginResetModel();
        m_items.clear();
        m_shown = 0;
        endResetModel();
    }

    void setCargo(int row, int cargo)
    {
        m_items[size_t(row)].cargo = cargo;
        if (row < m_shown) {
            const QModelIndex at = index(row);
            emit dataChanged(at, at, {kCargoRole});
        }
    }

    void setSmall(bool small)
    {
        if (small == m_small)
            return;
        m_small = small;
        if (m_shown > 0)
            emit dataChanged(index(0), index(m_shown - 1), {Qt::TextAlignmentRole});
    }

private:
    std::vector<Item> m_items;
    int m_shown = 0;
    bool m_small = false;
};

// Draws each caption in the lines its item has room for: a long name ends in
// an ellipsis instead of being cut through the middle of a line, and its
// whole text is the item's tip. Every item has the one size the bar gives.
class CtListBarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int lines = 2;
    QSize itemSize; // every item's

    QString shownText(const QStyleOptionViewItem &option, const QString &caption) const
    {
        const int margin =
            2
            * (option.widget
                   ? option.widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1
                   : 3);
        const int width =
            option.rect.width() - margin
            - (option.decorationPosition == QStyleOptionViewItem::Left ? option.decorationSize.width() + margin : 0);
        return fittedCaption(caption, option.font, width,
                             option.decorationPosition == QStyleOptionViewItem::Left ? 1 : lines);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return itemSize.isValid() ? itemSize : QStyledItemDelegate::sizeHint(option, index);
    }

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem shown = option;
        initStyleOption(&shown, index);
        const QString caption = index.data(Qt::DisplayRole).toString();
        if (shown.text != caption)
            QToolTip::showText(event->globalPos(), caption, view);
        else
            QToolTip::hideText();
        return true;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = shownText(*option, option->text);
    }
};

// The list of group 1. Clicks are told apart here rather than through the
// list's own clicked/doubleClicked signals: the bar is rebuilt by the click's
// handler, and the list's own double-click would no longer recognise the item
// pressed before the rebuild.
//
// Whatever reaches the view (a paint, the pointer, a key) first lets it hear
// of the items added, laid out at once, so that it never shows the bar short.
class CtListBarView : public QListView {
public:
    explicit CtListBarView(CtListBar *bar) : QListView(bar), m_bar(bar) {}

    QStyleOptionViewItem viewOption() const
    {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        return option;
    }
    // The option the delegate draws the item of `row` with.
    QStyleOptionViewItem optionOf(int row) const
    {
        QStyleOptionViewItem option = viewOption();
        option.rect = visualRect(model()->index(row, 0));
        return option;
    }

    int rowAtPos(const QPoint &pos) const
    {
        const QModelIndex at = indexAt(pos);
        return at.isValid() ? at.row() + 1 : 0;
    }

    void layOutNow() { executeDelayedItemsLayout(); }
    void layOutLater() { scheduleDelayedItemsLayout(); }

protected:
    bool viewportEvent(QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::Paint:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ToolTip: m_bar->publish(); break;
        default: break;
        }
        return QListView::viewportEvent(e);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        m_bar->publish();
        QListView::keyPressEvent(e);
    }
    void paintEvent(QPaintEvent *e) override
    {
        // A layout still pending would leave this paint empty and come with a
        // second one.
        executeDelayedItemsLayout();
        QListView::paintEvent(e);
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        const int item = rowAtPos(e->position().toPoint());
        QListView::mousePressEvent(e);
        m_bar->onPressed(item, e->button());
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        const int item = rowAtPos(e->position().toPoint());
        QListView::mouseReleaseEvent(e);
        m_bar->onReleased(item, e->button());
    }
    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        if (e->button() != Qt::LeftButton) {
            e->accept();
            return;
        }
        m_bar->onDoubleClicked(rowAtPos(e->position().toPoint()));
        e->accept();
    }
    void resizeEvent(QResizeEvent *e) override
    {
        QListView::resizeEvent(e);
        m_bar->applyIconSize();
    }

private:
    CtListBar *m_bar;
};

CtListBar::CtListBar(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_caption = new QLabel(this);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setMargin(4);
    m_caption->setAutoFillBackground(true);
    QFont captionFont = m_caption->font();
    captionFont.setBold(true);
    m_caption->setFont(captionFont);
    QPalette captionPalette = m_caption->palette();
    captionPalette.setColor(QPalette::Window, QColor(0x4a, 0x6c, 0x96));
    captionPalette.setColor(QPalette::WindowText, Qt::white);
    m_caption->setPalette(captionPalette);
    layout->addWidget(m_caption);

    m_model = new CtListBarModel(this);
    m_list = new CtListBarView(this);
    m_list->setModel(m_model);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setDragEnabled(false);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(true);
    m_delegate = new CtListBarDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    QPalette listPalette = m_list->palette();
    listPalette.setColor(QPalette::Base, QColor(0xee, 0xf3, 0xf9));
    m_list->setPalette(listPalette);
    layout->addWidget(m_list, 1);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { onCurrentRowChanged(current.isValid() ? current.row() : -1); });
    applyIconSize();
}

CtListBar::~CtListBar() = default;

QListView *CtListBar::listView() const
{
    publish();
    return m_list;
}

QString CtListBar::caption() const { return m_caption->text(); }

void CtListBar::setCaption(const QString &caption) { m_caption->setText(caption); }

void CtListBar::removeAll()
{
    m_updating = true;
    m_model->clear();
    m_updating = false;
    m_pressed = 0;
}

int CtListBar::addPictureItem(int group, const QString &caption, const QIcon &picture, int cargo)
{
    if (group != kGroup)
        return 0;
    // Kept from the view until the adding is over: one insertion for the whole
    // rebuild instead of one round of signals through the view for each pet.
    const int index = m_model->append({caption, picture, cargo});
    if (!m_publishQueued) {
        m_publishQueued = true;
        QMetaObject::invokeMethod(
            this, [this] { publish(); }, Qt::QueuedConnection);
    }
    return index;
}

void CtListBar::publish() const
{
    m_publishQueued = false;
    const int first = m_model->publish();
    if (first >= 0 && m_current > first && m_current <= m_model->count())
        selectRow(m_current - 1);
}

int CtListBar::itemCount(int group) const { return group == kGroup ? m_model->count() : 0; }

int CtListBar::itemCargo(int group, int item) const
{
    if (group != kGroup || !m_model->hasItem(item - 1))
        return 0;
    return m_model->item(item - 1).cargo;
}

void CtListBar::setItemCargo(int group, int item, int cargo)
{
    if (group != kGroup || !m_model->hasItem(item - 1))
        return;
    m_model->setCargo(item - 1, cargo);
}

QString CtListBar::itemText(int group, int item) const
{
    if (group != kGroup || !m_model->hasItem(item - 1))
        return {};
    return m_model->item(item - 1).caption;
}

QString CtListBar::shownText(int group, int item) const
{
    const QString caption = itemText(group, item);
    if (caption.isEmpty())
        return caption;
    publish();
    return m_delegate->shownText(m_list->optionOf(item - 1), caption);
}

int CtListBar::currentItem() const { return m_current >= 1 && m_current <= m_model->count() ? m_current : 0; }

int CtListBar::currentGroup() const { return currentItem() ? kGroup : 0; }

void CtListBar::setCurrentItem(int item)
{
    m_current = item > 0 ? item : 0;
    publish();
    selectRow(currentItem() - 1);
}

void CtListBar::selectRow(int row) const
{
    m_updating = true;
    QItemSelectionModel *selection = m_list->selectionModel();
    if (row >= 0 && row < m_model->shownCount())
        selection->setCurrentIndex(m_model->index(row), QItemSelectionModel::ClearAndSelect);
    else
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    m_updating = false;
}

void CtListBar::onCurrentRowChanged(int row)
{
    if (!m_updating)
        m_current = row + 1;
}

void CtListBar::setIconSize(int size)
{
    m_iconSize = size;
    applyIconSize();
    m_model->setSmall(m_iconSize == 1);
}

// Large icons stand one under the other with the caption wrapped beneath;
// small ones beside a caption of one line. Each item is as wide as the bar, so
// the size follows every resize; all items have it.
void CtListBar::applyIconSize()
{
    const bool small = m_iconSize == 1;
    const QListView::ViewMode mode = small ? QListView::ListMode : QListView::IconMode;
    if (m_list->viewMode() != mode)
        m_list->setViewMode(mode);
    const int icon = small ? kSmallIcon : kLargeIcon;
    m_list->setIconSize(QSize(icon, icon));
    m_list->setSpacing(small ? 2 : 3);
    // Small icons make a compact list, one line an item.
    m_list->setWordWrap(!small);
    m_list->setTextElideMode(Qt::ElideRight);
    // Set after the view mode, which puts its own back.
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(false);
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);

    const int width = qMax(m_list->viewport()->width() - 2 * m_list->spacing(), icon);
    QSize hint;
    if (small) {
        // As high as the style makes an item of one line beside its icon.
        QStyleOptionViewItem option = m_list->viewOption();
        option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
        option.text = QStringLiteral("Xg");
        hint =
            QSize(width, m_list->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), m_list).height());
    } else {
        hint = QSize(width, icon + 2 * m_list->fontMetrics().lineSpacing() + 8);
    }
    if (hint != m_delegate->itemSize) {
        m_delegate->itemSize = hint;
        m_list->layOutLater();
    }
}

void CtListBar::onPressed(int item, Qt::MouseButton button)
{
    m_swallowRelease = false;
    if (button == Qt::LeftButton) {
        m_pressed = item;
    } else if (button == Qt::RightButton && item > 0) {
        m_pressed = 0;
        setCurrentItem(item);
        emit itemRightClick(kGroup, item);
    }
}

void CtListBar::onReleased(int item, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    const int pressed = m_pressed;
    m_pressed = 0;
    if (m_swallowRelease) {
        // The release that ends a double-click is not a click of its own.
        m_swallowRelease = false;
        return;
    }
    if (item > 0 && item == pressed)
        emit itemClick(kGroup, item);
}

void CtListBar::onDoubleClicked(int item)
{
    if (item <= 0)
        return;
    setCurrentItem(item);
    m_swallowRelease = true;
    QTimer::singleShot(0, this, [this] { emit itemDblClick(); });
}
