#include "platform/warmup.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QImageReader>
#include <QSqlDatabase>

#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace warmup {

namespace {
std::thread &configReader()
{
    static std::thread t;
    return t;
}

std::thread &loader()
{
    static std::thread t;
    return t;
}

void joinAll()
{
    if (configReader().joinable())
        configReader().join();
    if (loader().joinable())
        loader().join();
}

void atExit()
{
    // A run that ends before its first window (a second copy, a file that
    // cannot be opened) still waits for the threads rather than leaving them
    // running into the end of the process.
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(joinAll);
    }
}
} // namespace

void beforeApplication()
{
    if (configReader().joinable())
        return;
    // FcInit builds the library's one configuration; a second caller (Qt, if it
    // came first) builds its own and keeps whichever was installed first, so a
    // race costs time but never correctness.
    configReader() = std::thread([] { FcInit(); });
    atExit();
}

void afterApplication()
{
    if (loader().joinable())
        return;
    loader() = std::thread([] {
        // In the order start-up needs them. The driver of our files, with the
        // SQLite library under it: the connection is made and dropped in this
        // thread, never opened.
        const QString name = QStringLiteral("zorbi-warm-up");
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        QSqlDatabase::removeDatabase(name);
        // A reader that has to guess a picture's kind asks every picture
        // plugin, and so loads them all: the menu bar's first icon does.
        QByteArray unknown("warm-up");
        QBuffer device(&unknown);
        device.open(QIODevice::ReadOnly);
        QImageReader(&device).format();
        // Qt's own list of fonts, which the first caption measured would build.
        if (configReader().joinable())
            configReader().join();
        QFontDatabase::families();
    });
    atExit();
}

void finish() { joinAll(); }

} // namespace warmup
