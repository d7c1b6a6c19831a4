// Opening printouts and their viewer, on the running program: the invalid
// id, the printouts not built yet, the globals at each open, the viewer only
// for a printout with pages, the printouts view and its toolbar; the viewer's
// menu bar and tools, paper colours on screen only, printing through the print
// dialog into a PDF, Printer Setup, export to PDF, publishing to HTML (the
// file at exactly the chosen path, the question, the shell opening exactly
// that file) and export to RTF, every band formatted once however often the
// pages are shown, printed and exported; the publish options.

#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/vb_list_view.h"
#include "platform/help_window.h"
#include "platform/report/report_viewer.h"
#include "platform/rtf.h"
#include "platform/shell.h"
#include "printouts/frm_greeting.h"
#include "printouts/frm_publish.h"
#include "printouts/frm_report.h"
#include "printouts/frm_trip.h"
#include "printouts/report_handler.h"
#include "printouts/rpt_pet_poster.h"
#include "printout_support.h"
#include "data_rows.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QPageLayout>
#include <QProcess>
#include <QSpinBox>

using testsupport::ProgramFolder;
using Kind = ui::ScriptedDialogs::Kind;

namespace {

long addPet(const QVariant &name, const QVariant &nickname = {})
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name, pet_nickname, pet_species_id) VALUES (?, ?, 1)"),
                     {name, nickname});
    return long(gDataDB->lastInsertId().toLongLong());
}

QList<frm_report *> viewers() { return testsupport::openViewers(); }

// Two pets (Rex first), a picture of Rex and a person: something for every
// printout. The record a printout is opened for: Rex for "pet", the picture
// for "picture", else 0.
long addRecordsFor(const QString &record)
{
    const long pet = addPet("Rex");
    addPet("Max");
    const long picture = testsupport::addRow(
        QStringLiteral("tbl_picture"),
        {{"picture_pet_id", qlonglong(pet)}, {"picture_title", "Rex asleep"}, {"picture_filename", "asleep.jpg"}});
    testsupport::addRow(QStringLiteral("tbl_contact"), {{"contact_name", "Ann"}});
    return record == QLatin1String("pet") ? pet : record == QLatin1String("picture") ? picture : 0;
}

// The poster with a page per pet and a count of its formats.
class CountingPoster : public printouts::rptPetPoster {
public:
    int formats = 0;
    CountingPoster() : rptPetPoster(PrintoutRequest())
    {
        for (report::Section *s : sections()) {
            auto was = s->onFormat;
            s->onFormat = [this, was] {
                ++formats;
                if (was)
                    was();
            };
        }
        detail()->newPageBefore = true;
    }

protected:
    void reportStart() override
    {
        connectData();
        DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet ORDER BY pet_id"));
    }
};

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestReportViewer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void invalidId();
    void everyPrintoutOpens_data();
    void everyPrintoutOpens();
    void posterOpens();
    void posterModal();
    void deletedPetShowsNoViewer();
    void printoutsView();
    void printoutsToolBar_data();
    void printoutsToolBar();

    void menuBar();
    void tools();
    void paperColours();
    void paging();
    void printAndExport();
    void failedPrintLeavesThePrinterUsable();
    void exportHtml_data();
    void exportHtml();
    void exportRtf();
    void formattedOnce();

    void datesAndTitles_data();
    void datesAndTitles();
    void exportedTitles();
    void galleryPrintOpensTheAlbum();
    void longNamesWhole_data();
    void longNamesWhole();

    void publishWindow();
    void publishOptions_data();
    void publishOptions();
    void publishCancelled();

private:
    std::unique_ptr<frm_report> viewerOf(std::unique_ptr<report::Report> r);
    std::unique_ptr<ProgramFolder> m_pf;
    QTemporaryDir m_out;
};

void TestReportViewer::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB);
}

void TestReportViewer::cleanup()
{
    for (frm_report *v : viewers())
        delete v;
    m_pf.reset();
}

std::unique_ptr<frm_report> TestReportViewer::viewerOf(std::unique_ptr<report::Report> r)
{
    if (!r->run())
        return nullptr;
    auto v = std::make_unique<frm_report>();
    v->setAttribute(Qt::WA_DeleteOnClose, false);
    v->setReport(std::move(r));
    return v;
}

