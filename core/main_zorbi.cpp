#include "core/main_zorbi.h"
#include "core/codes.h"

#include "core/database.h"
#include "core/edit.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/settings.h"
#include "core/menu.h"
#include "core/system.h"
#include "platform/clock.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/dialogs.h"
#include "platform/warmup.h"
#include "platform/single_instance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
QStringList g_arguments;
bool g_argumentsSet = false;
std::unique_ptr<InstanceLock> g_instance;
} // namespace

bool funBackupCountAccepted(const QString &text, int *count)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 5
        || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    const int value = digits.toInt();
    if (value < kBackupCountMin || value > kBackupCountMax)
        return false;
    if (count)
        *count = value;
    return true;
}

int funBackupCountLimit()
{
    const int kDefault = settings::defaultValue(Setting::AutomaticBackupCount).toInt();
    const QString text = settings::text(Setting::AutomaticBackupCount).trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return kDefault;
    return int(std::clamp(std::nearbyint(v), double(kBackupCountMin), double(kBackupCountMax)));
}

QString funGetAppTitle() { return QStringLiteral("Zorbi 2003"); }

QString funGetWebAddress() { return QStringLiteral("www.zorbi2003.example.org"); }

void subInitApplication()
{
    QApplication::setApplicationName(QStringLiteral("Zorbi 2003"));
    QApplication::setOrganizationName(QStringLiteral("Zorbi 2003"));
    QApplication::setApplicationVersion(QStringLiteral(ZORBI_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
}

void setCommandArguments(const QStringList &arguments)
{
    g_arguments = arguments;
    g_argumentsSet = !arguments.isEmpty();
}

bool funIsCommand(const QString &sw)
{
    if (sw.isEmpty())
        return false;
    // The program's own path is not part of its command line: an install folder
    // such as "/opt/about" must not count as the switch.
    const QStringList args = g_argumentsSet ? g_arguments : QCoreApplication::arguments().mid(1);
    const QString line = args.join(QLatin1Char(' '));
    if (line.isEmpty())
        return false;
    return line.contains(sw, Qt::CaseInsensitive);
}

void subInitReports()
{
    gListBarCargo.assign(1, ListBarItem());
    funReportHandler(gMain, ActionInitialize);
}

int Main()
{
    ui::setDefaultTitle(funGetAppTitle());

    // 1. One copy per user.
    g_instance = std::make_unique<InstanceLock>(QStringLiteral("Zorbi"));
    if (!g_instance->tryLock()) {
        const QString refused = g_instance->error();
        g_instance.reset();
        if (!refused.isEmpty()) {
            ui::dialogs().msgBox(nullptr, funGetAppTitle() + QStringLiteral(" cannot start. ") + refused,
                                 ui::Critical | ui::OKOnly);
            return 1;
        }
        ui::dialogs().msgBox(nullptr, funGetAppTitle() + QStringLiteral(" is already running."),
                             ui::Information | ui::OKOnly);
        return 0;
    }

    // 2. The printout catalogue.
    subInitReports();

    // 3. The workspace.
    gWorkspace = std::make_unique<db::Workspace>(QString(), QStringLiteral("admin"), QString());

    // 4-5. The system file, then the data file; the openers report their failures.
    gSystemDBPath = funGetDBNameSystem();
    if (!funOpen_SystemDB(nullptr, gSystemDBPath)) {
        g_instance.reset();
        return 1;
    }
    gDataDBPath = funGetDBNameData();
    DataOpenResult opened = DataOpenResult::Failed;
    if (!funOpen_DataDB(nullptr, gDataDBPath, &opened)) {
        g_instance.reset();
        return opened == DataOpenResult::Cancelled ? 0 : 1;
    }

    // 6-7. Pictures, the stand-in picture and help.
    gPicturePath = funGetPicturesFolder() + QLatin1Char('/');
    const QString defaultPicture = funGetProgramFolder() + QStringLiteral("/Default.gif");
    gDefaultPicture = QFileInfo(defaultPicture).isFile() ? defaultPicture : QString();
    gHelpFile = funGetProgramFolder() + QStringLiteral("/Help");

    // 8. The main window, loaded but not yet shown, with the hidden shared controls.
    warmup::finish();
    gControls = new frm_controls;
    gMain = new frm_main;
    gMain->setWindowIcon(gControls->ctImageMain.icon(0, 1));
    gMain->Load();

    // 9-10. The switches, which end the run once their window is done.
    if (funIsCommand(QStringLiteral("/about"))) {
        subShowAbout(gMain);
        return 0;
    }
    if (funIsCommand(QStringLiteral("/add_event"))) {
        funEventHandler(gMain, ActionAdd, 0, QVariant());
        return 0;
    }

    // 11-15. Menus, icons, the list bar's size, the list views' modes, photo sites.
    subBuildContextMenus();
    gMain->ImageListpet_small->insert(1, gControls->ctImageMain.icon(0, 2));
    gMain->ImageListpet_large->insert(1, gControls->ctImageMain.icon(0, 3));
    gMain->ImageListContact_small->insert(1, gControls->ctImageMain.icon(0, 2));
    gMain->ImageListContact_large->insert(1, gControls->ctImageMain.icon(0, 3));
    gMain->ImageListPicture_Small->insert(1, gControls->ctImageMain.icon(0, 16));
    gMain->ImageListPicture_Large->insert(1, gControls->ctImageMain.icon(0, 17));
    const QString iconSize = settings::text(Setting::MainMenuIconSize);
    if (iconSize == QLatin1String("0") || iconSize == QLatin1String("1"))
        subSetListBarIconSize(iconSize.toInt());
    gListviewPet = settings::count(Setting::ListviewPet);
    gListviewAddress = settings::count(Setting::ListviewAddress);
    gListviewReport = settings::count(Setting::ListviewReport);
    gListviewPicture = settings::count(Setting::ListviewPicture);
    gMain->ListView_Pet->setView(gListviewPet);
    gMain->ListView_Contact->setView(gListviewAddress);
    gMain->ListView_Report->setView(gListviewReport);
    gMain->ListView_Picture->setView(gListviewPicture);
    subMenuPhotoSites(gMain);

    // 16-18. The calendar at today, the window, and one reminder check when the
    // reminder program is not there to make it.
    funCalendarHandler(gMain, ActionShow, zbclock::now());
    gMain->setWindowTitle(funGetAppTitle());
    gMain->show();
    if (!funRemindersRunning())
        funCheckReminders(0, false);
    // What every detail window needs, made once the loop runs rather than
    // when the user first opens one.
    QTimer::singleShot(0, gMain, &subPrepareFormatIcons);
    return -1;
}

bool funBackupPromptDue()
{
    const int count = settings::count(Setting::BackupCount);
    const int limit = funBackupCountLimit();
    const bool ruleOn = settings::count(Setting::AutomaticBackup) == 1;
    if (ruleOn && count >= limit)
        return true;
    // The count stops at the top of its range rather than wrapping round.
    settings::set(Setting::BackupCount, QString::number(std::min(count + 1, 32767)));
    return false;
}

void subDeleteTempFiles()
{
    const QDir folder(funGetProgramFolder());
    // Name filters match without regard to case unless told otherwise.
    const QFileInfoList files =
        folder.entryInfoList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &fi : files) {
        if (!fi.fileName().endsWith(QStringLiteral("tmp"), Qt::CaseInsensitive))
            continue;
        QFile::remove(fi.filePath()); // a file that cannot go stays; the rest still go
    }
}

void subExitProcedure()
{
    // What the exit stores (the list-view modes, the count, the prompt's answer)
    // goes to the settings file in one write.
    settings::holdWrites();
    if (funBackupPromptDue())
        subShowBackupPrompt(nullptr);
    settings::flushWrites();
    subCloseSystemDB();
    subCloseDataDB();
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    subDeleteTempFiles();
    g_instance.reset();
}

void subExitProgram()
{
    subExitProcedure();
    resetGlobals();
    std::exit(0);
}
