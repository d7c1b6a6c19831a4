// The address book listing, the photo album and the picture poster on real
// runs over a real data file, checked on the page model: the letter headings
// (without regard to case), each person's own links, two columns, the empty
// address book; the album's rows with files only, four to a page, each
// description under its own picture, a missing file hiding only its picture;
// the poster's picture and the description as wide as it; pictures kept as
// files and decoded no larger than they print; and each opened from the
// program as the address book, the gallery and the picture window open them.

#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "platform/clock.h"
#include "platform/report/page_model.h"
#include "printouts/frm_report.h"
#include "printouts/report_handler.h"
#include "printouts/rpt_address_book.h"
#include "printouts/rpt_picture_album.h"
#include "picture_samples.h"
#include "printouts/rpt_picture_poster.h"
#include "printout_support.h"
#include "test_support.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

using testsupport::ProgramFolder;
using namespace printouts;

namespace {

long addPerson(const QVariant &name, const QVariant &www = {}, const QVariant &email = {})
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_contact (contact_name, contact_www, contact_email, contact_city, "
                                    "contact_state, contact_zip, contact_ph_1) VALUES (?, ?, ?, 'Springfield', 'IL', "
                                    "'62704', '555-0100')"),
                     {name, www, email});
    return long(gDataDB->lastInsertId().toLongLong());
}

long addPicture(const QString &title, const QVariant &file, const QString &date, const QString &description = {})
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name, pet_species_id) SELECT 'Rex', 1 "
                                    "WHERE NOT EXISTS (SELECT 1 FROM tbl_pet)"));
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_picture (picture_pet_id, picture_title, picture_filename, "
                                    "picture_date, picture_description) SELECT min(pet_id), ?, ?, ?, ? FROM tbl_pet"),
                     {title, file, date, description});
    return long(gDataDB->lastInsertId().toLongLong());
}

// A photo of `w` x `h` pixels at 96 dpi in the pictures folder; `noisy`
// gives it a camera's detail, which compresses poorly.
void writePhoto(const QString &name, int w, int h, bool noisy = false)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(30, 120, 40));
    if (noisy) {
        QRandomGenerator rng(7);
        for (int y = 0; y < h; ++y) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < w; ++x)
                line[x] = 0xff000000u | (rng.generate() & 0xffffffu);
        }
    }
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    QVERIFY(img.save(gPicturePath + name, "JPEG", 90));
}

QList<const report::Item *> itemsNamed(const report::Document &doc, const QString &name, int page = -1)
{
    QList<const report::Item *> out;
    for (int p = 0; p < doc.pageCount(); ++p)
        if (page < 0 || p == page)
            for (const report::Item &it : doc.pages[size_t(p)].items)
                if (it.name == name)
                    out << &it;
    return out;
}

QStringList textsOf(const report::Document &doc, const QString &name, int page = -1)
{
    QStringList out;
    for (const report::Item *it : itemsNamed(doc, name, page))
        out << it->text;
    return out;
}

frm_report *openViewer()
{
    const QList<frm_report *> open = testsupport::openViewers();
    return open.isEmpty() ? nullptr : open.last();
}

} // namespace

class TestListings : public QObject {
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

