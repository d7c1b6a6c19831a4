#pragma once
// What every test needs: its own program folder, settings and runtime folder,
// scripted dialogs, and real database files made from the shipped schema.

#include "platform/dialogs.h"

#include <QString>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace testsupport {

// Points the process's settings and runtime folder at a temporary folder and
// fixes the locale; call before the application object exists.
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

} // namespace testsupport

// QTEST_MAIN with the test environment prepared first.
#define ZORBI_TEST_MAIN(TestObject)                                                                \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        testsupport::prepareEnvironment();                                                         \
        QApplication app(argc, argv);                                                              \
        QApplication::setAttribute(Qt::AA_Use96Dpi, true);                                         \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
