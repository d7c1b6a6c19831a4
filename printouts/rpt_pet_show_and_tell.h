#pragma once
// The show-and-tell paper: one pet's name heading with its nickname, its
// details with the birthday and age, its picture beside them, and its notes,
// care and feeding texts as formatted text, each as long as it is.

#include "printouts/report_frame.h"

namespace printouts {

class rptPetShowAndTell : public ReportDesigner {
public:
    explicit rptPetShowAndTell(const PrintoutRequest &request);

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{5231, 39, 4779, 2243};

    report::Control *Field1 = nullptr;
    report::Control *Field3 = nullptr, *Field5 = nullptr, *Field6 = nullptr, *Field7 = nullptr, *Field8 = nullptr,
                    *Field9 = nullptr, *Field10 = nullptr, *Field11 = nullptr;
    report::Control *fldDOB = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *RichEdit1 = nullptr, *RichEdit2 = nullptr, *RichEdit3 = nullptr;

protected:
    void reportStart() override;

private:
    void GroupHeader2_Format();
    void Detail_Format();
};

} // namespace printouts
