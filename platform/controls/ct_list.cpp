#include "platform/controls/ct_list.h"
#include "platform/printing.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPagedPaintDevice>
#include <QPainter>

#include <vector>

namespace {

constexpr int kDataRole = Qt::UserRole; // the row's data text, on column 1

} // namespace

// The rows of a CtList: a vector of the rows' cell texts and, beside it, each
// row's data text and check mark and (once any cell has one) each cell's
// picture. Rows are 0-based here, as are columns.
class CtListModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_cells.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_columns; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= m_columns)
            return {};
        const int row = index.row();
        const int column = index.column();
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return text(row, column);
        case Qt::DecorationRole: {
            const int picture = icon(row, column);
            return picture > 0 ? QVariant(m_pictures.at(picture - 1)) : QVariant();
        }
        case Qt::CheckStateRole:
            if (column == 0 && m_checkBoxes)
                return int(m_checks[size_t(row)] ? Qt::Checked : Qt::Unchecked);
            return {};
        case kDataRole: return column == 0 ? QVariant(m_data.at(row)) : QVariant();
        default: return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_labels.size())
            return m_labels.at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    // Selectable and enabled, but not user-checkable: a check mark changes only
    // when the owner sets it.
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
    }

    // ---- Columns ----

    QString label(int column) const
    {
        return column >= 0 && column < m_labels.size() ? m_labels.at(column) : QString();
    }

    // New columns come empty at the end of every row; dropped ones take their cells.
    void setLabels(const QStringList &labels)
    {
        const int columns = qMax(1, int(labels.size()));
        m_labels = labels;
        if (columns == m_columns) {
            emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
            return;
        }
        if (columns > m_columns)
            beginInsertColumns({}, m_columns, columns - 1);
        else
            beginRemoveColumns({}, columns, m_columns - 1);
        const int rows = rowCount();
        std::vector<int> icons(m_icons.empty() ? 0 : size_t(rows) * size_t(columns), 0);
        for (int r = 0; r < rows; ++r) {
            m_cells[r].resize(columns);
            for (int c = 0; c < columns && c < m_columns && !icons.empty(); ++c)
                icons[size_t(r) * size_t(columns) + size_t(c)] = icon(r, c);
        }
        const bool wider = columns > m_columns;
        m_icons = std::move(icons);
        m_columns = columns;
        if (wider)
            endInsertColumns();
        else
            endRemoveColumns();
    }

    // ---- Rows ----

    void clear()
    {
        beginResetModel();
        m_cells.clear();
        m_data.clear();
        m_checks.clear();
        m_icons.clear();
        endResetModel();
    }

    // Appends the rows in one insertion, each from its cells (missing ones
    // empty, surplus dropped) and its data text from `data` where given. Rows
    // of the right length are shared as they are: a first fill copies nothing.
    int appendRows(const QList<QStringList> &rows, const QStringList &data)
    {
        const int first = rowCount();
        const qsizetype added = rows.size();
        if (added == 0)
            return first;
        beginInsertRows({}, first, first + int(added) - 1);
        if (m_cells.isEmpty())
            m_cells = rows;
        else
            m_cells.append(rows);
        for (qsizetype r = first; r < m_cells.size(); ++r) {
            if (m_cells.at(r).size() != m_columns)
                m_cells[r].resize(m_columns);
        }
        if (m_data.isEmpty() && data.size() == added)
            m_data = data;
        else
            m_data.append(data.mid(0, added));
        m_data.resize(m_cells.size());
        m_checks.resize(size_t(m_cells.size()), 0);
        if (!m_icons.empty())
            m_icons.resize(size_t(m_cells.size()) * size_t(m_columns), 0);
        endInsertRows();
        return first;
    }

    bool hasCell(int row, int column) const
    {
        return row >= 0 && row < rowCount() && column >= 0 && column < m_columns;
    }

    QString text(int row, int column) const { return m_cells.at(row).at(column); }
    void setText(int row, int column, const QString &text)
    {
        m_cells[row][column] = text;
        changed(row, column, {Qt::DisplayRole, Qt::EditRole});
    }

    QString rowData(int row) const { return m_data.at(row); }
    void setRowData(int row, const QString &data) { m_data[row] = data; }

    // ---- Pictures ----

    int addPicture(const QIcon &picture)
    {
        m_pictures.append(picture);
        return int(m_pictures.size());
    }
    int pictureCount() const { return int(m_pictures.size()); }

    int icon(int row, int column) const
    {
        return m_icons.empty() ? 0 : m_icons[size_t(row) * size_t(m_columns) + size_t(column)];
    }
    void setIcon(int row, int column, int picture)
    {
        if (picture < 1 || picture > m_pictures.size())
            picture = 0;
        if (m_icons.empty()) {
            if (picture == 0)
                return;
            m_icons.resize(size_t(m_cells.size()) * size_t(m_columns), 0);
        }
        m_icons[size_t(row) * size_t(m_columns) + size_t(column)] = picture;
        changed(row, column, {Qt::DecorationRole});
    }

    // ---- Check marks ----

    bool checkBoxes() const { return m_checkBoxes; }
    // Turning the boxes off takes every mark; turning them on shows unmarked boxes.
    void setCheckBoxes(bool on)
    {
        if (on == m_checkBoxes)
            return;
        m_checkBoxes = on;
        if (!on)
            std::fill(m_checks.begin(), m_checks.end(), 0);
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
    }
    bool checked(int row) const { return m_checkBoxes && m_checks[size_t(row)]; }
    // Without boxes a row has no mark to set.
    void setChecked(int row, bool on)
    {
        if (!m_checkBoxes)
            return;
        m_checks[size_t(row)] = on ? 1 : 0;
        changed(row, 0, {Qt::CheckStateRole});
    }