void TestReportViewer::invalidId()
{
    QVERIFY(!funReportHandler(gMain, ActionOpenReport, 14, 0, false));
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(1));
    const auto *m = m_pf->dialogs().last(Kind::Message);
    QCOMPARE(m->text, QStringLiteral("Invalid report specified(14)."));
    QCOMPARE(m->icon, int(ui::Critical));
    QCOMPARE(m->title, QStringLiteral("Zorbi 2003"));
    QVERIFY(viewers().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

// Every printout of the catalogue opens its own layout, for the record the
// open names, with what its option window answered: the pages are titled by
// the printout and the pet, the greeting card prints the title typed, and
// the web page leaves out the diary that was cleared.
void TestReportViewer::everyPrintoutOpens_data() { datesAndTitles_data(); }

void TestReportViewer::everyPrintoutOpens()
{
    QFETCH(int, id);
    QFETCH(QString, record);
    QFETCH(QString, title);
    const long recordID = addRecordsFor(record);
    QString asked;
    QPointer<QTimer> t = testsupport::whenModalShown(
        [](QWidget *w) {
            return qobject_cast<frm_trip *>(w) || qobject_cast<frm_greeting *>(w) || qobject_cast<frm_publish *>(w);
        },
        [&](QWidget *w) {
            asked = w->metaObject()->className();
            if (auto *trip = qobject_cast<frm_trip *>(w)) {
                trip->cmdReport_Click(0);
            } else if (auto *card = qobject_cast<frm_greeting *>(w)) {
                card->txtGreeting0->setText(QStringLiteral("Happy Birthday"));
                card->cmdGreeting_Click(0);
            } else if (auto *page = qobject_cast<frm_publish *>(w)) {
                page->chkExportOptions[1]->setChecked(false);
                page->cmdPublish_Click(1);
            }
        });
    QVERIFY(funReportHandler(gMain, ActionOpenReport, id, recordID, false));
    delete t;
    const QMap<int, QString> options{{1, "frm_trip"}, {7, "frm_greeting"}, {9, "frm_publish"}};
    QCOMPARE(asked, options.value(id));
    QCOMPARE(viewers().size(), 1);
    frm_report *v = viewers().first();
    QCOMPARE(v->windowTitle(), report_handler::funReportEntry(id)->Name);
    QCOMPARE(v->document().title, title);
    const QStringList texts = testsupport::textsOf(v->document(), {QStringLiteral("txtReportTitle")});
    QCOMPARE(texts.contains(QStringLiteral("Happy Birthday")), id == 7);
    QStringList all;
    for (int page = 0; page < v->document().pageCount(); ++page)
        all += v->document().texts(page);
    QCOMPARE(all.contains(QStringLiteral("[No diary entries to display]")), id == 6 || id == 10);
}

void TestReportViewer::posterOpens()
{
    const long pet = addPet("Rex", "Rexie");
    QVERIFY(funReportHandler(gMain, ActionOpenReport, 4, pet, false));
    QCOMPARE(viewers().size(), 1);
    frm_report *v = viewers().first();
    QVERIFY(v->isVisible());
    QVERIFY(!v->parentWidget());
    QCOMPARE(v->windowTitle(), QStringLiteral("Pet Poster"));
    QCOMPARE(v->pageCount(), 1);
    QVERIFY(v->document().texts(0).contains(QStringLiteral("Rex (Rexie)")));
    QCOMPARE(v->printer().printerName(), funProgramPrinter().printerName());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

void TestReportViewer::posterModal()
{
    const long pet = addPet("Rex");
    bool seen = false;
    QPointer<QTimer> t = testsupport::onModal<frm_report>([&](frm_report *v) {
        seen = v->parentWidget() == gMain && v->pageCount() == 1 && !QApplication::overrideCursor();
        v->close();
    });
    QVERIFY(funReportHandler(gMain, ActionOpenReport, 4, pet, true));
    delete t;
    QVERIFY(seen);
    QTRY_VERIFY(viewers().isEmpty());
}

void TestReportViewer::deletedPetShowsNoViewer()
{
    const long pet = addPet("Rex");
    gDataDB->execute(QStringLiteral("DELETE FROM tbl_pet WHERE pet_id = ?"), {qlonglong(pet)});
    funReportHandler(gMain, ActionOpenReport, 4, pet, false);
    QCOMPARE(m_pf->dialogs().count(Kind::Message), 1);
    QCOMPARE(m_pf->dialogs().last(Kind::Message)->text, QStringLiteral("There is no information to show."));
    QCOMPARE(m_pf->dialogs().last(Kind::Message)->icon, int(ui::Information));
    QApplication::processEvents();
    QVERIFY(viewers().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

void TestReportViewer::printoutsView()
{
    for (int pass = 0; pass < 2; ++pass) {
        QVERIFY(funReportHandler(gMain, ActionShow));
        QCOMPARE(gCurrentView, int(ViewPrintouts));
        QCOMPARE(gMain->shownView(), int(ViewPrintouts));
        VbListView *list = gMain->ListView_Report;
        QCOMPARE(list->ItemCount(), 5);
        const QStringList keys{"r1", "r2", "r9", "r12", "r13"};
        for (int i = 0; i < 5; ++i) {
            VbListItem *item = list->ListItem(keys[i]);
            QVERIFY(item);
            const report_handler::ReportEntry &e = *report_handler::funReportEntry(keys[i].mid(1).toInt());
            QCOMPARE(item->text(), e.Name);
            QCOMPARE(item->SubItems(1), e.Description);
            QCOMPARE(item->Tag().toInt(), 13);
        }
    }
}

void TestReportViewer::printoutsToolBar_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("checked"); // of the three view buttons
    QTest::newRow("details") << 3 << 2;
    QTest::newRow("small icons") << 1 << 1;
    QTest::newRow("large icons") << 0 << 0;
    QTest::newRow("list") << 2 << 0;
}

void TestReportViewer::printoutsToolBar()
{
    QFETCH(int, mode);
    QFETCH(int, checked);
    gListviewReport = mode;
    funReportHandler(gMain, ActionShow);
    CtToolBar *tb = gMain->ctToolbar_MainToolbar;
    const MainToolItems &t = gMain->toolItems;
    QCOMPARE(gMain->ListView_Report->View(), mode);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(tb->itemChecked(t.viewButtons()[size_t(i)]), i == checked);
    for (int id : {t.sepPrint, t.print, t.sepViews, t.largeIcons, t.mediumIcons, t.details})
        QVERIFY2(tb->itemVisible(id), qPrintable(tb->itemText(id)));
    for (int id : {t.sepDelete, t.del, t.sepCalendar, t.lastYear, t.lastMonth, t.today, t.nextMonth, t.nextYear})
        QVERIFY2(!tb->itemVisible(id), qPrintable(tb->itemText(id)));
}

void TestReportViewer::menuBar()
{
    frm_report v;
    CtToolBar *m = v.ctToolBar_Menubar;
    QCOMPARE(m->itemCount(), 15);
    const QStringList captions{"&File",
                               "Export to HTML file",
                               "Export to PDF file",
                               "Export to RTF file",
                               "",
                               "&Print",
                               "Printer Setup",
                               "",
                               "&Close",
                               "&View",
                               "White Paper",
                               "Blue Paper",
                               "Yellow Paper",
                               "Pink Paper",
                               "&Help"};
    for (int id = 1; id <= 15; ++id) {
        QCOMPARE(m->isSeparator(id), id == 5 || id == 8);
        if (!m->isSeparator(id))
            QCOMPARE(m->itemText(id), captions[id - 1]);
    }
    for (int id : {1, 10, 15})
        QCOMPARE(m->itemLevel(id), int(CtToolBar::MenuTitle));
}

void TestReportViewer::tools()
{
    frm_report v;
    QList<int> shown;
    for (const frm_report::Tool &t : v.tools())
        if (t.visible && !t.separator)
            shown << t.id;
    QCOMPARE(shown.first(), int(frm_report::ToolClose));
    QCOMPARE(shown.last(), int(frm_report::ToolHelp));
    QVERIFY(shown.indexOf(frm_report::ToolPublish) < shown.indexOf(frm_report::ToolPrint));
    for (int stock : {frm_report::StockZoomIn, frm_report::StockZoomOut, frm_report::StockZoomBox,
                      frm_report::StockFirstPage, frm_report::StockNextPage, frm_report::StockPageNumber})
        QVERIFY(shown.contains(stock));
    for (int gone :
         {frm_report::StockContents, frm_report::StockPrint, frm_report::StockBack, frm_report::StockForward})
        QVERIFY(!shown.contains(gone));
    const frm_report::Tool &help = v.tools().back();
    QCOMPARE(help.id, 13);
    QVERIFY(help.caption.isEmpty());
    QCOMPARE(v.tools()[1].id, 999);
    QVERIFY(v.tools()[1].separator);

    // Help, from the tool and from the menu, is the viewer's page.
    for (int way = 0; way < 2; ++way) {
        help::closeHelpWindow();
        if (way == 0)
            v.ctToolBar_Viewer->clickItem(v.toolItem(frm_report::ToolHelp));
        else
            v.ctToolBar_Menubar->clickItem(v.menuItems.help);
        QVERIFY(help::helpWindow() && help::helpWindow()->isVisible());
        QCOMPARE(help::helpWindow()->currentPage(), QStringLiteral("1002.html"));
    }
    help::closeHelpWindow();
}

void TestReportViewer::paperColours()
{
    addPet("Rex");
    auto v = viewerOf(std::make_unique<CountingPoster>());
    QVERIFY(v);
    CtToolBar *m = v->ctToolBar_Menubar;
    QVERIFY(m->itemChecked(v->menuItems.papers[0]));
    m->clickItem(v->menuItems.papers[3]);
    for (int id : v->menuItems.papers)
        QCOMPARE(m->itemChecked(id), id == v->menuItems.papers[3]);
    QCOMPARE(v->ARViewer_Report->backColor(), QColor(255, 192, 192));
    QCOMPARE(v->ARViewer_Report->shownImage().pixelColor(2, 2), QColor(255, 192, 192));
    m->clickItem(v->menuItems.papers[1]);
    QCOMPARE(v->ARViewer_Report->shownImage().pixelColor(2, 2), QColor(192, 255, 255));
    m->clickItem(v->menuItems.papers[2]);
    QCOMPARE(v->ARViewer_Report->shownImage().pixelColor(2, 2), QColor(255, 255, 192));
    QCOMPARE(m->itemChecked(v->menuItems.papers[1]), false);
    // The paper is the screen's: the page itself stays white.
    QCOMPARE(report::renderPage(v->document(), 0, 0.05).pixelColor(2, 2), QColor(Qt::white));
}

void TestReportViewer::paging()
{
    for (const char *n : {"A", "B", "C"})
        addPet(n);
    auto v = viewerOf(std::make_unique<CountingPoster>());
    QCOMPARE(v->pageCount(), 3);
    auto click = [&](int tool) { v->ctToolBar_Viewer->clickItem(v->toolItem(tool)); };
    click(frm_report::StockNextPage);
    QCOMPARE(v->ARViewer_Report->page(), 1);
    QCOMPARE(v->spnPage->value(), 2);
    click(frm_report::StockLastPage);
    click(frm_report::StockNextPage);
    QCOMPARE(v->ARViewer_Report->page(), 2);
    v->spnPage->setValue(1);
    QCOMPARE(v->ARViewer_Report->page(), 0);
    click(frm_report::StockPreviousPage);
    QCOMPARE(v->ARViewer_Report->page(), 0);
    const QSize at100 = v->ARViewer_Report->shownImage().size();
    click(frm_report::StockZoomIn);
    QCOMPARE(v->ARViewer_Report->zoom(), 125);
    QVERIFY(v->ARViewer_Report->shownImage().width() > at100.width());
    click(frm_report::StockZoomOut);
    click(frm_report::StockZoomOut);
    QCOMPARE(v->ARViewer_Report->zoom(), 75);
}

void TestReportViewer::printAndExport()
{
    for (const char *n : {"A", "B"})
        addPet(n);
    auto v = viewerOf(std::make_unique<CountingPoster>());
    QCOMPARE(v->pageCount(), 2);
    ui::ScriptedDialogs &d = m_pf->dialogs();

    // Printing: cancelled prints nothing; chosen, into a PDF file.
    const QString printed = m_out.filePath(QStringLiteral("printed.pdf"));
    v->ctToolBar_Menubar->clickItem(v->menuItems.print);
    QCOMPARE(d.count(Kind::Print), 1);
    QCOMPARE(d.last(Kind::Print)->printerName, v->printer().printerName());
    d.queue(printed);
    v->ctToolBar_Viewer->clickItem(v->toolItem(frm_report::ToolPrint));
    QVERIFY(QFileInfo::exists(printed));
    QVERIFY(run(QStringLiteral("pdfinfo"), {printed}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))));

    // Printer Setup: the viewer's printer's set-up dialog.
    QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    d.queue(QVariant::fromValue(a4));
    v->ctToolBar_Menubar->clickItem(v->menuItems.printerSetup);
    QCOMPARE(d.count(Kind::PageSetup), 1);
    QCOMPARE(v->printer().pageLayout().pageSize().id(), QPageSize::A4);

    // Export: a cancelled dialog writes nothing; a name without extension
    // takes .PDF; the PDF holds the pages, the text and the footer's link.
    v->ctToolBar_Menubar->clickItem(v->menuItems.exportPDF);
    const auto *req = d.last(Kind::File);
    QCOMPARE(req->file.title, QStringLiteral("Export to PDF"));
    QCOMPARE(req->file.defaultExt, QStringLiteral("PDF"));
    QVERIFY(req->file.save);
    QVERIFY(req->file.overwritePrompt);
    QVERIFY(req->file.filter.startsWith(QStringLiteral("Portable Document Format (*.PDF)|")));
    QCOMPARE(QDir(m_out.path()).entryList(QDir::Files).size(), 1);
    d.queue(m_out.filePath(QStringLiteral("rex")));
    v->ctToolBar_Menubar->clickItem(v->menuItems.exportPDF);
    const QString pdf = m_out.filePath(QStringLiteral("rex.PDF"));
    QVERIFY(QFileInfo::exists(pdf));
    QVERIFY(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))));
    const QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("Zorbi 2003 (") + funGetWebAddress()), qPrintable(text));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("/URI"));

    // A name with its own extension keeps it; a folder that is not there
    // gets a message and no file.
    d.queue(m_out.filePath(QStringLiteral("max.pdf")));
    QVERIFY(v->subExportPDF());
    QVERIFY(QFileInfo::exists(m_out.filePath(QStringLiteral("max.pdf"))));
    d.clear();
    d.queue(m_out.filePath(QStringLiteral("gone/max.pdf")));
    QVERIFY(!v->subExportPDF());
    QCOMPARE(d.count(Kind::Message), 1);
    QVERIFY(!QFileInfo::exists(m_out.filePath(QStringLiteral("gone/max.pdf"))));
}

