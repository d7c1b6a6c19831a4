// The preferences window: every control read from and written to its setting,
// Apply and the closing question, the count box's keys, the buttons, and what a
// save changes in the running main window.

#include "core/backup.h"
#include "core/frm_controls.h"
#include "core/codes.h"
#include "core/frm_main.h"
#include "core/frm_prefs.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/reminder_control.h"
#include "core/settings.h"
#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/tab_strip.h"
#include "platform/shell.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using testsupport::ProgramFolder;
using SD = ui::ScriptedDialogs;

namespace {

// A control's state as text: "1"/"0" for a check box or option, the text of a box.
QString stateOf(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->isChecked() ? "1" : "0";
    if (auto *t = qobject_cast<QLineEdit *>(w))
        return t->text();
    return "?";
}

// Edits a control the way a user would.
void edit(QWidget *w, const QString &state)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        if (b->isChecked() != (state == "1"))
            b->click();
    } else if (auto *t = qobject_cast<QLineEdit *>(w)) {
        t->selectAll();
        t->del();
        t->insert(state);
    }
}

struct Opened {
    QString target;
    bool program = false;
};

} // namespace

class TestPrefs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void roundTrip_data();
    void roundTrip();
    void autoStartFollowsTheBox();
    void applyEnabling_data();
    void applyEnabling();
    void closingQuestion_data();
    void closingQuestion();
    void cancelAndEsc();
    void saveAppliesAtOnce();
    void backupCountKeys_data();
    void backupCountKeys();
    void boxesRefuseWhatTheirSettingCannotTake_data();
    void boxesRefuseWhatTheirSettingCannotTake();
    void startNow();
    void pickedFolderStays();
    void openButtons_data();
    void openButtons();
    void backupNow();
    void backupNowThatClosesTheWindow_data();
    void backupNowThatClosesTheWindow();
    void backupNowKeptByCancel();
    void showsModallyOnItsTab();

private:
    std::unique_ptr<ProgramFolder> m_pf;
    std::unique_ptr<QTemporaryDir> m_config;
    QByteArray m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    QStringList m_calls;
    std::vector<Opened> m_opened;
};

void TestPrefs::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    m_calls.clear();
    m_opened.clear();
    auto &r = subjectRoutines();
    r.calendarHandler = [this](QWidget *, int a, const QVariant &) {
        m_calls << QStringLiteral("calendar(%1)").arg(a);
        return true;
    };
    r.backupDatabase = [this](QWidget *form, bool ask) {
        m_calls << QStringLiteral("backup(%1,%2)").arg(form ? form->objectName() : "null").arg(ask);
    };
    r.checkReminders = [](int, bool) { return true; };
    r.remindersRunning = [] { return false; };
    shell::setOpener([this](const QString &t, const QString &, bool program) { m_opened.push_back({t, program}); });
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gControls);
    m_calls.clear();
}

void TestPrefs::cleanup()
{
    shell::setOpener(nullptr);
    resetSubjectRoutines();
    m_pf.reset();
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    m_config.reset();
    gPrefsChanged = false;
}

// ---- Every control and its setting ----

