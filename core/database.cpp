#include "core/database.h"

#include "platform/dates.h"
#include "core/globals.h"
#include "core/settings.h"
#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString funGetDBNameSystem() { return funGetProgramFolder() + QStringLiteral("/Zorbi.sys"); }

namespace {

bool programFolderIsWritable() { return QFileInfo(funGetProgramFolder()).isWritable(); }

QString userFilesFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zorbi 2003");
}

// A private folder of the user's, made when it is not there yet.
bool makePrivateFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    return QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Gives the user `target`, a copy of the program's empty data file made by the
// engine (the file may be open in another program), private to the user. The
// copy is finished under another name and then takes its own without replacing
// anything, so a copy the other program made meanwhile is kept.
bool makeUserDataFile(const QString &target)
{
    if (!makePrivateFolder(QFileInfo(target).path()))
        return false;
    db::DbError err;
    auto shipped = db::Workspace().openDatabase(funGetProgramFolder() + QStringLiteral("/Zorbi.dat"), false, true,
                                                funDBConnect(), &err, db::kDataFileId);
    if (!shipped)
        return false;
    const QString temporary = QStringLiteral("%1.%2.tmp").arg(target).arg(QCoreApplication::applicationPid());
    QFile::remove(temporary);
    const bool copied =
        shipped->compactTo(temporary) && QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
    shipped.reset();
    if (copied && QFile::rename(temporary, target))
        return true;
    QFile::remove(temporary);
    return QFileInfo(target).isFile();
}

} // namespace

QString funGetRecordsFolder()
{
    if (programFolderIsWritable())
        return funGetProgramFolder();
    const QString folder = userFilesFolder();
    makePrivateFolder(folder);
    return folder;
}

QString funGetDBNameData()
{
    const QString shipped = funGetProgramFolder() + QStringLiteral("/Zorbi.dat");
    if (programFolderIsWritable())
        return settings::text(Setting::Database);
    // An install for all users: the shipped file is only read, and each user
    // starts with a copy of it of their own.
    const QString stored = settings::storedText(Setting::Database);
    if (!stored.isEmpty())
        return stored;
    const QString own = userFilesFolder() + QStringLiteral("/Zorbi.dat");
    if (QFileInfo(own).isFile() || makeUserDataFile(own))
        return own;
    // The opener then tells the user why the shipped file cannot be used.
    return shipped;
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
                             QStringLiteral("Unable to open Zorbi system file: ") + trimBlanks(path)
                                 + QStringLiteral("\nError ") + QString::number(err.number) + QStringLiteral(": ")
                                 + err.description,
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
                             QStringLiteral("Unable to open Zorbi data file: ") + trimBlanks(tried)
                                 + QStringLiteral("\nError ") + QString::number(err.number) + QStringLiteral(": ")
                                 + err.description,
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

QString funGetSystemText(const QString &sql, const QVariantList &params)
{
    if (!gSystemDB)
        return {};
    auto rs = gSystemDB->openRecordset(sql, params);
    if (!rs || rs->isEOF() || rs->isNull(rs->fieldNames().value(0)))
        return {};
    return rs->field(0).toString();
}

QString funGetSpeciesName(const QVariant &species)
{
    if (species.isNull() || species.toLongLong() == 0)
        return {};
    return funGetSystemText(QStringLiteral("SELECT species_name FROM tbl_species WHERE species_id = ?"),
                            {species.toLongLong()});
}
