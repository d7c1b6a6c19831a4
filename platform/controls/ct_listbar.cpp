#include "platform/controls/ct_listbar.h"

#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

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

// Draws each caption in the lines its item has room for: a long name ends in
// an ellipsis instead of being cut through the middle of a line, and its
// whole text is the item's tip.
class CaptionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int lines = 2;

    QString shownText(const QStyleOptionViewItem &option, const QString &caption) const
    {
        const int margin = 2 * (option.widget ? option.widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                                                      nullptr, option.widget) + 1
                                              : 3);
        const int width = option.rect.width() - margin
                          - (option.decorationPosition == QStyleOptionViewItem::Left
                                 ? option.decorationSize.width() + margin
                                 : 0);
        return fittedCaption(caption, option.font, width,
                             option.decorationPosition == QStyleOptionViewItem::Left ? 1 : lines);
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

} // namespace

// The list of group 1. Clicks are told apart here rather than through the
// list's own clicked/doubleClicked signals: the bar is rebuilt by the click's
// handler, and the list's own double-click would no longer recognise the item
// pressed before the rebuild.
class CtListBarView : public QListWidget {
public:
    explicit CtListBarView(CtListBar *bar) : QListWidget(bar), m_bar(bar) {}

    // The option the delegate draws the item of `row` with.
    QStyleOptionViewItem optionOf(int row) const
    {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(model()->index(row, 0));
        return option;
    }

    int rowAtPos(const QPoint &pos) const
    {
        QListWidgetItem *it = itemAt(pos);
        return it ? row(it) + 1 : 0;
    }

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        const int item = rowAtPos(e->position().toPoint());
        QListWidget::mousePressEvent(e);
        m_bar->onPressed(item, e->button());
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        const int item = rowAtPos(e->position().toPoint());
        QListWidget::mouseReleaseEvent(e);
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
        QListWidget::resizeEvent(e);
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

    m_list = new CtListBarView(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setDragEnabled(false);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(false);
    m_list->setItemDelegate(new CaptionDelegate(m_list));
    QPalette listPalette = m_list->palette();
    listPalette.setColor(QPalette::Base, QColor(0xee, 0xf3, 0xf9));
    m_list->setPalette(listPalette);
    layout->addWidget(m_list, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, &CtListBar::onCurrentRowChanged);
    applyIconSize();
}

CtListBar::~CtListBar() = default;

QListWidget *CtListBar::listWidget() const
{
    return m_list;
}

QString CtListBar::caption() const
{
    return m_caption->text();
}

void CtListBar::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}

void CtListBar::removeAll()
{
    m_updating = true;
    m_list->clear();
    m_updating = false;
    m_pressed = 0;
}

int CtListBar::addPictureItem(int group, const QString &caption, const QIcon &picture, int cargo)
{
    if (group != kGroup)
        return 0;
    // Made whole before it joins the list: each later change would be one more
    // round of signals through the list for every pet of a large household.
    auto *it = new QListWidgetItem(picture, caption);
    it->setData(Qt::UserRole, cargo);
    it->setSizeHint(m_itemHint);
    it->setTextAlignment(m_iconSize == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignHCenter | Qt::AlignTop);
    m_list->addItem(it);
    const int index = m_list->count();
    if (index == m_current)
        selectRow(index - 1);
    return index;
}

int CtListBar::itemCount(int group) const
{
    return group == kGroup ? m_list->count() : 0;
}

int CtListBar::itemCargo(int group, int item) const
{
    if (group != kGroup || item < 1 || item > m_list->count())
        return 0;
    return m_list->item(item - 1)->data(Qt::UserRole).toInt();
}

void CtListBar::setItemCargo(int group, int item, int cargo)
{
    if (group != kGroup || item < 1 || item > m_list->count())
        return;
    m_list->item(item - 1)->setData(Qt::UserRole, cargo);
}

QString CtListBar::itemText(int group, int item) const
{
    if (group != kGroup || item < 1 || item > m_list->count())
        return {};
    return m_list->item(item - 1)->text();
}

QString CtListBar::shownText(int group, int item) const
{
    const QString caption = itemText(group, item);
    auto *delegate = static_cast<CaptionDelegate *>(m_list->itemDelegate());
    if (caption.isEmpty())
        return caption;
    return delegate->shownText(m_list->optionOf(item - 1), caption);
}

int CtListBar::currentItem() const
{
    return m_current >= 1 && m_current <= m_list->count() ? m_current : 0;
}

int CtListBar::currentGroup() const
{
    return currentItem() ? kGroup : 0;
}

void CtListBar::setCurrentItem(int item)
{
    m_current = item > 0 ? item : 0;
    selectRow(currentItem() - 1);
}

void CtListBar::selectRow(int row)
{
    m_updating = true;
    if (row >= 0) {
        m_list->setCurrentRow(row);
    } else {
        m_list->setCurrentItem(nullptr);
        m_list->clearSelection();
    }
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
    const Qt::Alignment align = m_iconSize == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignHCenter | Qt::AlignTop;
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setTextAlignment(align);
}

// Large icons stand one under the other with the caption wrapped beneath, each
// item as wide as the bar, so the sizes follow every resize.
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

    const QSize hint = small ? QSize()
                             : QSize(qMax(m_list->viewport()->width() - 2 * m_list->spacing(), icon),
                                     icon + 2 * m_list->fontMetrics().lineSpacing() + 8);
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->sizeHint() != hint)
            m_list->item(i)->setSizeHint(hint);
    }
    m_itemHint = hint;
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
