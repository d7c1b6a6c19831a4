#include "printouts/rpt_pet_show_and_tell.h"

namespace printouts {

namespace {

constexpr int kLabelLeft = 118;
constexpr int kFieldLeft = 1357;
constexpr int kRowHeight = 270;
constexpr int kFieldWidth = 3800;
constexpr int kRichWidth = 8650;

} // namespace

rptPetShowAndTell::rptPetShowAndTell(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptPetShowAndTell"));
    DC.setRecordSource(QStringLiteral("qryrptPet"));
    reportHeader()->height = 0;
    pageHeader()->height = 210;

    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader2"), QStringLiteral("GroupFooter4"));
    gh->setGroupColumn(QStringLiteral("pet_name"));
    gh->height = 510;
    Field1 = gh->addField(QStringLiteral("Field1"), {78, 78, 9853, 354}, QStringLiteral("pet_name"));
    Field1->font = printoutFont(16, true);
    Field1->wordWrap = false;
    gh->onFormat = [this] { GroupHeader2_Format(); };
    gf->height = 0;

    report::Section *d = detail();
    d->height = 3329;
    const QFont labelFont = printoutFont(10, true), fieldFont = printoutFont(10);
    // A label and its field a row, top down.
    struct Row {
        int top;
        const char *label, *caption, *field, *column;
        report::Control *rptPetShowAndTell::*member;
    };
    static const Row rows[] = {
        {59, "Text4", "Birthday:", "Field3", "pet_dob", &rptPetShowAndTell::Field3},
        {354, "Text6", "Breed:", "Field5", "pet_breed", &rptPetShowAndTell::Field5},
        {649, "Text7", "Color:", "Field6", "pet_color", &rptPetShowAndTell::Field6},
        {944, "Text3", "Mother:", "Field7", "pet_mother", &rptPetShowAndTell::Field7},
        {1239, "Text1", "Father:", "Field8", "pet_father", &rptPetShowAndTell::Field8},
        {1534, "Text16", "Weight:", "Field9", "pet_weight", &rptPetShowAndTell::Field9},
        {1829, "Text15", "Ht / Len:", "Field10", "pet_height_length", &rptPetShowAndTell::Field10},
        {2124, "Text14", "Gender:", "Field11", "pet_gender", &rptPetShowAndTell::Field11},
    };
    for (const Row &r : rows) {
        d->addLabel(QLatin1String(r.label), {kLabelLeft, r.top, kFieldLeft - kLabelLeft - 40, kRowHeight},
                    QLatin1String(r.caption))
            ->font = labelFont;
        report::Control *f =
            d->addField(QLatin1String(r.field), {kFieldLeft, r.top, kFieldWidth, kRowHeight}, QLatin1String(r.column));
        f->font = fieldFont;
        f->wordWrap = false;
        this->*r.member = f;
    }
    // The birthday as stored, the age beside it.
    Field3->width = 2655 - kFieldLeft - 60;
    Field3->outputFormat = QStringLiteral("ddddd h:nn:ss AMPM");
    fldDOB = d->addField(QStringLiteral("fldDOB"), {2655, 59, kPictureBox.left() - 2655 - 60, kRowHeight});
    fldDOB->font = fieldFont;
    fldDOB->wordWrap = false;

    fldPicture = d->addField(QStringLiteral("fldPicture"), {kFieldLeft, 0, 100, 100}, QStringLiteral("pet_picture"));
    fldPicture->visible = false;
    picPicture = d->addPicture(QStringLiteral("picPicture"), kPictureBox);
    picPicture->visible = false;

    // The three texts; each grows, and those below it move down.
    auto rich = [&](int top, const char *label, const char *caption, const char *name, const char *column) {
        d->addLabel(QLatin1String(label), {kLabelLeft, top, kFieldLeft - kLabelLeft - 40, kRowHeight},
                    QLatin1String(caption))
            ->font = labelFont;
        report::Control *r = d->addRichText(QLatin1String(name), {kFieldLeft, top, kRichWidth, kRowHeight});
        r->dataField = QLatin1String(column);
        r->font = fieldFont;
        return r;
    };
    RichEdit1 = rich(2428, "Text10", "Notes:", "RichEdit1", "pet_notes_rtf");
    RichEdit2 = rich(2758, "Text8", "Care:", "RichEdit2", "pet_care_rtf");
    RichEdit3 = rich(3073, "Text12", "Feeding:", "RichEdit3", "pet_feeding_rtf");
    d->onFormat = [this] { Detail_Format(); };

    addPageFooter(true);
    reportFooter()->height = 0;
}

void rptPetShowAndTell::reportStart()
{
    connectData();
    DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet WHERE pet_id = ?"), {qlonglong(petID())});
}

void rptPetShowAndTell::GroupHeader2_Format()
{
    Field1->setText(funPetHeading(DC.field(QStringLiteral("pet_name")), DC.field(QStringLiteral("pet_nickname"))));
}

void rptPetShowAndTell::Detail_Format()
{
    fldDOB->setText(funReportAgeText(DC.field(QStringLiteral("pet_dob"))));
    showFittedPicture(picPicture, fldPicture->text(), kPictureBox);
}

} // namespace printouts
