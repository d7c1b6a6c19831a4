#include "platform/report/page_model.h"
#include "platform/printing.h"

#include "platform/shell.h"

#include <QAbstractTextDocumentLayout>
#include <QDataStream>
#include <QHash>
#include <QMutex>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <cmath>

namespace report {

QString Item::textFor(int pageNumber, int pageCount) const
{
    switch (deferred) {
    case PageNumber: return QString::number(pageNumber);
    case PageCount: return QString::number(pageCount);
    case NoDeferred: break;
    }
    return text;
}

void Item::forEachSliceLine(
    const std::function<void(const QTextBlock &, const QTextLayout &, const QTextLine &)> &fn) const
{
    if (kind != Rich || !rich)
        return;
    const double from = richTop - 0.5, to = richTop + rect.height() - 0.5;
    for (QTextBlock b = rich->begin(); b.isValid(); b = b.next()) {
        const QTextLayout *l = b.layout();
        if (!l)
            continue;
        const double top = l->position().y();
        if (top >= to)
            break;
        for (int i = 0; i < l->lineCount(); ++i) {
            const QTextLine line = l->lineAt(i);
            const double y = top + line.y();
            if (y >= from && y < to)
                fn(b, *l, line);
        }
    }
}

QString Item::richText() const
{
    if (kind != Rich || !rich)
        return {};
    QString out;
    int lastBlock = -1;
    forEachSliceLine([&](const QTextBlock &b, const QTextLayout &, const QTextLine &line) {
        if (lastBlock >= 0 && b.blockNumber() != lastBlock)
            out += QLatin1Char('\n');
        out += b.text().mid(line.textStart(), line.textLength());
        lastBlock = b.blockNumber();
    });
    return out;
}

namespace {

// Fonts and item names recur on every page: a packed page holds their numbers
// in these tables, which only grow by the fonts and controls the process's
// printouts have.
class Interned {
public:
    static Interned &instance()
    {
        static Interned one;
        return one;
    }
    qint32 font(const QFont &f) { return intern(m_fonts, m_fontIndex, f); }
    qint32 name(const QString &n) { return intern(m_names, m_nameIndex, n); }
    // The table's font or name of each number, under one lock for a page.
    template <typename Fn> void read(Fn fn)
    {
        const QMutexLocker lock(&m_mutex);
        fn(m_fonts, m_names);
    }

private:
    template <typename T> qint32 intern(std::vector<T> &values, QHash<T, qint32> &index, const T &value)
    {
        const QMutexLocker lock(&m_mutex);
        auto it = index.constFind(value);
        if (it != index.constEnd())
            return *it;
        values.push_back(value);
        return index[value] = qint32(values.size() - 1);
    }

    QMutex m_mutex;
    std::vector<QFont> m_fonts;
    QHash<QFont, qint32> m_fontIndex;
    std::vector<QString> m_names;
    QHash<QString, qint32> m_nameIndex;
};

template <typename T, typename Key> qint32 sharedIndex(std::vector<T> &held, const T &value, Key key)
{
    for (size_t i = 0; i < held.size(); ++i)
        if (key(held[i]) == key(value))
            return qint32(i);
    held.push_back(value);
    return qint32(held.size() - 1);
}

} // namespace

void PageItems::pack()
{
    if (m_isPacked)
        return;
    Interned &tables = Interned::instance();
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        for (const Item &it : m_items) {
            out << quint8(it.kind) << tables.name(it.name) << it.rect;
            switch (it.kind) {
            case Item::Text:
                out << it.text.toUtf8() << tables.font(it.font) << it.foreColor << it.backColor << qint32(it.alignment)
                    << it.wordWrap << qint32(it.angle) << it.href << quint8(it.deferred);
                break;
            case Item::Image:
                out << (it.image.isNull() ? qint32(-1) : sharedIndex(m_images, it.image, [](const QImage &i) {
                    return i.cacheKey();
                })) << it.imageFile;
                break;
            case Item::Line: out << it.line << it.lineColor << qint32(it.lineWidth); break;
            case Item::Box: out << it.lineColor << qint32(it.lineWidth) << it.fillColor; break;
            case Item::Rich:
                out << (it.rich ? sharedIndex(m_riches, it.rich, [](const auto &d) { return d.get(); }) : qint32(-1))
                    << qint32(it.richTop);
                break;
            }
        }
    }
    m_count = m_items.size();
    m_packed = qCompress(bytes, 1);
    m_packed.squeeze();                // the compressor's buffer is as long as the input
    std::vector<Item>().swap(m_items); // its capacity too
    m_isPacked = true;
}

