#include "platform/report/report.h"

#include "platform/clock.h"
#include "platform/controls/data_control.h"
#include "platform/dates.h"
#include "platform/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QtDebug>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>

namespace report {

// ---------------------------------------------------------------- values

namespace {

// A date as the files keep it: a date or date-time value, or ISO text.
bool asDateTime(const QVariant &v, QDateTime *out)
{
    switch (v.metaType().id()) {
    case QMetaType::QDateTime: *out = v.toDateTime(); return out->isValid();
    case QMetaType::QDate: *out = QDateTime(v.toDate(), QTime(0, 0)); return out->isValid();
    case QMetaType::QString: {
        const QString t = v.toString().trimmed();
        QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
        if (!dt.isValid())
            dt = QDateTime(QDate::fromString(t, Qt::ISODate), QTime(0, 0));
        *out = dt;
        return dt.isValid();
    }
    default: return false;
    }
}

} // namespace

// A long date prints in the program's own form, as its windows and prompts
// show it: the date on a printout reads as the one the user was just asked
// to confirm.
QString formatValue(const QVariant &value, const QString &outputFormat)
{
    if (!value.isValid() || value.isNull())
        return {};
    const QString f = outputFormat.trimmed();
    QDateTime dt;
    const bool isDate = value.metaType().id() == QMetaType::QDateTime || value.metaType().id() == QMetaType::QDate;
    if ((isDate || !f.isEmpty()) && asDateTime(value, &dt)) {
        const QLocale loc;
        if (f.compare(QLatin1String("Long Date"), Qt::CaseInsensitive) == 0 || f == QLatin1String("dddddd"))
            return vbFormatLongDate(dt.date());
        // "ddddd h:nn:ss AMPM" and no format: the date, and the time when it has one.
        QString text = loc.toString(dt.date(), QLocale::ShortFormat);
        if (dt.time() != QTime(0, 0))
            text += QLatin1Char(' ') + dt.time().toString(QStringLiteral("h:mm:ss AP"));
        return text;
    }
    if (value.metaType().id() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

// ---------------------------------------------------------------- controls

Control::Control(ControlKind k, QString n, const QRect &g)
    : kind(k), name(std::move(n)), left(g.left()), top(g.top()), width(g.width()), height(g.height()),
      font(QStringLiteral("Arial"), 10)
{
}

void Control::setRect(const QRect &r)
{
    left = r.left();
    top = r.top();
    width = r.width();
    height = r.height();
}

QString Control::text() const
{
    switch (kind) {
    case ControlKind::Label: return caption;
    case ControlKind::Field: return formatValue(value, outputFormat);
    default: return {};
    }
}

Section::Section(SectionKind k, QString n) : kind(k), name(std::move(n)) {}
Section::~Section() = default;

Control *Section::add(ControlKind kind, const QString &name, const QRect &geometry)
{
    m_controls.push_back(std::make_unique<Control>(kind, name, geometry));
    return m_controls.back().get();
}

Control *Section::addLabel(const QString &name, const QRect &geometry, const QString &caption)
{
    Control *c = add(ControlKind::Label, name, geometry);
    c->caption = caption;
    return c;
}

Control *Section::addField(const QString &name, const QRect &geometry, const QString &dataField)
{
    Control *c = add(ControlKind::Field, name, geometry);
    c->dataField = dataField;
    return c;
}

Control *Section::addPicture(const QString &name, const QRect &geometry)
{
    return add(ControlKind::Picture, name, geometry);
}

Control *Section::addLine(const QString &name, int x1, int y1, int x2, int y2)
{
    return add(ControlKind::Line, name, QRect(QPoint(x1, y1), QSize(x2 - x1, y2 - y1)));
}

Control *Section::addBox(const QString &name, const QRect &geometry) { return add(ControlKind::Box, name, geometry); }

Control *Section::addRichText(const QString &name, const QRect &geometry)
{
    Control *c = add(ControlKind::RichText, name, geometry);
    c->canGrow = true;
    return c;
}

Control *Section::addSubReport(const QString &name, const QRect &geometry)
{
    return add(ControlKind::SubReport, name, geometry);
}

Control *Section::control(const QString &name) const
{
    for (const auto &c : m_controls) {
        if (c->name.compare(name, Qt::CaseInsensitive) == 0)
            return c.get();
    }
    return nullptr;
}

// ---------------------------------------------------------------- page set-up

QSize PageSetup::paperSize() const
{
    // From millimetres: the points Qt gives are rounded (A4 would lose 6 twips).
    const QSizeF mm = paper.size(QPageSize::Millimeter);
    QSize s(qRound(mm.width() * kTwipsPerInch / 25.4), qRound(mm.height() * kTwipsPerInch / 25.4));
    if (orientation == QPageLayout::Landscape)
        s.transpose();
    return s;
}

QRect PageSetup::printableRect() const
{
    const QSize s = paperSize();
    QRect r(margins.left(), margins.top(), s.width() - margins.left() - margins.right(),
            s.height() - margins.top() - margins.bottom());
    if (printWidth > 0 && printWidth < r.width())
        r.setWidth(printWidth);
    return r;
}

// ---------------------------------------------------------------- data control

ReportData::ReportData() = default;
ReportData::~ReportData() = default;

void ReportData::setRecordSource(const QString &source, const QVariantList &params)
{
    m_source = source;
    m_params = params;
}

bool ReportData::open(QString *error)
{
    close();
    m_rows = std::make_unique<DataControl>();
    m_rows->setReadOnly(true);
    if (m_database)
        m_rows->setDatabase(m_database);
    else
        m_rows->setDatabaseName(m_databaseName.isEmpty() ? db::connectDatabase(m_connect) : m_databaseName);
    m_rows->setRecordSource(m_source, m_params);
    if (!m_rows->refresh()) {
        *error = m_rows->lastError().description;
        close();
        return false;
    }
    return true;
}

void ReportData::close()
{
    m_rows.reset();
    m_row = -1;
}

QVariant ReportData::fieldAt(int row, const QString &name) const
{
    return m_rows ? m_rows->value(row, name) : QVariant();
}

QVariant ReportData::field(const QString &name) const { return fieldAt(m_row, name); }
bool ReportData::hasField(const QString &name) const { return m_rows && m_rows->hasField(name); }
QStringList ReportData::fieldNames() const { return m_rows ? m_rows->fieldNames() : QStringList(); }
int ReportData::recordCount() const { return m_rows ? m_rows->recordCount() : 0; }
bool ReportData::isEOF() const { return m_row < 0 || m_row >= recordCount(); }

// ---------------------------------------------------------------- layout

namespace {

// The font as the page model keeps it: its size in twips, unhinted, so that
// every device breaks the lines where the layout did.
QFont modelFont(const QFont &designed)
{
    QFont f(designed);
    const double pt = designed.pointSizeF() > 0 ? designed.pointSizeF() : designed.pixelSize() * 0.75;
    f.setPixelSize(qMax(1, qRound(pt * kTwipsPerPoint)));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

bool isText(const Control &c) { return c.kind == ControlKind::Label || c.kind == ControlKind::Field; }

int textHeight(const Control &c, const QFont &font, const QString &text)
{
    const int flags = c.alignment | (c.wordWrap ? Qt::TextWordWrap : 0);
    const QRectF r = QFontMetricsF(font).boundingRect(QRectF(0, 0, qMax(1, c.width), 1e7), flags, text);
    return int(std::ceil(r.height()));
}

// Whether `text` in `font` fits the box whole: no line wider than the box,
// the lines no taller than it.
bool fitsWhole(const QString &text, const QFont &font, int flags, const QSize &box)
{
    const QRectF r = QFontMetricsF(font).boundingRect(QRectF(0, 0, box.width(), 1e7), flags, text);
    return r.width() <= box.width() + 0.5 && r.height() <= box.height() + 0.5;
}

// A text never loses words silently: one that does not fit its box wraps at
// its word boundaries, and where the lines are still too many or a word too
// long, its font shrinks, down to half the designed size (five points at
// least), before the box clips it. Decided once here, so that the viewer,
// the printer, the PDF, HTML and RTF show the same lines in the same size.
void fitText(Item &it)
{
    if (it.angle != 0 || it.deferred != Item::NoDeferred || it.text.isEmpty() || it.rect.isEmpty())
        return;
    const int align = it.alignment & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask);
    const QSize box = it.rect.size();
    if (fitsWhole(it.text, it.font, align | (it.wordWrap ? Qt::TextWordWrap : 0), box))
        return;
    it.wordWrap = true;
    if (fitsWhole(it.text, it.font, align | Qt::TextWordWrap, box))
        return;
    QFont f = it.font;
    const int designed = f.pixelSize();
    const int floor = qMin(designed, qMax(5 * kTwipsPerPoint, designed / 2));
    for (int px = designed - qMax(1, designed / 20); px > floor; px -= qMax(1, px / 20)) {
        f.setPixelSize(px);
        if (fitsWhole(it.text, f, align | Qt::TextWordWrap, box)) {
            it.font = f;
            return;
        }
    }
    f.setPixelSize(floor);
    it.font = f;
}

QImage imageForModel(const QImage &img, const QRect &rect) { return imageForDpi(img, rect, kModelImageDpi); }

bool sameKey(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull(), bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    return a == b;
}

} // namespace

// A sub-report's content: its band occurrences one under the other, each
// with its items placed from (0, 0) of the band.
struct Strip {
    struct Band {
        int height = 0;
        std::vector<Item> items;
    };
    std::vector<Band> bands;
    int height = 0;
};

std::shared_ptr<QTextDocument> richDocument(const QString &text, const QFont &font, int width)
{
    auto doc = std::make_shared<QTextDocument>();
    doc->setDocumentMargin(0);
    doc->setDefaultFont(modelFont(font));
    QTextOption option = doc->defaultTextOption();
    option.setTabStopDistance(720);
    doc->setDefaultTextOption(option);
    if (!text.isEmpty())
        rtf::read(text, doc.get());

    // The codec gives sizes in points and indents in pixels of the screen;
    // the page model counts both in twips.
    struct Run {
        int from, to;
        QTextCharFormat format;
    };
    std::vector<Run> runs;
    auto twipsFormat = [](QTextCharFormat f) {
        if (f.hasProperty(QTextFormat::FontPointSize)) {
            const double pt = f.fontPointSize();
            f.clearProperty(QTextFormat::FontPointSize);
            f.setProperty(QTextFormat::FontPixelSize, qMax(1, qRound(pt * kTwipsPerPoint)));
        }
        return f;
    };
    QTextCursor cursor(doc.get());
    cursor.beginEditBlock();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat bf = b.blockFormat();
        const double scale = rtf::kTwipsPerPixel;
        bf.setLeftMargin(bf.leftMargin() * scale);
        bf.setRightMargin(bf.rightMargin() * scale);
        bf.setTopMargin(bf.topMargin() * scale);
        bf.setBottomMargin(bf.bottomMargin() * scale);
        bf.setTextIndent(bf.textIndent() * scale);
        cursor.setPosition(b.position());
        cursor.setBlockFormat(bf);
        cursor.setBlockCharFormat(twipsFormat(b.charFormat()));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.isValid() && f.charFormat().hasProperty(QTextFormat::FontPointSize))
                runs.push_back({f.position(), f.position() + f.length(), twipsFormat(f.charFormat())});
        }
    }
    for (const Run &r : runs) {
        cursor.setPosition(r.from);
        cursor.setPosition(r.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(r.format);
    }
    cursor.endEditBlock();
    doc->setTextWidth(qMax(1, width));
    return doc;
}

namespace {

// One visible control of a band occurrence as it is laid out: where it ends
// up in the band and, for rich text and sub-reports, the part of its content
// still to come.
struct Piece {
    enum Kind { Fixed, Rich, Sub };
    const Control *c = nullptr;
    Kind kind = Fixed;
    int designTop = 0, designBottom = 0; // what pushing down goes by
    int top = 0, height = 0;             // in the band
    int lineDy = 0;                      // a line: its first point below `top`
    // Rich and Sub: the content from `offset` down to breaks.back(), which
    // may be cut at any of `breaks` (content positions, ascending).
    int offset = 0;
    std::vector<int> breaks;
    std::shared_ptr<const QTextDocument> doc;
    std::shared_ptr<const Strip> strip;

