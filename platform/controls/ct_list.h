#pragma once
// The list of the day list and the reminder window: rows made from one text
// whose cells are separated by ";", a data text per row, cell icons from the
// list's own pictures, an optional check column, and a printout of the rows.
//
// Rows are counted from 0, columns and pictures from 1.
//
// The check column is drawn from check-state data only: the user cannot toggle
// it through the view. The owner's handlers do that, on a row click and on the
// keys the list reports, so a click changes the mark exactly once.
//
// The rows live in a table model of the list's own (model()), held as plain
// vectors, so that a fill of many thousand rows makes no object per row; the
// view has uniform row heights and paints only the rows it shows.

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTreeView>

class CtListModel;
class QPagedPaintDevice;
class QPainter;

class CtList : public QTreeView {
    Q_OBJECT
public:
    explicit CtList(QWidget *parent = nullptr);
    ~CtList() override;

    // The columns: their header labels and, where given, their widths in pixels.
    void setColumns(const QStringList &labels, const QList<int> &widths = {});
    bool ColumnVisible(int column) const;
    void setColumnVisible(int column, bool visible);

    // With check boxes on, every row shows a box in column 1, unmarked when added.
    bool CheckBoxes() const;
    void setCheckBoxes(bool on);

    // Removes every row (columns and pictures stay).
    void clearRows();
    // Adds a row from one text whose cells are separated by ";" (empty cells
    // kept; cells beyond the columns are dropped); returns the new row's index.
    int addRow(const QString &cells);
    // Adds many rows at once, each from its cells as they are (one text per
    // column, no ";" read into them; missing cells empty, surplus dropped) with
    // its data text from `data` (none where `data` is shorter). The list takes
    // them in one step, so a long fill costs no more per row than a short one.
    // Returns the index of the first row added.
    int addRows(const QList<QStringList> &rows, const QStringList &data = {});
    int RowCount() const;

    QString RowData(int row) const;
    void setRowData(int row, const QString &data);

    QString CellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);

    // Adds a picture to the list's own pictures: its index from 1, or 0 for a
    // null picture (which is none).
    int addPicture(const QIcon &picture);
    int PictureCount() const;
    // A cell's icon as an index into the pictures; 0 = none.
    int CellIcon(int row, int column) const;
    void setCellIcon(int row, int column, int picture);

    // The mark of a row's check column: 1 marked, 0 not (any other value marks).
    int CheckState(int row) const;
    void setCheckState(int row, int state);

    // -1 when there is no current row; setting -1 clears it.
    int CurrentRow() const;
    void setCurrentRow(int row);

    QString PrintTitle() const { return m_printTitle; }
    void setPrintTitle(const QString &title) { m_printTitle = title; }
    QString PrintSubTitle() const { return m_printSubTitle; }
    void setPrintSubTitle(const QString &title) { m_printSubTitle = title; }

    // Prints the title, the subtitle and the visible columns as a table, with
    // as many pages as the rows need, onto a device the caller set up (a
    // QPrinter or QPdfWriter). False when the device cannot be painted on.
    bool PrintList(QPagedPaintDevice *device);

signals:
    // A key typed in the list, by its character code (13 Enter, 32 Space, 27
    // Esc, 8 Backspace); keys without a character (arrows, ...) move the current
    // row instead. The list takes Enter itself, so it never presses a window's
    // default button.
    void keyPress(int keyCode);
    // The current row changed (by mouse, keyboard or code) to `row`.
    void rowSelected(int row);
    void rowClick(int row);
    void rowDblClick(int row);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    int columnCount() const;
    int columnIndex(int column) const; // 0-based, or -1 when out of range

    CtListModel *m_rows = nullptr;
    int m_reportedRow = -1; // the row rowSelected last named
    QString m_printTitle;
    QString m_printSubTitle;
};
