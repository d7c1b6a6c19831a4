#pragma once
// The web page and the rich-text file of a laid-out report. Both write the
// pages as they print: every item at its place on its page, in the units of
// the paper (points in the page, twips in the file), the page numbers
// resolved. Every text of the user's, every link address and every file name
// is escaped for the format it goes into: a pet named <b>&"'{\} prints as typed.
//
// The web page is one file at exactly the path given (UTF-8, well-formed, so
// any XML reader can read it), a positioned box per page; its pictures are
// files beside it named after it: "rex.htm" keeps "rex_1.jpg", "rex_2.png", ...
// (photos as JPEG, pictures with see-through parts as PNG).
// The rich-text file extends platform/rtf: positioned frames, pictures, links
// as fields, a \page between pages.

#include "platform/report/page_model.h"

#include <QString>
#include <QStringList>
#include <utility>

namespace report {

// Writes the document as a web page at `path`, its pictures beside it (their
// paths into `pictures`). Nothing is written for a document without pages, or
// into a folder that is not there; false, with `error`.
bool exportHtml(const Document &doc, const QString &path, QString *error = nullptr, QStringList *pictures = nullptr);
// The page itself, its pictures named `picturePrefix` + "_" + n + ".jpg" or
// ".png" (the images to write, in that order, into `images`).
QString htmlText(const Document &doc, const QString &picturePrefix, std::vector<QImage> *images = nullptr);

// Writes the document as an RTF file at `path`; as exportHtml for no pages
// and for a missing folder.
bool exportRtf(const Document &doc, const QString &path, QString *error = nullptr);
QString rtfText(const Document &doc);

// The characters [first, second) of a Rich item's document that print in
// its slice: its lines as the page paints them (Item::forEachSliceLine), from
// the start of the first to the end of the last one's text; (-1, -1) when no
// line is in it.
// A block is in the slice when one of its lines is.
std::pair<int, int> richRange(const Item &item);

} // namespace report
