#include "core/frm_prefs.h"
#include "core/codes.h"

#include "platform/dates.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/menu.h"
#include "core/reminder_control.h"
#include "core/settings.h"
#include "core/system.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/tab_strip.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

bool gPrefsChanged = false;

namespace {

QString indexed(const char *name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

// The folder pickers' buttons show a folder.
QIcon folderIcon() { return QApplication::style()->standardIcon(QStyle::SP_DirIcon); }
QPixmap storePicture(int index) { return gControls ? gControls->ctImageMain.picture(0, index) : QPixmap(); }

QLabel *wrappedNote(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

// A check box's value as the settings keep it.
QString checkValue(const QCheckBox *box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); }

// The setting of each calendar check box.
struct CalendarBox {
    int index;
    Setting setting;
};
constexpr CalendarBox kCalendarBoxes[4] = {
    {4, Setting::CalShowDOB}, {5, Setting::CalShowDiary}, {3, Setting::CalShowVacRec}, {6, Setting::CalShowVacExp}};

// The setting of each text box but the count (which the backup rule reads).
struct TextBox {
    int index;
    Setting setting;
};
constexpr TextBox kTextBoxes[4] = {
    {1, Setting::BackupFolder}, {2, Setting::PhotoSite1}, {3, Setting::PhotoSite2}, {4, Setting::PhotoSite3}};

} // namespace

frm_prefs::frm_prefs(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_prefs"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    tbsPrefs = named(new TabStrip(this), QStringLiteral("tbsPrefs"));
    tbsPrefs->addTab(QStringLiteral("general"), QStringLiteral("General"), QStringLiteral("Set general preferences"));
    tbsPrefs->addTab(QStringLiteral("calendar"), QStringLiteral("Calendar"),
                     QStringLiteral("Set calendar preferences"));
    tbsPrefs->addTab(QStringLiteral("photos"), QStringLiteral("Photo Albums"),
                     QStringLiteral("Review online photo sites"));
    tbsPrefs->setExpanding(false);

    auto *frames = new QWidget(this);
    auto *stack = new QGridLayout(frames);
    stack->setContentsMargins(0, 0, 0, 0);
    frmPrefs[1] = buildGeneralTab();
    frmPrefs[2] = buildCalendarTab();
    frmPrefs[3] = buildPhotosTab();
    for (int i = 1; i <= 3; ++i) {
        frmPrefs[i]->setParent(frames);
        frmPrefs[i]->setObjectName(indexed("frmPrefs", i));
        stack->addWidget(frmPrefs[i], 0, 0);
    }
    tbsPrefs->setFrames({frmPrefs[1], frmPrefs[2], frmPrefs[3]});

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const char *const captions[3] = {"OK", "Cancel", "Apply"};
    for (int i = 2; i <= 4; ++i) {
        cmdPrefs[i] = named(new QPushButton(QLatin1String(captions[i - 2]), this), indexed("cmdPrefs", i));
        cmdPrefs[i]->setAutoDefault(false);
        buttons->addWidget(cmdPrefs[i]);
    }
    cmdPrefs[2]->setDefault(true);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(tbsPrefs);
    outer->addWidget(frames, 1);
    outer->addLayout(buttons);

    for (int i = 0; i <= 9; ++i)
        if (cmdPrefs[i])
            connect(cmdPrefs[i], &QPushButton::clicked, this, [this, i] { cmdPrefs_Click(i); });
    for (int i = 1; i <= 6; ++i)
        connect(chkPrefs[i], &QCheckBox::toggled, this, [this, i] { chkPrefs_Click(i); });
    for (QRadioButton *o : OptPrefs)
        connect(o, &QRadioButton::toggled, this, [this] { subSetChanged(true); });
    for (QLineEdit *t : txtPrefs)
        connect(t, &QLineEdit::textChanged, this, [this] { subSetChanged(true); });
    connect(tbsPrefs, &TabStrip::click, this, &frm_prefs::tbsPrefs_Click);

    // Typed keys are checked one by one (with a message); the validator keeps
    // pasted text to digits as well.
    txtPrefs[0]->installEventFilter(this);
    txtPrefs[0]->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtPrefs[0]));

    imgPrefs[2]->setPixmap(storePicture(6));
    imgPrefs[3]->setPixmap(storePicture(24));
    subSetChanged(false);
}

