// The start-up warm-up runs on threads of its own beside the program's start.
// Each run here is a new process doing what the main program's main() does
// with it, ending as fast as a start that fails at once: a race between the
// threads and the end of the process shows as a run that hangs or aborts.

#include "platform/warmup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QProcess>
#include <QTest>

namespace {
const char *const kChild = "--warm-up-child";

int childRun(int argc, char **argv)
{
    warmup::beforeApplication();
    QApplication app(argc, argv);
    warmup::afterApplication();
    warmup::finish();
    // What the warm-up loaded serves the program's own thread.
    return QFontDatabase::families().isEmpty() ? 2 : 0;
}
} // namespace

class TestWarmup : public QObject {
    Q_OBJECT
private slots:
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
    QApplication app(argc, argv);
    TestWarmup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_warmup.moc"
