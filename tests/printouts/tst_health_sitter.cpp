// The health statement and the pet sitter's instructions on real runs over a
// real data file, checked on the page model: the statement's heading, details
// and its two lists, the vaccinations summed up one line a vaccine from its
// latest shot, a statement a pet; the sitter's four record sources, the trip's
// lines or the lines to fill in, the contact prompt and the stored contact;
// and both opened from the program.

#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/settings.h"
#include "platform/controls/data_grid.h"
#include "platform/clock.h"
#include "printouts/frm_report.h"
#include "printouts/frm_trip.h"
#include "printouts/report_handler.h"
#include "printouts/rpt_health_statement.h"
#include "printouts/rpt_pet_sitter.h"
#include "printout_support.h"
#include "test_support.h"

#include <QApplication>

using testsupport::addRow;
using testsupport::item;
using testsupport::ProgramFolder;
using testsupport::textsOf;
using namespace printouts;

namespace {

// A pet of species 1; a null name is stored as NULL.
long addPet(const QString &name, const QVariantMap &more = {})
{
    QVariantMap v = more;
    v.insert("pet_species_id", 1);
    return testsupport::addPet(name.isNull() ? QVariant() : QVariant(name), v);
}

void addVaccine(long pet, const QString &name, const QString &received, const QString &expires, const QString &notes)
{
    addRow("tbl_vaccine", {{"vaccine_pet_id", qlonglong(pet)},
                           {"vaccine_name", name},
                           {"vaccine_received_date", received},
                           {"vaccine_expiration_date", expires},
                           {"vaccine_notes", notes}});
}

frm_report *openViewer()
{
    const QList<frm_report *> open = testsupport::openViewers();
    return open.isEmpty() ? nullptr : open.first();
}

const QStringList kTripFields{"fldWhere",     "fldLeaving",       "fldReturning",
                              "fldStayingAt", "fldContactNumber", "fldInstructions"};

} // namespace

