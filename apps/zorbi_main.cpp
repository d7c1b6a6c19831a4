#include "core/globals.h"
#include "core/main_zorbi.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorbi 2003"));
    QApplication::setOrganizationName(QStringLiteral("Zorbi 2003"));
    QApplication::setApplicationVersion(QStringLiteral(ZORBI_VERSION));
    // The program lives while its windows are loaded, not while one is visible.
    QApplication::setQuitOnLastWindowClosed(false);

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
