#pragma once
// The person window: one row of tbl_contact, added or edited through the data
// control DataDetail, with its own menu bar and toolbar.
//
// contact_handler makes a new window for each opening, points DataDetail at
// the row (a new one, or the person's row in edit), and shows it modally.
//
// Controls that the code names by index carry objectNames such as
// "txtcontact(0)": txtcontact(0) name, (2) address, (3) city, (4) state,
// (5) zip, (6) country, (7) e-mail, (8) web address, (9) to (11) the three
// phone numbers, (12) notes, (13) directions; (1) is not used.
// lblcontact(1) to (3) hold the three phone types and are bound, so a type
// chosen from the shared phone-type menu is stored with the row; that menu
// writes lblcontact(n) and puts the focus into txtcontact(8 + n).
//
// Closing. The window is armed once its row is loaded: a close with changes
// asks "Save Changes?"; No closes without writing, Yes checks the name and
// keeps the window open when it is empty. Save & Close writes without asking.
// savedRecordID() is the id of the person once written (an existing person
// from the start), 0 for a new person closed without a write and after a
// delete, so that a caller never points a pet at a person who is not there.

#include "core/detail_window.h"
#include "core/edit.h"

#include <array>

class CtToolBar;
class QLabel;
class QPushButton;

class frm_contact_detail : public DetailWindow {
    Q_OBJECT
public:
    explicit frm_contact_detail(QWidget *parent = nullptr);
    ~frm_contact_detail() override;

    // QLineEdit, or QPlainTextEdit for (2), (12) and (13); (1) is null.
    std::array<QWidget *, 14> txtcontact{};
    // (0), (4) and (5) the captions "Ph 1:" to "Ph 3:"; (1) to (3) the types.
    std::array<QLabel *, 6> lblcontact{};
    // The phone-type buttons of phone lines 1 to 3 (index 0 is line 1).
    std::array<QPushButton *, 3> cmdcontact_ph_menu{};
    QPushButton *cmdEmail = nullptr;
    QPushButton *cmdWWW = nullptr;
    QLabel *ImageMain = nullptr;
    CtToolBar *ctToolBar_Menubar = nullptr;
    CtToolBar *ctToolbar_Toolbar = nullptr;
    RecordMenuItems menuItems;
    RecordToolItems toolItems;

    // The starting values of a new person (the row must have been added):
    // the phone types "Home", "Work" and "Fax", which alone are no change.
    void subNewContact();

    // gActiveControl = the focused field; then the edit items.
    void subSetLocalMenus();
    void subUpdateFieldButtons(QWidget *ctl);

    // Saves (asking first), then prints the window.
    void subPrint() override;

    void ctToolBar_Menubar_ItemClick(int id);
    void ctToolbar_Toolbar_ItemClick(int id);
    // Phone line `line` (1 to 3): pops the phone-type menu up for it.
    void cmdPhoneMenu_Click(int line);
    // Open the stored e-mail and web addresses (not what is typed).
    void cmdEmail_Click();
    void cmdWWW_Click();
    // Delete waits until a new person has been written.
    void Form_Activate();

    long contactId() const;

protected:
    bool event(QEvent *event) override;
    // Save & Close with an empty name still closes: the close then guards.
    bool checkFields() override;
    bool afterFailedCheck() override { return true; }
    QString rowTitle() const override;
    long rowId() const override { return contactId(); }
    void rowWritten() override { Form_Activate(); }
    bool rowNotWritten(bool adding) override;
    void changesDropped(int action) override;
    bool deleteRow() override;
    bool closing() override;

private:
    void buildBars();
    void buildFields(QWidget *body);
    void openStored(const char *field);

    LocalMenuItems m_localItems;
};