class TestHealthSitter : public QObject {
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
        m_pf.reset();
        zbclock::reset();
    }

    // One pet: the heading, the details with the age, the insurance, and the
    // summary with one line a vaccine (names differing in case are one), all
    // of it from the latest shot, the earliest expiry first, red when that
    // latest expiry has passed; no miscellaneous items shows the list's text.
    void healthOnePet()
    {
        const long rex = addPet(
            "Rex", {{"pet_breed", "Boxer"}, {"pet_dob", "2020-05-17"}, {"pet_insurance_details_rtf", "Policy 42"}});
        addVaccine(rex, "Rabies", "2021-01-01", "2022-01-01", "first");
        addVaccine(rex, "rabies", "2023-03-03", "2025-03-03", "latest");
        addVaccine(rex, "Rabies", "2022-02-02", "2023-02-02", "second");
        addVaccine(rex, "Lyme", "2023-01-01", "2024-01-01", "lapsed");
        const long other = addPet("Ash");
        addVaccine(other, "Distemper", "2023-01-01", "2026-01-01", "not Rex's");
        m_request.petID = rex;
        m_request.reportName = QStringLiteral("Health Statement");
        rptHealthStatement r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(textsOf(doc, {"txtHeading"}), QStringList{"HEALTH STATEMENT - Rex"});
        QCOMPARE(textsOf(doc, {"lblName", "lblBreed", "lblDOB", "lblGender", "lblColor", "lblHeightLength", "lblWeight",
                               "lblVet", "lblVetPhone", "lblEmergency", "lblEmergencyPhone", "lblInsurance"}),
                 (QStringList{"Name:", "Breed:", "Birthday:", "Gender:", "Color:", "Ht / Len:", "Weight:", "Vet:",
                              "Vet Ph:", "Em. Contact:", "Emerg Ph:", "Insurance:"}));
        QCOMPARE(textsOf(doc, {"txtName", "txtBreed"}), (QStringList{"Rex", "Boxer"}));
        QCOMPARE(textsOf(doc, {"txtAge"}), QStringList{funReportAgeText(QStringLiteral("2020-05-17"))});
        QCOMPARE(item(doc, "rtfInsurance")->richText(), QStringLiteral("Policy 42"));
        QCOMPARE(textsOf(doc, {"lblTitle"}), (QStringList{"Vaccinations and Medications", "Misc. Information"}));
        QCOMPARE(textsOf(doc, {"vaccine_name"}).join('|').toLower(), QStringLiteral("lyme|rabies"));
        QCOMPARE(textsOf(doc, {"vaccine_notes"}), (QStringList{"lapsed", "latest"}));
        const QStringList received = textsOf(doc, {"vaccine_received_date"});
        QCOMPARE(received.size(), 2);
        QCOMPARE(received[1], QStringLiteral("3/3/23"));
        QCOMPARE(textsOf(doc, {"vaccine_expiration_date"})[1], QStringLiteral("3/3/25"));
        QList<QColor> colours;
        for (const report::Item &it : doc.pages[0].items)
            if (it.name == QLatin1String("vaccine_name"))
                colours << it.foreColor;
        QCOMPARE(colours, (QList<QColor>{QColor(255, 0, 0), Qt::black}));
        QCOMPARE(textsOf(doc, {"lblEmpty"}), QStringList{"[No misc. information to display]"});
        QVERIFY(!doc.texts(0).join(' ').contains("not Rex's"));
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    }

    // Every pet, a statement each on its own page (two of one name too), a
    // pet without a name under "HEALTH STATEMENT" alone; the empty-list texts
    // for a pet with nothing and not for the next one.
    void healthAllPets()
    {
        const long rex1 = addPet("Rex");
        addPet("Rex");
        addPet(QString());
        addRow("tbl_property",
               {{"property_pet_id", qlonglong(rex1)}, {"property_name", "Collar"}, {"property_value", "Red"}});
        m_request.petID = 0;
        m_request.reportName = QStringLiteral("Health Statement");
        rptHealthStatement r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 3);
        QCOMPARE(textsOf(doc, {"txtHeading"}),
                 (QStringList{"HEALTH STATEMENT", "HEALTH STATEMENT - Rex", "HEALTH STATEMENT - Rex"}));
        QCOMPARE(textsOf(doc, {"lblEmpty", "property_name"}, 1),
                 (QStringList{"[No vaccinations to display]", "Collar"}));
        QCOMPARE(textsOf(doc, {"lblEmpty", "property_name"}, 2),
                 (QStringList{"[No vaccinations to display]", "[No misc. information to display]"}));
        for (int p = 0; p < 3; ++p)
            QVERIFY(doc.texts(p).join(' ').contains(QStringLiteral("Page %1 of 3").arg(p + 1)));
        QCOMPARE(funHealthHeading(QVariant()), QStringLiteral("HEALTH STATEMENT"));
        report::renderPage(doc, 1, 0.06)
            .save(QCoreApplication::applicationDirPath() + QStringLiteral("/tst_health_statement.png"));
    }

    // The record source by trip and pet: the trip's pets (or one of them)
    // under the trip's lines, or the pets alone under six lines to fill in.
    void sitterSources_data()
    {
        QTest::addColumn<bool>("trip");
        QTest::addColumn<bool>("onePet");
        QTest::addColumn<QStringList>("pets");
        QTest::newRow("trip, pet") << true << true << QStringList{"Rex"};
        QTest::newRow("trip, all") << true << false << QStringList{"Ash", "Rex"};
        QTest::newRow("no trip, pet") << false << true << QStringList{"Rex"};
        QTest::newRow("no trip, all") << false << false << QStringList{"Ash", "Rex"};
    }
    void sitterSources()
    {
        QFETCH(bool, trip);
        QFETCH(bool, onePet);
        QFETCH(QStringList, pets);
        const long rex = addPet("Rex", {{"pet_nickname", "Rexie"}});
        addPet("Ash");
        addRow("tbl_trip", {{"trip_name", "Other trip"}});
        const long beach = addRow("tbl_trip", {{"trip_name", "Beach"},
                                               {"trip_location", "Coast"},
                                               {"trip_date_begin", "2024-06-01"},
                                               {"trip_date_begin_tod", "Morning"},
                                               {"trip_date_end", "2024-06-09"},
                                               {"trip_contact_location", "Hotel Sol"},
                                               {"trip_contact_number", "555-0101"},
                                               {"trip_notes", "Water the plants"}});
        m_request.tripID = trip ? beach : 0;
        m_request.petID = onePet ? rex : 0;
        m_request.reportName = QStringLiteral("Pet Sitter Instructions");
        m_pf->dialogs().queue(QString());
        rptPetSitter r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QStringList headings;
        for (const QString &p : pets)
            headings << QStringLiteral("Specific Instructions for ") + p;
        QCOMPARE(textsOf(doc, {"txtHeading"}), headings);
        QCOMPARE(textsOf(doc, {"lblTripDetails"}), QStringList{"Trip Details:"});
        QCOMPARE(textsOf(doc, {"lblWhere", "lblLeaving", "lblReturning", "lblStayingAt", "lblContactNumber",
                               "lblInstructions"}),
                 (QStringList{
                     "Where:", "Leaving:", "Returning:", "Staying at:", "Number to contact:", "General Instuctions:"}));
        const QStringList lines = textsOf(doc, kTripFields);
        if (trip) {
            QCOMPARE(lines[0], QStringLiteral("Beach (Coast)"));
            QCOMPARE(lines[1], funTripWhen(QStringLiteral("2024-06-01"), QStringLiteral("Morning")));
            QVERIFY(lines[1].endsWith(" (Morning)") && lines[1].contains("2024"));
            QCOMPARE(lines[2], funTripWhen(QStringLiteral("2024-06-09"), QVariant()));
            QCOMPARE(lines.mid(3), (QStringList{"Hotel Sol", "555-0101", "Water the plants"}));
        } else {
            QCOMPARE(lines, QStringList(6, QString(61, QLatin1Char('_'))));
        }
        if (onePet)
            QCOMPARE(textsOf(doc, {"txtNickname"}), QStringList{"Rexie"});
        QCOMPARE(textsOf(doc, {"lblEmpty"}), QStringList(pets.size(), QStringLiteral("[No vaccinations to display]")));
        // Only the prompt was shown: a column the pets' source lacks passes silently.
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(1));
    }

    void tripLines_data()
    {
        QTest::addColumn<QVariant>("a");
        QTest::addColumn<QVariant>("b");
        QTest::addColumn<bool>("where");
        QTest::addColumn<QString>("expected");
        QTest::newRow("where, location") << QVariant("Beach") << QVariant("Coast") << true << "Beach (Coast)";
        QTest::newRow("where, no location") << QVariant("Beach") << QVariant() << true << "Beach";
        QTest::newRow("where, blank location") << QVariant("Beach") << QVariant("  ") << true << "Beach";
        QTest::newRow("when, time of day") << QVariant("2024-06-01") << QVariant("Noon") << false << "6/1/2024 (Noon)";
        QTest::newRow("when, no time of day") << QVariant("2024-06-01") << QVariant() << false << "6/1/2024";
        QTest::newRow("when, no date") << QVariant() << QVariant("Noon") << false << "(Noon)";
    }
    void tripLines()
    {
        QFETCH(QVariant, a);
        QFETCH(QVariant, b);
        QFETCH(bool, where);
        QFETCH(QString, expected);
        QCOMPARE(where ? funTripWhere(a, b) : funTripWhen(a, b), expected);
    }

    // The contact: a name goes into the title and is stored (and offered
    // next time); a blank answer or a cancel prints the title alone and
    // keeps the stored name. Asked once a printout, however often it runs.
    void sitterContact_data()
    {
        QTest::addColumn<QVariant>("answer"); // null: cancelled
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("stored");
        QTest::newRow("a name") << QVariant("  Jane Doe ") << "Pet Sitter Instructions - Jane Doe"
                                << "Jane Doe";
        QTest::newRow("blank") << QVariant("   ") << "Pet Sitter Instructions"
                               << "Old Friend";
        QTest::newRow("cancelled") << QVariant() << "Pet Sitter Instructions"
                                   << "Old Friend";
    }
    void sitterContact()
    {
        QFETCH(QVariant, answer);
        QFETCH(QString, title);
        QFETCH(QString, stored);
        QVERIFY(funPref_Set(QStringLiteral("Sitter_Contact"), QStringLiteral("Old Friend")));
        addPet("Rex");
        if (!answer.isNull())
            m_pf->dialogs().queue(answer);
        m_request.reportName = QStringLiteral("Pet Sitter Instructions");
        rptPetSitter r(m_request);
        const int writes = settings::writeCount();
        QVERIFY(r.run());
        QVERIFY(r.run());
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Input), 1);
        const auto *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Input);
        QCOMPARE(shown->title, QStringLiteral("Contact Information"));
        QCOMPARE(shown->text, QStringLiteral("Please enter a contact name so your sitter/kennel can identify these "
                                             "instructions, or leave blank to show no contact:"));
        QCOMPARE(shown->defaultText, QStringLiteral("Old Friend"));
        QCOMPARE(textsOf(r.document(), {"lblTitle"}).value(0), title);
        QCOMPARE(funPref_Get(QStringLiteral("Sitter_Contact"), QString()), stored);
        QCOMPARE(settings::writeCount() - writes, stored == QLatin1String("Old Friend") ? 0 : 1);
        QVERIFY(!QApplication::overrideCursor());
    }

    // From the program: the health statement for one pet and for all; the
    // sitter's instructions after the trip options, a stored trip chosen, and
    // none at all when the options are cancelled.
    void opens_data()
    {
        QTest::addColumn<int>("reportID");
        QTest::addColumn<bool>("onePet");
        QTest::addColumn<int>("tripAnswer"); // -1 cancel, 0 no trip, 1 the trip
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("health, one pet") << 13 << true << 0 << QStringList{"HEALTH STATEMENT - Rex"};
        QTest::newRow("health, all") << 13 << false << 0
                                     << QStringList{"HEALTH STATEMENT - Ash", "HEALTH STATEMENT - Rex"};
        QTest::newRow("sitter, the trip")
            << 1 << false << 1 << QStringList{"Specific Instructions for Ash", "Specific Instructions for Rex"};
        QTest::newRow("sitter, no trip") << 1 << true << 0 << QStringList{"Specific Instructions for Rex"};
        QTest::newRow("sitter, cancelled") << 1 << true << -1 << QStringList();
    }
    void opens()
    {
        QFETCH(int, reportID);
        QFETCH(bool, onePet);
        QFETCH(int, tripAnswer);
        QFETCH(QStringList, headings);
        const long rex = addPet("Rex");
        addPet("Ash");
        addRow("tbl_trip", {{"trip_name", "Beach"}});
        QPointer<QTimer> timer;
        bool sawOptions = false;
        if (reportID == 1) {
            m_pf->dialogs().queue(QStringLiteral("Jane"));
            timer = testsupport::onModal<frm_trip>([&](frm_trip *w) {
                sawOptions = w->windowTitle() == QLatin1String("Pet Sitter - Trip Details");
                if (tripAnswer == 1)
                    w->DBGrid1->selectRow(0);
                w->cmdReport_Click(tripAnswer < 0 ? 1 : 0);
            });
        }
        const bool opened =
            report_handler::funReportHandler(gMain, ActionOpenReport, reportID, onePet ? rex : 0, false);
        delete timer;
        QCOMPARE(opened, tripAnswer >= 0);
        QCOMPARE(sawOptions, reportID == 1);
        frm_report *viewer = openViewer();
        QCOMPARE(viewer != nullptr, tripAnswer >= 0);
        if (!viewer)
            return;
        QCOMPARE(viewer->windowTitle(),
                 reportID == 1 ? QStringLiteral("Pet Sitter Instructions") : QStringLiteral("Health Statement"));
        QCOMPARE(textsOf(viewer->document(), {"txtHeading"}), headings);
        if (reportID == 1) {
            QCOMPARE(textsOf(viewer->document(), {"lblTitle"}).value(0),
                     QStringLiteral("Pet Sitter Instructions - Jane"));
            QCOMPARE(textsOf(viewer->document(), {"fldWhere"}),
                     QStringList{tripAnswer == 1 ? QStringLiteral("Beach") : QString(61, QLatin1Char('_'))});
        }
        QVERIFY(!QApplication::overrideCursor());
    }

private:
    // What the printout under test is opened for.
    PrintoutRequest m_request;
    std::unique_ptr<ProgramFolder> m_pf;
};

ZORBI_TEST_MAIN(TestHealthSitter)
#include "tst_health_sitter.moc"
