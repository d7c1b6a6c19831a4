// What every printout shares, on the page model of real runs over a real data
// file: the picture fit, the pet's heading and age, a picture never carried
// from one row to the next, no data and its message, the error box and the
// errors that pass silently, the page footer; and the pet poster.

#include "platform/dates.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "platform/clock.h"
#include "printouts/report_frame.h"
#include "printouts/rpt_pet_poster.h"
#include "test_support.h"

#include <QImage>

using testsupport::ProgramFolder;
using namespace printouts;

namespace {

long addPet(const QVariant &name, const QVariant &nickname = {}, const QVariant &picture = {})
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name, pet_nickname, pet_species_id, pet_picture) "
                                    "VALUES (?, ?, 1, ?)"),
                     {name, nickname, picture});
    return long(gDataDB->lastInsertId().toLongLong());
}

// A picture file of `w` x `h` pixels at 96 dpi in the pictures folder.
void writePicture(const QString &name, int w, int h, const char *format = "PNG")
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    QVERIFY(img.save(gPicturePath + name, format));
}

const report::Item *item(const report::Page &page, const QString &name)
{
    for (const report::Item &it : page.items)
        if (it.name == name)
            return &it;
    return nullptr;
}

// Every pet on a page of its own, with its picture fitted as the pet
// printouts fit theirs.
class PetPages : public ReportDesigner {
public:
    static constexpr QRect kBox{5231, 39, 4779, 4071};
    QString source = QStringLiteral("SELECT * FROM qryrptPet ORDER BY pet_id");
    report::Control *name = nullptr, *missing = nullptr, *fldPicture = nullptr, *pic = nullptr;
    int detailFormats = 0;

    explicit PetPages(const PrintoutRequest &request = {}) : ReportDesigner(request)
    {
        setName(QStringLiteral("rptPetPages"));
        detail()->height = 4200;
        detail()->newPageBefore = true;
        name = detail()->addField(QStringLiteral("txtName"), {0, 0, 4000, 300}, QStringLiteral("pet_name"));
        missing =
            detail()->addField(QStringLiteral("txtMissing"), {0, 300, 4000, 300}, QStringLiteral("no_such_column"));
        fldPicture =
            detail()->addField(QStringLiteral("fldPicture"), {0, 600, 100, 100}, QStringLiteral("pet_picture"));
        fldPicture->visible = false;
        pic = detail()->addPicture(QStringLiteral("picPicture"), kBox);
        addPageFooter(true);
        detail()->onFormat = [this] {
            ++detailFormats;
            missingWasNull = missingWasNull && missing->value.isNull();
            petsSeen << QStringLiteral("%1=%2").arg(mPetID).arg(DC.field(QStringLiteral("pet_id")).toLongLong());
            showFittedPicture(pic, fldPicture->text(), kBox);
        };
    }
    bool missingWasNull = true;
    QStringList petsSeen; // the kept pet and the row's, at each detail

protected:
    void reportStart() override
    {
        connectData();
        DC.setRecordSource(source);
    }
};

} // namespace

class TestReportFrame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fit_data();
    void fit();
    void heading_data();
    void heading();
    void ageText();

    void pictureNeverCarriesOver();
    void noData();
    void errors();
    void pageFooter();

    void poster_data();
    void poster();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestReportFrame::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    QCOMPARE(Main(), -1);
    QVERIFY(gDataDB);
    zbclock::setNow(QDateTime(QDate(2024, 5, 17), QTime(10, 0)));
}

void TestReportFrame::cleanup() { m_pf.reset(); }

void TestReportFrame::fit_data()
{
    QTest::addColumn<double>("W");
    QTest::addColumn<double>("H");
    QTest::addColumn<double>("BW");
    QTest::addColumn<double>("BH");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("left"); // less L0
    QTest::newRow("small, wide") << 2000.0 << 1000.0 << 4779.0 << 4071.0 << true << 2000.0 << 1000.0 << 1389.5;
    QTest::newRow("too wide") << 9558.0 << 4000.0 << 4779.0 << 4071.0 << true << 4779.0 << 2000.0 << 0.0;
    QTest::newRow("tall") << 2000.0 << 4000.0 << 4779.0 << 4071.0 << true << 2000.0 << 4000.0 << 1389.5;
    QTest::newRow("far too wide") << 20000.0 << 5000.0 << 9971.0 << 5000.0 << true << 9971.0 << 2492.75 << 0.0;
    QTest::newRow("too tall") << 3000.0 << 24306.0 << 9950.0 << 12153.0 << true << 1500.0 << 12153.0 << 4225.0;
    QTest::newRow("no width") << 0.0 << 1000.0 << 4779.0 << 4071.0 << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("no height") << 1000.0 << 0.0 << 4779.0 << 4071.0 << false << 0.0 << 0.0 << 0.0;
}

