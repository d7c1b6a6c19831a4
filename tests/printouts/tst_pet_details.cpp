// The pet details printout on real runs over a real data file, checked on the
// page model: its four lists with their titles, captions and empty-list
// texts, the publish options that leave lists out, every pet with its own
// heading and its own rows (also two pets of one name), the empty-list text
// never carried to the next pet, the expiry colour row by row, the notes and
// the picture; and the printout opened from the program.

#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "platform/clock.h"
#include "printouts/frm_report.h"
#include "printouts/report_handler.h"
#include "printouts/rpt_pet_details.h"
#include "printout_support.h"
#include "test_support.h"

#include <QApplication>
#include <QImage>
#include <QTextBlock>

using testsupport::addPet;
using testsupport::item;
using testsupport::ProgramFolder;
using testsupport::textsOf;
using namespace printouts;

namespace {

void addDiary(long pet, const QString &date, const QString &text)
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_diary (diary_pet_id, diary_date, diary_category, diary_text) "
                                    "VALUES (?, ?, 'Fun', ?)"),
                     {qlonglong(pet), date, text});
}

void addVaccine(long pet, const QString &name, const QVariant &expires)
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_vaccine (vaccine_pet_id, vaccine_name, vaccine_received_date, "
                                    "vaccine_expiration_date, vaccine_notes) VALUES (?, ?, '2023-01-01', ?, 'note')"),
                     {qlonglong(pet), name, expires});
}

const QStringList kTitles{"Vaccinations and Medications", "Diary", "Pet Commands", "Misc. Information"};

} // namespace

