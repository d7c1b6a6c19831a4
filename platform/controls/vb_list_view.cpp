#include "platform/controls/vb_list_view.h"

#include "platform/controls/vb_image_list.h"

#include <QCollator>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

enum Role {
    KeyRole = Qt::UserRole + 1,
    TagRole,
    IconRole,
    SmallIconRole,
};

constexpr int kLargeIcons = 0;
constexpr int kReport = 3;

// In rows of equal cells an item is no wider than its cell, short of a gap
// before the next one: a long name ends in "..." instead of running on
// under the next item's icon. The list view draws an item as wide as it asks
// to be, whatever its grid.
//
// It also tells the list view which items it drew, so that the pictures of
// those on screen are read first.
class CellItemDelegate : public QStyledItemDelegate {
public:
    CellItemDelegate(QListView *view, std::function<void(int row)> drawn)
        : QStyledItemDelegate(view), m_drawn(std::move(drawn))
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        m_drawn(index.row());
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const auto *view = qobject_cast<const QListView *>(parent());
        if (view && view->viewMode() == QListView::ListMode && view->gridSize().isValid()) {
            const int gap = QFontMetrics(option.font).averageCharWidth();
            size.setWidth(std::min(size.width(), view->gridSize().width() - gap));
        }
        return size;
    }

private:
    std::function<void(int row)> m_drawn;
};

} // namespace

// ---------------------------------------------------------------------------
// Items

VbListItem::VbListItem(const QString &key, const QString &text, int icon, int smallIcon) : QStandardItem(text)
{
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    setData(key, KeyRole);
    setData(icon, IconRole);
    setData(smallIcon, SmallIconRole);
}

QString VbListItem::Key() const { return data(KeyRole).toString(); }
void VbListItem::setKey(const QString &key) { setData(key, KeyRole); }
QVariant VbListItem::Tag() const { return data(TagRole); }
void VbListItem::setTag(const QVariant &tag) { setData(tag, TagRole); }
int VbListItem::Icon() const { return data(IconRole).toInt(); }
void VbListItem::setIcon(int index) { setData(index, IconRole); }
int VbListItem::SmallIcon() const { return data(SmallIconRole).toInt(); }
void VbListItem::setSmallIcon(int index) { setData(index, SmallIconRole); }

QString VbListItem::SubItems(int column) const
{
    QStandardItemModel *m = model();
    if (!m || column < 1)
        return {};
    const QStandardItem *cell = m->item(row(), column);
    return cell ? cell->text() : QString();
}

void VbListItem::setSubItems(int column, const QString &text)
{
    QStandardItemModel *m = model();
    if (!m || column < 1)
        return;
    if (QStandardItem *cell = m->item(row(), column)) {
        cell->setText(text);
        return;
    }
    auto *cell = new QStandardItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    m->setItem(row(), column, cell);
}

// ---------------------------------------------------------------------------
// The items

class VbListModel : public QStandardItemModel {
public:
    using QStandardItemModel::QStandardItemModel;

    // One reset instead of a signal for each row: the sort model and both
    // views would otherwise redo their bookkeeping once per row.
    template <class Fill> void refill(Fill fill)
    {
        beginResetModel();
        {
            const QSignalBlocker quiet(this);
            removeRows(0, rowCount());
            fill();
        }
        endResetModel();
    }
};

// ---------------------------------------------------------------------------
// Sorting, and the icons drawn from the attached image lists

class VbListSortModel : public QSortFilterProxyModel {
public:
    explicit VbListSortModel(VbListView *owner) : QSortFilterProxyModel(owner), m_owner(owner)
    {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    // The language's order is read each time sorting is set, so a changed
    // locale applies from the next sort on.
    void sortBy(int column, Qt::SortOrder order)
    {
        m_collator.setLocale(QLocale());
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
        invalidate();
        sort(column, order);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DecorationRole && index.column() == 0)
            return m_owner->pictureFor(mapToSource(index));
        return QSortFilterProxyModel::data(index, role);
    }

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override
    {
        return m_collator.compare(left.data().toString(), right.data().toString()) < 0;
    }

private:
    VbListView *m_owner;
    QCollator m_collator;
};

