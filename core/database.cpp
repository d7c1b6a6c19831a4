#include "core/database.h"

#include "platform/dates.h"
#include "core/globals.h"
#include "core/settings.h"
#include "platform/dialogs.h"

#include <QDir>

QString funGetDBNameSystem() { return funGetProgramFolder() + QStringLiteral("/Zorbi.sys"); }

QString funGetDBNameData()
{
    return settings::text(Setting::Database);
}

QString funGetDBPassword()
{
    // Built from its character codes each time, so the text stands in no variable or file.
    static const int codes[9] = {0x5A, 0x62, 0x21, 0x32, 0x30, 0x30, 0x33, 0x70, 0x77};
    QString pwd;
    for (int c : codes)
        pwd += QChar(c);
    return pwd;
}

QString funDBConnect() { return QStringLiteral("MS Access;PWD=") + funGetDBPassword(); }

static void ensureWorkspace()
{
    // A damaged file fails in every routine that reads it; the user hears of it once.
    ui::reportOnce(db::ErrUnrecognizedFormat);
    if (!gWorkspace)
        gWorkspace = std::make_unique<db::Workspace>(QString(), QStringLiteral("admin"), QString());
}

bool funOpen_SystemDB(QWidget *form, const QString &path)
{
    ensureWorkspace();
    db::DbError err;
    // Read-only: the program never writes the system file, and an install for
    // all users keeps it in a folder the user cannot write.
    auto opened = gWorkspace->openDatabase(path, false, true, funDBConnect(), &err, db::kSystemFileId);
    if (!opened) {
        ui::dialogs().msgBox(form,
                             QStringLiteral("Unable to open Zorbi system file: ") + trimBlanks(path) +
                                 QStringLiteral("\nError ") + QString::number(err.number) +
                                 QStringLiteral(": ") + err.description,
                             ui::Critical | ui::OKOnly);
        return false;
    }
    gSystemDB = std::move(opened);
    gSystemDBPath = path;
    return true;
}

bool funOpen_DataDB(QWidget *form, const QString &path, DataOpenResult *result)
{
    ensureWorkspace();
    // A loop, not a call of itself: the user may choose missing files any number of times.
    QString tried = path;
    for (;;) {
        db::DbError err;
        auto opened = gWorkspace->openDatabase(tried, false, false, funDBConnect(), &err, db::kDataFileId);
        if (opened) {
            gDataDB = std::move(opened);
            gDataDBPath = tried;
            settings::set(Setting::Database, tried);
            if (result)
                *result = DataOpenResult::Opened;
            return true;
        }
        if (err.number == db::ErrFileNotFound) {
            ui::FileRequest req;
            req.title = QStringLiteral("Select Zorbi data file...");
            req.filter = QStringLiteral("Zorbi data files (*.dat)|*.dat|All Files (*.*)|*.*");
            req.defaultExt = QStringLiteral("*.dat");
            req.initialDir = funGetProgramFolder();
            req.filterIndex = 1;
            req.save = false;
            const QString chosen = ui::dialogs().fileDialog(form, req);
            if (chosen.isEmpty()) {
                if (result)
                    *result = DataOpenResult::Cancelled;
                return false;
            }
            tried = chosen;
            continue;
        }
        // The message names the file that was actually tried, also after a choice.
        ui::dialogs().msgBox(form,
                             QStringLiteral("Unable to open Zorbi data file: ") + trimBlanks(tried) +
                                 QStringLiteral("\nError ") + QString::number(err.number) +
                                 QStringLiteral(": ") + err.description,
                             ui::Critical | ui::OKOnly);
        if (result)
            *result = DataOpenResult::Failed;
        return false;
    }
}

void subCloseSystemDB()
{
    if (gSystemDB)
        gSystemDB->close();
    gSystemDB.reset();
}

void subCloseDataDB()
{
    if (gDataDB)
        gDataDB->close();
    gDataDB.reset();
}
