#pragma once
// The greeting card: on a landscape page, the user's title above the pet's
// picture and the greeting below it, in the right half of the sheet, so that
// the sheet folded once makes the card's front.

#include "printouts/report_frame.h"

namespace printouts {

class rptPetGreetingCard : public ReportDesigner {
public:
    // The title and greeting are the request's, which the options filled.
    explicit rptPetGreetingCard(const PrintoutRequest &request);

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{7355, 60, 6255, 4366};

    QString title() const { return m_title; }
    QString greeting() const { return m_greeting; }

    report::Control *txtReportTitle = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *txtReportFooter = nullptr;

protected:
    void reportStart() override;

private:
    void GroupHeader1_Format();
    void Detail_Format();
    void GroupFooter1_Format();

    QString m_title, m_greeting;
};

} // namespace printouts
