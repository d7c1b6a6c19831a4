#include "platform/controls/vb_image_list.h"

#include <QMutex>
#include <QMutexLocker>
#include <QPixmap>
#include <QThread>
#include <QThreadPool>

#include <deque>
#include <vector>

namespace {
// A few screens of 128-pixel thumbnails (about 40 MB).
constexpr int kDefaultCacheSize = 600;
} // namespace

// The work the reading threads share with the list: which files there are,
// which are wanted now, and how far the background has come. Each fill of the
// list has its own; a list cleared or gone stops its old one, and the threads
// still at it drop what they read.
struct VbImageList::Queue {
    QMutex mutex;
    VbImageList::FileReader reader;
    QStringList files; // by index - 1; empty where there is nothing to read
    std::vector<char> readOnce;
    std::deque<int> urgent;
    QSet<int> wanted;
    QSet<int> inFlight;
    qsizetype next = 0; // the background's place in `files`
    int running = 0;
    int undelivered = 0; // read, and on its way to the list
    int generation = 0;
    // While the memory cache has room, what the background reads is kept too,
    // so a small list ends up wholly in memory.
    bool keepAll = true;
    bool stopped = false;

    // The next index to read, the wanted first; 0 when nothing is left. Under
    // the lock.
    int take(bool *isUrgent)
    {
        while (!urgent.empty()) {
            const int index = urgent.front();
            urgent.pop_front();
            if (!inFlight.contains(index)) {
                *isUrgent = true;
                return index;
            }
        }
        while (next < files.size()) {
            const qsizetype i = next++;
            if (!readOnce[size_t(i)] && !files.at(i).isEmpty() && !inFlight.contains(int(i) + 1)) {
                *isUrgent = false;
                return int(i) + 1;
            }
        }
        return 0;
    }
};

VbImageList::VbImageList(QObject *parent) : QObject(parent), m_queue(std::make_shared<Queue>())
{
    m_loaded.setMaxCost(kDefaultCacheSize);
}

VbImageList::~VbImageList()
{
    // No thread may still deliver to a list that is going.
    stopReading();
    if (m_pool)
        m_pool->waitForDone();
}

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
    m_images.append({fitted(picture), key, QString()});
    emit changed();
    return Count();
}

int VbImageList::insert(int index, const QIcon &picture, const QString &key)
{
    if (index < 1 || index > Count() + 1)
        return add(picture, key);
    m_images.insert(index - 1, {fitted(picture), key, QString()});
    // The files' pictures are kept by index: the reading starts over with the
    // new ones.
    if (!m_queue->files.isEmpty()) {
        stopReading();
        for (const Image &image : m_images)
            m_queue->files.append(image.fromFile && !image.unreadable ? image.file : QString());
        m_queue->readOnce.resize(size_t(m_queue->files.size()), 0);
        m_queue->reader = m_reader;
        startReading();
    }
    emit changed();
    return index;
}

int VbImageList::addFile(const QString &path, const QIcon &placeholder)
{
    Image image{fitted(placeholder), QString(), path, true, path.isEmpty() || !m_reader};
    m_images.append(image);
    {
        QMutexLocker lock(&m_queue->mutex);
        while (m_queue->files.size() < m_images.size() - 1)
            m_queue->files.append(QString());
        m_queue->files.append(image.unreadable ? QString() : path);
        m_queue->readOnce.resize(size_t(m_queue->files.size()), 0);
        if (!m_queue->reader)
            m_queue->reader = m_reader;
    }
    // The background starts once the list is filled and the event loop runs.
    if (!image.unreadable && !m_startPending) {
        m_startPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_startPending = false;
                startReading();
            },
            Qt::QueuedConnection);
    }
    emit changed();
    return Count();
}

void VbImageList::stopReading()
{
    {
        QMutexLocker lock(&m_queue->mutex);
        m_queue->stopped = true;
        m_queue->urgent.clear();
    }
    m_queue = std::make_shared<Queue>();
    m_queue->generation = ++m_generation;
    m_loaded.clear();
    m_wanted.clear();
}

void VbImageList::clear()
{
    const bool hadFiles = !m_queue->files.isEmpty();
    stopReading();
    if (m_images.isEmpty() && !hadFiles)
        return;
    m_images.clear();
    emit changed();
}