QWidget *frm_prefs::buildGeneralTab()
{
    auto *tab = new QWidget(this);
    auto *v = new QVBoxLayout(tab);

    auto *menu = new QGroupBox(QStringLiteral("Main Menu"), tab);
    auto *mh = new QHBoxLayout(menu);
    OptPrefs[0] = named(new QRadioButton(QStringLiteral("Large Icons"), menu), indexed("OptPrefs", 0));
    OptPrefs[1] = named(new QRadioButton(QStringLiteral("Small Icons"), menu), indexed("OptPrefs", 1));
    mh->addWidget(OptPrefs[0]);
    mh->addWidget(OptPrefs[1]);
    mh->addStretch(1);
    v->addWidget(menu);

    auto *reminders = new QGroupBox(QStringLiteral("Reminders"), tab);
    auto *rg = new QGridLayout(reminders);
    imgPrefs[2] = named(new QLabel(reminders), indexed("imgPrefs", 2));
    imgPrefs[2]->setFixedSize(32, 32);
    chkPrefs[1] = named(new QCheckBox(QStringLiteral("Run reminders in system tray at Windows startup?"), reminders),
                        indexed("chkPrefs", 1));
    cmdPrefs[1] = named(new QPushButton(QStringLiteral("Start Now"), reminders), indexed("cmdPrefs", 1));
    rg->addWidget(imgPrefs[2], 0, 0, 2, 1, Qt::AlignTop);
    rg->addWidget(chkPrefs[1], 0, 1);
    rg->addWidget(cmdPrefs[1], 0, 2);
    rg->addWidget(wrappedNote(QStringLiteral("Note: Reminders will not show when Zorbi opens if system tray "
                                             "reminders are running."),
                              reminders),
                  1, 1, 1, 2);
    rg->setColumnStretch(1, 1);
    v->addWidget(reminders);

    auto *backup = new QGroupBox(QStringLiteral("Backup"), tab);
    auto *bg = new QGridLayout(backup);
    chkPrefs[2] =
        named(new QCheckBox(QStringLiteral("Automatic backup reminder at exit?"), backup), indexed("chkPrefs", 2));
    Label3[0] = named(new QLabel(QStringLiteral("Remind every:"), backup), indexed("Label3", 0));
    txtPrefs[0] = named(new QLineEdit(backup), indexed("txtPrefs", 0));
    txtPrefs[0]->setMaximumWidth(50);
    txtPrefs[0]->setMaxLength(5);
    Label3[2] = named(new QLabel(QStringLiteral("exits"), backup), indexed("Label3", 2));
    auto *every = new QHBoxLayout;
    every->addWidget(Label3[0]);
    every->addWidget(txtPrefs[0]);
    every->addWidget(Label3[2]);
    every->addStretch(1);
    bg->addWidget(chkPrefs[2], 0, 0, 1, 3);
    bg->addLayout(every, 1, 0, 1, 3);
    bg->addWidget(new QLabel(QStringLiteral("Default Backup Location:"), backup), 2, 0, 1, 3);
    txtPrefs[1] = named(new QLineEdit(backup), indexed("txtPrefs", 1));
    cmdPrefs[0] = named(new QPushButton(folderIcon(), QString(), backup), indexed("cmdPrefs", 0));
    cmdPrefs[0]->setToolTip(QStringLiteral("Select a default backup location"));
    bg->addWidget(txtPrefs[1], 3, 0, 1, 2);
    bg->addWidget(cmdPrefs[0], 3, 2);
    cmdPrefs[5] = named(new QPushButton(QStringLiteral("Backup Now"), backup), indexed("cmdPrefs", 5));
    bg->addWidget(cmdPrefs[5], 4, 2);
    bg->setColumnStretch(1, 1);
    v->addWidget(backup);

    auto *file = new QHBoxLayout;
    file->addWidget(new QLabel(QStringLiteral("Current Data File:"), tab));
    lblDatabase = named(new QLabel(tab), QStringLiteral("lblDatabase"));
    lblDatabase->setTextInteractionFlags(Qt::TextSelectableByMouse);
    file->addWidget(lblDatabase, 1);
    v->addLayout(file);
    v->addStretch(1);
    return tab;
}

