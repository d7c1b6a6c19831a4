#pragma once
// The preferences window: three tabs (General, Calendar, Photo Albums) over the
// user's settings. It loads the settings when it is first shown, marks itself
// changed on any edit (which enables Apply), and writes them back on Apply, or
// at closing when the user agrees to save. Saving also switches the reminder
// program's autostart, sizes the list bar's icons, and rebuilds the menus and
// the calendar that show the settings.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TabStrip;

// Whether the preferences window holds edits that are not saved yet.
extern bool gPrefsChanged;

class frm_prefs : public QDialog {
    Q_OBJECT
public:
    explicit frm_prefs(QWidget *parent = nullptr);

    TabStrip *tbsPrefs = nullptr;
    QWidget *frmPrefs[4] = {};      // the panels of tabs 1 to 3
    QRadioButton *OptPrefs[2] = {}; // large, small icons
    QCheckBox *chkPrefs[7] = {};    // 1 autostart, 2 backup reminder, 3 to 6 the calendar
    QLineEdit *txtPrefs[5] = {};    // 0 count, 1 backup folder, 2 and 3 sites, 4 local folder
    QPushButton *cmdPrefs[10] = {};
    QLabel *Label3[3] = {}; // 0 "Remind every:", 2 "exits"
    QLabel *lblDatabase = nullptr;
    QLabel *imgPrefs[4] = {}; // 2 and 3: the two pictures

    void subLoadPrefs();
    // False, with a message and nothing stored, when a box holds what its
    // setting cannot take.
    bool subSavePrefs();
    void subSetChanged(bool flag);

    void tbsPrefs_Click();
    void chkPrefs_Click(int index);
    void cmdPrefs_Click(int index);
    // The backup count takes digits and the editing keys; any other character
    // is refused with a message. True when the key was swallowed.
    bool txtPrefs_KeyPress(int index, const QString &text);

public slots:
    // Esc asks like the close box does, so edits are never lost unasked.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildGeneralTab();
    QWidget *buildCalendarTab();
    QWidget *buildPhotosTab();
    void Form_Activate();
    bool boxesAccepted();

    bool m_loaded = false;
    bool m_loading = false;
    bool m_closing = false;
};
