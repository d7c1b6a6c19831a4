// The show-and-tell paper and the missing-pet poster on real runs over a real
// data file, checked on the page model: the paper's heading, details, age,
// picture and formatted texts, with the empty cases (no picture, no birthday,
// an empty nickname); the poster's two questions answered,
// cancelled and typed over, its twelve strips the same on every page, the
// species read only from a row, the picture fitted; and both opened from the
// program, where a poster without a pet asks nothing.

#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "platform/dates.h"
#include "platform/clock.h"
#include "printouts/frm_report.h"
#include "printouts/report_handler.h"
#include "printouts/rpt_pet_missing.h"
#include "printouts/rpt_pet_show_and_tell.h"
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

// A person whose second phone is `phone`, as the pet's emergency contact.
void setEmergencyPhone(long pet, const QString &phone)
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_contact (contact_name, contact_ph_2) VALUES ('Ann', ?)"), {phone});
    gDataDB->execute(QStringLiteral("UPDATE tbl_pet SET pet_emergency_contact_id = ? WHERE pet_id = ?"),
                     {gDataDB->lastInsertId(), qlonglong(pet)});
}

// A picture of `w` x `h` pixels at 96 dpi in the pictures folder.
QString savePicture(const QString &name, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.save(gPicturePath + name);
    return name;
}

QStringList stripNames()
{
    QStringList n;
    for (int i = 1; i <= rptPetMissing::kStrips; ++i)
        n << QStringLiteral("Label%1").arg(i);
    return n;
}

// Kept beside the test for a person to look at: each page as a picture, and
// the whole as PDF.
void keepPicture(const report::Document &doc, const QString &name)
{
    QVERIFY(report::exportPdf(doc, QCoreApplication::applicationDirPath()
                                       + QStringLiteral("/tst_pet_paper_and_missing_%1.pdf").arg(name)));
    for (int p = 0; p < doc.pageCount(); ++p)
        report::renderPage(doc, p, 0.06)
            .save(QCoreApplication::applicationDirPath()
                  + QStringLiteral("/tst_pet_paper_and_missing_%1_%2.png").arg(name).arg(p + 1));
}

} // namespace

class TestPetPaperAndMissing : public QObject {
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

