#pragma once
// The laid-out pages of a report: what the viewer shows, the printer prints
// and every export writes. A report is run once (platform/report/report.h);
// its band occurrences become positioned items here, and nothing downstream
// ever formats a band again.
//
// Everything is in twips (1440 to the inch), in page coordinates: (0, 0) is
// the top-left corner of the paper, the margins are already in the positions.
// Fonts carry their size as a pixel size in twips (10 pt = 200), so text lays
// out the same on the screen, the printer and the PDF: the painter is scaled so
// that one unit is one twip and the glyphs follow.
//
// Kinds of item:
//   Text   a run of text in a rect: font, colour, optional back colour,
//          alignment, word wrap, angle (tenths of a degree, 900 reads bottom to
//          top), optional link. `deferred` marks a page number or page count,
//          written when the page is painted (the count is only known once the
//          whole report is laid out).
//   Image  a picture stretched into its rect (already reduced to the size it
//          prints; see kModelImageDpi), or a picture file (`imageFile`) read
//          each time the page is painted, decoded no larger than it prints on
//          that device.
//   Line   from `line.p1()` to `line.p2()`, pen width and colour.
//   Box    a rectangle: border colour and width (0 = none), optional fill.
//   Rich   a slice of a rich-text document: the part of `rich` from
//          `richTop` down `rect.height()` twips, drawn at `rect`; a document
//          that splits over pages gives one Rich item a page, each with its own
//          richTop, cut at line boundaries by the layout. Its fonts, like a
//          Text's, are sized in twips, and its text width is the rect's.
// Sub-reports and columns need nothing of their own here: their content is
// flattened into items at their final positions. A rich-text document is
// shared by its slices and never changed once laid out.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <QString>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace report {

constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPoint = 20;
// Pictures are kept at no more than this resolution of the rect they print
// in: enough for a printer, and a 4000 x 3000 photo does not ride along whole.
constexpr int kModelImageDpi = 300;
// PDF and screen need no more than this.
constexpr int kPdfImageDpi = 150;

// A picture at no more than `dpi` of the rect (twips) it prints in; smaller
// ones as they are.
QImage imageForDpi(const QImage &image, const QRect &rect, int dpi);
// The picture an image item shows, at no more than `dpi` over its rect: its
// own bitmap, or its file decoded at that size; a null image for none.
struct Item;
QImage itemPicture(const Item &item, int dpi);

struct Item {
    enum Kind { Text, Image, Line, Box, Rich };
    enum Deferred { NoDeferred, PageNumber, PageCount };

    Kind kind = Text;
    QString name; // the control it came from (for the writers and tests)
    QRect rect;   // twips, page coordinates

    // Text
    QString text;
    QFont font; // pixel size in twips
    QColor foreColor = Qt::black;
    QColor backColor; // invalid: transparent
    int alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = true;
    int angle = 0; // tenths of a degree, counter-clockwise
    QString href;
    Deferred deferred = NoDeferred;

    // Image
    QImage image;
    QString imageFile; // when `image` is null

    // Line and Box
    QLineF line;
    QColor lineColor = Qt::black;
    int lineWidth = 15; // twips; 0 draws no border
    QColor fillColor;   // Box: invalid = no fill

    // Rich
    std::shared_ptr<const QTextDocument> rich;
    int richTop = 0;

    // The text as it prints on page `pageNumber` (1-based) of `pageCount`.
    QString textFor(int pageNumber, int pageCount) const;
    // Rich: the text of the lines on this slice, paragraphs on lines of their own.
    QString richText() const;
    // Rich: the lines of this slice (those whose tops lie inside it, which the
    // layout cut it to hold), each with its paragraph and that paragraph's layout.
    void
    forEachSliceLine(const std::function<void(const QTextBlock &, const QTextLayout &, const QTextLine &)> &fn) const;
};

// The items of one page. While the layout fills the page they are Items; once
// the page is done the layout packs them (pack()): texts as UTF-8, fonts and
// names as numbers into tables the process shares, the bytes compressed;
// pictures and rich-text documents stay shared, each held once a page. A
// report of ten thousand pages so costs a few kilobytes a page, not the
// Items. Painting and the writers read a packed page through unpacked(), a
// copy made for the moment; the vector-like members unpack the page in place
// (changes) or keep a copy beside the packed bytes (reading: for tests and
// small tools; long runs go through unpacked()).
class PageItems {
public:
    using value_type = Item;
    using iterator = std::vector<Item>::iterator;
    using const_iterator = std::vector<Item>::const_iterator;

    // The items, packed or not, as a vector of their own.
    std::vector<Item> unpacked() const;
    // The items to change: a packed page is unpacked first.
    std::vector<Item> &edit();
    // Packs the items (nothing to do for a page packed already).
    void pack();
    bool isPacked() const { return m_isPacked; }

    size_t size() const { return m_isPacked ? m_count : m_items.size(); }
    bool empty() const { return size() == 0; }
    const_iterator begin() const { return read().begin(); }
    const_iterator end() const { return read().end(); }
    iterator begin() { return edit().begin(); }
    iterator end() { return edit().end(); }
    const Item &operator[](size_t i) const { return read()[i]; }
    Item &operator[](size_t i) { return edit()[i]; }
    const Item &back() const { return read().back(); }
    Item &back() { return edit().back(); }
    void push_back(const Item &it) { edit().push_back(it); }
    void push_back(Item &&it) { edit().push_back(std::move(it)); }
    void clear() { edit().clear(); }

private:
    const std::vector<Item> &read() const;

    bool m_isPacked = false;
    size_t m_count = 0;
    std::vector<Item> m_items; // unpacked; when packed, a copy read() made
    QByteArray m_packed;
    std::vector<QImage> m_images;
    std::vector<std::shared_ptr<const QTextDocument>> m_riches;
};

struct Page {
    PageItems items;
};

struct Document {
    QString title;
    QPageSize pageSize = QPageSize(QPageSize::Letter);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSize size; // twips, as oriented
    std::vector<Page> pages;

    int pageCount() const { return int(pages.size()); }
    bool isEmpty() const { return pages.empty(); }
    // The page's texts, deferred ones resolved, in item order (for searching
    // and for tests); of a rich-text slice, the lines on the page.
    QStringList texts(int pageIndex) const;
};

struct RenderOptions {
    int maxImageDpi = kModelImageDpi; // pictures drawn above this are reduced first
};

// Paints page `pageIndex` (0-based) with the painter's unit being one twip
// and (0, 0) the paper's corner. No paper colour: that is the viewer's.
void paintPage(QPainter &painter, const Document &doc, int pageIndex, const RenderOptions &options = {});

// Paints every page onto a printer or PDF writer: sets its page layout to
// the document's paper and orientation with no margins (the positions hold
// them), scales to twips and starts a new sheet per page. False, with `error`,
// when the device cannot be painted on. Pages `from`..`to` (1-based, 0 = all).
bool paintDocument(QPagedPaintDevice &device, const Document &doc, QString *error = nullptr, int from = 0, int to = 0,
                   const RenderOptions &options = {});

// Writes the document as a PDF at `path`: real text and link annotations.
// Writes nothing for a document without pages (and returns false).
bool exportPdf(const Document &doc, const QString &path, QString *error = nullptr);

// The page as an image `scale` device pixels a twip, on `paper`.
QImage renderPage(const Document &doc, int pageIndex, double scale, const QColor &paper = Qt::white);

} // namespace report
