#include "platform/report/exports.h"

#include "platform/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextLayout>
#include <QUrl>
#include <cmath>

namespace report {

namespace {

// ---- shared ----

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// What every export asks of its document and its file before writing.
bool canWrite(const Document &doc, const QString &path, QString *error)
{
    if (doc.isEmpty())
        return fail(error, QStringLiteral("There are no pages."));
    if (!QFileInfo(path).absoluteDir().exists())
        return fail(error, QStringLiteral("The folder of %1 does not exist.").arg(path));
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // Written whole or not at all: an earlier file of the name stays until
    // the new one is complete.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        return fail(error, QStringLiteral("%1 could not be written: %2").arg(path, f.errorString()));
    return true;
}

// The blocks of `doc` that hold characters of [from, to], each with the
// part of its text in the range: the rule richRange() gives its ranges by.
template <typename Fn> void forEachBlock(const QTextDocument *doc, int from, int to, Fn fn)
{
    for (QTextBlock b = doc->findBlock(qMax(0, from)); b.isValid() && b.position() <= to; b = b.next()) {
        const int start = b.position(), end = start + b.length() - 1;
        if (end < from)
            continue;
        fn(b, qMax(start, from), qMin(end, to));
    }
}

// The point size a font prints at: model fonts carry twips as pixels.
double printPoints(const QFont &f)
{
    return f.pixelSize() > 0 ? f.pixelSize() / double(kTwipsPerPoint) : f.pointSizeF();
}

// ---- web page ----

void escapeHtml(QStringView s, QString &out)
{
    for (const QChar c : s) {
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        case u'\'': out += QLatin1String("&#39;"); break;
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator: out += QLatin1Char('\n'); break;
        default:
            // What no page may hold: controls other than tab and line feed,
            // the non-characters, and pictures' placeholders.
            if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n') || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF
                || c == QChar::ObjectReplacementCharacter)
                break;
            out += c;
        }
    }
}

QString pt(double twips) { return QString::number(twips / kTwipsPerPoint, 'g', 6) + QLatin1String("pt"); }

QString cssColor(const QColor &c) { return c.toRgb().name(QColor::HexRgb); }

// A family name in a style: only what a family's name is made of, so that no
// text can leave the quotes.
QString cssFamily(const QString &family)
{
    QString out;
    for (const QChar c : family)
        if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_')
            out += c;
    return out.isEmpty() ? QStringLiteral("sans-serif") : QLatin1Char('\'') + out + QLatin1String("',sans-serif");
}

QString cssFont(bool bold, bool italic, bool underline, bool strike, double points, const QString &family)
{
    QString s = QStringLiteral("font:");
    if (italic)
        s += QLatin1String("italic ");
    if (bold)
        s += QLatin1String("bold ");
    s += QString::number(points, 'g', 4) + QLatin1String("pt ") + cssFamily(family) + QLatin1Char(';');
    if (underline || strike) {
        s += QLatin1String("text-decoration:");
        if (underline)
            s += QLatin1String("underline ");
        if (strike)
            s += QLatin1String("line-through");
        s += QLatin1Char(';');
    }
    return s;
}

QString cssFont(const QFont &f)
{
    return cssFont(f.weight() >= QFont::DemiBold, f.italic(), f.underline(), f.strikeOut(), printPoints(f), f.family());
}

QString cssBox(const QRect &r)
{
    return QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
        .arg(pt(r.left()), pt(r.top()), pt(r.width()), pt(r.height()));
}

QString cssAlign(int alignment)
{
    QString s;
    const int h = alignment & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignHCenter)
        s += QLatin1String("text-align:center;");
    else if (h & Qt::AlignRight)
        s += QLatin1String("text-align:right;");
    else if (h & Qt::AlignJustify)
        s += QLatin1String("text-align:justify;");
    if (alignment & (Qt::AlignVCenter | Qt::AlignBottom))
        s += (alignment & Qt::AlignVCenter)
                 ? QLatin1String("display:flex;flex-direction:column;justify-content:center;")
                 : QLatin1String("display:flex;flex-direction:column;justify-content:flex-end;");
    return s;
}

