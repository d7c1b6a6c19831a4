#include "platform/thumbnails.h"

#include "platform/db/database.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryFile>
#include <QStandardPaths>
#include <QUrl>
#include <QtConcurrent/QtConcurrentMap>

#include <cstdio>

namespace thumbnails {

namespace {

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
const QString kSizeKey = QStringLiteral("Thumb::Size");

// The lightest compression: a thumbnail a few per cent larger, written in a
// quarter of the time.
constexpr int kPngQuality = 80;

constexpr QFile::Permissions kOwnerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kOwnerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;

QString normalFolder() { return cacheRoot() + QStringLiteral("/normal"); }

// The folders of the cache, made for the user alone when they are missing.
bool makeFolders()
{
    // The cache folder itself ($XDG_CACHE_HOME) may be missing too.
    const QString base = QFileInfo(cacheRoot()).absolutePath();
    if (!QFileInfo(base).isDir() && !QDir().mkpath(base))
        return false;
    for (const QString &folder : {cacheRoot(), normalFolder()}) {
        if (QFileInfo(folder).isDir())
            continue;
        if (!QDir().mkdir(folder, kOwnerOnlyFolder) && !QFileInfo(folder).isDir())
            return false;
    }
    return true;
}

// What the cache knows a file by.
struct Original {
    QString uri;
    qint64 mtime = 0;
    qint64 size = 0;
};

// The cached thumbnail, while it still stands for the file as it is now.
QImage cached(const QString &thumbPath, const Original &file)
{
    // A missing thumbnail is simply not read.
    QImageReader reader(thumbPath, "png");
    const QImage image = reader.read();
    if (image.isNull() || image.width() > kNormalSize || image.height() > kNormalSize)
        return {};
    if (image.text(kUriKey) != file.uri)
        return {};
    // Some writers give the time with a fraction of a second.
    bool ok = false;
    const double mtime = image.text(kMTimeKey).toDouble(&ok);
    if (!ok || qint64(mtime) != file.mtime)
        return {};
    const QString size = image.text(kSizeKey);
    if (!size.isEmpty() && size.toLongLong() != file.size)
        return {};
    return image;
}

// The picture read at thumbnail size: a JPEG is decoded at a fraction of its
// size straight away, which is most of the saving.
QImage decode(const QString &path)
{
    QImageReader reader(path);
    // The contents decide, not the name: a GIF saved as .jpg still reads.
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid() && (full.width() > kNormalSize || full.height() > kNormalSize)) {
        QSize scaled = full.scaled(kNormalSize, kNormalSize, Qt::KeepAspectRatio);
        scaled = scaled.expandedTo(QSize(1, 1));
        reader.setScaledSize(scaled);
    }
    QImage image = reader.read();
    if (image.isNull())
        return {};
    // A format that cannot decode at a size of its own is scaled afterwards.
    if (image.width() > kNormalSize || image.height() > kNormalSize)
        image = image.scaled(kNormalSize, kNormalSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

void store(QImage image, const QString &thumbPath, const Original &file)
{
    if (!makeFolders())
        return;
    image.setText(kUriKey, file.uri);
    image.setText(kMTimeKey, QString::number(file.mtime));
    image.setText(kSizeKey, QString::number(file.size));
    image.setText(QStringLiteral("Software"), QStringLiteral("Zorbi 2003"));
    // Written beside its place and renamed into it, so a reader never sees half
    // a thumbnail; a cache that cannot be written costs a decode next time.
    // Not synced to the disk: a thumbnail lost in a crash is only made again.
    QTemporaryFile out(thumbPath + QStringLiteral(".XXXXXX"));
    if (!out.open())
        return;
    out.setPermissions(kOwnerOnlyFile);
    QImageWriter writer(&out, "png");
    writer.setQuality(kPngQuality);
    if (!writer.write(image) || !out.flush())
        return;
    if (::rename(QFile::encodeName(out.fileName()).constData(), QFile::encodeName(thumbPath).constData()) == 0)
        out.setAutoRemove(false);
}

} // namespace

QString cacheRoot()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(base) + QStringLiteral("/thumbnails");
}

QString fileUri(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return QString::fromLatin1(QUrl::fromLocalFile(absolute).toEncoded());
}

namespace {
QString cachedPathOfUri(const QString &uri)
{
    const QByteArray md5 = QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex();
    return normalFolder() + QLatin1Char('/') + QString::fromLatin1(md5) + QStringLiteral(".png");
}
} // namespace

QString cachedPath(const QString &path) { return cachedPathOfUri(fileUri(path)); }

QImage thumbnail(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    // A pipe or a device would never end a read; a folder is no picture.
    if (!info.isFile())
        return {};
    const QString absolute = info.absoluteFilePath();
    if (db::isOpenDatabaseFile(absolute))
        return {};
    const Original file{fileUri(absolute), info.lastModified().toSecsSinceEpoch(), info.size()};
    const QString thumbPath = cachedPathOfUri(file.uri);
    QImage image = cached(thumbPath, file);
    if (!image.isNull())
        return image;
    image = decode(absolute);
    if (image.isNull())
        return {};
    store(image, thumbPath, file);
    return image;
}

QImage squared(const QImage &image)
{
    if (image.isNull() || (image.width() == kNormalSize && image.height() == kNormalSize))
        return image;
    QImage square(kNormalSize, kNormalSize, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter p(&square);
    p.drawImage((kNormalSize - image.width()) / 2, (kNormalSize - image.height()) / 2, image);
    p.end();
    return square;
}

QList<QImage> thumbnails(const QStringList &paths, bool square)
{
    return QtConcurrent::blockingMapped<QList<QImage>>(paths, [square](const QString &p) {
        const QImage image = thumbnail(p);
        return square ? squared(image) : image;
    });
}

} // namespace thumbnails