    // The paper for a pet with everything: the heading with the nickname,
    // every label and field in its row, the age beside the birthday, the
    // picture in its box, the three texts with their formatting, the page
    // line; and no question asked.
    void showAndTellWhole()
    {
        savePicture(QStringLiteral("rex.png"), 400, 300);
        const QString rtf = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Feed {\\b twice} a "
                                           "{\\i day}.\\par}");
        m_request.petID = addPet(QStringLiteral("Rex"), {{"pet_nickname", "Rexie"},
                                                         {"pet_picture", "rex.png"},
                                                         {"pet_dob", "2020-05-17"},
                                                         {"pet_breed", "Boxer"},
                                                         {"pet_color", "Brown"},
                                                         {"pet_mother", "Bella"},
                                                         {"pet_father", "Max"},
                                                         {"pet_weight", "30 kg"},
                                                         {"pet_height_length", "60 cm"},
                                                         {"pet_gender", "Male"},
                                                         {"pet_notes_rtf", "Likes the park."},
                                                         {"pet_care_rtf", "Brush weekly."},
                                                         {"pet_feeding_rtf", rtf}});
        m_request.reportName = QStringLiteral("Show & Tell Paper");
        rptPetShowAndTell r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(textsOf(doc, {"Field1"}), QStringList{"Rex (Rexie)"});
        QCOMPARE(textsOf(doc, {"Text4", "Text6", "Text7", "Text3", "Text1", "Text16", "Text15", "Text14", "Text10",
                               "Text8", "Text12"}),
                 (QStringList{"Birthday:", "Breed:", "Color:", "Mother:", "Father:", "Weight:", "Ht / Len:", "Gender:",
                              "Notes:", "Care:", "Feeding:"}));
        QCOMPARE(textsOf(doc, {"Field5", "Field6", "Field7", "Field8", "Field9", "Field10", "Field11"}),
                 (QStringList{"Boxer", "Brown", "Bella", "Max", "30 kg", "60 cm", "Male"}));
        QCOMPARE(textsOf(doc, {"fldDOB"}), QStringList{funAgeText(QStringLiteral("2020-05-17"))});
        QVERIFY(!textsOf(doc, {"fldDOB"}).first().isEmpty());
        // Rows at their tops below the heading, the age on the birthday's row.
        const int detailTop = 720 + 210 + 510;
        QCOMPARE(item(doc, "Field3")->rect.top(), detailTop + 59);
        QCOMPARE(item(doc, "fldDOB")->rect.top(), detailTop + 59);
        QCOMPARE(item(doc, "fldDOB")->rect.left(), 720 + 2655);
        QCOMPARE(item(doc, "Field11")->rect.top(), detailTop + 2124);
        QCOMPARE(item(doc, "Text6")->rect.left(), 720 + 118);
        QCOMPARE(item(doc, "Field5")->rect.left(), 720 + 1357);
        // 400 x 300 pixels at 96 dpi is 6000 x 4500 twips: as high as the box.
        const report::Item *pic = item(doc, "picPicture");
        QVERIFY(pic && !pic->image.isNull());
        QCOMPARE(pic->rect.height(), 2243);
        QCOMPARE(pic->rect.top(), detailTop + 39);
        QCOMPARE(pic->rect.left() - 720, 5231 + (4779 - pic->rect.width()) / 2);
        QCOMPARE(textsOf(doc, {"RichEdit1", "RichEdit2", "RichEdit3"}),
                 (QStringList{"Likes the park.", "Brush weekly.", "Feed twice a day."}));
        const report::Item *feeding = item(doc, "RichEdit3");
        bool bold = false;
        for (auto it = feeding->rich->begin().begin(); !it.atEnd(); ++it)
            bold = bold || (it.fragment().text() == QLatin1String("twice") && it.fragment().charFormat().font().bold());
        QVERIFY(bold);
        QCOMPARE(item(doc, "RichEdit1")->rect.width(), 8650);
        const QString page = doc.texts(0).join(' ');
        QVERIFY(page.contains(QStringLiteral("Page 1 of 1")));
        QVERIFY(page.contains(QStringLiteral("Show & Tell Paper")));
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
        keepPicture(doc, QStringLiteral("paper"));
    }

    // The empty cases: no picture (no file name, a file that is missing), no
    // birthday or an empty one (no age), a nickname left empty, no texts; the
    // rest of the page prints all the same.
    void showAndTellEmpty_data()
    {
        QTest::addColumn<QVariantMap>("pet");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("birthday");
        QTest::newRow("bare") << QVariantMap{} << "Rex"
                              << "";
        QTest::newRow("missing picture file") << QVariantMap{{"pet_picture", "gone.jpg"}} << "Rex"
                                              << "";
        QTest::newRow("birthday left empty") << QVariantMap{{"pet_dob", ""}} << "Rex"
                                             << "";
        QTest::newRow("empty nickname") << QVariantMap{{"pet_nickname", ""}} << "Rex ()"
                                        << "";
    }
    void showAndTellEmpty()
    {
        QFETCH(QVariantMap, pet);
        QFETCH(QString, heading);
        QFETCH(QString, birthday);
        m_request.petID = addPet(QStringLiteral("Rex"), pet);
        rptPetShowAndTell r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(textsOf(doc, {"Field1"}), QStringList{heading});
        QVERIFY(!item(doc, "picPicture"));
        QCOMPARE(textsOf(doc, {"Field3"}), QStringList{birthday});
        QCOMPARE(textsOf(doc, {"fldDOB"}), QStringList{QString()});
        QVERIFY(!item(doc, "RichEdit1") && !item(doc, "RichEdit3"));
        QCOMPARE(textsOf(doc, {"Text10", "Text8", "Text12"}), (QStringList{"Notes:", "Care:", "Feeding:"}));
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    }

    // A tall picture is as high as the box, a wide one as wide (the other
    // side to within a dot at print resolution).
    void showAndTellPictureFit_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("tall") << 200 << 800 << 561 << 2243;
        QTest::newRow("wide") << 1000 << 100 << 4779 << 478;
    }
    void showAndTellPictureFit()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, width);
        QFETCH(int, height);
        m_request.petID = addPet(QStringLiteral("Rex"), {{"pet_picture", savePicture("p.png", w, h)}});
        rptPetShowAndTell r(m_request);
        QVERIFY(r.run());
        const report::Item *pic = item(r.document(), "picPicture");
        QVERIFY(pic);
        QVERIFY2(qAbs(pic->rect.width() - width) <= 5 && qAbs(pic->rect.height() - height) <= 5,
                 qPrintable(QStringLiteral("%1 x %2").arg(pic->rect.width()).arg(pic->rect.height())));
    }

    // The two questions, in order, with their titles and defaults, asked
    // once; what they give on the poster and on its strips.
    void missingQuestions_data()
    {
        QTest::addColumn<QVariant>("phone");
        QTest::addColumn<QVariant>("date");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("since");
        QTest::addColumn<QString>("strip");
        QTest::newRow("answered") << QVariant("555-0101") << QVariant("May 1") << "If found, please call 555-0101"
                                  << "Missing Since: May 1"
                                  << "Missing Dog 555-0101";
        QTest::newRow("both cancelled") << QVariant() << QVariant() << "If found, please call 555-9999"
                                        << ""
                                        << "Missing Dog ";
        QTest::newRow("date typed as text") << QVariant("12") << QVariant("last Tuesday") << "If found, please call 12"
                                            << "Missing Since: last Tuesday"
                                            << "Missing Dog 12";
    }
    void missingQuestions()
    {
        QFETCH(QVariant, phone);
        QFETCH(QVariant, date);
        QFETCH(QString, call);
        QFETCH(QString, since);
        QFETCH(QString, strip);
        const long rex = addPet(QStringLiteral("Rex"), {{"pet_nickname", "Rexie"},
                                                        {"pet_breed", "Boxer"},
                                                        {"pet_color", "Brown"},
                                                        {"pet_gender", "Male"},
                                                        {"pet_height_length", "60 cm"},
                                                        {"pet_weight", "30 kg"}});
        setEmergencyPhone(rex, QStringLiteral("555-9999"));
        m_request.petID = rex;
        m_pf->dialogs().queue(phone);
        m_pf->dialogs().queue(date);
        rptPetMissing r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        const auto &shown = m_pf->dialogs().shown();
        QCOMPARE(shown.size(), size_t(2));
        QCOMPARE(shown[0].kind, ui::ScriptedDialogs::Input);
        QCOMPARE(shown[0].text, QStringLiteral("Please enter the number to call when pet is found:"));
        QCOMPARE(shown[0].title, QStringLiteral("Contact Info"));
        QCOMPARE(shown[0].defaultText, QStringLiteral("555-9999"));
        QCOMPARE(shown[1].text, QStringLiteral("Please enter the date the pet became lost or missing:"));
        QCOMPARE(shown[1].title, QStringLiteral("Lost / Missing Date"));
        QCOMPARE(shown[1].defaultText, vbFormatLongDate(QDate(2024, 5, 17)));
        QCOMPARE(textsOf(doc, {"txtMissing1"}), QStringList{"Missing"});
        QCOMPARE(textsOf(doc, {"Field1"}), QStringList{"My name is \"Rex\""});
        QCOMPARE(textsOf(doc, {"Field22"}), QStringList{call});
        QCOMPARE(textsOf(doc, {"Field23"}), QStringList{since});
        QCOMPARE(textsOf(doc, {"Text1", "Field9", "Text6", "Field3", "Text7", "Field4", "Text16", "Field6", "Text14",
                               "Field7", "Text15", "Field5"}),
                 (QStringList{"Nickname:", "Rexie", "Breed:", "Boxer", "Color:", "Brown", "Weight:", "30 kg",
                              "Gender:", "Male", "Ht / Len:", "60 cm"}));
        QCOMPARE(textsOf(doc, {"fldFooterDate"}), QStringList{vbFormatLongDate(QDate(2024, 5, 17))});
        const report::Item *product = item(doc, "Label13");
        QVERIFY(product && product->text.startsWith(funGetAppTitle() + " (") && !product->href.isEmpty());
        // Twelve strips with one text, upright, side by side across the
        // bottom of the page, each once.
        QCOMPARE(textsOf(doc, stripNames()), QStringList(rptPetMissing::kStrips, strip));
        int left = 720 + 90;
        for (const QString &n : stripNames()) {
            const report::Item *s = item(doc, n);
            QCOMPARE(s->angle, 900);
            QCOMPARE(s->rect.left(), left);
            QCOMPARE(s->rect.height(), 2700);
            QCOMPARE(s->rect.bottom() + 1, doc.size.height() - 720 - 105);
            left += n == QLatin1String("Label9") ? 900 : 810;
        }
        QVERIFY(!item(doc, "picPicture"));
        keepPicture(doc, QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'));
    }

    // The strip text from the species: its name, none (no species, one the
    // system file does not know): the number alone.
    void missingSpecies_data()
    {
        QTest::addColumn<QVariant>("species");
        QTest::addColumn<QString>("strip");
        QTest::newRow("cat") << QVariant(2) << "Missing Cat 555";
        QTest::newRow("no species") << QVariant() << "555";
        QTest::newRow("unknown species") << QVariant(99) << "555";
    }
    void missingSpecies()
    {
        QFETCH(QVariant, species);
        QFETCH(QString, strip);
        m_request.petID = addPet(QStringLiteral("Tom"), {{"pet_species_id", species}});
        m_pf->dialogs().queue(QStringLiteral("555"));
        m_pf->dialogs().queue(QStringLiteral("today"));
        rptPetMissing r(m_request);
        QVERIFY(r.run());
        QCOMPARE(textsOf(r.document(), stripNames()), QStringList(rptPetMissing::kStrips, strip));
    }

    // On paper too small for one page the poster runs to two: each page's
    // strips read the same, once, and the questions are asked once a run.
    void missingTwoPages()
    {
        m_request.petID = addPet(QStringLiteral("Rex"));
        m_pf->dialogs().queue(QStringLiteral("555"));
        m_pf->dialogs().queue(QStringLiteral("May 1"));
        rptPetMissing r(m_request);
        r.pageSetup.paper = QPageSize(QPageSize::A5);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QVERIFY(doc.pageCount() >= 2);
        for (int p = 0; p < doc.pageCount(); ++p)
            QCOMPARE(textsOf(doc, stripNames(), p),
                     QStringList(rptPetMissing::kStrips, QStringLiteral("Missing Dog 555")));
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Input), 2);
        // A second run asks anew and reads the pet anew.
        gDataDB->execute(QStringLiteral("UPDATE tbl_pet SET pet_species_id = 2"));
        m_pf->dialogs().queue(QStringLiteral("777"));
        m_pf->dialogs().queue(QString());
        QVERIFY(r.run());
        QCOMPARE(textsOf(r.document(), stripNames(), 0),
                 QStringList(rptPetMissing::kStrips, QStringLiteral("Missing Cat 777")));
    }

    // The picture in the box: a wide one as wide as the box at its left, a
    // tall one centred at most 5000 high; a file that is missing shows none.
    void missingPicture_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("wide") << 1600 << 400 << 0 << 9971 << 2493;
        QTest::newRow("tall") << 400 << 800 << 3736 << 2500 << 5000;
        QTest::newRow("missing file") << 0 << 0 << 0 << 0 << 0;
    }
    void missingPicture()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, left);
        QFETCH(int, width);
        QFETCH(int, height);
        m_request.petID = addPet(QStringLiteral("Rex"), {{"pet_picture", w ? savePicture("p.png", w, h) : "gone.png"}});
        rptPetMissing r(m_request);
        QVERIFY(r.run());
        const report::Item *pic = item(r.document(), "picPicture");
        QCOMPARE(textsOf(r.document(), {"Field1"}), QStringList{"My name is \"Rex\""});
        if (!w) {
            QVERIFY(!pic);
            return;
        }
        QVERIFY(pic);
        QVERIFY(qAbs(pic->rect.left() - 720 - left) <= 1);
        QVERIFY(qAbs(pic->rect.width() - width) <= 1);
        QVERIFY(qAbs(pic->rect.height() - height) <= 2);
        QCOMPARE(pic->rect.top(), 720 + 1905 + 60);
    }

    // From the program: the pet panel opens each for its pet; the poster
    // asks its questions before the viewer shows; for a pet without a row
    // the poster says so and asks nothing.
    void opens_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("show and tell") << 5 << "Show & Tell Paper"
                                       << "Field1"
                                       << "Rex";
        QTest::newRow("missing") << 8 << "Missing Pet Poster"
                                 << "Field22"
                                 << "If found, please call 555";
    }
    void opens()
    {
        QFETCH(int, id);
        QFETCH(QString, title);
        QFETCH(QString, control);
        QFETCH(QString, text);
        const long rex = addPet(QStringLiteral("Rex"));
        m_pf->dialogs().queue(QStringLiteral("555"));
        m_pf->dialogs().queue(QStringLiteral("May 1"));
        QVERIFY(report_handler::funReportHandler(gMain, ActionOpenReport, id, rex, false));
        frm_report *viewer = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *v = qobject_cast<frm_report *>(w))
                viewer = v;
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), title);
        QCOMPARE(viewer->pageCount(), 1);
        QCOMPARE(textsOf(viewer->document(), {control}), QStringList{text});
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Input), id == 8 ? 2 : 0);
        QVERIFY(!QApplication::overrideCursor());
    }
    void missingWithoutPet()
    {
        QVERIFY(report_handler::funReportHandler(gMain, ActionOpenReport, 8, 4242, false));
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<frm_report *>(w));
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Input), 0);
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
        QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text,
                 QStringLiteral("There is no information to show."));
    }

private:
    // What the printout under test is opened for.
    PrintoutRequest m_request;
    std::unique_ptr<ProgramFolder> m_pf;
};

ZORBI_TEST_MAIN(TestPetPaperAndMissing)
#include "tst_pet_paper_and_missing.moc"
