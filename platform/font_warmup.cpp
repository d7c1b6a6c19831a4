#include "platform/font_warmup.h"

#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace font_warmup {

namespace {
std::thread &reader()
{
    static std::thread t;
    return t;
}
} // namespace

void start()
{
    if (reader().joinable())
        return;
    // FcInit builds the library's one configuration; a second caller (Qt, if it
    // came first) builds its own and keeps whichever was installed first, so a
    // race costs time but never correctness.
    reader() = std::thread([] { FcInit(); });
    // A run that ends before its first window (a second copy, a file that
    // cannot be opened) still waits for the thread rather than leaving it
    // running into the end of the process.
    std::atexit(finish);
}

void finish()
{
    if (reader().joinable())
        reader().join();
}

} // namespace font_warmup