void linkOpen(const QString &href, QString &out)
{
    out += QLatin1String("<a href=\"");
    escapeHtml(href, out);
    out += QLatin1String("\">");
}

class HtmlWriter {
public:
    HtmlWriter(const Document &doc, const QString &prefix, std::vector<QImage> *images)
        : m_doc(doc), m_prefix(prefix), m_images(images)
    {
    }
    QString run();

private:
    void text(const Item &it, const QString &s);
    void image(const Item &it);
    void line(const Item &it);
    void box(const Item &it);
    void rich(const Item &it);

    const Document &m_doc;
    QString m_prefix;
    std::vector<QImage> *m_images;
    QHash<qint64, QString> m_written; // a picture shown twice is written once
    QHash<QString, QString> m_writtenFiles;
    QString m_out;
};

void HtmlWriter::text(const Item &it, const QString &s)
{
    QString style;
    const QRect &r = it.rect;
    if (it.angle == 0) {
        style = cssBox(r);
    } else {
        // The text's own box, turned about its corner onto the item's rect:
        // 900 reads bottom to top from the rect's bottom-left corner, 2700
        // top to bottom from its top-right corner.
        const bool upright = it.angle == 900 || it.angle == 2700;
        const int w = upright ? r.height() : r.width(), h = upright ? r.width() : r.height();
        QPoint at = r.topLeft();
        QString origin = QStringLiteral("0 0");
        if (it.angle == 900)
            at = QPoint(r.left(), r.top() + r.height());
        else if (it.angle == 2700)
            at = QPoint(r.left() + r.width(), r.top());
        else
            origin = QStringLiteral("0 100%");
        const double degrees = it.angle == 2700 ? 90 : -it.angle / 10.0;
        style = cssBox(QRect(at, QSize(w, h)))
                + QStringLiteral("transform-origin:%1;transform:rotate(%2deg);")
                      .arg(origin, QString::number(degrees, 'g', 6));
    }
    style += cssFont(it.font) + QLatin1String("color:") + cssColor(it.foreColor) + QLatin1Char(';');
    if (it.backColor.isValid() && it.backColor.alpha() > 0)
        style += QLatin1String("background:") + cssColor(it.backColor) + QLatin1Char(';');
    style += cssAlign(it.alignment);
    if (!it.wordWrap)
        style += QLatin1String("white-space:pre;");
    m_out += QLatin1String("<div style=\"") + style + QLatin1String("\">");
    const bool linked = !it.href.isEmpty();
    if (linked)
        linkOpen(it.href, m_out);
    if (it.alignment & (Qt::AlignVCenter | Qt::AlignBottom))
        m_out += QLatin1String("<span>"); // one flex item, the text's lines in it
    escapeHtml(s, m_out);
    if (it.alignment & (Qt::AlignVCenter | Qt::AlignBottom))
        m_out += QLatin1String("</span>");
    if (linked)
        m_out += QLatin1String("</a>");
    m_out += QLatin1String("</div>\n");
}

void HtmlWriter::image(const Item &it)
{
    if ((it.image.isNull() && it.imageFile.isEmpty()) || it.rect.isEmpty())
        return;
    // A bitmap by its own key, a picture kept as its file by the file's name.
    QString &name = it.image.isNull() ? m_writtenFiles[it.imageFile] : m_written[it.image.cacheKey()];
    if (name.isEmpty()) {
        const QImage picture = itemPicture(it, kPdfImageDpi);
        if (picture.isNull())
            return;
        name = m_prefix + QLatin1Char('_') + QString::number(m_written.size() + m_writtenFiles.size())
               + (picture.hasAlphaChannel() ? QLatin1String(".png") : QLatin1String(".jpg"));
        if (m_images)
            m_images->push_back(picture);
    }
    // The file's name as an address: a name with "#", "?", "%" or blanks
    // names the file, not a part of it.
    m_out += QLatin1String("<img src=\"");
    escapeHtml(QString::fromLatin1(QUrl::toPercentEncoding(name)), m_out);
    m_out += QLatin1String("\" alt=\"\" style=\"") + cssBox(it.rect) + QLatin1String("\"/>\n");
}