void TestPrefs::roundTrip_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored"); // invalid: never written
    QTest::addColumn<QString>("loaded");  // the control's state on load
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QString>("saved");

    const QVariant none;
    QTest::newRow("small icons chosen") << "OptPrefs(1)"
                                        << "MainMenuIconSize" << none << "0"
                                        << "1"
                                        << "1";
    QTest::newRow("other text is large") << "OptPrefs(1)"
                                         << "MainMenuIconSize" << QVariant("2") << "0"
                                         << "1"
                                         << "1";
    QTest::newRow("large icons chosen again") << "OptPrefs(0)"
                                              << "MainMenuIconSize" << QVariant("1") << "0"
                                              << "1"
                                              << "0";
    // Never stored means on, as the exit's backup rule reads it.
    QTest::newRow("backup reminder, none stored") << "chkPrefs(2)"
                                                  << "AutomaticBackup" << none << "1"
                                                  << "0"
                                                  << "0";
    QTest::newRow("backup reminder off") << "chkPrefs(2)"
                                         << "AutomaticBackup" << QVariant("0") << "0"
                                         << "1"
                                         << "1";
    QTest::newRow("backup reminder True") << "chkPrefs(2)"
                                          << "AutomaticBackup" << QVariant("-1") << "0"
                                          << "1"
                                          << "1";
    QTest::newRow("count, none stored") << "txtPrefs(0)"
                                        << "AutomaticBackupCount" << none << "5"
                                        << "12"
                                        << "12";
    QTest::newRow("count stored") << "txtPrefs(0)"
                                  << "AutomaticBackupCount" << QVariant("3") << "3"
                                  << "30"
                                  << "30";
    // The box shows the count the exit's rule goes by.
    QTest::newRow("count stored beyond range") << "txtPrefs(0)"
                                               << "AutomaticBackupCount" << QVariant("40000") << "32767"
                                               << "30"
                                               << "30";
    QTest::newRow("count stored empty") << "txtPrefs(0)"
                                        << "AutomaticBackupCount" << QVariant("") << "5"
                                        << "7"
                                        << "7";
    QTest::newRow("backup folder") << "txtPrefs(1)"
                                   << "BackupFolder" << none << ""
                                   << "/home/ann/Backups"
                                   << "/home/ann/Backups";
    QTest::newRow("site 1") << "txtPrefs(2)"
                            << "PhotoSite_1" << QVariant("www.a.org") << "www.a.org"
                            << "photos.b.org/ann"
                            << "photos.b.org/ann";
    QTest::newRow("site 2") << "txtPrefs(3)"
                            << "PhotoSite_2" << none << ""
                            << "www.c.org"
                            << "www.c.org";
    QTest::newRow("site 2 emptied") << "txtPrefs(3)"
                                    << "PhotoSite_2" << QVariant("www.c.org") << "www.c.org"
                                    << ""
                                    << "";
    QTest::newRow("local folder") << "txtPrefs(4)"
                                  << "PhotoSite_3" << none << ""
                                  << "/home/ann/My Pictures"
                                  << "/home/ann/My Pictures";
    QTest::newRow("birthdays") << "chkPrefs(4)"
                               << "Cal_Show_DOB" << none << "0"
                               << "1"
                               << "1";
    QTest::newRow("diary") << "chkPrefs(5)"
                           << "Cal_Show_Diary" << none << "0"
                           << "1"
                           << "1";
    QTest::newRow("received") << "chkPrefs(3)"
                              << "Cal_Show_Vac_Rec" << none << "0"
                              << "1"
                              << "1";
    QTest::newRow("expiring") << "chkPrefs(6)"
                              << "Cal_Show_Vac_Exp" << none << "0"
                              << "1"
                              << "1";
    QTest::newRow("expiring off") << "chkPrefs(6)"
                                  << "Cal_Show_Vac_Exp" << QVariant("1") << "1"
                                  << "0"
                                  << "0";
}

void TestPrefs::roundTrip()
{
    QFETCH(QString, control);
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QString, loaded);
    QFETCH(QString, edited);
    QFETCH(QString, saved);
    if (stored.isValid())
        funPref_Set(key, stored);
    funPref_Set("Database", "/home/ann/Zorbi.dat");
    {
        frm_prefs w(gMain);
        w.show();
        QWidget *c = w.findChild<QWidget *>(control);
        QVERIFY(c);
        QCOMPARE(stateOf(c), loaded);
        QCOMPARE(w.lblDatabase->text(), QString("/home/ann/Zorbi.dat"));
        edit(c, edited);
        w.cmdPrefs[4]->click(); // Apply
        QCOMPARE(funPref_Get(key), saved);
        QVERIFY(w.close()); // nothing left to ask
        QCOMPARE(m_pf->dialogs().count(SD::Message), 0);
    }
    // The next window shows what was saved, from the file as well as from memory.
    settings::resetSession();
    frm_prefs again(gMain);
    again.show();
    QCOMPARE(stateOf(again.findChild<QWidget *>(control)), edited);
    QCOMPARE(funPref_Get("Database"), QString("/home/ann/Zorbi.dat")); // shown only, never written
}