class TestPetDetails : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_pf = std::make_unique<ProgramFolder>();
        QCOMPARE(Main(), -1);
        QVERIFY(gDataDB);
        zbclock::setNow(QDateTime(QDate(2024, 5, 17), QTime(10, 0)));
        m_request = PrintoutRequest();
        m_request.reportName = QStringLiteral("Pet Details");
    }
    void cleanup()
    {
        testsupport::closeViewers();
        m_pf.reset();
        zbclock::reset();
    }

    // A pet with nothing in its lists: each list's title, captions and
    // empty-list text, in print order; the publish options leave lists out
    // (the detail still prints), and a list left out takes no room.
    void lists_data()
    {
        QTest::addColumn<QList<bool>>("publish"); // vaccinations, diary, misc, commands
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("all") << QList<bool>{true, true, true, true} << kTitles;
        QTest::newRow("none") << QList<bool>{false, false, false, false} << QStringList();
        QTest::newRow("no diary") << QList<bool>{true, false, true, true}
                                  << QStringList{kTitles[0], kTitles[2], kTitles[3]};
        QTest::newRow("only misc") << QList<bool>{false, false, true, false} << QStringList{kTitles[3]};
    }
    void lists()
    {
        QFETCH(QList<bool>, publish);
        QFETCH(QStringList, titles);
        m_request.petID = addPet(QStringLiteral("Rex"), {{"pet_nickname", "Rexie"}});
        m_request.publishVaccinations = publish[0];
        m_request.publishDiary = publish[1];
        m_request.publishMisc = publish[2];
        m_request.publishCommands = publish[3];
        rptPetDetails r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(textsOf(doc, {"txtHeading"}), QStringList{"Rex (Rexie)"});
        QCOMPARE(textsOf(doc, {"lblTitle"}), titles);
        QStringList empties;
        const QStringList all{"[No vaccinations to display]", "[No diary entries to display]",
                              "[No commands to display]", "[No misc. information to display]"};
        for (const QString &t : titles)
            empties << all[kTitles.indexOf(t)];
        QCOMPARE(textsOf(doc, {"lblEmpty"}), empties);
        if (titles.contains(kTitles[0]))
            QVERIFY(textsOf(doc, {"lblvaccine_name", "lblvaccine_received_date", "lblvaccine_expiration_date",
                                  "lblvaccine_notes", "lblcontact_person"})
                    == (QStringList{"Vaccine / Med", "Received", "Expires", "Notes", "Vaccinated by"}));
        if (titles.contains(kTitles[1]))
            QCOMPARE(textsOf(doc, {"lbldiary_date", "lbldiary_text", "lbldiary_category"}),
                     (QStringList{"Date", "Entry", "Category"}));
        if (titles.contains(kTitles[2]))
            QCOMPARE(textsOf(doc, {"lblcommand_name", "lblcommand_value"}), (QStringList{"Command", "Meaning"}));
        if (titles.contains(kTitles[3]))
            QCOMPARE(textsOf(doc, {"lblproperty_name", "lblproperty_value"}), (QStringList{"Item", "Value"}));
        // The details are there whatever is left out.
        QVERIFY(testsupport::item(doc, "lblBreed", "Breed:") && testsupport::item(doc, "lblFeeding", "Feeding:"));
        // The first list shown starts right under the details.
        const report::Item *feeding = testsupport::item(doc, "lblFeeding");
        const report::Item *title = testsupport::item(doc, "lblTitle");
        if (title)
            QCOMPARE(title->rect.top(), feeding->rect.top() + 285 + 60 + 180);
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    }

    // Every pet: by name, two of one name each with its own heading, page and
    // rows; a pet without diary entries shows the empty-list text, and the
    // next pet, which has some, does not.
    void allPets()
    {
        const long ash = addPet(QStringLiteral("Ash"));
        const long rex1 = addPet(QStringLiteral("Rex"), {{"pet_breed", "Boxer"}});
        const long rex2 = addPet(QStringLiteral("Rex"), {{"pet_breed", "Collie"}});
        Q_UNUSED(ash);
        addDiary(rex1, "2024-01-02", "Rex the boxer swam");
        addDiary(rex2, "2024-02-03", "Rex the collie herded");
        addDiary(rex2, "2024-03-04", "Rex the collie slept");
        gDataDB->execute(QStringLiteral("INSERT INTO tbl_command (command_pet_id, command_name, command_value) "
                                        "VALUES (?, 'Sit', 'Sits down')"),
                         {qlonglong(rex2)});
        m_request.petID = 0;
        rptPetDetails r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 3);
        QCOMPARE(textsOf(doc, {"txtHeading"}), (QStringList{"Ash", "Rex", "Rex"}));
        const QStringList rows{"txtBreed", "diary_text", "lblEmpty", "command_name"};
        QCOMPARE(textsOf(doc, rows, 0),
                 (QStringList{"", "[No vaccinations to display]", "[No diary entries to display]",
                              "[No commands to display]", "[No misc. information to display]"}));
        QCOMPARE(textsOf(doc, rows, 1), (QStringList{"Boxer", "[No vaccinations to display]", "Rex the boxer swam",
                                                     "[No commands to display]", "[No misc. information to display]"}));
        QCOMPARE(textsOf(doc, rows, 2),
                 (QStringList{"Collie", "[No vaccinations to display]", "Rex the collie slept", "Rex the collie herded",
                              "Sit", "[No misc. information to display]"}));
        for (int p = 0; p < 3; ++p) {
            QVERIFY(doc.texts(p).join(' ').contains(QStringLiteral("Page %1 of 3").arg(p + 1)));
            // Kept beside the test for a person to look at.
            report::renderPage(doc, p, 0.06)
                .save(QCoreApplication::applicationDirPath()
                      + QStringLiteral("/tst_pet_details_all_%1.png").arg(p + 1));
        }
    }

    // Red for an expiry before today, row by row; today's, none and a later
    // one print in the normal colour, also right after a red row.
    void expiryColour()
    {
        const long rex = addPet(QStringLiteral("Rex"));
        addVaccine(rex, QStringLiteral("Later"), QStringLiteral("2025-01-01"));
        addVaccine(rex, QStringLiteral("Today"), QStringLiteral("2024-05-17"));
        addVaccine(rex, QStringLiteral("Yesterday"), QStringLiteral("2024-05-16"));
        addVaccine(rex, QStringLiteral("Never"), QVariant());
        m_request.petID = rex;
        rptPetDetails r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        // Latest expiry first; no expiry last.
        QCOMPARE(textsOf(doc, {"vaccine_name"}), (QStringList{"Later", "Today", "Yesterday", "Never"}));
        const QStringList fields{"vaccine_name", "vaccine_received_date", "vaccine_expiration_date", "vaccine_notes",
                                 "contact_person"};
        QList<QColor> colours;
        for (const report::Item &it : doc.pages[0].items) {
            if (it.name == QLatin1String("vaccine_name"))
                colours << it.foreColor;
            if (fields.contains(it.name) && !colours.isEmpty())
                QCOMPARE(it.foreColor, colours.last()); // the whole row alike
        }
        QCOMPARE(colours, (QList<QColor>{Qt::black, Qt::black, QColor(255, 0, 0), Qt::black}));
        QVERIFY(funVaccinationExpired(QStringLiteral("2024-05-16"), QDate(2024, 5, 17)));
        QVERIFY(!funVaccinationExpired(QStringLiteral("2024-05-17 00:00:00"), QDate(2024, 5, 17)));
        QVERIFY(!funVaccinationExpired(QStringLiteral("soon"), QDate(2024, 5, 17)));
    }

    // The notes read from their RTF with bold and italic, the picture fitted,
    // and a long diary going on over the pages, every entry once.
    void notesPictureAndLongDiary()
    {
        QImage img(400, 300, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QVERIFY(img.save(gPicturePath + QStringLiteral("rex.png")));
        const QString rtf = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Feed {\\b twice} a "
                                           "{\\i day}.\\par}");
        const long rex = addPet(QStringLiteral("Rex"),
                                {{"pet_picture", "rex.png"}, {"pet_feeding_rtf", rtf}, {"pet_dob", "2020-05-17"}});
        for (int i = 0; i < 150; ++i)
            addDiary(rex, QDate(2023, 1, 1).addDays(i).toString(Qt::ISODate), QStringLiteral("Entry %1").arg(i));
        m_request.petID = rex;
        rptPetDetails r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QVERIFY(doc.pageCount() >= 3);
        const report::Item *feeding = testsupport::item(doc, "rtfFeeding");
        QVERIFY(feeding && feeding->rich);
        QCOMPARE(feeding->richText(), QStringLiteral("Feed twice a day."));
        bool bold = false, italic = false;
        for (auto it = feeding->rich->begin().begin(); !it.atEnd(); ++it) {
            bold = bold || (it.fragment().text() == QLatin1String("twice") && it.fragment().charFormat().font().bold());
            italic =
                italic || (it.fragment().text() == QLatin1String("day") && it.fragment().charFormat().font().italic());
        }
        QVERIFY(bold && italic);
        QVERIFY(!testsupport::item(doc, "rtfNotes")); // an empty note prints nothing
        const report::Item *pic = testsupport::item(doc, "picPicture");
        QVERIFY(pic && !pic->image.isNull());
        QCOMPARE(pic->rect.top(), 720 + 600 + 39);
        QCOMPARE(textsOf(doc, {"txtAge"}), QStringList{funReportAgeText(QStringLiteral("2020-05-17"))});
        QStringList entries = textsOf(doc, {"diary_text"});
        QCOMPARE(entries.size(), 150);
        QCOMPARE(entries.first(), QStringLiteral("Entry 149")); // the latest first
        QCOMPARE(QSet<QString>(entries.begin(), entries.end()).size(), 150);
        for (int p = 1; p < doc.pageCount(); ++p)
            QVERIFY(!textsOf(doc, {"diary_text"}, p).isEmpty() || p == doc.pageCount() - 1);
    }

    // From the program: the pet window's Print and the printouts list open
    // it for one pet and for every pet.
    void opens_data()
    {
        QTest::addColumn<bool>("onePet");
        QTest::newRow("one pet") << true;
        QTest::newRow("every pet") << false;
    }
    void opens()
    {
        QFETCH(bool, onePet);
        const long rex = addPet(QStringLiteral("Rex"));
        addPet(QStringLiteral("Ash"));
        QVERIFY(report_handler::funReportHandler(gMain, ActionOpenReport, 6, onePet ? rex : 0, false));
        frm_report *viewer = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *v = qobject_cast<frm_report *>(w))
                viewer = v;
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Pet Details"));
        QCOMPARE(viewer->pageCount(), onePet ? 1 : 2);
        const QStringList headings = onePet ? QStringList{"Rex"} : QStringList{"Ash", "Rex"};
        QCOMPARE(textsOf(viewer->document(), {"txtHeading"}), headings);
        QVERIFY(!QApplication::overrideCursor());
    }

private:
    // What the printout under test is opened for.
    PrintoutRequest m_request;
    std::unique_ptr<ProgramFolder> m_pf;
};

ZORBI_TEST_MAIN(TestPetDetails)
#include "tst_pet_details.moc"
