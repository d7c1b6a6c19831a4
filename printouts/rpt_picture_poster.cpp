#include "printouts/rpt_picture_poster.h"

namespace printouts {

rptPicturePoster::rptPicturePoster(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptPicturePoster"));
    DC.setRecordSource(QStringLiteral("qryrptPictureAlbum"));
    reportHeader()->height = 0;
    pageHeader()->height = 915;
    Field1 = pageHeader()->addField(QStringLiteral("Field1"), {0, 90, 11430, 810}, QStringLiteral("picture_title"));
    Field1->font = printoutFont(28, true);
    Field1->alignment = Qt::AlignHCenter | Qt::AlignTop;
    Field1->wordWrap = false;

    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader1"), QStringLiteral("GroupFooter1"));
    gh->height = 0;
    detail()->height = 7035;
    fldPicture =
        detail()->addField(QStringLiteral("fldPicture"), {39, 0, 2000, 225}, QStringLiteral("picture_filename"));
    fldPicture->visible = false;
    picPicture = detail()->addPicture(QStringLiteral("picPicture"), kPictureBox);
    picPicture->visible = false;
    gf->height = 405;
    Field2 = gf->addField(QStringLiteral("Field2"), {kPictureBox.left(), 90, kPictureBox.width(), 270},
                          QStringLiteral("picture_description"));
    Field2->font = printoutFont(10);
    Field2->canGrow = true;
    detail()->onFormat = [this] { Detail_Format(); };
    gf->onFormat = [this] { GroupFooter1_Format(); };

    addPageFooter(false);
    pageFooter()->height = 495;
    reportFooter()->height = 0;
}

void rptPicturePoster::reportStart()
{
    connectData();
    DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPictureAlbum WHERE picture_id = ?"), {qlonglong(petID())});
    Field1->width = qMin(11430, pageSetup.printableRect().width() - Field1->left);
}

void rptPicturePoster::Detail_Format() { showFittedPicture(picPicture, fldPicture->text(), kPictureBox, WhenPrinted); }

void rptPicturePoster::GroupFooter1_Format()
{
    // Under the picture, exactly as wide; with no picture, the box's edges.
    Field2->left = picPicture->left;
    Field2->width = picPicture->width;
}

} // namespace printouts