void TestPrefs::autoStartFollowsTheBox()
{
    const QString entry = autostart::entryPath("Zorbi 2003");
    {
        frm_prefs w(gMain);
        w.show();
        QVERIFY(!w.chkPrefs[1]->isChecked());
        w.chkPrefs[1]->click();
        w.cmdPrefs[4]->click();
        QVERIFY(QFile::exists(entry));
        QCOMPARE(autostart::read("Zorbi 2003"), funGetReminderProgram());
    }
    {
        frm_prefs w(gMain);
        w.show();
        QVERIFY(w.chkPrefs[1]->isChecked());
        w.chkPrefs[1]->click();
        w.cmdPrefs[4]->click();
        QVERIFY(!QFile::exists(entry));
    }
    QCOMPARE(m_pf->dialogs().count(SD::Message), 0);
}

// ---- Apply, OK, Cancel and the closing question ----

void TestPrefs::applyEnabling_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("edited");
    QTest::newRow("option") << "OptPrefs(1)"
                            << "1";
    QTest::newRow("autostart box") << "chkPrefs(1)"
                                   << "1";
    QTest::newRow("backup box") << "chkPrefs(2)"
                                << "0";
    QTest::newRow("calendar box") << "chkPrefs(5)"
                                  << "1";
    QTest::newRow("count") << "txtPrefs(0)"
                           << "9";
    QTest::newRow("site") << "txtPrefs(2)"
                          << "www.a.org";
}

void TestPrefs::applyEnabling()
{
    QFETCH(QString, control);
    QFETCH(QString, edited);
    frm_prefs w(gMain);
    QPushButton *apply = w.findChild<QPushButton *>("cmdPrefs(4)");
    QCOMPARE(apply->text(), QString("Apply"));
    w.show();
    QVERIFY(!apply->isEnabled()); // loading is no edit
    QVERIFY(!gPrefsChanged);
    edit(w.findChild<QWidget *>(control), edited);
    QVERIFY(apply->isEnabled());
    QVERIFY(gPrefsChanged);
    apply->click();
    QVERIFY(!apply->isEnabled());
    QVERIFY(!gPrefsChanged);
    // Nothing changed since: closing asks nothing.
    QVERIFY(w.close());
    QCOMPARE(m_pf->dialogs().count(SD::Message), 0);
}

void TestPrefs::closingQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Yes saves") << int(ui::Yes) << true << "www.new.org";
    QTest::newRow("No discards") << int(ui::No) << true << "www.old.org";
    QTest::newRow("Cancel stays") << int(ui::Cancel) << false << "www.old.org";
}

void TestPrefs::closingQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(QString, stored);
    funPref_Set("PhotoSite_1", "www.old.org");
    frm_prefs w(gMain);
    w.show();
    edit(w.txtPrefs[2], "www.new.org");
    m_pf->dialogs().queue(answer);
    w.cmdPrefs[2]->click(); // OK
    const SD::Shown *m = m_pf->dialogs().last(SD::Message);
    QVERIFY(m);
    QCOMPARE(m->text, QString("Save changes?"));
    QCOMPARE(m->buttons, int(ui::YesNoCancel));
    QCOMPARE(m->icon, int(ui::Question));
    QCOMPARE(m->title, QString("Zorbi 2003"));
    QCOMPARE(w.isVisible(), !closed);
    QCOMPARE(funPref_Get("PhotoSite_1"), stored);
    if (!closed) {
        // The edit is still there, and the question comes again.
        QCOMPARE(w.txtPrefs[2]->text(), QString("www.new.org"));
        QVERIFY(w.cmdPrefs[4]->isEnabled());
        m_pf->dialogs().queue(int(ui::No));
        QVERIFY(w.close());
        QCOMPARE(m_pf->dialogs().count(SD::Message), 2);
    }
}

