#include "printouts/report_frame.h"

#include "core/database.h"
#include "platform/dates.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QImageReader>
#include <QtGlobal>
#include <cmath>

namespace printouts {

namespace {

// A picture's size in hundredths of a millimetre, from its pixels and dots
// per metre (96 dpi when the file says nothing).
double hundredthsOfMm(int pixels, int dotsPerMetre)
{
    if (dotsPerMetre <= 0)
        dotsPerMetre = 3780;
    return double(pixels) * 100000.0 / dotsPerMetre;
}

} // namespace

NormalPointer::NormalPointer() { QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
NormalPointer::~NormalPointer() { QApplication::restoreOverrideCursor(); }

namespace {

// A bold caption and, beside it, the field bound to `column` on one line;
// the one way every printout lays a labelled value down.
report::Control *labelledField(report::Section *section, const QString &labelName, const char *caption,
                               const QString &fieldName, const char *column, const QRect &labelRect,
                               const QRect &fieldRect)
{
    section->addLabel(labelName, labelRect, QLatin1String(caption))->font = printoutFont(9, true);
    report::Control *f = section->addField(fieldName, fieldRect, column ? QString::fromLatin1(column) : QString());
    f->font = printoutFont(9);
    f->wordWrap = false;
    return f;
}

// A bold caption and, beside it to the right edge of the content, a rich text
// bound to `column` that grows to its text.
report::Control *labelledNote(report::Section *section, const QString &labelName, const char *caption,
                              const QString &noteName, const char *column, int top, int labelLeft, int labelWidth,
                              int noteLeft, int rowHeight)
{
    section->addLabel(labelName, {labelLeft, top, labelWidth, rowHeight - 30}, QLatin1String(caption))->font =
        printoutFont(9, true);
    report::Control *r = section->addRichText(noteName, {noteLeft, top, kContentWidth - noteLeft, rowHeight - 30});
    r->dataField = QLatin1String(column);
    r->font = printoutFont(9);
    return r;
}

} // namespace

std::vector<report::Control *> addLabelledFields(report::Section *section, std::initializer_list<LabelledField> rows,
                                                 const FieldColumn &at)
{
    std::vector<report::Control *> fields;
    int y = at.top;
    for (const LabelledField &r : rows) {
        const QString name = QLatin1String(r.name);
        fields.push_back(labelledField(section, QStringLiteral("lbl") + name.mid(3), r.caption, name, r.column,
                                       {at.labelLeft, y, at.labelWidth, at.rowHeight - 30},
                                       {at.fieldLeft, y, at.fieldWidth, at.rowHeight - 30}));
        y += at.rowHeight;
    }
    return fields;
}

report::Control *addLabelledNote(report::Section *section, const LabelledField &note, const FieldColumn &at)
{
    const QString name = QLatin1String(note.name);
    return labelledNote(section, QStringLiteral("lbl") + name.mid(3), note.caption, name, note.column, at.top,
                        at.labelLeft, at.labelWidth, at.fieldLeft, at.rowHeight);
}

QString printoutFontFamily() { return QStringLiteral("Liberation Sans"); }

QFont printoutFont(double points, bool bold)
{
    QFont f(printoutFontFamily());
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

PictureFit funFitPicture(double W, double H, double BW, double BH, double L0, double T0)
{
    PictureFit fit;
    if (!(W > 0) || !(H > 0) || !(BW > 0) || !(BH > 0))
        return fit;
    const double rw = W / BW, rh = H / BH;
    if (rh < rw) {
        fit.width = W <= BW ? W : BW;
        fit.height = fit.width / W * H;
    } else {
        fit.height = H <= BH ? H : BH;
        fit.width = fit.height / H * W;
    }
    fit.top = T0;
    fit.left = L0 + (BW - fit.width) / 2;
    fit.visible = true;
    return fit;
}

QString funPetHeading(const QVariant &name, const QVariant &nickname)
{
    QString text = name.isNull() ? QString() : name.toString();
    if (!nickname.isNull())
        text += QStringLiteral(" (") + nickname.toString() + QStringLiteral(")");
    return text;
}

QString funReportAgeText(const QVariant &birthDate)
{
    if (birthDate.isNull() || !dateFromDb(birthDate).isValid())
        return QString();
    return funAgeText(birthDate);
}

std::vector<report::Control *> addDetailRows(report::Section *section, std::initializer_list<DetailRow> rows, int top,
                                             int rowHeight, int labelLeft, int labelWidth, int fieldLeft,
                                             int fieldWidth)
{
    std::vector<report::Control *> fields;
    int y = top;
    for (const DetailRow &r : rows) {
        fields.push_back(labelledField(section, QLatin1String(r.labelName), r.caption, QLatin1String(r.fieldName),
                                       r.column, {labelLeft, y, labelWidth, rowHeight - 30},
                                       {fieldLeft, y, fieldWidth, rowHeight - 30}));
        y += rowHeight;
    }
    return fields;
}

report::Control *addNoteRow(report::Section *section, const DetailRow &row, int &top)
{
    report::Control *r = labelledNote(section, QLatin1String(row.labelName), row.caption, QLatin1String(row.fieldName),
                                      row.column, top, 0, kDetailLabelWidth, kDetailFieldLeft, kDetailRow);
    top += kDetailRow + 60;
    return r;
}

report::Control *addHeadingField(report::Section *header, const QString &name, const QString &column)
{
    header->height = 600;
    report::Control *f = header->addField(name, {0, 0, 10040, 450}, column);
    f->font = printoutFont(16, true);
    f->wordWrap = false;
    header->addLine(QStringLiteral("lnHeading"), 0, 500, 10040, 500)->lineWidth = 20;
    return f;
}

report::Control *addAgeField(report::Section *section, const QString &name, report::Control *birthday, int left,
                             int width)
{
    birthday->width = left - 50 - birthday->left;
    birthday->outputFormat = QStringLiteral("ddddd h:nn:ss AMPM");
    report::Control *age = section->addField(name, {left, birthday->top, width, birthday->height});
    age->font = birthday->font;
    age->wordWrap = false;
    return age;
}

std::pair<report::Control *, report::Control *> addPictureControls(report::Section *section, const QRect &box)
{
    report::Control *name =
        section->addField(QStringLiteral("fldPicture"), {0, 0, 100, 100}, QStringLiteral("pet_picture"));
    name->visible = false;
    report::Control *picture = section->addPicture(QStringLiteral("picPicture"), box);
    picture->visible = false;
    return {name, picture};
}

QString funReportConnect()
{
    return QStringLiteral(";DATABASE=") + gDataDBPath + QStringLiteral(";PWD=") + funGetDBPassword()
           + QStringLiteral(";");
}

ReportDesigner::ReportDesigner(const PrintoutRequest &request) : m_request(request) {}

void ReportDesigner::connectData()
{
    m_connect = funReportConnect();
    DC.setConnect(m_connect);
    DC.setDatabaseName(gDataDBPath);
}

void ReportDesigner::setPetRecordSource()
{
    if (petID() != 0)
        DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet WHERE pet_id = ?"), {qlonglong(petID())});
    else
        DC.setRecordSource(QStringLiteral("SELECT * FROM qryrptPet ORDER BY pet_name, pet_id"));
}

void ReportDesigner::fetchData(bool)
{
    // The data control's own end, not the event's argument, says whether
    // there is a row.
    if (DC.isEOF())
        return;
    mPetID = long(DC.field(QStringLiteral("pet_id")).toLongLong());
    // The pages are titled by the printout's name, and a printout for one pet
    // by the pet's too: a published page shows "Pet Details - Rex" in the
    // browser. A picture's printout has its picture's id, which is no pet's.
    if (DC.position() == 0 && !m_request.reportName.isEmpty()) {
        const QString pet =
            petID() != 0 && mPetID == petID() ? DC.field(QStringLiteral("pet_name")).toString().trimmed() : QString();
        setDocumentTitle(pet.isEmpty() ? m_request.reportName : m_request.reportName + QStringLiteral(" - ") + pet);
    }
}

void ReportDesigner::noData()
{
    {
        NormalPointer pointer;
        ui::dialogs().msgBox(nullptr, QStringLiteral("There is no information to show."), ui::Information,
                             funGetAppTitle());
    }
    cancel();
}

void ReportDesigner::error(int number, const QString &description, bool &cancelDisplay)
{
    cancelDisplay = true;
    if (number == report::ErrCancelled || number == report::ErrFieldNotFound) {
        qInfo("%s: error %d passed over: %s", qPrintable(name()), number, qPrintable(description));
        return;
    }
    NormalPointer pointer;
    ui::dialogs().msgBox(
        nullptr, QStringLiteral("Error Number: ") + QString::number(qint16(number)) + QStringLiteral(" ") + description,
        ui::Critical, funGetAppTitle());
}

void ReportDesigner::addPageFooter(bool pageNumbers)
{
    report::Section *s = pageFooter();
    s->height = 450;
    lblReportName = s->addLabel(QStringLiteral("lblReportName"), {0, 0, 6800, 225});
    lblReportName->font = printoutFont(8, true);
    fldFooterDate = s->addField(QStringLiteral("fldFooterDate"), {6903, 0, 3087, 225});
    fldFooterDate->font = printoutFont(8);
    fldFooterDate->alignment = Qt::AlignRight | Qt::AlignTop;
    lblFooter = s->addLabel(QStringLiteral("lblFooter"), {6903, 225, 3087, 225});
    lblFooter->font = printoutFont(8);
    lblFooter->alignment = Qt::AlignRight | Qt::AlignTop;
    lblFooter->foreColor = QColor(0, 0, 255);
    if (pageNumbers) {
        const QFont f = printoutFont(8);
        s->addLabel(QStringLiteral("lblPage"), {0, 225, 450, 225}, QStringLiteral("Page"))->font = f;
        report::Control *n = s->addField(QStringLiteral("Field12"), {450, 225, 450, 225});
        n->summary = report::Control::PageNumber;
        n->font = f;
        s->addLabel(QStringLiteral("lblOf"), {900, 225, 300, 225}, QStringLiteral("of"))->font = f;
        report::Control *m = s->addField(QStringLiteral("Field13"), {1200, 225, 450, 225});
        m->summary = report::Control::PageCount;
        m->font = f;
    }
    s->onFormat = [this] { PageFooter_Format(); };
}

void ReportDesigner::PageFooter_Format()
{
    const QString site = funGetWebAddress();
    if (lblReportName)
        lblReportName->caption = m_request.reportName;
    if (lblFooter) {
        lblFooter->caption = funGetAppTitle() + QStringLiteral(" (") + site + QStringLiteral(")");
        lblFooter->hyperlink = QStringLiteral("http://") + site;
    }
    if (fldFooterDate)
        fldFooterDate->setText(vbFormatLongDate(zbclock::now().date()));
}

QString ReportDesigner::askText(const QString &prompt, const QString &title, const QString &defaultText)
{
    NormalPointer pointer;
    return ui::dialogs().inputBox(nullptr, prompt, title, defaultText);
}

bool ReportDesigner::showFittedPicture(report::Control *picture, const QString &fileName, const QRect &box,
                                       PictureHold hold)
{
    picture->visible = false;
    picture->picture = QImage();
    picture->pictureFile.clear();
    if (fileName.isEmpty())
        return false;
    const QString path = gPicturePath + fileName;
    QImageReader reader(path);
    const QSize pixels = reader.size();
    if (!pixels.isValid() || pixels.isEmpty())
        return false;
    // Decoded no larger than the box needs at print resolution: a camera's
    // picture does not ride along whole. A decoder that reduces as it reads
    // keeps the file's resolution; any other picture is read whole, its
    // resolution taken, and then reduced. Kept for printing later, only an
    // eighth is decoded now: enough to prove the file whole and learn its
    // resolution.
    const QSize most(qMax(1, int(qint64(box.width()) * report::kModelImageDpi / report::kTwipsPerInch)),
                     qMax(1, int(qint64(box.height()) * report::kModelImageDpi / report::kTwipsPerInch)));
    const QSize want = hold == WhenPrinted
                           ? QSize(qMax(1, (pixels.width() + 7) / 8), qMax(1, (pixels.height() + 7) / 8))
                           : pixels.scaled(most, Qt::KeepAspectRatio);
    const bool tooBig = pixels.width() > want.width() || pixels.height() > want.height();
    const bool reducesAsItReads = reader.supportsOption(QImageIOHandler::ScaledSize);
    if (tooBig && reducesAsItReads)
        reader.setScaledSize(want);
    QImage image = reader.read();
    if (image.isNull())
        return false;
    const int dpmX = image.dotsPerMeterX(), dpmY = image.dotsPerMeterY();
    if (tooBig && !reducesAsItReads && hold == Decoded)
        image = image.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const PictureFit fit = funFitPicture(hundredthsOfMm(pixels.width(), dpmX), hundredthsOfMm(pixels.height(), dpmY),
                                         box.width(), box.height(), box.left(), box.top());
    if (!fit.visible)
        return false;
    picture->left = int(std::lround(fit.left));
    picture->top = int(std::lround(fit.top));
    picture->width = qMax(1, int(std::lround(fit.width)));
    picture->height = qMax(1, int(std::lround(fit.height)));
    if (hold == WhenPrinted)
        picture->pictureFile = path;
    else
        picture->picture = image;
    picture->visible = true;
    return true;
}

} // namespace printouts