// ---------------------------------------------------------------------------
// The two views: what a press, a click and a double-click mean here

template <class Base> class VbInnerView : public Base {
public:
    explicit VbInnerView(VbListView *owner) : Base(owner), m_owner(owner) {}

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        const QModelIndex index = this->indexAt(e->position().toPoint());
        if (e->button() == Qt::RightButton) {
            // The caller acts on the selected item when the right button goes
            // down; that must be the item under the pointer, never an older
            // selection.
            if (index.isValid()) {
                this->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                                   | QItemSelectionModel::Rows);
            } else {
                this->selectionModel()->clearSelection();
                this->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            }
            m_pressed = QPersistentModelIndex();
            e->accept();
        } else {
            Base::mousePressEvent(e);
            m_pressed = e->button() == Qt::LeftButton ? QPersistentModelIndex(index) : QPersistentModelIndex();
        }
        const int button = e->button() == Qt::LeftButton     ? 1
                           : e->button() == Qt::RightButton  ? 2
                           : e->button() == Qt::MiddleButton ? 4
                                                             : 0;
        if (button != 0)
            m_owner->viewPressed(button, index);
    }

    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::RightButton) {
            e->accept();
            return;
        }
        const QModelIndex index = this->indexAt(e->position().toPoint());
        const bool click =
            e->button() == Qt::LeftButton && index.isValid() && m_pressed.isValid() && index.row() == m_pressed.row();
        m_pressed = QPersistentModelIndex();
        Base::mouseReleaseEvent(e);
        if (click)
            m_owner->viewClicked(index);
    }

    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::RightButton) {
            e->accept();
            return;
        }
        const QModelIndex index = this->indexAt(e->position().toPoint());
        Base::mouseDoubleClickEvent(e);
        if (e->button() == Qt::LeftButton && index.isValid())
            m_owner->viewDoubleClicked();
    }

    void keyPressEvent(QKeyEvent *e) override
    {
        const QPersistentModelIndex before = this->currentIndex();
        Base::keyPressEvent(e);
        const QModelIndex now = this->currentIndex();
        if (now.isValid() && (!before.isValid() || before.row() != now.row()))
            m_owner->viewClicked(now);
    }

private:
    VbListView *m_owner;
    QPersistentModelIndex m_pressed;
};

// ---------------------------------------------------------------------------
// The list view

VbListView::VbListView(QWidget *parent)
    : QWidget(parent), m_model(new VbListModel(this)), m_proxy(new VbListSortModel(this)),
      m_stack(new QStackedWidget(this)), m_iconView(new VbInnerView<QListView>(this)),
      m_reportView(new VbInnerView<QTreeView>(this))
{
    m_proxy->setSourceModel(m_model);
    m_proxy->setDynamicSortFilter(true);

    m_iconView->setObjectName(QStringLiteral("iconView"));
    m_iconView->setModel(m_proxy);
    m_iconView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_iconView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_iconView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_iconView->setDragEnabled(false);
    m_iconView->setTextElideMode(Qt::ElideRight);
    m_iconView->setBatchSize(1000);
    m_iconView->setItemDelegate(new CellItemDelegate(m_iconView, [this](int row) { itemDrawn(row); }));

    m_reportView->setObjectName(QStringLiteral("reportView"));
    m_reportView->setModel(m_proxy);
    // One selection for both views, so a change of view keeps it.
    QItemSelectionModel *own = m_reportView->selectionModel();
    m_reportView->setSelectionModel(m_iconView->selectionModel());
    delete own;
    m_reportView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_reportView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_reportView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_reportView->setRootIsDecorated(false);
    m_reportView->setItemsExpandable(false);
    m_reportView->setUniformRowHeights(true);
    m_reportView->setAllColumnsShowFocus(true);
    m_reportView->setSortingEnabled(false);
    m_reportView->setTextElideMode(Qt::ElideRight);
    QHeaderView *header = m_reportView->header();
    header->setStretchLastSection(true);
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
        // The header would move its arrow by itself; the owner decides where
        // it goes.
        applyArrow();
        emit columnClick(section + 1);
    });

    m_stack->addWidget(m_iconView);
    m_stack->addWidget(m_reportView);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);

    applyView();
}