QWidget *frm_prefs::buildCalendarTab()
{
    auto *tab = new QWidget(this);
    auto *v = new QVBoxLayout(tab);
    const char *const captions[7] = {nullptr,
                                     nullptr,
                                     nullptr,
                                     "Show Vaccination / Medication Received Dates",
                                     "Show Pet Birthdays",
                                     "Show Diary Entries",
                                     "Show Vaccination / Medication Expiration Dates"};
    for (int i : {4, 5, 3, 6}) {
        chkPrefs[i] = named(new QCheckBox(QLatin1String(captions[i]), tab), indexed("chkPrefs", i));
        v->addWidget(chkPrefs[i]);
    }
    // The note's "&&" was a label's way of showing one "&"; our labels show text as it is.
    v->addWidget(wrappedNote(QStringLiteral("Note: It is strongly recommended that you leave Vaccination / Medication "
                                            "Received & Expiration Dates checked, so you can easily see when "
                                            "vaccination expirations are coming due on your calendar."),
                             tab));
    v->addStretch(1);
    return tab;
}

QWidget *frm_prefs::buildPhotosTab()
{
    auto *tab = new QWidget(this);
    auto *g = new QGridLayout(tab);
    const char *const labels[3] = {"Online Photo Album/Site 1:  http://", "Online Photo Album/Site 2:  http://",
                                   "Local Photo Folder:"};
    const char *const tips[3] = {"Open online photo album site 1", "Open online photo album site 2",
                                 "Open local photo folder"};
    int row = 0;
    for (int i = 0; i < 3; ++i) {
        g->addWidget(new QLabel(QLatin1String(labels[i]), tab), row++, 0, 1, 3);
        txtPrefs[2 + i] = named(new QLineEdit(tab), indexed("txtPrefs", 2 + i));
        cmdPrefs[6 + i] = named(new QPushButton(QStringLiteral("Open"), tab), indexed("cmdPrefs", 6 + i));
        cmdPrefs[6 + i]->setToolTip(QLatin1String(tips[i]));
        g->addWidget(txtPrefs[2 + i], row, 0);
        g->addWidget(cmdPrefs[6 + i], row, 1);
        if (i == 2) {
            cmdPrefs[9] = named(new QPushButton(folderIcon(), QString(), tab), indexed("cmdPrefs", 9));
            cmdPrefs[9]->setToolTip(QStringLiteral("Select local photo album/folder"));
            g->addWidget(cmdPrefs[9], row, 2);
        }
        ++row;
        if (i == 1)
            g->addWidget(wrappedNote(QStringLiteral("(For Online Photo Albums/Sites, copy the address of your online "
                                                    "photo site and paste into either of the 2 online site addresses "
                                                    "above)"),
                                     tab),
                         row++, 0, 1, 3);
    }
    g->addWidget(wrappedNote(QStringLiteral("(Click on the yellow folder selection buttons to select new folder "
                                            "locations)"),
                             tab),
                 row++, 0, 1, 3);
    imgPrefs[3] = named(new QLabel(tab), indexed("imgPrefs", 3));
    imgPrefs[3]->setFixedSize(32, 32);
    g->addWidget(imgPrefs[3], row++, 0, Qt::AlignLeft);
    g->setRowStretch(row, 1);
    g->setColumnStretch(0, 1);
    return tab;
}