    int bottom() const { return top + height; }
    int end() const { return breaks.empty() ? height : breaks.back(); }
};

struct Band {
    std::vector<Piece> pieces;
    int minHeight = 0;
    bool canGrow = true;
    bool splits = false;

    int height() const
    {
        if (!canGrow)
            return minHeight;
        int h = minHeight;
        for (const Piece &p : pieces)
            h = qMax(h, p.bottom());
        return h;
    }
};

// A control that grew moves every control whose top is at or below its
// designed bottom down by as much as it grew; those moved move the ones below
// them in turn.
void pushDown(std::vector<Piece> &pieces)
{
    std::vector<size_t> order(pieces.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return pieces[a].designTop < pieces[b].designTop; });
    for (size_t k = 0; k < order.size(); ++k) {
        Piece &p = pieces[order[k]];
        int shift = 0;
        for (size_t j = 0; j < k; ++j) {
            const Piece &q = pieces[order[j]];
            if (q.designTop < p.designTop && q.designBottom <= p.designTop)
                shift = qMax(shift, q.bottom() - q.designBottom);
        }
        p.top = p.designTop + shift;
    }
}

// The tops of a document's lines below its first one, then its end.
std::vector<int> lineBreaks(const QTextDocument &doc, int end)
{
    std::vector<int> out;
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout *l = b.layout();
        if (!l)
            continue;
        const double blockTop = layout->blockBoundingRect(b).top();
        for (int i = 0; i < l->lineCount(); ++i) {
            const int y = int(std::floor(blockTop + l->lineAt(i).y()));
            if (y > 0 && y < end && (out.empty() || y > out.back()))
                out.push_back(y);
        }
    }
    out.push_back(end);
    return out;
}

