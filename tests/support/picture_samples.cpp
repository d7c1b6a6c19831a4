#include "picture_samples.h"

#include <QFile>
#include <QtEndian>

namespace picture_samples {

namespace {

void put16(QByteArray &b, int v)
{
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}

void put32(QByteArray &b, qint64 v)
{
    char c[4];
    qToLittleEndian<quint32>(quint32(v), c);
    b.append(c, 4);
}

void set32(QByteArray &b, int at, qint64 v) { qToLittleEndian<quint32>(quint32(v), b.data() + at); }

bool leftHalf(int x, int width) { return x < width / 2; }

QByteArray pcxHeader(int width, int height, int bits, int planes, int bytesPerLine)
{
    QByteArray h;
    h.append(char(0x0A)).append(char(5)).append(char(1)).append(char(bits));
    put16(h, 0);
    put16(h, 0);
    put16(h, width - 1);
    put16(h, height - 1);
    put16(h, 96);
    put16(h, 96);
    h.append(QByteArray(48, '\0'));
    h.append(char(0)).append(char(planes));
    put16(h, bytesPerLine);
    put16(h, 1);
    put16(h, 0);
    put16(h, 0);
    h.append(QByteArray(128 - h.size(), '\0'));
    return h;
}

// One run-length coded line of a plane: a count byte (0xC0 + n) before each
// run, and before any single byte that would read as a count.
void putPcxLine(QByteArray &out, const QByteArray &line)
{
    for (qsizetype i = 0; i < line.size();) {
        qsizetype n = 1;
        while (i + n < line.size() && line[i + n] == line[i] && n < 63)
            ++n;
        if (n > 1 || quint8(line[i]) >= 0xC0)
            out.append(char(0xC0 | n));
        out.append(line[i]);
        i += n;
    }
}

} // namespace

QByteArray pcx24(int width, int height)
{
    const int bytesPerLine = width + (width % 2);
    QByteArray out = pcxHeader(width, height, 8, 3, bytesPerLine);
    for (int y = 0; y < height; ++y)
        for (int plane = 0; plane < 3; ++plane) {
            QByteArray line(bytesPerLine, '\0');
            for (int x = 0; x < width; ++x) {
                const bool red = leftHalf(x, width);
                line[x] = char((plane == 0 && red) || (plane == 2 && !red) ? 0xFF : 0);
            }
            putPcxLine(out, line);
        }
    return out;
}

QByteArray pcx8(int width, int height)
{
    const int bytesPerLine = width + (width % 2);
    QByteArray out = pcxHeader(width, height, 8, 1, bytesPerLine);
    for (int y = 0; y < height; ++y) {
        QByteArray line(bytesPerLine, '\0');
        // Colour 200 (a value that must be coded as a run) is red, 7 blue.
        for (int x = 0; x < width; ++x)
            line[x] = char(leftHalf(x, width) ? 200 : 7);
        putPcxLine(out, line);
    }
    QByteArray palette(768, '\0');
    palette[200 * 3] = char(0xFF);
    palette[7 * 3 + 2] = char(0xFF);
    out.append(char(0x0C)).append(palette);
    return out;
}

QByteArray wmf(int width, int height)
{
    QByteArray records;
    auto record = [&records](int function, std::initializer_list<int> words) {
        put32(records, 3 + qint64(words.size()));
        put16(records, function);
        for (int w : words)
            put16(records, w);
    };
    record(0x020B, {0, 0});          // window origin (y, x)
    record(0x020C, {height, width}); // window extent (y, x)
    record(0x02FA, {5, 0, 0, 0, 0}); // a null pen
    record(0x012D, {0});
    record(0x02FC, {0, 0x00FF, 0x0000, 0}); // a red solid brush
    record(0x012D, {1});
    record(0x041B, {height + 1, width / 2 + 1, 0, 0}); // left half (bottom, right, top, left)
    record(0x01F0, {1});                               // delete the brush
    record(0x02FC, {0, 0x0000, 0x00FF, 0});            // a blue solid brush
    record(0x012D, {1});
    record(0x041B, {height + 1, width + 1, 0, width / 2}); // right half
    record(0x0000, {});                                    // end of file

    QByteArray placeable;
    put32(placeable, 0x9AC6CDD7);
    put16(placeable, 0);
    put16(placeable, 0);
    put16(placeable, 0);
    put16(placeable, width);
    put16(placeable, height);
    put16(placeable, 96);
    put32(placeable, 0);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= qFromLittleEndian<quint16>(placeable.constData() + i);
    put16(placeable, sum);

    QByteArray header;
    put16(header, 1);
    put16(header, 9);
    put16(header, 0x0300);
    put32(header, (18 + records.size()) / 2);
    put16(header, 2);
    put32(header, 8);
    put16(header, 0);
    return placeable + header + records;
}

QByteArray emf(int width, int height)
{
    // The reference device: 960 pixels in 254 mm, so 96 to the inch.
    QByteArray out;
    put32(out, 1);
    put32(out, 108);
    for (int v : {0, 0, width - 1, height - 1})
        put32(out, v);
    for (qint64 v : {qint64(0), qint64(0), qint64(width) * 2540 / 96, qint64(height) * 2540 / 96})
        put32(out, v);
    put32(out, 0x464D4520);
    put32(out, 0x10000);
    put32(out, 0); // bytes, set below
    put32(out, 0); // records, set below
    put16(out, 2); // handles
    put16(out, 0);
    put32(out, 0); // no description
    put32(out, 0);
    put32(out, 0); // no palette
    put32(out, 960);
    put32(out, 960);
    put32(out, 254);
    put32(out, 254);
    put32(out, 0); // no pixel format
    put32(out, 0);
    put32(out, 0);
    put32(out, 254000);
    put32(out, 254000);
    int count = 1;
    auto record = [&out, &count](int type, std::initializer_list<qint64> values) {
        put32(out, type);
        put32(out, 8 + 4 * qint64(values.size()));
        for (qint64 v : values)
            put32(out, v);
        ++count;
    };
    record(37, {0x80000008});          // select the stock null pen
    record(39, {1, 0, 0x000000FF, 0}); // brush 1: red
    record(37, {1});
    record(43, {0, 0, width / 2 + 1, height + 1}); // left half
    record(37, {0x80000000});                      // select the stock white brush
    record(40, {1});                               // delete brush 1
    record(39, {1, 0, 0x00FF0000, 0});             // brush 1: blue
    record(37, {1});
    record(43, {width / 2, 0, width + 1, height + 1}); // right half
    record(14, {0, 16, 20});                           // end of file
    set32(out, 48, out.size());
    set32(out, 52, count);
    return out;
}

QByteArray sample(const QString &extension, int width, int height)
{
    if (extension == QLatin1String("pcx"))
        return pcx24(width, height);
    if (extension == QLatin1String("wmf"))
        return wmf(width, height);
    if (extension == QLatin1String("emf"))
        return emf(width, height);
    return {};
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace picture_samples
