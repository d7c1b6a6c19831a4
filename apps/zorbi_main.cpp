#include "apps/routines.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "platform/warmup.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    warmup::beforeApplication();
    QApplication app(argc, argv);
    warmup::afterApplication();
    installProgramRoutines();
    subInitApplication();

    const int code = Main();
    // Before the application object goes, on every way out of start-up.
    warmup::finish();
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
    // The heap's reserve serves the start alone.
    QTimer::singleShot(5000, &app, &warmup::releaseHeap);
    return app.exec();
}
