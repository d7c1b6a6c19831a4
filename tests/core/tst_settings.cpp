// The preference store: text in, text out, in section "Preferences" of the
// user's settings file, seen at once by a second reader.

#include "core/globals.h"
#include "core/settings.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest>

#include <sys/stat.h>

namespace {

QString configFolder() { return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Zorbi 2003"); }
QString settingsFile() { return configFolder() + QStringLiteral("/Zorbi 2003.conf"); }

ino_t fileInode(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    ui::ScriptedDialogs m_dialogs;

private slots:
    void init()
    {
        m_dialogs.clear();
        settings::resetSession();
    }

    void defaultAsText_data()
    {
        QTest::addColumn<QVariant>("defaultValue");
        QTest::addColumn<QString>("expected");
        QTest::newRow("number") << QVariant(5) << "5";
        QTest::newRow("large number") << QVariant(qint64(99)) << "99";
        QTest::newRow("fraction") << QVariant(2.5) << "2.5";
        QTest::newRow("text") << QVariant(QStringLiteral("abc")) << "abc";
        QTest::newRow("True") << QVariant(true) << "True";
        QTest::newRow("False") << QVariant(false) << "False";
        QTest::newRow("nothing") << QVariant() << "";
    }
    void defaultAsText()
    {
        QFETCH(QVariant, defaultValue);
        QFETCH(QString, expected);
        ui::ScopedDialogs scope(&m_dialogs);
        const QString got = funPref_Get(QStringLiteral("NeverWritten"), defaultValue);
        QCOMPARE(got, expected);
        QVERIFY(!got.isNull());
        QVERIFY(m_dialogs.shown().empty());
    }

    // Each setting under the name both programs and the users' existing files
    // know it by, and what it is when it was never written.
    void settingNameAndDefault_data()
    {
        QTest::addColumn<Setting>("setting");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("on");
        const QString dataFile = QStringLiteral("/tmp/zorbi-folder/Zorbi.dat");
        QTest::newRow("Database") << Setting::Database << "Database" << dataFile << 0 << false;
        QTest::newRow("BackupFolder") << Setting::BackupFolder << "BackupFolder"
                                      << "" << 0 << false;
        QTest::newRow("BackupCount") << Setting::BackupCount << "BackupCount"
                                     << "99" << 99 << true;
        QTest::newRow("AutomaticBackup") << Setting::AutomaticBackup << "AutomaticBackup"
                                         << "1" << 1 << true;
        QTest::newRow("AutomaticBackupCount") << Setting::AutomaticBackupCount << "AutomaticBackupCount"
                                              << "5" << 5 << true;
        QTest::newRow("MainMenuIconSize") << Setting::MainMenuIconSize << "MainMenuIconSize"
                                          << "0" << 0 << false;
        QTest::newRow("ListviewPet") << Setting::ListviewPet << "Listview_Pet"
                                     << "0" << 0 << false;
        QTest::newRow("ListviewAddress") << Setting::ListviewAddress << "Listview_Address"
                                         << "0" << 0 << false;
        QTest::newRow("ListviewReport") << Setting::ListviewReport << "Listview_Report"
                                        << "0" << 0 << false;
        QTest::newRow("ListviewPicture") << Setting::ListviewPicture << "Listview_Picture"
                                         << "0" << 0 << false;
        QTest::newRow("PhotoSite1") << Setting::PhotoSite1 << "PhotoSite_1"
                                    << "" << 0 << false;
        QTest::newRow("PhotoSite2") << Setting::PhotoSite2 << "PhotoSite_2"
                                    << "" << 0 << false;
        QTest::newRow("PhotoSite3") << Setting::PhotoSite3 << "PhotoSite_3"
                                    << "" << 0 << false;
        QTest::newRow("CalShowDOB") << Setting::CalShowDOB << "Cal_Show_DOB"
                                    << "0" << 0 << false;
        QTest::newRow("CalShowDiary") << Setting::CalShowDiary << "Cal_Show_Diary"
                                      << "0" << 0 << false;
        QTest::newRow("CalShowVacRec") << Setting::CalShowVacRec << "Cal_Show_Vac_Rec"
                                       << "0" << 0 << false;
        QTest::newRow("CalShowVacExp") << Setting::CalShowVacExp << "Cal_Show_Vac_Exp"
                                       << "0" << 0 << false;
        QTest::newRow("SitterContact") << Setting::SitterContact << "Sitter_Contact"
                                       << "" << 0 << false;
    }
    void settingNameAndDefault()
    {
        QFETCH(Setting, setting);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(bool, on);
        ui::ScopedDialogs scope(&m_dialogs);
        QFile::remove(settingsFile());
        settings::resetSession();
        setProgramFolder(QStringLiteral("/tmp/zorbi-folder"));
        QCOMPARE(settings::key(setting), key);
        QCOMPARE(settings::text(setting), text);
        QCOMPARE(settings::storedText(setting), QString(""));
        QCOMPARE(settings::count(setting), count);
        QCOMPARE(settings::isOn(setting), on);

        // Written under its name, and read back through it.
        QVERIFY(settings::set(setting, QStringLiteral("7")));
        QCOMPARE(funPref_Get(key), QStringLiteral("7"));
        QCOMPARE(settings::text(setting), QStringLiteral("7"));
        QCOMPARE(settings::storedText(setting), QStringLiteral("7"));
        QCOMPARE(settings::count(setting), 7);
        setProgramFolder(QString());
        QVERIFY(m_dialogs.shown().empty());
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "C:/Pets/Zorbi.dat";
        QTest::newRow("empty") << "";
        QTest::newRow("comma") << "Fido, Rex";
        QTest::newRow("blanks kept") << "  padded  ";
        QTest::newRow("address") << "http://photos.example.com/up?user=a&x=1;y=2";
        QTest::newRow("accents") << QStringLiteral("Café für Hündchen €");
        QTest::newRow("looks like a variant") << "@Variant(5)";
        QTest::newRow("brackets and equals") << "[Preferences]=x";
    }
    void roundTrip()
    {
        QFETCH(QString, value);
        ui::ScopedDialogs scope(&m_dialogs);
        QVERIFY(funPref_Set(QStringLiteral("PhotoSite_1"), value));
        // A stored empty text is a value of its own, not "never written".
        QCOMPARE(funPref_Get(QStringLiteral("PhotoSite_1"), QStringLiteral("default")), value);
        QVERIFY(m_dialogs.shown().empty());
    }

    void valuesAreTextInPreferencesSection()
    {
        ui::ScopedDialogs scope(&m_dialogs);
        QVERIFY(funPref_Set(QStringLiteral("BackupCount"), 99));
        QVERIFY(funPref_Set(QStringLiteral("AutomaticBackup"), true));
        QVERIFY(funPref_Set(QStringLiteral("Database"), QStringLiteral("/home/me/Zorbi.dat")));

        QFile f(settingsFile());
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(settingsFile()));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY2(text.contains(QStringLiteral("[Preferences]")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("BackupCount=99")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("AutomaticBackup=True")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("@Variant")), qPrintable(text));

        QSettings reader(settingsFile(), QSettings::IniFormat);
        QCOMPARE(reader.value(QStringLiteral("Preferences/BackupCount")).toString(), QStringLiteral("99"));
        QCOMPARE(funPref_Get(QStringLiteral("BackupCount"), 5), QStringLiteral("99"));
    }

    // The other program writes the same file while this one runs, one change
    // after another and each of the same length, or the file is rewritten in
    // place: each value is seen at the next read.
    void seesWhatAnotherWriterStored_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("written by QSettings") << false;
        QTest::newRow("rewritten in place") << true;
    }
    void seesWhatAnotherWriterStored()
    {
        QFETCH(bool, inPlace);
        ui::ScopedDialogs scope(&m_dialogs);
        QVERIFY(funPref_Set(QStringLiteral("Sitter_Contact"), QString()));
        QCOMPARE(funPref_Get(QStringLiteral("Sitter_Contact"), QString()), QString());
        const QDateTime start = QFileInfo(settingsFile()).lastModified();
        int seconds = 0;
        auto otherWrites = [&](const QString &text) {
            if (inPlace) {
                QFile f(settingsFile());
                QVERIFY(f.open(QIODevice::ReadWrite));
                QByteArray all = f.readAll();
                const QByteArray key = "Sitter_Contact=";
                const qsizetype at = all.indexOf(key) + key.size();
                const qsizetype end = all.indexOf('\n', at);
                all.replace(at, (end < 0 ? all.size() : end) - at, text.toUtf8());
                QVERIFY(f.seek(0));
                QCOMPARE(f.write(all), all.size());
                QVERIFY(f.resize(all.size()));
                // A moment later, as an editor saving the file would.
                ++seconds;
                QVERIFY(f.setFileTime(start.addSecs(seconds), QFileDevice::FileModificationTime));
            } else {
                QSettings other(settingsFile(), QSettings::IniFormat);
                other.setValue(QStringLiteral("Preferences/Sitter_Contact"), text);
                other.sync();
            }
        };
        for (const QString &text :
             {QStringLiteral("Aunt May"), QStringLiteral("Aunt Bea"), QStringLiteral("Aunt Sue")}) {
            otherWrites(text);
            QCOMPARE(funPref_Get(QStringLiteral("Sitter_Contact"), QString()), text);
        }
        // The file gone: the defaults again.
        QVERIFY(QFile::remove(settingsFile()));
        QCOMPARE(funPref_Get(QStringLiteral("Sitter_Contact"), QStringLiteral("none")), QStringLiteral("none"));
        QVERIFY(m_dialogs.shown().empty());
    }