    // The names in name order whatever their case, one heading a letter as a
    // capital; a person without a name stands under a blank heading.
    void addressBookLetters_data()
    {
        QTest::addColumn<QVariantList>("names");
        QTest::addColumn<QStringList>("letters");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("case mixed") << QVariantList{"Bob", "alice", "Anna", "Adam"} << QStringList{"A", "B"}
                                    << QStringList{"Adam", "alice", "Anna", "Bob"};
        QTest::newRow("small letters only")
            << QVariantList{"zed", "Zoe", "yann"} << QStringList{"Y", "Z"} << QStringList{"yann", "zed", "Zoe"};
        QTest::newRow("no name") << QVariantList{"Cleo", QVariant(), " "} << QStringList{"", "C"}
                                 << QStringList{"", " ", "Cleo"};
        // The data file folds only A to Z when it sorts; the heading is a capital all the same.
        QTest::newRow("letter beyond A to Z")
            << QVariantList{"émile", "Zed"} << QStringList{"Z", "É"} << QStringList{"Zed", "émile"};
    }
    void addressBookLetters()
    {
        QFETCH(QVariantList, names);
        QFETCH(QStringList, letters);
        QFETCH(QStringList, order);
        for (const QVariant &n : names)
            addPerson(n);
        m_request.reportName = QStringLiteral("Address Book Listing");
        rptAddressBook r(m_request);
        QVERIFY(r.run());
        QCOMPARE(textsOf(r.document(), "lblLetter"), letters);
        QStringList printed = textsOf(r.document(), "Field1");
        QCOMPARE(printed, order);
        QCOMPARE(textsOf(r.document(), "txtReportTitle"), QStringList{"Zorbi Address Book Listing"});
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    }

    // Each person's own links, or none: never the person's before.
    void addressBookLinks()
    {
        struct Person {
            const char *name;
            QVariant www, email;
            const char *site, *mail;
        };
        const QList<Person> people{
            {"A1", "example.com", "ann@example.com", "http://example.com", "mailto:ann@example.com"},
            {"A2", QVariant(), QVariant(), "", ""},
            {"A3", "http://x.org", "", "http://x.org", ""},
            {"A4", "HTTPS://secure.example", "   ", "HTTPS://secure.example", ""},
            {"A5", "  ", "mailto:bob@example.com", "", "mailto:bob@example.com"},
            {"A6", " www.site.net ", " cy@example.com ", "http://www.site.net", "mailto:cy@example.com"},
            {"A7", QVariant(), QVariant(), "", ""},
        };
        for (const Person &p : people)
            addPerson(QString::fromLatin1(p.name), p.www, p.email);
        rptAddressBook r(m_request);
        QVERIFY(r.run());
        const auto sites = itemsNamed(r.document(), "Field8"), mails = itemsNamed(r.document(), "Field7");
        QCOMPARE(sites.size(), people.size());
        QCOMPARE(mails.size(), people.size());
        for (int i = 0; i < people.size(); ++i) {
            QCOMPARE(sites[i]->href, QString::fromLatin1(people[i].site));
            QCOMPARE(mails[i]->href, QString::fromLatin1(people[i].mail));
        }
        // The text prints as stored.
        QCOMPARE(sites[2]->text, QStringLiteral("http://x.org"));
    }

    // Three people: two side by side, the third under the first; the letter
    // heading runs across the page above them; every page says "Page n of m".
    void addressBookColumns()
    {
        for (const char *n : {"Al", "Amy", "Ann"})
            addPerson(QString::fromLatin1(n));
        rptAddressBook r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        const auto names = itemsNamed(doc, "Field1");
        QCOMPARE(names.size(), 3);
        QCOMPARE(names[0]->rect.top(), names[1]->rect.top());
        QVERIFY(names[1]->rect.left() >= names[0]->rect.left() + 4800);
        QCOMPARE(names[2]->rect.left(), names[0]->rect.left());
        QCOMPARE(names[2]->rect.top(), names[0]->rect.top() + 2198);
        const auto letter = itemsNamed(doc, "lblLetter");
        QCOMPARE(letter.size(), 1);
        QVERIFY(letter[0]->rect.bottom() < names[0]->rect.top());
        QCOMPARE(doc.texts(0).filter("Page").size(), 1);
        QVERIFY(doc.texts(0).contains("1"));
    }

