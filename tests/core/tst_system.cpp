// Folders, the folder picker, opening through the desktop, and the help window.

#include "core/globals.h"
#include "core/system.h"
#include "platform/help_window.h"
#include "platform/shell.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {

struct Opened {
    QString target, parameters;
    bool isProgram = false;
};

void writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(content);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

void writePage(const QString &folder, const QString &name, const QString &title, const QString &body)
{
    writeFile(folder + QLatin1Char('/') + name,
              QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1><p>%2</p></body></html>")
                  .arg(title, body)
                  .toUtf8());
}

} // namespace

class TestSystem : public QObject {
    Q_OBJECT
    std::vector<Opened> m_opened;

private slots:
    void init()
    {
        m_opened.clear();
        shell::setOpener([this](const QString &t, const QString &p, bool program) {
            m_opened.push_back({t, p, program});
        });
    }
    void cleanup()
    {
        shell::setOpener(nullptr);
        delete help::helpWindow();
    }

    void folders()
    {
        testsupport::ProgramFolder program(false);
        QCOMPARE(funGetPicturesFolder(), program.path() + QStringLiteral("/Pictures"));
        QCOMPARE(funGetSamplesFolder(), program.path() + QStringLiteral("/Samples"));
    }

    void folderPicker()
    {
        testsupport::ProgramFolder program(false);
        ui::ScriptedDialogs &dialogs = program.dialogs();
        // Nothing queued: the picker is cancelled.
        QString got = funGetFolder(nullptr, QStringLiteral("Select Backup Folder"));
        QCOMPARE(got, QString(""));
        QVERIFY(!got.isNull());
        QCOMPARE(dialogs.count(ui::ScriptedDialogs::Folder), 1);
        QCOMPARE(dialogs.last(ui::ScriptedDialogs::Folder)->text, QStringLiteral("Select Backup Folder"));

        dialogs.queue(program.path());
        QCOMPARE(funPickFolder(nullptr, QStringLiteral("Pick")), program.path());
        QCOMPARE(dialogs.count(ui::ScriptedDialogs::Message), 0);
    }