void TestReportViewer::failedPrintLeavesThePrinterUsable()
{
    addPet("A");
    auto v = viewerOf(std::make_unique<CountingPoster>());
    ui::ScriptedDialogs &d = m_pf->dialogs();
    v->printer().setOutputFormat(QPrinter::PdfFormat);
    v->printer().setOutputFileName(QString()); // nowhere to print
    d.queue(true);
    QVERIFY(!v->subViewerPrint());
    QCOMPARE(d.count(Kind::Message), 1);
    // Print to File in the print dialog then takes, and the pages go there.
    const QString printed = m_out.filePath(QStringLiteral("printed.pdf"));
    d.queue(printed);
    QVERIFY(v->subViewerPrint());
    QCOMPARE(v->printer().outputFileName(), printed);
    QVERIFY(QFileInfo(printed).size() > 0);
}

void TestReportViewer::exportHtml_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("answer");
    QTest::newRow("no extension") << QStringLiteral("rex") << QStringLiteral("rex.HTM") << int(ui::Yes);
    QTest::newRow("htm") << QStringLiteral("rex.htm") << QStringLiteral("rex.htm") << int(ui::Yes);
    QTest::newRow("html") << QStringLiteral("rex.html") << QStringLiteral("rex.html") << int(ui::Yes);
    QTest::newRow("case") << QStringLiteral("Rex.Htm") << QStringLiteral("Rex.Htm") << int(ui::Yes);
    QTest::newRow("not opened") << QStringLiteral("rex.htm") << QStringLiteral("rex.htm") << int(ui::No);
}

