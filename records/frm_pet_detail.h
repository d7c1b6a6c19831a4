#pragma once
// The pet window: one pet's record in six tabs (details, care and feeding,
// vaccinations and medications, diary, commands, miscellaneous information),
// with its menu bar and toolbar.
//
// The pet's row is bound to DataDetail and written when the window saves or
// closes; tabs 3 to 6 each list one kind of the pet's rows in a grid over a
// data control of its own, with the chosen row's fields below and three
// buttons (Add/Save, Cancel, Delete) that write those rows at once.
//
// How a window is used (pet_handler opens it this way):
//   auto *w = new frm_pet_detail(owner);
//   w->DataDetail->setRecordSource("SELECT * FROM tbl_pet WHERE pet_id = ?", {id});
//   w->DataDetail->refresh();  ... no row: the pet is gone
//   w->DataDetail->edit();
//   w->subPetDetailLoad(id);    // sub-records, breed list, picture, phones, tab
//   w->exec();
//
// Closing. The first close of a window whose fields changed validates them
// (name and birthday) and saves without asking; when they are not valid the
// message is shown and the window stays. From then on a close with changes
// asks "Save Changes?": No closes without writing anything of the pet (nor a
// half-typed row of the other tabs), Yes validates again. A row half typed on
// tabs 3 to 6 is written with the pet when the window closes, unless the
// answer was No or the pet was deleted.
//
// Controls that the code names by index carry objectNames such as
// "txtPet(0)". The pet's text boxes: txtPet(0) name, (1) nickname, (2) colour,
// (3) birthday, (4) weight, (9) height or length, (10) mother, (11) father;
// txtPet(5) to (8) are the hidden plain-text copies of the four notes
// rtbpet(0) feeding, (1) care, (2) notes, (3) insurance.
//   DBCbopet: (0) sitter, (1) emergency contact, (2) veterinarian, (3) breed,
//   (4) diary category, (5) gender.  cmdPet: (0)..(2) add a person for
//   DBCbopet(0)..(2), (3) for the vaccination's DBCbovaccine(0), (4) and (5)
//   import the default feeding and care notes.

#include "core/detail_window.h"
#include "core/edit.h"

#include <QPointer>
#include <array>

// The menu bar's items, by the ids the bar handed out: the shared File and
// Edit menus, then the format entries, the Picture menu and Help.
struct PetMenuItems : RecordMenuItems, PictureMenuItems {
    int bold = 0, italic = 0, underline = 0, outdent = 0, indent = 0;
};

// The toolbar's buttons, by the ids the bar handed out.
struct PetToolItems : RecordToolItems {
    int bold = 0, italic = 0, underline = 0, outdent = 0, indent = 0, picture = 0;
};

class CtToolBar;
class DataControl;
class DataGrid;
class DatePicker;
class DbCombo;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class PetRecordTab;
class QPushButton;
class QWidget;
class TabStrip;
class VbImage;
class VbRichTextBox;

class frm_pet_detail : public DetailWindow {
    Q_OBJECT
public:
    explicit frm_pet_detail(QWidget *parent = nullptr);
    ~frm_pet_detail() override;

    // ---- bars
    CtToolBar *ctToolBar_Menubar = nullptr;
    CtToolBar *ctToolbar_Toolbar = nullptr;
    PetMenuItems menuItems;
    PetToolItems toolItems;
    TabStrip *tbsPet = nullptr;
    std::array<QWidget *, 7> frmPet{}; // 1 to 6

    // ---- the pet
    std::array<QLineEdit *, 12> txtPet{};           // see above; 5 to 8 are null here
    std::array<QPlainTextEdit *, 12> txtPetPlain{}; // 5 to 8: the notes' plain copies
    std::array<DbCombo *, 6> DBCbopet{};
    std::array<QLabel *, 3> lblPhone{};
    std::array<VbRichTextBox *, 4> rtbpet{};
    std::array<QPushButton *, 6> cmdPet{};
    QPushButton *cmdPet_dob = nullptr;
    QLabel *Label22_33 = nullptr; // the birthday's date pattern
    QLabel *ImageMain = nullptr;  // the species icon
    VbImage *ImagePicture = nullptr;
    QLabel *lblPicture = nullptr;       // the picture's file name in the pictures folder
    std::array<QLabel *, 7> Imagepet{}; // 3 to 6: the tabs' header icons