VbListView::~VbListView() = default;

void VbListView::setView(int view)
{
    if (view < 0 || view > 3 || view == m_view)
        return;
    m_view = view;
    applyView();
}

QSize VbListView::largeSize() const
{
    const QSize size = m_icons ? m_icons->ImageSize() : QSize();
    return size.isValid() ? size : QSize(32, 32);
}

QSize VbListView::smallSize() const
{
    const QSize size = m_smallIcons ? m_smallIcons->ImageSize() : QSize();
    return size.isValid() ? size : QSize(16, 16);
}

void VbListView::applyView()
{
    const QModelIndex current = m_iconView->selectionModel()->currentIndex();
    const QFontMetrics fm(font());
    if (m_view == kReport) {
        m_reportView->setIconSize(smallSize());
        m_stack->setCurrentWidget(m_reportView);
        setFocusProxy(m_reportView);
        m_appliedIconSize = smallSize();
    } else {
        // Setting the mode resets flow, wrapping and movement; set it first.
        if (m_view == kLargeIcons) {
            const QSize icon = largeSize();
            m_iconView->setViewMode(QListView::IconMode);
            m_iconView->setFlow(QListView::LeftToRight);
            m_iconView->setWordWrap(true);
            m_iconView->setIconSize(icon);
            // Room for the icon and two lines of text below it.
            m_iconView->setGridSize(QSize(std::max(icon.width() + 48, fm.averageCharWidth() * 14),
                                          icon.height() + 2 * fm.lineSpacing() + 12));
            m_iconView->setSpacing(0);
            m_appliedIconSize = icon;
        } else {
            const QSize icon = smallSize();
            m_iconView->setViewMode(QListView::ListMode);
            m_iconView->setWordWrap(false);
            m_iconView->setIconSize(icon);
            if (m_view == 1) {
                // Small icons: rows of equal cells, read left to right.
                m_iconView->setFlow(QListView::LeftToRight);
                m_iconView->setGridSize(
                    QSize(icon.width() + fm.averageCharWidth() * 24, std::max(icon.height(), fm.height()) + 6));
                m_iconView->setSpacing(0);
            } else {
                // List: columns read top to bottom.
                m_iconView->setFlow(QListView::TopToBottom);
                m_iconView->setGridSize(QSize());
                m_iconView->setSpacing(2);
            }
            m_appliedIconSize = icon;
        }
        m_iconView->setWrapping(true);
        m_iconView->setMovement(QListView::Static);
        // A long list is laid out a part at a time, so its first screen comes
        // at once; but the selected item must be placed before the view can
        // scroll to it, so with one the whole list is laid out first.
        m_iconView->setLayoutMode(current.isValid() ? QListView::SinglePass : QListView::Batched);
        m_iconView->setResizeMode(QListView::Adjust);
        m_stack->setCurrentWidget(m_iconView);
        setFocusProxy(m_iconView);
    }
    // The decoration now comes from the other image list.
    m_iconView->viewport()->update();
    m_reportView->viewport()->update();
    if (current.isValid()) {
        if (m_view == kReport)
            m_reportView->scrollTo(current);
        else
            m_iconView->scrollTo(current);
    }
}

void VbListView::setColumnHeaders(const QStringList &labels)
{
    if (m_model->columnCount() < labels.size())
        m_model->setColumnCount(labels.size());
    m_model->setHorizontalHeaderLabels(labels);
    m_headerCount = int(labels.size());
    applyArrow();
}