QIcon VbImageList::picture(int index) const
{
    if (index < 1 || index > Count())
        return {};
    const Image &image = m_images.at(index - 1);
    if (image.fromFile && !image.unreadable)
        if (const QIcon *read = m_loaded.object(index))
            return *read;
    return image.picture;
}

QIcon VbImageList::picture(const QString &key) const { return picture(indexOf(key)); }

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

void VbImageList::setCacheSize(int pictures)
{
    m_loaded.setMaxCost(std::max(1, pictures));
    QMutexLocker lock(&m_queue->mutex);
    m_queue->keepAll = m_loaded.totalCost() < m_loaded.maxCost();
}

bool VbImageList::needsReading(int index) const
{
    if (index < 1 || index > Count())
        return false;
    const Image &image = m_images.at(index - 1);
    return image.fromFile && !image.unreadable && !m_loaded.contains(index);
}

void VbImageList::want(const QList<int> &indexes)
{
    m_wanted.clear();
    bool any = false;
    {
        QMutexLocker lock(&m_queue->mutex);
        m_queue->urgent.clear();
        m_queue->wanted.clear();
        for (int index : indexes) {
            if (!needsReading(index) || m_wanted.contains(index))
                continue;
            m_wanted.insert(index);
            m_queue->wanted.insert(index);
            m_queue->urgent.push_back(index);
            any = true;
        }
    }
    if (any)
        startReading();
}

int VbImageList::wantedUnread() const
{
    int unread = 0;
    for (int index : m_wanted)
        unread += needsReading(index) ? 1 : 0;
    return unread;
}

bool VbImageList::isReading() const
{
    QMutexLocker lock(&m_queue->mutex);
    if (m_queue->running > 0 || m_queue->undelivered > 0 || !m_queue->urgent.empty())
        return true;
    for (qsizetype i = m_queue->next; i < m_queue->files.size(); ++i)
        if (!m_queue->readOnce[size_t(i)] && !m_queue->files.at(i).isEmpty())
            return true;
    return false;
}

void VbImageList::startReading()
{
    if (!m_pool) {
        m_pool = std::make_unique<QThreadPool>();
        m_pool->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        // The window's own thread comes first.
        m_pool->setThreadPriority(QThread::LowPriority);
    }
    std::shared_ptr<Queue> queue = m_queue;
    QMutexLocker lock(&queue->mutex);
    const int threads = m_pool->maxThreadCount();
    while (queue->running < threads) {
        ++queue->running;
        m_pool->start([this, queue] {
            for (;;) {
                bool isUrgent = false;
                int index = 0;
                QString file;
                {
                    QMutexLocker lock(&queue->mutex);
                    index = queue->stopped ? 0 : queue->take(&isUrgent);
                    if (index == 0) {
                        --queue->running;
                        return;
                    }
                    queue->inFlight.insert(index);
                    file = queue->files.at(index - 1);
                }
                const QImage image = queue->reader(file);
                bool deliver = false;
                {
                    QMutexLocker lock(&queue->mutex);
                    queue->inFlight.remove(index);
                    queue->readOnce[size_t(index - 1)] = 1;
                    deliver = !queue->stopped
                              && (isUrgent || image.isNull() || queue->keepAll || queue->wanted.contains(index));
                    queue->undelivered += deliver ? 1 : 0;
                }
                // The destructor waits for these threads, so `this` is alive.
                if (deliver)
                    QMetaObject::invokeMethod(
                        this, [this, generation = queue->generation, index, image] { read(generation, index, image); },
                        Qt::QueuedConnection);
            }
        });
    }
}

void VbImageList::read(int generation, int index, const QImage &image)
{
    if (generation != m_generation)
        return;
    {
        QMutexLocker lock(&m_queue->mutex);
        --m_queue->undelivered;
    }
    if (index < 1 || index > Count())
        return;
    Image &entry = m_images[index - 1];
    if (!entry.fromFile || entry.unreadable)
        return;
    if (image.isNull())
        entry.unreadable = true;
    else
        m_loaded.insert(index, new QIcon(QPixmap::fromImage(image)));
    {
        QMutexLocker lock(&m_queue->mutex);
        m_queue->keepAll = m_loaded.totalCost() < m_loaded.maxCost();
    }
    emit changed();
}