void TestPrefs::cancelAndEsc()
{
    funPref_Set("Cal_Show_DOB", "0");
    {
        frm_prefs w(gMain);
        w.show();
        w.chkPrefs[4]->click();
        w.cmdPrefs[3]->click(); // Cancel: no question, nothing saved
        QVERIFY(!w.isVisible());
        QCOMPARE(m_pf->dialogs().count(SD::Message), 0);
        QCOMPARE(funPref_Get("Cal_Show_DOB"), QString("0"));
        QVERIFY(m_calls.isEmpty());
    }
    {
        // Esc is the close box: an edit brings the question.
        frm_prefs w(gMain);
        w.show();
        w.chkPrefs[4]->click();
        m_pf->dialogs().queue(int(ui::Yes));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(m_pf->dialogs().count(SD::Message), 1);
        QCOMPARE(funPref_Get("Cal_Show_DOB"), QString("1"));
    }
}

// ---- A save shows at once in the main window ----

void TestPrefs::saveAppliesAtOnce()
{
    CtToolBar *bar = gMain->ctToolBar_MainMenuBar;
    const MainMenuItems &m = gMain->menuItems;
    CtListBar *listBar = gMain->ctListBar_main;
    QVERIFY(!bar->itemVisible(m.site1));
    QCOMPARE(listBar->iconSize(), 0);
    {
        frm_prefs w(gMain);
        w.show();
        edit(w.txtPrefs[2], "www.a.org");
        edit(w.txtPrefs[4], m_pf->path());
        edit(w.OptPrefs[1], "1");
        w.cmdPrefs[4]->click();
        QVERIFY(bar->itemVisible(m.site1));
        QCOMPARE(bar->itemStoredText(m.site1), QString("http://www.a.org"));
        QVERIFY(!bar->itemVisible(m.site2));
        QVERIFY(bar->itemVisible(m.localFolder));
        QCOMPARE(bar->itemStoredText(m.localFolder), m_pf->path());
        QCOMPARE(listBar->iconSize(), 1);
        QCOMPARE(listBar->iconSize2(), 0);
        QCOMPARE(m_calls, QStringList{"calendar(15)"});
        // Back to large icons; and the next start reads what was saved.
        edit(w.OptPrefs[0], "1");
        w.cmdPrefs[4]->click();
        QCOMPARE(listBar->iconSize(), 0);
        QCOMPARE(listBar->iconSize2(), 2);
        edit(w.OptPrefs[1], "1");
        w.cmdPrefs[4]->click();
        w.close();
    }
    resetGlobals();
    QCOMPARE(Main(), -1);
    QCOMPARE(gMain->ctListBar_main->iconSize(), 1);
    QVERIFY(gMain->ctToolBar_MainMenuBar->itemVisible(gMain->menuItems.site1));
}

// ---- The backup count ----

void TestPrefs::backupCountKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text"); // the key's character
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("refused");
    QTest::newRow("digit") << int(Qt::Key_7) << "7"
                           << "157" << false;
    QTest::newRow("letter") << int(Qt::Key_A) << "a"
                            << "15" << true;
    QTest::newRow("blank") << int(Qt::Key_Space) << " "
                           << "15" << true;
    QTest::newRow("minus") << int(Qt::Key_Minus) << "-"
                           << "15" << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b"
                               << "1" << false;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << "\x7f"
                            << "15" << false; // at the end: nothing to delete
    QTest::newRow("Left") << int(Qt::Key_Left) << ""
                          << "15" << false;
    QTest::newRow("Home") << int(Qt::Key_Home) << ""
                          << "15" << false;
}

