#include "printouts/rpt_pet_missing.h"

#include "platform/dates.h"
#include "core/database.h"
#include "core/main_zorbi.h"
#include "platform/clock.h"

namespace printouts {

namespace {

constexpr int kStripLeft = 90;
constexpr int kStripWidth = 810;
constexpr int kStripHeight = 2700;

} // namespace

rptPetMissing::rptPetMissing(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptPetMissing"));
    DC.setRecordSource(QStringLiteral("qryrptPet"));
    reportHeader()->height = 0;

    pageHeader()->height = 1905;
    txtMissing1 = pageHeader()->addLabel(QStringLiteral("txtMissing1"), {0, 0, 9990, 1800}, QStringLiteral("Missing"));
    txtMissing1->font = printoutFont(80, true);
    txtMissing1->alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    txtMissing1->foreColor = QColor(192, 0, 0);
    txtMissing1->wordWrap = false;

    report::Section *d = detail();
    d->height = 8580;
    fldPicture = d->addField(QStringLiteral("fldPicture"), {1062, 4661, 4800, 221}, QStringLiteral("pet_picture"));
    fldPicture->visible = false;
    picPicture = d->addPicture(QStringLiteral("picPicture"), kPictureBox);
    picPicture->visible = false;

    Field1 = d->addField(QStringLiteral("Field1"), {90, 5400, 9900, 810});
    Field1->font = printoutFont(28, true);
    Field1->alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    Field1->wordWrap = false;
    Field23 = d->addField(QStringLiteral("Field23"), {90, 6210, 9900, 360});
    Field23->font = printoutFont(14, true);
    Field23->alignment = Qt::AlignHCenter | Qt::AlignTop;
    Field22 = d->addField(QStringLiteral("Field22"), {90, 6570, 9900, 720});
    Field22->font = printoutFont(20, true);
    Field22->alignment = Qt::AlignHCenter | Qt::AlignVCenter;

    Box1 = d->addBox(QStringLiteral("Box1"), {90, 7290, 9900, 900});
    const QFont labelFont = printoutFont(10, true), fieldFont = printoutFont(10);
    // The description in the box: a label and its field, two to a row.
    struct Cell {
        int left, top;
        const char *label, *caption, *field, *column;
        report::Control *rptPetMissing::*member;
    };
    static const Cell cells[] = {
        {90, 7380, "Text1", "Nickname:", "Field9", "pet_nickname", &rptPetMissing::Field9},
        {5040, 7380, "Text6", "Breed:", "Field3", "pet_breed", &rptPetMissing::Field3},
        {90, 7650, "Text7", "Color:", "Field4", "pet_color", &rptPetMissing::Field4},
        {5040, 7650, "Text16", "Weight:", "Field6", "pet_weight", &rptPetMissing::Field6},
        {90, 7920, "Text14", "Gender:", "Field7", "pet_gender", &rptPetMissing::Field7},
        {5040, 7920, "Text15", "Ht / Len:", "Field5", "pet_height_length", &rptPetMissing::Field5},
    };
    for (const Cell &c : cells) {
        report::Control *l =
            d->addLabel(QLatin1String(c.label), {c.left + 60, c.top, 1110, 270}, QLatin1String(c.caption));
        l->font = labelFont;
        l->wordWrap = false;
        report::Control *f = d->addField(
            QLatin1String(c.field), {c.left + 1350, c.top, c.left == 90 ? 3510 : 3600, 270}, QLatin1String(c.column));
        f->font = fieldFont;
        f->wordWrap = false;
        this->*c.member = f;
    }
    const QString site = funGetWebAddress();
    Label13 = d->addLabel(QStringLiteral("Label13"), {90, 8190, 2970, 270},
                          funGetAppTitle() + QStringLiteral(" (") + site + QStringLiteral(")"));
    Label13->font = printoutFont(8);
    Label13->foreColor = QColor(0, 0, 255);
    Label13->hyperlink = QStringLiteral("http://") + site;
    Label13->wordWrap = false;
    fldFooterDate = d->addField(QStringLiteral("fldFooterDate"), {6930, 8190, 3060, 270}, QStringLiteral("=Now()"));
    fldFooterDate->outputFormat = QStringLiteral("dddddd");
    fldFooterDate->font = printoutFont(8);
    fldFooterDate->alignment = Qt::AlignRight | Qt::AlignTop;
    fldFooterDate->wordWrap = false;
    d->onFormat = [this] { Detail_Format(); };

    // The strips, side by side across the foot of the page; the ninth is a
    // little wider.
    report::Section *f = pageFooter();
    f->height = 2805;
    int left = kStripLeft;
    for (int i = 0; i < kStrips; ++i) {
        const int width = i == 8 ? 900 : kStripWidth;
        report::Control *l = f->addLabel(QStringLiteral("Label%1").arg(i + 1), {left, 0, width, kStripHeight});
        l->font = printoutFont(11, true);
        l->alignment = Qt::AlignHCenter | Qt::AlignVCenter;
        l->wordWrap = false;
        strip[i] = l;
        left += width;
    }
    f->addLine(QStringLiteral("lnStrips"), kStripLeft, 0, left, 0)->lineWidth = 10;
    f->onFormat = [this] { PageFooter_Format(); };
    reportFooter()->height = 0;
}

void rptPetMissing::reportStart()
{
    // Nothing of an earlier run carries over.
    mContactPhone.clear();
    mSpeciesName.clear();
    mSpeciesRead = false;
    connectData();
    DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet WHERE pet_id = ?"), {qlonglong(petID())});
}

void rptPetMissing::fetchData(bool eof)
{
    ReportDesigner::fetchData(eof);
    // Read from the pet's row, and only once there is one.
    if (!mSpeciesRead && !DC.isEOF()) {
        mSpeciesRead = true;
        const QVariant species = DC.field(QStringLiteral("pet_species_id"));
        mSpeciesName = funGetSpeciesName(species);
    }
}

void rptPetMissing::Detail_Format()
{
    const QVariant name = DC.field(QStringLiteral("pet_name"));
    const QString sentence =
        QStringLiteral("My name is \"") + (name.isNull() ? QString() : name.toString()) + QStringLiteral("\"");
    const QVariant alt = DC.field(QStringLiteral("pet_emer_ph_alt"));
    const QString altPhone = alt.isNull() ? QString() : alt.toString();
    mContactPhone = askText(QStringLiteral("Please enter the number to call when pet is found:"),
                            QStringLiteral("Contact Info"), altPhone);
    const QString since = askText(QStringLiteral("Please enter the date the pet became lost or missing:"),
                                  QStringLiteral("Lost / Missing Date"), vbFormatLongDate(zbclock::now().date()));
    Field1->setText(sentence);
    Field22->setText(QStringLiteral("If found, please call ") + (mContactPhone.isEmpty() ? altPhone : mContactPhone));
    Field23->setText(since.isEmpty() ? QString() : QStringLiteral("Missing Since: ") + since);
    showFittedPicture(picPicture, fldPicture->text(), kPictureBox);
}

void rptPetMissing::PageFooter_Format()
{
    const QString text = mSpeciesName.trimmed().isEmpty()
                             ? mContactPhone
                             : QStringLiteral("Missing ") + mSpeciesName + QStringLiteral(" ") + mContactPhone;
    for (report::Control *l : strip) {
        l->angle = 900;
        l->caption = text;
    }
}

} // namespace printouts
