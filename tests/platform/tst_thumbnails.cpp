// The thumbnails of picture files in the freedesktop thumbnail cache: what is
// written there, when a cached thumbnail is used and when it is made again,
// and the files that give none (and are never opened).

#include "core/database.h"
#include "core/globals.h"
#include "platform/thumbnails.h"
#include "test_support.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QImageReader>
#include <QUrl>

#include <sys/stat.h>

using testsupport::ProgramFolder;

namespace {

QString writePicture(const QString &path, QSize size, QColor colour, const char *format = "JPG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, format) ? path : QString();
}

QString expectedCacheFile(const QString &path)
{
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    return qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/thumbnails/normal/")
           + QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex())
           + QStringLiteral(".png");
}

} // namespace

class TestThumbnails : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writesTheSharedCache();
    void usesTheCacheWhileTheFileIsUnchanged();
    void noThumbnail_data();
    void noThumbnail();
    void manyInTheirOrder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestThumbnails::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir(thumbnails::cacheRoot()).removeRecursively();
}

void TestThumbnails::cleanup() { m_dir.reset(); }

void TestThumbnails::writesTheSharedCache()
{
    // A name that the address must escape.
    const QString path = writePicture(m_dir->filePath(QStringLiteral("at the beach.jpg")), {400, 300}, Qt::blue);
    QVERIFY(!path.isEmpty());
    const QImage thumb = thumbnails::thumbnail(path);
    QCOMPARE(thumb.size(), QSize(128, 96));

    const QString cached = expectedCacheFile(path);
    QCOMPARE(thumbnails::cachedPath(path), cached);
    QVERIFY(cached.contains(QStringLiteral("/thumbnails/normal/")));
    QVERIFY(QFileInfo(cached).isFile());
    const QImage stored(cached);
    QCOMPARE(stored.size(), QSize(128, 96));
    QCOMPARE(stored.text(QStringLiteral("Thumb::URI")), QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    QVERIFY(stored.text(QStringLiteral("Thumb::URI")).contains(QStringLiteral("at%20the%20beach.jpg")));
    QCOMPARE(stored.text(QStringLiteral("Thumb::MTime")),
             QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch()));
    QCOMPARE(stored.text(QStringLiteral("Thumb::Size")), QString::number(QFileInfo(path).size()));
    // The user's alone, as the cache's rules ask.
    QCOMPARE(QFileInfo(cached).permissions() & 0x0077, QFileDevice::Permissions());
    QCOMPARE(QFile::permissions(thumbnails::cacheRoot() + QStringLiteral("/normal")),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser
                 | QFile::ExeUser);
    // No temporary file is left beside it.
    QCOMPARE(QDir(thumbnails::cacheRoot() + QStringLiteral("/normal")).entryList(QDir::Files).size(), 1);

    // A small picture keeps its size; a tall one is fitted by its height.
    const QString small = writePicture(m_dir->filePath(QStringLiteral("small.png")), {40, 20}, Qt::red, "PNG");
    QCOMPARE(thumbnails::thumbnail(small).size(), QSize(40, 20));
    const QString tall = writePicture(m_dir->filePath(QStringLiteral("tall.gif")), {100, 400}, Qt::green, "PNG");
    QCOMPARE(thumbnails::thumbnail(tall).size(), QSize(32, 128));
}

void TestThumbnails::usesTheCacheWhileTheFileIsUnchanged()
{
    const QString path = writePicture(m_dir->filePath(QStringLiteral("dog.jpg")), {1600, 1200}, Qt::blue);
    QVERIFY(!thumbnails::thumbnail(path).isNull());
    const QString cached = thumbnails::cachedPath(path);

    // A cached thumbnail that names the file as it is stands for it: put a
    // red one in its place, and the red one comes back.
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QImage original(cached);
    for (const QString &key : original.textKeys())
        red.setText(key, original.text(key));
    QVERIFY(red.save(cached, "PNG"));
    QCOMPARE(thumbnails::thumbnail(path).size(), QSize(64, 48));

    // Once the file changes, the picture is read again and the cache renewed.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    f.close();
    const QImage again = thumbnails::thumbnail(path);
    QCOMPARE(again.size(), QSize(128, 96));
    QCOMPARE(QColor(again.pixel(10, 10)).blue() > 200, true);
    QCOMPARE(QImage(cached).size(), QSize(128, 96));

    // A thumbnail another program made for another file is not taken.
    QImage foreign(64, 48, QImage::Format_RGB32);
    foreign.fill(Qt::red);
    foreign.setText(QStringLiteral("Thumb::URI"), QStringLiteral("file:///elsewhere/dog.jpg"));
    foreign.setText(QStringLiteral("Thumb::MTime"), QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch()));
    QVERIFY(foreign.save(cached, "PNG"));
    QCOMPARE(thumbnails::thumbnail(path).size(), QSize(128, 96));
}

