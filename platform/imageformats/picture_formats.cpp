#include "platform/imageformats/picture_formats.h"

#include <QIODevice>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <emf2svg.h>
#include <magick/api.h>

namespace picture_formats {

namespace {

// No picture the program keeps comes near this; a file larger is refused
// rather than read into memory whole.
constexpr qint64 kMostBytes = 128 * 1024 * 1024;
// Nor one wider or taller than this, whatever its header claims.
constexpr int kMostSide = 32768;
// Screen pixels to the inch, at which a metafile is drawn its natural size.
constexpr double kPixelsPerInch = 96.0;
constexpr double kHundredthsOfMmPerInch = 2540.0;

constexpr int kPcxHeaderBytes = 128;
constexpr int kWmfPlaceableBytes = 22;
constexpr int kWmfHeaderBytes = 18;
constexpr quint32 kWmfPlaceableKey = 0x9AC6CDD7u;
constexpr quint32 kEmfSignature = 0x464D4520u; // " EMF"
constexpr int kEmfHeaderLeast = 88;
constexpr quint32 kEmrHeader = 1;
constexpr quint32 kEmrEof = 14;

quint16 u16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 u32(const QByteArray &b, qint64 at) { return qFromLittleEndian<quint32>(b.constData() + at); }
qint32 s32(const QByteArray &b, int at) { return qFromLittleEndian<qint32>(b.constData() + at); }

// A PCX header says what it holds in a few fixed fields; all of them must
// agree before a file counts as one (its single magic byte alone would claim
// any file that starts with a line feed).
QSize pcxSize(const QByteArray &h)
{
    if (h.size() < kPcxHeaderBytes || quint8(h[0]) != 0x0A)
        return {};
    const quint8 version = quint8(h[1]), encoding = quint8(h[2]), bits = quint8(h[3]), planes = quint8(h[65]);
    if (version > 5 || version == 1 || encoding > 1)
        return {};
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8)
        return {};
    if (planes < 1 || planes > 4)
        return {};
    const int width = int(u16(h, 8)) - int(u16(h, 4)) + 1;
    const int height = int(u16(h, 10)) - int(u16(h, 6)) + 1;
    if (width < 1 || height < 1 || width > kMostSide || height > kMostSide)
        return {};
    const int bytesPerLine = u16(h, 66);
    if (bytesPerLine < (width * bits + 7) / 8 || bytesPerLine > (width * bits + 7) / 8 + 64)
        return {};
    return {width, height};
}

// Where the metafile's own header starts: after the placeable header when it
// has one. -1 when the bytes are no metafile header.
int wmfHeaderAt(const QByteArray &h)
{
    int at = 0;
    if (h.size() >= kWmfPlaceableBytes && u32(h, 0) == kWmfPlaceableKey)
        at = kWmfPlaceableBytes;
    if (h.size() < at + kWmfHeaderBytes)
        return -1;
    const quint16 type = u16(h, at), words = u16(h, at + 2), version = u16(h, at + 4);
    if ((type != 1 && type != 2) || words != 9 || (version != 0x0100 && version != 0x0300))
        return -1;
    return at;
}

bool isEmfHeader(const QByteArray &h)
{
    return h.size() >= 44 && u32(h, 0) == kEmrHeader && u32(h, 4) >= quint32(kEmfHeaderLeast)
           && u32(h, 40) == kEmfSignature;
}

// True when the records run from the header to an end-of-file record without
// one of them reaching past the end: a truncated or garbled file fails here.
bool wmfRecordsWhole(const QByteArray &data, int headerAt)
{
    qint64 at = headerAt + kWmfHeaderBytes;
    while (at + 6 <= data.size()) {
        const qint64 bytes = qint64(u32(data, at)) * 2;
        const quint16 function = u16(data, at + 4);
        if (bytes < 6 || at + bytes > data.size())
            return false;
        if (function == 0)
            return true;
        at += bytes;
    }
    return false;
}

bool emfRecordsWhole(const QByteArray &data)
{
    qint64 at = 0;
    while (at + 8 <= data.size()) {
        const quint32 type = u32(data, at), bytes = u32(data, at + 4);
        if (bytes < 8 || bytes % 4 != 0 || at + qint64(bytes) > data.size())
            return false;
        if (type == kEmrEof)
            return true;
        at += bytes;
    }
    return false;
}

// The enhanced metafile's size at 96 pixels to the inch, from its frame (in
// hundredths of a millimetre); its bounds in device pixels when the frame is empty.
QSize emfSize(const QByteArray &h)
{
    if (!isEmfHeader(h))
        return {};
    const double frameW = double(s32(h, 32)) - s32(h, 24), frameH = double(s32(h, 36)) - s32(h, 28);
    int w = int(std::lround(frameW * kPixelsPerInch / kHundredthsOfMmPerInch));
    int h2 = int(std::lround(frameH * kPixelsPerInch / kHundredthsOfMmPerInch));
    if (w < 1 || h2 < 1) {
        w = s32(h, 16) - s32(h, 8) + 1;
        h2 = s32(h, 20) - s32(h, 12) + 1;
    }
    if (w < 1 || h2 < 1 || w > kMostSide || h2 > kMostSide)
        return {};
    return {w, h2};
}

QByteArray peek(QIODevice *device) { return device ? device->peek(kPcxHeaderBytes) : QByteArray(); }

QByteArray formatOf(Kind kind)
{
    switch (kind) {
    case Kind::Pcx: return QByteArrayLiteral("pcx");
    case Kind::Wmf: return QByteArrayLiteral("wmf");
    case Kind::Emf: return QByteArrayLiteral("emf");
    case Kind::None: break;
    }
    return {};
}

// GraphicsMagick is set up once for the process. It decodes one picture at a
// time on the calling thread: the thumbnails already decode many in parallel.
void initMagick()
{
    static std::once_flag once;
    std::call_once(once, [] {
        InitializeMagick(nullptr);
        SetMagickResourceLimit(ThreadsResource, 1);
        SetMagickResourceLimit(WidthResource, kMostSide);
        SetMagickResourceLimit(HeightResource, kMostSide);
    });
}

// The library's drawing of metafiles keeps state of its own beyond one call;
// one metafile is drawn at a time.
std::mutex &metafileLock()
{
    static std::mutex lock;
    return lock;
}

// The picture decoded by GraphicsMagick's coder of that name, which is forced:
// the library never guesses a format (nor calls a helper program) for us.
QImage decodeWithMagick(const QByteArray &data, const char *coder)
{
    initMagick();
    ExceptionInfo exception;
    GetExceptionInfo(&exception);
    ImageInfo *info = CloneImageInfo(nullptr);
    std::snprintf(info->filename, sizeof info->filename, "%s:picture", coder);
    std::snprintf(info->magick, sizeof info->magick, "%s", coder);
    CloneString(&info->density, "96x96");
    Image *decoded = BlobToImage(info, data.constData(), size_t(data.size()), &exception);
    QImage result;
    // A warning that the picture is damaged counts as a failure: what comes
    // back then is part of a picture.
    const bool damaged = exception.severity >= ErrorException || exception.severity == CorruptImageWarning;
    if (decoded && !damaged && decoded->columns > 0 && decoded->rows > 0 && decoded->columns <= unsigned(kMostSide)
        && decoded->rows <= unsigned(kMostSide)) {
        const QSize size(int(decoded->columns), int(decoded->rows));
        const bool alpha = decoded->matte != MagickFalse;
        QImage out;
        if (QImageIOHandler::allocateImage(size, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888, &out)) {
            // The rows of a QImage are padded to four bytes; the library writes them packed.
            const int packed = size.width() * (alpha ? 4 : 3);
            QByteArray pixels(qsizetype(packed) * size.height(), Qt::Uninitialized);
            if (DispatchImage(decoded, 0, 0, decoded->columns, decoded->rows, alpha ? "RGBA" : "RGB", CharPixel,
                              pixels.data(), &exception)
                == MagickPass) {
                for (int y = 0; y < size.height(); ++y)
                    std::memcpy(out.scanLine(y), pixels.constData() + qsizetype(packed) * y, size_t(packed));
                result = out;
            }
        }
    }
    if (decoded)
        DestroyImage(decoded);
    DestroyImageInfo(info);
    DestroyExceptionInfo(&exception);
    return result;
}

// The enhanced metafile as SVG text; empty when the library cannot convert it.
QByteArray emfToSvg(const QByteArray &data)
{
    generatorOptions options{};
    options.nameSpace = const_cast<char *>("svg");
    options.emfplus = true;
    options.svgDelimiter = true;
    char *svg = nullptr;
    size_t svgLength = 0;
    // The library reads the records in place and does not keep them.
    QByteArray copy = data;
    const int ok = emf2svg(copy.data(), size_t(copy.size()), &svg, &svgLength, &options);
    QByteArray text;
    if (ok && svg)
        text = QByteArray(svg, qsizetype(svgLength));
    std::free(svg);
    return text;
}

class PictureHandler : public QImageIOHandler {
public:
    explicit PictureHandler(Kind kind) : m_kind(kind) {}

