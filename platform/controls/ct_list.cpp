#include "platform/controls/ct_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

constexpr int kPictureRole = Qt::UserRole + 1; // a cell's picture index
constexpr int kDataRole = Qt::UserRole;        // the row's data text, on column 1

// Selectable and enabled, but not user-checkable: a check mark changes only
// when the owner sets it.
constexpr Qt::ItemFlags kRowFlags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;

} // namespace

CtList::CtList(QWidget *parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);

    // Qt reports every move of the current cell, also between the columns of
    // one row; the owners want to hear of a new row.
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current, QTreeWidgetItem *) {
        const int row = current ? indexOfTopLevelItem(current) : -1;
        if (row == m_reportedRow)
            return;
        m_reportedRow = row;
        if (row >= 0)
            emit rowSelected(row);
    });
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item, int) { emit rowClick(indexOfTopLevelItem(item)); });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item, int) { emit rowDblClick(indexOfTopLevelItem(item)); });
}

// ---- Columns ----

void CtList::setColumns(const QStringList &labels, const QList<int> &widths)
{
    setColumnCount(int(labels.size()));
    setHeaderLabels(labels);
    for (int i = 0; i < widths.size() && i < labels.size(); ++i)
        setColumnWidth(i, widths.at(i));
}

int CtList::columnIndex(int column) const
{
    return column >= 1 && column <= columnCount() ? column - 1 : -1;
}

bool CtList::ColumnVisible(int column) const
{
    const int c = columnIndex(column);
    return c >= 0 && !isColumnHidden(c);
}

void CtList::setColumnVisible(int column, bool visible)
{
    const int c = columnIndex(column);
    if (c >= 0)
        setColumnHidden(c, !visible);
}

void CtList::setCheckBoxes(bool on)
{
    m_checkBoxes = on;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = topLevelItem(i);
        if (on && !item->data(0, Qt::CheckStateRole).isValid())
            item->setData(0, Qt::CheckStateRole, Qt::Unchecked);
        else if (!on)
            item->setData(0, Qt::CheckStateRole, QVariant());
    }
}

// ---- Rows ----

void CtList::clearRows()
{
    clear();
    m_reportedRow = -1;
}

int CtList::addRow(const QString &cells)
{
    QStringList parts = cells.split(QLatin1Char(';'), Qt::KeepEmptyParts);
    const int columns = qMax(1, columnCount());
    if (parts.size() > columns) {
        // More cells than columns means a ";" inside a cell's own text (a name
        // such as "Vet; shots"). The owners put such free text first and their
        // data cells after it, so the surplus is folded back into the first
        // non-empty cell: the cells after it, which the owners read as data
        // (a kind and a record id), then stay in their columns.
        const qsizetype surplus = parts.size() - columns;
        qsizetype first = 0;
        while (first < parts.size() && parts.at(first).isEmpty() && first + 1 < columns)
            ++first;
        QStringList joined = parts.mid(first, surplus + 1);
        parts.remove(first, surplus + 1);
        parts.insert(first, joined.join(QLatin1Char(';')));
    }
    while (parts.size() < columns)
        parts.append(QString());

    // Appended last: its index is the count less one. Asking the tree for it
    // walks every row, which made filling a long list quadratic.
    addTopLevelItem(newRowItem(parts));
    return topLevelItemCount() - 1;
}

QTreeWidgetItem *CtList::newRowItem(const QStringList &cells) const
{
    auto *item = new QTreeWidgetItem(cells);
    item->setFlags(kRowFlags);
    if (m_checkBoxes)
        item->setData(0, Qt::CheckStateRole, Qt::Unchecked);
    return item;
}

int CtList::addRows(const QList<QStringList> &rows, const QStringList &data)
{
    const int first = topLevelItemCount();
    const int columns = qMax(1, columnCount());
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QStringList cells = rows.at(i).mid(0, columns);
        while (cells.size() < columns)
            cells.append(QString());
        QTreeWidgetItem *item = newRowItem(cells);
        if (i < data.size())
            item->setData(0, kDataRole, data.at(i));
        items.append(item);
    }
    // Set up before the tree holds them, and handed over together: the view
    // hears of one insertion instead of one per row and per cell.
    addTopLevelItems(items);
    return first;
}

QTreeWidgetItem *CtList::rowItem(int row) const
{
    return row >= 0 && row < topLevelItemCount() ? topLevelItem(row) : nullptr;
}

QString CtList::RowData(int row) const
{
    const QTreeWidgetItem *item = rowItem(row);
    return item ? item->data(0, kDataRole).toString() : QString();
}

