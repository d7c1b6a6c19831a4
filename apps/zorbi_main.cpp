#include "apps/routines.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "platform/font_warmup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    font_warmup::start();
    QApplication app(argc, argv);
    installProgramRoutines();
    subInitApplication();

    const int code = Main();
    if (code >= 0) {
        resetGlobals();
        return code;
    }
    // Start-up that loaded no window leaves nothing to run: end as the program
    // always did when its start-up returned with no form loaded.
    if (QApplication::topLevelWidgets().isEmpty()) {
        resetGlobals();
        return 0;
    }
    return app.exec();
}
