#pragma once
// The picture window: one row of tbl_picture (title, caption, pet, category,
// date and the picture file), added or edited through the data control
// DataDetail, with its menu bar and toolbar.
//
// The picture handler makes a new window for each opening, points DataDetail
// at the row (a new one through addNew), shows the picture and shows the
// window modally. There is no check of the fields: any row may be saved.
// Closing with changes asks "Save Changes?"; No drops them. A write that the
// database refuses is reported and the window stays open with the changes.
// After a delete nothing more is asked or written.
//
// Controls the code names by index carry objectNames such as "txtpicture(0)":
// txtpicture(0) title, (2) caption, (3) date; DBCbopicture(0) category,
// (1) pet.

#include "core/detail_window.h"
#include "core/edit.h"

#include <QVariant>
#include <array>

// The menu bar's items and the toolbar's buttons, by the ids the bars handed out.
struct PictureWindowMenuItems : RecordMenuItems, PictureMenuItems {};
struct PictureWindowToolItems : RecordToolItems {
    int picture = 0;
};

class CtToolBar;
class DataControl;
class DbCombo;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class VbImage;

class frm_picture : public DetailWindow {
    Q_OBJECT
public:
    explicit frm_picture(QWidget *parent = nullptr);
    ~frm_picture() override;

    DataControl *DataPetLookup = nullptr;
    DataControl *DataCategoryLookup = nullptr;

    std::array<QLineEdit *, 4> txtpicture{};     // 0 title, 3 date; 1 and 2 are null here
    QPlainTextEdit *txtpictureCaption = nullptr; // "txtpicture(2)"
    std::array<DbCombo *, 2> DBCbopicture{};
    QPushButton *cmdPicture = nullptr; // the date chooser
    QLabel *lblDateFormat = nullptr;   // the user's short-date pattern
    QLabel *lblPicture = nullptr;      // the picture's file name in the pictures folder
    VbImage *ImagePicture = nullptr;
    VbImage *ImageMain = nullptr;
    CtToolBar *ctToolBar_Menubar = nullptr;
    CtToolBar *ctToolbar_Toolbar = nullptr;
    PictureWindowMenuItems menuItems;
    PictureWindowToolItems toolItems;

    // Shows the picture file `path` fitted into the picture box; when it
    // cannot be shown, the default picture, and false with the error's number
    // and text.
    bool subShowPicture(const QString &path, int *errorNumber = nullptr, QString *errorText = nullptr);
    // The window's title for a picture titled `title`: "(None)" for no title.
    static QString titleFor(const QVariant &title);

    // gActiveControl = the focused field; then the edit items.
    void subSetLocalMenus();
    // The picture printout of the stored row; nothing is saved first.
    void subPrint() override;
    // The date chooser, starting from the date box; a chosen day goes into it.
    void cmdPicture_Click();

    void ctToolBar_Menubar_ItemClick(int id);
    void ctToolbar_Toolbar_ItemClick(int id);
    // Delete waits until a new picture has been saved.
    void Form_Activate();

protected:
    bool event(QEvent *event) override;
    QString rowTitle() const override;
    long rowId() const override { return pictureId(); }
    // The window goes on editing the row it saved.
    void rowWritten() override;
    bool rowNotWritten(bool adding) override;
    bool deleteRow() override;
    // The picture shows the stored row again too.
    void rowShown() override;
    bool closing() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildBars();
    void buildFields(QWidget *body);
    void Form_Load();
    long pictureId() const;

    LocalMenuItems m_localItems;
    // The row last written by a save.
    QVariant m_saved;
};
