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

#include <QFont>
#include <QString>

class QTextDocument;
class QTextDocumentFragment;

namespace rtf {

// Twips (1/1440 inch) per pixel of the document's layout (96 pixels an inch).
inline constexpr double kTwipsPerPixel = 15.0;

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

} // namespace rtf