std::vector<Item> PageItems::unpacked() const
{
    if (!m_isPacked)
        return m_items;
    std::vector<Item> items(m_count);
    const QByteArray bytes = qUncompress(m_packed);
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    Interned::instance().read([&](const std::vector<QFont> &fonts, const std::vector<QString> &names) {
        for (Item &it : items) {
            quint8 kind = 0, deferred = 0;
            qint32 name = 0, index = 0, value = 0;
            in >> kind >> name >> it.rect;
            it.kind = Item::Kind(kind);
            it.name = names[size_t(name)];
            switch (it.kind) {
            case Item::Text: {
                QByteArray text;
                qint32 alignment = 0;
                in >> text >> index >> it.foreColor >> it.backColor >> alignment >> it.wordWrap >> value >> it.href
                    >> deferred;
                it.text = QString::fromUtf8(text);
                it.font = fonts[size_t(index)];
                it.alignment = alignment;
                it.angle = value;
                it.deferred = Item::Deferred(deferred);
                break;
            }
            case Item::Image:
                in >> index >> it.imageFile;
                if (index >= 0)
                    it.image = m_images[size_t(index)];
                break;
            case Item::Line:
                in >> it.line >> it.lineColor >> value;
                it.lineWidth = value;
                break;
            case Item::Box:
                in >> it.lineColor >> value >> it.fillColor;
                it.lineWidth = value;
                break;
            case Item::Rich:
                in >> index >> value;
                if (index >= 0)
                    it.rich = m_riches[size_t(index)];
                it.richTop = value;
                break;
            }
        }
    });
    return items;
}

std::vector<Item> &PageItems::edit()
{
    if (m_isPacked) {
        m_items = unpacked();
        m_isPacked = false;
        m_packed.clear();
        m_images.clear();
        m_riches.clear();
        m_count = 0;
    }
    return m_items;
}

const std::vector<Item> &PageItems::read() const
{
    if (m_isPacked && m_items.size() != m_count)
        const_cast<PageItems *>(this)->m_items = unpacked();
    return m_items;
}

QStringList Document::texts(int pageIndex) const
{
    QStringList out;
    if (pageIndex < 0 || pageIndex >= pageCount())
        return out;
    for (const Item &it : pages[size_t(pageIndex)].items.unpacked()) {
        if (it.kind == Item::Text)
            out << it.textFor(pageIndex + 1, pageCount());
        else if (it.kind == Item::Rich && it.rich)
            out << it.richText();
    }
    return out;
}