    // The file cannot be written, in ways that stop root too: the file's own path
    // taken by a folder, or the settings folder taken by a plain file.
    void unwritableStoreIsReportedOnce_data()
    {
        QTest::addColumn<bool>("folderIsAFile");
        QTest::newRow("settings file is a folder") << false;
        QTest::newRow("settings folder is a file") << true;
    }
    void unwritableStoreIsReportedOnce()
    {
        QFETCH(bool, folderIsAFile);
        ui::ScopedDialogs scope(&m_dialogs);
        QVERIFY(funPref_Set(QStringLiteral("Listview_Pet"), 1));
        const QString aside = configFolder() + QStringLiteral(".aside");
        QVERIFY(QDir().rename(configFolder(), aside));
        if (folderIsAFile) {
            QFile blocker(configFolder());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(settingsFile()));
        }
        auto restore = qScopeGuard([&] {
            if (folderIsAFile)
                QFile::remove(configFolder());
            else
                QDir(configFolder()).removeRecursively();
            QDir().rename(aside, configFolder());
        });

        // Reads give their defaults and say nothing.
        QCOMPARE(funPref_Get(QStringLiteral("Listview_Pet"), 0), QStringLiteral("0"));
        QCOMPARE(funPref_Get(QStringLiteral("BackupCount"), 99), QStringLiteral("99"));
        QVERIFY(m_dialogs.shown().empty());