void HtmlWriter::line(const Item &it)
{
    const double lw = qMax(1, it.lineWidth);
    const QPointF p1 = it.line.p1();
    const double length = it.line.length();
    const double degrees = -it.line.angle(); // QLineF counts counter-clockwise
    QString style = QStringLiteral("left:%1;top:%2;width:%3;height:0;border-top:%4 solid %5;")
                        .arg(pt(p1.x()), pt(p1.y() - lw / 2), pt(length), pt(lw), cssColor(it.lineColor));
    if (std::abs(degrees) > 1e-9)
        style +=
            QStringLiteral("transform-origin:0 50%;transform:rotate(%1deg);").arg(QString::number(degrees, 'g', 6));
    m_out += QLatin1String("<div style=\"") + style + QLatin1String("\"></div>\n");
}

void HtmlWriter::box(const Item &it)
{
    QString style = cssBox(it.rect) + QLatin1String("box-sizing:border-box;");
    if (it.lineWidth > 0)
        style += QStringLiteral("border:%1 solid %2;").arg(pt(it.lineWidth), cssColor(it.lineColor));
    if (it.fillColor.isValid() && it.fillColor.alpha() > 0)
        style += QLatin1String("background:") + cssColor(it.fillColor) + QLatin1Char(';');
    m_out += QLatin1String("<div style=\"") + style + QLatin1String("\"></div>\n");
}

void HtmlWriter::rich(const Item &it)
{
    if (!it.rich)
        return;
    const auto [from, to] = richRange(it);
    if (from < 0)
        return;
    const QTextDocument *doc = it.rich.get();
    const QFont def = doc->defaultFont();
    m_out += QLatin1String("<div style=\"") + cssBox(it.rect) + cssFont(def) + QLatin1String("\">");
    forEachBlock(doc, from, to, [&](const QTextBlock &b, int s, int e) {
        const QTextBlockFormat bf = b.blockFormat();
        QString style = cssAlign(bf.alignment() & Qt::AlignHorizontal_Mask);
        const double left = bf.leftMargin() + bf.indent() * doc->indentWidth();
        if (left != 0)
            style += QLatin1String("margin-left:") + pt(left) + QLatin1Char(';');
        if (bf.rightMargin() != 0)
            style += QLatin1String("margin-right:") + pt(bf.rightMargin()) + QLatin1Char(';');
        if (bf.textIndent() != 0)
            style += QLatin1String("text-indent:") + pt(bf.textIndent()) + QLatin1Char(';');
        // A block cut by the page keeps its space on the page where it starts
        // or ends only.
        if (bf.topMargin() != 0 && s == b.position())
            style += QLatin1String("margin-top:") + pt(bf.topMargin()) + QLatin1Char(';');
        if (bf.bottomMargin() != 0 && e == b.position() + b.length() - 1)
            style += QLatin1String("margin-bottom:") + pt(bf.bottomMargin()) + QLatin1Char(';');
        m_out += style.isEmpty() ? QStringLiteral("<p>") : QLatin1String("<p style=\"") + style + QLatin1String("\">");
        bool any = false;
        for (auto f = b.begin(); !f.atEnd(); ++f) {
            const QTextFragment frag = f.fragment();
            const QTextCharFormat cf = frag.charFormat();
            if (!frag.isValid() || cf.isImageFormat())
                continue;
            const int fs = frag.position(), fe = fs + frag.length();
            const int a = qMax(fs, s), z = qMin(fe, e);
            if (a >= z)
                continue;
            const int weight = cf.hasProperty(QTextFormat::FontWeight) ? cf.fontWeight() : def.weight();
            const bool italic = cf.hasProperty(QTextFormat::FontItalic) ? cf.fontItalic() : def.italic();
            double points = cf.fontPointSize();
            if (points <= 0 && cf.hasProperty(QTextFormat::FontPixelSize))
                points = cf.intProperty(QTextFormat::FontPixelSize) / double(kTwipsPerPoint);
            if (points <= 0)
                points = printPoints(def);
            QString family = cf.fontFamilies().toStringList().value(0);
            if (family.isEmpty())
                family = def.family();
            QString span =
                cssFont(weight >= QFont::DemiBold, italic, cf.fontUnderline(), cf.fontStrikeOut(), points, family);
            if (cf.foreground().style() != Qt::NoBrush)
                span += QLatin1String("color:") + cssColor(cf.foreground().color()) + QLatin1Char(';');
            const bool linked = cf.isAnchor() && !cf.anchorHref().isEmpty();
            if (linked)
                linkOpen(cf.anchorHref(), m_out);
            m_out += QLatin1String("<span style=\"") + span + QLatin1String("\">");
            // Line breaks within the paragraph become line feeds, which the
            // page keeps as it keeps blanks.
            escapeHtml(QStringView(frag.text()).mid(a - fs, z - a), m_out);
            any = true;
            m_out += QLatin1String("</span>");
            if (linked)
                m_out += QLatin1String("</a>");
        }
        if (!any)
            m_out += QLatin1String("<br/>"); // an empty paragraph keeps its line
        m_out += QLatin1String("</p>");
    });
    m_out += QLatin1String("</div>\n");
}

