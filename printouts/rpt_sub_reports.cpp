#include "printouts/rpt_sub_reports.h"

#include "core/database.h"
#include "platform/dates.h"
#include "core/globals.h"
#include "platform/clock.h"

namespace printouts {

namespace {

const QString kDateFormat = QStringLiteral("ddddd h:nn:ss AMPM");
const QColor kNormal = Qt::black;
const QColor kExpired = QColor(255, 0, 0);

} // namespace

SubReportDesigner::SubReportDesigner(const QString &name, const QString &title, const QString &emptyText,
                                     const QString &query, const std::vector<Column> &columns)
    : ReportDesigner(PrintoutRequest())
{
    setName(name);
    DC.setRecordSource(query);

    report::Section *rh = reportHeader();
    rh->height = 600;
    lblTitle = rh->addLabel(QStringLiteral("lblTitle"), {0, 0, kWidth, 300}, title);
    lblTitle->font = printoutFont(11, true);
    int x = 0;
    for (const Column &c : columns) {
        report::Control *l = rh->addLabel(QStringLiteral("lbl") + c.field, {x, 330, c.width - 60, 225}, c.caption);
        l->font = printoutFont(8, true);
        captions.push_back(l);
        x += c.width;
    }
    rh->addLine(QStringLiteral("lnCaptions"), 0, 570, kWidth, 570)->lineWidth = 10;

    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader1"), QStringLiteral("GroupFooter1"));
    gh->height = 0;
    lblEmpty = gh->addLabel(QStringLiteral("lblEmpty"), {0, 30, kWidth, 240}, emptyText);
    lblEmpty->font = printoutFont(9);
    lblEmpty->visible = false;

    report::Section *d = detail();
    d->height = 255;
    x = 0;
    for (const Column &c : columns) {
        report::Control *f = d->addField(c.field, {x, 15, c.width - 60, 225}, c.field);
        f->font = printoutFont(9);
        f->outputFormat = c.outputFormat;
        f->canGrow = true;
        fields.push_back(f);
        x += c.width;
    }

    gf->height = 120;
    gf->addLine(QStringLiteral("lnEnd"), 0, 60, kWidth, 60)->lineWidth = 10;
    reportFooter()->height = 0;
}

void SubReportDesigner::setPetSource(const QString &sql, long petID) { DC.setRecordSource(sql, {qlonglong(petID)}); }

void SubReportDesigner::attachTo(report::Control *control, const QString &connect)
{
    DC.setConnect(connect);
    DC.setDatabaseName(gDataDBPath);
    control->subReport = this;
}

void SubReportDesigner::reportStart()
{
    // One list serves every pet of the printout: a pet with nothing to list
    // must not mark the next pet's list as empty.
    lblEmpty->visible = false;
    DC.setConnect(funReportConnect());
    DC.setDatabaseName(gDataDBPath);
}

void SubReportDesigner::noData() { lblEmpty->visible = true; }

void attachSubReport(report::Control *control, SubReportDesigner *list, const QString &connect)
{
    list->DC.setConnect(connect);
    list->DC.setDatabaseName(gDataDBPath);
    control->subReport = list;
}

bool funVaccinationExpired(const QVariant &expires, const QDate &today)
{
    const QDate d = dateFromDb(expires);
    return d.isValid() && d < today;
}

rptVaccinationSub::rptVaccinationSub()
    : SubReportDesigner(QStringLiteral("rptVaccinationSub"), QStringLiteral("Vaccinations and Medications"),
                        QStringLiteral("[No vaccinations to display]"), QStringLiteral("qryrptVaccine"),
                        {{QStringLiteral("Vaccine / Med"), QStringLiteral("vaccine_name"), 2240, {}},
                         {QStringLiteral("Received"), QStringLiteral("vaccine_received_date"), 1400, kDateFormat},
                         {QStringLiteral("Expires"), QStringLiteral("vaccine_expiration_date"), 1400, kDateFormat},
                         {QStringLiteral("Notes"), QStringLiteral("vaccine_notes"), 3000, {}},
                         {QStringLiteral("Vaccinated by"), QStringLiteral("contact_person"), 2000, {}}})
{
    detail()->onFormat = [this] { Detail_Format(); };
}

void rptVaccinationSub::Detail_Format()
{
    const QColor colour = funVaccinationExpired(DC.field(QStringLiteral("vaccine_expiration_date")), zbclock::today())
                              ? kExpired
                              : kNormal;
    for (report::Control *f : fields)
        f->foreColor = colour;
}

rptDiarySub::rptDiarySub()
    : SubReportDesigner(QStringLiteral("rptDiarySub"), QStringLiteral("Diary"),
                        QStringLiteral("[No diary entries to display]"), QStringLiteral("qryrptDiary"),
                        {{QStringLiteral("Date"), QStringLiteral("diary_date"), 1700, kDateFormat},
                         {QStringLiteral("Entry"), QStringLiteral("diary_text"), 6340, {}},
                         {QStringLiteral("Category"), QStringLiteral("diary_category"), 2000, {}}})
{
}

void rptDiarySub::showPet(long petID)
{
    setPetSource(QStringLiteral("SELECT * FROM qryrptDiary WHERE diary_pet_id = ? ORDER BY diary_date DESC"), petID);
}

rptCommandSub::rptCommandSub()
    : SubReportDesigner(QStringLiteral("rptCommandSub"), QStringLiteral("Pet Commands"),
                        QStringLiteral("[No commands to display]"), QStringLiteral("qryrptCommand"),
                        {{QStringLiteral("Command"), QStringLiteral("command_name"), 3000, {}},
                         {QStringLiteral("Meaning"), QStringLiteral("command_value"), 7040, {}}})
{
}

void rptCommandSub::showPet(long petID)
{
    setPetSource(QStringLiteral("SELECT * FROM qryrptCommand WHERE command_pet_id = ?"), petID);
}

rptPropertySub::rptPropertySub()
    : SubReportDesigner(QStringLiteral("rptPropertySub"), QStringLiteral("Misc. Information"),
                        QStringLiteral("[No misc. information to display]"), QStringLiteral("qryrptProperty"),
                        {{QStringLiteral("Item"), QStringLiteral("property_name"), 3000, {}},
                         {QStringLiteral("Value"), QStringLiteral("property_value"), 7040, {}}})
{
}

void rptPropertySub::showPet(long petID)
{
    setPetSource(QStringLiteral("SELECT * FROM qryrptProperty WHERE property_pet_id = ?"), petID);
}

report::Control *addFooterList(report::Report *printout, int level, const QString &name)
{
    auto [h, f] =
        printout->addGroup(QStringLiteral("GroupHeader%1").arg(level), QStringLiteral("GroupFooter%1").arg(level));
    h->height = 0;
    f->height = 0;
    return f->addSubReport(name, {0, 180, SubReportDesigner::kWidth, 0});
}

} // namespace printouts
