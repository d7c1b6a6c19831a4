// The report engine on a real data file, checked on the page model: the order
// of the events and band formats (each occurrence formatted once, also when the
// pages are painted, printed and exported), group breaks by column, by a value
// set in code and without a key, the footers seeing the row before, page
// overflow with the page footer at the bottom and "Page n of m", no data,
// cancel, the data control's field look-up, and a PDF with its text and link.

#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/db/database.h"
#include "platform/report/report.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>
#include <cmath>

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
        log << (eof ? QStringLiteral("FetchData:eof")
                    : QStringLiteral("FetchData:") + DC.field(QStringLiteral("pet_name")).toString());
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

// A sub-report of a pet's toys: its title, a hidden empty-list label that
// noData shows (and each run hides again), a row per toy, a closing line.
class ToySub : public Report {
public:
    Control *lblEmpty = nullptr;
    int runs = 0;

    explicit ToySub(db::Database *d)
    {
        setName(QStringLiteral("rptToySub"));
        DC.setDatabase(d);
        reportHeader()->height = 300;
        reportHeader()->addLabel(QStringLiteral("lblToys"), {0, 0, 3000, 300}, QStringLiteral("Toys"));
        auto [gh, gf] = addGroup(QStringLiteral("GroupHeader1"), QStringLiteral("GroupFooter1"));
        gh->height = 0;
        lblEmpty = gh->addLabel(QStringLiteral("lblEmpty"), {0, 0, 3000, 300}, QStringLiteral("[No toys]"));
        lblEmpty->visible = false;
        detail()->height = 300;
        detail()->addField(QStringLiteral("txtToy"), {200, 0, 3000, 300}, QStringLiteral("toy_name"));
        gf->height = 100;
        gf->addLine(QStringLiteral("lnEnd"), 0, 50, 3000, 50);
    }
    void forPet(const QVariant &id)
    {
        DC.setRecordSource(QStringLiteral("SELECT * FROM tbl_toy WHERE toy_pet_id = ? ORDER BY toy_id"), {id});
    }

protected:
    void reportStart() override
    {
        ++runs;
        lblEmpty->visible = false;
    }
    void noData() override { lblEmpty->visible = true; }
};