void TestReportFrame::fit()
{
    QFETCH(double, W);
    QFETCH(double, H);
    QFETCH(double, BW);
    QFETCH(double, BH);
    const PictureFit f = funFitPicture(W, H, BW, BH, 5231, 39);
    QTEST(f.visible, "visible");
    if (!f.visible)
        return;
    QTEST(f.width, "width");
    QTEST(f.height, "height");
    QFETCH(double, left);
    QCOMPARE(f.left, 5231 + left);
    QCOMPARE(f.top, 39.0);
}

void TestReportFrame::heading_data()
{
    QTest::addColumn<QVariant>("name");
    QTest::addColumn<QVariant>("nickname");
    QTest::addColumn<QString>("heading");
    QTest::newRow("no nickname") << QVariant("Rex") << QVariant() << "Rex";
    QTest::newRow("nickname") << QVariant("Rex") << QVariant("Rexie") << "Rex (Rexie)";
    QTest::newRow("no name") << QVariant() << QVariant("Rexie") << " (Rexie)";
    QTest::newRow("empty nickname") << QVariant("Rex") << QVariant("") << "Rex ()";
}

void TestReportFrame::heading()
{
    QFETCH(QVariant, name);
    QFETCH(QVariant, nickname);
    QTEST(funPetHeading(name, nickname), "heading");
}

void TestReportFrame::ageText()
{
    QCOMPARE(funReportAgeText(QVariant()), QString());
    QCOMPARE(funReportAgeText(QStringLiteral("not a date")), QString());
    QCOMPARE(funReportAgeText(QStringLiteral("2020-05-01")), funAgeText(QStringLiteral("2020-05-01")));
    QVERIFY(!funReportAgeText(QStringLiteral("2020-05-01")).isEmpty());
}

