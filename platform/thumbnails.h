#pragma once
// Thumbnails of picture files, kept in the freedesktop thumbnail cache that
// file managers share ($XDG_CACHE_HOME/thumbnails, else ~/.cache/thumbnails).
//
// A thumbnail of the normal size (at most 128 by 128 pixels, proportions kept)
// lives in normal/ under the MD5 of the file's URI, as a PNG that names the
// file (Thumb::URI) and the file's modification time (Thumb::MTime) and size
// (Thumb::Size). A cached thumbnail is used only while all three still match;
// otherwise the file is decoded again, at the thumbnail's size, and the cache
// is written anew (a temporary file renamed into place, readable by the user
// alone).
//
// Only plain files are read: a missing file, a folder, a pipe or a device, and
// the database files the program has open (which only the database engine may
// open, see platform/db), give no thumbnail.

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace thumbnails {

constexpr int kNormalSize = 128;

// The cache's folder.
QString cacheRoot();
// The file's address as the cache names it ("file:///home/a/b%20c.jpg").
QString fileUri(const QString &path);
// Where the cache keeps the normal-size thumbnail of `path`.
QString cachedPath(const QString &path);

// The thumbnail of one picture file; a null image when the file gives none
// (see above) or cannot be read as a picture. Safe to call from any thread.
QImage thumbnail(const QString &path);
// The thumbnails of many files, made in parallel on the machine's cores; in
// the order of `paths`, with a null image for each file that gives none. With
// `square`, each is centred on a transparent square of the normal size, so
// that a list of them stands in line.
QList<QImage> thumbnails(const QStringList &paths, bool square = false);
// `image` centred on a transparent square of the normal size.
QImage squared(const QImage &image);

} // namespace thumbnails
