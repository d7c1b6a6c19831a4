#pragma once
// The Rich Text Format, between RTF text and a QTextDocument. The notes are
// stored as RTF, the rich text box loads and saves through it, and the RTF
// export of the printouts writes with it.
//
// What it keeps: paragraphs, line breaks and tabs; bold, italic, underline and
// strike-through; font, size and colour; left, right and first-line indent,
// space before and after, and alignment. Any character round-trips exactly:
// backslashes and braces are escaped, and everything outside ASCII is written as
// \uN with a fallback, so a reader in any code page shows the same text.
//
// What it reads besides its own: RTF from other programs. \'hh is read in the
// file's ANSI code page (or the font's character set), \uN skips its fallback
// (\ucN), the font and colour tables are parsed, and destinations it does not
// know (\*\..., pictures, style sheets, headers) are skipped. A text that does
// not start with "{\rtf" is taken as plain text, and broken RTF (unbalanced
// braces, a cut-off end) is read as far as it goes: nothing is refused.

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

class QImage;
class QTextDocument;
class QTextDocumentFragment;

namespace rtf {

// Twips (1/1440 inch) per pixel of the document's layout (96 pixels an inch).
inline constexpr double kTwipsPerPixel = 15.0;
// The quality photos are written in, here and in the web page.
inline constexpr int kJpegQuality = 90;

// True when `text` is RTF (it starts with "{\rtf", blanks before it allowed).
bool isRtf(const QString &text);

// Replaces `doc`'s content with what `text` holds (RTF, or plain text).
void read(const QString &text, QTextDocument *doc);

// The RTF of a whole document, and of a part of one (whose text without a font
// of its own is in `defaultFont`). Every paragraph ends in \par, as word
// processors write it; the reader drops the last one again.
QString write(const QTextDocument *doc);
QString write(const QTextDocumentFragment &fragment, const QFont &defaultFont = QFont());

// The text without its formatting: paragraphs joined by "\n", line breaks as
// "\n" too.
QString plainText(const QString &text);

// A file of pages whose every box stands at a fixed place on the paper (the
// printouts' export): each box is a frame positioned on its page in twips from
// the paper's top-left corner, and the pages are parted by \page. Text is
// written as write() writes it (escaped, everything outside ASCII as \uN),
// links as HYPERLINK fields, pictures as JPEG (PNG when they have see-through
// parts). Fonts sized in pixels, in boxes and in the documents given, are
// taken as sized in twips.
class PageWriter {
public:
    PageWriter(const QSize &paper, bool landscape); // twips, as oriented
    ~PageWriter();
    PageWriter(const PageWriter &) = delete;
    PageWriter &operator=(const PageWriter &) = delete;

    // Starts a page; every page but the first after a \page.
    void newPage();
    // Text in one font and colour, aligned across the box; a link address
    // makes it a link; an invalid `back` leaves the box transparent.
    void text(const QRect &box, const QString &text, const QFont &font, const QColor &color, Qt::Alignment alignment,
              const QString &href = {}, const QColor &back = {});
    // The paragraphs holding the characters [from, to) of `doc`, a document
    // laid out in twips, with their formatting and links.
    void rich(const QRect &box, const QTextDocument *doc, int from, int to);
    // A picture stretched into the box.
    void picture(const QRect &box, const QImage &image);
    // A level or upright line, `width` twips wide, and a box's border
    // (`width` 0: none) and fill. A word processor paints each positioned
    // frame opaque over the frames written before it, so a border drawn with
    // its box would lose whatever later frames overlap: lines and the four
    // sides of a border are thin filled frames of their own, written after
    // everything else on their page. A fill stays where it stands, under the
    // texts written after it.
    void line(const QLineF &line, int width, const QColor &color);
    void box(const QRect &box, int width, const QColor &color, const QColor &fill = {});

    // The whole file.
    QString finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace rtf