void translate(Item &it, int dx, int dy)
{
    it.rect.translate(dx, dy);
    if (it.kind == Item::Line)
        it.line.translate(dx, dy);
}

} // namespace

// Places formatted band occurrences onto pages, or, for a sub-report, into
// its strip.
class Layout {
public:
    Layout(Report &r, Strip *strip, int width)
        : m_r(r), m_strip(strip),
          m_area(strip ? QRect(0, 0, qMax(1, width), std::numeric_limits<int>::max() / 4) : r.pageSetup.printableRect())
    {
    }

    // Page 1: the report header, then the page header. A sub-report has its
    // report header only.
    void begin()
    {
        if (m_strip) {
            place(*m_r.reportHeader(), false);
            return;
        }
        newPage();
        place(*m_r.reportHeader(), false);
        if (m_r.isCancelled())
            return;
        pageHeader();
        m_body = false;
    }

    // Formats the band and puts it where it fits.
    void place(Section &s, bool mayBreak = true)
    {
        m_r.format(s);
        if (m_r.isCancelled() || !s.visible)
            return;
        const bool columns = !m_strip && &s == m_r.detail() && s.columnCount > 1;
        const int width = columns ? slotWidth(s) : m_area.width();
        Band b = build(s, width);
        if (m_r.isCancelled())
            return;
        if (m_strip) {
            Strip::Band out;
            out.height = b.height();
            emitBand(b, takeAll(b), 0, 0, width, out.items);
            m_strip->height += out.height;
            m_strip->bands.push_back(std::move(out));
            return;
        }
        if (columns) {
            placeInSlot(s, b, width);
            return;
        }
        endRow();
        if (mayBreak && m_body && s.newPageBefore && !breakPage())
            return;
        for (;;) {
            const int h = b.height();
            const int room = bodyBottom() - m_y;
            if (!mayBreak || h <= room) {
                putWhole(b, s.kind, h);
                break;
            }
            std::vector<int> take;
            const int cutAt = b.splits ? cut(b, room, take) : -1;
            if (cutAt < 0) {
                // Nothing of it fits here: on the next page, or, on an empty
                // page, whole, however tall it is.
                if (m_body) {
                    if (!breakPage())
                        return;
                    if (b.splits)
                        continue;
                }
                putWhole(b, s.kind, h);
                break;
            }
            m_keep = {};
            put(b, take, m_y);
            m_body = true;
            m_lastRow = m_r.DC.m_row;
            b = remainder(b, cutAt, take);
            if (!nextPage())
                return;
        }
        m_body = true;
        m_lastRow = m_r.DC.m_row;
    }

