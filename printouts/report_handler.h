#pragma once
// The printouts: the catalogue of the thirteen printouts and the dispatcher
// through which the rest of the program reaches them.

#include "printouts/printout_request.h"

#include <QString>
#include <memory>
#include <vector>

class QWidget;

namespace report {
class Report;
}

namespace report_handler {

// The option window a printout asks before it opens; a cancelled one opens
// nothing.
enum class PrintoutOptions { None, Trip, Greeting, Publish };

// One printout of the catalogue.  Kind says where it is listed: 0 nowhere (the
// picture print), 1 on the pet panel, 2 in the printouts view, 3 in both.  The
// images are indexes into the icon store's printout group (2).
struct ReportEntry {
    int ReportID = 0;
    long ListTag = 13; // the printouts view; the list item's tag
    long Kind = 0;
    QString Name;
    QString Description;
    QString RecordSource;
    long SmallImage = 0;
    long LargeImage = 0;
    // The layout, made afresh for each open; none for a printout not built yet.
    std::unique_ptr<report::Report> (*makeDesigner)(const PrintoutRequest &request) = nullptr;
    PrintoutOptions options = PrintoutOptions::None;
};

// The catalogue: the thirteen printouts in id order.
const std::vector<ReportEntry> &funReportCatalogue();
// The catalogue's printout `reportID`, or none.
const ReportEntry *funReportEntry(long reportID);

// 22 builds the catalogue (True), 19 opens a printout, 5 shows the printouts
// view; any other code answers False without a message.
bool funReportHandler(QWidget *form, int action, long reportID, long recordID, bool modal);

// Opens printout `reportID` for record `recordID` (0: all, or none): the
// printout runs first, and its viewer opens only when it has pages, modal and
// owned by `form`, or on its own. False for an unknown printout, a cancelled
// option window, and a printout whose layout the program does not have yet.
bool funReportOpen(QWidget *form, long reportID, long recordID, bool modal);

// The publish options, modal and owned by `form`: true when the user
// confirmed them, the request's publish flags then set.
bool funReportPublishOptions(QWidget *form, PrintoutRequest &request);

// The layout of printout `request.reportID` for `request`, made afresh for
// each open; none for an unknown printout or one not built yet.
std::unique_ptr<report::Report> funNewDesigner(const PrintoutRequest &request);

// The printouts view of the main window: the printouts of kind 2 and 3.
bool funReportShow(QWidget *form);
// The main toolbar for the printouts view.
void subReportToolBar(QWidget *form);

// The catalogue is a fixed table: nothing is left to build, and the answer is True.
bool funReportInitialize();

} // namespace report_handler
