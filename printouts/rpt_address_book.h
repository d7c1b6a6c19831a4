#pragma once
// The address book listing: every person in name order, two to a row, under
// a heading letter for each first letter, with links on the e-mail address
// and the web site, and "Page n of m" at the foot.

#include "printouts/report_frame.h"

namespace printouts {

// The link of a person's web site and e-mail address as the listing prints
// them: none for a missing or blank value; a site gets "http://" only when it
// names no scheme of its own, an address "mailto:" only when it lacks one.
QString funListingSiteLink(const QVariant &www);
QString funListingMailLink(const QVariant &email);
// The heading letter of a name: its first letter as a capital, so that
// "adam" and "Anna" stand under one "A"; "" for a missing or blank name.
QString funListingInitial(const QVariant &name);

class rptAddressBook : public ReportDesigner {
public:
    explicit rptAddressBook(const PrintoutRequest &request);

    report::Control *txtReportTitle = nullptr;
    report::Control *lblLetter = nullptr;
    report::Control *Field1 = nullptr, *Field2 = nullptr, *Field3 = nullptr, *Field4 = nullptr, *Field5 = nullptr,
                    *Field6 = nullptr, *Field7 = nullptr, *Field8 = nullptr, *Field9 = nullptr;
    report::Control *Line1 = nullptr;
    report::Section *GroupHeader2 = nullptr;

protected:
    void reportStart() override;
    void fetchData(bool eof) override;

private:
    void Detail_Format();
};

} // namespace printouts