        // The first failed write is reported; the others of the run are not.
        QVERIFY(!funPref_Set(QStringLiteral("Listview_Pet"), 3));
        QVERIFY(!funPref_Set(QStringLiteral("Database"), QStringLiteral("/pets/Zorbi.dat")));
        QVERIFY(!funPref_Set(QStringLiteral("Listview_Pet"), 3));
        QVERIFY(!funPref_Set(QStringLiteral("Listview_Pet"), 1));
        QCOMPARE(m_dialogs.shown().size(), size_t(1));
        const ui::ScriptedDialogs::Shown *box = m_dialogs.last(ui::ScriptedDialogs::Message);
        QCOMPARE(box->title, QStringLiteral("Error"));
        QCOMPARE(box->text, QStringLiteral("75: Path/File access error"));
        // This run goes on with what it set.
        QCOMPARE(funPref_Get(QStringLiteral("Listview_Pet"), 0), QStringLiteral("1"));
        QCOMPARE(funPref_Get(QStringLiteral("Database"), QString()), QStringLiteral("/pets/Zorbi.dat"));

        // Once the file can be written again, a change reaches it.
        restore.dismiss();
        if (folderIsAFile)
            QFile::remove(configFolder());
        else
            QDir(configFolder()).removeRecursively();
        QVERIFY(QDir().rename(aside, configFolder()));
        QVERIFY(funPref_Set(QStringLiteral("Listview_Pet"), 0));
        QCOMPARE(QSettings(settingsFile(), QSettings::IniFormat).value("Preferences/Listview_Pet").toString(),
                 QStringLiteral("0"));
        QCOMPARE(m_dialogs.shown().size(), size_t(1));
    }

    // Storing the value that is already there leaves the file alone.
    void unchangedValueIsNotWritten()
    {
        ui::ScopedDialogs scope(&m_dialogs);
        QVERIFY(funPref_Set(QStringLiteral("Database"), QStringLiteral("/home/me/Zorbi.dat")));
        const QFileInfo before(settingsFile());
        const ino_t inode = fileInode(settingsFile());
        const int writes = settings::writeCount();

        QVERIFY(funPref_Set(QStringLiteral("Database"), QStringLiteral("/home/me/Zorbi.dat")));
        QCOMPARE(settings::writeCount(), writes);
        QCOMPARE(fileInode(settingsFile()), inode);
        QCOMPARE(QFileInfo(settingsFile()).lastModified(), before.lastModified());

        QVERIFY(funPref_Set(QStringLiteral("Database"), QStringLiteral("/home/me/Other.dat")));
        QCOMPARE(settings::writeCount(), writes + 1);
        QVERIFY(fileInode(settingsFile()) != inode);
    }

    // Held writes go out together, and not at all when nothing changed.
    void heldWritesGoOutOnce()
    {
        ui::ScopedDialogs scope(&m_dialogs);
        QVERIFY(funPref_Set(QStringLiteral("Listview_Pet"), 0));
        QVERIFY(funPref_Set(QStringLiteral("Listview_Report"), 0));
        int writes = settings::writeCount();

        settings::holdWrites();
        QVERIFY(funPref_Set(QStringLiteral("Listview_Pet"), 0));
        QVERIFY(funPref_Set(QStringLiteral("Listview_Report"), 0));
        QVERIFY(settings::flushWrites());
        QCOMPARE(settings::writeCount(), writes);

        settings::holdWrites();
        QVERIFY(funPref_Set(QStringLiteral("Listview_Pet"), 3));
        QVERIFY(funPref_Set(QStringLiteral("Listview_Report"), 1));
        QVERIFY(funPref_Set(QStringLiteral("BackupCount"), 7));
        QCOMPARE(funPref_Get(QStringLiteral("Listview_Pet"), 0), QStringLiteral("3")); // seen while held
        QCOMPARE(settings::writeCount(), writes);
        QVERIFY(settings::flushWrites());
        QCOMPARE(settings::writeCount(), writes + 1);
        QSettings reader(settingsFile(), QSettings::IniFormat);
        QCOMPARE(reader.value("Preferences/Listview_Pet").toString(), QStringLiteral("3"));
        QCOMPARE(reader.value("Preferences/Listview_Report").toString(), QStringLiteral("1"));
        QCOMPARE(reader.value("Preferences/BackupCount").toString(), QStringLiteral("7"));
        QVERIFY(m_dialogs.shown().empty());
    }
};

ZORBI_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