    // The page footer, anchored at the bottom of the printable area.
    void endPage()
    {
        if (m_strip)
            return;
        endRow();
        // The page footer sees the last row on its page, not the row whose
        // band went on to the next page.
        Section &pf = *m_r.pageFooter();
        const int current = m_r.DC.m_row;
        m_r.DC.m_row = m_lastRow;
        m_r.format(pf);
        m_r.DC.m_row = current;
        if (m_r.isCancelled() || !pf.visible)
            return;
        Band b = build(pf, m_area.width());
        put(b, takeAll(b), m_area.top() + m_area.height() - b.height());
    }

private:
    void newPage()
    {
        // The page before is done: it is packed, and only this one is held as Items.
        if (!m_r.m_doc.pages.empty())
            m_r.m_doc.pages.back().items.pack();
        m_r.m_doc.pages.emplace_back();
        m_r.m_pageNumber = m_r.m_doc.pageCount();
        m_y = m_area.top();
        m_body = false;
        m_slot = 0;
    }

    // Ends the page and starts the next below its page header; false after a cancel.
    bool nextPage()
    {
        m_slot = 0;
        endPage();
        if (m_r.isCancelled())
            return false;
        newPage();
        pageHeader();
        return !m_r.isCancelled();
    }

    // A group header stays with the first row it heads: placed, it is noted,
    // and when the band after it goes on to the next page, the header (and
    // the headers it opened with) goes along, unless it began the page.
    struct Kept {
        int page = -1;           // the page it lies on; -1: nothing kept
        size_t from = 0, to = 0; // its items on that page
        int top = 0, height = 0;
        bool pageWasEmpty = false;
        int lastRowBefore = -1; // the page's last row without it
    };
    // Puts a band whole at the foot of what the page holds; a group header is
    // kept for the band after it, the page header leaves the kept alone.
    void putWhole(const Band &b, SectionKind kind, int h)
    {
        const int page = m_r.m_doc.pageCount() - 1;
        const size_t from = m_r.m_doc.pages.back().items.size();
        const bool pageWasEmpty = !m_body;
        const int lastRowBefore = m_lastRow;
        put(b, takeAll(b), m_y);
        const size_t to = m_r.m_doc.pages.back().items.size();
        if (kind == SectionKind::GroupHeader) {
            if (m_keep.page == page && m_keep.to == from) {
                m_keep.to = to; // an inner header under its outer one
                m_keep.height += h;
            } else {
                m_keep = {page, from, to, m_y, h, pageWasEmpty, lastRowBefore};
            }
        } else if (kind != SectionKind::PageHeader) {
            m_keep = {};
        }
        m_y += h;
    }

