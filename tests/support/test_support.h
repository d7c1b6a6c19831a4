#pragma once
// What every test needs: its own program folder, settings and runtime folder,
// scripted dialogs, and real database files made from the shipped schema.

#include "platform/dialogs.h"

#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace testsupport {

// Points the process's settings, runtime folder and thumbnail cache at a
// temporary folder and fixes the locale; call before the application object
// exists.
void prepareEnvironment();

// Makes the system file and the (empty) data file of the shipped schema.
bool makeSystemFile(const QString &path);
bool makeDataFile(const QString &path);

// A temporary program folder with its own settings; the globals are reset on
// both ends, and the dialogs are scripted for the fixture's life.
class ProgramFolder {
public:
    // With `withFiles`, Zorbi.sys, Zorbi.dat and Pictures/ are made in it.
    explicit ProgramFolder(bool withFiles = true);
    ~ProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    ui::ScriptedDialogs &dialogs() { return m_dialogs; }
    QStringList entries() const; // the names in the folder, sorted

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_settings;
    ui::ScriptedDialogs m_dialogs;
    std::unique_ptr<ui::ScopedDialogs> m_scope;
};

// Sets or clears the immutable flag of a file or folder, which stops even root
// from changing it; false where the file system has no such flag.
bool setImmutable(const QString &path, bool on);

// Runs `act` on the modal window that `isIt` knows once its loop shows it, so
// that no test waits on a modal window; a dialog `act` leaves open is then put
// away with done(Rejected), without a close event (and so without a write).
// Gives up after about three seconds. The timer is the caller's to delete
// (in cleanup) should the window never come.
QPointer<QTimer> whenModalShown(const std::function<bool(QWidget *)> &isIt, const std::function<void(QWidget *)> &act);

// The same for the modal window of class W.
template <typename W> QPointer<QTimer> onModal(const std::function<void(W *)> &act)
{
    return whenModalShown([](QWidget *w) { return qobject_cast<W *>(w) != nullptr; },
                          [act](QWidget *w) { act(static_cast<W *>(w)); });
}

// Installs the subjects' routines of the programs where the test links them
// (zorbi_test_programs), and none where it does not (zorbi_test_support).
void installRoutines();

} // namespace testsupport

// QTEST_MAIN with the test environment prepared first.
#define ZORBI_TEST_MAIN(TestObject)                                                                                    \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        testsupport::prepareEnvironment();                                                                             \
        QApplication app(argc, argv);                                                                                  \
        testsupport::installRoutines();                                                                                \
        QApplication::setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