void TestPrefs::backupCountKeys()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(bool, refused);
    funPref_Set("AutomaticBackupCount", "15");
    frm_prefs w(gMain);
    w.show();
    QLineEdit *count = w.txtPrefs[0];
    count->setFocus();
    count->end(false);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(count, &press);
    QCOMPARE(count->text(), after);
    QCOMPARE(m_pf->dialogs().count(SD::Message), refused ? 1 : 0);
    if (refused) {
        const SD::Shown *m = m_pf->dialogs().last(SD::Message);
        QCOMPARE(m->text, QString("Please enter numbers only."));
        QCOMPARE(m->icon, int(ui::Information));
        QCOMPARE(m->title, QString("Zorbi 2003"));
    }
    QCOMPARE(w.cmdPrefs[4]->isEnabled(), after != "15");
    // The arrows really move: Delete before the last digit removes it.
    if (key == Qt::Key_Left) {
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, "\x7f");
        QApplication::sendEvent(count, &del);
        QCOMPARE(count->text(), QString("1"));
    }
    // Pasted text is held to digits too.
    count->selectAll();
    count->insert("4x");
    QVERIFY(!count->text().contains('x'));
    w.cmdPrefs[3]->click();
}

// The count within the range the exit's rule reads, the location a folder:
// anything else is refused with a message and not stored, at Apply and at the
// closing question alike.
void TestPrefs::boxesRefuseWhatTheirSettingCannotTake_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");   // "@" = a folder, "@/notes.txt" a file in it
    QTest::addColumn<QString>("refusal"); // "" when taken
    const QString count = "Please enter a number from 1 to 32767 for the exits between backup reminders.";
    QTest::newRow("count beyond range") << "txtPrefs(0)"
                                        << "AutomaticBackupCount"
                                        << "40000" << count;
    QTest::newRow("count zero") << "txtPrefs(0)"
                                << "AutomaticBackupCount"
                                << "0" << count;
    QTest::newRow("count empty") << "txtPrefs(0)"
                                 << "AutomaticBackupCount"
                                 << "" << count;
    QTest::newRow("count at the top") << "txtPrefs(0)"
                                      << "AutomaticBackupCount"
                                      << "32767"
                                      << "";
    QTest::newRow("count one") << "txtPrefs(0)"
                               << "AutomaticBackupCount"
                               << "00001"
                               << "";
    QTest::newRow("location a file") << "txtPrefs(1)"
                                     << "BackupFolder"
                                     << "@/notes.txt"
                                     << "The Default Backup Location must be a folder. \"@/notes.txt\" is a file.";
    QTest::newRow("location a folder") << "txtPrefs(1)"
                                       << "BackupFolder"
                                       << "@"
                                       << "";
}