// Publishing: the page is written at exactly the chosen path, then the
// question; Yes opens exactly that file through the shell.
void TestReportViewer::exportHtml()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(int, answer);
    const QString hostile = QStringLiteral("<b>&\"'{\\}");
    addPet(hostile);
    auto v = viewerOf(std::make_unique<CountingPoster>());
    QVERIFY(v);
    QStringList opened;
    shell::setOpener([&](const QString &target, const QString &, bool program) {
        if (!program)
            opened << target;
    });
    ui::ScriptedDialogs &d = m_pf->dialogs();
    QTemporaryDir dir;

    // Cancelled: nothing written, nothing asked.
    v->ctToolBar_Viewer->clickItem(v->toolItem(frm_report::ToolPublish));
    const auto *req = d.last(Kind::File);
    QVERIFY(req);
    QCOMPARE(req->file.title, QStringLiteral("Publish to HTML"));
    QCOMPARE(req->file.defaultExt, QStringLiteral("HTM"));
    QVERIFY(req->file.save && req->file.overwritePrompt);
    QVERIFY(req->file.filter.startsWith(QStringLiteral("Hyper Text Mark-Up Language (*.HTM)|")));
    QCOMPARE(d.count(Kind::Message), 0);
    QVERIFY(QDir(dir.path()).isEmpty());

    d.queue(dir.filePath(typed));
    d.queue(answer);
    v->ctToolBar_Viewer->clickItem(v->toolItem(frm_report::ToolPublish));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
    const auto *m = d.last(Kind::Message);
    QVERIFY(m);
    QCOMPARE(m->text, QStringLiteral("Would you like to open the HTML page in your broswer?"));
    QCOMPARE(m->buttons, int(ui::YesNo));
    QCOMPARE(m->icon, int(ui::Question));
    QCOMPARE(m->title, QStringLiteral("Zorbi 2003"));
    if (answer == ui::Yes)
        QCOMPARE(opened, QStringList{QUrl::fromLocalFile(dir.filePath(written)).toString(QUrl::FullyEncoded)});
    else
        QVERIFY(opened.isEmpty());
    shell::setOpener(nullptr);

    QFile f(dir.filePath(written));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    QVERIFY(html.contains(QStringLiteral("&lt;b&gt;&amp;&quot;&#39;{\\}")));
    QVERIFY(!html.contains(hostile));
    QTextDocument shown;
    shown.setHtml(html);
    QVERIFY(shown.toPlainText().contains(hostile));

    // The menu's entry is the same export.
    d.queue(dir.filePath(QStringLiteral("menu")));
    d.queue(int(ui::No));
    v->ctToolBar_Menubar->clickItem(v->menuItems.exportHTML);
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("menu.HTM"))));
}

