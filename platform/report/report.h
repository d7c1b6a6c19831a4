#pragma once
// The banded report engine: a report is a set of sections (bands) holding
// controls, over the rows of its data control `DC`. Running it formats each
// band occurrence exactly once and lays it out into a report::Document
// (platform/report/page_model.h), which the viewer, the printer and every
// export then share; nothing is formatted again after the run.
//
// How a designer uses it
// ----------------------
//   class rptPetPoster : public report::Report {
//   public:
//       rptPetPoster() {
//           setName("rptPetPoster");
//           pageSetup.margins = {720, 720, 720, 720};        // twips; Letter portrait by default
//           pageHeader()->height = 915;
//           Field1 = pageHeader()->addField("Field1", {0, 0, 9950, 810});
//           Field1->font = QFont("Arial", 24, QFont::Bold);
//           fldPicture = detail()->addField("fldPicture", {0, 0, 100, 100}, "pet_picture");
//           fldPicture->visible = false;                      // hidden, still readable by code
//           Image1 = detail()->addPicture("Image1", {39, 39, 9950, 12153});
//           auto [gh, gf] = addGroup("GroupHeader1", "GroupFooter1");
//           gh->setGroupColumn("pet_id");                     // or setGroupByValue(), or no key
//           pageHeader()->onFormat = [this] { PageHeader_Format(); };
//           detail()->onFormat = [this] { Detail_Format(); };
//       }
//   protected:
//       void reportStart() override {
//           DC.setDatabaseName(path);                         // or DC.setDatabase(db)
//           DC.setRecordSource("SELECT * FROM qryrptPet WHERE pet_id = ?", {id});  // or a view's name
//       }
//       void fetchData(bool eof) override { if (!eof) mPetID = DC.field("PET_ID").toInt(); }
//       void noData() override { ...message...; cancel(); }
//       void error(int number, const QString &text, bool &cancelDisplay) override { ...; cancelDisplay = true; }
//   };
//
//   rptPetPoster r;
//   r.pageSetup.setPaper(printer.pageLayout());               // the program printer's paper
//   if (r.run()) exportPdf(r.document(), path);               // or paintDocument(printer, ...)
//
// Run order (one run; every handler at most once per band occurrence):
//   reportStart(); the record source is read (a snapshot: nothing stays open);
//   no rows: noData(); unless cancelled, the report header, the key-less group
//     headers and footers and the report footer are laid out once;
//   otherwise, for each row k: fetchData(false) (after row k-1 is laid out,
//     before anything of row k is formatted); the footers of the groups that
//     closed, innermost first, formatted with row k-1 current; the headers
//     that open, outermost first; the detail;
//   at the end: fetchData(true) (the data control at its end), then, with the
//     last row current again, the last group footers, the report footer and
//     the last page footer; reportEnd() (also after a cancel).
//   The report header comes first on page 1, above the page header; both are
//   formatted after the first fetchData, with the first row current. The page
//   header is formatted at each page start (the page's first row current),
//   the page footer at each page end (the page's last row current), anchored
//   at the bottom of the printable area.
//
// Binding: before a band's onFormat, its bound fields take the current row's
// value (a missing column reads Null, and raises the silent error 5800 once
// per field); "=Now()" takes the clock's now; "@Name" the group's value.
// Code in onFormat may then change anything of the section and its controls:
// text, caption, colours, geometry, visibility, the section's height and
// visibility. A section grows to the lowest bottom of its visible controls
// (canGrow, on by default); a text control with canGrow grows to its text.
// A section that does not fit in what is left of a page starts a new page.
//
// Groups nest in the order they are added (the first is the outermost). A
// group keyed by a column breaks when the column's value changes; keyed by
// value, when the value code put in the header's groupValue (in fetchData)
// changes; without a key, whenever an outer group breaks, else once a report.
//
// Errors raised through error(): 5007 the run was cancelled (cancel()), 5800
// a bound field names no column (the field reads Null), 5801 the record source
// could not be read (the run ends with no pages). An unhandled error (display
// left on) is logged; the engine shows no window of its own.
//
// Rich text: a RichText control bound to a column reads the column's RTF (or
// plain text) through platform/rtf into a document of its own for the row,
// laid out at the control's width; it grows, and splits over pages at its
// line boundaries.
//
// Sub-reports: a SubReport control runs its attached report when its band is
// laid out, that is after the band's onFormat (which may set the child's
// record source), once for each occurrence of the band. The child's report
// header, groups, detail and report footer (never its page header or footer)
// become a strip of bands at the control's place, as wide as the control;
// it grows, and splits over pages between the child's bands. A hidden
// sub-report is not run and takes no room.
//
// Growing: a control that grows moves the controls whose top lies at or
// below its designed bottom down by as much as it grew, so that stacked
// texts never overlap. A band that does not fit in what is left of a page
// and holds rich text or a sub-report is split there: what fits stays (the
// other controls stay whole on the part where they start), the rest goes on
// the next page below its page header. Any other band moves to the next page
// whole.
//
// Columns: a detail of columnCount 2 fills slots across, then down (1 2 /
// 3 4), each slot (print width - spacing) / 2 wide; a row of slots is as
// high as its highest occurrence, and any other band starts a new row at the
// full width. A detail in columns is never split.

