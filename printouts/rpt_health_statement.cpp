#include "printouts/rpt_health_statement.h"

#include "core/globals.h"
#include "data/schema.h"

namespace printouts {

namespace {

constexpr int kRow = 285;
constexpr int kFieldLeft = 1350;

} // namespace

QString funHealthHeading(const QVariant &name)
{
    QString heading = QStringLiteral("HEALTH STATEMENT");
    if (!name.isNull())
        heading += QStringLiteral(" - ") + name.toString();
    return heading;
}

rptHealthStatement::rptHealthStatement(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptHealthStatement"));
    DC.setRecordSource(QStringLiteral("qryrptPet"));
    reportHeader()->height = 0;
    pageHeader()->height = 0;

    // A statement a pet, by its id: two pets of one name keep their own.
    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader"), QStringLiteral("GroupFooter"));
    gh->setGroupColumn(QStringLiteral("pet_id"));
    gh->newPageBefore = true;
    gh->height = 600;
    txtHeading = gh->addField(QStringLiteral("txtHeading"), {0, 0, kContentWidth, 450});
    txtHeading->font = printoutFont(16, true);
    txtHeading->wordWrap = false;
    gh->addLine(QStringLiteral("lnHeading"), 0, 500, kContentWidth, 500)->lineWidth = 20;
    gh->onFormat = [this] { GroupHeader_Format(); };
    gf->height = 0;

    report::Section *d = detail();
    const std::vector<report::Control *> rows =
        addLabelledFields(d,
                          {{"Name:", "txtName", "pet_name"},
                           {"Breed:", "txtBreed", "pet_breed"},
                           {"Birthday:", "txtDOB", "pet_dob"},
                           {"Gender:", "txtGender", "pet_gender"},
                           {"Color:", "txtColor", "pet_color"},
                           {"Ht / Len:", "txtHeightLength", "pet_height_length"},
                           {"Weight:", "txtWeight", "pet_weight"},
                           {"Vet:", "txtVet", "pet_vet"},
                           {"Vet Ph:", "txtVetPhone", "pet_vet_ph"},
                           {"Em. Contact:", "txtEmergency", "pet_emer"},
                           {"Emerg Ph:", "txtEmergencyPhone", "pet_emer_ph"}},
                          {60, 0, 1300, kFieldLeft, 3750, kRow});
    size_t i = 0;
    for (report::Control **member : {&txtName, &txtBreed, &txtDOB, &txtGender, &txtColor, &txtHeightLength, &txtWeight,
                                     &txtVet, &txtVetPhone, &txtEmergency, &txtEmergencyPhone})
        *member = rows[i++];
    // The age beside the birthday.
    txtDOB->width = 1500;
    txtDOB->outputFormat = QStringLiteral("ddddd h:nn:ss AMPM");
    txtAge = d->addField(QStringLiteral("txtAge"), {kFieldLeft + 1550, txtDOB->top, 2200, kRow - 30});
    txtAge->font = printoutFont(9);
    txtAge->wordWrap = false;

    std::tie(fldPicture, picPicture) = addPictureControls(d, kPictureBox);

    // The insurance under the picture, as long as it is.
    const int insuranceTop = kPictureBox.bottom() + 1 + 120;
    rtfInsurance = addLabelledNote(d, {"Insurance:", "rtfInsurance", "pet_insurance_details_rtf"},
                                   {insuranceTop, 0, 1300, kFieldLeft, 0, kRow});
    d->height = insuranceTop + kRow;
    d->onFormat = [this] { Detail_Format(); };

    // The vaccinations, then the miscellaneous information (footers close
    // innermost first).
    auto list = [this](int level, const QString &name) { return addFooterList(this, level, name); };
    srptPropertySub = list(2, QStringLiteral("srptPropertySub"));
    srptVaccinationSub = list(5, QStringLiteral("srptVaccinationSub"));

    addPageFooter(true);
    reportFooter()->height = 0;
}

rptHealthStatement::~rptHealthStatement() = default;

void rptHealthStatement::reportStart()
{
    connectData();
    setPetRecordSource();
    m_vaccinationSub = std::make_unique<rptVaccinationSub>();
    m_propertySub = std::make_unique<rptPropertySub>();
    m_vaccinationSub->attachTo(srptVaccinationSub, connectText());
    m_propertySub->attachTo(srptPropertySub, connectText());
}

void rptHealthStatement::reportEnd()
{
    srptVaccinationSub->subReport = nullptr;
    srptPropertySub->subReport = nullptr;
    m_vaccinationSub.reset();
    m_propertySub.reset();
}

void rptHealthStatement::GroupHeader_Format()
{
    txtHeading->setText(funHealthHeading(DC.field(QStringLiteral("pet_name"))));
}

void rptHealthStatement::Detail_Format()
{
    if (m_vaccinationSub) {
        m_vaccinationSub->setPetSource(schema::vaccineSummarySql(), mPetID);
        m_propertySub->setPetSource(QStringLiteral("SELECT * FROM qryrptProperty WHERE property_pet_id = ?"), mPetID);
    }
    txtAge->setText(funReportAgeText(DC.field(QStringLiteral("pet_dob"))));
    showFittedPicture(picPicture, fldPicture->text(), kPictureBox);
}

} // namespace printouts
