// The report engine on a real data file, checked on the page model: the order
// of the events and band formats (each occurrence formatted once, also when the
// pages are painted, printed and exported), group breaks by column, by a value
// set in code and without a key, the footers seeing the row before, page
// overflow with the page footer at the bottom and "Page n of m", no data,
// cancel, the data control's field look-up, and a PDF with its text and link.

#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/report/report.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace report;

namespace {

const QString kConnect = QStringLiteral("MS Access;PWD=pw");

// A report whose handlers log what runs, in order, and which each test can
// give its own handlers.
class Fixture : public Report {
public:
    QStringList log;
    std::function<void()> onStart, onNoData, onEnd;
    std::function<void(bool)> onFetch;
    std::vector<std::pair<int, QString>> errors;

    Section *gh = nullptr, *gf = nullptr;
    Control *ghName = nullptr, *gfName = nullptr, *detailName = nullptr;

    explicit Fixture(db::Database *d, const QString &source = QStringLiteral("SELECT * FROM tbl_pet ORDER BY pet_id"))
    {
        setName(QStringLiteral("rptFixture"));
        DC.setDatabase(d);
        DC.setRecordSource(source);
        reportHeader()->height = 400;
        reportHeader()->addLabel(QStringLiteral("lblTitle"), {0, 0, 4000, 400}, QStringLiteral("Household"));
        pageHeader()->height = 300;
        pageHeader()->addLabel(QStringLiteral("lblPageHeader"), {0, 0, 4000, 300}, QStringLiteral("Pets"));
        std::tie(gh, gf) = addGroup(QStringLiteral("GroupHeader1"), QStringLiteral("GroupFooter1"));
        gh->setGroupColumn(QStringLiteral("pet_species"));
        gh->height = 300;
        ghName = gh->addField(QStringLiteral("txtSpecies"), {0, 0, 4000, 300}, QStringLiteral("pet_species"));
        gf->height = 300;
        gfName = gf->addField(QStringLiteral("txtLast"), {0, 0, 4000, 300}, QStringLiteral("pet_name"));
        detail()->height = 300;
        detailName = detail()->addField(QStringLiteral("txtName"), {200, 0, 4000, 300}, QStringLiteral("PET_NAME"));
        pageFooter()->height = 300;
        pageFooter()->addLabel(QStringLiteral("lblPage"), {0, 0, 600, 300}, QStringLiteral("Page"));
        pageFooter()->addField(QStringLiteral("Field12"), {600, 0, 400, 300})->summary = Control::PageNumber;
        pageFooter()->addLabel(QStringLiteral("lblOf"), {1000, 0, 400, 300}, QStringLiteral("of"));
        pageFooter()->addField(QStringLiteral("Field13"), {1400, 0, 400, 300})->summary = Control::PageCount;
        for (Section *s : sections()) {
            s->onFormat = [this, s] {
                QString what = s->name;
                if (s == detail())
                    what += QLatin1Char(':') + detailName->text();
                else if (s == gh)
                    what += QLatin1Char(':') + ghName->text();
                else if (s == gf)
                    what += QLatin1Char(':') + gfName->text();
                log << what;
            };
        }
    }