#include "platform/db/database.h"
#include "platform/report/page_model.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMargins>
#include <QPageLayout>
#include <QRect>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class DataControl;

namespace report {

enum EngineError : int {
    ErrCancelled = 5007,
    ErrFieldNotFound = 5800,
    ErrRecordSource = 5801,
};

// Formats a field's value for print with its output format ("Long Date",
// "dddddd", "ddddd h:nn:ss AMPM", or none): dates in the program's own forms
// (platform/dates.h), the same in both programs and in every printout.
QString formatValue(const QVariant &value, const QString &outputFormat);

enum class ControlKind { Label, Field, Picture, Line, Box, RichText, SubReport };

class Report;
struct Strip;

// Reads `text` (RTF or plain text) into a document laid out for the page
// model: its fonts sized in twips and unhinted, its indents in twips, `width`
// twips wide, `font` for text that names none.
std::shared_ptr<QTextDocument> richDocument(const QString &text, const QFont &font, int width);

// A control of a section. Geometry in twips, relative to the section's
// top-left corner (the left margin).
class Control {
public:
    enum Summary { NoSummary, PageNumber, PageCount };

    Control(ControlKind kind, QString name, const QRect &geometry);

    ControlKind kind;
    QString name;
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool canGrow = false; // text: grow downwards to the whole text
    QColor foreColor = Qt::black;
    QColor backColor; // invalid: transparent
    QFont font;       // point sizes, as designed (Arial 10 unless set)
    int alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = true;
    QString hyperlink;

    // Label
    QString caption;
    int angle = 0; // tenths of a degree; 900 reads bottom to top

    // Field: bound to `dataField` (a column, "=Now()" or "@Name"), or given a
    // value by code; `summary` makes it the page number or the page count.
    QString dataField;
    QString outputFormat;
    Summary summary = NoSummary;
    QVariant value;
    void setText(const QString &text) { value = text; }

    // Picture (stretched into its rect; fitting is the designer's): an image,
    // or a picture file read only when a page is painted, decoded at the size
    // it prints there, so a long album never holds its photos decoded.
    QImage picture;
    QString pictureFile;

    // Line: from (left, top) to (left + width, top + height). Box: the rect,
    // border in foreColor (lineWidth 0: none), fill in backColor.
    int lineWidth = 15;

    // RichText: the document, laid out at the control's width; bound to
    // `dataField`, the engine gives it a new document for every row (one set
    // by code is copied into the pages as it stands when laid out).
    // Sub-report: the attached report, which the attaching code owns.
    std::shared_ptr<QTextDocument> document;
    Report *subReport = nullptr;

    // The text as it prints: a label's caption, a field's formatted value.
    QString text() const;
    QRect rect() const { return QRect(left, top, width, height); }
    void setRect(const QRect &r);

private:
    friend class Report;
    friend class Layout;
    const QTextDocument *m_boundDocument = nullptr; // the engine's document of this row
};

enum class SectionKind { ReportHeader, PageHeader, GroupHeader, Detail, GroupFooter, PageFooter, ReportFooter };

class Section {
public:
    Section(SectionKind kind, QString name);
    ~Section();

    SectionKind kind;
    QString name;
    int height = 0;
    bool visible = true;
    bool canGrow = true;
    bool newPageBefore = false; // start on a new page (unless the page is still empty)
    // Detail only: 1, or 2 side by side (across, then down), `columnSpacing`
    // twips apart.
    int columnCount = 1;
    int columnSpacing = 0;

    // Runs once for each occurrence of the band, before it is laid out.
    std::function<void()> onFormat;

    // Group headers: the key, and the value code sets for a value key.
    void setGroupColumn(const QString &column)
    {
        m_keyColumn = column;
        m_keyByValue = false;
    }
    void setGroupByValue()
    {
        m_keyColumn.clear();
        m_keyByValue = true;
    }
    bool hasGroupKey() const { return m_keyByValue || !m_keyColumn.isEmpty(); }
    QString groupColumn() const { return m_keyColumn; }
    QVariant groupValue;

