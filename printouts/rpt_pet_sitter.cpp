#include "printouts/rpt_pet_sitter.h"

#include "platform/dates.h"
#include "core/globals.h"
#include "core/settings.h"
#include "data/schema.h"
#include "platform/dialogs.h"

namespace printouts {

namespace {

constexpr int kRow = 285;
constexpr int kFieldLeft = 1350;
constexpr int kTripRow = 330;

const QString kTitle = QStringLiteral("Pet Sitter Instructions");

// A text column that holds something other than blanks.
bool hasText(const QVariant &v) { return !v.isNull() && !v.toString().trimmed().isEmpty(); }

} // namespace

QString funBlankTripLine() { return QString(61, QLatin1Char('_')); }

QString funTripWhere(const QVariant &name, const QVariant &location)
{
    QString text = name.isNull() ? QString() : name.toString();
    if (hasText(location))
        text += QStringLiteral(" (") + location.toString() + QStringLiteral(")");
    return text.trimmed();
}

QString funTripWhen(const QVariant &date, const QVariant &timeOfDay)
{
    QString text;
    const QDateTime when = dateTimeFromDb(date);
    if (when.isValid())
        text = vbFormatGeneralDate(when);
    else if (!date.isNull())
        text = date.toString();
    if (hasText(timeOfDay))
        text += QStringLiteral(" (") + timeOfDay.toString() + QStringLiteral(")");
    return text.trimmed();
}

rptPetSitter::rptPetSitter(const PrintoutRequest &request) : ReportDesigner(request), m_tripID(request.tripID)
{
    setName(QStringLiteral("rptPetSitter"));
    DC.setRecordSource(QStringLiteral("qryrptTrip"));

    report::Section *rh = reportHeader();
    rh->height = 700;
    lblTitle = rh->addLabel(QStringLiteral("lblTitle"), {0, 0, kContentWidth, 500}, kTitle);
    lblTitle->font = printoutFont(18, true);
    lblTitle->wordWrap = false;
    rh->addLine(QStringLiteral("lnTitle"), 0, 600, kContentWidth, 600)->lineWidth = 20;
    rh->onFormat = [this] { ReportHeader_Format(); };
    pageHeader()->height = 0;

    // The trip once, above the pets. Its key is a column only the trips
    // have: without a trip the source has none, which reads as one group.
    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader2"), QStringLiteral("GroupFooter4"));
    gh->setGroupColumn(QStringLiteral("trip_name"));
    gh->addLabel(QStringLiteral("lblTripDetails"), {0, 60, 4000, 300}, QStringLiteral("Trip Details:"))->font =
        printoutFont(11, true);
    const std::vector<report::Control *> trip =
        addLabelledFields(gh,
                          {{"Where:", "fldWhere", nullptr},
                           {"Leaving:", "fldLeaving", nullptr},
                           {"Returning:", "fldReturning", nullptr},
                           {"Staying at:", "fldStayingAt", "trip_contact_location"},
                           {"Number to contact:", "fldContactNumber", "trip_contact_number"},
                           {"General Instuctions:", "fldInstructions", "trip_notes"}},
                          {420, 0, 1900, 2000, kContentWidth - 2000, kTripRow});
    size_t i = 0;
    for (report::Control **member :
         {&fldWhere, &fldLeaving, &fldReturning, &fldStayingAt, &fldContactNumber, &fldInstructions})
        *member = trip[i++];
    fldInstructions->wordWrap = true;
    fldInstructions->canGrow = true;
    gh->height = 420 + 6 * kTripRow + 120;
    gh->onFormat = [this] { GroupHeader2_Format(); };
    gf->height = 0;

    // A pet: its heading, the details beside the picture, the three notes
    // and its vaccinations, each as long as it is.
    report::Section *d = detail();
    d->addLine(QStringLiteral("lnPet"), 0, 30, kContentWidth, 30)->lineWidth = 10;
    txtHeading = d->addField(QStringLiteral("txtHeading"), {0, 90, 5200, 330});
    txtHeading->font = printoutFont(12, true);
    txtHeading->wordWrap = false;
    const std::vector<report::Control *> rows =
        addLabelledFields(d,
                          {{"Nickname:", "txtNickname", "pet_nickname"},
                           {"Breed:", "txtBreed", "pet_breed"},
                           {"Age:", "fldDOB", nullptr},
                           {"Gender:", "txtGender", "pet_gender"},
                           {"Color:", "txtColor", "pet_color"},
                           {"Ht / Len:", "txtHeightLength", "pet_height_length"},
                           {"Weight:", "txtWeight", "pet_weight"},
                           {"Vet:", "txtVet", "pet_vet"},
                           {"Vet Ph:", "txtVetPhone", "pet_vet_ph"},
                           {"Em. Contact:", "txtEmergency", "pet_emer"},
                           {"Emerg Ph:", "txtEmergencyPhone", "pet_emer_ph"}},
                          {480, 0, 1300, kFieldLeft, 3800, kRow});
    fldDOB = rows[2];

    std::tie(fldPicture, picPicture) = addPictureControls(d, kPictureBox);

    int y = 480 + int(rows.size()) * kRow + 120;
    auto note = [&](const char *caption, const char *name, const char *column) {
        report::Control *r = addLabelledNote(d, {caption, name, column}, {y, 0, 1300, kFieldLeft, 0, kRow});
        y += kRow + 60;
        return r;
    };
    rtfFeeding = note("Feeding:", "rtfFeeding", "pet_feeding_rtf");
    rtfCare = note("Care:", "rtfCare", "pet_care_rtf");
    rtfNotes = note("Notes:", "rtfNotes", "pet_notes_rtf");
    srptVaccinationSub =
        d->addSubReport(QStringLiteral("srptVaccinationSub"), {0, y + 120, SubReportDesigner::kWidth, 0});
    d->height = y + 240;
    d->onFormat = [this] { Detail_Format(); };

    addPageFooter(true);
    reportFooter()->height = 0;
}

rptPetSitter::~rptPetSitter() = default;

void rptPetSitter::reportStart()
{
    connectData();
    // The trip's rows are one a pet; without a trip, the pets alone.
    if (m_tripID != 0 && petID() != 0)
        DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptTrip WHERE trip_id = ? AND pet_id = ? "
                                          "ORDER BY pet_name, pet_id"),
                           {qlonglong(m_tripID), qlonglong(petID())});
    else if (m_tripID != 0)
        DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptTrip WHERE trip_id = ? ORDER BY pet_name, pet_id"),
                           {qlonglong(m_tripID)});
    else
        setPetRecordSource();
    m_vaccinationSub = std::make_unique<rptVaccinationSub>();
    m_vaccinationSub->attachTo(srptVaccinationSub, connectText());
}

