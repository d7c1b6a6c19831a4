#include "platform/report/report.h"

#include "platform/clock.h"
#include "platform/controls/data_control.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QtDebug>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>

namespace report {

// ---------------------------------------------------------------- values

namespace {

ValueFormatter &installedFormatter()
{
    static ValueFormatter f;
    return f;
}

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

void setValueFormatter(ValueFormatter formatter) { installedFormatter() = std::move(formatter); }

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
            return loc.toString(dt.date(), QLocale::LongFormat);
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

static QString printed(const QVariant &value, const QString &outputFormat)
{
    const ValueFormatter &f = installedFormatter();
    return f ? f(value, outputFormat) : formatValue(value, outputFormat);
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
    case ControlKind::Field: return printed(value, outputFormat);
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

QImage imageForModel(const QImage &img, const QRect &rect) { return imageForDpi(img, rect, kModelImageDpi); }

bool sameKey(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull(), bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    return a == b;
}

} // namespace

// Places formatted band occurrences onto pages.
class Layout {
public:
    explicit Layout(Report &r) : m_r(r), m_area(r.pageSetup.printableRect()) {}

    // Page 1: the report header, then the page header.
    void begin()
    {
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
        if (m_r.isCancelled())
            return;
        std::vector<int> heights;
        const int h = measure(s, &heights);
        if (!s.visible)
            return;
        if (mayBreak && m_body && (s.newPageBefore || m_y + h > bodyBottom())) {
            endPage();
            if (m_r.isCancelled())
                return;
            newPage();
            pageHeader();
            if (m_r.isCancelled())
                return;
        }
        put(s, heights, m_y);
        m_y += h;
        m_body = true;
        m_lastRow = m_r.DC.m_row;
    }

    // The page footer, anchored at the bottom of the printable area.
    void endPage()
    {
        // The page footer sees the last row on its page, not the row whose
        // band went on to the next page.
        Section &pf = *m_r.pageFooter();
        const int current = m_r.DC.m_row;
        m_r.DC.m_row = m_lastRow;
        m_r.format(pf);
        m_r.DC.m_row = current;
        if (m_r.isCancelled())
            return;
        std::vector<int> heights;
        const int h = measure(pf, &heights);
        if (pf.visible)
            put(pf, heights, m_area.top() + m_area.height() - h);
    }

private:
    void newPage()
    {
        m_r.m_doc.pages.emplace_back();
        m_r.m_pageNumber = m_r.m_doc.pageCount();
        m_y = m_area.top();
        m_body = false;
    }

    void pageHeader()
    {
        place(*m_r.pageHeader(), false);
        m_body = false;
    }

    int bodyBottom() const { return m_area.top() + m_area.height() - m_r.pageFooter()->height; }

    // The band's height after its controls have grown; the controls' heights.
    int measure(const Section &s, std::vector<int> *heights) const
    {
        int bottom = 0;
        heights->clear();
        for (const auto &cp : s.controls()) {
            const Control &c = *cp;
            int h = c.height;
            if (c.visible && c.canGrow && c.angle == 0) {
                if (isText(c))
                    h = qMax(h, textHeight(c, fontOf(c), c.text()));
                else if (c.kind == ControlKind::RichText && c.document) {
                    c.document->setTextWidth(c.width);
                    h = qMax(h, int(std::ceil(c.document->size().height())));
                }
            }
            heights->push_back(h);
            if (!c.visible)
                continue;
            const int b = c.kind == ControlKind::Line ? qMax(c.top, c.top + c.height) : c.top + h;
            bottom = qMax(bottom, b);
        }
        return s.canGrow ? qMax(s.height, bottom) : s.height;
    }

    // The band's visible controls as items at (left margin, top).
    void put(const Section &s, const std::vector<int> &heights, int top)
    {
        Page &page = m_r.m_doc.pages.back();
        const int x0 = m_area.left(), x1 = m_area.left() + m_area.width();
        auto clipped = [&](QRect r) {
            r.setLeft(qMax(r.left(), x0));
            r.setRight(qMin(r.right(), x1 - 1));
            return r;
        };
        for (size_t i = 0; i < s.controls().size(); ++i) {
            const Control &c = *s.controls()[i];
            if (!c.visible)
                continue;
            const QRect at(x0 + c.left, top + c.top, c.width, heights[i]);
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
                break;
            case ControlKind::Picture:
                if (c.picture.isNull() || at.isEmpty())
                    continue;
                it.kind = Item::Image;
                it.rect = at;
                it.image = imageForModel(c.picture, at);
                break;
            case ControlKind::Line:
                it.kind = Item::Line;
                it.line = QLineF(x0 + c.left, top + c.top, x0 + c.left + c.width, top + c.top + c.height);
                it.rect = QRect(at.topLeft(), QSize(c.width, c.height)).normalized();
                it.lineColor = c.foreColor;
                it.lineWidth = c.lineWidth;
                break;
            case ControlKind::Box:
                it.kind = Item::Box;
                it.rect = clipped(at);
                it.lineColor = c.foreColor;
                it.lineWidth = c.lineWidth;
                it.fillColor = c.backColor;
                break;
            case ControlKind::RichText:
                if (!c.document)
                    continue;
                it.kind = Item::Rich;
                it.rect = clipped(at);
                it.rich = std::shared_ptr<const QTextDocument>(c.document->clone());
                break;
            case ControlKind::SubReport:
                continue; // placed by the sub-report layer
            }
            if (it.rect.width() <= 0 && it.kind != Item::Line)
                continue;
            page.items.push_back(std::move(it));
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
    QRect m_area;
    mutable std::unordered_map<const Control *, std::pair<QFont, std::optional<QFont>>> m_fonts;
    int m_y = 0;
    bool m_body = false; // the page holds more than its header
    int m_lastRow = -1;  // the row current when the page's last band was placed
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
        if (c.kind != ControlKind::Field || c.dataField.isEmpty() || c.summary != Control::NoSummary)
            continue;
        const QString df = c.dataField.trimmed();
        if (QString(df).remove(QLatin1Char(' ')).compare(QLatin1String("=Now()"), Qt::CaseInsensitive) == 0) {
            c.value = zbclock::now();
        } else if (df.startsWith(QLatin1Char('@'))) {
            const Section *h = s.kind == SectionKind::GroupFooter ? s.m_header : &s;
            c.value = h ? h->groupValue : QVariant();
        } else if (DC.hasField(df)) {
            c.value = DC.field(df);
        } else {
            c.value = QVariant();
            if (std::find(m_missingReported.begin(), m_missingReported.end(), &c) == m_missingReported.end()) {
                m_missingReported.push_back(&c);
                raiseError(ErrFieldNotFound,
                           QStringLiteral("The field %1 of %2 names no column of the record source.")
                               .arg(df, c.name));
            }
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
    m_cancelled = false;
    m_pageNumber = 0;
    m_missingReported.clear();

    // Every way out: no pages after a cancel, the rows let go, reportEnd().
    auto finish = [this](bool ok) {
        if (m_cancelled) {
            m_doc.pages.clear();
            raiseError(ErrCancelled, QStringLiteral("The report was cancelled."));
            ok = false;
        }
        DC.close();
        reportEnd();
        m_pageNumber = 0;
        return ok && !m_doc.isEmpty();
    };

    reportStart();
    if (m_cancelled)
        return finish(false);
    QString why;
    if (!DC.open(&why)) {
        raiseError(ErrRecordSource, QStringLiteral("The record source could not be read. ") + why);
        return finish(false);
    }

    Layout layout(*this);
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
