#pragma once
// A picture box: a box that shows one picture and, unlike a plain picture
// label, takes the focus, so the edit commands can cut, copy, paste and clear
// its picture. An empty picture is a null pixmap.

#include <QLabel>
#include <QPixmap>

class VbPictureBox : public QLabel {
    Q_OBJECT
public:
    explicit VbPictureBox(QWidget *parent = nullptr);

    QPixmap picture() const { return pixmap(); }
    void setPicture(const QPixmap &picture);
};