void TestPrefs::boxesRefuseWhatTheirSettingCannotTake()
{
    QFETCH(QString, control);
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    typed.replace("@", m_pf->path());
    refusal.replace("@", m_pf->path());
    QFile notes(m_pf->file("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    funPref_Set(key, "15");
    frm_prefs w(gMain);
    w.show();
    w.tbsPrefs->setSelectedIndex(2);
    auto *box = w.findChild<QLineEdit *>(control);
    edit(box, typed);
    QCOMPARE(box->text(), typed);
    w.cmdPrefs[4]->click(); // Apply
    if (refusal.isEmpty()) {
        QCOMPARE(m_pf->dialogs().count(SD::Message), 0);
        QCOMPARE(funPref_Get(key), typed);
        return;
    }
    const SD::Shown *m = m_pf->dialogs().last(SD::Message);
    QVERIFY(m);
    QCOMPARE(m->text, refusal);
    QCOMPARE(m->icon, int(ui::Information));
    QCOMPARE(funPref_Get(key), QString("15"));
    QVERIFY(w.cmdPrefs[4]->isEnabled());      // the edit is still to be saved
    QCOMPARE(w.tbsPrefs->SelectedIndex(), 1); // the user is back at the box
    // "Save changes?" Yes: refused again, and the window stays.
    m_pf->dialogs().queue(int(ui::Yes));
    w.cmdPrefs[2]->click();
    QVERIFY(w.isVisible());
    QCOMPARE(m_pf->dialogs().shown().back().text, refusal);
    QCOMPARE(funPref_Get(key), QString("15"));
    w.cmdPrefs[3]->click();
}

// ---- The buttons ----

void TestPrefs::startNow()
{
    {
        frm_prefs w(gMain);
        w.show();
        m_pf->dialogs().queue(int(ui::Yes));
        w.cmdPrefs[1]->click();
        QCOMPARE(m_opened.size(), size_t(1));
        QCOMPARE(m_opened[0].target, funGetReminderProgram());
        QVERIFY(m_opened[0].program);
        const SD::Shown *m = m_pf->dialogs().last(SD::Message);
        QVERIFY(m);
        QCOMPARE(m->text,
                 QString("Would you like Zorbi Reminders to automatically start when you restart your computer?"));
        QCOMPARE(m->buttons, int(ui::YesNo));
        QCOMPARE(m->icon, int(ui::Question));
        QCOMPARE(m->title, QString("Auto Start Reminders"));
        QVERIFY(w.chkPrefs[1]->isChecked());
        QVERIFY(w.cmdPrefs[4]->isEnabled());
        // With the box checked it starts without asking.
        w.cmdPrefs[1]->click();
        QCOMPARE(m_opened.size(), size_t(2));
        QCOMPARE(m_pf->dialogs().count(SD::Message), 1);
        w.cmdPrefs[3]->click();
    }
    {
        frm_prefs w(gMain);
        w.show();
        m_pf->dialogs().queue(int(ui::No));
        w.cmdPrefs[1]->click();
        QVERIFY(!w.chkPrefs[1]->isChecked());
        QVERIFY(!w.cmdPrefs[4]->isEnabled());
    }
}

void TestPrefs::pickedFolderStays()
{
    frm_prefs w(gMain);
    w.show();
    m_pf->dialogs().queue(QString("/home/ann/Backups"));
    m_pf->dialogs().queue(QString()); // the second picker is cancelled
    w.cmdPrefs[0]->click();
    w.cmdPrefs[9]->click();
    QCOMPARE(m_pf->dialogs().shown()[0].title, QString("Select Backup folder"));
    QCOMPARE(m_pf->dialogs().shown()[1].title, QString("Select Local Photo folder"));
    // The window comes back to the front after the picker: what was picked stays.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    w.hide();
    w.show();
    QCOMPARE(w.txtPrefs[1]->text(), QString("/home/ann/Backups"));
    QCOMPARE(w.txtPrefs[4]->text(), QString());
    QVERIFY(w.cmdPrefs[4]->isEnabled());
    w.cmdPrefs[4]->click();
    QCOMPARE(funPref_Get("BackupFolder"), QString("/home/ann/Backups"));
}

void TestPrefs::openButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("opened"); // "" when nothing opens
    QTest::newRow("site without scheme") << 6 << "www.a.org/ann"
                                         << "http://www.a.org/ann";
    QTest::newRow("site with blanks around") << 7 << "  photos.b.org "
                                             << "http://photos.b.org";
    QTest::newRow("site with scheme") << 7 << "https://photos.b.org"
                                      << "https://photos.b.org";
    QTest::newRow("blank site") << 6 << "   "
                                << "";
    QTest::newRow("local folder") << 8 << "<folder>"
                                  << "<folder>";
    QTest::newRow("blank folder") << 8 << ""
                                  << "";
}

void TestPrefs::openButtons()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    QFETCH(QString, opened);
    text.replace("<folder>", m_pf->path());
    opened.replace("<folder>", QUrl::fromLocalFile(m_pf->path()).toString(QUrl::FullyEncoded));
    frm_prefs w(gMain);
    w.show();
    w.txtPrefs[button - 4]->setText(text);
    w.cmdPrefs[button]->click();
    if (opened.isEmpty()) {
        QVERIFY(m_opened.empty());
    } else {
        QCOMPARE(m_opened.size(), size_t(1));
        QCOMPARE(m_opened[0].target, opened);
        QVERIFY(!m_opened[0].program);
    }
    QCOMPARE(m_pf->dialogs().count(SD::Message), 0);
    gPrefsChanged = false;
}

void TestPrefs::backupNow()
{
    frm_prefs w(gMain);
    w.show();
    w.cmdPrefs[5]->click();
    QCOMPARE(m_calls, QStringList{"backup(frm_controls,0)"});
}