    // Stored or typed text is opened only as a web or mail address; "" = refused.
    void shellAddresses_data()
    {
        QTest::addColumn<QString>("target"); // "@/" stands for the test's folder
        QTest::addColumn<QString>("opened");
        QTest::newRow("web address") << "http://www.example.com/a?b=1"
                                     << "http://www.example.com/a?b=1";
        QTest::newRow("secure address") << "HTTPS://example.com"
                                        << "https://example.com";
        QTest::newRow("scheme and host in capitals") << "HTTP://X"
                                                     << "http://x";
        QTest::newRow("bare www") << "www.x.org"
                                  << "http://www.x.org";
        QTest::newRow("bare www, capitals") << "WWW.X.COM/pets"
                                            << "http://www.x.com/pets";
        QTest::newRow("bare host") << "photos.example.com/me"
                                   << "http://photos.example.com/me";
        QTest::newRow("bare host and port") << "x.org:8080/pets"
                                            << "http://x.org:8080/pets";
        QTest::newRow("blanks around") << "  www.x.org \n"
                                       << "http://www.x.org";
        QTest::newRow("mail") << "mailto:a@b"
                              << "mailto:a@b";
        QTest::newRow("mail in capitals") << "MAILTO:vet@example.com"
                                          << "mailto:vet@example.com";
        QTest::newRow("javascript") << "javascript:alert(1)"
                                    << "";
        QTest::newRow("local file address") << "file:///etc/passwd"
                                            << "";
        QTest::newRow("local file address, capitals") << "FILE:///etc/passwd"
                                                      << "";
        QTest::newRow("ftp") << "ftp://files.example.com/x"
                             << "";
        QTest::newRow("other scheme") << "smb://server/share"
                                      << "";
        QTest::newRow("program by path") << "/bin/sh"
                                         << "";
        QTest::newRow("program in the test folder") << "@/prog"
                                                    << "";
        QTest::newRow("script in the test folder") << "@/script"
                                                   << "";
        QTest::newRow("document by path") << "@/page.html"
                                          << "";
        QTest::newRow("folder by path") << "@/sub"
                                        << "";
        QTest::newRow("relative path") << "../page.html"
                                       << "";
        QTest::newRow("network path") << "//server/share"
                                      << "";
        QTest::newRow("drive letter") << "C:\\Windows\\notepad.exe"
                                      << "";
        QTest::newRow("web address without host") << "http:///bin/sh"
                                                  << "";
        QTest::newRow("empty mail") << "mailto:"
                                    << "";
        QTest::newRow("blank inside") << "www.x.org/my pets"
                                      << "";
        QTest::newRow("blank before a command") << "http://x.org /bin/sh"
                                                << "";
        QTest::newRow("line break inside") << "http://x.org\nfile:///etc/passwd"
                                           << "";
        QTest::newRow("tab inside") << "www.x.org\t/bin/sh"
                                    << "";
    }
    void shellAddresses()
    {
        QFETCH(QString, target);
        QFETCH(QString, opened);
        testsupport::ProgramFolder program(false);
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("page.html")), "<html></html>", true);
        QFile::copy(QStringLiteral("/bin/true"), dir.filePath(QStringLiteral("prog")));
        writeFile(dir.filePath(QStringLiteral("script")), "#!/bin/sh\nexit 0\n", true);
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        target.replace(QStringLiteral("@/"), dir.path() + QLatin1Char('/'));

        subShellOpen(nullptr, target, QStringLiteral("/about"));
        if (opened.isEmpty()) {
            QVERIFY(m_opened.empty());
            // The user hears why nothing opened.
            QCOMPARE(program.dialogs().count(ui::ScriptedDialogs::Message), 1);
            const auto *box = program.dialogs().last(ui::ScriptedDialogs::Message);
            QCOMPARE(box->text, "\"" + target.trimmed() + "\" is not a web or e-mail address, so it cannot be opened.");
            QCOMPARE(box->icon, int(ui::Exclamation));
        } else {
            QCOMPARE(m_opened.size(), size_t(1));
            QCOMPARE(m_opened[0].target, opened);
            QCOMPARE(m_opened[0].parameters, QString());
            QVERIFY(!m_opened[0].isProgram);
            QCOMPARE(program.dialogs().shown().size(), size_t(0));
        }
    }

    // The help window's links to the outside go the same way.
    void helpLinksOpenOnlyAddresses()
    {
        QTemporaryDir dir;
        writePage(dir.path(), QStringLiteral("1.html"), QStringLiteral("One"),
                  QStringLiteral("<a href=\"http://www.example.com/\">web</a> <a href=\"ftp://x.org/f\">ftp</a>"));
        help::HelpWindow window;
        window.setHelpFolder(dir.path());
        window.showPage(QStringLiteral("1.html"));
        for (const char *link : {"http://www.example.com/", "ftp://x.org/f", "javascript:alert(1)"})
            emit window.browser()->anchorClicked(QUrl(QLatin1String(link)));
        QCOMPARE(m_opened.size(), size_t(1));
        QCOMPARE(m_opened[0].target, QStringLiteral("http://www.example.com/"));
    }

    // Only our own two programs are started, by their own paths.
    void ourProgramsStart()
    {
        testsupport::ProgramFolder program(false);
        subStartProgram(nullptr, OurProgram::Reminder, QStringLiteral("/nocheck"));
        subStartProgram(nullptr, OurProgram::Main, QStringLiteral("/about \"a b\""));
        QCOMPARE(m_opened.size(), size_t(2));
        QCOMPARE(m_opened[0].target, program.path() + QStringLiteral("/Zorbi_Reminder"));
        QCOMPARE(m_opened[0].parameters, QStringLiteral("/nocheck"));
        QVERIFY(m_opened[0].isProgram);
        QCOMPARE(m_opened[1].target, program.path() + QStringLiteral("/Zorbi"));
        QCOMPARE(m_opened[1].parameters, QStringLiteral("/about \"a b\""));
        QVERIFY(m_opened[1].isProgram);
    }

    // The local photo folder opens only as a folder; the program's own files by name.
    void foldersAndOwnFiles()
    {
        testsupport::ProgramFolder program(false);
        QDir(program.path()).mkpath(QStringLiteral("my photos"));
        writeFile(program.file(QStringLiteral("prog")), "#!/bin/sh\nexit 0\n", true);
        subShellOpenFolder(nullptr, program.file(QStringLiteral("my photos")));
        QCOMPARE(program.dialogs().shown().size(), size_t(0));
        subShellOpenFolder(nullptr, program.file(QStringLiteral("prog")));
        subShellOpenFolder(nullptr, program.file(QStringLiteral("gone")));
        subShellOpenFolder(nullptr, QStringLiteral("http://www.x.org"));
        QCOMPARE(program.dialogs().count(ui::ScriptedDialogs::Message), 3);
        QCOMPARE(program.dialogs().last(ui::ScriptedDialogs::Message)->text,
                 QStringLiteral("The folder \"http://www.x.org\" cannot be opened: there is no such folder."));

        subShellOpenProgramFile(nullptr, ProgramFile::License);
        subShellOpenProgramFile(nullptr, ProgramFile::PicturesFolder);
        const QString base = QUrl::fromLocalFile(program.path()).toString(QUrl::FullyEncoded);
        QCOMPARE(m_opened.size(), size_t(3));
        QCOMPARE(m_opened[0].target, base + QStringLiteral("/my%20photos"));
        QCOMPARE(m_opened[1].target, base + QStringLiteral("/License.rtf"));
        QCOMPARE(m_opened[2].target, base + QStringLiteral("/Pictures"));
        for (const Opened &o : m_opened)
            QVERIFY(!o.isProgram);
    }

    // An exported page opens as itself; never a folder, a missing file or a program.
    void writtenDocuments()
    {
        testsupport::ProgramFolder program(false);
        writeFile(program.file(QStringLiteral("Rex page.HTM")), "<html/>", false);
        writeFile(program.file(QStringLiteral("prog.htm")), "#!/bin/sh\nexit 0\n", true);
        QVERIFY(shell::openDocument(program.file(QStringLiteral("Rex page.HTM"))));
        QVERIFY(!shell::openDocument(program.file(QStringLiteral("rex page.htm"))));
        QVERIFY(!shell::openDocument(program.file(QStringLiteral("prog.htm"))));
        QVERIFY(!shell::openDocument(program.path()));
        QVERIFY(!shell::openDocument(QString()));
        QCOMPARE(m_opened.size(), size_t(1));
        QCOMPARE(m_opened[0].target,
                 QUrl::fromLocalFile(program.file(QStringLiteral("Rex page.HTM"))).toString(QUrl::FullyEncoded));
        QVERIFY(!m_opened[0].isProgram);
    }

    void shellOpensNothingForNothing()
    {
        subShellOpen(nullptr, QString(), QString());
        subShellOpen(nullptr, QStringLiteral("   "), QString());
        QVERIFY(m_opened.empty());
    }

    void helpActions_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("searchShown");
        QTest::newRow("1 contents") << 1 << 0 << "contents.html" << false;
        QTest::newRow("2 topic") << 2 << 2501 << "2501.html" << false;
        QTest::newRow("3 index") << 3 << 0 << "index.html" << false;
        QTest::newRow("5 search") << 5 << 0 << "search.html" << true;
        QTest::newRow("0 contents") << 0 << 2501 << "contents.html" << false;
        QTest::newRow("9 contents") << 9 << 2501 << "contents.html" << false;
        QTest::newRow("-1 contents") << -1 << 0 << "contents.html" << false;
    }
    void helpActions()
    {
        QFETCH(int, action);
        QFETCH(int, context);
        QFETCH(QString, page);
        QFETCH(bool, searchShown);
        testsupport::ProgramFolder program(false);
        QDir(program.path()).mkdir(QStringLiteral("Help"));
        const QString help = program.file(QStringLiteral("Help"));
        for (const QString &name :
             {QStringLiteral("contents"), QStringLiteral("index"), QStringLiteral("search"), QStringLiteral("2501")})
            writePage(help, name + QStringLiteral(".html"), QStringLiteral("Page ") + name, name);
        // gHelpFile is empty: the program folder's Help is used.
        QVERIFY(funHelp(nullptr, action, context));
        help::HelpWindow *w = help::helpWindow();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Zorbi 2003 Help"));
        QCOMPARE(w->currentPage(), page);
        QVERIFY(!w->isMissingPage());
        QCOMPARE(w->isSearchShown(), searchShown);
        QVERIFY(w->browser()->toPlainText().contains(QStringLiteral("Page ")));

        // 4 closes it; the next call opens the same window again.
        QVERIFY(funHelp(nullptr, 4, 0));
        QVERIFY(!w->isVisible());
        QVERIFY(funHelp(nullptr, 2, 2501));
        QCOMPARE(help::helpWindow(), w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->currentPage(), QStringLiteral("2501.html"));
        QCOMPARE(program.dialogs().shown().size(), size_t(0));
    }

    // The help window opens over the window that asks for it, and wholly on
    // the screen even when that window stands at the screen's foot.
    void helpWindowStaysOnTheScreen()
    {
        testsupport::ProgramFolder program(false);
        QTemporaryDir pages;
        gHelpFile = pages.path();
        writePage(pages.path(), QStringLiteral("contents.html"), QStringLiteral("Contents"), QStringLiteral("all"));
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget owner;
        owner.setGeometry(room.right() - 260, room.bottom() - 130, 240, 110);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QVERIFY(funHelp(&owner, 1, 0));
        help::HelpWindow *w = help::helpWindow();
        QVERIFY(w && w->isVisible());
        QVERIFY2(room.contains(w->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height())));
        QVERIFY(w->frameGeometry().contains(owner.frameGeometry().center()));
        // Moved half off the screen and opened again, it comes back whole.
        QVERIFY(funHelp(nullptr, 4, 0));
        w->move(room.right() - 100, room.bottom() - 100);
        QVERIFY(funHelp(&owner, 1, 0));
        QVERIFY(room.contains(w->frameGeometry()));
        delete w;
    }

    void helpCloseWithoutWindow()
    {
        QVERIFY(!help::helpWindow());
        QVERIFY(funHelp(nullptr, 4, 0));
        QVERIFY(!help::helpWindow());
    }

    void helpMissingPageSaysSo()
    {
        testsupport::ProgramFolder program(false);
        QTemporaryDir pages;
        gHelpFile = pages.path();
        writePage(pages.path(), QStringLiteral("contents.html"), QStringLiteral("Contents"), QStringLiteral("all"));
        QVERIFY(funHelp(nullptr, 2, 9999));
        help::HelpWindow *w = help::helpWindow();
        QCOMPARE(w->currentPage(), QStringLiteral("9999.html"));
        QVERIFY(w->isMissingPage());
        QVERIFY2(w->browser()->toPlainText().contains(QStringLiteral("No help for this topic")),
                 qPrintable(w->browser()->toPlainText()));
        // Its link leads to the contents, and Back returns to the missing topic.
        QVERIFY(funHelp(nullptr, 1, 0));
        QVERIFY(!w->isMissingPage());
        auto *back = w->findChild<QPushButton *>(QStringLiteral("cmdBack"));
        QVERIFY(back && back->isEnabled());
        back->click();
        QCOMPARE(w->currentPage(), QStringLiteral("9999.html"));
        auto *forward = w->findChild<QPushButton *>(QStringLiteral("cmdForward"));
        QVERIFY(forward && forward->isEnabled());
        forward->click();
        QCOMPARE(w->currentPage(), QStringLiteral("contents.html"));
    }

    void helpWithoutAnyPages()
    {
        testsupport::ProgramFolder program(false);
        gHelpFile = program.file(QStringLiteral("NoSuchFolder"));
        QVERIFY(funHelp(nullptr, 3, 0));
        QVERIFY(help::helpWindow()->isMissingPage());
        QVERIFY(help::helpWindow()->browser()->toPlainText().contains(QStringLiteral("No help for this topic")));
        QCOMPARE(program.dialogs().shown().size(), size_t(0));
    }

    void helpButtons()
    {
        testsupport::ProgramFolder program(false);
        QTemporaryDir pages;
        gHelpFile = pages.path();
        for (const char *name : {"contents", "index", "search"})
            writePage(pages.path(), QLatin1String(name) + QStringLiteral(".html"), QLatin1String(name),
                      QStringLiteral("x"));
        QVERIFY(funHelp(nullptr, 2, 2001));
        help::HelpWindow *w = help::helpWindow();
        const QList<std::pair<const char *, QString>> presses = {
            {"cmdSearch", QStringLiteral("search.html")},
            {"cmdIndex", QStringLiteral("index.html")},
            {"cmdContents", QStringLiteral("contents.html")},
        };
        for (const auto &[button, page] : presses) {
            auto *b = w->findChild<QPushButton *>(QLatin1String(button));
            QVERIFY2(b, button);
            b->click();
            QCOMPARE(w->currentPage(), page);
            QCOMPARE(w->isSearchShown(), page == QStringLiteral("search.html"));
        }
    }

    void helpSearch()
    {
        testsupport::ProgramFolder program(false);
        QTemporaryDir pages;
        gHelpFile = pages.path();
        writePage(pages.path(), QStringLiteral("search.html"), QStringLiteral("Search"),
                  QStringLiteral("Type vaccination here"));
        writePage(pages.path(), QStringLiteral("2501.html"), QStringLiteral("Pet details"),
                  QStringLiteral("Record each <b>Vaccination</b> and the vet who gave it."));
        writePage(pages.path(), QStringLiteral("2503.html"), QStringLiteral("Diary"),
                  QStringLiteral("Diary entries; a vaccination reminder is set elsewhere."));
        writePage(pages.path(), QStringLiteral("3003.html"), QStringLiteral("Calendar"),
                  QStringLiteral("Months and days."));
        // The contents and index name every subject; they are no answer.
        writePage(pages.path(), QStringLiteral("contents.html"), QStringLiteral("Contents"),
                  QStringLiteral("<a href=\"search.html\">Search</a> Vaccination, Calendar"));
        writePage(pages.path(), QStringLiteral("index.html"), QStringLiteral("Index"),
                  QStringLiteral("Vaccination, Calendar"));

        QVERIFY(funHelp(nullptr, 5, 0));
        help::HelpWindow *w = help::helpWindow();
        QCOMPARE(w->currentPage(), QStringLiteral("search.html"));

        // Every word must be there, in any case; tags do not split words.
        QCOMPARE(w->search(QStringLiteral("VACCINATION")), (QStringList{"2503.html", "2501.html"}));
        QCOMPARE(w->search(QStringLiteral("vaccination vet")), QStringList{"2501.html"});
        QCOMPARE(w->search(QStringLiteral("calendar")), QStringList{"3003.html"}); // the title counts
        QCOMPARE(w->search(QStringLiteral("giraffe")), QStringList());
        QCOMPARE(w->search(QStringLiteral("   ")), QStringList());

        auto *box = w->findChild<QLineEdit *>(QStringLiteral("txtSearch"));
        auto *list = w->findChild<QListWidget *>(QStringLiteral("lstSearchResults"));
        auto *status = w->findChild<QLabel *>(QStringLiteral("lblSearchStatus"));
        QVERIFY(box && list && status);
        QTest::keyClicks(box, QStringLiteral("vaccination"));
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Diary"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Pet details"));
        emit list->itemActivated(list->item(1));
        QCOMPARE(w->currentPage(), QStringLiteral("2501.html"));
        QVERIFY(w->isSearchShown()); // the results stay for the next pick

        box->setText(QStringLiteral("giraffe"));
        QCOMPARE(list->count(), 0);
        QCOMPARE(status->text(), QStringLiteral("No topics found."));

        // A page's own link to the search page brings the search box back.
        w->findChild<QPushButton *>(QStringLiteral("cmdContents"))->click();
        QVERIFY(!w->isSearchShown());
        emit w->browser()->anchorClicked(QUrl(QStringLiteral("search.html")));
        QCOMPARE(w->currentPage(), QStringLiteral("search.html"));
        QVERIFY(w->isSearchShown());
    }

    // A modal window shuts out every window but its own; help opened from it
    // must belong to it to be usable.
    void helpBelongsToTheAskingWindow()
    {
        testsupport::ProgramFolder program(false);
        QTemporaryDir pages;
        gHelpFile = pages.path();
        writePage(pages.path(), QStringLiteral("2501.html"), QStringLiteral("Pet"), QStringLiteral("x"));
        QWidget main;
        QVERIFY(funHelp(&main, 1, 0));
        help::HelpWindow *w = help::helpWindow();
        QCOMPARE(w->parentWidget(), &main);
        {
            QDialog detail(&main);
            auto *helpButton = new QPushButton(&detail);
            QVERIFY(funHelp(helpButton, 2, 2501));
            QCOMPARE(help::helpWindow(), w);
            QCOMPARE(w->parentWidget(), &detail);
            QVERIFY(w->isWindow() && w->isVisible());
        }
        // The owner is gone, and the help window with it; help opens anew.
        QVERIFY(!help::helpWindow());
        QVERIFY(funHelp(&main, 2, 2501));
        QVERIFY(help::helpWindow());
        QCOMPARE(help::helpWindow()->currentPage(), QStringLiteral("2501.html"));
    }
};

ZORBI_TEST_MAIN(TestSystem)
#include "tst_system.moc"
