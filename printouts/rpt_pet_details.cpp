#include "printouts/rpt_pet_details.h"

#include "core/globals.h"

namespace printouts {

namespace {

constexpr int kRow = 285;
constexpr int kLabelWidth = 1300;
constexpr int kFieldLeft = 1350;
constexpr int kNotesTop = 4250;

} // namespace

rptPetDetails::rptPetDetails()
    : m_diary(gPublishDiary), m_vaccinations(gPublishVaccinations), m_commands(gPublishCommands),
      m_misc(gPublishMisc)
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
    gh->height = 600;
    txtHeading = gh->addField(QStringLiteral("txtHeading"), {0, 0, 10040, 450});
    txtHeading->font = printoutFont(16, true);
    txtHeading->wordWrap = false;
    gh->addLine(QStringLiteral("lnHeading"), 0, 500, 10040, 500)->lineWidth = 20;
    gh->onFormat = [this] { GroupHeader_Format(); };
    gf->height = 0;

    // The details beside the picture, then the notes, each as long as it is.
    report::Section *d = detail();
    const QFont fieldFont = printoutFont(9);
    const std::vector<report::Control *> rows = addLabelledFields(
        d, {{"Breed:", "txtBreed", "pet_breed"},
            {"Birthday:", "txtDOB", "pet_dob"},
            {"Gender:", "txtGender", "pet_gender"},
            {"Color:", "txtColor", "pet_color"},
            {"Ht / Len:", "txtHeightLength", "pet_height_length"},
            {"Weight:", "txtWeight", "pet_weight"},
            {"Father:", "txtFather", "pet_father"},
            {"Mother:", "txtMother", "pet_mother"},
            {"Vet:", "txtVet", "pet_vet"},
            {"Vet Ph:", "txtVetPhone", "pet_vet_ph"},
            {"Sitter:", "txtSitter", "pet_sitter"},
            {"Sitter Ph:", "txtSitterPhone", "pet_sitter_ph"},
            {"Em. Contact:", "txtEmergency", "pet_emer"},
            {"Emerg Ph:", "txtEmergencyPhone", "pet_emer_ph"}},
        {60, 0, kLabelWidth, kFieldLeft, 3750, kRow});
    size_t i = 0;
    for (report::Control **member : {&txtBreed, &txtDOB, &txtGender, &txtColor, &txtHeightLength, &txtWeight,
                                     &txtFather, &txtMother, &txtVet, &txtVetPhone, &txtSitter, &txtSitterPhone,
                                     &txtEmergency, &txtEmergencyPhone})
        *member = rows[i++];

    // The age beside the birthday.
    txtDOB->width = 1500;
    txtDOB->outputFormat = QStringLiteral("ddddd h:nn:ss AMPM");
    txtAge = d->addField(QStringLiteral("txtAge"), {kFieldLeft + 1550, txtDOB->top, 2200, kRow - 30});
    txtAge->font = fieldFont;
    txtAge->wordWrap = false;

    fldPicture = d->addField(QStringLiteral("fldPicture"), {0, 0, 100, 100}, QStringLiteral("pet_picture"));
    fldPicture->visible = false;
    picPicture = d->addPicture(QStringLiteral("picPicture"), kPictureBox);
    picPicture->visible = false;

    int y = kNotesTop;
    auto note = [&](const char *caption, const char *name, const char *column) {
        report::Control *r = addLabelledNote(d, {caption, name, column}, {y, 0, kLabelWidth, kFieldLeft, 0, kRow});
        y += kRow + 60;
        return r;
    };
    rtfInsurance = note("Insurance:", "rtfInsurance", "pet_insurance_details_rtf");
    rtfNotes = note("Notes:", "rtfNotes", "pet_notes_rtf");
    rtfCare = note("Care:", "rtfCare", "pet_care_rtf");
    rtfFeeding = note("Feeding:", "rtfFeeding", "pet_feeding_rtf");
    d->height = y;
    d->onFormat = [this] { Detail_Format(); };

    // The four lists under the details, each in a footer of its own, in this
    // order (footers close innermost first). A list left out takes no room.
    auto list = [&](int level, const QString &name) {
        auto [h, f] = addGroup(QStringLiteral("GroupHeader%1").arg(level), QStringLiteral("GroupFooter%1").arg(level));
        h->height = 0;
        f->height = 0;
        return f->addSubReport(name, {0, 180, SubReportDesigner::kWidth, 0});
    };
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
    m_vaccinationSub->attachTo(srptVaccinationSub, connectText());
    m_diarySub->attachTo(srptDiarySub, connectText());
    m_commandSub->attachTo(srptCommandSub, connectText());
    m_propertySub->attachTo(srptPropertySub, connectText());
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
        m_diarySub->setPetSource(
            QStringLiteral("SELECT * FROM qryrptDiary WHERE diary_pet_id = ? ORDER BY diary_date DESC"), mPetID);
        m_vaccinationSub->setPetSource(QStringLiteral("SELECT * FROM qryrptVaccine WHERE vaccine_pet_id = ? "
                                                      "ORDER BY vaccine_expiration_date DESC, vaccine_name ASC"),
                                       mPetID);
        m_commandSub->setPetSource(QStringLiteral("SELECT * FROM qryrptCommand WHERE command_pet_id = ?"), mPetID);
        m_propertySub->setPetSource(QStringLiteral("SELECT * FROM qryrptProperty WHERE property_pet_id = ?"), mPetID);
    }
    txtAge->setText(funReportAgeText(DC.field(QStringLiteral("pet_dob"))));
    srptDiarySub->visible = m_diary;
    srptCommandSub->visible = m_commands;
    srptPropertySub->visible = m_misc;
    srptVaccinationSub->visible = m_vaccinations;
    showFittedPicture(picPicture, fldPicture->text(), kPictureBox);
}

} // namespace printouts
