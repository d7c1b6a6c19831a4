#include "printouts/rpt_refrigerator.h"

#include "core/globals.h"

namespace printouts {

namespace {

constexpr int kNotesTop = 3000;

} // namespace

rptPetRefrigerator::rptPetRefrigerator(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptPetRefrigerator"));
    DC.setRecordSource(QStringLiteral("qryrptPet"));
    reportHeader()->height = 0;
    pageHeader()->height = 0;

    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader2"), QStringLiteral("GroupFooter4"));
    gh->setGroupColumn(QStringLiteral("pet_name"));
    txtHeading = addHeadingField(gh, QStringLiteral("txtHeading"));
    gh->onFormat = [this] { GroupHeader2_Format(); };
    gf->height = 0;

    // The details beside the picture; then the three notes, and the three
    // lists, each pushed down by as much as what stands above it grew.
    report::Section *d = detail();
    const std::vector<report::Control *> f =
        addDetailRows(d,
                      {{"lblBreed", "Breed:", "txtBreed", "pet_breed"},
                       {"lblDOB", "Birthday:", "txtDOB", "pet_dob"},
                       {"lblHeightLength", "Ht / Len:", "txtHeightLength", "pet_height_length"},
                       {"lblWeight", "Weight:", "txtWeight", "pet_weight"},
                       {"lblVet", "Vet:", "txtVet", "pet_vet"},
                       {"lblVetPhone", "Vet Ph:", "txtVetPhone", "pet_vet_ph"},
                       {"lblSitter", "Sitter:", "txtSitter", "pet_sitter"},
                       {"lblSitterPhone", "Sitter Ph:", "txtSitterPhone", "pet_sitter_ph"},
                       {"lblEmergency", "Em. Contact:", "txtEmergency", "pet_emer"},
                       {"lblEmergencyPhone", "Emerg Ph:", "txtEmergencyPhone", "pet_emer_ph"}},
                      60, kDetailRow, 0, kDetailLabelWidth, kDetailFieldLeft, 3750);
    txtBreed = f[0];
    txtDOB = f[1];
    txtHeightLength = f[2];
    txtWeight = f[3];
    txtVet = f[4];
    txtVetPhone = f[5];
    txtSitter = f[6];
    txtSitterPhone = f[7];
    txtEmergency = f[8];
    txtEmergencyPhone = f[9];
    fldDOB = addAgeField(d, QStringLiteral("fldDOB"), txtDOB, kDetailFieldLeft + 1550, 2200);
    std::tie(fldPicture, picPicture) = addPictureControls(d, kPictureBox);

    int y = kNotesTop;
    rtfFeeding = addNoteRow(d, {"lblFeeding", "Feeding:", "rtfFeeding", "pet_feeding_rtf"}, y);
    rtfCare = addNoteRow(d, {"lblCare", "Care:", "rtfCare", "pet_care_rtf"}, y);
    rtfNotes = addNoteRow(d, {"lblNotes", "Notes:", "rtfNotes", "pet_notes_rtf"}, y);
    auto list = [&](const QString &name) {
        y += 120;
        return d->addSubReport(name, {0, y, SubReportDesigner::kWidth, 0});
    };
    srptVaccinationSub = list(QStringLiteral("srptVaccinationSub"));
    srptCommandSub = list(QStringLiteral("srptCommandSub"));
    srptPropertySub = list(QStringLiteral("srptPropertySub"));
    d->height = y;
    d->onFormat = [this] { Detail_Format(); };

    addPageFooter(true);
    reportFooter()->height = 0;
}

rptPetRefrigerator::~rptPetRefrigerator() = default;

void rptPetRefrigerator::reportStart()
{
    connectData();
    // One pet always: with none chosen there is nothing to show.
    DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet WHERE pet_id = ?"), {qlonglong(petID())});
    m_vaccinationSub = std::make_unique<rptVaccinationSub>();
    m_commandSub = std::make_unique<rptCommandSub>();
    m_propertySub = std::make_unique<rptPropertySub>();
    attachSubReport(srptVaccinationSub, m_vaccinationSub.get(), connectText());
    attachSubReport(srptCommandSub, m_commandSub.get(), connectText());
    attachSubReport(srptPropertySub, m_propertySub.get(), connectText());
}

void rptPetRefrigerator::reportEnd()
{
    for (report::Control *c : {srptVaccinationSub, srptCommandSub, srptPropertySub})
        c->subReport = nullptr;
    m_vaccinationSub.reset();
    m_commandSub.reset();
    m_propertySub.reset();
}

void rptPetRefrigerator::GroupHeader2_Format()
{
    txtHeading->setText(funPetHeading(DC.field(QStringLiteral("pet_name")), DC.field(QStringLiteral("pet_nickname"))));
}

void rptPetRefrigerator::Detail_Format()
{
    if (m_vaccinationSub) {
        // Every vaccination, the latest expiry first.
        m_vaccinationSub->setPetSource(
            QStringLiteral(
                "SELECT * FROM qryrptVaccine WHERE vaccine_pet_id = ? ORDER BY vaccine_expiration_date DESC"),
            mPetID);
        m_commandSub->showPet(mPetID);
        m_propertySub->showPet(mPetID);
    }
    fldDOB->setText(funReportAgeText(DC.field(QStringLiteral("pet_dob"))));
    showFittedPicture(picPicture, fldPicture->text(), kPictureBox);
}

} // namespace printouts
