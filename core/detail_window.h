#pragma once
// What the record windows (pet, person, picture, event) share: one row of the
// data file bound to the data control DataDetail, and the way that row is
// saved, undone, deleted and guarded when the window closes.
//
// The protocol:
// - A write the data control starts on its own (closing with changes) asks
//   "Save Changes?" first while mAskToSave is set. Each validation that does
//   not ask sets it, so it is armed once the row is loaded; subSave sets it to
//   its `ask` argument just before it writes. No drops the changes.
// - The window's own check of the fields (checkFields) runs before subSave
//   writes and again when the window closes with changes it is to write; a
//   failed check at closing keeps the window open once (mKeepOpen).
// - A write the file refuses is reported; the window stays with what was
//   typed, and the next close asks before it writes again.
// - After a delete nothing more is asked, checked or written.
// Each window supplies its fields, its check, its texts and what follows a
// write through the virtual functions below.

#include <QDialog>

struct RecordMenuItems;
struct RecordToolItems;

class DataControl;

class DetailWindow : public QDialog {
    Q_OBJECT
public:
    explicit DetailWindow(QWidget *parent = nullptr);
    ~DetailWindow() override;

    DataControl *DataDetail = nullptr;

    // Ask before a write the data control starts on its own; refuse the next close.
    bool mAskToSave = false;
    bool mKeepOpen = false;

    // Checks and writes the row when it has changes to write; `ask` is the
    // "Save Changes?" question for the write, `close` closes the window
    // afterwards. A refused write is reported and keeps the window open.
    void subSave(bool ask, bool close);
    // Deletes the row through the window's handler (which asks) and closes.
    void subDelete();
    // The fields show the stored row again; pending changes are dropped.
    void subUndo();
    // The data control's validation, before it writes, moves, deletes or closes.
    void DataDetail_Validate(int &action, bool &save);

    // The id of the row this window last wrote, or opened as a stored row;
    // 0 when nothing of it is in the file (a new row not written, changes
    // dropped, the row deleted), so that a caller never points at a row that
    // is not there. The handler that opens a stored row names it.
    long savedRecordID() const { return m_savedRecordID; }
    void setSavedRecordID(long id) { m_savedRecordID = id; }

protected:
    // The items every record window's menu bar and toolbar have: Save & Close,
    // Delete, Print, Close, Undo and Help (the window's page `helpContext`).
    // True when `id` was one of them and has been carried out.
    bool recordMenuItem(const RecordMenuItems &m, int id, int helpContext);
    bool recordToolItem(const RecordToolItems &t, int id, int helpContext);
    // Prints the row, as the window's handler prints it.
    virtual void subPrint() = 0;
    // The window's check of its fields; false once the user has been told.
    virtual bool checkFields() { return true; }
    // subSave's check failed: true when Save & Close still goes on to close
    // (the close then guards the changes).
    virtual bool afterFailedCheck() { return false; }
    // Fields whose text is still being read (a date being typed): false when
    // one was refused; nothing is saved and the window stays.
    virtual bool commitTypedFields() { return true; }
    // Whether subSave has anything to write.
    virtual bool hasChangesToSave() const;
    // The caption and the id of the row on screen.
    virtual QString rowTitle() const = 0;
    virtual long rowId() const = 0;
    // After subSave wrote the row (caption and savedRecordID() are set).
    virtual void rowWritten() {}
    // After subSave's update dropped the changes ("Save Changes?" answered
    // No); `adding`: the row was new. True when Save & Close goes on to close.
    virtual bool rowNotWritten(bool adding);
    // "Save Changes?" was answered No for `action`.
    virtual void changesDropped(int action);
    // The write goes on: the fields the window sets on every write.
    virtual void aboutToWrite() {}
    // The handler's delete of the row, with its question; true when deleted.
    virtual bool deleteRow() = 0;
    // The row is gone: what else the window drops with it.
    virtual void rowDeleted() {}
    // After subUndo put the stored values back: what follows from them.
    virtual void rowShown() {}
    // The window closes after the data control has had its say; false keeps
    // it open. The base clears the main window's status text.
    virtual bool closing();

    bool rowDeletedAlready() const { return m_deleted; }

    void closeEvent(QCloseEvent *event) override;

private:
    bool m_deleted = false;
    long m_savedRecordID = 0;
    // "Save Changes?" was answered No during the write subSave started.
    bool m_answeredNo = false;
};
