// The preference store: text in, text out, in section "Preferences" of the
// user's settings file, seen at once by a second reader.

#include "core/settings.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest>

namespace {

QString configFolder() { return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Zorbi 2003"); }
QString settingsFile() { return configFolder() + QStringLiteral("/Zorbi 2003.conf"); }

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    ui::ScriptedDialogs m_dialogs;

private slots:
    void init() { m_dialogs.clear(); }

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

    // The other program writes the same file while this one runs.
    void seesWhatAnotherWriterStored()
    {
        ui::ScopedDialogs scope(&m_dialogs);
        QCOMPARE(funPref_Get(QStringLiteral("Sitter_Contact"), QString()), QString());
        {
            QSettings other(settingsFile(), QSettings::IniFormat);
            other.setValue(QStringLiteral("Preferences/Sitter_Contact"), QStringLiteral("Aunt May"));
            other.sync();
        }
        QCOMPARE(funPref_Get(QStringLiteral("Sitter_Contact"), QString()), QStringLiteral("Aunt May"));
    }

    void unwritableStoreIsReported()
    {
        ui::ScopedDialogs scope(&m_dialogs);
        QVERIFY(funPref_Set(QStringLiteral("Listview_Pet"), 1));
        // A plain file where the settings folder belongs: nothing can be written.
        const QString aside = configFolder() + QStringLiteral(".aside");
        QVERIFY(QDir().rename(configFolder(), aside));
        {
            QFile blocker(configFolder());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        const bool stored = funPref_Set(QStringLiteral("Listview_Pet"), 3);
        QFile::remove(configFolder());
        QVERIFY(QDir().rename(aside, configFolder()));

        QVERIFY(!stored);
        const ui::ScriptedDialogs::Shown *box = m_dialogs.last(ui::ScriptedDialogs::Message);
        QVERIFY(box);
        QCOMPARE(box->title, QStringLiteral("Error"));
        QCOMPARE(box->text, QStringLiteral("75: Path/File access error"));
        QCOMPARE(funPref_Get(QStringLiteral("Listview_Pet"), 0), QStringLiteral("1"));
    }
};

ZORBI_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