namespace {

int textFlags(const Item &it) { return it.alignment | (it.wordWrap ? Qt::TextWordWrap : 0); }

// A linked text goes through a text document: the PDF engine writes a link
// annotation only for an anchor it meets while drawing a document's text.
void drawLinkedText(QPainter &p, const Item &it, const QString &text, const QRectF &box)
{
    QTextDocument doc;
    doc.setDocumentMargin(0);
    doc.setDefaultFont(it.font);
    doc.setTextWidth(it.wordWrap ? box.width() : -1);
    QTextCursor c(&doc);
    QTextBlockFormat bf;
    bf.setAlignment(Qt::Alignment(it.alignment & Qt::AlignHorizontal_Mask));
    c.setBlockFormat(bf);
    QTextCharFormat cf;
    cf.setFont(it.font);
    cf.setForeground(it.foreColor);
    cf.setAnchor(true);
    // The PDF writer puts the address into its file as it stands: a
    // backslash or a parenthesis of it would end or break its string there.
    cf.setAnchorHref(shell::encodedAddress(it.href));
    c.insertText(text, cf);
    if (!it.wordWrap)
        doc.setTextWidth(box.width());
    double dy = 0;
    const double h = doc.size().height();
    if (it.alignment & Qt::AlignVCenter)
        dy = (box.height() - h) / 2;
    else if (it.alignment & Qt::AlignBottom)
        dy = box.height() - h;
    p.save();
    p.translate(box.left(), box.top() + dy);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = QRectF(0, -dy, box.width(), box.height());
    ctx.palette.setColor(QPalette::Text, it.foreColor);
    p.setClipRect(ctx.clip, Qt::IntersectClip);
    doc.documentLayout()->draw(&p, ctx);
    p.restore();
}

void drawText(QPainter &p, const Item &it, const QString &text)
{
    QRectF box = it.rect;
    p.save();
    if (it.backColor.isValid())
        p.fillRect(box, it.backColor);
    if (it.angle != 0) {
        // Turned about the rect: 900 reads bottom to top, starting at its
        // bottom-left corner; 2700 top to bottom from its top-right corner.
        if (it.angle == 2700) {
            p.translate(box.topRight());
            p.rotate(90);
        } else {
            p.translate(box.bottomLeft());
            p.rotate(-it.angle / 10.0);
        }
        box = (it.angle == 900 || it.angle == 2700) ? QRectF(0, 0, it.rect.height(), it.rect.width())
                                                    : QRectF(0, -it.rect.height(), it.rect.width(), it.rect.height());
    }
    if (!it.href.isEmpty()) {
        drawLinkedText(p, it, text, box);
    } else {
        p.setFont(it.font);
        p.setPen(it.foreColor);
        p.setClipRect(box, Qt::IntersectClip);
        p.drawText(box, textFlags(it), text);
    }
    p.restore();
}

// A picture file decoded for its rect on this painter: no more pixels than
// the device shows there, nor than `maxW` x `maxH`. A decoder that reduces as
// it reads (JPEG) never builds the whole bitmap.
QImage readForPrint(QPainter &p, const Item &it, int maxW, int maxH)
{
    QImageReader reader(it.imageFile);
    const QSize pixels = reader.size();
    const QSizeF device = p.transform().mapRect(QRectF(it.rect)).size();
    const QSize most(qBound(1, int(std::ceil(device.width())), maxW), qBound(1, int(std::ceil(device.height())), maxH));
    if (pixels.isValid() && (pixels.width() > most.width() || pixels.height() > most.height()))
        reader.setScaledSize(most);
    return reader.read();
}

void drawImage(QPainter &p, const Item &it, int maxDpi)
{
    if ((it.image.isNull() && it.imageFile.isEmpty()) || it.rect.isEmpty())
        return;
    const int maxW = qMax(1, int(qint64(it.rect.width()) * maxDpi / kTwipsPerInch));
    const int maxH = qMax(1, int(qint64(it.rect.height()) * maxDpi / kTwipsPerInch));
    if (it.image.isNull()) {
        const QImage read = readForPrint(p, it, maxW, maxH);
        if (read.isNull())
            return;
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(it.rect), read);
        p.restore();
        return;
    }
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(it.rect), imageForDpi(it.image, it.rect, maxDpi));
    p.restore();
}

} // namespace

