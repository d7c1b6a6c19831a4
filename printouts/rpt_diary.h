#pragma once
// A pet's diary: the heading "<name>'s Diary", the pet's details with its
// age and picture, and every diary entry, the latest first, going on over as
// many pages as it takes, each page with its footer and page numbers.

#include "printouts/report_frame.h"
#include "printouts/rpt_sub_reports.h"

#include <memory>

namespace printouts {

// The heading: the name, then "' Diary" when it ends in a small "s" and
// "'s Diary" otherwise; "Diary" alone for a pet without a name.
QString funDiaryHeading(const QVariant &name);

class rptDiary : public ReportDesigner {
public:
    explicit rptDiary(const PrintoutRequest &request);
    ~rptDiary() override;

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{5290, 39, 4720, 2596};

    report::Control *Field1 = nullptr; // the heading
    report::Control *Field2 = nullptr, *Field3 = nullptr, *Field5 = nullptr, *Field6 = nullptr, *Field7 = nullptr,
                    *Field8 = nullptr, *Field9 = nullptr, *Field10 = nullptr, *Field13 = nullptr;
    report::Control *fldDOB = nullptr; // the age
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *srptDiarySub = nullptr;

protected:
    void reportStart() override;
    void reportEnd() override;

private:
    void GroupHeader2_Format();
    void Detail_Format();

    std::unique_ptr<rptDiarySub> m_diarySub;
};

} // namespace printouts
