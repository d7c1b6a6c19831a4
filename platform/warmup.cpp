#include "platform/warmup.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QImageReader>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QThreadPool>

#include <cstdint>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <future>
#include <memory>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

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

// Ready once the font configuration is read. Only the main thread ever joins
// the threads; the loader waits on this instead.
std::shared_future<void> &configRead()
{
    static std::shared_future<void> f;
    return f;
}

void joinAll()
{
    if (loader().joinable())
        loader().join();
    if (configReader().joinable())
        configReader().join();
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

void reserveHeap()
{
    // Under the address sanitizer the heap is its allocator's, not the C
    // library's: the figures below would only advise memory it never uses.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    // Blocks up to 32 MB come from the heap too (not from mappings of their
    // own, each faulted in page by page), and the heap grows by the whole
    // reserve at once: a probe makes it grow now.
    constexpr size_t kReserve = size_t(64) << 20, kHugePage = size_t(2) << 20;
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, int(kReserve));
    void *volatile probe = std::malloc(kHugePage);
    std::free(probe);
    // The reserve, less its ragged ends, in huge pages where the system lets a
    // program ask for them; elsewhere the advice changes nothing. Only what is
    // touched is ever taken from the system's memory.
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t first = (end - kReserve + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = end & ~(kHugePage - 1);
    if (last > first)
        madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#endif
}
} // namespace

void releaseHeap()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    // Back to the library's own figures, and what lies free goes back to the system.
    mallopt(M_TOP_PAD, 128 * 1024);
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    malloc_trim(0);
#endif
}

void beforeApplication()
{
    if (configReader().joinable())
        return;
    reserveHeap();
    // FcInit builds the library's one configuration; a second caller (Qt, if it
    // came first) builds its own and keeps whichever was installed first, so a
    // race costs time but never correctness.
    std::promise<void> read;
    configRead() = read.get_future().share();
    configReader() = std::thread([read = std::move(read)]() mutable {
        FcInit();
        read.set_value();
    });
    atExit();
}

void afterApplication()
{
    if (loader().joinable())
        return;
    loader() = std::thread([configWasRead = configRead()] {
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
        // The painter shares out its larger jobs among the threads of the
        // common pool, and its first job waits while the pool starts them:
        // start them all now. Each holds its thread until all have begun (or
        // a moment has passed), so that none of them serves twice.
        QThreadPool *pool = QThreadPool::globalInstance();
        const int threads = pool->maxThreadCount();
        auto begun = std::make_shared<QSemaphore>(0);
        for (int i = 0; i < threads; ++i)
            pool->start([begun, threads] {
                begun->release();
                if (begun->tryAcquire(threads, 100))
                    begun->release(threads);
            });
        // Qt's own list of fonts, which the first caption measured would build.
        if (configWasRead.valid())
            configWasRead.wait();
        QFontDatabase::families();
    });
    atExit();
}

void finish() { joinAll(); }

} // namespace warmup