void TestReportFrame::pictureNeverCarriesOver()
{
    writePicture(QStringLiteral("a.png"), 200, 100);
    writePicture(QStringLiteral("c.png"), 100, 300);
    addPet("A", {}, "a.png");
    addPet("B", {}, "missing.png");
    addPet("C", {}, "c.png");
    addPet("D");
    QFile bad(gPicturePath + QStringLiteral("e.png"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    addPet("E", {}, "e.png");
    addPet("F", {}, "a.png");
    PetPages r;
    QVERIFY(r.run());
    const report::Document &doc = r.document();
    QCOMPARE(doc.pageCount(), 6);
    const QList<bool> shown{true, false, true, false, false, true};
    for (int p = 0; p < 6; ++p) {
        QCOMPARE(item(doc.pages[size_t(p)], "txtName")->text, QString(QChar('A' + p)));
        const report::Item *pic = item(doc.pages[size_t(p)], "picPicture");
        QCOMPARE(pic != nullptr, shown[p]);
    }
    // 200 x 100 pixels at 96 dpi are 5291.7 x 2645.8 hundredths of a
    // millimetre, wider than the box: reduced to the box's width.
    const report::Item *a = item(doc.pages[0], "picPicture");
    QCOMPARE(a->rect.width(), 4779);
    QCOMPARE(a->rect.height(), 2390);
    QCOMPARE(a->rect.left(), 720 + 5231);
    QCOMPARE(r.detailFormats, 6);
    QVERIFY(r.missingWasNull);
    // Each row's bands see the pet of their own row, never the next one.
    for (const QString &seen : r.petsSeen)
        QCOMPARE(seen.section('=', 0, 0), seen.section('=', 1, 1));
    QCOMPARE(r.petsSeen.size(), 6);
    // A missing column passes silently.
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

void TestReportFrame::noData()
{
    addPet("A");
    PetPages r;
    r.source = QStringLiteral("SELECT * FROM qryrptPet WHERE pet_id = 4711");
    QVERIFY(!r.run());
    QCOMPARE(r.document().pageCount(), 0);
    QVERIFY(r.isCancelled());
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
    const auto *m = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QCOMPARE(m->text, QStringLiteral("There is no information to show."));
    QCOMPARE(m->icon, int(ui::Information));
    QCOMPARE(m->title, QStringLiteral("Zorbi 2003"));
    QCOMPARE(r.detailFormats, 0);
}

void TestReportFrame::errors()
{
    PetPages r;
    r.source = QStringLiteral("SELECT * FROM no_such_view");
    QVERIFY(!r.run());
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
    const auto *m = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY2(m->text.startsWith(QStringLiteral("Error Number: 5801 ")), qPrintable(m->text));
    QCOMPARE(m->icon, int(ui::Critical));
    QCOMPARE(m->title, QStringLiteral("Zorbi 2003"));
    // The engine's own numbers for a cancel and a missing column say nothing.
    m_pf->dialogs().clear();
    struct Open : PetPages {
        void raise(int n)
        {
            bool c = false;
            error(n, QStringLiteral("x"), c);
            QVERIFY(c);
        }
    } o;
    o.raise(report::ErrCancelled);
    o.raise(report::ErrFieldNotFound);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

void TestReportFrame::pageFooter()
{
    addPet("A");
    addPet("B");
    PrintoutRequest request;
    request.reportName = QStringLiteral("Pet Pages");
    PetPages r(request);
    request.reportName = QStringLiteral("Another printout"); // a later open does not reach this one
    QVERIFY(r.run());
    QCOMPARE(r.document().pageCount(), 2);
    for (int p = 0; p < 2; ++p) {
        const report::Page &page = r.document().pages[size_t(p)];
        QCOMPARE(item(page, "lblReportName")->text, QStringLiteral("Pet Pages"));
        const report::Item *footer = item(page, "lblFooter");
        QCOMPARE(footer->text, QStringLiteral("Zorbi 2003 (") + funGetWebAddress() + QStringLiteral(")"));
        QCOMPARE(footer->href, QStringLiteral("http://") + funGetWebAddress());
        QCOMPARE(item(page, "fldFooterDate")->text, vbFormatLongDate(QDate(2024, 5, 17)));
        QVERIFY(r.document().texts(p).join(' ').contains(QStringLiteral("Page %1 of 2").arg(p + 1)));
        // At the bottom of the printable area.
        QCOMPARE(item(page, "lblFooter")->rect.bottom() + 1, r.pageSetup.printableRect().bottom() + 1);
    }
}

void TestReportFrame::poster_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("w"); // pixels at 96 dpi
    QTest::addColumn<int>("h");
    QTest::addColumn<QRect>("fitted"); // twips in the detail band; empty: no picture
    // 100 x 50 pixels are 2645.8 x 1322.9: their own size, centred.
    QTest::newRow("small") << "s.png" << 100 << 50 << QRect(3691, 39, 2646, 1323);
    // Limited by the width: 9950 across, 3/4 of that down.
    QTest::newRow("wide") << "w.jpg" << 4000 << 3000 << QRect(39, 39, 9950, 7463);
    // Limited by the height: 12153 down.
    QTest::newRow("tall") << "t.png" << 600 << 2000 << QRect(39 + 3152, 39, 3646, 12153);
    QTest::newRow("no file name") << "" << 0 << 0 << QRect();
    QTest::newRow("missing file") << "gone.png" << 0 << 0 << QRect();
}

void TestReportFrame::poster()
{
    QFETCH(QString, file);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QRect, fitted);
    if (w > 0)
        writePicture(file, w, h, file.endsWith(QStringLiteral(".jpg")) ? "JPEG" : "PNG");
    addPet("Other", {}, "x.png");
    PrintoutRequest request;
    request.petID = addPet("Rex", "Rexie", file.isEmpty() ? QVariant() : QVariant(file));
    request.reportName = QStringLiteral("Pet Poster");
    rptPetPoster r(request);
    QVERIFY(r.run());
    QCOMPARE(r.document().pageCount(), 1);
    const report::Page &page = r.document().pages[0];
    QCOMPARE(item(page, "Field1")->text, QStringLiteral("Rex (Rexie)"));
    QVERIFY(item(page, "lblFooter"));
    QVERIFY(!r.document().texts(0).join(' ').contains(QStringLiteral("Page")));
    const report::Item *pic = item(page, "picPicture");
    QCOMPARE(pic != nullptr, !fitted.isEmpty());
    if (pic) {
        const int detailTop = 720 + 915;
        QCOMPARE(pic->rect.translated(-720, -detailTop), fitted);
        // Kept no larger than it prints at the model's resolution.
        QVERIFY(pic->image.width() <= fitted.width() * report::kModelImageDpi / 1440 + 1);
    }
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

ZORBI_TEST_MAIN(TestReportFrame)
#include "tst_report_frame.moc"