QImage imageForDpi(const QImage &img, const QRect &rect, int dpi)
{
    const int maxW = qMax(1, int(qint64(rect.width()) * dpi / kTwipsPerInch));
    const int maxH = qMax(1, int(qint64(rect.height()) * dpi / kTwipsPerInch));
    if (img.width() <= maxW && img.height() <= maxH)
        return img;
    return img.scaled(maxW, maxH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage itemPicture(const Item &it, int dpi)
{
    if (!it.image.isNull())
        return imageForDpi(it.image, it.rect, dpi);
    if (it.imageFile.isEmpty() || it.rect.isEmpty())
        return {};
    const int maxW = qMax(1, int(qint64(it.rect.width()) * dpi / kTwipsPerInch));
    const int maxH = qMax(1, int(qint64(it.rect.height()) * dpi / kTwipsPerInch));
    QImageReader reader(it.imageFile);
    const QSize pixels = reader.size();
    if (pixels.isValid() && (pixels.width() > maxW || pixels.height() > maxH))
        reader.setScaledSize(QSize(maxW, maxH));
    return reader.read();
}

void paintPage(QPainter &p, const Document &doc, int pageIndex, const RenderOptions &options)
{
    if (pageIndex < 0 || pageIndex >= doc.pageCount())
        return;
    const int count = doc.pageCount();
    for (const Item &it : doc.pages[size_t(pageIndex)].items.unpacked()) {
        switch (it.kind) {
        case Item::Text: drawText(p, it, it.textFor(pageIndex + 1, count)); break;
        case Item::Image: drawImage(p, it, options.maxImageDpi); break;
        case Item::Line:
            p.save();
            p.setPen(QPen(it.lineColor, qMax(1, it.lineWidth)));
            p.drawLine(it.line);
            p.restore();
            break;
        case Item::Box:
            p.save();
            if (it.fillColor.isValid())
                p.fillRect(it.rect, it.fillColor);
            if (it.lineWidth > 0) {
                p.setPen(QPen(it.lineColor, it.lineWidth));
                p.setBrush(Qt::NoBrush);
                p.drawRect(it.rect);
            }
            p.restore();
            break;
        case Item::Rich:
            if (it.rich) {
                // Line by line: a printer or PDF gets the lines of this page
                // only, not the whole paragraphs they belong to, clipped.
                p.save();
                p.translate(it.rect.left(), it.rect.top() - it.richTop);
                p.setClipRect(QRectF(0, it.richTop, it.rect.width(), it.rect.height()), Qt::IntersectClip);
                p.setPen(Qt::black);
                it.forEachSliceLine([&](const QTextBlock &, const QTextLayout &l, const QTextLine &line) {
                    line.draw(&p, l.position());
                });
                p.restore();
            }
            break;
        }
    }
}

bool paintDocument(QPagedPaintDevice &device, const Document &doc, QString *error, int from, int to,
                   const RenderOptions &options)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (doc.isEmpty())
        return fail(QStringLiteral("There are no pages."));
    from = from <= 0 ? 1 : from;
    to = (to <= 0 || to > doc.pageCount()) ? doc.pageCount() : to;
    if (from > to)
        return fail(QStringLiteral("There are no pages in that range."));
    if (auto *printer = dynamic_cast<QPrinter *>(&device))
        printer->setFullPage(true);
    device.setPageLayout(QPageLayout(doc.pageSize, doc.orientation, QMarginsF(0, 0, 0, 0)));
    QPainter p;
    if (!beginPrinting(p, &device))
        return fail(QStringLiteral("The output could not be started."));
    const double scale = device.logicalDpiX() / double(kTwipsPerInch);
    for (int n = from; n <= to; ++n) {
        if (n > from && !device.newPage()) {
            p.end();
            return fail(QStringLiteral("A new page could not be started."));
        }
        p.save();
        p.scale(scale, device.logicalDpiY() / double(kTwipsPerInch));
        paintPage(p, doc, n - 1, options);
        p.restore();
    }
    if (!p.end())
        return fail(QStringLiteral("The output could not be finished."));
    return true;
}

bool exportPdf(const Document &doc, const QString &path, QString *error)
{
    if (doc.isEmpty()) {
        if (error)
            *error = QStringLiteral("There are no pages.");
        return false;
    }
    if (!QFileInfo(path).absoluteDir().exists()) {
        if (error)
            *error = QStringLiteral("The folder of %1 does not exist.").arg(path);
        return false;
    }
    QPdfWriter writer(path);
    writer.setResolution(kTwipsPerInch);
    writer.setTitle(doc.title);
    writer.setCreator(QStringLiteral("Zorbi 2003"));
    RenderOptions options;
    options.maxImageDpi = kPdfImageDpi;
    if (!paintDocument(writer, doc, error, 0, 0, options))
        return false;
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("The file could not be written.");
        return false;
    }
    return true;
}

QImage renderPage(const Document &doc, int pageIndex, double scale, const QColor &paper)
{
    const QSize px(qMax(1, qRound(doc.size.width() * scale)), qMax(1, qRound(doc.size.height() * scale)));
    QImage img(px, QImage::Format_ARGB32_Premultiplied);
    img.fill(paper);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    RenderOptions options;
    options.maxImageDpi = kPdfImageDpi;
    paintPage(p, doc, pageIndex, options);
    p.end();
    return img;
}

} // namespace report
