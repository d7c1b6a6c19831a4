#include "core/system.h"
#include "core/database.h"
#include "core/globals.h"
#include "platform/dialogs.h"
#include "platform/help_window.h"
#include "platform/shell.h"

QString funGetPicturesFolder() { return funGetRecordsFolder() + QStringLiteral("/Pictures"); }

QString funGetSamplesFolder() { return funGetProgramFolder() + QStringLiteral("/Samples"); }

QString funGetFolder(QWidget *form, const QString &title) { return funPickFolder(form, title); }

QString funPickFolder(QWidget *form, const QString &title)
{
    const QString folder = ui::dialogs().pickFolder(form, title);
    return folder.isNull() ? QString("") : folder;
}

void subShellOpen(QWidget *form, const QString &file, const QString & /*parameters*/)
{
    if (file.trimmed().isEmpty() || shell::openAddress(file))
        return;
    ui::dialogs().msgBox(form,
                         QStringLiteral("\"") + file.trimmed()
                             + QStringLiteral("\" is not a web or e-mail address, so it cannot be opened."),
                         ui::Exclamation | ui::OKOnly);
}

void subShellOpenFolder(QWidget *form, const QString &folder)
{
    if (folder.trimmed().isEmpty() || shell::openFolder(folder))
        return;
    ui::dialogs().msgBox(form,
                         QStringLiteral("The folder \"") + folder
                             + QStringLiteral("\" cannot be opened: there is no such folder."),
                         ui::Exclamation | ui::OKOnly);
}

QString funGetProgramPath(OurProgram program)
{
    return funGetProgramFolder()
           + (program == OurProgram::Main ? QStringLiteral("/Zorbi") : QStringLiteral("/Zorbi_Reminder"));
}

void subStartProgram(QWidget * /*form*/, OurProgram program, const QString &parameters)
{
    shell::startProgram(funGetProgramPath(program), parameters);
}

void subShellOpenProgramFile(QWidget * /*form*/, ProgramFile file)
{
    switch (file) {
    case ProgramFile::License: shell::openOwnFile(funGetProgramFolder() + QStringLiteral("/License.rtf")); break;
    case ProgramFile::PicturesFolder: shell::openOwnFile(funGetPicturesFolder()); break;
    case ProgramFile::SamplesFolder: shell::openOwnFile(funGetSamplesFolder()); break;
    }
}

bool funHelp(QWidget *form, int action, int context)
{
    if (action == 4) {
        help::closeHelpWindow();
        return true;
    }
    help::HelpWindow *window = help::helpWindowFor(form);
    window->setHelpFolder(gHelpFile.isEmpty() ? funGetProgramFolder() + QStringLiteral("/Help") : gHelpFile);
    switch (action) {
    case 2: window->showPage(QString::number(context) + QStringLiteral(".html")); break;
    case 3: window->showIndex(); break;
    case 5: window->showSearch(); break;
    default: window->showContents(); break;
    }
    window->present();
    return true;
}
