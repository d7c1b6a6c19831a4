#pragma once
// The data-bound grid: a read-only table of a data control's rows, one column
// a field. Choosing a row (a click, the arrow keys) moves the data control
// there, which raises its validate event like any move; when the event
// refuses the move, the grid goes back to the control's row. Choosing a row
// while the data control is adding a new row abandons that row first (it is
// not written), so a half-typed entry is never saved by a click in the list.
// While the control adds, or has no current row, the grid has none either.
//
// Dates held as the files' text show in the user's short form.

#include <QList>
#include <QPointer>
#include <QString>
#include <QTableView>

#include "platform/controls/data_control.h"
class QIdentityProxyModel;

class DataGrid : public QTableView {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString caption; // "" hides the column (keys and bookkeeping)
    };

    explicit DataGrid(QWidget *parent = nullptr);

    void setDataSource(DataControl *source);
    DataControl *DataSource() const { return m_source; }

    // The columns in the order of the data control's fields: those named here
    // show under their captions, all others are hidden.
    void setColumns(const QList<Column> &columns);

    // The current row (0 = the first), -1 for none.
    int Row() const;
    // Shows the data control's rows and current row again.
    void refresh();

signals:
    // The user chose another row (after the data control moved there).
    void rowColChange();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void applyColumns();
    void followSource();

    QPointer<DataControl> m_source;
    QIdentityProxyModel *m_proxy;
    QList<Column> m_columns;
    int m_syncing = 0;
};
