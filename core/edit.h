#pragma once
// The edit commands (Cut, Copy, Paste, Delete, Select All) and the rich-text
// format commands of the detail windows. They act on the control the window
// registered as its active control (gActiveControl) and do nothing at all when
// there is none.
//
// A window takes part in three steps: it watches its fields with
// subWatchFocus(), and its subSetLocalMenus() registers the focused field and
// turns its menu and toolbar items on or off (the shared subSetLocalMenus()
// below does both); its menu handler passes the edit items to funEditMenuItem()
// and calls the format commands for its own format items.

#include <QIcon>
#include <QList>
#include <array>
#include <functional>
#include <vector>

class CtToolBar;
class QWidget;

// The kinds of control the commands tell apart. A line edit, a plain text edit
// and a text edit without rich text are text boxes; a label showing a picture
// is an image (which never takes the focus); a picture box holds a picture and
// takes the focus. Date pickers, check boxes and grids are of another kind,
// which the commands leave alone.
enum class ControlKind { None, TextBox, RichTextBox, ComboBox, PictureBox, Image, ListBox, Other };
ControlKind funControlKind(const QWidget *control);

// The control a focused widget is part of: the combo box of its line edit, the
// date picker of its text, the grid of a cell editor; else the widget itself.
QWidget *funControlOf(QWidget *widget);

// Copy first empties the clipboard, whatever the control. Cut is Copy and
// Delete. Paste replaces a text box's or rich text box's selection, and a combo
// box's whole text; Select All selects the whole text. `form` plays no part.
void subEditCopy(QWidget *form, QWidget *control);
void subEditCut(QWidget *form, QWidget *control);
void subEditPaste(QWidget *control);
void subEditDelete(QWidget *control);
void subEditSelectAll(QWidget *control);

// On a rich text box's selection; then the box has the focus. Other controls
// are left alone. Indent and Outdent move by 250 twips and never below 0.
void subFormatBold(QWidget *control);
void subFormatItalic(QWidget *control);
void subFormatUnderline(QWidget *control);
void subFormatIndent(QWidget *control);
void subFormatOutdent(QWidget *control);

// The pictures of the format commands' buttons ("B", "I", "U" and the two
// indent arrows), drawn by the program itself.
enum class FormatCommand { Bold, Italic, Underline, Outdent, Indent };
QIcon funFormatIcon(FormatCommand command);
// Draws them ahead, in the idle time once the main window is up, so that the
// first detail window finds them made.
void subPrepareFormatIcons();

// The items of a detail window that follow its active control.
struct LocalMenuItems {
    CtToolBar *menuBar = nullptr;
    std::vector<int> editItems;   // Cut, Copy, Paste, Select Text, Delete Text
    std::vector<int> formatItems; // menu entries for rich text only
    CtToolBar *toolBar = nullptr;
    std::vector<int> formatButtons; // toolbar buttons for rich text only
};

// Nothing changes when `control` is null; else the edit items are enabled for
// a text box, rich text box, combo box or picture box and disabled for any
// other control, and the format items and buttons only for a rich text box.
void subUpdateFieldButtons(const LocalMenuItems &items, QWidget *control);

// gActiveControl = the control that has the focus in `window` (null when
// none has); then subUpdateFieldButtons with it.
void subSetLocalMenus(QWidget *window, const LocalMenuItems &items);

// The items of the menu bar every detail window starts with, by the ids the
// bar handed out (0 until it is built).
struct RecordMenuItems {
    int file = 0, saveClose = 0, del = 0, print = 0, close = 0;
    int edit = 0, undo = 0, cut = 0, copy = 0, paste = 0, selectText = 0, deleteText = 0;
    int help = 0; // the window's own "&Help", last of its items
    // The items that follow the active control.
    std::vector<int> editItems() const { return {cut, copy, paste, selectText, deleteText}; }
};
// The buttons of the toolbar every detail window starts with.
struct RecordToolItems {
    int saveClose = 0, print = 0, del = 0;
    int help = 0; // the window's own "Help", last of its buttons
};
// A photo-site entry of a detail window's menu bar and the separator before it.
struct PhotoSiteItem {
    int separator = 0;
    int entry = 0;
};

// Runs the edit command of a detail window's menu item on gActiveControl: Cut,
// Copy, Paste, Select Text or Delete Text of `items`. False for any other id,
// which the window handles itself.
bool funEditMenuItem(QWidget *form, const RecordMenuItems &items, int id);

// Calls `onFocus` each time one of `controls`, or a part of one (a combo box's
// line edit, a grid's cell), gets the focus.
void subWatchFocus(const QList<QWidget *> &controls, const std::function<void()> &onFocus);

// The menu bar and the toolbar every detail window starts with, named
// ctToolBar_Menubar and ctToolbar_Toolbar; `items` receives their ids, and
// each window adds its own items after them. Menu: "&File" with "Save && Close",
// "&Delete", Print and "&Close"; "&Edit" with "Undo Changes" and the edit items
// (Cut, "&Copy", Paste, "&Select Text", "&Delete Text"). Toolbar: "Save && Close",
// "Print", "Delete", with separators between.
// The person and event windows give Cut, Paste and Print the access keys
// "&Cut", "Paste" and "Print"; the pet and picture windows "Cu&t", "&Paste"
// and "&Print".
enum class RecordMenuKeys { Plain, Underlined };
CtToolBar *funRecordMenuBar(QWidget *window, RecordMenuKeys keys, RecordMenuItems &items);
// The "&Picture" menu of the pet and picture windows: "&Import picture",
// "&Clear picture", "Save picture", then the two photo sites, each after a
// separator.
struct PictureMenuItems {
    int picture = 0, importPicture = 0, clearPicture = 0, savePicture = 0;
    std::array<PhotoSiteItem, 2> photoSites{};
};
void subAddPictureMenu(CtToolBar *bar, PictureMenuItems &items);
// Runs the command of an entry of that menu on `form`, whose picture file is
// `picture`; a photo site opens the address its entry keeps. False for any
// other id.
bool funPictureMenuItem(QWidget *form, CtToolBar *bar, const PictureMenuItems &items, int id, const QString &picture);
CtToolBar *funRecordToolBar(QWidget *window, RecordToolItems &items);
