// The start-up warm-up runs on threads of its own beside the program's start.
// Each run here is a new process doing what the main program's main() does
// with it, ending as fast as a start that fails at once: a race between the
// threads and the end of the process shows as a run that hangs or aborts.

#include "platform/warmup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QProcess>
#include <QTest>

#include <QFile>
#include <cstdlib>
#include <cstring>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
const char *const kChild = "--warm-up-child";
const char *const kHeapChild = "--heap-child";

int childRun(int argc, char **argv)
{
    warmup::beforeApplication();
    QApplication app(argc, argv);
    warmup::afterApplication();
    warmup::finish();
    // What the warm-up loaded serves the program's own thread.
    return QFontDatabase::families().isEmpty() ? 2 : 0;
}

// Memory the program holds, in bytes.
qint64 resident()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : -1;
}

// The heap grows by its whole reserve at the start; once the reserve is
// released, memory used and freed meanwhile goes back to the system.
int heapRun(int argc, char **argv)
{
#ifdef __GLIBC__
    warmup::beforeApplication();
    QApplication app(argc, argv);
    warmup::afterApplication();
    warmup::finish();
    constexpr qint64 kMB = qint64(1) << 20;
    if (mallinfo2().arena < size_t(64 * kMB))
        return 3;
    const qint64 before = resident();
    std::vector<void *> blocks;
    for (int i = 0; i < 96; ++i) {
        blocks.push_back(std::malloc(kMB));
        std::memset(blocks.back(), 1, kMB);
    }
    for (void *b : blocks)
        std::free(b);
    warmup::releaseHeap();
    return resident() - before < 32 * kMB ? 0 : 4;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return 0;
#endif
}

} // namespace

class TestWarmup : public QObject {
    Q_OBJECT
private slots:
    void theHeapReserveIsGivenBack()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the sanitizer's allocator keeps freed blocks in its quarantine and no reserve is taken");
#endif
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kHeapChild)});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }

    void startsAndEndsWithoutHanging()
    {
        for (int run = 0; run < 40; ++run) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChild)});
            QVERIFY2(child.waitForFinished(20000), qPrintable(QStringLiteral("run %1 hung").arg(run)));
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), 0);
        }
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], kChild) == 0)
        return childRun(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kHeapChild) == 0)
        return heapRun(argc, argv);
    QApplication app(argc, argv);
    TestWarmup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_warmup.moc"
