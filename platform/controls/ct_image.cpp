#include "platform/controls/ct_image.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

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

CtImage::CtImage(Store store) : m_store(store) { registerIconResources(); }

QString CtImage::path(int group, int index, bool small) const
{
    return QStringLiteral(":/icons/%1g%2/%3%4.png")
        .arg(m_store == Store::Tray ? QStringLiteral("tray/") : QString())
        .arg(group)
        .arg(index)
        .arg(small ? QStringLiteral("-16") : QString());
}

bool CtImage::hasPicture(int group, int index) const { return !icon(group, index).isNull(); }

QPixmap CtImage::picture(int group, int index) const { return icon(group, index).pixmap(32, 32); }

namespace {

// A store picture as an icon that reads its PNG drawings only when one is first
// drawn: the main window hands out dozens of icons at start-up, most of which
// are on no screen yet, and reading them all would hold up the window.
class StoreIconEngine : public QIconEngine {
public:
    StoreIconEngine(QString large, QString small) : m_files{std::move(small), std::move(large)} {}

    QIconEngine *clone() const override { return new StoreIconEngine(*this); }
    QString key() const override { return QStringLiteral("ZorbiStoreIcon"); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(32, 32)}; }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = size.width() >= 32 && size.height() >= 32 ? 32 : 16;
        return QSize(side, side).boundedTo(size);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        // The 16-pixel drawing for small sizes, the 32-pixel one for the rest.
        const int which = size.width() > 16 || size.height() > 16 ? 1 : 0;
        QPixmap &pm = m_loaded[which];
        if (pm.isNull())
            pm.load(m_files[which]);
        QPixmap result = pm;
        if (!result.isNull() && (result.width() > size.width() || result.height() > size.height()))
            result = result.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && !result.isNull() && qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QStyleOption opt;
            opt.palette = QApplication::palette();
            result = QApplication::style()->generatedIconPixmap(mode, result, &opt);
        }
        return result;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * dpr, mode, state);
        pm.setDevicePixelRatio(dpr);
        const QSize shown = pm.size() / dpr;
        painter->drawPixmap(
            QRect(rect.topLeft() + QPoint((rect.width() - shown.width()) / 2, (rect.height() - shown.height()) / 2),
                  shown),
            pm);
    }

private:
    QString m_files[2]; // small, large
    QPixmap m_loaded[2];
};

} // namespace

QIcon CtImage::icon(int group, int index) const
{
    if (group < 0 || index < 1)
        return {};
    // The pictures never change while the program runs, so each is looked up
    // once and then shared: a list of a thousand pets draws one dog, read once.
    static QHash<quint64, QIcon> cache;
    const quint64 key = (quint64(m_store == Store::Tray) << 48) | (quint64(group) << 32) | quint32(index);
    auto it = cache.constFind(key);
    if (it == cache.cend()) {
        QIcon found;
        const QString large = path(group, index, false);
        if (QFile::exists(large))
            found = QIcon(new StoreIconEngine(large, path(group, index, true)));
        it = cache.insert(key, found);
    }
    return *it;
}