void TestReportViewer::exportRtf()
{
    const QString hostile = QStringLiteral(u"<b>&\"'{\\} Grüße");
    addPet(hostile);
    auto v = viewerOf(std::make_unique<CountingPoster>());
    QVERIFY(v);
    ui::ScriptedDialogs &d = m_pf->dialogs();
    QTemporaryDir dir;
    v->ctToolBar_Menubar->clickItem(v->menuItems.exportRTF);
    const auto *req = d.last(Kind::File);
    QCOMPARE(req->file.title, QStringLiteral("Export to RTF"));
    QCOMPARE(req->file.defaultExt, QStringLiteral("RTF"));
    QVERIFY(req->file.filter.startsWith(QStringLiteral("Rich Text Format (*.RTF)|")));
    QVERIFY(QDir(dir.path()).isEmpty());
    for (const QString &typed : {QStringLiteral("rex"), QStringLiteral("max.rtf")}) {
        d.queue(dir.filePath(typed));
        v->ctToolBar_Menubar->clickItem(v->menuItems.exportRTF);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), QStringList({"max.rtf", "rex.RTF"}));
    QCOMPARE(d.count(Kind::Message), 0); // no question follows
    QFile f(dir.filePath(QStringLiteral("rex.RTF")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString rtfText = QString::fromLatin1(f.readAll());
    QVERIFY(rtf::plainText(rtfText).contains(hostile));
    QVERIFY(rtfText.contains(QStringLiteral("HYPERLINK \"http://")));
}

void TestReportViewer::formattedOnce()
{
    for (const char *n : {"A", "B", "C"})
        addPet(n);
    auto r = std::make_unique<CountingPoster>();
    CountingPoster *counted = r.get();
    auto v = viewerOf(std::move(r));
    // Per page the page header, the detail and the page footer; the report
    // header and footer once.
    const int formats = counted->formats;
    QCOMPARE(formats, 11);
    v->show();
    v->ARViewer_Report->lastPage();
    v->ctToolBar_Menubar->clickItem(v->menuItems.papers[3]);
    m_pf->dialogs().queue(m_out.filePath(QStringLiteral("p.pdf")));
    QVERIFY(v->subViewerPrint());
    m_pf->dialogs().queue(m_out.filePath(QStringLiteral("e.pdf")));
    QVERIFY(v->subExportPDF());
    m_pf->dialogs().queue(m_out.filePath(QStringLiteral("e.htm")));
    m_pf->dialogs().queue(int(ui::No));
    QVERIFY(v->subExportHTML());
    m_pf->dialogs().queue(m_out.filePath(QStringLiteral("e.rtf")));
    QVERIFY(v->subExportRTF());
    QCOMPARE(counted->formats, formats);
}

// Every printout, in a British locale: the date of its footer (the greeting
// card has none), the missing poster's own "dddddd" date and its prompt are
// the program's one long date, the form every window shows, not the locale's
// own order; the pages are titled by the catalogue's name, and by the pet's
// when the printout is for one pet.
void TestReportViewer::datesAndTitles_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("record"); // "pet", "picture" or none
    QTest::addColumn<QString>("title");
    QTest::newRow("pet sitter") << 1 << "pet"
                                << "Pet Sitter Instructions - Rex";
    QTest::newRow("pet sitter, all pets") << 1 << ""
                                          << "Pet Sitter Instructions";
    QTest::newRow("address book") << 2 << ""
                                  << "Address Book Listing";
    QTest::newRow("refrigerator") << 3 << "pet"
                                  << "Refrigerator Page - Rex";
    QTest::newRow("pet poster") << 4 << "pet"
                                << "Pet Poster - Rex";
    QTest::newRow("show and tell") << 5 << "pet"
                                   << "Show & Tell Paper - Rex";
    QTest::newRow("pet details") << 6 << "pet"
                                 << "Pet Details - Rex";
    QTest::newRow("pet details, all pets") << 6 << ""
                                           << "Pet Details";
    QTest::newRow("greeting card") << 7 << "pet"
                                   << "Greeting Card - Rex";
    QTest::newRow("missing poster") << 8 << "pet"
                                    << "Missing Pet Poster - Rex";
    QTest::newRow("publish") << 9 << "pet"
                             << "Publish Zorbi - Rex";
    QTest::newRow("diary") << 10 << "pet"
                           << "Print Pet Diary - Rex";
    QTest::newRow("picture print") << 11 << "picture"
                                   << "Picture Print";
    QTest::newRow("photo album") << 12 << ""
                                 << "Photo Album";
    QTest::newRow("health statement") << 13 << "pet"
                                      << "Health Statement - Rex";
}

