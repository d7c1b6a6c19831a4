#include "platform/controls/vb_picture_box.h"

VbPictureBox::VbPictureBox(QWidget *parent) : QLabel(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignCenter);
}

void VbPictureBox::setPicture(const QPixmap &picture)
{
    if (picture.isNull())
        clear();
    else
        setPixmap(picture);
}
