// The greeting card with its options window, the diary and the refrigerator
// page, on real runs over a real data file, checked on the page model, and
// opened as a user opens them: from the pet's panel.

#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "platform/clock.h"
#include "platform/controls/vb_list_view.h"
#include "printouts/frm_greeting.h"
#include "printouts/frm_report.h"
#include "printouts/report_handler.h"
#include "printouts/rpt_diary.h"
#include "printouts/rpt_greeting_card.h"
#include "printouts/rpt_refrigerator.h"
#include "printout_support.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

using testsupport::addPet;
using testsupport::addRow;
using testsupport::ProgramFolder;
using testsupport::textsOf;
using namespace printouts;

namespace {

void addVaccine(long pet, const QString &name, const QVariant &expires)
{
    addRow(QStringLiteral("tbl_vaccine"), {{"vaccine_pet_id", qlonglong(pet)},
                                           {"vaccine_name", name},
                                           {"vaccine_received_date", "2023-01-01"},
                                           {"vaccine_expiration_date", expires}});
}

// Opens printout `id` as a user does: the pet's panel, then a double-click
// on the printout's item.
void openFromPanel(long pet, int id)
{
    QVERIFY(gMain);
    funPetHandler(gMain, ActionShow, pet, QString(), 1);
    QVERIFY(gMain->ListView_Pet->selectKey(QStringLiteral("r%1").arg(id)));
    gMain->ListView_Pet_DblClick();
}

void savePages(const report::Document &doc, const QString &name)
{
    for (int p = 0; p < doc.pageCount(); ++p)
        report::renderPage(doc, p, 0.06)
            .save(QCoreApplication::applicationDirPath() + QStringLiteral("/%1_%2.png").arg(name).arg(p + 1));
}

} // namespace

