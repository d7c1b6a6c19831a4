#include "printouts/rpt_diary.h"

#include "core/globals.h"

namespace printouts {

namespace {

constexpr int kRow = 300;

} // namespace

QString funDiaryHeading(const QVariant &name)
{
    const QString n = name.isNull() ? QString() : name.toString();
    if (n.isEmpty())
        return QStringLiteral("Diary");
    // Only a small "s": "BORIS" takes "'s" like any other name.
    return n
           + (n.endsWith(QLatin1Char('s'), Qt::CaseSensitive) ? QStringLiteral("' Diary") : QStringLiteral("'s Diary"));
}

rptDiary::rptDiary(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptDiary"));
    DC.setRecordSource(QStringLiteral("qryrptPet"));
    reportHeader()->height = 0;
    pageHeader()->height = 240;

    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader2"), QStringLiteral("GroupFooter4"));
    gh->setGroupColumn(QStringLiteral("pet_id"));
    Field1 = addHeadingField(gh, QStringLiteral("Field1"), QStringLiteral("pet_name"));
    gh->onFormat = [this] { GroupHeader2_Format(); };
    gf->height = 0;

    report::Section *d = detail();
    const std::vector<report::Control *> f = addDetailRows(d,
                                                           {{"Text9", "Nickname:", "Field2", "pet_nickname"},
                                                            {"Text2", "Birthday:", "Field13", "pet_dob"},
                                                            {"Text1", "Breed:", "Field3", "pet_breed"},
                                                            {"Text3", "Color:", "Field5", "pet_color"},
                                                            {"Text5", "Mother:", "Field6", "pet_mother"},
                                                            {"Text4", "Father:", "Field7", "pet_father"},
                                                            {"Text8", "Weight:", "Field8", "pet_weight"},
                                                            {"Text7", "Ht / Len:", "Field9", "pet_height_length"},
                                                            {"Text6", "Gender:", "Field10", "pet_gender"}},
                                                           60, kRow, 180, 1200, 1440, 3700);
    Field2 = f[0];
    Field13 = f[1];
    Field3 = f[2];
    Field5 = f[3];
    Field6 = f[4];
    Field7 = f[5];
    Field8 = f[6];
    Field9 = f[7];
    Field10 = f[8];
    // The age beside the birthday.
    fldDOB = addAgeField(d, QStringLiteral("fldDOB"), Field13, 2790, 2430);
    std::tie(fldPicture, picPicture) = addPictureControls(d, kPictureBox);
    // The entries under the details, as long as the diary is.
    srptDiarySub = d->addSubReport(QStringLiteral("srptDiarySub"), {0, 2790, SubReportDesigner::kWidth, 0});
    d->height = 3060;
    d->onFormat = [this] { Detail_Format(); };

    addPageFooter(true);
    // The page-number line by this printout's own names ("Page" n "of" m),
    // clear of the birthday's Field13; each renamed before its name is taken.
    const char *const names[][2] = {
        {"Field13", "Field16"}, {"lblOf", "Field15"}, {"Field12", "Field14"}, {"lblPage", "Field12"}};
    for (const auto &n : names)
        if (report::Control *c = pageFooter()->control(QLatin1String(n[0])))
            c->name = QLatin1String(n[1]);
    reportFooter()->height = 0;
}

rptDiary::~rptDiary() = default;

void rptDiary::reportStart()
{
    connectData();
    DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet WHERE pet_id = ?"), {qlonglong(petID())});
    m_diarySub = std::make_unique<rptDiarySub>();
    attachSubReport(srptDiarySub, m_diarySub.get(), connectText());
}

void rptDiary::reportEnd()
{
    srptDiarySub->subReport = nullptr;
    m_diarySub.reset();
}

void rptDiary::GroupHeader2_Format() { Field1->setText(funDiaryHeading(DC.field(QStringLiteral("pet_name")))); }

void rptDiary::Detail_Format()
{
    if (m_diarySub)
        m_diarySub->showPet(mPetID);
    fldDOB->setText(funReportAgeText(DC.field(QStringLiteral("pet_dob"))));
    showFittedPicture(picPicture, fldPicture->text(), kPictureBox);
}

} // namespace printouts
