#pragma once
// The event window: one row of tbl_event, single or repeating, added or edited
// through the data control DataDetail, with its own menu bar and toolbar.
//
// The event handler makes a new window for each event, points DataDetail at
// the row (a new one through subNewEvent), and shows it modally. Saving checks
// the fields through the handler, and writes only when something changed:
// an event opened and saved untouched keeps its acknowledged date, so the
// past occurrences of a repeating event do not fall due again. A real write
// sets the event back to not acknowledged and leaves its id in savedRecordID().

#include "core/detail_window.h"
#include "core/edit.h"

#include <QDate>
#include <array>

class CtToolBar;
class DataControl;
class DatePicker;
class DbCombo;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class VbImage;

class frm_event_detail : public DetailWindow {
    Q_OBJECT
public:
    explicit frm_event_detail(QWidget *parent = nullptr);
    ~frm_event_detail() override;

    // The two lookups of the system file behind the combos (the row is DataDetail).
    DataControl *Datatbl_reminder_units = nullptr;
    DataControl *datatbl_repeat_type = nullptr;

    QLineEdit *txtevent_name = nullptr;
    // 0 the date, 1 the time of day, 2 the "until" date; each may be empty.
    std::array<DatePicker *, 3> DTPickerEvent{};
    // 0 "Remind me in advance:", 1 "Repeat this event", 2 "All day, or at".
    std::array<QCheckBox *, 3> Check1{};
    // 0 the repeat unit, 5 the reminder's lead time; the others are unused.
    std::array<DbCombo *, 6> dbcboEvent{};
    // 0 the repeat description, 1 and 2 the stored repeat keys (hidden),
    // 3 "Every:" and 4 "Until:".
    std::array<QLabel *, 5> lblEvent{};
    QPlainTextEdit *txtEvent_notes = nullptr;
    QGroupBox *frameRepeat = nullptr;
    VbImage *ImageMain = nullptr;
    CtToolBar *ctToolBar_Menubar = nullptr;
    CtToolBar *ctToolbar_Toolbar = nullptr;
    RecordMenuItems menuItems;
    RecordToolItems toolItems;

    // The window's title for an event named `name`: the name, shortened with
    // "..." when it is long (a pasted web address); "(None)" for no name.
    static QString titleFor(const QVariant &name);

    // The starting values of a new event dated `date` (the row must have
    // been added to DataDetail): remind 30 minutes ahead, all day, repeating
    // monthly until a month later once the box is ticked.
    void subNewEvent(const QDate &date);

    // gActiveControl = the field with the focus; then the edit items.
    void subSetLocalMenus();
    // The menu bar's Cut, Copy, Paste, Select Text and Delete Text follow
    // gActiveControl: on for a text box or a combo box, off otherwise.
    void subToolbarItems();
    // Saves (asking first), then prints the window.
    void subPrint() override;
    // Enables the repeat fields for a repeating event, describes the repeat
    // and fills the two stored repeat keys from the date.
    void subRepeatText();

    void ctToolBar_Menubar_ItemClick(int id);
    void ctToolbar_Toolbar_ItemClick(int id);
    // Delete waits until a new event has been saved.
    void Form_Activate();
    // Reads a date or time the user is typing; false when one was refused.
    bool commitTypedFields() override;

protected:
    bool event(QEvent *event) override;
    // An event opened and left as it was has nothing to write: writing it
    // anyway would make it not acknowledged again. A new event is saved (or
    // told what it lacks) whenever the user asks.
    bool hasChangesToSave() const override;
    bool checkFields() override;
    QString rowTitle() const override;
    long rowId() const override;
    void rowWritten() override;
    // The user chose not to save: the window stays, with the changes gone.
    bool rowNotWritten(bool adding) override;
    // What every write brings: the event is due again, and the stored repeat
    // keys follow its date.
    void aboutToWrite() override;
    bool deleteRow() override;
    void rowShown() override { afterLoad(); }

private:
    LocalMenuItems localMenuItems() const;
    void buildMenuBar();
    void buildToolBar();
    void buildFields(QWidget *fields);
    void applyCheckStates();
    // After the fields were loaded: the dependent states, the description
    // and the repeat keys, which by themselves are no change of the row.
    void afterLoad();
    void forgetKeyLabelChanges();
    void setDeleteEnabled(bool enabled);

    QDate m_newEventDate; // the date a new event started from
};