void TestThumbnails::noThumbnail_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("folder") << "folder";
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("not a picture") << "text";
    QTest::newRow("open data file") << "data";
    QTest::newRow("its journal") << "wal";
    QTest::newRow("no name") << "";
}

void TestThumbnails::noThumbnail()
{
    QFETCH(QString, kind);
    ProgramFolder pf;
    QString path;
    if (kind == QLatin1String("missing")) {
        path = m_dir->filePath(QStringLiteral("gone.jpg"));
    } else if (kind == QLatin1String("folder")) {
        path = m_dir->filePath(QStringLiteral("album.jpg"));
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QLatin1String("pipe")) {
        // Reading a pipe would wait for a writer for good.
        path = m_dir->filePath(QStringLiteral("pipe.jpg"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("text")) {
        path = m_dir->filePath(QStringLiteral("notes.jpg"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture at all");
    } else if (kind == QLatin1String("data") || kind == QLatin1String("wal")) {
        QVERIFY(funOpen_DataDB(nullptr, pf.file(QStringLiteral("Zorbi.dat"))));
        path = pf.file(QStringLiteral("Zorbi.dat"));
        if (kind == QLatin1String("wal"))
            path += QStringLiteral("-wal");
        QVERIFY(QFileInfo(path).isFile());
    }
    QVERIFY(thumbnails::thumbnail(path).isNull());
    QVERIFY(!QFileInfo::exists(thumbnails::cacheRoot() + QStringLiteral("/normal"))
            || QDir(thumbnails::cacheRoot() + QStringLiteral("/normal")).isEmpty());
}

void TestThumbnails::manyInTheirOrder()
{
    QStringList paths;
    QList<QSize> sizes;
    for (int i = 0; i < 40; ++i) {
        if (i % 7 == 3) {
            paths << m_dir->filePath(QStringLiteral("missing%1.jpg").arg(i));
            sizes << QSize();
            continue;
        }
        // Each picture's width tells it from the others.
        const QSize size(200 + 10 * i, 1000);
        paths << writePicture(m_dir->filePath(QStringLiteral("p%1.jpg").arg(i)), size, Qt::darkCyan);
        sizes << size.scaled(128, 128, Qt::KeepAspectRatio);
    }
    for (int pass = 0; pass < 2; ++pass) { // decoded, then from the cache
        const QList<QImage> thumbs = thumbnails::thumbnails(paths);
        QCOMPARE(thumbs.size(), paths.size());
        for (int i = 0; i < thumbs.size(); ++i) {
            if (sizes[i].isValid())
                QCOMPARE(thumbs[i].size(), sizes[i]);
            else
                QVERIFY(thumbs[i].isNull());
        }
    }
    // Squared for a list: the picture in the middle, the rest left clear.
    const QList<QImage> squares = thumbnails::thumbnails(paths, true);
    for (int i = 0; i < squares.size(); ++i) {
        if (!sizes[i].isValid()) {
            QVERIFY(squares[i].isNull());
            continue;
        }
        QCOMPARE(squares[i].size(), QSize(128, 128));
        QCOMPARE(qAlpha(squares[i].pixel(0, 64)), sizes[i].width() == 128 ? 255 : 0);
        QCOMPARE(qAlpha(squares[i].pixel(64, 64)), 255);
    }
}

ZORBI_TEST_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
