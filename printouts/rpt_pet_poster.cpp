#include "printouts/rpt_pet_poster.h"

namespace printouts {

rptPetPoster::rptPetPoster(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptPetPoster"));
    reportHeader()->height = 0;
    pageHeader()->height = 915;
    Field1 = pageHeader()->addField(QStringLiteral("Field1"), {39, 90, 9950, 810}, QStringLiteral("pet_name"));
    Field1->font = printoutFont(28, true);
    Field1->alignment = Qt::AlignHCenter | Qt::AlignTop;
    Field1->wordWrap = false;
    detail()->height = 7125;
    std::tie(fldPicture, picPicture) = addPictureControls(detail(), kPictureBox);
    addPageFooter(false);
    reportFooter()->height = 0;
    pageHeader()->onFormat = [this] { PageHeader_Format(); };
    detail()->onFormat = [this] { Detail_Format(); };
}

void rptPetPoster::reportStart()
{
    connectData();
    DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet WHERE pet_id = ?"), {qlonglong(petID())});
}

void rptPetPoster::PageHeader_Format()
{
    Field1->setText(funPetHeading(DC.field(QStringLiteral("pet_name")), DC.field(QStringLiteral("pet_nickname"))));
}

void rptPetPoster::Detail_Format() { showFittedPicture(picPicture, fldPicture->text(), kPictureBox); }

} // namespace printouts