int VbListView::ColumnCount() const { return m_model->columnCount(); }

void VbListView::setColumnWidth(int column, int width)
{
    if (column >= 0 && width >= 0)
        m_reportView->setColumnWidth(column, width);
}

void VbListView::clearItems()
{
    m_model->removeRows(0, m_model->rowCount());
    // Columns that sub-items beyond the headers added go with their items.
    if (m_model->columnCount() > m_headerCount)
        m_model->setColumnCount(m_headerCount);
}

VbListItem *VbListView::addItem(const QString &key, const QString &text, int icon, int smallIcon)
{
    return addItem(key, text, icon, smallIcon, {}, {});
}

VbListItem *VbListView::addItem(const QString &key, const QString &text, int icon, int smallIcon,
                                const QStringList &subItems, const QVariant &tag)
{
    return appendRow({key, text, icon, smallIcon, subItems, tag});
}

VbListItem *VbListView::appendRow(const VbListRow &r)
{
    auto *item = new VbListItem(r.key, r.text, r.icon, r.smallIcon);
    if (r.tag.isValid())
        item->setTag(r.tag);
    QList<QStandardItem *> row{item};
    const int columns = std::max(m_model->columnCount(), int(r.subItems.size()) + 1);
    for (int c = 1; c < columns; ++c) {
        auto *cell = new QStandardItem(c <= r.subItems.size() ? r.subItems.at(c - 1) : QString());
        cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        row.append(cell);
    }
    m_model->appendRow(row);
    return item;
}

void VbListView::setItems(const std::vector<VbListRow> &rows)
{
    // The selection goes with the old items: nothing to scroll to.
    m_iconView->setLayoutMode(QListView::Batched);
    m_model->refill([&] {
        if (m_model->columnCount() > m_headerCount)
            m_model->setColumnCount(m_headerCount);
        for (const VbListRow &r : rows)
            appendRow(r);
    });
    applyArrow();
}

int VbListView::ItemCount() const { return m_model->rowCount(); }

VbListItem *VbListView::itemAt(const QModelIndex &viewIndex) const
{
    if (!viewIndex.isValid())
        return nullptr;
    const QModelIndex source = m_proxy->mapToSource(viewIndex).siblingAtColumn(0);
    QStandardItem *item = m_model->itemFromIndex(source);
    return item && item->type() == VbListItem::Type ? static_cast<VbListItem *>(item) : nullptr;
}

VbListItem *VbListView::SelectedItem() const
{
    const QModelIndexList selected = m_iconView->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : itemAt(selected.first());
}

void VbListView::setSelectedItem(VbListItem *item)
{
    QItemSelectionModel *sel = m_iconView->selectionModel();
    if (!item) {
        sel->clearSelection();
        return;
    }
    const QModelIndex index = m_proxy->mapFromSource(m_model->indexFromItem(item));
    sel->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

VbListItem *VbListView::ListItem(const QString &key) const
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        QStandardItem *found = m_model->item(r, 0);
        if (found && found->type() == VbListItem::Type && static_cast<VbListItem *>(found)->Key() == key)
            return static_cast<VbListItem *>(found);
    }
    return nullptr;
}

bool VbListView::selectKey(const QString &key)
{
    VbListItem *item = ListItem(key);
    setSelectedItem(item);
    return item != nullptr;
}

QVariant VbListView::pictureFor(const QModelIndex &sourceIndex) const
{
    const QStandardItem *found = m_model->itemFromIndex(sourceIndex);
    if (!found || found->type() != VbListItem::Type)
        return {};
    const auto *item = static_cast<const VbListItem *>(found);
    const bool large = m_view == kLargeIcons;
    const VbImageList *list = large ? m_icons.data() : m_smallIcons.data();
    if (!list)
        return {};
    const QIcon picture = list->picture(large ? item->Icon() : item->SmallIcon());
    return picture.isNull() ? QVariant() : QVariant(picture);
}

