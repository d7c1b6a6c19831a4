#pragma once
// The image control of a detail window: one picture, placed by its owner in
// twips (1/1440 inch) within its parent, which must not lay it out.  With
// Stretch off the control takes the picture's own size; with Stretch on the
// picture is drawn to fill the control's size.

#include <QPixmap>
#include <QString>
#include <QWidget>

class VbImage : public QWidget {
    Q_OBJECT
public:
    explicit VbImage(QWidget *parent = nullptr);

    // Twips and pixels at the 96 dots an inch the windows are laid out for.
    static constexpr int kTwipsPerPixel = 15;
    static int twipsToPixels(double twips);
    static int pixelsToTwips(int pixels);

    // Loads a picture file; an empty path empties the picture.  False when the
    // file cannot be read as a picture (the control then holds none), with the
    // number and text of the error: 53 a missing file, 481 not a picture.
    bool loadPicture(const QString &path);
    int lastError() const { return m_error; }
    QString lastErrorText() const;

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);
    bool hasPicture() const { return !m_picture.isNull(); }

    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);

    // Position and size in twips, in the parent's coordinates.
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void setLeft(int twips);
    void setTop(int twips);
    void setWidth(int twips);
    void setHeight(int twips);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyGeometry();
    void takePictureSize();

    QPixmap m_picture;
    bool m_stretch = false;
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    int m_error = 0;
};