private:
    void changed(int row, int column, const QList<int> &roles)
    {
        const QModelIndex at = index(row, column);
        emit dataChanged(at, at, roles);
    }

    int m_columns = 1;
    QStringList m_labels;
    QList<QStringList> m_cells; // a row's texts, m_columns of them
    QList<QString> m_data;      // a row's data text
    std::vector<char> m_checks; // a row's mark
    std::vector<int> m_icons;   // a cell's picture from 1, 0 none; empty while no cell has one
    QList<QIcon> m_pictures;
    bool m_checkBoxes = false;
};

CtList::CtList(QWidget *parent) : QTreeView(parent), m_rows(new CtListModel(this))
{
    setModel(m_rows);
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
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        const int row = current.isValid() ? current.row() : -1;
        if (row == m_reportedRow)
            return;
        m_reportedRow = row;
        if (row >= 0)
            emit rowSelected(row);
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &at) { emit rowClick(at.row()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &at) { emit rowDblClick(at.row()); });
}

CtList::~CtList() = default;

// ---- Columns ----

void CtList::setColumns(const QStringList &labels, const QList<int> &widths)
{
    m_rows->setLabels(labels);
    for (int i = 0; i < widths.size() && i < labels.size(); ++i)
        setColumnWidth(i, widths.at(i));
}

int CtList::columnCount() const { return m_rows->columnCount(); }

int CtList::columnIndex(int column) const { return column >= 1 && column <= columnCount() ? column - 1 : -1; }

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

bool CtList::CheckBoxes() const { return m_rows->checkBoxes(); }

void CtList::setCheckBoxes(bool on) { m_rows->setCheckBoxes(on); }

// ---- Rows ----

void CtList::clearRows()
{
    m_rows->clear();
    m_reportedRow = -1;
}

int CtList::RowCount() const { return m_rows->rowCount(); }

int CtList::addRow(const QString &cells)
{
    QStringList parts = cells.split(QLatin1Char(';'), Qt::KeepEmptyParts);
    const int columns = columnCount();
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
    return m_rows->appendRows({parts}, {});
}

int CtList::addRows(const QList<QStringList> &rows, const QStringList &data)
{
    // Handed over together: the view hears of one insertion instead of one per row.
    return m_rows->appendRows(rows, data);
}

QString CtList::RowData(int row) const { return m_rows->hasCell(row, 0) ? m_rows->rowData(row) : QString(); }

void CtList::setRowData(int row, const QString &data)
{
    if (m_rows->hasCell(row, 0))
        m_rows->setRowData(row, data);
}

QString CtList::CellText(int row, int column) const
{
    const int c = columnIndex(column);
    return m_rows->hasCell(row, c) ? m_rows->text(row, c) : QString();
}

void CtList::setCellText(int row, int column, const QString &text)
{
    const int c = columnIndex(column);
    if (m_rows->hasCell(row, c))
        m_rows->setText(row, c, text);
}

// ---- Pictures ----

int CtList::addPicture(const QIcon &picture)
{
    // An icon made from a missing file is not null, but it has nothing to draw.
    if (picture.isNull() || picture.pixmap(QSize(16, 16)).isNull())
        return 0;
    return m_rows->addPicture(picture);
}