void rptPetSitter::reportEnd()
{
    srptVaccinationSub->subReport = nullptr;
    m_vaccinationSub.reset();
}

void rptPetSitter::ReportHeader_Format()
{
    if (!m_contact) {
        const QString stored = settings::text(Setting::SitterContact);
        QString answer;
        {
            NormalPointer pointer;
            answer = ui::dialogs().inputBox(nullptr,
                                            QStringLiteral("Please enter a contact name so your sitter/kennel can "
                                                           "identify these instructions, or leave blank to show no "
                                                           "contact:"),
                                            QStringLiteral("Contact Information"), stored);
        }
        answer = trimBlanks(answer);
        // A blank answer or a cancel keeps the stored name for next time.
        if (!answer.isEmpty())
            settings::set(Setting::SitterContact, answer);
        m_contact = answer;
    }
    lblTitle->caption = m_contact->isEmpty() ? kTitle : kTitle + QStringLiteral(" - ") + *m_contact;
}

void rptPetSitter::GroupHeader2_Format()
{
    if (m_tripID == 0) {
        for (report::Control *f : {fldWhere, fldLeaving, fldReturning, fldStayingAt, fldContactNumber, fldInstructions})
            f->setText(funBlankTripLine());
        return;
    }
    fldWhere->setText(funTripWhere(DC.field(QStringLiteral("trip_name")), DC.field(QStringLiteral("trip_location"))));
    fldLeaving->setText(
        funTripWhen(DC.field(QStringLiteral("trip_date_begin")), DC.field(QStringLiteral("trip_date_begin_tod"))));
    fldReturning->setText(
        funTripWhen(DC.field(QStringLiteral("trip_date_end")), DC.field(QStringLiteral("trip_date_end_tod"))));
}

void rptPetSitter::Detail_Format()
{
    const QVariant name = DC.field(QStringLiteral("pet_name"));
    txtHeading->setText(QStringLiteral("Specific Instructions for ")
                        + (name.isNull() ? QStringLiteral("Pet") : name.toString()));
    fldDOB->setText(funReportAgeText(DC.field(QStringLiteral("pet_dob"))));
    if (m_vaccinationSub)
        m_vaccinationSub->setPetSource(schema::vaccineSummarySql(), mPetID);
    showFittedPicture(picPicture, fldPicture->text(), kPictureBox);
}

} // namespace printouts
