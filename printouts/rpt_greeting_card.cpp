#include "printouts/rpt_greeting_card.h"

#include "core/globals.h"

namespace printouts {

rptPetGreetingCard::rptPetGreetingCard(const PrintoutRequest &request)
    : ReportDesigner(request), m_title(request.greetingTitle), m_greeting(request.greetingText)
{
    setName(QStringLiteral("rptPetGreetingCard"));
    pageSetup.orientation = QPageLayout::Landscape;
    reportHeader()->height = 0;
    pageHeader()->height = 270;

    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader1"), QStringLiteral("GroupFooter1"));
    gh->height = 540;
    txtReportTitle = gh->addField(QStringLiteral("txtReportTitle"), {7316, 0, 6313, 540});
    txtReportTitle->font = printoutFont(24, true);
    txtReportTitle->alignment = Qt::AlignHCenter | Qt::AlignTop;
    txtReportTitle->canGrow = true;
    gh->onFormat = [this] { GroupHeader1_Format(); };

    report::Section *d = detail();
    d->height = 825;
    std::tie(fldPicture, picPicture) = addPictureControls(d, kPictureBox);
    d->onFormat = [this] { Detail_Format(); };

    gf->height = 660;
    txtReportFooter = gf->addField(QStringLiteral("txtReportFooter"), {7316, 120, 6313, 540});
    txtReportFooter->font = printoutFont(18, true);
    txtReportFooter->alignment = Qt::AlignHCenter | Qt::AlignTop;
    txtReportFooter->canGrow = true;
    gf->onFormat = [this] { GroupFooter1_Format(); };

    pageFooter()->height = 0;
    reportFooter()->height = 0;
}

void rptPetGreetingCard::reportStart()
{
    connectData();
    DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet WHERE pet_id = ?"), {qlonglong(petID())});
}

// A text left out (its placeholder kept) prints nothing in its place.
void rptPetGreetingCard::GroupHeader1_Format()
{
    txtReportTitle->setText(m_title);
    txtReportTitle->visible = !m_title.isEmpty();
}

void rptPetGreetingCard::Detail_Format() { showFittedPicture(picPicture, fldPicture->text(), kPictureBox); }

void rptPetGreetingCard::GroupFooter1_Format()
{
    txtReportFooter->setText(m_greeting);
    txtReportFooter->visible = !m_greeting.isEmpty();
}

} // namespace printouts
