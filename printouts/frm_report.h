#pragma once
// The printout viewer: the pages of one printout, laid out once before the
// window opens, shown at a zoom on a paper colour of the user's choice,
// printed through the print dialog on the viewer's own printer, and exported.

#include "platform/report/page_model.h"

#include <QDialog>
#include <QPrinter>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class CtToolBar;
class QComboBox;
class QSpinBox;

namespace report {
class Report;
class ReportViewer;
} // namespace report

class frm_report : public QDialog {
    Q_OBJECT
public:
    // The menu bar's items, by the ids the bar handed out as they were laid down.
    struct MenuItems {
        int file = 0, exportHTML = 0, exportPDF = 0, exportRTF = 0, print = 0, printerSetup = 0, close = 0;
        int view = 0;
        std::array<int, 4> papers{}; // White, Blue, Yellow and Pink Paper
        int help = 0;
    };
    // The viewer's tools: the window's own (1, 2, 5, 13, and the separator
    // 999) among the viewer's stock tools.
    enum ToolId : int {
        ToolClose = 1,
        ToolPublish = 2,
        ToolPrint = 5,
        ToolHelp = 13,
        ToolSeparator = 999,
        StockContents = 1001,
        StockSeparator,
        StockPrint,
        StockZoomOut,
        StockZoomIn,
        StockZoomBox,
        StockFirstPage,
        StockPreviousPage,
        StockNextPage,
        StockLastPage,
        StockPageNumber,
        StockBack,
        StockForward,
    };
    struct Tool {
        int id = 0;
        QString caption;
        QString picture; // "close", "print", "help", "publish", or a stock tool's own
        bool separator = false;
        bool visible = true;
    };

    static constexpr int kHelpContext = 1002;

    explicit frm_report(QWidget *parent = nullptr);
    ~frm_report() override;

    // Takes a designer that has run and the pages it laid out.
    void setReport(std::unique_ptr<report::Report> designer);
    const report::Document &document() const { return m_doc; }
    int pageCount() const { return m_doc.pageCount(); }

    // The printer the viewer prints on (the program printer's, when opened).
    QPrinter &printer() { return m_printer; }

    CtToolBar *ctToolBar_Menubar = nullptr;
    MenuItems menuItems;
    CtToolBar *ctToolBar_Viewer = nullptr;
    report::ReportViewer *ARViewer_Report = nullptr;
    QComboBox *cboZoom = nullptr;
    QSpinBox *spnPage = nullptr;
    int HelpContextID = kHelpContext;

    // The tools of the viewer's toolbar, in order, as the window set them up.
    const std::vector<Tool> &tools() const { return m_tools; }
    // The viewer's stock tools, and the window's own put among them.
    static std::vector<Tool> stockTools();
    static void subSetupViewerToolbar(std::vector<Tool> &tools);
    // The bar item that stands for a tool (0 for none).
    int toolItem(int toolId) const;

    void ctToolBar_Menubar_ItemClick(int id);
    void ARViewer_Report_ToolClick(int toolId);
    void subSetBackColor(int id);
    void subPageSetup();
    bool subViewerPrint();
    // Each asks for the file and writes it; true when it was written. The
    // web page then offers to open itself in the browser.
    bool subExportPDF();
    bool subExportHTML();
    bool subExportRTF();

    // The screen colour of a paper item, invalid for another id.
    QColor paperColor(int id) const;

private:
    void buildMenuBar();
    void buildViewerToolBar();
    void syncPageBox();
    // The export's file from the save dialog ("" when cancelled); a name
    // typed without an extension takes `ext`.
    QString exportPath(const QString &title, const QString &filter, const QString &ext);
    // Runs a writer under the hourglass; its failure is told.
    bool writeExport(const std::function<bool(QString *error)> &writer);

    std::unique_ptr<report::Report> m_designer;
    report::Document m_doc;
    QPrinter m_printer{QPrinter::HighResolution};
    std::vector<Tool> m_tools;
    std::vector<int> m_toolOfItem; // bar item (1-based) -> tool id
};
