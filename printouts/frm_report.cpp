#include "printouts/frm_report.h"

#include "core/frm_controls.h"
#include "core/main_zorbi.h"
#include "core/system.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"
#include "platform/shell.h"
#include "platform/report/exports.h"
#include "platform/report/report.h"
#include "platform/report/report_viewer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The pictures of the window's own tools; the stock tools bring their own.
QIcon toolPicture(const QString &name)
{
    QStyle *st = QApplication::style();
    if (name == QLatin1String("close"))
        return storeIcon(28);
    if (name == QLatin1String("print"))
        return storeIcon(17);
    if (name == QLatin1String("help"))
        return storeIcon(30);
    if (name == QLatin1String("publish"))
        return gControls ? gControls->ctImageMain.icon(2, 5) : QIcon();
    if (name == QLatin1String("first"))
        return st->standardIcon(QStyle::SP_MediaSkipBackward);
    if (name == QLatin1String("previous"))
        return st->standardIcon(QStyle::SP_MediaSeekBackward);
    if (name == QLatin1String("next"))
        return st->standardIcon(QStyle::SP_MediaSeekForward);
    if (name == QLatin1String("last"))
        return st->standardIcon(QStyle::SP_MediaSkipForward);
    if (name == QLatin1String("back"))
        return st->standardIcon(QStyle::SP_ArrowBack);
    if (name == QLatin1String("forward"))
        return st->standardIcon(QStyle::SP_ArrowForward);
    return {};
}

frm_report::Tool tool(int id, const QString &caption, const QString &picture = {})
{
    frm_report::Tool t;
    t.id = id;
    t.caption = caption;
    t.picture = picture;
    return t;
}

frm_report::Tool separator(int id)
{
    frm_report::Tool t;
    t.id = id;
    t.separator = true;
    return t;
}

} // namespace

frm_report::frm_report(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_report"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    buildMenuBar();
    buildViewerToolBar();
    ARViewer_Report = new report::ReportViewer(this);
    ARViewer_Report->setObjectName(QStringLiteral("ARViewer_Report"));
    outer->addWidget(ctToolBar_Menubar);
    outer->addWidget(ctToolBar_Viewer);
    outer->addWidget(ARViewer_Report, 1);
    connect(ARViewer_Report, &report::ReportViewer::pageChanged, this, [this] { syncPageBox(); });
    connect(ARViewer_Report, &report::ReportViewer::zoomChanged, this, [this](int z) {
        const int i = cboZoom->findData(z);
        if (i >= 0)
            cboZoom->setCurrentIndex(i);
    });
    subSetBackColor(menuItems.papers[0]);
    // A page across, and as much of it down as the screen has room for.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().height() - 80 : 1000;
    resize(900, qBound(400, room, 1000));
}

frm_report::~frm_report() = default;

void frm_report::buildMenuBar()
{
    auto *bar = new CtToolBar(CtToolBar::Mode::MenuBar, this);
    bar->setObjectName(QStringLiteral("ctToolBar_Menubar"));
    ctToolBar_Menubar = bar;
    const int title = CtToolBar::MenuTitle, entry = CtToolBar::MenuEntry;
    MenuItems &m = menuItems;
    m.file = bar->addItem(QStringLiteral("&File"), {}, {}, title);
    m.exportHTML = bar->addItem(QStringLiteral("Export to HTML file"), {}, {}, entry);
    m.exportPDF = bar->addItem(QStringLiteral("Export to PDF file"), {}, {}, entry);
    m.exportRTF = bar->addItem(QStringLiteral("Export to RTF file"), {}, {}, entry);
    bar->addSeparator();
    m.print = bar->addItem(QStringLiteral("&Print"), {}, {}, entry);
    m.printerSetup = bar->addItem(QStringLiteral("Printer Setup"), {}, {}, entry);
    bar->addSeparator();
    m.close = bar->addItem(QStringLiteral("&Close"), {}, {}, entry);
    m.view = bar->addItem(QStringLiteral("&View"), {}, {}, title);
    const char *const papers[4] = {"White Paper", "Blue Paper", "Yellow Paper", "Pink Paper"};
    for (size_t i = 0; i < m.papers.size(); ++i)
        m.papers[i] = bar->addItem(QString::fromLatin1(papers[i]), {}, {}, entry);
    m.help = bar->addItem(QStringLiteral("&Help"), {}, {}, title);
    connect(bar, &CtToolBar::itemClick, this, &frm_report::ctToolBar_Menubar_ItemClick);
}