    // Ends the page for a band that does not fit, taking along the group
    // headers kept for it.
    bool breakPage()
    {
        const Kept k = std::exchange(m_keep, {});
        std::vector<Item> moved;
        if (k.page == m_r.m_doc.pageCount() - 1 && !k.pageWasEmpty) {
            std::vector<Item> &items = m_r.m_doc.pages.back().items.edit();
            moved.assign(std::make_move_iterator(items.begin() + std::ptrdiff_t(k.from)),
                         std::make_move_iterator(items.begin() + std::ptrdiff_t(k.to)));
            items.erase(items.begin() + std::ptrdiff_t(k.from), items.begin() + std::ptrdiff_t(k.to));
            m_lastRow = k.lastRowBefore;
        }
        if (!nextPage())
            return false;
        if (!moved.empty()) {
            const int dy = m_y - k.top;
            std::vector<Item> &items = m_r.m_doc.pages.back().items.edit();
            // Now at the top of its page: never moved again.
            m_keep = {
                m_r.m_doc.pageCount() - 1, items.size(), items.size() + moved.size(), m_y, k.height, true, m_lastRow};
            for (Item &it : moved) {
                translate(it, 0, dy);
                items.push_back(std::move(it));
            }
            m_y += k.height;
            m_body = true;
            m_lastRow = m_r.DC.m_row;
        }
        return true;
    }

    void pageHeader()
    {
        place(*m_r.pageHeader(), false);
        m_body = false;
    }

    int bodyBottom() const { return m_area.top() + m_area.height() - m_r.pageFooter()->height; }

    // ---- columns

    int slotWidth(const Section &s) const
    {
        const int n = qMax(1, s.columnCount);
        return qMax(1, (m_area.width() - (n - 1) * s.columnSpacing) / n);
    }

    // Slots across, then down; a row as high as its highest occurrence.
    void placeInSlot(const Section &s, const Band &b, int width)
    {
        const int h = b.height();
        if (m_slot > 0 && m_rowTop + h > bodyBottom())
            endRow();
        if (m_slot == 0) {
            if (m_body && m_y + h > bodyBottom() && !breakPage())
                return;
            m_rowTop = m_y;
            m_rowHeight = 0;
        }
        m_keep = {};
        const int x = m_area.left() + m_slot * (width + s.columnSpacing);
        std::vector<Item> &items = m_r.m_doc.pages.back().items.edit();
        emitBand(b, takeAll(b), x, m_rowTop, width, items);
        m_rowHeight = qMax(m_rowHeight, h);
        m_body = true;
        m_lastRow = m_r.DC.m_row;
        if (++m_slot >= s.columnCount)
            endRow();
    }

    void endRow()
    {
        if (m_slot > 0)
            m_y = m_rowTop + m_rowHeight;
        m_slot = 0;
    }

    // ---- a band occurrence

    // The band's visible controls as they grow and push, its sub-reports run.
    Band build(const Section &s, int width)
    {
        Band b;
        b.minHeight = s.height;
        b.canGrow = s.canGrow;
        for (const auto &cp : s.controls()) {
            const Control &c = *cp;
            if (!c.visible)
                continue;
            Piece p;
            p.c = &c;
            p.designTop = c.top;
            int h = c.height;
            if (c.kind == ControlKind::Line) {
                p.designTop = qMin(c.top, c.top + c.height);
                p.lineDy = c.top - p.designTop;
                h = std::abs(c.height);
            } else if (isText(c) && c.canGrow && c.angle == 0) {
                h = qMax(h, textHeight(c, fontOf(c), c.text()));
            } else if (c.kind == ControlKind::RichText && c.document && !c.document->isEmpty()) {
                std::shared_ptr<const QTextDocument> doc;
                if (c.document.get() == c.m_boundDocument) {
                    doc = c.document;
                } else {
                    QTextDocument *copy = c.document->clone();
                    copy->setTextWidth(qMax(1, c.width));
                    doc.reset(copy);
                }
                p.kind = Piece::Rich;
                p.doc = doc;
                if (c.canGrow) {
                    const int content = int(std::ceil(doc->size().height()));
                    h = qMax(h, content);
                    p.breaks = lineBreaks(*doc, h);
                } else {
                    p.breaks = {h};
                }
            } else if (c.kind == ControlKind::SubReport && c.subReport) {
                auto strip = std::make_shared<Strip>();
                if (c.subReport->execute(strip.get(), qMin(c.width, width - qMax(0, c.left))) && strip->height > 0) {
                    h = qMax(h, strip->height);
                    p.kind = Piece::Sub;
                    int at = 0;
                    for (const Strip::Band &sb : strip->bands) {
                        at += sb.height;
                        if (at > 0 && at < h && (p.breaks.empty() || at > p.breaks.back()))
                            p.breaks.push_back(at);
                    }
                    p.breaks.push_back(h);
                    p.strip = std::move(strip);
                }
                if (m_r.isCancelled())
                    return b;
            }
            p.height = h;
            p.designBottom = p.designTop + (c.kind == ControlKind::Line ? h : c.height);
            if (p.kind != Piece::Fixed && p.breaks.size() > 1)
                b.splits = true;
            b.pieces.push_back(std::move(p));
        }
        b.splits = b.splits && s.canGrow;
        pushDown(b.pieces);
        return b;
    }

    static std::vector<int> takeAll(const Band &b)
    {
        std::vector<int> take(b.pieces.size());
        for (size_t i = 0; i < take.size(); ++i) {
            const Piece &p = b.pieces[i];
            take[i] = p.kind == Piece::Fixed ? p.height : p.end() - p.offset;
        }
        return take;
    }

