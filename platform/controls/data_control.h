#pragma once
// The data control: one window's view of the rows of one record source, with a
// current row whose fields are bound to the window's controls.
//
// How a detail window uses it
// ---------------------------
//   DataDetail = new DataControl(this);                 // a child of the window
//   DataDetail->setObjectName("DataDetail");
//   DataDetail->setDatabaseName(gDataDBPath);           // or setDatabase(gDataDB.get())
//   DataDetail->bind(txtPet[0], "pet_name");            // line/plain-text edits, labels,
//   DataDetail->bind(chkSomething, "event_all_day");    // check boxes, DatePicker, DbCombo,
//   DataDetail->bind(rtbpet[0], "pet_feeding_rtf");     // and any widget with a USER property
//   connect(DataDetail, &DataControl::validate, this, &frm_pet_detail::DataDetail_Validate);
//
//   // the handler, after creating the window:
//   w->DataDetail->setRecordSource("SELECT * FROM tbl_pet WHERE pet_id = ?", {petID});
//   w->DataDetail->refresh();                          // raises validate(MoveFirst, false)
//   if (w->DataDetail->recordCount() == 0) { ...not found...; }
//   w->DataDetail->edit();                             // editMode() == 1
//   // or, for a new row: setRecordSource("SELECT * FROM tbl_contact WHERE contact_id = 0"),
//   // refresh(), addNew()                              // editMode() == 2
//
//   // Save & Close:
//   if (DataDetail->editMode() != DataControl::EditNone && valid) {
//       mAskToSave = askFlag;
//       DataDetail->update();                           // raises validate(Update, save), writes
//       DataDetail->setBookmark(DataDetail->lastModified());
//       savedID = DataDetail->field("pet_id").toInt();
//   }
//   close();                                           // raises validate(Unload, save)
//
//   void frm_pet_detail::DataDetail_Validate(int &action, bool &save) { ... }
//
//   // A list of rows with a grid and the row's fields below (sub-records):
//   grid->setDataSource(Datatbl_diary);
//   grid->setColumns({{"diary_id", ""}, {"diary_date", "Date"}, ...}); // "" hides
//   connect(grid, &DataGrid::rowColChange, ...{ Datatbl_diary->edit(); ... });
//   Add/Save:  Datatbl_diary->addNew();         // writes the row first if it changed
//   Cancel:    Datatbl_diary->updateControls(); Datatbl_diary->addNew();
//   Delete:    Datatbl_diary->remove(); Datatbl_diary->addNew();
//   // and in its validate handler, for a new row:
//   if (Datatbl_diary->editMode() == DataControl::EditAdd)
//       Datatbl_diary->setField("diary_pet_id", DataDetail->field("pet_id"));
//
// What it promises
// ----------------
// - The record source is a table or view name, or a SELECT with ? placeholders
//   bound to the given values. It is read whole (a snapshot) at refresh();
//   nothing of the file stays locked: no statement is left open and no
//   transaction is held between calls, so the other program can always write.
// - Edits live in the bound controls and in the row buffer until a write. A
//   write goes to the base table by its key, with bound values: a table named
//   in FROM is its own base; a view (qry_vaccine) writes to the one table whose
//   columns it shows in full (tbl_vaccine, by vaccine_id), or to the table that
//   setBaseTable() names. Anything else (DISTINCT lists, joins of parts) is
//   read-only, as is a control set read-only for lookups.
// - Only what changed is written: the bound controls whose DataChanged is set,
//   and the fields set by code with setField(). An added row leaves the other
//   columns to the table's defaults and gets its key; the row is read back
//   after every write, so the defaults and the key show at once.
// - validate(action, save) is raised before the current row is left or written:
//   refresh (MoveFirst), the moves (MoveFirst..MoveLast, Bookmark, Find),
//   addNew (AddNew), update (Update), remove (Delete) and the window's close
//   (Unload). `save` comes in True when a bound control changed. The handler
//     - sets action = ActionCancel to stop the move/write/delete (at Unload it
//       only stops the write: the window's own closeEvent, which runs after the
//       event, decides whether the window stays open);
//     - sets save = False to drop the changes: nothing is written, the controls
//       get the stored values back, and an added row is abandoned;
//     - may assign fields with setField() (new row's parent id, dates...); they
//       are written with the row.
//   When save stays True on a move, on addNew or at Unload, the pending row is
//   written first ("a write the data control starts on its own"); a failure
//   is shown in the error report and the move (or the close) does not happen.
//   update() writes a row in edit or add mode even when no control changed.
//   Because refresh() raises the event, a window that arms a flag at its first
//   validation (mAskToSave) is armed once its record is loaded; a window that
//   must start unarmed clears the flag after the load.
// - Typing does not change editMode(): a row in EditNone whose controls
//   changed (dataChanged(), the record's "modified" status) is written to by
//   update() or by leaving it, as if edit() had been called.
// - Giving a new row starting values: set them with setField() after addNew().
//   They show in the bound controls and go with the row when it is written,
//   but by themselves do not make the row count as changed, so leaving an
//   untouched new row writes nothing. A value a control gets from code
//   (setText, setChecked, ...) counts as a change, as a user's typing does;
//   setDataChanged(control, false) takes that back.
// - Positions are counted from 0. A bookmark is a number that names one row of
//   this control for its life; lastModified() is the bookmark of the row
//   written last. While adding, field(key) is the key the row will get.
// - Values: True is written as -1 and any non-zero value reads as True; dates
//   and times from DatePicker (or QDateEdit) are written as the files' text;
//   an empty text bound to a numeric column is written as Null. A text box
//   gets the column's width (VARCHAR(n)) as its maximum length.
// - Bind the controls before the first refresh(); every load (refresh, move,
//   addNew, updateControls) puts the row's values into them.
// - Failures return false and leave lastError(): 3020 update without a row
//   being edited, 3021 no current record, 3027 read-only, 3167 the row was
//   deleted meanwhile, 3426 cancelled by the validate event, and the
//   database's own numbers for what the file refused.
// - Close the window with close(), not reject()/done()/accept(): the data
//   control sees the close event before the window's closeEvent() and raises
//   Unload there (hiding a dialog sends no close event). Esc in a dialog does
//   nothing, so it neither hides the window unasked nor writes.

