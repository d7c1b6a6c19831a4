#pragma once
// One picture of the gallery on a page: its title as the heading, the
// picture as large as the page allows, and its description right under it,
// as wide as the picture.

#include "printouts/report_frame.h"

namespace printouts {

class rptPicturePoster : public ReportDesigner {
public:
    // Prints the picture whose id the open passed (in place of a pet's).
    explicit rptPicturePoster(const PrintoutRequest &request);

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{39, 39, 9950, 11500};

    report::Control *Field1 = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *Field2 = nullptr;

protected:
    void reportStart() override;

private:
    void Detail_Format();
    void GroupFooter1_Format();
};

} // namespace printouts
