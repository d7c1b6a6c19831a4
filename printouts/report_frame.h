#pragma once
// What every printout shares: the data connection, the no-data message and
// cancel, the error box, the page footer with the program's web address, the
// pet's name heading, the age text, and the fitting of a picture into its box.
// Each printout is a ReportDesigner with its own bands and handlers.

#include "platform/report/report.h"
#include "printouts/printout_request.h"

#include <QFont>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <tuple>
#include <utility>
#include <vector>

namespace printouts {

// How wide the printouts' content is laid out, in twips.
constexpr int kContentWidth = 10040;

// The face every printout is laid out in: metric-compatible with the common
// sans-serif face the layouts were sized for, so lines break the same way on
// every machine.
QString printoutFontFamily();
QFont printoutFont(double points, bool bold = false);

// Where a picture goes in its box: the box's width BW and height BH, its left
// L0 and top T0, and the picture's own width W and height H (in the units the
// picture reports). Never larger than the picture's size, its proportions
// kept, inside the box, centred across it at the box's top. A picture without
// a width or height is not shown.
struct PictureFit {
    bool visible = false;
    double left = 0, top = 0, width = 0, height = 0;
};
PictureFit funFitPicture(double W, double H, double BW, double BH, double L0, double T0);

// The pet's heading: the name ("" for none), then " (" nickname ")" when the
// pet has a nickname.
QString funPetHeading(const QVariant &name, const QVariant &nickname);
// The age printed for a birth date: "" for none or for what is not a date.
QString funReportAgeText(const QVariant &birthDate);

// The normal pointer while a box waits for the user, over the hourglass of
// the open.
class NormalPointer {
public:
    NormalPointer();
    ~NormalPointer();
    NormalPointer(const NormalPointer &) = delete;
    NormalPointer &operator=(const NormalPointer &) = delete;
};

// A column of labelled fields, one a row: the label ("lbl" and the field's
// name without its three-letter prefix) at `labelLeft`, the field bound to
// its column at `fieldLeft`, rows `rowHeight` apart from `top`. The fields in
// row order.
struct LabelledField {
    const char *caption;
    const char *name;
    const char *column; // nullptr: a field the printout fills itself
};
struct FieldColumn {
    int top = 60, labelLeft = 0, labelWidth = 1300, fieldLeft = 1350, fieldWidth = 3750, rowHeight = 285;
};
std::vector<report::Control *> addLabelledFields(report::Section *section, std::initializer_list<LabelledField> rows,
                                                 const FieldColumn &at = {});
// A labelled rich text bound to its column, at `at.top`, from the field's
// left to the right edge of the printouts' content, one row high to start
// with (it grows to its text).
report::Control *addLabelledNote(report::Section *section, const LabelledField &note, const FieldColumn &at);
// One line of a printout's details: a bold caption and, beside it, the field
// bound to `column`.
struct DetailRow {
    const char *labelName;
    const char *caption;
    const char *fieldName;
    const char *column;
};
// Lays `rows` down `section` from `top`, a row every `rowHeight` twips: each
// caption at `labelLeft`, `labelWidth` wide, its field at `fieldLeft`,
// `fieldWidth` wide, on one line each. The fields, in row order.
std::vector<report::Control *> addDetailRows(report::Section *section, std::initializer_list<DetailRow> rows, int top,
                                             int rowHeight, int labelLeft, int labelWidth, int fieldLeft,
                                             int fieldWidth);

// The pet printouts' details: a row every kDetailRow twips, the captions
// kDetailLabelWidth wide from the left edge, the fields from kDetailFieldLeft.
constexpr int kDetailRow = 285;
constexpr int kDetailLabelWidth = 1300;
constexpr int kDetailFieldLeft = 1350;
// A caption at `top` and, beside it to the right edge, a rich-text note bound
// to `row.column`, which grows to its text; `top` moves on to the next note's
// place. The note.
report::Control *addNoteRow(report::Section *section, const DetailRow &row, int &top);

// The pet printouts' heading across the top of `header`: a large bold field
// (bound to `column` when given) over a rule.
report::Control *addHeadingField(report::Section *header, const QString &name, const QString &column = {});
// The age field `name` at `left`, `width` wide, on the birthday's line; the
// birthday, which prints its date alone unless it has a time, ends before it.
report::Control *addAgeField(report::Section *section, const QString &name, report::Control *birthday, int left,
                             int width);
// The hidden field "fldPicture" that reads the picture's file name, and the
// picture control "picPicture" in `box`, hidden until a picture is fitted.
std::pair<report::Control *, report::Control *> addPictureControls(report::Section *section, const QRect &box);

// The connect text of the printouts' data: the data file and its password.
QString funReportConnect();

class ReportDesigner : public report::Report {
public:
    // Keeps its own copy of the request: several viewers may be open at once.
    explicit ReportDesigner(const PrintoutRequest &request);

    const PrintoutRequest &request() const { return m_request; }
    long petID() const { return m_request.petID; }
    QString reportName() const { return m_request.reportName; }
    QString connectText() const { return m_connect; }

protected:
    // The start every printout makes: its connect text, and the data control
    // on the program's data file.
    void connectData();
    // The printout's pet, or every pet by name (two of one name by id).
    void setPetRecordSource();
    // Keeps the row's pet for the bands of the same row (their sub-reports);
    // the first row titles the pages.
    void fetchData(bool eof) override;
    // "There is no information to show.", then the run ends with no pages.
    void noData() override;
    // "Error Number: " n " " description, except for the errors that pass
    // silently (a cancel, a column the layout names and the source lacks).
    void error(int number, const QString &description, bool &cancelDisplay) override;

    // Lays out the page footer: the printout's name, the product line with
    // its link, today's date, and, when asked, "Page n of m".
    void addPageFooter(bool pageNumbers);
    void PageFooter_Format();

    // Puts the picture file `fileName` (in the pictures folder) into `picture`,
    // fitted into `box`. The control starts hidden and shows only a picture
    // that loaded and fitted, so nothing of an earlier row stays. False when
    // there is nothing to show. `WhenPrinted` keeps only the file in the
    // pages, read when a page is painted at the size it prints there: a run
    // over thousands of photos holds none of them decoded.
    enum PictureHold { Decoded, WhenPrinted };
    bool showFittedPicture(report::Control *picture, const QString &fileName, const QRect &box,
                           PictureHold hold = Decoded);

    // Asks for a text while the pages are laid out, with the normal pointer
    // over the open's hourglass: the typed text, or "" when cancelled.
    QString askText(const QString &prompt, const QString &title, const QString &defaultText);

    // The pet of the row being printed.
    long mPetID = 0;

    report::Control *lblReportName = nullptr;
    report::Control *lblFooter = nullptr;
    report::Control *fldFooterDate = nullptr;

private:
    PrintoutRequest m_request;
    QString m_connect;
};

} // namespace printouts