void TestPrefs::backupNowThatClosesTheWindow_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<bool>("letGo"); // the backup also lets the window go (deleteLater)
    QTest::newRow("closed") << false << false;
    QTest::newRow("closed and let go") << false << true;
    QTest::newRow("edited, closed and let go") << true << true;
}

void TestPrefs::backupNowThatClosesTheWindow()
{
    QFETCH(bool, edited);
    QFETCH(bool, letGo);
    // The backup closes every window but the main window and the hidden form,
    // the preferences it was started from among them.
    subjectRoutines().backupDatabase = [letGo](QWidget *, bool) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<frm_prefs *>(w)) {
                p->close();
                if (letGo)
                    p->deleteLater();
            }
    };
    m_pf->dialogs().queue(int(ui::Yes)); // "Save changes?" when there is an edit
    QPointer<QTimer> t = testsupport::onModal<frm_prefs>([edited](frm_prefs *w) {
        if (edited)
            edit(w->txtPrefs[2], "www.a.org");
        w->cmdPrefs[5]->click();
    });
    QVERIFY(funPrefsHandler(gMain, ActionShow, 1));
    delete t;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!gMain->findChild<frm_prefs *>());
    QCOMPARE(m_pf->dialogs().count(SD::Message), edited ? 1 : 0);
    QCOMPARE(funPref_Get("PhotoSite_1"), QString(edited ? "www.a.org" : ""));
}

// Backup Now with an edit not saved: the window asks once; Cancel keeps it open
// with the edit, and no backup is made.
void TestPrefs::backupNowKeptByCancel()
{
    subjectRoutines().backupDatabase = backup::subBackupDatabase;
    const QString target = m_pf->file("Pets.dat");
    m_pf->dialogs().queue(target);          // the backup's target
    m_pf->dialogs().queue(int(ui::Cancel)); // "Save changes?"
    bool keptOpen = false;
    QString kept;
    QPointer<QTimer> t = testsupport::onModal<frm_prefs>([&](frm_prefs *w) {
        edit(w->txtPrefs[2], "www.a.org");
        w->cmdPrefs[5]->click();
        keptOpen = w->isVisible();
        kept = w->txtPrefs[2]->text();
        m_pf->dialogs().queue(int(ui::No));
        w->cmdPrefs[2]->click();
    });
    QVERIFY(funPrefsHandler(gMain, ActionShow, 1));
    delete t;
    QVERIFY(keptOpen);
    QCOMPARE(kept, QString("www.a.org"));
    QStringList texts;
    for (const SD::Shown &s : m_pf->dialogs().shown())
        texts << s.text;
    QCOMPARE(texts, (QStringList{"Backup Zorbi data file to", "Save changes?", "Save changes?"}));
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(gDataDB && gSystemDB);
    QCOMPARE(funPref_Get("PhotoSite_1"), QString());
}

void TestPrefs::showsModallyOnItsTab()
{
    for (int tab = 1; tab <= 3; ++tab) {
        bool seen = false;
        QPointer<QTimer> t = testsupport::onModal<frm_prefs>([&](frm_prefs *w) {
            seen = true;
            QCOMPARE(w->windowTitle(), QString("Preferences"));
            QVERIFY(w->isModal());
            QVERIFY(!w->windowIcon().isNull());
            QCOMPARE(w->parentWidget(), static_cast<QWidget *>(gMain));
            QCOMPARE(w->tbsPrefs->SelectedIndex(), tab);
            for (int i = 1; i <= 3; ++i)
                QCOMPARE(w->frmPrefs[i]->isVisible(), i == tab);
            w->cmdPrefs[2]->click(); // OK, nothing changed
        });
        QVERIFY(funPrefsHandler(gMain, ActionShow, tab));
        delete t;
        QVERIFY(seen);
        QVERIFY(!gMain->findChild<frm_prefs *>());
    }
    QCOMPARE(m_pf->dialogs().count(SD::Message), 0);
}

ZORBI_TEST_MAIN(TestPrefs)
#include "tst_prefs.moc"