void CtList::setRowData(int row, const QString &data)
{
    if (QTreeWidgetItem *item = rowItem(row))
        item->setData(0, kDataRole, data);
}

QString CtList::CellText(int row, int column) const
{
    const QTreeWidgetItem *item = rowItem(row);
    const int c = columnIndex(column);
    return item && c >= 0 ? item->text(c) : QString();
}

void CtList::setCellText(int row, int column, const QString &text)
{
    QTreeWidgetItem *item = rowItem(row);
    const int c = columnIndex(column);
    if (item && c >= 0)
        item->setText(c, text);
}

// ---- Pictures ----

int CtList::addPicture(const QIcon &picture)
{
    // An icon made from a missing file is not null, but it has nothing to draw.
    if (picture.isNull() || picture.pixmap(QSize(16, 16)).isNull())
        return 0;
    m_pictures.append(picture);
    return int(m_pictures.size());
}

int CtList::CellIcon(int row, int column) const
{
    const QTreeWidgetItem *item = rowItem(row);
    const int c = columnIndex(column);
    return item && c >= 0 ? item->data(c, kPictureRole).toInt() : 0;
}

void CtList::setCellIcon(int row, int column, int picture)
{
    QTreeWidgetItem *item = rowItem(row);
    const int c = columnIndex(column);
    if (!item || c < 0)
        return;
    if (picture >= 1 && picture <= m_pictures.size()) {
        item->setIcon(c, m_pictures.at(picture - 1));
        item->setData(c, kPictureRole, picture);
    } else {
        item->setIcon(c, QIcon());
        item->setData(c, kPictureRole, 0);
    }
}

// ---- Check marks and the current row ----

int CtList::CheckState(int row) const
{
    const QTreeWidgetItem *item = rowItem(row);
    return item && item->data(0, Qt::CheckStateRole).toInt() == Qt::Checked ? 1 : 0;
}

void CtList::setCheckState(int row, int state)
{
    if (QTreeWidgetItem *item = rowItem(row))
        item->setData(0, Qt::CheckStateRole, state != 0 ? Qt::Checked : Qt::Unchecked);
}

int CtList::CurrentRow() const
{
    const QTreeWidgetItem *item = currentItem();
    return item ? indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)) : -1;
}

void CtList::setCurrentRow(int row)
{
    if (QTreeWidgetItem *item = rowItem(row)) {
        setCurrentItem(item);
        scrollToItem(item);
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
}

// ---- Keys ----

void CtList::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept(); // ours, not the window's default button
        emit keyPress(13);
        return;
    default: break;
    }
    QTreeWidget::keyPressEvent(e);
    const QString text = e->text();
    if (e->key() == Qt::Key_Escape)
        emit keyPress(27);
    else if (e->key() == Qt::Key_Backspace)
        emit keyPress(8);
    else if (text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127) {
        e->accept();
        emit keyPress(text.at(0).unicode());
    }
}

// ---- Printing ----

namespace {

struct PrintColumn {
    int index;   // 0-based column of the list
    qreal width; // on the page
    QString label;
};

} // namespace