std::vector<frm_report::Tool> frm_report::stockTools()
{
    return {
        tool(StockContents, QStringLiteral("Contents")),
        separator(StockSeparator),
        tool(StockPrint, QStringLiteral("Print")),
        separator(StockSeparator),
        tool(StockZoomOut, QStringLiteral("Zoom Out")),
        tool(StockZoomIn, QStringLiteral("Zoom In")),
        tool(StockZoomBox, QStringLiteral("Zoom")),
        separator(StockSeparator),
        tool(StockFirstPage, QString(), QStringLiteral("first")),
        tool(StockPreviousPage, QString(), QStringLiteral("previous")),
        tool(StockNextPage, QString(), QStringLiteral("next")),
        tool(StockLastPage, QString(), QStringLiteral("last")),
        tool(StockPageNumber, QStringLiteral("Page")),
        separator(StockSeparator),
        tool(StockBack, QString(), QStringLiteral("back")),
        tool(StockForward, QString(), QStringLiteral("forward")),
    };
}

void frm_report::subSetupViewerToolbar(std::vector<Tool> &tools)
{
    auto insert = [&tools](size_t at, const Tool &t) {
        tools.insert(tools.begin() + std::ptrdiff_t(std::min(at, tools.size())), t);
    };
    auto hide = [&tools](size_t at) {
        if (at < tools.size())
            tools[at].visible = false;
    };
    insert(0, tool(ToolClose, QStringLiteral("Close"), QStringLiteral("close")));
    insert(1, separator(ToolSeparator));
    insert(2, tool(ToolPublish, QStringLiteral("Publish"), QStringLiteral("publish")));
    hide(3);
    hide(5);
    insert(5, tool(ToolPrint, QStringLiteral("Print"), QStringLiteral("print")));
    for (int i = 3; i >= 1; --i)
        hide(tools.size() - size_t(i));
    insert(tools.size(), tool(ToolHelp, QString(), QStringLiteral("help")));
}

void frm_report::buildViewerToolBar()
{
    m_tools = stockTools();
    subSetupViewerToolbar(m_tools);
    auto *bar = new CtToolBar(CtToolBar::Mode::ToolBar, this);
    bar->setObjectName(QStringLiteral("ctToolBar_Viewer"));
    ctToolBar_Viewer = bar;
    m_toolOfItem.assign(1, 0);
    for (const Tool &t : m_tools) {
        const int item = t.separator ? bar->addSeparator() : bar->addItem(t.caption, t.caption, toolPicture(t.picture));
        m_toolOfItem.push_back(t.id);
        if (!t.visible)
            bar->setItemVisible(item, false);
    }
    // The zoom box and the page number are boxes, standing where their items are.
    cboZoom = new QComboBox(this);
    cboZoom->setObjectName(QStringLiteral("cboZoom"));
    for (int z : report::ReportViewer::zoomSteps())
        cboZoom->addItem(QString::number(z) + QLatin1Char('%'), z);
    cboZoom->setCurrentIndex(cboZoom->findData(100));
    connect(cboZoom, &QComboBox::activated, this,
            [this](int i) { ARViewer_Report->setZoom(cboZoom->itemData(i).toInt()); });
    spnPage = new QSpinBox(this);
    spnPage->setObjectName(QStringLiteral("spnPage"));
    spnPage->setRange(1, 1);
    connect(spnPage, &QSpinBox::valueChanged, this, [this](int v) { ARViewer_Report->setPage(v - 1); });
    for (auto [toolId, box] : {std::pair<int, QWidget *>{StockZoomBox, cboZoom}, {StockPageNumber, spnPage}}) {
        const int item = toolItem(toolId);
        QAction *a = bar->toolBar()->insertWidget(bar->action(item), box);
        a->setVisible(bar->itemVisible(item));
        bar->setItemVisible(item, false);
    }
    connect(bar, &CtToolBar::itemClick, this, [this](int item) {
        if (item > 0 && item < int(m_toolOfItem.size()))
            ARViewer_Report_ToolClick(m_toolOfItem[size_t(item)]);
    });
}

int frm_report::toolItem(int toolId) const
{
    for (size_t i = 1; i < m_toolOfItem.size(); ++i)
        if (m_toolOfItem[i] == toolId)
            return int(i);
    return 0;
}

void frm_report::setReport(std::unique_ptr<report::Report> designer)
{
    m_designer = std::move(designer);
    m_doc = m_designer ? m_designer->takeDocument() : report::Document();
    ARViewer_Report->setDocument(&m_doc);
    syncPageBox();
}

void frm_report::syncPageBox()
{
    const QSignalBlocker block(spnPage);
    spnPage->setRange(1, qMax(1, pageCount()));
    spnPage->setSuffix(QStringLiteral(" of ") + QString::number(qMax(1, pageCount())));
    spnPage->setValue(ARViewer_Report->page() + 1);
}

QColor frm_report::paperColor(int id) const
{
    // In the order of the View menu: white, blue, yellow, pink.
    static const QColor colours[4] = {QColor(255, 255, 255), QColor(192, 255, 255), QColor(255, 255, 192),
                                      QColor(255, 192, 192)};
    for (size_t i = 0; i < menuItems.papers.size(); ++i)
        if (id != 0 && id == menuItems.papers[i])
            return colours[i];
    return {};
}

