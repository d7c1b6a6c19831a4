#include "printouts/rpt_picture_album.h"

namespace printouts {

rptPictureAlbum::rptPictureAlbum(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptPictureAlbum"));
    DC.setRecordSource(QStringLiteral("qryrptPictureAlbum"));
    reportHeader()->height = 150;
    pageHeader()->height = 930;
    // As wide as the page allows: the designed width runs past a narrow
    // paper's margin.
    Field5 = pageHeader()->addField(QStringLiteral("Field5"), {90, 90, 11250, 600});
    Field5->setText(QStringLiteral("Photo Album"));
    Field5->font = printoutFont(20, true);
    Field5->alignment = Qt::AlignHCenter | Qt::AlignTop;
    Field5->wordWrap = false;

    report::Section *d = detail();
    d->height = 5910;
    d->columnCount = 2;
    d->canGrow = false;
    Field1 = d->addField(QStringLiteral("Field1"), {0, 0, 4500, 450}, QStringLiteral("picture_title"));
    Field1->font = printoutFont(11, true);
    Field1->wordWrap = false;
    Field4 = d->addField(QStringLiteral("Field4"), {0, 450, 2250, 270}, QStringLiteral("pet_name"));
    Field4->font = printoutFont(9);
    Field4->wordWrap = false;
    Field3 = d->addField(QStringLiteral("Field3"), {2250, 450, 2250, 270}, QStringLiteral("picture_date"));
    Field3->font = printoutFont(9);
    Field3->alignment = Qt::AlignRight | Qt::AlignTop;
    Field3->wordWrap = false;
    fldPicture = d->addField(QStringLiteral("fldPicture"), {0, 0, 100, 100}, QStringLiteral("picture_filename"));
    fldPicture->visible = false;
    picPicture = d->addPicture(QStringLiteral("picPicture"), kPictureBox);
    picPicture->visible = false;
    Field2 =
        d->addField(QStringLiteral("Field2"), {0, kDescriptionTop, 4500, 650}, QStringLiteral("picture_description"));
    Field2->font = printoutFont(8);
    d->onFormat = [this] { Detail_Format(); };

    addPageFooter(true);
    pageFooter()->height = 495;
    reportFooter()->height = 0;
}

void rptPictureAlbum::reportStart()
{
    connectData();
    // A Null file name fails the comparison too: only pictures with a file.
    DC.setRecordSource(QStringLiteral(
        "SELECT * FROM qryrptPictureAlbum WHERE picture_filename <> '' ORDER BY picture_date, picture_id"));
    Field5->width = qMin(11250, pageSetup.printableRect().width() - Field5->left);
}

void rptPictureAlbum::Detail_Format()
{
    // Each row shows its own picture or none, and its description under it.
    if (showFittedPicture(picPicture, fldPicture->text(), kPictureBox, WhenPrinted))
        Field2->top = picPicture->top + picPicture->height + 20;
    else
        Field2->top = kDescriptionTop;
}

} // namespace printouts
