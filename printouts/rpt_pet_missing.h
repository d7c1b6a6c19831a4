#pragma once
// The missing-pet poster: one page with a large "Missing" title, the pet's
// picture, its name, since when it is missing and whom to call, a box with
// its description, and twelve tear-off strips along the foot of the page,
// each reading "Missing", the species and the number to call. The number and
// the date are asked once, while the page is laid out.

#include "printouts/report_frame.h"

namespace printouts {

class rptPetMissing : public ReportDesigner {
public:
    explicit rptPetMissing(const PrintoutRequest &request);

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{0, 60, 9971, 5000};
    static constexpr int kStrips = 12;

    report::Control *txtMissing1 = nullptr;
    report::Control *Field1 = nullptr, *Field22 = nullptr, *Field23 = nullptr;
    report::Control *Field9 = nullptr, *Field3 = nullptr, *Field4 = nullptr, *Field7 = nullptr, *Field5 = nullptr,
                    *Field6 = nullptr;
    report::Control *Box1 = nullptr;
    report::Control *Label13 = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *strip[kStrips] = {};

protected:
    void reportStart() override;
    void fetchData(bool eof) override;

private:
    void Detail_Format();
    void PageFooter_Format();

    // The number typed in the first question; the strips' text is built from
    // it and kept apart, so that every page's strips read the same.
    QString mContactPhone;
    // The pet's species, read from its row once there is one.
    QString mSpeciesName;
    bool mSpeciesRead = false;
};

} // namespace printouts