    // Where to cut a band that does not fit in `room`: no fixed control
    // crosses the cut, and each rich text or sub-report gives what it can up
    // to it (in `take`; -1 for what goes wholly to the next part). -1 when
    // nothing at all fits.
    static int cut(const Band &b, int room, std::vector<int> &take)
    {
        int at = room;
        for (bool moved = true; moved;) {
            moved = false;
            for (const Piece &p : b.pieces) {
                if (p.kind == Piece::Fixed && p.top < at && p.bottom() > at) {
                    at = p.top;
                    moved = true;
                }
            }
        }
        bool progress = false;
        take.assign(b.pieces.size(), -1);
        for (size_t i = 0; i < b.pieces.size(); ++i) {
            const Piece &p = b.pieces[i];
            if (p.top >= at)
                continue;
            if (p.kind == Piece::Fixed) {
                take[i] = p.height;
                progress = true;
                continue;
            }
            const int limit = p.offset + (at - p.top);
            int best = -1;
            for (int br : p.breaks) {
                if (br > limit)
                    break;
                if (br > p.offset)
                    best = br;
            }
            if (best > p.offset) {
                take[i] = best - p.offset;
                progress = true;
            }
        }
        return progress ? at : -1;
    }

    // What is left of a band cut at `at` after `take`, as a band of its own.
    static Band remainder(const Band &b, int at, const std::vector<int> &take)
    {
        Band r;
        r.minHeight = qMax(0, b.minHeight - at);
        r.canGrow = b.canGrow;
        for (size_t i = 0; i < b.pieces.size(); ++i) {
            const Piece &p = b.pieces[i];
            if (p.kind == Piece::Fixed && take[i] >= 0)
                continue;
            if (p.kind != Piece::Fixed && take[i] > 0 && p.offset + take[i] >= p.end())
                continue;
            Piece q = p;
            if (p.top >= at) {
                q.top = p.top - at;
                q.designTop = q.top;
                q.designBottom = q.bottom();
            } else {
                q.offset = p.offset + qMax(0, take[i]);
                q.top = q.designTop = 0;
                q.designBottom = qMax(0, p.bottom() - at);
                q.height = p.end() - q.offset;
            }
            if (q.kind != Piece::Fixed)
                r.splits = true;
            r.pieces.push_back(std::move(q));
        }
        pushDown(r.pieces);
        return r;
    }

    // The part of the band `take` says at `top` of the page.
    void put(const Band &b, const std::vector<int> &take, int top)
    {
        emitBand(b, take, m_area.left(), top, m_area.width(), m_r.m_doc.pages.back().items.edit());
    }

    // The band's items, its left edge at `x0`, its top at `top`, nothing
    // wider than `width`.
    void emitBand(const Band &b, const std::vector<int> &take, int x0, int top, int width, std::vector<Item> &out)
    {
        const int x1 = x0 + width;
        auto clipped = [&](QRect r) {
            r.setLeft(qMax(r.left(), x0));
            r.setRight(qMin(r.right(), x1 - 1));
            return r;
        };
        for (size_t i = 0; i < b.pieces.size(); ++i) {
            const Piece &p = b.pieces[i];
            if (take[i] < 0 || (take[i] == 0 && p.kind != Piece::Fixed))
                continue;
            const Control &c = *p.c;
            const QRect at(x0 + c.left, top + p.top, c.width, p.height);
            if (p.kind == Piece::Sub) {
                const int from = p.offset, to = p.offset + take[i];
                int y = 0;
                for (const Strip::Band &sb : p.strip->bands) {
                    if (y >= from && y + sb.height <= to) {
                        for (const Item &src : sb.items) {
                            out.push_back(src);
                            translate(out.back(), at.left(), top + p.top + y - from);
                        }
                    }
                    y += sb.height;
                    if (y >= to)
                        break;
                }
                continue;
            }
            Item it;
            it.name = c.name;
            switch (c.kind) {
            case ControlKind::Label:
            case ControlKind::Field:
                it.kind = Item::Text;
                it.rect = c.angle == 0 ? clipped(at) : at;
                it.text = c.text();
                it.font = fontOf(c);
                it.foreColor = c.foreColor;
                it.backColor = c.backColor;
                it.alignment = c.alignment;
                it.wordWrap = c.wordWrap;
                it.angle = c.kind == ControlKind::Label ? c.angle : 0;
                it.href = c.hyperlink;
                if (c.kind == ControlKind::Field)
                    it.deferred = c.summary == Control::PageNumber  ? Item::PageNumber
                                  : c.summary == Control::PageCount ? Item::PageCount
                                                                    : Item::NoDeferred;
                fitText(it);
                break;
            case ControlKind::Picture:
                if ((c.picture.isNull() && c.pictureFile.isEmpty()) || at.isEmpty())
                    continue;
                it.kind = Item::Image;
                it.rect = at;
                if (c.picture.isNull())
                    it.imageFile = c.pictureFile;
                else
                    it.image = imageForModel(c.picture, at);
                break;
            case ControlKind::Line: {
                it.kind = Item::Line;
                const int y1 = top + p.top + p.lineDy;
                it.line = QLineF(x0 + c.left, y1, x0 + c.left + c.width, y1 + c.height);
                it.rect = QRect(QPoint(x0 + c.left, y1), QSize(c.width, c.height)).normalized();
                it.lineColor = c.foreColor;
                it.lineWidth = c.lineWidth;
                break;
            }
            case ControlKind::Box:
                it.kind = Item::Box;
                it.rect = clipped(at);
                it.lineColor = c.foreColor;
                it.lineWidth = c.lineWidth;
                it.fillColor = c.backColor;
                break;
            case ControlKind::RichText:
                if (!p.doc)
                    continue;
                it.kind = Item::Rich;
                it.rect = clipped(QRect(at.left(), at.top(), c.width, take[i]));
                it.rich = p.doc;
                it.richTop = p.offset;
                break;
            case ControlKind::SubReport: continue; // a sub-report without content
            }
            if (it.rect.width() <= 0 && it.kind != Item::Line)
                continue;
            out.push_back(std::move(it));
        }
    }