    // Many people: names in order over pages, each page with its own number,
    // and a letter that continues on the next page gets no second heading.
    void addressBookPages()
    {
        for (int i = 0; i < 30; ++i)
            addPerson(QStringLiteral("%1 %2").arg(i < 20 ? "Bea" : "Carl").arg(i, 2, 10, QLatin1Char('0')));
        rptAddressBook r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QVERIFY(doc.pageCount() >= 2);
        QCOMPARE(textsOf(doc, "lblLetter"), (QStringList{"B", "C"}));
        QCOMPARE(textsOf(doc, "Field1").size(), 30);
        for (int p = 0; p < doc.pageCount(); ++p)
            QVERIFY(itemsNamed(doc, "Field1", p).size() <= 12);
    }

    void addressBookEmpty()
    {
        rptAddressBook r(m_request);
        QVERIFY(!r.run());
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
        QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text,
                 QStringLiteral("There is no information to show."));
    }

    // Only the pictures with a file name, by date; four to a page in two
    // columns; each description 20 twips under its own picture; a missing
    // file hides only that picture, its description back at its place.
    void album()
    {
        writePhoto("wide.jpg", 1600, 1200);
        writePhoto("tall.jpg", 600, 1200);
        writePhoto("small.jpg", 120, 90);
        addPicture("No file", "", "2020-01-01");
        addPicture("Null file", QVariant(), "2020-01-02");
        addPicture("Wide", "wide.jpg", "2021-03-01", "A wide one");
        addPicture("Gone", "gone.jpg", "2021-04-01", "Its file is gone");
        addPicture("Tall", "tall.jpg", "2021-05-01", "A tall one");
        addPicture("Small", "small.jpg", "2021-06-01", "A small one");
        addPicture("Wide again", "wide.jpg", "2022-01-01", "Second page");
        m_request.reportName = QStringLiteral("Photo Album");
        rptPictureAlbum r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 2);
        QCOMPARE(textsOf(doc, "Field1", 0), (QStringList{"Wide", "Gone", "Tall", "Small"}));
        QCOMPARE(textsOf(doc, "Field1", 1), QStringList{"Wide again"});
        QCOMPARE(textsOf(doc, "Field5", 0), QStringList{"Photo Album"});
        QCOMPARE(textsOf(doc, "Field4", 0), QStringList(4, "Rex"));
        QCOMPARE(textsOf(doc, "Field3", 0), (QStringList{"2021-03-01", "2021-04-01", "2021-05-01", "2021-06-01"}));
        // Two by two: across, then down.
        const auto titles = itemsNamed(doc, "Field1", 0);
        QCOMPARE(titles[0]->rect.top(), titles[1]->rect.top());
        QVERIFY(titles[1]->rect.left() >= titles[0]->rect.left() + 4500);
        QCOMPARE(titles[2]->rect.top(), titles[0]->rect.top() + 5910);
        QCOMPARE(titles[2]->rect.left(), titles[0]->rect.left());
        // Three pictures on the first page: the missing one left out.
        const auto pictures = itemsNamed(doc, "picPicture", 0);
        QCOMPARE(pictures.size(), 3);
        const auto descriptions = itemsNamed(doc, "Field2", 0);
        const QList<int> withPicture{0, 2, 3};
        for (int i = 0; i < 3; ++i) {
            const report::Item *pic = pictures[i];
            const report::Item *desc = descriptions[withPicture[i]];
            QCOMPARE(desc->rect.top(), pic->rect.top() + pic->rect.height() + 20);
            QCOMPARE(pic->rect.top(), titles[withPicture[i]]->rect.top() + 720);
            // Kept as its file, not as a bitmap.
            QVERIFY(pic->image.isNull());
            QVERIFY(QFileInfo(pic->imageFile).isFile());
        }
        QCOMPARE(descriptions[1]->rect.top(), titles[1]->rect.top() + rptPictureAlbum::kDescriptionTop);
        // Wide: 4500 wide; tall: 4500 high, centred; small: its own size (its
        // hundredths of a millimetre, by the fitting rule of every printout).
        QCOMPARE(pictures[0]->rect.size(), QSize(4500, 3375));
        QCOMPARE(pictures[1]->rect.size(), QSize(2250, 4500));
        QCOMPARE(pictures[1]->rect.left(), titles[2]->rect.left() + 1125);
        QCOMPARE(pictures[2]->rect.size(), QSize(3175, 2382));
        // The header fits between the margins.
        const auto header = itemsNamed(doc, "Field5", 0);
        QVERIFY(header[0]->rect.right() < doc.size.width() - r.pageSetup.margins.right());
    }

    void albumEmpty()
    {
        addPicture("No file", "", "2020-01-01");
        rptPictureAlbum r(m_request);
        QVERIFY(!r.run());
        QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text,
                 QStringLiteral("There is no information to show."));
    }

    // A narrow, tall picture: 11500 twips high, centred, its description
    // exactly under it; with no file, the title and description alone.
    void poster_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QRect>("picture"); // page coordinates; empty: none
        QTest::newRow("narrow and tall") << "narrow.jpg" << QRect(720 + 3577, 720 + 915 + 39, 2875, 11500);
        QTest::newRow("no file") << "" << QRect();
        QTest::newRow("file missing") << "gone.jpg" << QRect();
    }
    void poster()
    {
        QFETCH(QString, file);
        QFETCH(QRect, picture);
        writePhoto("narrow.jpg", 300, 1200);
        addPicture("Other", "narrow.jpg", "2020-01-01", "Not this one");
        m_request.petID = addPicture("Tall Rex", file, "2021-01-01", "Rex stands up");
        m_request.reportName = QStringLiteral("Picture Print");
        rptPicturePoster r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(textsOf(doc, "Field1"), QStringList{"Tall Rex"});
        QCOMPARE(textsOf(doc, "Field2"), QStringList{"Rex stands up"});
        const auto pics = itemsNamed(doc, "picPicture");
        const report::Item *desc = itemsNamed(doc, "Field2").value(0);
        if (picture.isEmpty()) {
            QVERIFY(pics.isEmpty());
            QCOMPARE(desc->rect.left(), 720 + 39);
            QCOMPARE(desc->rect.width(), 9950);
        } else {
            QCOMPARE(pics.size(), 1);
            QCOMPARE(pics[0]->rect, picture);
            QCOMPARE(desc->rect.left(), picture.left());
            QCOMPARE(desc->rect.width(), picture.width());
            QVERIFY(desc->rect.top() > picture.bottom());
        }
        QVERIFY(itemsNamed(doc, "Field1")[0]->rect.right() < doc.size.width() - r.pageSetup.margins.right());
        QCOMPARE(textsOf(doc, "lblReportName"), QStringList{"Picture Print"});
        // Kept beside the test, for a person to look at.
        report::renderPage(doc, 0, 0.06)
            .save(QCoreApplication::applicationDirPath()
                  + QStringLiteral("/picture_poster_%1.png").arg(QTest::currentDataTag()).replace(' ', '_'));
    }

    // A metafile or PCX picture prints on the poster, on the page and in the PDF.
    void posterOfOtherFormats_data()
    {
        QTest::addColumn<QString>("extension");
        for (const char *extension : {"pcx", "wmf", "emf"})
            QTest::newRow(extension) << extension;
    }
    void posterOfOtherFormats()
    {
        QFETCH(QString, extension);
        QVERIFY(picture_samples::write(gPicturePath + "drawing." + extension,
                                       picture_samples::sample(extension, 400, 200)));
        m_request.petID = addPicture("Drawing", "drawing." + extension, "2021-01-01", "Red and blue");
        m_request.reportName = QStringLiteral("Picture Print");
        rptPicturePoster r(m_request);
        QVERIFY(r.run());
        const report::Document &doc = r.document();
        const auto pics = itemsNamed(doc, "picPicture");
        QCOMPARE(pics.size(), 1);
        // Twice as wide as high, as the picture is.
        QVERIFY(qAbs(pics[0]->rect.width() - 2 * pics[0]->rect.height()) <= 2);
        const double scale = 0.06;
        const QImage page = report::renderPage(doc, 0, scale);
        const QRectF box(pics[0]->rect.left() * scale, pics[0]->rect.top() * scale, pics[0]->rect.width() * scale,
                         pics[0]->rect.height() * scale);
        const QColor left = page.pixelColor(box.left() + box.width() / 4, box.center().y());
        const QColor right = page.pixelColor(box.left() + box.width() * 3 / 4, box.center().y());
        QVERIFY2(left.red() > 200 && left.blue() < 60, qPrintable(left.name()));
        QVERIFY2(right.blue() > 200 && right.red() < 60, qPrintable(right.name()));
        const QString pdf = m_pf->file("poster.pdf");
        QVERIFY(report::exportPdf(doc, pdf));
        QVERIFY(QFileInfo(pdf).size() > 1000);
    }

    // Pictures decode when printed, at the size they print: the page shows
    // the photo, and the PDF holds no whole camera bitmaps.
    void picturesPrintAtTheirSize()
    {
        for (int i = 0; i < 4; ++i) {
            writePhoto(QStringLiteral("p%1.jpg").arg(i), 1600, 1200, true);
            addPicture(QStringLiteral("P%1").arg(i), QStringLiteral("p%1.jpg").arg(i), "2021-01-01");
        }
        rptPictureAlbum r(m_request);
        QVERIFY(r.run());
        QCOMPARE(r.document().pageCount(), 1);
        const QString pdf = m_pf->file("album.pdf");
        QVERIFY(report::exportPdf(r.document(), pdf));
        // One 1600 x 1200 photo of this detail alone weighs more than 1.5 MB
        // as a JPEG; at 150 dpi in its 3.1-inch box it is a tenth of that.
        const qint64 whole = QFileInfo(gPicturePath + "p0.jpg").size();
        QVERIFY2(QFileInfo(pdf).size() < whole, qPrintable(QString::number(QFileInfo(pdf).size())));
        // Painted on screen, the picture is there (its noise is no flat fill).
        const report::Item *pic = itemsNamed(r.document(), "picPicture").value(0);
        QVERIFY(pic);
        const double scale = 0.1;
        const QImage page = report::renderPage(r.document(), 0, scale);
        const QPoint a = (pic->rect.center() * scale), b = a + QPoint(3, 2);
        QVERIFY(page.pixel(a) != page.pixel(b));
        QVERIFY(page.pixel(a) != qRgb(255, 255, 255));
    }

    // As the address book, the gallery and the picture window open them.
    void opens_data()
    {
        QTest::addColumn<int>("reportID");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("address book") << 2 << "Address Book Listing"
                                      << "Field1" << QStringList{"Ann", "Bob"};
        QTest::newRow("photo album") << 12 << "Photo Album"
                                     << "Field1" << QStringList{"First", "Second"};
        QTest::newRow("picture print") << 11 << "Picture Print"
                                       << "Field1" << QStringList{"Second"};
    }
    void opens()
    {
        QFETCH(int, reportID);
        QFETCH(QString, title);
        QFETCH(QString, field);
        QFETCH(QStringList, texts);
        addPerson("Bob");
        addPerson("Ann");
        writePhoto("one.jpg", 400, 300);
        addPicture("First", "one.jpg", "2021-01-01");
        const long second = addPicture("Second", "one.jpg", "2021-02-01");
        QVERIFY(
            report_handler::funReportHandler(gMain, ActionOpenReport, reportID, reportID == 11 ? second : 0, false));
        frm_report *viewer = openViewer();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), title);
        QCOMPARE(textsOf(viewer->document(), field), texts);
        QVERIFY(!QApplication::overrideCursor());
    }

private:
    // What the printout under test is opened for.
    PrintoutRequest m_request;
    std::unique_ptr<ProgramFolder> m_pf;
};

ZORBI_TEST_MAIN(TestListings)
#include "tst_listings.moc"
