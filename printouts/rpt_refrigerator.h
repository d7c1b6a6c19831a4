#pragma once
// The refrigerator page of one pet, for family or friends who look after it:
// the name heading, the details with the vet, sitter and emergency contact,
// the age and picture, the feeding, care and notes texts, then every
// vaccination (the latest expiry first), the commands and the miscellaneous
// information, one under the other for as long as they run.

#include "printouts/report_frame.h"
#include "printouts/rpt_sub_reports.h"

#include <memory>

namespace printouts {

class rptPetRefrigerator : public ReportDesigner {
public:
    explicit rptPetRefrigerator(const PrintoutRequest &request);
    ~rptPetRefrigerator() override;

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{5231, 39, 4805, 2832};

    report::Control *txtHeading = nullptr;
    report::Control *txtDOB = nullptr, *txtBreed = nullptr, *txtVet = nullptr, *txtVetPhone = nullptr,
                    *txtSitter = nullptr, *txtSitterPhone = nullptr, *txtEmergency = nullptr,
                    *txtEmergencyPhone = nullptr, *txtHeightLength = nullptr, *txtWeight = nullptr;
    report::Control *fldDOB = nullptr; // the age
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *rtfFeeding = nullptr, *rtfCare = nullptr, *rtfNotes = nullptr;
    report::Control *srptVaccinationSub = nullptr, *srptCommandSub = nullptr, *srptPropertySub = nullptr;

protected:
    void reportStart() override;
    void reportEnd() override;

private:
    void GroupHeader2_Format();
    void Detail_Format();

    std::unique_ptr<rptVaccinationSub> m_vaccinationSub;
    std::unique_ptr<rptCommandSub> m_commandSub;
    std::unique_ptr<rptPropertySub> m_propertySub;
};

} // namespace printouts