class TestCardDiaryRefrigerator : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_pf = std::make_unique<ProgramFolder>();
        QCOMPARE(Main(), -1);
        QVERIFY(gDataDB);
        zbclock::setNow(QDateTime(QDate(2024, 5, 17), QTime(10, 0)));
        m_request = PrintoutRequest();
    }
    void cleanup()
    {
        testsupport::closeViewers();
        delete m_timer;
        m_pf.reset();
        zbclock::reset();
    }

    // The bands of each printout, in print order, and where its lists sit:
    // the diary's and the refrigerator page's in the detail, under the
    // details, so they grow with it and split over pages.
    void sections_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QStringList>("bands");
        QTest::addColumn<QStringList>("detailLists");
        QTest::newRow("greeting card") << 7 << QStringList{"ReportHeader", "PageHeader", "GroupHeader1", "Detail",
                                                           "GroupFooter1", "PageFooter", "ReportFooter"}
                                       << QStringList();
        QTest::newRow("diary") << 10 << QStringList{"ReportHeader", "PageHeader", "GroupHeader2", "Detail",
                                                    "GroupFooter4", "PageFooter", "ReportFooter"}
                               << QStringList{"srptDiarySub"};
        QTest::newRow("refrigerator") << 3 << QStringList{"ReportHeader", "PageHeader", "GroupHeader2", "Detail",
                                                          "GroupFooter4", "PageFooter", "ReportFooter"}
                                      << QStringList{"srptVaccinationSub", "srptCommandSub", "srptPropertySub"};
    }
    void sections()
    {
        QFETCH(int, id);
        QFETCH(QStringList, bands);
        QFETCH(QStringList, detailLists);
        std::unique_ptr<report::Report> r = report_handler::funNewDesigner(PrintoutRequest{.reportID = id});
        QVERIFY(r);
        QStringList names;
        for (const report::Section *s : r->sections())
            names << s->name;
        QCOMPARE(names, bands);
        QStringList lists;
        int top = 0;
        for (const auto &c : r->detail()->controls())
            if (c->kind == report::ControlKind::SubReport) {
                lists << c->name;
                QVERIFY(c->top > top); // each under the one before
                top = c->top;
            }
        QCOMPARE(lists, detailLists);
    }

    // ------------------------------------------------------------ greeting card

    // The options window's paths, from the pet's panel: what is typed prints
    // once above and below the picture; placeholders and blanks print nothing;
    // Cancel, Esc and the close box open no card and leave the texts alone.
    void greetingOptions_data()
    {
        QTest::addColumn<QString>("title");    // typed; "-" leaves the placeholder
        QTest::addColumn<QString>("greeting"); // typed, "|" a Ctrl+Enter
        QTest::addColumn<QString>("button");   // ok, enter, cancel, escape, close
        QTest::addColumn<QString>("printedTitle");
        QTest::addColumn<QString>("printedGreeting");
        QTest::newRow("typed") << "  Happy Birthday "
                               << "Many happy|returns"
                               << "ok"
                               << "Happy Birthday"
                               << "Many happy\nreturns";
        QTest::newRow("enter in the greeting") << "Hi"
                                               << "Woof"
                                               << "enter"
                                               << "Hi"
                                               << "Woof";
        QTest::newRow("placeholders left") << "-"
                                           << "-"
                                           << "ok"
                                           << ""
                                           << "";
        QTest::newRow("three spaces") << "   "
                                      << "-"
                                      << "ok"
                                      << ""
                                      << "";
        QTest::newRow("cancel") << "Hi"
                                << "Woof"
                                << "cancel"
                                << ""
                                << "";
        QTest::newRow("escape") << "Hi"
                                << "Woof"
                                << "escape"
                                << ""
                                << "";
        QTest::newRow("close box") << "Hi"
                                   << "Woof"
                                   << "close"
                                   << ""
                                   << "";
    }
    void greetingOptions()
    {
        QFETCH(QString, title);
        QFETCH(QString, greeting);
        QFETCH(QString, button);
        QFETCH(QString, printedTitle);
        QFETCH(QString, printedGreeting);
        const long rex = addPet(QStringLiteral("Rex"));
        bool shown = false;
        m_timer = testsupport::onModal<frm_greeting>([&](frm_greeting *w) {
            shown = true;
            QCOMPARE(w->windowTitle(), QStringLiteral("Greeting Card options"));
            QCOMPARE(w->txtGreeting0->text(), frm_greeting::titlePlaceholder());
            QCOMPARE(w->txtGreeting0->selectedText(), frm_greeting::titlePlaceholder());
            QCOMPARE(w->txtGreeting1->toPlainText(), frm_greeting::greetingPlaceholder());
            if (title != QLatin1String("-"))
                w->txtGreeting0->setText(title);
            if (greeting != QLatin1String("-")) {
                w->txtGreeting1->setFocus();
                w->txtGreeting1->clear();
                const QStringList lines = greeting.split('|');
                for (int i = 0; i < lines.size(); ++i) {
                    if (i)
                        QTest::keyClick(w->txtGreeting1, Qt::Key_Return, Qt::ControlModifier);
                    QTest::keyClicks(w->txtGreeting1, lines[i]);
                }
            }
            if (button == QLatin1String("ok"))
                w->cmdGreeting[0]->click();
            else if (button == QLatin1String("enter"))
                QTest::keyClick(w->txtGreeting1, Qt::Key_Return);
            else if (button == QLatin1String("cancel"))
                w->cmdGreeting[1]->click();
            else if (button == QLatin1String("escape"))
                QTest::keyClick(w, Qt::Key_Escape);
            else
                w->close();
        });
        openFromPanel(rex, 7);
        QVERIFY(shown);
        const bool confirmed = button == QLatin1String("ok") || button == QLatin1String("enter");
        const QList<frm_report *> open = testsupport::openViewers();
        QCOMPARE(open.size(), confirmed ? 1 : 0);
        QVERIFY(!QApplication::overrideCursor());
        if (!confirmed)
            return;
        const report::Document &doc = open[0]->document();
        QCOMPARE(open[0]->windowTitle(), QStringLiteral("Greeting Card"));
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(textsOf(doc, {"txtReportTitle"}), printedTitle.isEmpty() ? QStringList() : QStringList{printedTitle});
        QCOMPARE(textsOf(doc, {"txtReportFooter"}),
                 printedGreeting.isEmpty() ? QStringList() : QStringList{printedGreeting});
    }

    // The boxes hold 100 characters, typed or pasted; Ctrl+Enter starts a
    // line and Enter is OK; a box selects its whole text when it gets the focus.
    void greetingBoxes()
    {
        frm_greeting w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.txtGreeting0->setText(QString());
        QTest::keyClicks(w.txtGreeting0, QString(105, 'a'));
        QCOMPARE(w.txtGreeting0->text().size(), 100);
        w.txtGreeting1->setFocus();
        QTRY_COMPARE(w.txtGreeting1->textCursor().selectedText(), frm_greeting::greetingPlaceholder());
        w.txtGreeting1->clear();
        QTest::keyClicks(w.txtGreeting1, QString(98, 'b'));
        QTest::keyClick(w.txtGreeting1, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(w.txtGreeting1, QStringLiteral("cdef"));
        QCOMPARE(w.txtGreeting1->toPlainText(), QString(98, 'b') + QStringLiteral("\nc"));
        // A paste that overflows keeps what fits, before the cursor and after.
        w.txtGreeting1->setPlainText(QStringLiteral("start end"));
        QTextCursor c = w.txtGreeting1->textCursor();
        c.setPosition(6);
        w.txtGreeting1->setTextCursor(c);
        w.txtGreeting1->insertPlainText(QString(200, 'x'));
        QCOMPARE(w.txtGreeting1->toPlainText(), QStringLiteral("start ") + QString(91, 'x') + QStringLiteral("end"));
        QVERIFY(w.isVisible());
        QTest::keyClick(w.txtGreeting1, Qt::Key_Return);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(w.confirmed());
        QCOMPARE(w.greeting(), QStringLiteral("start ") + QString(91, 'x') + QStringLiteral("end"));
    }

    // Landscape, the title above the picture and the greeting below it, each
    // once, in the right half of the sheet; the card takes its texts when it
    // is made, so the next card starts from its own options.
    void greetingCard_data()
    {
        QTest::addColumn<bool>("withPicture");
        QTest::newRow("picture") << true;
        QTest::newRow("no picture") << false;
        QTest::newRow("picture file missing") << false;
    }
    void greetingCard()
    {
        QFETCH(bool, withPicture);
        QString picture;
        if (withPicture || QTest::currentDataTag() == QLatin1String("picture file missing"))
            picture = QStringLiteral("rex.png");
        if (withPicture) {
            QImage img(800, 400, QImage::Format_RGB32); // wider than its box
            img.fill(Qt::darkCyan);
            img.setDotsPerMeterX(2835); // 72 dpi: 800 px = 16000 twips
            img.setDotsPerMeterY(2835);
            QVERIFY(img.save(gPicturePath + picture));
        }
        m_request.petID = addPet(QStringLiteral("Rex"), {{"pet_picture", picture}});
        m_request.greetingTitle = QStringLiteral("Happy Birthday");
        m_request.greetingText = QStringLiteral("From all of us");
        rptPetGreetingCard card(m_request);
        QVERIFY(card.run());
        const report::Document &doc = card.document();
        QCOMPARE(doc.orientation, QPageLayout::Landscape);
        QVERIFY(doc.size.width() > doc.size.height());
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(textsOf(doc, {"txtReportTitle"}), QStringList{"Happy Birthday"});
        QCOMPARE(textsOf(doc, {"txtReportFooter"}), QStringList{"From all of us"});
        const report::Item *title = testsupport::item(doc, "txtReportTitle");
        const report::Item *greeting = testsupport::item(doc, "txtReportFooter");
        QCOMPARE(title->rect.left(), 720 + 7316);
        QVERIFY(title->rect.right() < doc.size.width() - 720);
        const report::Item *pic = testsupport::item(doc, "picPicture");
        QCOMPARE(pic != nullptr, withPicture);
        if (withPicture) {
            // Limited to the box's width, its proportions kept, centred in it.
            QCOMPARE(pic->rect.width(), 6255);
            QCOMPARE(pic->rect.height(), 6255 / 2 + 1);
            QCOMPARE(pic->rect.left(), 720 + 7355);
            QVERIFY(title->rect.bottom() < pic->rect.top());
            QVERIFY(pic->rect.bottom() < greeting->rect.top());
        } else {
            QVERIFY(title->rect.bottom() < greeting->rect.top());
        }
        savePages(doc, QStringLiteral("tst_greeting_card_") + QString(QTest::currentDataTag()).replace(' ', '_'));
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
        // A card made without its options has nothing to say.
        rptPetGreetingCard next(PrintoutRequest{.petID = m_request.petID});
        QVERIFY(next.run());
        QVERIFY(textsOf(next.document(), {"txtReportTitle", "txtReportFooter"}).isEmpty());
    }

    // ------------------------------------------------------------------ diary

    void diaryHeading_data()
    {
        QTest::addColumn<QVariant>("name");
        QTest::addColumn<QString>("heading");
        QTest::newRow("Boris") << QVariant("Boris") << "Boris' Diary";
        QTest::newRow("BORIS") << QVariant("BORIS") << "BORIS's Diary";
        QTest::newRow("Rex") << QVariant("Rex") << "Rex's Diary";
        QTest::newRow("Null") << QVariant() << "Diary";
        QTest::newRow("empty") << QVariant("") << "Diary";
    }
    void diaryHeading()
    {
        QFETCH(QVariant, name);
        QFETCH(QString, heading);
        QCOMPARE(funDiaryHeading(name), heading);
    }

    // The heading, the details with their captions in page order and the
    // age; a diary longer than a page goes on over the pages, the latest
    // entry first, every entry once, each page with its footer.
    void diary()
    {
        QImage img(400, 300, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        QVERIFY(img.save(gPicturePath + QStringLiteral("boris.png")));
        m_request.petID = addPet(
            QStringLiteral("Boris"),
            {{"pet_nickname", "Bo"}, {"pet_breed", "Boxer"}, {"pet_dob", "2020-05-17"}, {"pet_picture", "boris.png"}});
        for (int i = 0; i < 120; ++i)
            addRow(QStringLiteral("tbl_diary"), {{"diary_pet_id", qlonglong(m_request.petID)},
                                                 {"diary_date", QDate(2023, 1, 1).addDays(i).toString(Qt::ISODate)},
                                                 {"diary_category", "Walk"},
                                                 {"diary_text", QStringLiteral("Entry %1").arg(i)}});
        m_request.reportName = QStringLiteral("Print Pet Diary");
        rptDiary r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QVERIFY(doc.pageCount() >= 2);
        QCOMPARE(textsOf(doc, {"Field1"}), QStringList{"Boris' Diary"});
        QCOMPARE(textsOf(doc, {"Text9", "Text2", "Text1", "Text3", "Text5", "Text4", "Text8", "Text7", "Text6"}),
                 (QStringList{"Nickname:", "Birthday:", "Breed:", "Color:", "Mother:", "Father:", "Weight:",
                              "Ht / Len:", "Gender:"}));
        QCOMPARE(textsOf(doc, {"Field2", "Field3"}), (QStringList{"Bo", "Boxer"}));
        QCOMPARE(textsOf(doc, {"fldDOB"}), QStringList{funReportAgeText(QStringLiteral("2020-05-17"))});
        QVERIFY(!textsOf(doc, {"Field13"}).value(0).contains(QStringLiteral("12:00:00")));
        QVERIFY(testsupport::item(doc, "picPicture"));
        QCOMPARE(textsOf(doc, {"lblTitle"}), QStringList{"Diary"});
        const QStringList entries = textsOf(doc, {"diary_text"});
        QCOMPARE(entries.size(), 120);
        QCOMPARE(entries.first(), QStringLiteral("Entry 119"));
        QCOMPARE(QSet<QString>(entries.begin(), entries.end()).size(), 120);
        QVERIFY(textsOf(doc, {"lblEmpty"}).isEmpty());
        for (int p = 0; p < doc.pageCount(); ++p) {
            QVERIFY(!textsOf(doc, {"diary_text"}, p).isEmpty());
            QCOMPARE(textsOf(doc, {"lblReportName"}, p), QStringList{"Print Pet Diary"});
            QCOMPARE(textsOf(doc, {"Field12", "Field14", "Field15", "Field16"}, p),
                     (QStringList{"Page", QString::number(p + 1), "of", QString::number(doc.pageCount())}));
        }
        savePages(doc, QStringLiteral("tst_diary"));
    }

    // A pet with no diary: the details and the empty-list line; an empty
    // birthday leaves the age empty; no pet: the no-data message.
    void diaryEmpty()
    {
        m_request.petID = addPet(QStringLiteral("Rex"), {{"pet_dob", ""}});
        {
            rptDiary r(m_request);
            QVERIFY(r.run());
            QCOMPARE(textsOf(r.document(), {"Field1"}), QStringList{"Rex's Diary"});
            QCOMPARE(textsOf(r.document(), {"lblEmpty"}), QStringList{"[No diary entries to display]"});
            QCOMPARE(textsOf(r.document(), {"fldDOB"}), QStringList{""});
        }
        m_request.petID = 0;
        rptDiary none(m_request);
        QVERIFY(!none.run());
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
        QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text,
                 QStringLiteral("There is no information to show."));
    }

    // ------------------------------------------------------------ refrigerator

    // The details with the sitter, the notes, and the three lists one under
    // the other: every vaccination, two of one name both, the later expiry
    // first, an expired one in red; no commands: the empty-list line.
    void refrigerator()
    {
        const QString rtf = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Twice a {\\b day}.\\par}");
        addRow(QStringLiteral("tbl_contact"), {{"contact_name", "Sam"}, {"contact_ph_1", "555-0101"}});
        const long sam = long(gDataDB->lastInsertId().toLongLong());
        const long rex = addPet(QStringLiteral("Rex"), {{"pet_nickname", "Rexie"},
                                                        {"pet_sitter_id", qlonglong(sam)},
                                                        {"pet_feeding_rtf", rtf},
                                                        {"pet_care_rtf", "Brush weekly"}});
        addVaccine(rex, QStringLiteral("Rabies"), QStringLiteral("2024-01-01"));
        addVaccine(rex, QStringLiteral("Rabies"), QStringLiteral("2026-01-01"));
        addVaccine(rex, QStringLiteral("Lyme"), QStringLiteral("2025-06-01"));
        addRow(QStringLiteral("tbl_property"),
               {{"property_pet_id", qlonglong(rex)}, {"property_name", "Collar"}, {"property_value", "Red"}});
        m_request.petID = rex;
        m_request.reportName = QStringLiteral("Refrigerator Page");
        rptPetRefrigerator r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(textsOf(doc, {"txtHeading"}), QStringList{"Rex (Rexie)"});
        QStringList captions;
        for (const report::Item &it : doc.pages[0].items)
            if (it.name.startsWith(QLatin1String("lbl")) && it.text.endsWith(':'))
                captions << it.text;
        QCOMPARE(captions, (QStringList{"Breed:", "Birthday:", "Ht / Len:", "Weight:", "Vet:", "Vet Ph:", "Sitter:",
                                        "Sitter Ph:", "Em. Contact:", "Emerg Ph:", "Feeding:", "Care:", "Notes:"}));
        QCOMPARE(textsOf(doc, {"txtSitter", "txtSitterPhone"}), (QStringList{"Sam", "555-0101"}));
        QCOMPARE(testsupport::item(doc, "rtfFeeding")->richText(), QStringLiteral("Twice a day."));
        QCOMPARE(testsupport::item(doc, "rtfCare")->richText(), QStringLiteral("Brush weekly"));
        QCOMPARE(textsOf(doc, {"lblTitle"}),
                 (QStringList{"Vaccinations and Medications", "Pet Commands", "Misc. Information"}));
        QCOMPARE(textsOf(doc, {"vaccine_name"}), (QStringList{"Rabies", "Lyme", "Rabies"}));
        QList<QColor> colours;
        for (const report::Item &it : doc.pages[0].items)
            if (it.name == QLatin1String("vaccine_name"))
                colours << it.foreColor;
        QCOMPARE(colours, (QList<QColor>{Qt::black, Qt::black, QColor(255, 0, 0)}));
        QCOMPARE(textsOf(doc, {"lblEmpty"}), QStringList{"[No commands to display]"});
        QCOMPARE(textsOf(doc, {"property_name"}), QStringList{"Collar"});
        // Stacked: the notes above the lists, each list under the one before.
        int last = testsupport::item(doc, "rtfCare")->rect.bottom();
        for (const QString t : {"Vaccinations and Medications", "Pet Commands", "Misc. Information"}) {
            const report::Item *ti = testsupport::item(doc, "lblTitle", t);
            QVERIFY2(ti->rect.top() > last, qPrintable(t));
            last = ti->rect.top();
        }
        savePages(doc, QStringLiteral("tst_refrigerator"));
    }

    // Lists longer than a page go on over the next, without overlapping.
    void refrigeratorLongLists()
    {
        const long rex = addPet(QStringLiteral("Rex"));
        for (int i = 0; i < 40; ++i)
            addVaccine(rex, QStringLiteral("Vaccine %1").arg(i, 2, 10, QLatin1Char('0')),
                       QDate(2030, 1, 1).addDays(-i).toString(Qt::ISODate));
        for (int i = 0; i < 30; ++i)
            addRow(QStringLiteral("tbl_command"), {{"command_pet_id", qlonglong(rex)},
                                                   {"command_name", QStringLiteral("Command %1").arg(i)},
                                                   {"command_value", "Does it"}});
        m_request.petID = rex;
        rptPetRefrigerator r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QVERIFY(doc.pageCount() >= 2);
        QCOMPARE(textsOf(doc, {"vaccine_name"}).size(), 40);
        QCOMPARE(textsOf(doc, {"command_name"}).size(), 30);
        QCOMPARE(textsOf(doc, {"vaccine_name"}).first(), QStringLiteral("Vaccine 00"));
        for (int p = 0; p < doc.pageCount(); ++p) {
            int bottom = 0;
            for (const report::Item &it : doc.pages[size_t(p)].items)
                if (it.name == QLatin1String("vaccine_name") || it.name == QLatin1String("command_name")
                    || it.name == QLatin1String("lblTitle")) {
                    QVERIFY(it.rect.top() >= bottom);
                    bottom = it.rect.bottom();
                }
            QVERIFY(doc.texts(p).join(' ').contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(doc.pageCount())));
        }
    }

    // ---------------------------------------------------------- from the panel

    // The diary and the refrigerator page open from the pet's panel; a pet
    // gone since opens no window, only the no-data message.
    void opensFromPanel_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("headingItem");
        QTest::newRow("diary") << 10 << "Print Pet Diary"
                               << "Rex's Diary"
                               << "Field1";
        QTest::newRow("refrigerator") << 3 << "Refrigerator Page"
                                      << "Rex"
                                      << "txtHeading";
    }
    void opensFromPanel()
    {
        QFETCH(int, id);
        QFETCH(QString, caption);
        QFETCH(QString, heading);
        QFETCH(QString, headingItem);
        const long rex = addPet(QStringLiteral("Rex"));
        openFromPanel(rex, id);
        QList<frm_report *> open = testsupport::openViewers();
        QCOMPARE(open.size(), 1);
        QCOMPARE(open[0]->windowTitle(), caption);
        QCOMPARE(textsOf(open[0]->document(), {headingItem}), QStringList{heading});
        QVERIFY(!QApplication::overrideCursor());
        qDeleteAll(open);
        // Gone from under its panel.
        gDataDB->execute(QStringLiteral("DELETE FROM tbl_pet WHERE pet_id = ?"), {qlonglong(rex)});
        QVERIFY(report_handler::funReportHandler(gMain, ActionOpenReport, id, rex, false));
        QVERIFY(testsupport::openViewers().isEmpty());
        QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text,
                 QStringLiteral("There is no information to show."));
        QVERIFY(!QApplication::overrideCursor());
    }

private:
    // What the printout under test is opened for.
    PrintoutRequest m_request;
    std::unique_ptr<ProgramFolder> m_pf;
    QPointer<QTimer> m_timer;
};

ZORBI_TEST_MAIN(TestCardDiaryRefrigerator)
#include "tst_card_diary_refrigerator.moc"
