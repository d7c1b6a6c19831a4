#pragma once
// A health statement for one pet, or one for each pet, each on a page of its
// own: the heading, the main details with the age and the picture, the
// insurance details, the vaccinations summed up one line a vaccine (its
// latest shot), and the miscellaneous information.

#include "printouts/report_frame.h"
#include "printouts/rpt_sub_reports.h"

#include <memory>

namespace printouts {

class rptHealthStatement : public ReportDesigner {
public:
    explicit rptHealthStatement(const PrintoutRequest &request);
    ~rptHealthStatement() override;

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{5220, 90, 4770, 3870};

    report::Control *txtHeading = nullptr;
    report::Control *txtName = nullptr, *txtBreed = nullptr, *txtDOB = nullptr, *txtAge = nullptr, *txtGender = nullptr,
                    *txtColor = nullptr, *txtHeightLength = nullptr, *txtWeight = nullptr, *txtVet = nullptr,
                    *txtVetPhone = nullptr, *txtEmergency = nullptr, *txtEmergencyPhone = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *rtfInsurance = nullptr;
    report::Control *srptVaccinationSub = nullptr, *srptPropertySub = nullptr;

protected:
    void reportStart() override;
    void reportEnd() override;

private:
    void GroupHeader_Format();
    void Detail_Format();

    std::unique_ptr<rptVaccinationSub> m_vaccinationSub;
    std::unique_ptr<rptPropertySub> m_propertySub;
};

// "HEALTH STATEMENT", then " - " and the name when the pet has one.
QString funHealthHeading(const QVariant &name);

} // namespace printouts
