#pragma once
// Everything about a pet, or about every pet, one pet to a page onward: the
// heading, the details with the age, contacts and picture, the four notes,
// and the lists of vaccinations, diary entries, commands and miscellaneous
// information, each of which the web page may leave out.

#include "printouts/report_frame.h"
#include "printouts/rpt_sub_reports.h"

#include <memory>

namespace printouts {

class rptPetDetails : public ReportDesigner {
public:
    explicit rptPetDetails(const PrintoutRequest &request);
    ~rptPetDetails() override;

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{5231, 39, 4779, 4071};

    report::Control *txtHeading = nullptr;
    report::Control *txtDOB = nullptr, *txtBreed = nullptr, *txtColor = nullptr, *txtVet = nullptr,
                    *txtVetPhone = nullptr, *txtMother = nullptr, *txtFather = nullptr, *txtWeight = nullptr,
                    *txtHeightLength = nullptr, *txtGender = nullptr, *txtSitter = nullptr, *txtSitterPhone = nullptr,
                    *txtEmergency = nullptr, *txtEmergencyPhone = nullptr;
    report::Control *txtAge = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *rtfInsurance = nullptr, *rtfNotes = nullptr, *rtfCare = nullptr, *rtfFeeding = nullptr;
    report::Control *srptVaccinationSub = nullptr, *srptDiarySub = nullptr, *srptCommandSub = nullptr,
                    *srptPropertySub = nullptr;

protected:
    void reportStart() override;
    void reportEnd() override;

private:
    void GroupHeader_Format();
    void Detail_Format();

    // What the web page holds, as the open set it.
    bool m_diary, m_vaccinations, m_commands, m_misc;
    std::unique_ptr<rptVaccinationSub> m_vaccinationSub;
    std::unique_ptr<rptDiarySub> m_diarySub;
    std::unique_ptr<rptCommandSub> m_commandSub;
    std::unique_ptr<rptPropertySub> m_propertySub;
};

} // namespace printouts