void VbListView::attach(QPointer<VbImageList> &slot, VbImageList *list)
{
    if (slot == list)
        return;
    if (slot)
        disconnect(slot, nullptr, this, nullptr);
    slot = list;
    if (list)
        connect(list, &VbImageList::changed, this, &VbListView::imagesChanged);
    imagesChanged();
}

VbImageList *VbListView::Icons() const { return m_icons.data(); }
VbImageList *VbListView::SmallIcons() const { return m_smallIcons.data(); }
void VbListView::setIcons(VbImageList *list) { attach(m_icons, list); }
void VbListView::setSmallIcons(VbImageList *list) { attach(m_smallIcons, list); }

void VbListView::imagesChanged()
{
    // A new picture size needs a new layout; new pictures only a repaint.
    const QSize wanted = m_view == kLargeIcons ? largeSize() : smallSize();
    if (wanted != m_appliedIconSize)
        applyView();
    m_iconView->viewport()->update();
    m_reportView->viewport()->update();
}

void VbListView::setSorted(bool sorted)
{
    m_sorted = sorted;
    applySort();
}

void VbListView::setSortKey(int column)
{
    m_sortKey = std::max(0, column);
    if (m_sorted)
        applySort();
}

void VbListView::setSortOrder(int order)
{
    m_sortOrder = order == 1 ? 1 : 0;
    if (m_sorted)
        applySort();
}

void VbListView::applySort()
{
    if (m_sorted)
        m_proxy->sortBy(m_sortKey, m_sortOrder == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
    else
        m_proxy->sort(-1);
}

void VbListView::setColumnHeaderImage(int column, int image, bool show)
{
    if (show) {
        m_arrowColumn = column;
        m_arrowImage = image == 1 ? 1 : 0;
    } else if (column == m_arrowColumn) {
        m_arrowColumn = -1;
    }
    applyArrow();
}

void VbListView::applyArrow()
{
    QHeaderView *header = m_reportView->header();
    const bool onColumn = m_arrowColumn >= 0 && m_arrowColumn < m_model->columnCount();
    header->setSortIndicator(onColumn ? m_arrowColumn : -1,
                             m_arrowImage == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void VbListView::viewPressed(int button, const QModelIndex &index) { emit mouseDown(button, itemAt(index)); }

void VbListView::viewClicked(const QModelIndex &index)
{
    if (VbListItem *item = itemAt(index))
        emit itemClick(item);
}

void VbListView::viewDoubleClicked() { emit itemDblClick(); }

void VbListView::itemDrawn(int row)
{
    m_drawnRows.push_back(row);
    if (m_drawnRows.size() == 1)
        QMetaObject::invokeMethod(this, &VbListView::wantDrawn, Qt::QueuedConnection);
}

void VbListView::wantDrawn()
{
    std::vector<int> rows;
    rows.swap(m_drawnRows);
    VbImageList *list = m_view == kLargeIcons ? m_icons.data() : m_smallIcons.data();
    if (!list || rows.empty())
        return;
    // The items drawn, then as many again after them and before them: the
    // next screen either way is read before the user scrolls to it.
    const auto [lowest, highest] = std::minmax_element(rows.begin(), rows.end());
    const int first = *lowest, last = *highest, span = last - first + 1;
    const int rowCount = m_proxy->rowCount();
    QList<int> wanted;
    wanted.reserve(qsizetype(rows.size()) + 2 * span);
    auto addRow = [&](int row) {
        if (VbListItem *item = itemAt(m_proxy->index(row, 0)))
            wanted.append(m_view == kLargeIcons ? item->Icon() : item->SmallIcon());
    };
    for (int row : rows)
        if (row < rowCount)
            addRow(row);
    for (int row = last + 1; row < std::min(rowCount, last + 1 + span); ++row)
        addRow(row);
    for (int row = first - 1; row >= std::max(0, first - span); --row)
        addRow(row);
    list->want(wanted);
}
