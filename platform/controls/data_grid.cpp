#include "platform/controls/data_grid.h"

#include "platform/dates.h"
#include "platform/controls/data_control.h"

#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QRegularExpression>
#include <QStyledItemDelegate>

namespace {

// The grid's captions over the data control's field names.
class CaptionModel : public QIdentityProxyModel {
public:
    CaptionModel(const QList<DataGrid::Column> *columns, QObject *parent)
        : QIdentityProxyModel(parent), m_columns(columns)
    {
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        const QVariant field = QIdentityProxyModel::headerData(section, orientation, role);
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return field;
        for (const DataGrid::Column &c : *m_columns) {
            if (c.field.compare(field.toString(), Qt::CaseInsensitive) == 0)
                return c.caption;
        }
        return field;
    }

private:
    const QList<DataGrid::Column> *m_columns;
};

// Dates and date-times as the files hold them, shown in the user's form.
class DateTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        static const QRegularExpression isoDate(QStringLiteral(R"(^\d{4}-\d{2}-\d{2}$)"));
        static const QRegularExpression isoDateTime(QStringLiteral(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}$)"));
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString();
            if (isoDate.match(text).hasMatch() && dateFromDb(text).isValid())
                return dateFromDb(text).toString(vbShortDateFormat());
            if (isoDateTime.match(text).hasMatch() && dateTimeFromDb(text).isValid()) {
                const QDateTime t = dateTimeFromDb(text);
                return t.date().toString(vbShortDateFormat()) + QLatin1Char(' ')
                       + locale.toString(t.time(), QLocale::ShortFormat);
            }
        }
        return QStyledItemDelegate::displayText(value, locale);
    }
};

} // namespace

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_proxy(new CaptionModel(&m_columns, this))
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new DateTextDelegate(this));
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setWordWrap(false);
    setModel(m_proxy);
}

void DataGrid::setDataSource(DataControl *source)
{
    if (m_source) {
        disconnect(m_source, nullptr, this, nullptr);
        disconnect(m_source->model(), nullptr, this, nullptr);
    }
    m_source = source;
    ++m_syncing;
    m_proxy->setSourceModel(source ? source->model() : nullptr);
    --m_syncing;
    if (source) {
        connect(source, &DataControl::reposition, this, &DataGrid::followSource);
        connect(source->model(), &QAbstractItemModel::modelReset, this, &DataGrid::applyColumns);
        connect(source->model(), &QAbstractItemModel::rowsInserted, this, &DataGrid::followSource);
        connect(source->model(), &QAbstractItemModel::rowsRemoved, this, &DataGrid::followSource);
    }
    applyColumns();
}

void DataGrid::setColumns(const QList<Column> &columns)
{
    m_columns = columns;
    applyColumns();
}

void DataGrid::applyColumns()
{
    const int n = m_proxy->columnCount();
    for (int c = 0; c < n; ++c) {
        const QString field =
            m_proxy->sourceModel() ? m_proxy->sourceModel()->headerData(c, Qt::Horizontal).toString() : QString();
        bool shown = m_columns.isEmpty();
        for (const Column &col : std::as_const(m_columns)) {
            if (col.field.compare(field, Qt::CaseInsensitive) == 0)
                shown = !col.caption.isEmpty();
        }
        setColumnHidden(c, !shown);
    }
    followSource();
}

int DataGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void DataGrid::refresh()
{
    viewport()->update();
    followSource();
}

void DataGrid::followSource()
{
    if (!selectionModel())
        return;
    ++m_syncing;
    const int row = m_source ? m_source->absolutePosition() : -1;
    if (row >= 0) {
        int column = 0;
        while (column < m_proxy->columnCount() - 1 && isColumnHidden(column))
            ++column;
        const QModelIndex at = m_proxy->index(row, column);
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(at);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->clearCurrentIndex();
    }
    --m_syncing;
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !m_source || !current.isValid())
        return;
    const int row = current.row();
    if (row == m_source->absolutePosition() && m_source->editMode() != DataControl::EditAdd)
        return;
    ++m_syncing;
    // A new row being typed is abandoned, not saved, when the user picks another.
    if (m_source->editMode() == DataControl::EditAdd)
        m_source->cancelUpdate();
    const bool moved = m_source->moveTo(row);
    --m_syncing;
    followSource();
    if (moved)
        emit rowColChange();
}
