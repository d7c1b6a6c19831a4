#include "platform/controls/ct_image.h"

#include <QFile>

// The pictures live in the static library, whose resources the linker would
// drop unless they are registered by name; this must stand outside any
// namespace.
static void registerIconResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
}

CtImage::CtImage(Store store) : m_store(store)
{
    registerIconResources();
}

QString CtImage::path(int group, int index, bool small) const
{
    return QStringLiteral(":/icons/%1g%2/%3%4.png")
        .arg(m_store == Store::Tray ? QStringLiteral("tray/") : QString())
        .arg(group)
        .arg(index)
        .arg(small ? QStringLiteral("-16") : QString());
}

bool CtImage::hasPicture(int group, int index) const
{
    return group >= 0 && index >= 1 && QFile::exists(path(group, index, false));
}

QPixmap CtImage::picture(int group, int index) const
{
    if (!hasPicture(group, index))
        return {};
    return QPixmap(path(group, index, false));
}

QIcon CtImage::icon(int group, int index) const
{
    if (!hasPicture(group, index))
        return {};
    QIcon icon;
    icon.addFile(path(group, index, false), QSize(32, 32));
    icon.addFile(path(group, index, true), QSize(16, 16));
    return icon;
}
