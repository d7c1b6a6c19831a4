#include "core/system.h"
#include "core/globals.h"
#include "platform/dialogs.h"
#include "platform/help_window.h"
#include "platform/shell.h"

QString funGetPicturesFolder() { return funGetProgramFolder() + QStringLiteral("/Pictures"); }

QString funGetSamplesFolder() { return funGetProgramFolder() + QStringLiteral("/Samples"); }

QString funGetFolder(QWidget *form, const QString &title) { return funPickFolder(form, title); }

QString funPickFolder(QWidget *form, const QString &title)
{
    const QString folder = ui::dialogs().pickFolder(form, title);
    return folder.isNull() ? QString("") : folder;
}

void subShellOpen(QWidget * /*form*/, const QString &file, const QString &parameters)
{
    shell::open(file, parameters);
}

bool funHelp(QWidget *form, int action, int context)
{
    if (action == 4) {
        help::closeHelpWindow();
        return true;
    }
    help::HelpWindow *window = help::helpWindowFor(form);
    window->setHelpFolder(gHelpFile.isEmpty() ? funGetProgramFolder() + QStringLiteral("/Help")
                                              : gHelpFile);
    switch (action) {
    case 2: window->showPage(QString::number(context) + QStringLiteral(".html")); break;
    case 3: window->showIndex(); break;
    case 5: window->showSearch(); break;
    default: window->showContents(); break;
    }
    window->present();
    return true;
}