    bool canRead() const override { return kindOfHeader(peek(device())) == m_kind; }

    bool read(QImage *image) override
    {
        if (!load())
            return false;
        if (m_kind == Kind::Emf)
            return drawEmf(image);
        *image = m_decoded;
        return true;
    }

    bool supportsOption(ImageOption option) const override
    {
        return option == Size || (option == ScaledSize && m_kind == Kind::Emf);
    }

    QVariant option(ImageOption option) const override
    {
        if (option == ScaledSize)
            return m_scaledSize;
        if (option != Size)
            return {};
        const QByteArray head = peek(device());
        switch (m_kind) {
        case Kind::Pcx: return pcxSize(head);
        case Kind::Emf: return emfSize(head);
        case Kind::Wmf:
            // Only drawing a metafile without a placeable header tells its size.
            if (const_cast<PictureHandler *>(this)->load())
                return m_decoded.size();
            return {};
        case Kind::None: break;
        }
        return {};
    }

    void setOption(ImageOption option, const QVariant &value) override
    {
        if (option == ScaledSize)
            m_scaledSize = value.toSize();
    }

private:
    // Reads the file and decodes it (draws a metafile) once; an EMF is drawn
    // when read, at the size asked for.
    bool load()
    {
        if (m_loaded)
            return m_ok;
        m_loaded = true;
        QIODevice *d = device();
        if (!d || (d->size() > kMostBytes && !d->isSequential()))
            return false;
        const QByteArray data = d->read(kMostBytes);
        switch (m_kind) {
        case Kind::Pcx:
            if (pcxSize(data).isValid())
                m_decoded = decodeWithMagick(data, "PCX");
            m_ok = !m_decoded.isNull();
            break;
        case Kind::Wmf: {
            const int headerAt = wmfHeaderAt(data);
            if (headerAt >= 0 && wmfRecordsWhole(data, headerAt)) {
                const std::lock_guard<std::mutex> hold(metafileLock());
                m_decoded = decodeWithMagick(data, "WMF");
            }
            m_ok = !m_decoded.isNull();
            break;
        }
        case Kind::Emf:
            m_size = emfSize(data);
            if (m_size.isValid() && emfRecordsWhole(data)) {
                const std::lock_guard<std::mutex> hold(metafileLock());
                m_svg = emfToSvg(data);
            }
            m_ok = !m_svg.isEmpty();
            break;
        case Kind::None: break;
        }
        return m_ok;
    }

