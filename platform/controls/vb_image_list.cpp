#include "platform/controls/vb_image_list.h"

VbImageList::VbImageList(QObject *parent) : QObject(parent) {}

QIcon VbImageList::fitted(const QIcon &picture) const
{
    if (picture.isNull() || !m_size.isValid())
        return picture;
    // An icon that already has a drawing of the list's size is kept as it is
    // (and read only when it is drawn).
    if (picture.availableSizes().contains(m_size))
        return picture;
    // The best drawing for the list's size (the icon store's 16-pixel one in a
    // small list), scaled down when larger; a photo is so held as a thumbnail.
    return QIcon(picture.pixmap(m_size));
}

int VbImageList::add(const QIcon &picture, const QString &key)
{
    m_images.append({fitted(picture), key});
    emit changed();
    return Count();
}

int VbImageList::insert(int index, const QIcon &picture, const QString &key)
{
    if (index < 1 || index > Count() + 1)
        return add(picture, key);
    m_images.insert(index - 1, {fitted(picture), key});
    emit changed();
    return index;
}

void VbImageList::clear()
{
    if (m_images.isEmpty())
        return;
    m_images.clear();
    emit changed();
}

QIcon VbImageList::picture(int index) const
{
    if (index < 1 || index > Count())
        return {};
    return m_images.at(index - 1).picture;
}

QIcon VbImageList::picture(const QString &key) const
{
    return picture(indexOf(key));
}

int VbImageList::indexOf(const QString &key) const
{
    if (key.isEmpty())
        return 0;
    for (int i = 0; i < Count(); ++i)
        if (m_images.at(i).key.compare(key, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

void VbImageList::setImageSize(const QSize &size)
{
    if (size == m_size)
        return;
    m_size = size;
    emit changed();
}