QString HtmlWriter::run()
{
    const QSize paper = m_doc.size;
    m_out += QLatin1String("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n"
                           "<meta charset=\"utf-8\"/>\n<title>");
    escapeHtml(m_doc.title, m_out);
    m_out += QLatin1String("</title>\n<style>\n"
                           "body{margin:0;padding:12pt 0;background:#e0e0e0}\n"
                           ".p{position:relative;overflow:hidden;margin:0 auto 12pt;background:#fff;"
                           "box-shadow:0 0 3pt #888;break-after:page;page-break-after:always}\n"
                           ".p div,.p img{position:absolute;margin:0;padding:0;overflow:hidden;white-space:pre-wrap}\n"
                           ".p p{margin:0}\n.p a{color:inherit;text-decoration:inherit}\n"
                           "@media print{body{padding:0;background:none}.p{margin:0;box-shadow:none}}\n");
    m_out += QStringLiteral("@page{size:%1 %2;margin:0}\n</style>\n</head>\n<body>\n")
                 .arg(pt(paper.width()), pt(paper.height()));
    const int count = m_doc.pageCount();
    for (int n = 0; n < count; ++n) {
        m_out += QStringLiteral("<div class=\"p\" id=\"page%1\" style=\"width:%2;height:%3\">\n")
                     .arg(n + 1)
                     .arg(pt(paper.width()), pt(paper.height()));
        for (const Item &it : m_doc.pages[size_t(n)].items.unpacked()) {
            switch (it.kind) {
            case Item::Text: text(it, it.textFor(n + 1, count)); break;
            case Item::Image: image(it); break;
            case Item::Line: line(it); break;
            case Item::Box: box(it); break;
            case Item::Rich: rich(it); break;
            }
        }
        m_out += QLatin1String("</div>\n");
    }
    m_out += QLatin1String("</body>\n</html>\n");
    return m_out;
}

// ---- rich-text file ----

// An item drawn as a picture on a transparent ground: what RTF cannot turn
// or slant (rotated text, a slanted line).
QImage itemPicture(const Item &it, const QRect &bounds, int pageNumber, int pageCount)
{
    Document one;
    one.size = bounds.size();
    one.pages.resize(1);
    Item copy = it;
    copy.text = it.textFor(pageNumber, pageCount);
    copy.deferred = Item::NoDeferred;
    copy.rect.translate(-bounds.topLeft());
    copy.line.translate(-bounds.topLeft());
    one.pages[0].items.push_back(std::move(copy));
    return renderPage(one, 0, double(kPdfImageDpi) / kTwipsPerInch, Qt::transparent);
}

