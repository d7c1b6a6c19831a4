#include "printouts/rpt_pet_details.h"

#include "core/globals.h"

namespace printouts {

namespace {

constexpr int kNotesTop = 4250;

} // namespace

rptPetDetails::rptPetDetails(const PrintoutRequest &request)
    : ReportDesigner(request), m_diary(request.publishDiary), m_vaccinations(request.publishVaccinations),
      m_commands(request.publishCommands), m_misc(request.publishMisc)
{
    setName(QStringLiteral("rptPetDetails"));
    DC.setRecordSource(QStringLiteral("qryrptPet"));
    reportHeader()->height = 0;
    pageHeader()->height = 0;

    // One group a pet: by its id, so that two pets of one name keep their own
    // headings and lists.
    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader1"), QStringLiteral("GroupFooter1"));
    gh->setGroupColumn(QStringLiteral("pet_id"));
    gh->newPageBefore = true;
    txtHeading = addHeadingField(gh, QStringLiteral("txtHeading"));
    gh->onFormat = [this] { GroupHeader_Format(); };
    gf->height = 0;

    // The details beside the picture, then the notes, each as long as it is.
    report::Section *d = detail();
    const std::vector<report::Control *> f =
        addDetailRows(d,
                      {{"lblBreed", "Breed:", "txtBreed", "pet_breed"},
                       {"lblDOB", "Birthday:", "txtDOB", "pet_dob"},
                       {"lblGender", "Gender:", "txtGender", "pet_gender"},
                       {"lblColor", "Color:", "txtColor", "pet_color"},
                       {"lblHeightLength", "Ht / Len:", "txtHeightLength", "pet_height_length"},
                       {"lblWeight", "Weight:", "txtWeight", "pet_weight"},
                       {"lblFather", "Father:", "txtFather", "pet_father"},
                       {"lblMother", "Mother:", "txtMother", "pet_mother"},
                       {"lblVet", "Vet:", "txtVet", "pet_vet"},
                       {"lblVetPhone", "Vet Ph:", "txtVetPhone", "pet_vet_ph"},
                       {"lblSitter", "Sitter:", "txtSitter", "pet_sitter"},
                       {"lblSitterPhone", "Sitter Ph:", "txtSitterPhone", "pet_sitter_ph"},
                       {"lblEmergency", "Em. Contact:", "txtEmergency", "pet_emer"},
                       {"lblEmergencyPhone", "Emerg Ph:", "txtEmergencyPhone", "pet_emer_ph"}},
                      60, kDetailRow, 0, kDetailLabelWidth, kDetailFieldLeft, 3750);
    txtBreed = f[0];
    txtDOB = f[1];
    txtGender = f[2];
    txtColor = f[3];
    txtHeightLength = f[4];
    txtWeight = f[5];
    txtFather = f[6];
    txtMother = f[7];
    txtVet = f[8];
    txtVetPhone = f[9];
    txtSitter = f[10];
    txtSitterPhone = f[11];
    txtEmergency = f[12];
    txtEmergencyPhone = f[13];
    // The age beside the birthday.
    txtAge = addAgeField(d, QStringLiteral("txtAge"), txtDOB, kDetailFieldLeft + 1550, 2200);
    std::tie(fldPicture, picPicture) = addPictureControls(d, kPictureBox);

    int y = kNotesTop;
    rtfInsurance = addNoteRow(d, {"lblInsurance", "Insurance:", "rtfInsurance", "pet_insurance_details_rtf"}, y);
    rtfNotes = addNoteRow(d, {"lblNotes", "Notes:", "rtfNotes", "pet_notes_rtf"}, y);
    rtfCare = addNoteRow(d, {"lblCare", "Care:", "rtfCare", "pet_care_rtf"}, y);
    rtfFeeding = addNoteRow(d, {"lblFeeding", "Feeding:", "rtfFeeding", "pet_feeding_rtf"}, y);
    d->height = y;
    d->onFormat = [this] { Detail_Format(); };

    // The four lists under the details, each in a footer of its own, in this
    // order (footers close innermost first). A list left out takes no room.
    auto list = [this](int level, const QString &name) { return addFooterList(this, level, name); };
    srptPropertySub = list(2, QStringLiteral("srptPropertySub"));
    srptCommandSub = list(3, QStringLiteral("srptCommandSub"));
    srptDiarySub = list(4, QStringLiteral("srptDiarySub"));
    srptVaccinationSub = list(5, QStringLiteral("srptVaccinationSub"));

    addPageFooter(true);
    reportFooter()->height = 0;
}

rptPetDetails::~rptPetDetails() = default;

void rptPetDetails::reportStart()
{
    connectData();
    setPetRecordSource();
    m_vaccinationSub = std::make_unique<rptVaccinationSub>();
    m_diarySub = std::make_unique<rptDiarySub>();
    m_commandSub = std::make_unique<rptCommandSub>();
    m_propertySub = std::make_unique<rptPropertySub>();
    attachSubReport(srptVaccinationSub, m_vaccinationSub.get(), connectText());
    attachSubReport(srptDiarySub, m_diarySub.get(), connectText());
    attachSubReport(srptCommandSub, m_commandSub.get(), connectText());
    attachSubReport(srptPropertySub, m_propertySub.get(), connectText());
}

void rptPetDetails::reportEnd()
{
    for (report::Control *c : {srptVaccinationSub, srptDiarySub, srptCommandSub, srptPropertySub})
        c->subReport = nullptr;
    m_vaccinationSub.reset();
    m_diarySub.reset();
    m_commandSub.reset();
    m_propertySub.reset();
}

void rptPetDetails::GroupHeader_Format()
{
    txtHeading->setText(funPetHeading(DC.field(QStringLiteral("pet_name")), DC.field(QStringLiteral("pet_nickname"))));
}

void rptPetDetails::Detail_Format()
{
    if (m_diarySub) {
        m_diarySub->showPet(mPetID);
        m_vaccinationSub->setPetSource(QStringLiteral("SELECT * FROM qryrptVaccine WHERE vaccine_pet_id = ? "
                                                      "ORDER BY vaccine_expiration_date DESC, vaccine_name ASC"),
                                       mPetID);
        m_commandSub->showPet(mPetID);
        m_propertySub->showPet(mPetID);
    }
    txtAge->setText(funReportAgeText(DC.field(QStringLiteral("pet_dob"))));
    srptDiarySub->visible = m_diary;
    srptCommandSub->visible = m_commands;
    srptPropertySub->visible = m_misc;
    srptVaccinationSub->visible = m_vaccinations;
    showFittedPicture(picPicture, fldPicture->text(), kPictureBox);
}

} // namespace printouts