void TestReportViewer::datesAndTitles()
{
    QFETCH(int, id);
    QFETCH(QString, record);
    QFETCH(QString, title);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    auto restore = qScopeGuard([&] {
        QLocale::setDefault(before);
        zbclock::reset();
    });
    zbclock::setNow(QDateTime(QDate(2024, 5, 17), QTime(10, 0)));
    PrintoutRequest request;
    request.reportID = id;
    request.reportName = report_handler::funReportEntry(id)->Name;
    request.petID = addRecordsFor(record);
    std::unique_ptr<report::Report> r = report_handler::funNewDesigner(request);
    QVERIFY(r->run());

    // The program's long date, day and month named first as in every window.
    const QString longDate = vbFormatLongDate(QDate(2024, 5, 17));
    QCOMPARE(longDate, QStringLiteral("Friday, May 17, 2024"));
    const QStringList dates = testsupport::textsOf(r->document(), {QStringLiteral("fldFooterDate")});
    QCOMPARE(dates.isEmpty(), id == 7); // the card has no footer
    QCOMPARE(dates, QStringList(dates.size(), longDate));
    for (const auto &shown : m_pf->dialogs().shown())
        if (shown.title == QLatin1String("Lost / Missing Date"))
            QCOMPARE(shown.defaultText, longDate);
    QCOMPARE(r->document().title, title);
}