// The texts of the items named in `names`, page by page, in item order.
QStringList textsOf(const Document &doc, const QStringList &names)
{
    QStringList out;
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const Item &it : doc.pages[size_t(p)].items)
            if (names.contains(it.name))
                out << it.textFor(p + 1, doc.pageCount());
    return out;
}

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

    // Pets by name, each with `toys` toys named "<pet> toy <n>".
    void setPetsWithToys(const QList<QPair<QString, int>> &pets)
    {
        setPets({});
        QVERIFY(m_db->execute(QStringLiteral("DELETE FROM tbl_toy")));
        for (const auto &[name, toys] : pets) {
            QVERIFY(
                m_db->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name, pet_species) VALUES (?, 'Dog')"), {name}));
            const QVariant id = m_db->lastInsertId();
            for (int i = 1; i <= toys; ++i)
                QVERIFY(m_db->execute(QStringLiteral("INSERT INTO tbl_toy (toy_pet_id, toy_name) VALUES (?, ?)"),
                                      {id, QStringLiteral("%1 toy %2").arg(name).arg(i, 3, 10, QLatin1Char('0'))}));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        const QString path = m_tmp.filePath(QStringLiteral("Zorbi.dat"));
        db::DbError e;
        QVERIFY2(
            db::createDatabaseFile(path, db::kDataFileId, QStringLiteral("pw"),
                                   {QStringLiteral("CREATE TABLE tbl_pet (pet_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                                   "pet_name TEXT, pet_species TEXT, pet_notes_rtf TEXT)"),
                                    QStringLiteral("CREATE VIEW qry_pet AS SELECT * FROM tbl_pet ORDER BY pet_id"),
                                    QStringLiteral("CREATE TABLE tbl_toy (toy_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                                   "toy_pet_id INTEGER, toy_name TEXT)")},
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
            "ReportStart",   "FetchData:Tom",    "ReportHeader",  "PageHeader",       "GroupHeader1:Cat", "Detail:Tom",
            "FetchData:Kit", "Detail:Kit",       "FetchData:Rex", "GroupFooter1:Kit", "GroupHeader1:Dog", "Detail:Rex",
            "FetchData:eof", "GroupFooter1:Rex", "ReportFooter",  "PageFooter",       "ReportEnd"};
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
    // A group header is never the last thing of a page: where the first row
    // it heads does not fit under it, both go on to the next page. Rows of
    // several heights bring the header to every place near the foot.
    void groupHeaderKeptWithItsRow_data()
    {
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("columns");
        for (int columns : {1, 2})
            for (int h : {300, 330, 370, 410, 450, 500, 560, 620})
                QTest::addRow("rows of %d twips in %d columns", h, columns) << h << columns;
    }
    void groupHeaderKeptWithItsRow()
    {
        QFETCH(int, rowHeight);
        QFETCH(int, columns);
        const QStringList species{"Bird", "Cat", "Dog", "Fish", "Horse"};
        QList<QStringList> pets;
        for (int i = 0; i < 90; ++i)
            pets << QStringList{QStringLiteral("Pet %1").arg(i), species[(i / 3) % species.size()]};
        setPets(pets);
        Fixture r(m_db.get());
        r.detail()->height = rowHeight;
        r.detail()->columnCount = columns;
        r.detailName->height = rowHeight;
        QVERIFY(r.run());
        const Document &doc = r.document();
        QVERIFY(doc.pageCount() > 1);
        int headers = 0;
        for (int p = 0; p < doc.pageCount(); ++p) {
            bool headerOpen = false;
            for (const Item &it : doc.pages[size_t(p)].items) {
                if (it.name == QLatin1String("txtSpecies")) {
                    headerOpen = true;
                    ++headers;
                } else if (it.name == QLatin1String("txtName")) {
                    headerOpen = false;
                }
            }
            QVERIFY2(!headerOpen, qPrintable(QStringLiteral("a group header alone at the foot of page %1").arg(p + 1)));
        }
        QCOMPARE(headers, 30);
        // Nothing lost or doubled: every row once, in order.
        QStringList names;
        for (int i = 0; i < 90; ++i)
            names << QStringLiteral("Pet %1").arg(i);
        QCOMPARE(itemTexts(doc, QStringLiteral("txtName")), names);
    }

    void groupBreaks_data()
    {
        QTest::addColumn<bool>("byValue");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("footers");
        // The species are Cat, Cat, Dog, Cat.
        QTest::newRow("column") << false << QStringList{"Tom", "Kit", "Rex", "Ash"} << QStringList{"Cat", "Dog", "Cat"}
                                << QStringList{"Cat:Kit", "Dog:Rex", "Cat:Ash"};
        QTest::newRow("code value") << true << QStringList{"Ash", "Abe", "Cy", "Al"} << QStringList{"A", "C", "A"}
                                    << QStringList{"A:Abe", "C:Cy", "A:Al"};
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
        Control *missing =
            r.detail()->addField(QStringLiteral("txtMissing"), {0, 0, 500, 300}, QStringLiteral("no_such"));
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

    // A sub-report in the detail runs for each pet with the source the
    // detail's format set, below the pet's name; a pet without toys shows the
    // empty-list label, and the next pet's run has it hidden again.
    void subReportPerRow()
    {
        setPetsWithToys({{"Tom", 2}, {"Kit", 0}, {"Rex", 1}});
        Fixture r(m_db.get());
        ToySub toys(m_db.get());
        Control *srpt = r.detail()->addSubReport(QStringLiteral("srptToys"), {1000, 300, 4000, 0});
        srpt->subReport = &toys;
        r.detail()->onFormat = [&] { toys.forPet(r.DC.field(QStringLiteral("pet_id"))); };
        QVERIFY(r.run());
        const Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(toys.runs, 3);
        QCOMPARE(textsOf(doc, {"txtName", "lblToys", "lblEmpty", "txtToy"}),
                 (QStringList{"Tom", "Toys", "Tom toy 001", "Tom toy 002", "Kit", "Toys", "[No toys]", "Rex", "Toys",
                              "Rex toy 001"}));
        // Placed at the control, inside the band, which grows by them; the
        // next band starts below.
        const auto &items = doc.pages[0].items;
        int nameTop = -1, bottom = 0;
        for (const Item &it : items) {
            if (it.name == QLatin1String("txtName")) {
                QVERIFY2(it.rect.top() >= bottom, qPrintable(it.text));
                nameTop = it.rect.top();
            } else if (it.name == QLatin1String("lblToys")) {
                QCOMPARE(it.rect.top(), nameTop + 300);
                QCOMPARE(it.rect.left(), 720 + 1000);
            } else if (it.name == QLatin1String("txtToy")) {
                QCOMPARE(it.rect.left(), 720 + 1000 + 200);
            }
            if (it.name != QLatin1String("lblPage") && it.name != QLatin1String("lblOf")
                && !it.name.startsWith(QLatin1String("Field1")))
                bottom = qMax(bottom, it.rect.bottom() + 1);
        }
        // Tom: 300 + title 300 + 2 rows + footer 100; Kit: the label instead of rows.
        const Item *kit = nullptr, *rex = nullptr;
        for (const Item &it : items) {
            if (it.name == QLatin1String("txtName") && it.text == QLatin1String("Kit"))
                kit = &it;
            if (it.name == QLatin1String("txtName") && it.text == QLatin1String("Rex"))
                rex = &it;
        }
        QVERIFY(kit && rex);
        QCOMPARE(rex->rect.top() - kit->rect.top(), 300 + 300 + 300 + 100);

        // A hidden sub-report is not run and takes no room.
        Fixture hidden(m_db.get());
        ToySub none(m_db.get());
        Control *h = hidden.detail()->addSubReport(QStringLiteral("srptToys"), {1000, 300, 4000, 0});
        h->subReport = &none;
        h->visible = false;
        QVERIFY(hidden.run());
        QCOMPARE(none.runs, 0);
        QVERIFY(textsOf(hidden.document(), {"lblToys"}).isEmpty());
    }

    // A sub-report longer than the page goes on over the next pages, cut
    // between its rows, each page with its header and footer; the band after
    // it follows on the last page.
    void subReportSplitsOverPages()
    {
        setPetsWithToys({{"Tom", 120}, {"Kit", 1}});
        Fixture r(m_db.get());
        ToySub toys(m_db.get());
        r.detail()->addSubReport(QStringLiteral("srptToys"), {1000, 300, 4000, 0})->subReport = &toys;
        r.detail()->onFormat = [&] { toys.forPet(r.DC.field(QStringLiteral("pet_id"))); };
        QVERIFY(r.run());
        const Document &doc = r.document();
        const QRect area = r.pageSetup.printableRect();
        const int footerTop = area.top() + area.height() - 300;
        // 300 + 300 + 120 x 300 + 100 + 300 ... in about 13,500 a page.
        QCOMPARE(doc.pageCount(), 3);
        QStringList expected{"Tom", "Toys"};
        for (int i = 1; i <= 120; ++i)
            expected << QStringLiteral("Tom toy %1").arg(i, 3, 10, QLatin1Char('0'));
        expected << "Kit"
                 << "Toys"
                 << "Kit toy 001";
        QCOMPARE(textsOf(doc, {"txtName", "lblToys", "txtToy"}), expected);
        QCOMPARE(toys.runs, 2);
        for (int p = 0; p < doc.pageCount(); ++p) {
            QVERIFY(findItem(doc, p, QStringLiteral("lblPageHeader")));
            QVERIFY(findItem(doc, p, QStringLiteral("Field13")));
            const Item *first = findItem(doc, p, QStringLiteral("txtToy"));
            QVERIFY(first);
            if (p > 0) // straight below the page header
                QCOMPARE(first->rect.top(), area.top() + 300);
            int last = 0;
            for (const Item &it : doc.pages[size_t(p)].items) {
                if (it.name == QLatin1String("txtToy")) {
                    QVERIFY(it.rect.top() >= last); // in order, never overlapping
                    last = it.rect.bottom() + 1;
                    QVERIFY2(last <= footerTop, qPrintable(it.text));
                }
            }
        }
        // The closing line and Kit on the last page, below Tom's last toy.
        const Item *lastTom = nullptr;
        for (const Item &it : doc.pages[2].items)
            if (it.text == QLatin1String("Tom toy 120"))
                lastTom = &it;
        QVERIFY(lastTom);
        const Item *kit = findItem(doc, 2, QStringLiteral("txtName"));
        QVERIFY(kit && kit->text == QLatin1String("Kit"));
        QCOMPARE(kit->rect.top(), lastTom->rect.bottom() + 1 + 100);
        QCOMPARE(r.count(QStringLiteral("PageHeader")), 3);
    }

    // Rich text from RTF: bold and italic kept, sized in twips, growing and
    // pushing the controls below it down, split over pages at line tops so
    // that the slices follow on from each other and hold every line once.
    void richTextSplitsAtLines()
    {
        QString rtf = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ");
        QStringList lines;
        for (int i = 1; i <= 150; ++i) {
            rtf += QStringLiteral("Paragraph %1 has {\\b bold} and {\\i italic} words.\\par ").arg(i);
            lines << QStringLiteral("Paragraph %1 has bold and italic words.").arg(i);
        }
        rtf += QLatin1Char('}');
        setPets({{"Tom", "Cat"}, {"Kit", "Cat"}});
        QVERIFY(m_db->execute(QStringLiteral("UPDATE tbl_pet SET pet_notes_rtf = ? WHERE pet_name = 'Tom'"), {rtf}));
        Fixture r(m_db.get());
        Control *notes = r.detail()->addRichText(QStringLiteral("rtfNotes"), {1000, 300, 8000, 300});
        notes->dataField = QStringLiteral("pet_notes_rtf");
        r.detail()->addLabel(QStringLiteral("lblAfter"), {0, 600, 2000, 300}, QStringLiteral("After"));
        QVERIFY(r.run());
        const Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 3);
        const QRect area = r.pageSetup.printableRect();
        const int footerTop = area.top() + area.height() - 300;
        std::vector<const Item *> slices;
        for (int p = 0; p < doc.pageCount(); ++p)
            for (const Item &it : doc.pages[size_t(p)].items)
                if (it.name == QLatin1String("rtfNotes"))
                    slices.push_back(&it);
        QCOMPARE(slices.size(), size_t(3)); // Kit's empty note prints nothing
        QStringList got;
        for (size_t i = 0; i < slices.size(); ++i) {
            const Item &it = *slices[i];
            QVERIFY(it.rect.bottom() + 1 <= footerTop);
            QCOMPARE(it.rect.left(), 720 + 1000);
            QCOMPARE(it.rect.width(), 8000);
            if (i > 0) {
                QCOMPARE(it.richTop, slices[i - 1]->richTop + slices[i - 1]->rect.height());
                QCOMPARE(it.rect.top(), area.top() + 300);
            }
            got += it.richText().split(QLatin1Char('\n'));
        }
        QCOMPARE(got, lines);
        QCOMPARE(slices.back()->richTop + slices.back()->rect.height(),
                 int(std::ceil(slices[0]->rich->size().height())));
        // The slices share one document, in twips, with its formatting.
        QCOMPARE(slices[0]->rich.get(), slices[2]->rich.get());
        const QTextBlock b = slices[0]->rich->begin();
        bool bold = false, italic = false;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QFont f = it.fragment().charFormat().font();
            QCOMPARE(f.pixelSize(), 200);
            bold = bold || (f.bold() && it.fragment().text() == QLatin1String("bold"));
            italic = italic || (f.italic() && it.fragment().text() == QLatin1String("italic"));
        }
        QVERIFY(bold && italic);
        // Pushed below the note's end on the last page, as the next pet's row.
        const Item *after = findItem(doc, 2, QStringLiteral("lblAfter"));
        QVERIFY(after);
        QCOMPARE(after->rect.top(), slices.back()->rect.bottom() + 1);
        QCOMPARE(textsOf(doc, {"txtName"}), (QStringList{"Tom", "Kit"}));
        // Painted, each page shows its own lines only.
        const QString pdf = m_tmp.filePath(QStringLiteral("rich.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        const QString page2 = run(QStringLiteral("pdftotext"), {"-f", "2", "-l", "2", pdf, "-"});
        const QString firstOn2 = slices[1]->richText().section(QLatin1Char('\n'), 0, 0);
        const QString lastOn1 = slices[0]->richText().section(QLatin1Char('\n'), -1);
        QVERIFY2(page2.contains(firstOn2), qPrintable(page2));
        QVERIFY2(!page2.contains(lastOn1), qPrintable(lastOn1));
    }

    // Two columns: slots across, then down, in the order of the rows; a group
    // header or footer starts a new row at the full width; a control is cut
    // at its slot's edge.
    void twoColumnSlots()
    {
        setPets({{"Tom", "Cat"}, {"Kit", "Cat"}, {"Ash", "Cat"}, {"Rex", "Dog"}, {"Max", "Dog"}});
        Fixture r(m_db.get());
        r.detail()->columnCount = 2;
        r.detail()->columnSpacing = 360;
        r.detail()->height = 1000;
        r.detailName->width = 6000;
        QVERIFY(r.run());
        const Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 1);
        const int slot = (10800 - 360) / 2;
        QMap<QString, QRect> at;
        for (const Item &it : doc.pages[0].items)
            at[it.name + QLatin1Char(':') + it.text] = it.rect;
        const QRect cat = at.value(QStringLiteral("txtSpecies:Cat")), dog = at.value(QStringLiteral("txtSpecies:Dog"));
        const QRect tom = at.value(QStringLiteral("txtName:Tom")), kit = at.value(QStringLiteral("txtName:Kit")),
                    ash = at.value(QStringLiteral("txtName:Ash")), rex = at.value(QStringLiteral("txtName:Rex")),
                    max = at.value(QStringLiteral("txtName:Max"));
        const QRect catEnd = at.value(QStringLiteral("txtLast:Ash"));
        QCOMPARE(tom.topLeft(), QPoint(720 + 200, cat.bottom() + 1));
        QCOMPARE(kit.topLeft(), QPoint(720 + slot + 360 + 200, tom.top()));
        QCOMPARE(ash.topLeft(), QPoint(720 + 200, tom.top() + 1000));
        QCOMPARE(tom.right() + 1, 720 + slot); // cut at the slot's edge
        QCOMPARE(kit.right() + 1, 720 + 2 * slot + 360);
        QCOMPARE(catEnd.topLeft(), QPoint(720, ash.top() + 1000)); // the half row ends
        QCOMPARE(dog.top(), catEnd.bottom() + 1);
        QCOMPARE(rex.topLeft(), QPoint(720 + 200, dog.bottom() + 1));
        QCOMPARE(max.topLeft(), QPoint(720 + slot + 360 + 200, rex.top()));
    }

    // Key-less groups inside a keyed one: their footers stack under each
    // pet, innermost first, each with the pet's own values, each holding a
    // sub-report of that pet; one hidden takes no room.
    void stackedFooters()
    {
        setPetsWithToys({{"Tom", 1}, {"Kit", 0}});
        Fixture r(m_db.get());
        r.gh->setGroupColumn(QStringLiteral("pet_id"));
        r.gh->newPageBefore = true;
        std::vector<std::unique_ptr<ToySub>> subs;
        std::vector<Section *> footers;
        for (int i = 2; i <= 4; ++i) {
            auto [h, f] = r.addGroup(QStringLiteral("GroupHeader%1").arg(i), QStringLiteral("GroupFooter%1").arg(i));
            h->height = 0;
            f->height = 0;
            subs.push_back(std::make_unique<ToySub>(m_db.get()));
            Control *c = f->addSubReport(QStringLiteral("srpt%1").arg(i), {0, 0, 4000, 0});
            c->subReport = subs.back().get();
            Control *who =
                f->addField(QStringLiteral("txtWho%1").arg(i), {5000, 10, 2000, 300}, QStringLiteral("pet_name"));
            who->visible = i != 3;
            c->visible = i != 3;
            f->onFormat = [&r, f] {
                r.log << f->name + QLatin1Char(':') + r.DC.field(QStringLiteral("pet_name")).toString();
            };
            footers.push_back(f);
        }
        r.detail()->onFormat = [&] {
            r.log << QStringLiteral("Detail:") + r.detailName->text();
            for (auto &s : subs)
                s->forPet(r.DC.field(QStringLiteral("pet_id")));
        };
        QVERIFY(r.run());
        QStringList footerLog;
        for (const QString &e : r.log)
            if (e.startsWith(QLatin1String("GroupFooter")) || e.startsWith(QLatin1String("Detail"))
                || e.startsWith(QLatin1String("FetchData")))
                footerLog << e;
        QCOMPARE(footerLog,
                 (QStringList{"FetchData:Tom", "Detail:Tom", "FetchData:Kit", "GroupFooter4:Tom", "GroupFooter3:Tom",
                              "GroupFooter2:Tom", "GroupFooter1:Tom", "Detail:Kit", "FetchData:eof", "GroupFooter4:Kit",
                              "GroupFooter3:Kit", "GroupFooter2:Kit", "GroupFooter1:Kit"}));
        const Document &doc = r.document();
        QCOMPARE(doc.pageCount(), 2);
        QCOMPARE(subs[1]->runs, 0);
        for (int p = 0; p < 2; ++p) {
            const QString pet = p == 0 ? QStringLiteral("Tom") : QStringLiteral("Kit");
            QStringList got;
            int y = 0;
            for (const Item &it : doc.pages[size_t(p)].items) {
                if (it.name.startsWith(QLatin1String("txtWho")) || it.name == QLatin1String("lblToys")
                    || it.name == QLatin1String("txtToy") || it.name == QLatin1String("lblEmpty")
                    || it.name == QLatin1String("txtLast")) {
                    got << it.name + QLatin1Char('=') + it.textFor(p + 1, 2);
                    QVERIFY(it.rect.top() >= y);
                    y = it.rect.top();
                }
            }
            const QString rows = p == 0 ? QStringLiteral("txtToy=Tom toy 001") : QStringLiteral("lblEmpty=[No toys]");
            QCOMPARE(got, (QStringList{"lblToys=Toys", rows, "txtWho4=" + pet, "lblToys=Toys", rows, "txtWho2=" + pet,
                                       "txtLast=" + pet}));
        }
        // Each name pushed below its sub-report (300 + 300 + 100); the hidden
        // footer's place taken by the next.
        const Item *who4 = findItem(doc, 0, QStringLiteral("txtWho4")),
                   *who2 = findItem(doc, 0, QStringLiteral("txtWho2"));
        QCOMPARE(who4->rect.top(), findItem(doc, 0, QStringLiteral("lblToys"))->rect.top() + 700 + 10);
        QCOMPARE(who2->rect.top() - who4->rect.top(), 700 + 10 + 300);
    }

    // Output formats of the engine's own formatter, and "=Now()" from the clock.
    // A long date is the program's own, in every language: the British one
    // names its day and month as the American does, and orders them the same.
    void formats_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const QDate d(2003, 5, 17);
        const QString shortDate = QLocale(QStringLiteral("en_US")).toString(d, QLocale::ShortFormat);
        QTest::newRow("long date") << "en_US" << QVariant(d) << "Long Date"
                                   << "Saturday, May 17, 2003";
        QTest::newRow("long date, British") << "en_GB" << QVariant(d) << "Long Date"
                                            << "Saturday, May 17, 2003";
        QTest::newRow("dddddd of ISO text") << "en_US" << QVariant("2003-05-17") << "dddddd"
                                            << "Saturday, May 17, 2003";
        QTest::newRow("dddddd, British") << "en_GB" << QVariant(QDateTime(d, QTime(9, 30))) << "dddddd"
                                         << "Saturday, May 17, 2003";
        QTest::newRow("dddddd, German") << "de_DE" << QVariant(d) << "dddddd"
                                        << "Samstag, Mai 17, 2003";
        QTest::newRow("midnight: date only")
            << "en_US" << QVariant("2003-05-17 00:00:00") << "ddddd h:nn:ss AMPM" << shortDate;
        QTest::newRow("with time") << "en_US" << QVariant(QDateTime(d, QTime(14, 5, 9))) << "ddddd h:nn:ss AMPM"
                                   << shortDate + " 2:05:09 PM";
        QTest::newRow("null") << "en_US" << QVariant() << "Long Date"
                              << "";
        QTest::newRow("text stays") << "en_US" << QVariant("Rex") << "Long Date"
                                    << "Rex";
    }
    void formats()
    {
        QFETCH(QString, locale);
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const QString got = formatValue(value, format);
        QLocale::setDefault(before);
        QCOMPARE(got, expected);
    }
    void now()
    {
        zbclock::setNow(QDateTime(QDate(2003, 5, 17), QTime(9, 30)));
        setPets({{"Tom", "Cat"}});
        Fixture r(m_db.get());
        Control *f =
            r.pageFooter()->addField(QStringLiteral("fldNow"), {2000, 0, 3000, 300}, QStringLiteral("= Now()"));
        f->outputFormat = QStringLiteral("dddddd");
        QVERIFY(r.run());
        QCOMPARE(itemTexts(r.document(), QStringLiteral("fldNow")), QStringList{vbFormatLongDate(QDate(2003, 5, 17))});
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
        Control *turned =
            r.reportHeader()->addLabel(QStringLiteral("lblTurned"), {9000, 0, 300, 3000}, QStringLiteral("Missing"));
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
