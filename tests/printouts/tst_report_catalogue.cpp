// The printout catalogue: what it holds, and the dispatcher's answer to the
// codes it does not know.

#include "core/frm_controls.h"
#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "printouts/report_handler.h"
#include "test_support.h"

using testsupport::ProgramFolder;

class TestReportCatalogue : public QObject {
    Q_OBJECT
private slots:
    void builtAtStartUp();
    void entries_data();
    void entries();
    void otherCodes();
};

void TestReportCatalogue::builtAtStartUp()
{
    ProgramFolder pf;
    gListBarCargo.push_back({1, 2, "Rex"});
    subInitReports();
    QCOMPARE(gListBarCargo.size(), size_t(1));
    QVERIFY(funReportHandler(nullptr, ActionInitialize));
    const std::vector<report_handler::ReportEntry> &catalogue = report_handler::funReportCatalogue();
    QCOMPARE(catalogue.size(), size_t(13));
    frm_controls store;
    for (size_t i = 0; i < catalogue.size(); ++i) {
        QCOMPARE(catalogue[i].ReportID, int(i + 1));
        QCOMPARE(report_handler::funReportEntry(long(i + 1)), &catalogue[i]);
        QCOMPARE(catalogue[i].ListTag, 13L);
        QVERIFY(store.ctImageMain.hasPicture(2, int(catalogue[i].SmallImage)));
        QVERIFY(store.ctImageMain.hasPicture(2, int(catalogue[i].LargeImage)));
    }
    QCOMPARE(report_handler::funReportEntry(0), nullptr);
    QCOMPARE(report_handler::funReportEntry(14), nullptr);
}

void TestReportCatalogue::entries_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("small");
    QTest::addColumn<int>("large");
    QTest::newRow("1") << 1 << "Pet Sitter Instructions"
                       << "Instructions for your pet sitter or kennel"
                       << "qryrptTrip" << 3 << 1 << 2;
    QTest::newRow("2") << 2 << "Address Book Listing"
                       << "Listing of all people in the address book"
                       << "qryrptContact" << 2 << 15 << 16;
    QTest::newRow("3") << 3 << "Refrigerator Page"
                       << "Refrigerator Posting, for when family or friends are visiting"
                       << "qryrptPet" << 1 << 9 << 10;
    QTest::newRow("4") << 4 << "Pet Poster"
                       << "Poster of your pet"
                       << "qryrptPet" << 1 << 3 << 4;
    QTest::newRow("5") << 5 << "Show & Tell Paper"
                       << "Create a Show & Tell printout for school"
                       << "qryrptPet" << 1 << 7 << 8;
    QTest::newRow("6") << 6 << "Pet Details"
                       << "Pet Details report"
                       << "qryrptPet" << 1 << 13 << 14;
    QTest::newRow("7") << 7 << "Greeting Card"
                       << "Create greeting cards for the birthdays or holidays"
                       << "qryrptPet" << 1 << 11 << 12;
    QTest::newRow("8") << 8 << "Missing Pet Poster"
                       << "Missing Pet Poster if a pet gets lost"
                       << "qryrptPet" << 1 << 19 << 20;
    QTest::newRow("9") << 9 << "Publish Zorbi"
                       << "Create web page of your pet to put on your web site"
                       << "" << 3 << 5 << 6;
    QTest::newRow("10") << 10 << "Print Pet Diary"
                        << "Print or view a list of a pet's diary entries"
                        << "qryrptPet" << 1 << 17 << 18;
    QTest::newRow("11") << 11 << "Picture Print"
                        << "Print picture"
                        << "qryrptPictureAlbum" << 0 << 21 << 22;
    QTest::newRow("12") << 12 << "Photo Album"
                        << "Print photo gallery/album (4 pictures/page)"
                        << "qryrptPictureAlbum" << 2 << 21 << 22;
    QTest::newRow("13") << 13 << "Health Statement"
                        << "Print Pet Health Statement(s)"
                        << "qryrptPet" << 3 << 23 << 24;
}

void TestReportCatalogue::entries()
{
    QFETCH(int, id);
    const report_handler::ReportEntry &e = *report_handler::funReportEntry(id);
    QTEST(e.Name, "name");
    QTEST(e.Description, "description");
    QTEST(e.RecordSource, "source");
    QTEST(int(e.Kind), "kind");
    QTEST(int(e.SmallImage), "small");
    QTEST(int(e.LargeImage), "large");

    // What the printouts list shows of it: the printouts of the whole household
    // (kinds 2 and 3) with their name, description and large picture; a pet's own
    // printouts and the picture print stay out of it.
    ProgramFolder pf;
    QCOMPARE(Main(), -1);
    QVERIFY(report_handler::funReportShow(gMain));
    QFETCH(int, kind);
    QFETCH(int, large);
    VbListItem *item = gMain->ListView_Report->ListItem(QStringLiteral("r%1").arg(id));
    QCOMPARE(item != nullptr, kind == 2 || kind == 3);
    if (item) {
        QTEST(item->text(), "name");
        QTEST(item->SubItems(1), "description");
        const QImage shown = gMain->ListView_Report->Icons()->picture(item->Icon()).pixmap(32).toImage();
        QCOMPARE(shown, gControls->ctImageMain.icon(2, large).pixmap(32).toImage());
    }
}

void TestReportCatalogue::otherCodes()
{
    ProgramFolder pf;
    // A code the printouts do not know answers False and says nothing.
    for (int code : {1, 2, 7, 99})
        QVERIFY(!funReportHandler(nullptr, code, 6, 1, true));
    QCOMPARE(pf.dialogs().shown().size(), size_t(0));
}

ZORBI_TEST_MAIN(TestReportCatalogue)
#include "tst_report_catalogue.moc"
