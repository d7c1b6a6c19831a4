#include "test_support.h"

#include "core/database.h"
#include "core/globals.h"
#include "data/schema.h"
#include "platform/clock.h"
#include "platform/db/database.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLocale>
#include <QSettings>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace testsupport {

void prepareEnvironment()
{
    // One folder for the whole run, so nothing reaches the user's own settings.
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(QStringLiteral("run"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    QDir().mkpath(home.filePath(QStringLiteral("run")));
    QFile::setPermissions(home.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The source and program folders, as ctest gives them, also for a test
    // started by hand.
    if (!qEnvironmentVariableIsSet("ZORBI_SOURCE_DIR"))
        qputenv("ZORBI_SOURCE_DIR", ZORBI_TEST_SOURCE_DIR);
    if (!qEnvironmentVariableIsSet("ZORBI_PROGRAM_DIR"))
        qputenv("ZORBI_PROGRAM_DIR", ZORBI_TEST_PROGRAM_DIR);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

bool makeSystemFile(const QString &path)
{
    db::DbError err;
    const bool ok = schema::makeSystemFile(path, funGetDBPassword(), &err);
    if (!ok)
        qWarning("system file: %d %s", err.number, qPrintable(err.description));
    return ok;
}

bool makeDataFile(const QString &path)
{
    db::DbError err;
    const bool ok = schema::makeDataFile(path, funGetDBPassword(), &err);
    if (!ok)
        qWarning("data file: %d %s", err.number, qPrintable(err.description));
    return ok;
}

ProgramFolder::ProgramFolder(bool withFiles)
{
    resetGlobals();
    zbclock::reset();
    setProgramFolder(m_dir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    m_scope = std::make_unique<ui::ScopedDialogs>(&m_dialogs);
    if (withFiles) {
        makeSystemFile(file(QStringLiteral("Zorbi.sys")));
        makeDataFile(file(QStringLiteral("Zorbi.dat")));
        QDir(m_dir.path()).mkdir(QStringLiteral("Pictures"));
    }
}

ProgramFolder::~ProgramFolder()
{
    resetGlobals();
    zbclock::reset();
    setProgramFolder(QString());
    m_scope.reset();
}

QStringList ProgramFolder::entries() const
{
    return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

QPointer<QTimer> whenModalShown(const std::function<bool(QWidget *)> &isIt, const std::function<void(QWidget *)> &act)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, isIt, act, tries] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !isIt(w)) {
            if (++*tries > 600)
                timer->deleteLater();
            return;
        }
        timer->stop();
        timer->deleteLater();
        act(w);
        if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
    timer->start();
    return timer;
}

} // namespace testsupport