    // ---- the pet's rows
    std::array<DataGrid *, 7> DBGridPet{};     // 3 to 6
    DbCombo *DBCombovaccine_0 = nullptr;       // vaccine name
    DbCombo *DBCbovaccine_0 = nullptr;         // done by (a person)
    std::array<DatePicker *, 3> DTPickerPet{}; // received, expires, diary date
    QPlainTextEdit *txtvaccine = nullptr;
    std::array<QWidget *, 2> txtdiary{};   // (0) the date as text, (1) the entry
    std::array<QWidget *, 2> txtcommand{}; // (0) name, (1) behaviour
    std::array<QLineEdit *, 2> txtproperty{};
    QPushButton *cmdDiary_date = nullptr;
    std::array<QPushButton *, 3> cmdVaccination{}, cmdDiary{}, cmdCommand{}, cmdProperty{};

    // ---- data controls (the pet's row is DataDetail)
    DataControl *dataContacts = nullptr;
    DataControl *Datatbl_vaccine = nullptr;
    DataControl *Datatbl_diary = nullptr;
    DataControl *Datatbl_command = nullptr;
    DataControl *Datatbl_property = nullptr;
    DataControl *datavaccine_lookup = nullptr;
    DataControl *Datadiary_category_lookup = nullptr;
    DataControl *Datatbl_breed = nullptr;
    DataControl *Datatbl_gender_lookup = nullptr;

    // The window's help page: 2501, or 2501 + the tab shown.
    int HelpContextID = 2501;

    // Binds the pet's rows, the breed list and the picture, fills the phone
    // lines, starts a new row on each of tabs 3 to 6 and shows tab
    // gPetDetailTab. A picture that cannot be shown is reported and affects
    // the picture box only.
    void subPetDetailLoad(long petID);

    // gActiveControl = the focused field; then the edit and format items.
    void subSetLocalMenus();
    void subUpdateFieldButtons(QWidget *ctl);

    // The menu bar's and the toolbar's commands, by item id.
    void ctToolBar_Menubar_ItemClick(int id);
    void ctToolbar_Toolbar_ItemClick(int id);

    // The tabs' buttons: which (0 Add/Save, 1 Cancel, 2 Delete) on tab 3 to 6.
    void subRecordButton(int tab, int which);
    // 0 to 3 add a person for their combo; 4 and 5 import the default
    // feeding and care notes.
    void cmdPet_Click(int index);
    void cmdPet_dob_Click();
    void cmdDiary_date_Click();
    void tbsPet_Click();

    // Each person box (sitter, emergency contact, veterinarian) names a person
    // of the address book or is empty; otherwise the user is told, the box
    // is shown with its text kept, and the answer is false.
    bool funPeopleNamed();

    // The data control and grid of tab 3 to 6.
    DataControl *recordsOf(int tab) const;

protected:
    bool checkFields() override;
    // The message has been shown once; the window stays on the field, and
    // from now on a close with changes asks first.
    bool afterFailedCheck() override;
    QString rowTitle() const override;
    long rowId() const override { return petId(); }
    // The pet's row stays in edit for the window's whole life.
    void rowWritten() override;
    void changesDropped(int action) override;
    bool deleteRow() override;
    void rowDeleted() override;
    void rowShown() override { subLoadPicture(); }
    // A row half typed on tabs 3 to 6 is written with the pet, or dropped with it.
    bool closing() override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs the format command whose item, of Bold, Italic, Underline, Outdent and
    // Indent in that order, is `id`.
    void formatCommand(int id, const std::array<int, 5> &items);
    void buildBars();
    void buildDetailsTab();
    void buildCareTab();
    void buildRecordTabs();
    void buildDataControls();
    void Form_Load();

    void subPrint() override;
    void subShowContactPhone(int index);
    bool personNamed(DbCombo *combo, int tab, const QString &title);
    void subAddContact(DbCombo *combo);
    void subLoadPicture();
    void subStartNewRow(int tab);
    // The pick list of tab 3 (vaccine names) or 4 (diary categories), read
    // from the whole household once, when the tab is first shown or its box
    // first completes a typed name: a window that never shows the tab never
    // needs it.
    void readPickList(int tab);
    void subRecordValidate(int tab, int &action, bool &save);
    void subShowHelp();
    void subNextTab();
    QWidget *tabFocusControl(int tab) const;
    long petId() const;

    LocalMenuItems m_localItems;
    std::array<PetRecordTab *, 7> m_tabs{}; // 3 to 6, children of their frames
    // "Save Changes?" was answered No: the tabs' half-typed rows go too.
    bool m_dropped = false;
    int m_syncingDiaryDate = 0;
    std::array<bool, 7> m_pickListRead{};
};