void frm_report::ctToolBar_Menubar_ItemClick(int id)
{
    const MenuItems &m = menuItems;
    if (id == m.exportHTML)
        subExportHTML();
    else if (id == m.exportPDF)
        subExportPDF();
    else if (id == m.exportRTF)
        subExportRTF();
    else if (id == m.print)
        subViewerPrint();
    else if (id == m.printerSetup)
        subPageSetup();
    else if (id == m.close)
        close();
    else if (paperColor(id).isValid())
        subSetBackColor(id);
    else if (id == m.help)
        funHelp(this, 2, HelpContextID);
}

void frm_report::ARViewer_Report_ToolClick(int toolId)
{
    switch (toolId) {
    case ToolClose: close(); break;
    case ToolPublish: subExportHTML(); break;
    case ToolPrint: subViewerPrint(); break;
    case ToolHelp: funHelp(this, 2, HelpContextID); break;
    case StockZoomOut: ARViewer_Report->zoomOut(); break;
    case StockZoomIn: ARViewer_Report->zoomIn(); break;
    case StockFirstPage: ARViewer_Report->firstPage(); break;
    case StockPreviousPage: ARViewer_Report->previousPage(); break;
    case StockNextPage: ARViewer_Report->nextPage(); break;
    case StockLastPage: ARViewer_Report->lastPage(); break;
    default: break;
    }
}

void frm_report::subSetBackColor(int id)
{
    for (int item : menuItems.papers)
        ctToolBar_Menubar->setItemChecked(item, false);
    const QColor paper = paperColor(id);
    if (paper.isValid())
        ARViewer_Report->setBackColor(paper);
    ctToolBar_Menubar->setItemChecked(id, true);
}

void frm_report::subPageSetup() { ui::dialogs().pageSetupDialog(this, m_printer); }

bool frm_report::subViewerPrint()
{
    if (m_doc.isEmpty())
        return false;
    m_printer.setFromTo(0, 0);
    if (!ui::dialogs().printDialog(this, m_printer))
        return false;
    int from = 0, to = 0;
    if (m_printer.printRange() == QPrinter::PageRange) {
        from = m_printer.fromPage();
        to = m_printer.toPage();
    }
    Hourglass wait;
    QString error;
    if (!report::paintDocument(m_printer, m_doc, &error, from, to)) {
        wait.release();
        ui::dialogs().msgBox(this, error.isEmpty() ? QStringLiteral("The printout could not be printed.") : error,
                             ui::Exclamation);
        return false;
    }
    return true;
}

QString frm_report::exportPath(const QString &title, const QString &filter, const QString &ext)
{
    ui::FileRequest req;
    req.title = title;
    req.filter = filter;
    req.defaultExt = ext;
    req.save = true;
    req.overwritePrompt = true;
    QString path = ui::dialogs().fileDialog(this, req);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + ext;
    return path;
}

bool frm_report::writeExport(const std::function<bool(QString *error)> &writer)
{
    Hourglass wait;
    QString error;
    if (writer(&error))
        return true;
    wait.release();
    ui::dialogs().msgBox(this, error, ui::Exclamation);
    return false;
}

// Linux names differ by case: each filter offers the extension both ways.
bool frm_report::subExportPDF()
{
    if (m_doc.isEmpty())
        return false;
    const QString path =
        exportPath(QStringLiteral("Export to PDF"), QStringLiteral("Portable Document Format (*.PDF)|*.PDF;*.pdf"),
                   QStringLiteral("PDF"));
    return !path.isEmpty() && writeExport([&](QString *error) { return report::exportPdf(m_doc, path, error); });
}

bool frm_report::subExportHTML()
{
    if (m_doc.isEmpty())
        return false;
    const QString path = exportPath(QStringLiteral("Publish to HTML"),
                                    QStringLiteral("Hyper Text Mark-Up Language (*.HTM)|*.HTM;*.htm;*.html;*.HTML"),
                                    QStringLiteral("HTM"));
    if (path.isEmpty() || !writeExport([&](QString *error) { return report::exportHtml(m_doc, path, error); }))
        return false;
    // The page opened is the file written, by its own name and case.
    if (ui::dialogs().msgBox(this, QStringLiteral("Would you like to open the HTML page in your broswer?"),
                             ui::YesNo | ui::Question, funGetAppTitle())
        == ui::Yes)
        shell::openDocument(path);
    return true;
}

bool frm_report::subExportRTF()
{
    if (m_doc.isEmpty())
        return false;
    const QString path = exportPath(QStringLiteral("Export to RTF"),
                                    QStringLiteral("Rich Text Format (*.RTF)|*.RTF;*.rtf"), QStringLiteral("RTF"));
    return !path.isEmpty() && writeExport([&](QString *error) { return report::exportRtf(m_doc, path, error); });
}
