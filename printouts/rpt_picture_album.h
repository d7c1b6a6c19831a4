#pragma once
// The photo album: every picture of the gallery that has a file, in the order
// of their dates, two side by side and four to a page, each with its title,
// its pet, its date and its description under it.

#include "printouts/report_frame.h"

namespace printouts {

class rptPictureAlbum : public ReportDesigner {
public:
    explicit rptPictureAlbum(const PrintoutRequest &request);

    // The box each picture is fitted into, and the description's top when
    // there is no picture, in twips.
    static constexpr QRect kPictureBox{0, 720, 4500, 4500};
    static constexpr int kDescriptionTop = 5220;

    report::Control *Field5 = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *Field1 = nullptr, *Field2 = nullptr, *Field3 = nullptr, *Field4 = nullptr;

protected:
    void reportStart() override;

private:
    void Detail_Format();
};

} // namespace printouts
