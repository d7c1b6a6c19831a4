// The picture formats the program reads through an image plugin of its own
// (PCX, WMF, EMF): each reads through QImageReader like any other, damaged
// files fail cleanly, and other files are not claimed by content.

#include "platform/thumbnails.h"
#include "picture_samples.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

constexpr QSize kSize(120, 60);

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60 && qAlpha(c) > 200; }
bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60 && qAlpha(c) > 200; }

QByteArray sampleOf(const QString &kind)
{
    if (kind == QLatin1String("pcx8"))
        return picture_samples::pcx8(kSize.width(), kSize.height());
    return picture_samples::sample(kind, kSize.width(), kSize.height());
}

QString extensionOf(const QString &kind) { return kind.left(3); }

} // namespace

class TestPictureFormats : public QObject {
    Q_OBJECT
private slots:
    void init();

    void reads_data();
    void reads();
    void damagedFails_data();
    void damagedFails();
    void othersNotClaimed_data();
    void othersNotClaimed();
    void thumbnailAndScaledRead_data();
    void thumbnailAndScaledRead();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPictureFormats::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir->filePath("cache")));
}

void TestPictureFormats::reads_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fileName");
    for (const char *kind : {"pcx", "pcx8", "wmf", "emf"}) {
        QTest::addRow("%s by name", kind) << kind << QStringLiteral("picture.") + extensionOf(kind);
        QTest::addRow("%s by upper-case name", kind)
            << kind << QStringLiteral("PICTURE.") + extensionOf(kind).toUpper();
        // The contents decide when the name says nothing.
        QTest::addRow("%s without extension", kind) << kind << QStringLiteral("picture");
    }
}

void TestPictureFormats::reads()
{
    QFETCH(QString, kind);
    QFETCH(QString, fileName);
    const QString path = m_dir->filePath(fileName);
    QVERIFY(picture_samples::write(path, sampleOf(kind)));

    QCOMPARE(QImageReader::imageFormat(path), extensionOf(kind).toLatin1());
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.size(), kSize);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), kSize);
    for (const QPoint p : {QPoint(5, 5), QPoint(30, 30), QPoint(58, 55)})
        QVERIFY2(isRed(image.pixel(p)),
                 qPrintable(QStringLiteral("%1,%2: %3").arg(p.x()).arg(p.y()).arg(image.pixel(p), 8, 16)));
    for (const QPoint p : {QPoint(62, 5), QPoint(90, 30), QPoint(115, 55)})
        QVERIFY2(isBlue(image.pixel(p)),
                 qPrintable(QStringLiteral("%1,%2: %3").arg(p.x()).arg(p.y()).arg(image.pixel(p), 8, 16)));
}

void TestPictureFormats::damagedFails_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    for (const char *kind : {"pcx", "pcx8", "wmf", "emf"}) {
        const QByteArray whole = sampleOf(kind);
        QTest::addRow("%s header only", kind) << kind << whole.left(kind[0] == 'p' ? 128 : 40);
        QTest::addRow("%s cut in half", kind) << kind << whole.left(whole.size() / 2);
        QTest::addRow("%s cut before its end", kind) << kind << whole.left(whole.size() - 8);
        // Any bytes are some run-length code, so only a metafile can be garbled.
        if (kind[0] != 'p') {
            QByteArray garbled = whole.left(64);
            garbled.append(QByteArray(2000, char(0xFF)));
            QTest::addRow("%s header then garbage", kind) << kind << garbled;
        }
    }
    // A metafile whose header claims a picture far beyond any screen.
    QByteArray huge = picture_samples::emf(100, 100);
    qToLittleEndian<qint32>(2000000000, huge.data() + 32);
    QTest::addRow("emf of absurd size") << "emf" << huge;
    QByteArray wide = picture_samples::pcx24(100, 100);
    qToLittleEndian<quint16>(65535, wide.data() + 8);
    QTest::addRow("pcx wider than it holds") << "pcx" << wide;
}

void TestPictureFormats::damagedFails()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    const QString path = m_dir->filePath(QStringLiteral("damaged.") + extensionOf(kind));
    QVERIFY(picture_samples::write(path, bytes));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QVERIFY(reader.read().isNull());
    QVERIFY(thumbnails::thumbnail(path).isNull());
}

void TestPictureFormats::othersNotClaimed_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("format");
    QImage png(8, 8, QImage::Format_RGB32);
    png.fill(Qt::green);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    png.save(&buffer, "PNG");
    QTest::newRow("png") << pngBytes << QByteArray("png");
    QTest::newRow("text starting with a line feed")
        << QByteArray("\n\x05\x01\x08 hello there", 16).append(200, 'x') << QByteArray();
    QTest::newRow("zeros") << QByteArray(512, '\0') << QByteArray();
    QByteArray almostEmf = picture_samples::emf(10, 10);
    almostEmf[41] = 'X';
    QTest::newRow("emf without its signature") << almostEmf << QByteArray();
    QByteArray almostWmf = picture_samples::wmf(10, 10).mid(22);
    almostWmf[2] = 8;
    QTest::newRow("wmf header of the wrong size") << almostWmf << QByteArray();
}

void TestPictureFormats::othersNotClaimed()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, format);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(QImageReader::imageFormat(&buffer), format);
    // Named like one of ours, it still is refused as a picture.
    const QString path = m_dir->filePath(QStringLiteral("other.pcx"));
    QVERIFY(picture_samples::write(path, bytes));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.read().isNull(), format.isEmpty());
}

void TestPictureFormats::thumbnailAndScaledRead_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"pcx", "wmf", "emf"})
        QTest::newRow(kind) << kind;
}

void TestPictureFormats::thumbnailAndScaledRead()
{
    QFETCH(QString, kind);
    const QString path = m_dir->filePath(QStringLiteral("big.") + kind);
    QVERIFY(picture_samples::write(path, picture_samples::sample(kind, 400, 200)));
    const QImage thumb = thumbnails::thumbnail(path);
    QCOMPARE(thumb.size(), QSize(128, 64));
    QVERIFY(isRed(thumb.pixel(20, 32)));
    QVERIFY(isBlue(thumb.pixel(108, 32)));
    QVERIFY(QFileInfo(thumbnails::cachedPath(path)).isFile());

    QImageReader reader(path);
    reader.setScaledSize(QSize(40, 20));
    const QImage small = reader.read();
    QCOMPARE(small.size(), QSize(40, 20));
    QVERIFY(isRed(small.pixel(5, 10)));
    QVERIFY(isBlue(small.pixel(35, 10)));
}

QTEST_MAIN(TestPictureFormats)
#include "tst_picture_formats.moc"