// ---------------------------------------------------------------- settings

void frm_prefs::subLoadPrefs()
{
    m_loading = true;
    const bool small = settings::text(Setting::MainMenuIconSize) == QLatin1String("1");
    OptPrefs[small ? 1 : 0]->setChecked(true);
    chkPrefs[1]->setChecked(reminder_control::funAutoStartIsOn());
    // Read as the exit's backup rule reads it, so that saving the window never
    // switches the reminder off by itself.
    chkPrefs[2]->setChecked(settings::count(Setting::AutomaticBackup) == 1);
    // The count the exit's rule goes by, whatever text is stored.
    txtPrefs[0]->setText(QString::number(funBackupCountLimit()));
    for (const TextBox &t : kTextBoxes)
        txtPrefs[t.index]->setText(settings::text(t.setting));
    lblDatabase->setText(settings::storedText(Setting::Database));
    for (const CalendarBox &c : kCalendarBoxes)
        chkPrefs[c.index]->setChecked(settings::isOn(c.setting));
    chkPrefs_Click(2);
    m_loading = false;
}

// The boxes whose settings take only some values: the count and the backup
// location. A refusal says why and leaves the user at the box.
bool frm_prefs::boxesAccepted()
{
    QString problem;
    QLineEdit *box = nullptr;
    const QString folder = txtPrefs[1]->text().trimmed();
    if (!funBackupCountAccepted(txtPrefs[0]->text())) {
        box = txtPrefs[0];
        problem = QStringLiteral("Please enter a number from %1 to %2 for the exits between backup reminders.")
                      .arg(kBackupCountMin)
                      .arg(kBackupCountMax);
    } else if (const QFileInfo named(folder); !folder.isEmpty() && named.exists() && !named.isDir()) {
        box = txtPrefs[1];
        problem = QStringLiteral("The Default Backup Location must be a folder. \"") + folder
                  + QStringLiteral("\" is a file.");
    }
    if (!box)
        return true;
    ui::dialogs().msgBox(this, problem, ui::Information);
    tbsPrefs->setSelectedIndex(1);
    box->setFocus();
    box->selectAll();
    return false;
}

bool frm_prefs::subSavePrefs()
{
    if (gPrefsChanged && !boxesAccepted())
        return false;
    if (gPrefsChanged) {
        settings::holdWrites();
        settings::set(Setting::BackupFolder, txtPrefs[1]->text());
        const int size = OptPrefs[0]->isChecked() ? 0 : 1;
        settings::set(Setting::MainMenuIconSize, size);
        subSetListBarIconSize(size);
        settings::set(Setting::AutomaticBackup, checkValue(chkPrefs[2]));
        settings::set(Setting::AutomaticBackupCount, txtPrefs[0]->text());
        for (int i = 2; i <= 4; ++i)
            settings::set(kTextBoxes[i - 1].setting, txtPrefs[i]->text());
        for (const CalendarBox &c : kCalendarBoxes)
            settings::set(c.setting, checkValue(chkPrefs[c.index]));
        settings::flushWrites();
        if (chkPrefs[1]->isChecked())
            reminder_control::subAutoStartOn();
        else
            reminder_control::subAutoStartOff();
    }
    subMenuPhotoSites(gMain);
    subBuildContextMenus();
    if (gMain && gMain->ctCalendar1)
        funCalendarHandler(gMain, ActionRefresh, funDayNumberToDate(gMain->ctCalendar1->Date()));
    subSetChanged(false);
    return true;
}

void frm_prefs::subSetChanged(bool flag)
{
    gPrefsChanged = flag;
    cmdPrefs[4]->setEnabled(flag);
}

// ---------------------------------------------------------------- events

void frm_prefs::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window loads when it first shows. Qt activates a window again after
    // every box and picker it opens, so loading at each activation would throw
    // away what the user has just typed or picked.
    if (!m_loaded) {
        m_loaded = true;
        Form_Activate();
    }
}

