#pragma once
// The instructions for the pet sitter or kennel: a title with the contact
// the user names, the trip's details (or lines to fill in by hand when no
// trip was chosen), and for each pet its details, age and picture, the
// feeding, care and notes texts, and its vaccinations summed up one line a
// vaccine.

#include "printouts/report_frame.h"
#include "printouts/rpt_sub_reports.h"

#include <memory>
#include <optional>

namespace printouts {

class rptPetSitter : public ReportDesigner {
public:
    // Takes the trip the options chose (0: none) with the other globals.
    explicit rptPetSitter(const PrintoutRequest &request);
    ~rptPetSitter() override;

    // The box the picture is fitted into, in twips.
    static constexpr QRect kPictureBox{5310, 450, 4320, 2970};

    long tripID() const { return m_tripID; }

    report::Control *lblTitle = nullptr;
    report::Control *fldWhere = nullptr, *fldLeaving = nullptr, *fldReturning = nullptr, *fldStayingAt = nullptr,
                    *fldContactNumber = nullptr, *fldInstructions = nullptr;
    report::Control *txtHeading = nullptr;
    report::Control *fldDOB = nullptr;
    report::Control *fldPicture = nullptr;
    report::Control *picPicture = nullptr;
    report::Control *rtfFeeding = nullptr, *rtfCare = nullptr, *rtfNotes = nullptr;
    report::Control *srptVaccinationSub = nullptr;

protected:
    void reportStart() override;
    void reportEnd() override;

private:
    void ReportHeader_Format();
    void GroupHeader2_Format();
    void Detail_Format();

    long m_tripID = 0;
    // The contact asked for once a printout: a second run prints the answer
    // it already has.
    std::optional<QString> m_contact;
    std::unique_ptr<rptVaccinationSub> m_vaccinationSub;
};

// The line to fill in by hand that stands for each trip detail without a trip.
QString funBlankTripLine();
// "Where:": the trip's name, then " (" location ")" when it has a location.
QString funTripWhere(const QVariant &name, const QVariant &location);
// "Leaving:" and "Returning:": the date, then " (" time of day ")" when one is set.
QString funTripWhen(const QVariant &date, const QVariant &timeOfDay);

} // namespace printouts