    Control *addLabel(const QString &name, const QRect &geometry, const QString &caption = {});
    Control *addField(const QString &name, const QRect &geometry, const QString &dataField = {});
    Control *addPicture(const QString &name, const QRect &geometry);
    Control *addLine(const QString &name, int x1, int y1, int x2, int y2);
    Control *addBox(const QString &name, const QRect &geometry);
    Control *addRichText(const QString &name, const QRect &geometry);
    Control *addSubReport(const QString &name, const QRect &geometry);
    Control *control(const QString &name) const; // without regard to case; nullptr when none
    const std::vector<std::unique_ptr<Control>> &controls() const { return m_controls; }

private:
    friend class Report;
    Control *add(ControlKind kind, const QString &name, const QRect &geometry);
    std::vector<std::unique_ptr<Control>> m_controls;
    QString m_keyColumn;
    bool m_keyByValue = false;
    Section *m_header = nullptr; // a footer's header
};

// Paper, orientation and margins. Paper is Letter until set from the printer.
struct PageSetup {
    QPageSize paper = QPageSize(QPageSize::Letter);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMargins margins = QMargins(720, 720, 720, 720); // twips
    int printWidth = 0;                              // twips; 0 or more than fits: all between the margins

    // Takes the paper of a printer's (or PDF writer's) page layout; the
    // orientation and margins stay the report's own.
    void setPaper(const QPageLayout &layout) { paper = layout.pageSize(); }
    QSize paperSize() const;     // twips, as oriented
    QRect printableRect() const; // twips: inside the margins, print width applied
};

// The data control of a report: its record source read once at the start of
// the run, and the current row.
class ReportData {
public:
    ReportData();
    ~ReportData();

    // The file: an open database, or the path of one the program has open.
    void setDatabase(db::Database *database) { m_database = database; }
    void setDatabaseName(const QString &path) { m_databaseName = path; }
    QString databaseName() const { return m_databaseName; }
    // The connect text (";DATABASE=file;PWD=...;"), kept as designers set
    // it; its file serves when no database name is given.
    void setConnect(const QString &connect) { m_connect = connect; }
    QString connect() const { return m_connect; }
    // SQL (with ? placeholders for `params`) or a saved query's (view's) name.
    void setRecordSource(const QString &source, const QVariantList &params = {});
    QString recordSource() const { return m_source; }

    // During the run: the current row's field, by name without regard to
    // case; Null for a missing column and without a current row.
    QVariant field(const QString &name) const;
    bool hasField(const QString &name) const;
    QStringList fieldNames() const;
    int recordCount() const;
    int position() const { return m_row; } // 0-based; -1 none
    bool isEOF() const;

private:
    friend class Report;
    friend class Layout;
    bool open(QString *error);
    void close();
    QVariant fieldAt(int row, const QString &name) const;

    db::Database *m_database = nullptr;
    QString m_databaseName, m_connect, m_source;
    QVariantList m_params;
    std::unique_ptr<DataControl> m_rows;
    int m_row = -1;
};

class Report {
public:
    Report();
    virtual ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    void setName(const QString &name) { m_name = name; }
    QString name() const { return m_name; }

    PageSetup pageSetup;
    ReportData DC;

    Section *reportHeader() const { return m_reportHeader.get(); }
    Section *pageHeader() const { return m_pageHeader.get(); }
    Section *detail() const { return m_detail.get(); }
    Section *pageFooter() const { return m_pageFooter.get(); }
    Section *reportFooter() const { return m_reportFooter.get(); }
    // A group nested inside those added before it: its header and footer.
    std::pair<Section *, Section *> addGroup(const QString &headerName, const QString &footerName);
    Section *section(const QString &name) const; // without regard to case
    std::vector<Section *> sections() const;     // in band order

    // Runs the report once: true when it gave pages. Each run starts afresh.
    bool run();
    const Document &document() const { return m_doc; }
    Document takeDocument();
    // The title the exports give the pages (a PDF's Title, a web page's
    // <title>). Each run starts with the report's name; a handler may set it
    // from what the run reads.
    void setDocumentTitle(const QString &title) { m_doc.title = title; }

    // Ends the run with no pages; callable from any handler.
    void cancel() { m_cancelled = true; }
    bool isCancelled() const { return m_cancelled; }
    // During the run: the page being laid out (1-based).
    int pageNumber() const { return m_pageNumber; }

protected:
    virtual void reportStart() {}
    virtual void fetchData(bool eof) { Q_UNUSED(eof); }
    virtual void noData() {}
    virtual void error(int number, const QString &description, bool &cancelDisplay)
    {
        Q_UNUSED(number);
        Q_UNUSED(description);
        Q_UNUSED(cancelDisplay);
    }
    virtual void reportEnd() {}

private:
    friend class Layout;
    struct Group {
        Section *header;
        Section *footer;
    };
    // The run itself: into pages, or (a sub-report) into `strip`, `width` wide.
    bool execute(Strip *strip, int width);
    void raiseError(int number, const QString &description);
    void format(Section &s);
    void bind(Section &s);

    QString m_name;
    std::unique_ptr<Section> m_reportHeader, m_pageHeader, m_detail, m_pageFooter, m_reportFooter;
    std::vector<std::unique_ptr<Section>> m_groupSections;
    std::vector<Group> m_groups;
    Document m_doc;
    bool m_cancelled = false;
    int m_pageNumber = 0;
    bool m_running = false;
    std::vector<const Control *> m_missingReported;
};

} // namespace report
