#include "printouts/rpt_address_book.h"

#include "core/frm_main.h"

namespace printouts {

namespace {

QString trimmedText(const QVariant &v) { return v.isNull() ? QString() : v.toString().trimmed(); }

} // namespace

QString funListingSiteLink(const QVariant &www)
{
    const QString site = trimmedText(www);
    return site.isEmpty() ? QString() : funSiteAddress(site);
}

QString funListingMailLink(const QVariant &email)
{
    const QString address = trimmedText(email);
    if (address.isEmpty())
        return QString();
    if (address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return address;
    return QStringLiteral("mailto:") + address;
}

QString funListingInitial(const QVariant &name)
{
    const QString text = trimmedText(name);
    if (text.isEmpty())
        return QString();
    // A letter outside the basic plane is two code units: keep them together.
    const int n = text.at(0).isHighSurrogate() && text.size() > 1 ? 2 : 1;
    return text.left(n).toUpper();
}

rptAddressBook::rptAddressBook(const PrintoutRequest &request) : ReportDesigner(request)
{
    setName(QStringLiteral("rptAddressBook"));
    DC.setRecordSource(QStringLiteral("qryRptContact"));

    reportHeader()->height = 600;
    txtReportTitle = reportHeader()->addLabel(QStringLiteral("txtReportTitle"), {80, 80, 6000, 440},
                                              QStringLiteral("Zorbi Address Book Listing"));
    txtReportTitle->font = printoutFont(16, true);
    txtReportTitle->wordWrap = false;
    pageHeader()->height = 0;

    // One heading a letter; the letter is the group's value, set as each row
    // is fetched.
    auto [gh, gf] = addGroup(QStringLiteral("GroupHeader2"), QStringLiteral("GroupFooter4"));
    GroupHeader2 = gh;
    gh->setGroupByValue();
    gh->height = 400;
    lblLetter = gh->addField(QStringLiteral("lblLetter"), {78, 40, 354, 314}, QStringLiteral("@Initial"));
    lblLetter->font = printoutFont(14, true);
    lblLetter->wordWrap = false;
    gf->height = 130;

    report::Section *d = detail();
    d->height = 2198;
    d->columnCount = 2;
    d->columnSpacing = 200;
    d->canGrow = false;
    const QFont nameFont = printoutFont(10, true), labelFont = printoutFont(8, true), fieldFont = printoutFont(8);
    Field1 = d->addField(QStringLiteral("Field1"), {59, 0, 4800, 260}, QStringLiteral("contact_name"));
    Field1->font = nameFont;
    Field1->wordWrap = false;
    struct Row {
        const char *label, *caption, *field, *column;
        int top;
        report::Control *rptAddressBook::*member;
    };
    static const Row rows[] = {
        {"Text1", "Address:", "Field2", "contact_address", 280, &rptAddressBook::Field2},
        {nullptr, nullptr, "Field3", "contact_citystzip", 501, &rptAddressBook::Field3},
        {"Text2", "Phone 1: ", "Field4", "contact_ph1", 752, &rptAddressBook::Field4},
        {"Text3", "Phone 2: ", "Field5", "contact_ph2", 974, &rptAddressBook::Field5},
        {"Text4", "Phone 3: ", "Field6", "contact_ph3", 1196, &rptAddressBook::Field6},
        {"Text5", "Email: ", "Field7", "email", 1418, &rptAddressBook::Field7},
        {"Text6", "Website: ", "Field8", "www", 1639, &rptAddressBook::Field8},
        {"Text7", "Notes: ", "Field9", "notes", 1861, &rptAddressBook::Field9},
    };
    for (const Row &r : rows) {
        if (r.label)
            d->addLabel(QLatin1String(r.label), {60, r.top, 1000, 220}, QLatin1String(r.caption))->font = labelFont;
        report::Control *f = d->addField(QLatin1String(r.field), {1121, r.top, 3717, 220}, QLatin1String(r.column));
        f->font = fieldFont;
        f->wordWrap = false;
        this->*r.member = f;
    }
    Field7->foreColor = Field8->foreColor = QColor(0, 0, 255);
    Line1 = d->addLine(QStringLiteral("Line1"), 59, 2157, 4838, 2157);
    d->onFormat = [this] { Detail_Format(); };

    addPageFooter(true);
    reportFooter()->height = 0;
}

void rptAddressBook::reportStart()
{
    connectData();
    DC.setRecordSource(QStringLiteral("SELECT * FROM qryRptContact ORDER BY contact_name ASC, contact_id ASC"));
}

void rptAddressBook::fetchData(bool eof)
{
    ReportDesigner::fetchData(eof);
    // A capital letter whatever the case it was typed in: the names sort
    // without regard to case, and so do their headings.
    if (!DC.isEOF())
        GroupHeader2->groupValue = funListingInitial(DC.field(QStringLiteral("contact_name")));
}

void rptAddressBook::Detail_Format()
{
    // Every person's own links, or none: nothing stays from the person before.
    Field8->hyperlink = funListingSiteLink(DC.field(QStringLiteral("www")));
    Field7->hyperlink = funListingMailLink(DC.field(QStringLiteral("email")));
}

} // namespace printouts
