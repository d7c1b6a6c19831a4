#include "core/globals.h"
#include <QCoreApplication>
#include <QDir>

namespace {
QString g_programFolder;
}

QString funGetProgramFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

void setProgramFolder(const QString &folder)
{
    g_programFolder = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

std::unique_ptr<db::Workspace> gWorkspace;
std::unique_ptr<db::Database> gSystemDB;
std::unique_ptr<db::Database> gDataDB;
QString gSystemDBPath;
QString gDataDBPath;
QString gPicturePath;
QString gDefaultPicture;
QString gHelpFile;
int gListviewPet = 0, gListviewAddress = 0, gListviewReport = 0, gListviewPicture = 0;
std::vector<QVariantList> gListBarCargo(1);
long gLastRecordID = 0;

void resetGlobals()
{
    gSystemDB.reset();
    gDataDB.reset();
    gWorkspace.reset();
    gSystemDBPath.clear();
    gDataDBPath.clear();
    gPicturePath.clear();
    gDefaultPicture.clear();
    gHelpFile.clear();
    gListviewPet = gListviewAddress = gListviewReport = gListviewPicture = 0;
    gListBarCargo.assign(1, QVariantList());
    gLastRecordID = 0;
}