void frm_prefs::Form_Activate()
{
    subLoadPrefs();
    subSetChanged(false);
}

void frm_prefs::tbsPrefs_Click()
{
    const int tab = tbsPrefs->SelectedIndex();
    if (tab < 1)
        return;
    for (int i = 1; i <= tbsPrefs->tabCount(); ++i)
        frmPrefs[i]->setVisible(i == tab);
    QWidget *first[4] = {nullptr, OptPrefs[0], chkPrefs[4], txtPrefs[2]};
    first[tab]->setFocus();
}

void frm_prefs::chkPrefs_Click(int index)
{
    if (index == 2) {
        const bool on = chkPrefs[2]->isChecked();
        Label3[0]->setEnabled(on);
        Label3[2]->setEnabled(on);
        txtPrefs[0]->setEnabled(on);
        if (on && !m_loading && tbsPrefs->SelectedIndex() == 1)
            txtPrefs[0]->setFocus();
    }
    subSetChanged(true);
}

void frm_prefs::cmdPrefs_Click(int index)
{
    switch (index) {
    case 0:
    case 9: {
        const QString folder = funGetFolder(this, index == 0 ? QStringLiteral("Select Backup folder")
                                                             : QStringLiteral("Select Local Photo folder"));
        if (!folder.isEmpty())
            txtPrefs[index == 0 ? 1 : 4]->setText(folder);
        break;
    }
    case 1:
        subStartProgram(gMain, OurProgram::Reminder);
        if (!chkPrefs[1]->isChecked()
            && ui::dialogs().msgBox(this,
                                    QStringLiteral("Would you like Zorbi Reminders to automatically start when you "
                                                   "restart your computer?"),
                                    ui::YesNo | ui::Question, QStringLiteral("Auto Start Reminders"))
                   == ui::Yes)
            chkPrefs[1]->setChecked(true);
        break;
    case 2: close(); break;
    case 3:
        gPrefsChanged = false;
        close();
        break;
    case 4: subSavePrefs(); break;
    case 5: subBackupDatabase(gControls, false); break;
    case 6:
    case 7:
    case 8: {
        const QString text = txtPrefs[index - 4]->text();
        if (text.trimmed().isEmpty())
            break;
        // As the menus open them: the sites are stored without their scheme, and
        // the local folder is taken as typed.
        if (index == 8)
            subShellOpenFolder(gMain, text);
        else
            subShellOpen(gMain, funSiteAddress(text.trimmed()));
        break;
    }
    default: break;
    }
}

bool frm_prefs::txtPrefs_KeyPress(int index, const QString &text)
{
    if (index != 0 || text.isEmpty())
        return false;
    // Backspace, Delete, Tab and the control shortcuts bring control characters;
    // they edit the box and pass.
    for (const QChar c : text)
        if (!c.isDigit() && !c.isNull() && c.category() != QChar::Other_Control) {
            QApplication::beep();
            ui::dialogs().msgBox(this, QStringLiteral("Please enter numbers only."), ui::Information);
            return true;
        }
    return false;
}

bool frm_prefs::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPrefs[0] && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && txtPrefs_KeyPress(0, key->text()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frm_prefs::closeEvent(QCloseEvent *event)
{
    if (gPrefsChanged) {
        switch (ui::dialogs().msgBox(this, QStringLiteral("Save changes?"), ui::YesNoCancel | ui::Question)) {
        case ui::Yes:
            if (!subSavePrefs()) {
                event->ignore();
                return;
            }
            break;
        case ui::No: break;
        default: event->ignore(); return;
        }
    }
    gPrefsChanged = false;
    // QDialog's close event rejects the dialog, which ends the modal loop.
    m_closing = true;
    QDialog::closeEvent(event);
    m_closing = false;
}

void frm_prefs::reject()
{
    if (m_closing)
        QDialog::reject();
    else
        close();
}