#include "platform/db/database.h"

#include <QAbstractTableModel>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <utility>
#include <vector>

class QWidget;
class DataRecordModel;

class DataControl : public QObject {
    Q_OBJECT
public:
    // The actions validate() reports; 0 cancels.
    enum Action : int {
        ActionCancel = 0,
        ActionMoveFirst = 1,
        ActionMovePrevious = 2,
        ActionMoveNext = 3,
        ActionMoveLast = 4,
        ActionAddNew = 5,
        ActionUpdate = 6,
        ActionDelete = 7,
        ActionFind = 8,
        ActionBookmark = 9,
        ActionClose = 10,
        ActionUnload = 11,
    };
    enum EditMode : int { EditNone = 0, EditInProgress = 1, EditAdd = 2 };

    explicit DataControl(QObject *parent = nullptr);
    ~DataControl() override;

    // The file: an open database, or the path of one that the program has open
    // (looked up through the resolver the program installs). Used from the
    // next refresh() on.
    void setDatabase(db::Database *database);
    void setDatabaseName(const QString &path);
    QString databaseName() const { return m_databaseName; }
    static void setDatabaseResolver(std::function<db::Database *(const QString &path)> resolver);

    // A table or view name, or a SELECT whose ? placeholders take `params`.
    void setRecordSource(const QString &source, const QVariantList &params = {});
    QString recordSource() const { return m_source; }
    // Names the table and key that writes go to, for a source whose base table
    // cannot be told from the statement.
    void setBaseTable(const QString &table, const QString &key);
    // A read-only control never writes (lookups).
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const;
    QString baseTable() const { return m_baseTable; }
    QString keyField() const { return m_keyField; }

    // Reads the record source again and makes the first row current. False,
    // with lastError(), when it could not be read; an empty source is no error.
    bool refresh();

    // ---- the rows
    int recordCount() const;
    bool isEOF() const;
    bool isBOF() const;
    int absolutePosition() const; // -1 without a current row, and while adding
    QStringList fieldNames() const { return m_fields; }
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    // The current row's field (the buffer while editing or adding); Null
    // without a current row or for an unknown name.
    QVariant field(const QString &name) const;
    // A field of any row, by position.
    QVariant value(int row, const QString &name) const;
    QVariant value(int row, int column) const;
    // The same without a copy, for looking through a long list; `row` and
    // `column` must be in range.
    const QVariant &valueAt(int row, int column) const { return m_rows[size_t(row)].values.at(column); }
    int fieldIndex(const QString &name) const;

    // ---- moving; each raises validate() first, and false means it did not move
    bool moveFirst();
    bool moveLast();
    bool moveNext();
    bool movePrevious();
    bool moveTo(int row);
    // The first row whose `field` equals `value` (text without regard to case,
    // numbers by value); false, without moving, when none does.
    bool findFirst(const QString &field, const QVariant &value);
    // Moves to the row with this key value.
    bool moveToKey(const QVariant &key);
    QVariant bookmark() const; // the current row's; null without one
    bool setBookmark(const QVariant &bookmark);
    QVariant lastModified() const { return m_lastModified; }