    // One model font a control while its font stays, so that the pages share
    // it rather than hold a font of their own per item.
    const QFont &fontOf(const Control &c) const
    {
        auto &entry = m_fonts[&c];
        if (!entry.second.has_value() || !(entry.first == c.font)) {
            entry.first = c.font;
            entry.second = modelFont(c.font);
        }
        return *entry.second;
    }

    Report &m_r;
    Strip *m_strip;
    QRect m_area;
    mutable std::unordered_map<const Control *, std::pair<QFont, std::optional<QFont>>> m_fonts;
    int m_y = 0;
    bool m_body = false; // the page holds more than its header
    int m_lastRow = -1;  // the row current when the page's last band was placed
    Kept m_keep;
    int m_slot = 0, m_rowTop = 0, m_rowHeight = 0; // the row of detail slots being filled
};

// ---------------------------------------------------------------- report

Report::Report()
    : m_reportHeader(std::make_unique<Section>(SectionKind::ReportHeader, QStringLiteral("ReportHeader"))),
      m_pageHeader(std::make_unique<Section>(SectionKind::PageHeader, QStringLiteral("PageHeader"))),
      m_detail(std::make_unique<Section>(SectionKind::Detail, QStringLiteral("Detail"))),
      m_pageFooter(std::make_unique<Section>(SectionKind::PageFooter, QStringLiteral("PageFooter"))),
      m_reportFooter(std::make_unique<Section>(SectionKind::ReportFooter, QStringLiteral("ReportFooter")))
{
}

Report::~Report() = default;

std::pair<Section *, Section *> Report::addGroup(const QString &headerName, const QString &footerName)
{
    auto h = std::make_unique<Section>(SectionKind::GroupHeader, headerName);
    auto f = std::make_unique<Section>(SectionKind::GroupFooter, footerName);
    f->m_header = h.get();
    Group g{h.get(), f.get()};
    m_groupSections.push_back(std::move(h));
    m_groupSections.push_back(std::move(f));
    m_groups.push_back(g);
    return {g.header, g.footer};
}

std::vector<Section *> Report::sections() const
{
    std::vector<Section *> out{m_reportHeader.get(), m_pageHeader.get()};
    for (const Group &g : m_groups)
        out.push_back(g.header);
    out.push_back(m_detail.get());
    for (auto it = m_groups.rbegin(); it != m_groups.rend(); ++it)
        out.push_back(it->footer);
    out.push_back(m_pageFooter.get());
    out.push_back(m_reportFooter.get());
    return out;
}

Section *Report::section(const QString &name) const
{
    for (Section *s : sections()) {
        if (s->name.compare(name, Qt::CaseInsensitive) == 0)
            return s;
    }
    return nullptr;
}

Document Report::takeDocument()
{
    Document d = std::move(m_doc);
    m_doc = Document();
    return d;
}

void Report::raiseError(int number, const QString &description)
{
    bool cancelDisplay = false;
    error(number, description, cancelDisplay);
    if (!cancelDisplay)
        qWarning().noquote() << "Report" << m_name << "error" << number << description;
}

void Report::bind(Section &s)
{
    for (const auto &cp : s.controls()) {
        Control &c = *cp;
        const bool field = c.kind == ControlKind::Field && c.summary == Control::NoSummary;
        if ((!field && c.kind != ControlKind::RichText) || c.dataField.isEmpty())
            continue;
        const QString df = c.dataField.trimmed();
        QVariant value;
        if (QString(df).remove(QLatin1Char(' ')).compare(QLatin1String("=Now()"), Qt::CaseInsensitive) == 0) {
            value = zbclock::now();
        } else if (df.startsWith(QLatin1Char('@'))) {
            const Section *h = s.kind == SectionKind::GroupFooter ? s.m_header : &s;
            value = h ? h->groupValue : QVariant();
        } else if (DC.hasField(df)) {
            value = DC.field(df);
        } else if (std::find(m_missingReported.begin(), m_missingReported.end(), &c) == m_missingReported.end()) {
            m_missingReported.push_back(&c);
            raiseError(ErrFieldNotFound,
                       QStringLiteral("The field %1 of %2 names no column of the record source.").arg(df, c.name));
        }
        if (c.kind == ControlKind::RichText) {
            // A document of the row's own: the pages keep the ones before.
            c.document = richDocument(value.toString(), c.font, c.width);
            c.m_boundDocument = c.document.get();
        } else {
            c.value = value;
        }
    }
}

