#pragma once
// The pet poster: one page with the pet's name heading and its picture as
// large as the page allows.

#include "printouts/report_frame.h"

namespace printouts {

class rptPetPoster : public ReportDesigner {
public:
    explicit rptPetPoster(const PrintoutRequest &request);

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{39, 39, 9950, 12153};

    report::Control *Field1 = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;

protected:
    void reportStart() override;

private:
    void PageHeader_Format();
    void Detail_Format();
};

} // namespace printouts