    // ---- editing
    int editMode() const { return m_mode; }
    bool addNew();
    bool edit();
    // Writes the current row (see above); in EditNone it writes changed
    // controls to the current row, and with nothing changed it fails (3020).
    bool update();
    // Deletes the current row from the base table; afterwards there is no
    // current row until the next move or addNew().
    bool remove();
    // Abandons the edit or the added row; the controls show the stored values.
    void cancelUpdate();
    // Puts the stored values (and the fields set by code) back into the
    // controls; the edit mode stays.
    void updateControls();
    // Sets a field of the row being edited or added (3020 otherwise); the
    // controls bound to it show the value.
    bool setField(const QString &name, const QVariant &value);

    // ---- bound controls
    // Binds `control` to `field`. Labels hold the field as their text; any
    // other widget through its USER property and that property's notify signal.
    void bind(QWidget *control, const QString &field);
    void unbind(QWidget *control);
    // Converts between the stored value and the control's value, both ways, in
    // place of the plain conversion (say, a birthday shown in the user's form).
    void setDataFormat(QWidget *control, std::function<QVariant(const QVariant &stored)> toControl,
                       std::function<QVariant(const QVariant &shown)> toField);
    // Lets `control` take at least `length` characters where its column was
    // declared narrower: a date in the user's own form may be longer than the
    // column was made for, and the file keeps it whole.
    void setMinimumLength(QWidget *control, int length);
    bool dataChanged() const;
    bool dataChanged(QWidget *control) const;
    void setDataChanged(QWidget *control, bool changed);

    // The rows as a table for grids and lists (column = field), kept in step.
    QAbstractItemModel *model() const;

    const db::DbError &lastError() const { return m_error; }

signals:
    // Before the current row is left or written; see the note above.
    void validate(int &action, bool &save);
    // A row became current (or none did: while adding, after a delete).
    void reposition();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void controlChanged();
    void controlDestroyed(QObject *control);

private:
    struct Binding;
    struct Row {
        qint64 serial = 0;
        QVariantList values;
    };
    friend class DataRecordModel;

    db::Database *database();
    db::Database *writableDatabase();
    void watchWindow();
    bool pendingChanges() const;
    bool leaveRow(int action);
    bool writeRow(bool reportFailure);
    bool raiseValidate(int &action, bool &save);
    void dropChanges();
    void pushToControls();
    void pushField(int index);
    void pushBinding(Binding &b);
    QVariant controlValue(const Binding &b) const;
    void clearChangeFlags();
    Binding *bindingFor(QWidget *control);
    const Binding *bindingFor(QWidget *control) const;
    bool positionOn(int row, int action);
    bool readSchema(db::Database *d);
    QString tableShownInFull(db::Database *d) const;
    QVariantList readBack(db::Database *d, const QVariant &key) const;
    QVariantList defaultsForNewRow(db::Database *d) const;
    bool fail(int number, const QString &description);
    bool hasCurrent() const;
    void afterWindowClose(bool *keepOpen);

    db::Database *m_database = nullptr;
    QString m_databaseName;
    QString m_source;
    QVariantList m_params;
    QString m_explicitTable, m_explicitKey;
    QString m_fromObject; // the table or view the source reads
    QString m_baseTable, m_keyField;
    bool m_readOnly = false;

    QStringList m_fields;
    std::vector<Row> m_rows;
    std::vector<bool> m_writable; // per field: a column of the base table
    std::vector<bool> m_numeric;  // per field: a numeric column
    std::vector<int> m_maxLength; // per field: VARCHAR(n), 0 none
    // The base table's default values of the fields read, as the schema's
    // expressions: (field index, expression), for a new row.
    std::vector<std::pair<int, QString>> m_defaults;
    qint64 m_nextSerial = 1;
    int m_pos = -1;         // the current row; -1 none
    bool m_removed = false; // the current row was just deleted
    int m_mode = EditNone;
    QVariantList m_buffer;
    std::vector<bool> m_set; // buffer fields set by code
    QVariant m_lastModified;

    std::vector<Binding *> m_bindings;
    int m_pushing = 0; // controls are being loaded: no change flags
    bool m_inValidate = false;
    QPointer<QWidget> m_window;
    DataRecordModel *m_model = nullptr;
    db::DbError m_error;
};