    bool drawEmf(QImage *image) const
    {
        QSvgRenderer renderer(m_svg);
        if (!renderer.isValid())
            return false;
        const QSize size = m_scaledSize.isValid() && !m_scaledSize.isEmpty() ? m_scaledSize : m_size;
        QImage out;
        if (!QImageIOHandler::allocateImage(size, QImage::Format_ARGB32_Premultiplied, &out))
            return false;
        out.fill(Qt::transparent);
        QPainter painter(&out);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
        painter.end();
        *image = out;
        return true;
    }

    Kind m_kind;
    bool m_loaded = false;
    bool m_ok = false;
    QImage m_decoded;
    QByteArray m_svg;
    QSize m_size;
    QSize m_scaledSize;
};

} // namespace

Kind kindOfHeader(const QByteArray &head)
{
    if (isEmfHeader(head))
        return Kind::Emf;
    if (wmfHeaderAt(head) >= 0)
        return Kind::Wmf;
    if (pcxSize(head).isValid())
        return Kind::Pcx;
    return Kind::None;
}

} // namespace picture_formats

using picture_formats::Kind;

namespace {
Kind kindOfFormat(const QByteArray &format)
{
    const QByteArray f = format.toLower();
    if (f == "pcx")
        return Kind::Pcx;
    if (f == "wmf")
        return Kind::Wmf;
    if (f == "emf")
        return Kind::Emf;
    return Kind::None;
}
} // namespace

QImageIOPlugin::Capabilities PictureFormatsPlugin::capabilities(QIODevice *device, const QByteArray &format) const
{
    const Kind named = kindOfFormat(format);
    if (!format.isEmpty() && named == Kind::None)
        return {};
    if (!device || !device->isOpen() || !device->isReadable())
        return named != Kind::None ? CanRead : Capabilities();
    // A file named like one kind but holding another (a GIF saved as .pcx) is
    // left to the reader that knows its contents.
    const Kind found = picture_formats::kindOfHeader(device->peek(128));
    if (found == Kind::None || (named != Kind::None && found != named))
        return {};
    return CanRead;
}

QImageIOHandler *PictureFormatsPlugin::create(QIODevice *device, const QByteArray &format) const
{
    Kind kind = kindOfFormat(format);
    if (kind == Kind::None && device)
        kind = picture_formats::kindOfHeader(device->peek(128));
    auto *handler = new picture_formats::PictureHandler(kind);
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? picture_formats::formatOf(kind) : format.toLower());
    return handler;
}