bool CtList::PrintList(QPagedPaintDevice *device)
{
    if (!device)
        return false;
    QPainter p;
    if (!p.begin(device))
        return false;
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF page(QPointF(0, 0), QSizeF(device->width(), device->height()));
    QFont body = font();
    body.setPointSizeF(10);
    QFont bold = body;
    bold.setBold(true);
    QFont titleFont = bold;
    titleFont.setPointSizeF(16);
    QFont subFont = body;
    subFont.setPointSizeF(11);
    const QFontMetricsF bodyFm(body, device), boldFm(bold, device);
    const qreal pad = bodyFm.height() * 0.3;
    const qreal lineWidth = qMax<qreal>(1.0, device->logicalDpiX() / 150.0);

    // The visible columns, in the proportions they have on screen; a check
    // column gets at least the room of its mark.
    QList<PrintColumn> cols;
    qreal screenTotal = 0;
    for (int c = 0; c < columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        const int w = qMax(columnWidth(c), 1);
        cols.append({c, qreal(w), headerItem() ? headerItem()->text(c) : QString()});
        screenTotal += w;
    }
    for (PrintColumn &col : cols)
        col.width = page.width() * col.width / screenTotal;
    const qreal markW = bodyFm.horizontalAdvance(QStringLiteral("[x]")) + 2 * pad;
    if (!cols.isEmpty() && cols.first().index == 0 && cols.first().width < markW && cols.size() > 1) {
        const qreal take = markW - cols.first().width;
        cols.first().width = markW;
        cols[1].width -= take;
    }

    auto cellText = [this](const QTreeWidgetItem *item, int c) {
        QString t = item->text(c);
        if (c == 0) {
            const QVariant mark = item->data(0, Qt::CheckStateRole);
            if (mark.isValid() && !mark.isNull())
                t = (mark.toInt() == Qt::Checked ? QStringLiteral("[x]") : QStringLiteral("[ ]"))
                    + (t.isEmpty() ? QString() : QStringLiteral(" ") + t);
        }
        return t;
    };
    const int wrap = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
    auto rowHeight = [&](const QTreeWidgetItem *item, const QFontMetricsF &fm) {
        qreal h = fm.height();
        for (const PrintColumn &col : cols) {
            const QString t = item ? cellText(item, col.index) : col.label;
            const QRectF r = fm.boundingRect(QRectF(0, 0, qMax<qreal>(col.width - 2 * pad, 1), 1e6), wrap, t);
            h = qMax(h, r.height());
        }
        return h + 2 * pad;
    };

    // Lay the rows out on pages first, so that each page can say how many there are.
    const qreal titleH = (m_printTitle.isEmpty() ? 0 : QFontMetricsF(titleFont, device).height() * 1.1)
        + (m_printSubTitle.isEmpty() ? 0 : QFontMetricsF(subFont, device).height())
        + bodyFm.height() * 0.8;
    const qreal headerH = rowHeight(nullptr, boldFm);
    const qreal footerH = bodyFm.height() * 1.8;
    QList<QList<int>> pages{{}};
    qreal y = page.top() + titleH + headerH;
    for (int r = 0; r < topLevelItemCount(); ++r) {
        const qreal h = rowHeight(topLevelItem(r), bodyFm);
        if (y + h > page.bottom() - footerH && !pages.last().isEmpty()) {
            pages.append(QList<int>());
            y = page.top() + headerH;
        }
        pages.last().append(r);
        y += h;
    }

    const QColor gridLine(160, 160, 160);
    auto drawRow = [&](qreal top, qreal h, const QTreeWidgetItem *item, const QFont &f) {
        p.setFont(f);
        qreal x = page.left();
        for (const PrintColumn &col : cols) {
            const QRectF cell(x, top, col.width, h);
            if (!item)
                p.fillRect(cell, QColor(230, 230, 230));
            p.setPen(Qt::black);
            p.save();
            p.setClipRect(cell);
            p.drawText(cell.adjusted(pad, pad, -pad, -pad), wrap, item ? cellText(item, col.index) : col.label);
            p.restore();
            p.setPen(QPen(gridLine, lineWidth));
            p.drawRect(cell);
            x += col.width;
        }
    };

    for (int n = 0; n < pages.size(); ++n) {
        if (n > 0 && !device->newPage()) {
            p.end();
            return false;
        }
        qreal top = page.top();
        if (n == 0) {
            if (!m_printTitle.isEmpty()) {
                p.setFont(titleFont);
                p.setPen(Qt::black);
                const qreal h = QFontMetricsF(titleFont, device).height();
                p.drawText(QRectF(page.left(), top, page.width(), h), Qt::AlignLeft | Qt::TextSingleLine,
                           m_printTitle);
                top += h * 1.1;
            }
            if (!m_printSubTitle.isEmpty()) {
                p.setFont(subFont);
                p.setPen(Qt::black);
                const qreal h = QFontMetricsF(subFont, device).height();
                p.drawText(QRectF(page.left(), top, page.width(), h), Qt::AlignLeft | Qt::TextSingleLine,
                           m_printSubTitle);
                top += h;
            }
            top += bodyFm.height() * 0.8;
        }
        drawRow(top, headerH, nullptr, bold);
        top += headerH;
        for (int r : pages.at(n)) {
            const QTreeWidgetItem *item = topLevelItem(r);
            const qreal h = rowHeight(item, bodyFm);
            drawRow(top, qMin(h, page.bottom() - footerH - top), item, body);
            top += h;
        }
        p.setFont(body);
        p.setPen(Qt::black);
        p.drawText(QRectF(page.left(), page.bottom() - bodyFm.height(), page.width(), bodyFm.height()),
                   Qt::AlignRight | Qt::TextSingleLine,
                   QStringLiteral("Page %1 of %2").arg(n + 1).arg(pages.size()));
    }
    return p.end();
}
