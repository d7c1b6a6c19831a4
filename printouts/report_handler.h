#pragma once
// The printouts: the catalogue of the thirteen printouts (gReports) and the
// dispatcher through which the rest of the program reaches them.

#include <QString>
#include <memory>

class QWidget;

namespace report {
class Report;
}

namespace report_handler {

// 22 builds the catalogue (True), 19 opens a printout, 5 shows the printouts
// view; any other code answers False without a message.
bool funReportHandler(QWidget *form, int action, long reportID, long recordID, bool modal);

// Opens printout `reportID` for record `recordID` (0: all, or none): the
// printout runs first, and its viewer opens only when it has pages, modal and
// owned by `form`, or on its own. False for an unknown printout, a cancelled
// option window, and a printout whose layout the program does not have yet.
bool funReportOpen(QWidget *form, long reportID, long recordID, bool modal);

// The publish options, modal and owned by `form`: true when the user
// confirmed them (gReportOptionsOK), the publish flags then set.
bool funReportPublishOptions(QWidget *form);

// The layout of a printout, made afresh for each open; none for a printout
// not built yet.
std::unique_ptr<report::Report> funNewDesigner(long reportID);

// The printouts view of the main window: the printouts of kind 2 and 3.
bool funReportShow(QWidget *form);
// The main toolbar for the printouts view.
void subReportToolBar(QWidget *form);

// Builds gReports afresh: one empty entry, then the thirteen printouts in id order.
bool funReportInitialize();

// Appends one printout to the catalogue; the first one fills the empty entry 1.
void subReportAdd(int reportID, long kind, const QString &name, const QString &description,
                  const QString &recordSource, long smallImage, long largeImage);

} // namespace report_handler