int CtList::PictureCount() const { return m_rows->pictureCount(); }

int CtList::CellIcon(int row, int column) const
{
    const int c = columnIndex(column);
    return m_rows->hasCell(row, c) ? m_rows->icon(row, c) : 0;
}

void CtList::setCellIcon(int row, int column, int picture)
{
    const int c = columnIndex(column);
    if (m_rows->hasCell(row, c))
        m_rows->setIcon(row, c, picture);
}

// ---- Check marks and the current row ----

int CtList::CheckState(int row) const { return m_rows->hasCell(row, 0) && m_rows->checked(row) ? 1 : 0; }

void CtList::setCheckState(int row, int state)
{
    if (m_rows->hasCell(row, 0))
        m_rows->setChecked(row, state != 0);
}

int CtList::CurrentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CtList::setCurrentRow(int row)
{
    if (m_rows->hasCell(row, 0)) {
        const QModelIndex at = m_rows->index(row, 0);
        setCurrentIndex(at);
        scrollTo(at);
    } else {
        setCurrentIndex(QModelIndex());
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
    QTreeView::keyPressEvent(e);
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
    QPainter p;
    if (!beginPrinting(p, device))
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
        cols.append({c, qreal(w), m_rows->label(c)});
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

    // A row's cell as printed: a check column shows its mark.
    auto cellText = [this](int row, int c) {
        QString t = m_rows->text(row, c);
        if (c == 0 && m_rows->checkBoxes())
            t = (m_rows->checked(row) ? QStringLiteral("[x]") : QStringLiteral("[ ]"))
                + (t.isEmpty() ? QString() : QStringLiteral(" ") + t);
        return t;
    };
    const int wrap = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
    // A row from 0, or -1 for the header.
    auto rowHeight = [&](int row, const QFontMetricsF &fm) {
        qreal h = fm.height();
        for (const PrintColumn &col : cols) {
            const QString t = row >= 0 ? cellText(row, col.index) : col.label;
            const QRectF r = fm.boundingRect(QRectF(0, 0, qMax<qreal>(col.width - 2 * pad, 1), 1e6), wrap, t);
            h = qMax(h, r.height());
        }
        return h + 2 * pad;
    };

    // Lay the rows out on pages first, so that each page can say how many there are.
    const qreal titleH = (m_printTitle.isEmpty() ? 0 : QFontMetricsF(titleFont, device).height() * 1.1)
                         + (m_printSubTitle.isEmpty() ? 0 : QFontMetricsF(subFont, device).height())
                         + bodyFm.height() * 0.8;
    const qreal headerH = rowHeight(-1, boldFm);
    const qreal footerH = bodyFm.height() * 1.8;
    QList<QList<int>> pages{{}};
    qreal y = page.top() + titleH + headerH;
    for (int r = 0; r < RowCount(); ++r) {
        const qreal h = rowHeight(r, bodyFm);
        if (y + h > page.bottom() - footerH && !pages.last().isEmpty()) {
            pages.append(QList<int>());
            y = page.top() + headerH;
        }
        pages.last().append(r);
        y += h;
    }

    const QColor gridLine(160, 160, 160);
    auto drawRow = [&](qreal top, qreal h, int row, const QFont &f) {
        p.setFont(f);
        qreal x = page.left();
        for (const PrintColumn &col : cols) {
            const QRectF cell(x, top, col.width, h);
            if (row < 0)
                p.fillRect(cell, QColor(230, 230, 230));
            p.setPen(Qt::black);
            p.save();
            p.setClipRect(cell);
            p.drawText(cell.adjusted(pad, pad, -pad, -pad), wrap, row >= 0 ? cellText(row, col.index) : col.label);
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
                p.drawText(QRectF(page.left(), top, page.width(), h), Qt::AlignLeft | Qt::TextSingleLine, m_printTitle);
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
        drawRow(top, headerH, -1, bold);
        top += headerH;
        for (int r : pages.at(n)) {
            const qreal h = rowHeight(r, bodyFm);
            drawRow(top, qMin(h, page.bottom() - footerH - top), r, body);
            top += h;
        }
        p.setFont(body);
        p.setPen(Qt::black);
        p.drawText(QRectF(page.left(), page.bottom() - bodyFm.height(), page.width(), bodyFm.height()),
                   Qt::AlignRight | Qt::TextSingleLine, QStringLiteral("Page %1 of %2").arg(n + 1).arg(pages.size()));
    }
    return p.end();
}