// The title as a reader shows it: the PDF's Title and the web page's
// <title>, written through the viewer of an opened printout.
void TestReportViewer::exportedTitles()
{
    const long pet = addPet(QStringLiteral("Rex <&>"));
    QVERIFY(funReportHandler(gMain, ActionOpenReport, 6, pet, false));
    QCOMPARE(viewers().size(), 1);
    frm_report *v = viewers().first();
    const QString title = QStringLiteral("Pet Details - Rex <&>");
    ui::ScriptedDialogs &d = m_pf->dialogs();
    d.queue(m_out.filePath(QStringLiteral("titled.pdf")));
    QVERIFY(v->subExportPDF());
    QVERIFY2(run(QStringLiteral("pdfinfo"), {m_out.filePath(QStringLiteral("titled.pdf"))})
                 .contains(QRegularExpression(QStringLiteral("Title:\\s+") + QRegularExpression::escape(title) + "\n")),
             "the PDF's Title");
    d.queue(m_out.filePath(QStringLiteral("titled.htm")));
    d.queue(int(ui::No));
    QVERIFY(v->subExportHTML());
    QFile f(m_out.filePath(QStringLiteral("titled.htm")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("<title>Pet Details - Rex &lt;&amp;&gt;</title>"));
}

// Print on the photo gallery's toolbar opens the photo album of every
// picture, as the user clicks it: a picture chosen, then Print.
void TestReportViewer::galleryPrintOpensTheAlbum()
{
    const long pet = addPet("Rex");
    QImage photo(40, 30, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    QVERIFY(photo.save(gPicturePath + QStringLiteral("beach.png")));
    testsupport::addRow(
        QStringLiteral("tbl_picture"),
        {{"picture_pet_id", qlonglong(pet)}, {"picture_title", "At the beach"}, {"picture_filename", "beach.png"}});
    QVERIFY(funPictureHandler(gMain, ActionShow, 0, QString(), 1));
    QCOMPARE(gMain->shownView(), int(ViewPhotoGallery));
    VbListView *gallery = gMain->ListView_Picture;
    QCOMPARE(gallery->ItemCount(), 1);
    QVERIFY(gallery->selectKey(QString()));
    emit gallery->itemClick(gallery->SelectedItem());
    gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.print);
    QCOMPARE(viewers().size(), 1);
    frm_report *v = viewers().first();
    QCOMPARE(v->windowTitle(), QStringLiteral("Photo Album"));
    QCOMPARE(v->document().title, QStringLiteral("Photo Album"));
    QVERIFY(v->document().texts(0).contains(QStringLiteral("At the beach")));
}

// A long name prints whole in every printout of a pet: where it does not fit
// its field on one line it wraps, and where the lines are too many the
// field's font shrinks; every text of the pages fits its box, so the viewer,
// the PDF, HTML and RTF, which draw these boxes, show all of it.
void TestReportViewer::longNamesWhole_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    const QString name29 = QStringLiteral("Maximilian von Barkingham III");
    const QString name50 = QStringLiteral("Maximilian \"Max\" <b>von</b> Barkingham-Featherston");
    for (int id : {1, 3, 4, 5, 6, 8, 10, 12, 13}) {
        QTest::addRow("printout %d, %d letters", id, int(name29.size())) << id << name29;
        QTest::addRow("printout %d, %d letters", id, int(name50.size())) << id << name50;
    }
}

void TestReportViewer::longNamesWhole()
{
    QFETCH(int, id);
    QFETCH(QString, name);
    const long pet = addPet(name, QStringLiteral("Sir Max the Magnificent"));
    testsupport::addRow(QStringLiteral("tbl_picture"),
                        {{"picture_pet_id", qlonglong(pet)},
                         {"picture_title", name},
                         {"picture_filename", m_pf->file(QStringLiteral("Default.gif"))}});
    PrintoutRequest request;
    request.reportID = id;
    request.reportName = report_handler::funReportEntry(id)->Name;
    request.petID = id == 12 ? 0 : pet;
    std::unique_ptr<report::Report> r = report_handler::funNewDesigner(request);
    QVERIFY(r->run());
    const report::Document &doc = r->document();
    bool named = false;
    for (int p = 0; p < doc.pageCount(); ++p) {
        for (const report::Item &it : doc.pages[size_t(p)].items) {
            if (it.kind != report::Item::Text || it.angle != 0 || it.text.isEmpty())
                continue;
            named = named || it.text.contains(name);
            const int flags = (it.alignment & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask))
                              | (it.wordWrap ? Qt::TextWordWrap : 0);
            const QRectF need = QFontMetricsF(it.font).boundingRect(QRectF(0, 0, it.rect.width(), 1e7), flags,
                                                                    it.textFor(p + 1, doc.pageCount()));
            QVERIFY2(need.width() <= it.rect.width() + 0.5 && need.height() <= it.rect.height() + 0.5,
                     qPrintable(QStringLiteral("%1 \"%2\" needs %3 x %4 in %5 x %6")
                                    .arg(it.name, it.text)
                                    .arg(need.width())
                                    .arg(need.height())
                                    .arg(it.rect.width())
                                    .arg(it.rect.height())));
        }
    }
    QVERIFY2(named, "the name prints whole");
}

