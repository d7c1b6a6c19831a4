#pragma once
// The printouts: the catalogue of the thirteen printouts (gReports) and the
// dispatcher through which the rest of the program reaches them.

#include <QString>

class QWidget;

namespace report_handler {

// 22 builds the catalogue (True).  Opening a printout (19) and the printouts
// view (5) are not part of the program yet and, like any other code, answer
// False without a message.
bool funReportHandler(QWidget *form, int action, long reportID, long recordID, bool modal);

// Builds gReports afresh: one empty entry, then the thirteen printouts in id order.
bool funReportInitialize();

// Appends one printout to the catalogue; the first one fills the empty entry 1.
void subReportAdd(int reportID, long kind, const QString &name, const QString &description,
                  const QString &recordSource, long smallImage, long largeImage);

} // namespace report_handler