void rtfItem(rtf::PageWriter &w, const Item &it, int pageNumber, int pageCount)
{
    switch (it.kind) {
    case Item::Text: {
        if (it.angle != 0) {
            w.picture(it.rect, itemPicture(it, it.rect, pageNumber, pageCount));
            break;
        }
        const QString s = it.textFor(pageNumber, pageCount);
        QRect r = it.rect;
        if (it.alignment & (Qt::AlignVCenter | Qt::AlignBottom)) {
            // A frame's text stands at its top: the frame moves down instead.
            const int flags = it.alignment | (it.wordWrap ? Qt::TextWordWrap : 0);
            const double h = QFontMetricsF(it.font).boundingRect(QRectF(0, 0, r.width(), 1e7), flags, s).height();
            const int room = r.height() - int(std::ceil(h));
            if (room > 0)
                r.setTop(r.top() + ((it.alignment & Qt::AlignVCenter) ? room / 2 : room));
        }
        // A back colour shades the text's lines (a paragraph's shading).
        w.text(r, s, it.font, it.foreColor, Qt::Alignment(it.alignment), it.href, it.backColor);
        break;
    }
    case Item::Image:
        if (const QImage picture = itemPicture(it, kPdfImageDpi); !picture.isNull())
            w.picture(it.rect, picture);
        break;
    case Item::Line: {
        const int lw = qMax(1, it.lineWidth);
        const QLineF &l = it.line;
        if (qFuzzyCompare(l.y1(), l.y2()) || qFuzzyCompare(l.x1(), l.x2())) {
            w.line(l, lw, it.lineColor);
        } else {
            const QRect bounds = QRectF(l.p1(), l.p2()).normalized().toAlignedRect().adjusted(-lw, -lw, lw, lw);
            w.picture(bounds, itemPicture(it, bounds, pageNumber, pageCount));
        }
        break;
    }
    case Item::Box: w.box(it.rect, it.lineWidth, it.lineColor, it.fillColor); break;
    case Item::Rich:
        if (it.rich) {
            const auto [from, to] = richRange(it);
            if (from >= 0)
                w.rich(it.rect, it.rich.get(), from, to);
        }
        break;
    }
}

} // namespace

std::pair<int, int> richRange(const Item &item)
{
    if (!item.rich)
        return {-1, -1};
    int from = -1, to = -1;
    item.forEachSliceLine([&](const QTextBlock &b, const QTextLayout &, const QTextLine &line) {
        const int start = b.position() + line.textStart();
        if (from < 0)
            from = start;
        to = start + line.textLength();
    });
    return {from, to};
}

QString htmlText(const Document &doc, const QString &picturePrefix, std::vector<QImage> *images)
{
    return HtmlWriter(doc, picturePrefix, images).run();
}

bool exportHtml(const Document &doc, const QString &path, QString *error, QStringList *pictures)
{
    if (!canWrite(doc, path, error))
        return false;
    const QFileInfo info(path);
    // The pictures are named after the page: its name without the extension.
    QString prefix = info.completeBaseName();
    if (prefix.isEmpty())
        prefix = info.fileName();
    std::vector<QImage> images;
    const QByteArray page = htmlText(doc, prefix, &images).toUtf8();
    const QDir folder = info.absoluteDir();
    for (size_t i = 0; i < images.size(); ++i) {
        // Photos as JPEG, pictures with see-through parts as PNG, as the
        // page names them.
        const bool png = images[i].hasAlphaChannel();
        const QString file = folder.filePath(prefix + QLatin1Char('_') + QString::number(i + 1)
                                             + (png ? QLatin1String(".png") : QLatin1String(".jpg")));
        QSaveFile f(file);
        if (!f.open(QIODevice::WriteOnly) || !images[i].save(&f, png ? "PNG" : "JPEG", png ? -1 : rtf::kJpegQuality)
            || !f.commit())
            return fail(error, QStringLiteral("%1 could not be written: %2").arg(file, f.errorString()));
        if (pictures)
            *pictures << file;
    }
    return writeFile(path, page, error);
}

QString rtfText(const Document &doc)
{
    rtf::PageWriter w(doc.size, doc.orientation == QPageLayout::Landscape);
    const int count = doc.pageCount();
    for (int n = 0; n < count; ++n) {
        w.newPage();
        for (const Item &it : doc.pages[size_t(n)].items.unpacked())
            rtfItem(w, it, n + 1, count);
    }
    return w.finish();
}

bool exportRtf(const Document &doc, const QString &path, QString *error)
{
    if (!canWrite(doc, path, error))
        return false;
    return writeFile(path, rtfText(doc).toUtf8(), error);
}

} // namespace report