void TestReportViewer::publishWindow()
{
    frm_publish w;
    QCOMPARE(w.Label1->text(), QStringLiteral("Select which details you want to publish:"));
    const QStringList captions{"Include Vaccination Information", "Include Diary Events", "Include Misc. Information",
                               "Include Commands && Behavior"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w.chkExportOptions[size_t(i)]->text(), captions[i]);
        QVERIFY(w.chkExportOptions[size_t(i)]->isChecked());
    }
    QCOMPARE(w.cmdPublish[1]->text(), QStringLiteral("&OK"));
    QCOMPARE(w.cmdPublish[2]->text(), QStringLiteral("&Cancel"));
    QCOMPARE(w.HelpContextID, 1001);
    auto *f1 = w.findChild<QShortcut *>();
    QVERIFY(f1);
    QCOMPARE(f1->key(), QKeySequence(Qt::Key_F1));
    emit f1->activated();
    QVERIFY(help::helpWindow() && help::helpWindow()->isVisible());
    QCOMPARE(help::helpWindow()->currentPage(), QStringLiteral("1001.html"));
    help::closeHelpWindow();
}

void TestReportViewer::publishOptions_data()
{
    // Boxes 0 vaccinations, 1 diary, 2 misc., 3 commands: their states, and
    // the flags that follow (vaccinations, diary, misc., commands).
    QTest::addColumn<QList<int>>("states");
    QTest::addColumn<QList<bool>>("flags");
    const int on = Qt::Checked, off = Qt::Unchecked, grey = Qt::PartiallyChecked;
    QTest::newRow("defaults") << QList<int>{on, on, on, on} << QList<bool>{true, true, true, true};
    QTest::newRow("all cleared") << QList<int>{off, off, off, off} << QList<bool>{false, false, false, false};
    QTest::newRow("only diary cleared") << QList<int>{on, off, on, on} << QList<bool>{true, false, true, true};
    QTest::newRow("only commands") << QList<int>{off, off, off, on} << QList<bool>{false, false, false, true};
    QTest::newRow("grey counts as ticked") << QList<int>{grey, off, grey, off} << QList<bool>{true, false, true, false};
}

void TestReportViewer::publishOptions()
{
    QFETCH(QList<int>, states);
    QFETCH(QList<bool>, flags);
    PrintoutRequest request;
    request.publishDiary = request.publishVaccinations = request.publishCommands = request.publishMisc = !flags[0];
    bool seen = false;
    QPointer<QTimer> t = testsupport::onModal<frm_publish>([&](frm_publish *w) {
        seen = w->windowTitle() == QStringLiteral("Publish Zorbi options") && w->parentWidget() == gMain;
        for (int i = 0; i < 4; ++i) {
            w->chkExportOptions[size_t(i)]->setTristate(states[i] == Qt::PartiallyChecked);
            w->chkExportOptions[size_t(i)]->setCheckState(Qt::CheckState(states[i]));
        }
        w->cmdPublish[1]->click();
    });
    QVERIFY(report_handler::funReportPublishOptions(gMain, request));
    delete t;
    QVERIFY(seen);
    QCOMPARE(
        QList<bool>({request.publishVaccinations, request.publishDiary, request.publishMisc, request.publishCommands}),
        flags);
}

void TestReportViewer::publishCancelled()
{
    const long pet = addPet("Rex");
    QPointer<QTimer> t = testsupport::onModal<frm_publish>([](frm_publish *w) {
        w->chkExportOptions[1]->setChecked(false);
        w->cmdPublish[2]->click();
    });
    QVERIFY(!funReportHandler(gMain, ActionOpenReport, 9, pet, false));
    delete t;
    PrintoutRequest request;
    t = testsupport::onModal<frm_publish>([](frm_publish *w) {
        w->chkExportOptions[1]->setChecked(false);
        w->cmdPublish[2]->click();
    });
    QVERIFY(!report_handler::funReportPublishOptions(gMain, request));
    delete t;
    QVERIFY(request.publishDiary && request.publishVaccinations && request.publishCommands && request.publishMisc);
    QApplication::processEvents();
    QVERIFY(viewers().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

ZORBI_TEST_MAIN(TestReportViewer)
#include "tst_report_viewer.moc"