void Report::format(Section &s)
{
    bind(s);
    if (s.onFormat)
        s.onFormat();
}

bool Report::run()
{
    m_doc = Document();
    m_doc.title = m_name;
    m_doc.pageSize = pageSetup.paper;
    m_doc.orientation = pageSetup.orientation;
    m_doc.size = pageSetup.paperSize();
    return execute(nullptr, 0);
}

bool Report::execute(Strip *strip, int width)
{
    // A report attached to itself, or to one of the reports it runs in, runs once.
    if (m_running)
        return false;
    m_running = true;
    m_cancelled = false;
    m_pageNumber = 0;
    m_missingReported.clear();

    // Every way out: nothing laid out after a cancel, the rows let go, reportEnd().
    auto finish = [this, strip](bool ok) {
        if (m_cancelled) {
            m_doc.pages.clear();
            if (strip)
                *strip = Strip();
            raiseError(ErrCancelled, QStringLiteral("The report was cancelled."));
            ok = false;
        }
        DC.close();
        reportEnd();
        m_pageNumber = 0;
        m_running = false;
        return ok && (strip ? !strip->bands.empty() : !m_doc.isEmpty());
    };

    reportStart();
    if (m_cancelled)
        return finish(false);
    QString why;
    if (!DC.open(&why)) {
        raiseError(ErrRecordSource, QStringLiteral("The record source could not be read. ") + why);
        return finish(false);
    }

    Layout layout(*this, strip, width);
    const int rows = DC.recordCount();
    const int levels = int(m_groups.size());

    if (rows == 0) {
        noData();
        if (m_cancelled)
            return finish(false);
        layout.begin();
        int open = 0;
        while (open < levels && !m_groups[size_t(open)].header->hasGroupKey() && !m_cancelled)
            layout.place(*m_groups[size_t(open++)].header);
        while (open > 0 && !m_cancelled)
            layout.place(*m_groups[size_t(--open)].footer);
        if (!m_cancelled)
            layout.place(*m_reportFooter);
        if (!m_cancelled)
            layout.endPage();
        return finish(true);
    }

    auto keyOf = [this](const Group &g) {
        if (!g.header->hasGroupKey())
            return QVariant();
        return g.header->groupColumn().isEmpty() ? g.header->groupValue : DC.field(g.header->groupColumn());
    };
    // A group footer closing with the row before: that row current, and the
    // group's value as it was.
    auto closeGroups = [&](int from, int previousRow, const std::vector<QVariant> &previousKeys) {
        const int current = DC.m_row;
        DC.m_row = previousRow;
        for (int i = levels - 1; i >= from && !m_cancelled; --i) {
            Section &h = *m_groups[size_t(i)].header;
            const QVariant now = h.groupValue;
            if (h.hasGroupKey() && h.groupColumn().isEmpty())
                h.groupValue = previousKeys[size_t(i)];
            layout.place(*m_groups[size_t(i)].footer);
            h.groupValue = now;
        }
        DC.m_row = current;
    };

    std::vector<QVariant> keys(static_cast<size_t>(levels)), previous(static_cast<size_t>(levels));
    bool begun = false;
    for (int k = 0; k < rows; ++k) {
        DC.m_row = k;
        fetchData(false);
        if (m_cancelled)
            return finish(false);
        for (int i = 0; i < levels; ++i)
            keys[size_t(i)] = keyOf(m_groups[size_t(i)]);
        int broken = 0;
        if (k > 0) {
            broken = levels;
            for (int i = 0; i < levels; ++i) {
                if (m_groups[size_t(i)].header->hasGroupKey() && !sameKey(keys[size_t(i)], previous[size_t(i)])) {
                    broken = i;
                    break;
                }
            }
            closeGroups(broken, k - 1, previous);
        }
        if (!begun) {
            layout.begin();
            begun = true;
        }
        for (int i = broken; i < levels && !m_cancelled; ++i)
            layout.place(*m_groups[size_t(i)].header);
        if (!m_cancelled)
            layout.place(*m_detail);
        if (m_cancelled)
            return finish(false);
        previous = keys;
    }

    DC.m_row = rows;
    fetchData(true);
    if (m_cancelled)
        return finish(false);
    DC.m_row = rows - 1; // the last row stays current for the closing bands
    closeGroups(0, rows - 1, previous);
    if (!m_cancelled)
        layout.place(*m_reportFooter);
    if (!m_cancelled)
        layout.endPage();
    return finish(true);
}

} // namespace report
