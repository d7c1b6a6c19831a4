#pragma once
// The four lists a pet printout embeds: vaccinations, diary, commands and
// miscellaneous information. Each has a title and column captions, a line of
// its own when the pet has nothing to list, a row per record and a closing
// line. The printout that embeds one sets its record source for each pet.

#include "printouts/report_frame.h"

#include <QString>
#include <vector>

namespace printouts {

class SubReportDesigner : public ReportDesigner {
public:
    struct Column {
        QString caption;
        QString field;
        int width = 0;
        QString outputFormat;
    };

    // As wide as the printouts' content.
    static constexpr int kWidth = 10040;

    SubReportDesigner(const QString &name, const QString &title, const QString &emptyText, const QString &query,
                      const std::vector<Column> &columns);

    // The list of one pet: `sql` with the pet's id bound to its "?".
    void setPetSource(const QString &sql, long petID);
    // Runs in `control` on the embedding printout's file.
    void attachTo(report::Control *control, const QString &connect);

    report::Control *lblTitle = nullptr;
    report::Control *lblEmpty = nullptr; // shown only when the pet has nothing to list
    std::vector<report::Control *> captions;
    std::vector<report::Control *> fields; // in column order, named after their columns

protected:
    void reportStart() override;
    void fetchData(bool) override {}
    void noData() override;
};

class rptVaccinationSub : public SubReportDesigner {
public:
    rptVaccinationSub();

private:
    // A vaccination that expired before today prints in red; every other row
    // in the normal colour.
    void Detail_Format();
};

class rptDiarySub : public SubReportDesigner {
public:
    rptDiarySub();
    // The pet's entries, the latest first.
    void showPet(long petID);
};

class rptCommandSub : public SubReportDesigner {
public:
    rptCommandSub();
    void showPet(long petID);
};

class rptPropertySub : public SubReportDesigner {
public:
    rptPropertySub();
    void showPet(long petID);
};

// Puts `list` into the sub-report control `control`, reading the data file
// through `connect` (the embedding printout's connection).
void attachSubReport(report::Control *control, SubReportDesigner *list, const QString &connect);

// A list under a pet's details: a sub-report control in a key-less group
// footer of its own at `level` ("GroupFooter<level>"), its header and footer
// bands no higher than the list they hold. The control.
report::Control *addFooterList(report::Report *printout, int level, const QString &name);

// True when a vaccination's row prints in red: its expiry is a date before
// `today` (one that expires today is not yet expired).
bool funVaccinationExpired(const QVariant &expires, const QDate &today);

} // namespace printouts