    int count(const QString &prefix) const
    {
        return int(std::count_if(log.begin(), log.end(), [&](const QString &e) { return e.startsWith(prefix); }));
    }

protected:
    void reportStart() override
    {
        log << QStringLiteral("ReportStart");
        if (onStart)
            onStart();
    }
    void fetchData(bool eof) override
    {
        log << (eof ? QStringLiteral("FetchData:eof") : QStringLiteral("FetchData:") + DC.field(QStringLiteral("pet_name")).toString());
        if (onFetch)
            onFetch(eof);
    }
    void noData() override
    {
        log << QStringLiteral("NoData");
        if (onNoData)
            onNoData();
    }
    void error(int number, const QString &text, bool &cancelDisplay) override
    {
        errors.emplace_back(number, text);
        cancelDisplay = true;
    }
    void reportEnd() override
    {
        log << QStringLiteral("ReportEnd");
        if (onEnd)
            onEnd();
    }
};

const Item *findItem(const Document &doc, int page, const QString &name)
{
    for (const Item &it : doc.pages[size_t(page)].items) {
        if (it.name == name)
            return &it;
    }
    return nullptr;
}

QStringList itemTexts(const Document &doc, const QString &name)
{
    QStringList out;
    for (int p = 0; p < doc.pageCount(); ++p) {
        for (const Item &it : doc.pages[size_t(p)].items) {
            if (it.name == name)
                out << it.textFor(p + 1, doc.pageCount());
        }
    }
    return out;
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return QStringLiteral("<no answer from %1>").arg(program);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TstReportEngine : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    std::unique_ptr<db::Database> m_db;

    void setPets(const QList<QStringList> &pets)
    {
        QVERIFY(m_db->execute(QStringLiteral("DELETE FROM tbl_pet")));
        for (const QStringList &p : pets)
            QVERIFY(m_db->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name, pet_species) VALUES (?, ?)"),
                                  {p.at(0), p.at(1)}));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        const QString path = m_tmp.filePath(QStringLiteral("Zorbi.dat"));
        db::DbError e;
        QVERIFY2(db::createDatabaseFile(path, db::kDataFileId, QStringLiteral("pw"),
                                        {QStringLiteral("CREATE TABLE tbl_pet (pet_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                                        "pet_name TEXT, pet_species TEXT)"),
                                         QStringLiteral("CREATE VIEW qry_pet AS SELECT * FROM tbl_pet ORDER BY pet_id")},
                                        &e),
                 qPrintable(e.description));
        m_db = db::Workspace().openDatabase(path, false, false, kConnect, &e);
        QVERIFY2(m_db, qPrintable(e.description));
    }

    void cleanup() { zbclock::reset(); }

    // The whole run in order: fetch k after row k-1's detail, footers with the
    // row before, each band occurrence formatted once; painting, printing and
    // the PDF format nothing again.
    void runOrderAndFormatOnce()
    {
        setPets({{"Tom", "Cat"}, {"Kit", "Cat"}, {"Rex", "Dog"}});
        Fixture r(m_db.get());
        QVERIFY(r.run());
        QCOMPARE(r.document().pageCount(), 1);
        const QStringList expected = {
            "ReportStart", "FetchData:Tom", "ReportHeader", "PageHeader", "GroupHeader1:Cat", "Detail:Tom",
            "FetchData:Kit", "Detail:Kit",
            "FetchData:Rex", "GroupFooter1:Kit", "GroupHeader1:Dog", "Detail:Rex",
            "FetchData:eof", "GroupFooter1:Rex", "ReportFooter", "PageFooter", "ReportEnd"};
        QCOMPARE(r.log, expected);

        const QStringList before = r.log;
        QImage img = renderPage(r.document(), 0, 0.1);
        QVERIFY(!img.isNull());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_tmp.filePath(QStringLiteral("printed.pdf")));
        QVERIFY(paintDocument(printer, r.document()));
        QVERIFY(exportPdf(r.document(), m_tmp.filePath(QStringLiteral("once.pdf"))));
        QCOMPARE(r.log, before);
    }

    // Breaks by a column, by a value code sets in fetchData ("@Initial"), and a
    // key-less inner group that breaks with the outer one; footers carry the
    // previous row's values and the previous group value.
    void groupBreaks_data()
    {
        QTest::addColumn<bool>("byValue");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("footers");
        // The species are Cat, Cat, Dog, Cat.
        QTest::newRow("column") << false << QStringList{"Tom", "Kit", "Rex", "Ash"}
                                << QStringList{"Cat", "Dog", "Cat"} << QStringList{"Cat:Kit", "Dog:Rex", "Cat:Ash"};
        QTest::newRow("code value") << true << QStringList{"Ash", "Abe", "Cy", "Al"}
                                    << QStringList{"A", "C", "A"} << QStringList{"A:Abe", "C:Cy", "A:Al"};
    }
    void groupBreaks()
    {
        QFETCH(bool, byValue);
        QFETCH(QStringList, names);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, footers);
        const QStringList species{"Cat", "Cat", "Dog", "Cat"};
        QList<QStringList> pets;
        for (int i = 0; i < names.size(); ++i)
            pets << QStringList{names[i], species[i]};
        setPets(pets);
        Fixture r(m_db.get());
        auto [inner, innerFooter] = r.addGroup(QStringLiteral("GroupHeader2"), QStringLiteral("GroupFooter2"));
        int innerHeaders = 0, innerFooters = 0;
        inner->onFormat = [&] { ++innerHeaders; };
        innerFooter->onFormat = [&] { ++innerFooters; };
        const QString key = byValue ? QStringLiteral("@Initial") : QStringLiteral("pet_species");
        r.gf->addField(QStringLiteral("txtKey"), {0, 0, 500, 300}, key);
        if (byValue) {
            r.gh->setGroupByValue();
            r.ghName->dataField = key;
            r.onFetch = [&r](bool eof) {
                if (!eof)
                    r.gh->groupValue = r.DC.field(QStringLiteral("pet_name")).toString().left(1);
            };
        }
        QVERIFY(r.run());
        const Document &doc = r.document();
        QCOMPARE(itemTexts(doc, QStringLiteral("txtSpecies")), headers);
        const QStringList keys = itemTexts(doc, QStringLiteral("txtKey"));
        const QStringList last = itemTexts(doc, QStringLiteral("txtLast"));
        QStringList got;
        for (int i = 0; i < keys.size(); ++i)
            got << keys[i] + QLatin1Char(':') + last.value(i);
        QCOMPARE(got, footers);
        QCOMPARE(innerHeaders, 3);
        QCOMPARE(innerFooters, 3);
        QCOMPARE(doc.pageCount(), 1);

        // A group that starts on a page of its own; the first stays on page 1.
        if (byValue)
            return;
        Fixture paged(m_db.get());
        paged.gh->newPageBefore = true;
        QVERIFY(paged.run());
        QCOMPARE(paged.document().pageCount(), 3); // by species: Cat | Dog | Cat
        QVERIFY(findItem(paged.document(), 0, QStringLiteral("txtSpecies")));
    }

    // Rows that overflow: new pages with their page header at the top, no
    // band crossing into the page footer, which sits at the bottom of the
    // printable area, and "Page n of m" once the count is known.
    void pageOverflow()
    {
        QList<QStringList> pets;
        for (int i = 0; i < 40; ++i)
            pets << QStringList{QStringLiteral("Pet %1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("Cat")};
        setPets(pets);
        Fixture r(m_db.get());
        r.detail()->height = 1000;
        r.pageFooter()->addField(QStringLiteral("fldLastOnPage"), {2000, 0, 2000, 300}, QStringLiteral("pet_name"));
        QVERIFY(r.run());
        const Document &doc = r.document();
        const QRect area = r.pageSetup.printableRect();
        QCOMPARE(doc.size, QSize(12240, 15840)); // Letter, portrait
        // 40 rows of 1000 in 15840 - 1440 (margins) - 300 (header) - 300 (footer)
        // - 400 (report header, page 1): 13 a page.
        QCOMPARE(doc.pageCount(), 4);
        QCOMPARE(r.count(QStringLiteral("PageHeader")), 4);
        QCOMPARE(r.count(QStringLiteral("PageFooter")), 4);
        QCOMPARE(r.count(QStringLiteral("Detail")), 40);
        int rows = 0;
        for (int p = 0; p < doc.pageCount(); ++p) {
            QString lastName;
            const Item *header = findItem(doc, p, QStringLiteral("lblPageHeader"));
            QVERIFY(header);
            QCOMPARE(header->rect.top(), p == 0 ? area.top() + 400 : area.top());
            const Item *footer = findItem(doc, p, QStringLiteral("lblPage"));
            QVERIFY(footer);
            QCOMPARE(footer->rect.top() + footer->rect.height(), doc.size.height() - 720);
            for (const Item &it : doc.pages[size_t(p)].items) {
                if (it.name == QLatin1String("txtName")) {
                    ++rows;
                    lastName = it.text;
                    QVERIFY(it.rect.top() + 1000 <= footer->rect.top());
                    QCOMPARE(it.rect.left(), 720 + 200);
                }
            }
            const QString pageLine = QStringList{findItem(doc, p, QStringLiteral("lblPage"))->textFor(p + 1, 4),
                                                 findItem(doc, p, QStringLiteral("Field12"))->textFor(p + 1, 4),
                                                 findItem(doc, p, QStringLiteral("lblOf"))->textFor(p + 1, 4),
                                                 findItem(doc, p, QStringLiteral("Field13"))->textFor(p + 1, 4)}
                                         .join(QLatin1Char(' '));
            QCOMPARE(pageLine, QStringLiteral("Page %1 of 4").arg(p + 1));
            // The page footer shows the page's last row, not the next page's first.
            QCOMPARE(findItem(doc, p, QStringLiteral("fldLastOnPage"))->text, lastName);
            QVERIFY(doc.texts(p).contains(QStringLiteral("%1").arg(p + 1)));
        }
        QCOMPARE(rows, 40);
    }

    // A band grows with a text that needs more room; a landscape page swaps
    // the paper's sides; controls are clipped to the print width.
    void growLandscapeAndClip()
    {
        setPets({{QStringLiteral("word ").repeated(60), "Cat"}});
        Fixture r(m_db.get());
        r.detailName->canGrow = true;
        r.detailName->width = 2000;
        r.pageSetup.orientation = QPageLayout::Landscape;
        r.pageSetup.setPaper(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}));
        r.pageHeader()->addField(QStringLiteral("fldWide"), {0, 0, 30000, 300});
        QVERIFY(r.run());
        const Document &doc = r.document();
        QCOMPARE(doc.size, QSize(16838, 11906));
        const Item *name = findItem(doc, 0, QStringLiteral("txtName"));
        QVERIFY(name);
        QVERIFY2(name->rect.height() > 1000, qPrintable(QString::number(name->rect.height())));
        const Item *footer = findItem(doc, 0, QStringLiteral("txtLast"));
        QVERIFY(footer->rect.top() >= name->rect.top() + name->rect.height());
        QCOMPARE(findItem(doc, 0, QStringLiteral("fldWide"))->rect.right() + 1, 16838 - 720);
    }

    // No rows: NoData; a cancel there gives no pages (error 5007, which the
    // designers pass over); without it the report header and the key-less
    // group show once, as an empty sub-report does.
    void noData_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("shown") << false;
    }
    void noData()
    {
        QFETCH(bool, cancel);
        setPets({});
        Fixture r(m_db.get());
        r.gh->setGroupColumn({}); // key-less
        r.onNoData = [&] {
            if (cancel)
                r.cancel();
        };
        const bool pages = r.run();
        QCOMPARE(pages, !cancel);
        QVERIFY(r.log.contains(QStringLiteral("NoData")));
        QCOMPARE(r.log.last(), QStringLiteral("ReportEnd"));
        QCOMPARE(r.count(QStringLiteral("FetchData")), 0);
        QCOMPARE(r.count(QStringLiteral("Detail")), 0);
        if (cancel) {
            QCOMPARE(r.document().pageCount(), 0);
            QCOMPARE(r.errors.size(), size_t(1));
            QCOMPARE(r.errors[0].first, int(ErrCancelled));
        } else {
            QCOMPARE(r.document().pageCount(), 1);
            QVERIFY(r.document().texts(0).contains(QStringLiteral("Household")));
            QCOMPARE(r.count(QStringLiteral("GroupHeader1")), 1);
            QCOMPARE(r.count(QStringLiteral("GroupFooter1")), 1);
            QVERIFY(r.errors.empty());
        }
    }

    // A cancel from any handler ends the run with no pages and nothing more
    // formatted; reportEnd still runs.
    void cancel_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("report start") << "ReportStart";
        QTest::newRow("fetch of row 2") << "FetchData:Kit";
        QTest::newRow("detail of row 1") << "Detail:Tom";
        QTest::newRow("page footer") << "PageFooter";
    }
    void cancel()
    {
        QFETCH(QString, where);
        setPets({{"Tom", "Cat"}, {"Kit", "Cat"}, {"Rex", "Dog"}});
        Fixture r(m_db.get());
        auto cancelAt = [&] {
            if (r.log.last() == where)
                r.cancel();
        };
        r.onStart = cancelAt;
        r.onFetch = [&](bool) { cancelAt(); };
        r.detail()->onFormat = [&] {
            r.log << QStringLiteral("Detail:") + r.detailName->text();
            cancelAt();
        };
        r.pageFooter()->onFormat = [&] {
            r.log << QStringLiteral("PageFooter");
            cancelAt();
        };
        QVERIFY(!r.run());
        QCOMPARE(r.document().pageCount(), 0);
        QCOMPARE(r.log.at(r.log.size() - 2), where);
        QCOMPARE(r.log.last(), QStringLiteral("ReportEnd"));
    }

    // Fields by name without regard to case; a missing column reads Null in
    // code and prints nothing, with one silent 5800 per control; a view's name
    // is a record source; a bad one is error 5801 and no pages.
    void dataControl()
    {
        setPets({{"Tom", "Cat"}, {"Kit", "Cat"}});
        Fixture r(m_db.get(), QStringLiteral("qry_pet"));
        Control *missing = r.detail()->addField(QStringLiteral("txtMissing"), {0, 0, 500, 300}, QStringLiteral("no_such"));
        missing->value = QStringLiteral("left over");
        Control *hidden = r.detail()->addField(QStringLiteral("fldHidden"), {0, 0, 500, 300}, QStringLiteral("pet_id"));
        hidden->visible = false;
        QStringList hiddenSeen;
        r.detail()->onFormat = [&] { hiddenSeen << hidden->text(); };
        QVariantList seen;
        r.onFetch = [&](bool eof) {
            if (!eof)
                seen << r.DC.field(QStringLiteral("Pet_Species")) << r.DC.field(QStringLiteral("trip_name"));
        };
        QVERIFY(r.run());
        QCOMPARE(itemTexts(r.document(), QStringLiteral("txtName")), (QStringList{"Tom", "Kit"}));
        QCOMPARE(itemTexts(r.document(), QStringLiteral("txtMissing")), (QStringList{"", ""}));
        QCOMPARE(hiddenSeen.size(), 2); // a hidden bound field is read by code, and not printed
        QVERIFY(!hiddenSeen[0].isEmpty() && hiddenSeen[0] != hiddenSeen[1]);
        QVERIFY(itemTexts(r.document(), QStringLiteral("fldHidden")).isEmpty());
        QCOMPARE(seen.size(), 4);
        QCOMPARE(seen[0].toString(), QStringLiteral("Cat"));
        QVERIFY(seen[1].isNull());
        QCOMPARE(r.errors.size(), size_t(1));
        QCOMPARE(r.errors[0].first, int(ErrFieldNotFound));

        Fixture bad(m_db.get(), QStringLiteral("SELECT * FROM tbl_nothing"));
        QVERIFY(!bad.run());
        QCOMPARE(bad.document().pageCount(), 0);
        QCOMPARE(bad.errors.size(), size_t(1));
        QCOMPARE(bad.errors[0].first, int(ErrRecordSource));
        QVERIFY(!bad.log.contains(QStringLiteral("NoData")));
    }

    // Output formats of the engine's own formatter, and "=Now()" from the clock.
    void formats_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const QLocale loc;
        const QDate d(2003, 5, 17);
        QTest::newRow("long date") << QVariant(d) << "Long Date" << loc.toString(d, QLocale::LongFormat);
        QTest::newRow("dddddd of ISO text") << QVariant("2003-05-17") << "dddddd" << loc.toString(d, QLocale::LongFormat);
        QTest::newRow("midnight: date only") << QVariant("2003-05-17 00:00:00") << "ddddd h:nn:ss AMPM"
                                             << loc.toString(d, QLocale::ShortFormat);
        QTest::newRow("with time") << QVariant(QDateTime(d, QTime(14, 5, 9))) << "ddddd h:nn:ss AMPM"
                                   << loc.toString(d, QLocale::ShortFormat) + " 2:05:09 PM";
        QTest::newRow("null") << QVariant() << "Long Date" << "";
        QTest::newRow("text stays") << QVariant("Rex") << "Long Date" << "Rex";
    }
    void formats()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(formatValue(value, format), expected);
    }
    void now()
    {
        zbclock::setNow(QDateTime(QDate(2003, 5, 17), QTime(9, 30)));
        setPets({{"Tom", "Cat"}});
        Fixture r(m_db.get());
        Control *f = r.pageFooter()->addField(QStringLiteral("fldNow"), {2000, 0, 3000, 300}, QStringLiteral("= Now()"));
        f->outputFormat = QStringLiteral("dddddd");
        QVERIFY(r.run());
        QCOMPARE(itemTexts(r.document(), QStringLiteral("fldNow")),
                 QStringList{QLocale().toString(QDate(2003, 5, 17), QLocale::LongFormat)});
    }

    // The PDF: its pages, real text (also of a turned label), a link annotation.
    void pdf()
    {
        QList<QStringList> pets;
        for (int i = 0; i < 30; ++i)
            pets << QStringList{QStringLiteral("Rex%1").arg(i), QStringLiteral("Dog")};
        setPets(pets);
        Fixture r(m_db.get());
        r.detail()->height = 1000;
        Control *link = r.reportHeader()->addLabel(QStringLiteral("lblFooter"), {4200, 0, 4000, 400},
                                                   QStringLiteral("Zorbi 2003 (www.example.org)"));
        link->hyperlink = QStringLiteral("http://www.example.org");
        link->foreColor = QColor(0, 0, 255);
        Control *turned = r.reportHeader()->addLabel(QStringLiteral("lblTurned"), {9000, 0, 300, 3000},
                                                     QStringLiteral("Missing"));
        turned->angle = 900;
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        r.reportHeader()->addPicture(QStringLiteral("Image1"), {0, 400, 1440, 1080})->picture = picture;
        r.reportHeader()->addBox(QStringLiteral("Box1"), {0, 400, 1440, 1080});
        r.reportHeader()->addLine(QStringLiteral("Line1"), 0, 1500, 8000, 1500);
        QVERIFY(r.run());
        QCOMPARE(r.document().pageCount(), 3);
        const QString path = m_tmp.filePath(QStringLiteral("report.pdf"));
        QString why;
        QVERIFY2(exportPdf(r.document(), path, &why), qPrintable(why));
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b"))), qPrintable(info));
        const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        for (const QString &t : {QStringLiteral("Household"), QStringLiteral("Rex0"), QStringLiteral("Rex29"),
                                 QStringLiteral("Zorbi 2003 (www.example.org)"), QStringLiteral("Missing")})
            QVERIFY2(text.contains(t), qPrintable(t + QStringLiteral(" not in:\n") + text));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("Page\\s+3\\s+of\\s+3"))));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("/URI"));
        QVERIFY(bytes.contains("http://www.example.org"));

        // Kept beside the test for a person to look at.
        QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/tst_report_engine.pdf"));
        QFile::copy(path, QCoreApplication::applicationDirPath() + QStringLiteral("/tst_report_engine.pdf"));

        QVERIFY(!exportPdf(r.document(), m_tmp.filePath(QStringLiteral("no such folder/report.pdf")), &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!exportPdf(Document(), m_tmp.filePath(QStringLiteral("empty.pdf"))));
        QVERIFY(!QFile::exists(m_tmp.filePath(QStringLiteral("empty.pdf"))));
    }
};

QTEST_MAIN(TstReportEngine)
#include "tst_report_engine.moc"
