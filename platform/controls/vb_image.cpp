#include "platform/controls/vb_image.h"

#include "platform/db/database.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <cmath>

VbImage::VbImage(QWidget *parent) : QWidget(parent) {}

int VbImage::twipsToPixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }

int VbImage::pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

bool VbImage::loadPicture(const QString &path)
{
    m_error = 0;
    if (path.isEmpty()) {
        setPicture(QPixmap());
        return true;
    }
    if (!QFileInfo(path).isFile()) {
        m_error = 53;
        setPicture(QPixmap());
        return false;
    }
    // The database files are the engine's alone: reading one here would drop
    // the engine's locks on it. No picture is kept in them anyway.
    if (db::isOpenDatabaseFile(path)) {
        m_error = 481;
        setPicture(QPixmap());
        return false;
    }
    QImageReader reader(path);
    // The contents decide, not the name: a GIF saved as .jpg still loads.
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        m_error = 481;
        setPicture(QPixmap());
        return false;
    }
    setPicture(QPixmap::fromImage(image));
    return true;
}

QString VbImage::lastErrorText() const
{
    switch (m_error) {
    case 0: return {};
    case 53: return QStringLiteral("File not found");
    case 481: return QStringLiteral("Invalid picture");
    default: return QStringLiteral("Error");
    }
}

void VbImage::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    if (!m_stretch)
        takePictureSize();
    update();
}

void VbImage::setStretch(bool stretch)
{
    if (stretch == m_stretch)
        return;
    m_stretch = stretch;
    if (!m_stretch)
        takePictureSize();
    update();
}

void VbImage::takePictureSize()
{
    // Without a picture the control keeps the size it has.
    if (m_picture.isNull())
        return;
    m_width = pixelsToTwips(m_picture.width());
    m_height = pixelsToTwips(m_picture.height());
    applyGeometry();
}

void VbImage::setLeft(int twips)
{
    m_left = twips;
    applyGeometry();
}

void VbImage::setTop(int twips)
{
    m_top = twips;
    applyGeometry();
}

void VbImage::setWidth(int twips)
{
    m_width = std::max(0, twips);
    applyGeometry();
}

void VbImage::setHeight(int twips)
{
    m_height = std::max(0, twips);
    applyGeometry();
}

void VbImage::applyGeometry()
{
    setGeometry(twipsToPixels(m_left), twipsToPixels(m_top), twipsToPixels(m_width), twipsToPixels(m_height));
}

void VbImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter p(this);
    if (m_stretch) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), m_picture);
    } else {
        p.drawPixmap(0, 0, m_picture);
    }
}
