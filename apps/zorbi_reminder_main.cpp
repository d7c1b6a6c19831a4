#include "apps/routines.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "tray/main_systray.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installProgramRoutines();
    // The same settings as the main program's; the program lives in the
    // notification area, so closing the reminder window does not end it.
    subInitApplication();

    const int code = main_systray::Main();
    if (code >= 0) {
        resetGlobals();
        return code;
    }
    return app.exec();
}
