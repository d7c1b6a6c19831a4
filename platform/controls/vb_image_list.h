#pragma once
// An image list: the pictures a list view draws its items' icons from,
// counted from 1, optionally reached by a key ("close", "print", ...).
//
// A null picture still takes its place in the list and shows as no picture,
// so the indexes an owner counts while adding stay in step with the list.
// When an image size is set, every picture is kept at most that size (aspect
// kept), so a list of gallery thumbnails holds thumbnails, not whole photos.
//
// A picture may also come from a file, read later: it shows its placeholder
// until it has been read. The list view says which of its pictures are on
// screen (want); those are read first, and the rest in the background, on
// threads of their own, so the window never waits for them. Only a few
// screens of read pictures are kept in memory; one that was dropped shows its
// placeholder again until it is read anew (the reader is expected to keep a
// cache of its own on disk). A file that gives no picture keeps its
// placeholder.

#include <QCache>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class QThreadPool;

class VbImageList : public QObject {
    Q_OBJECT
public:
    // Reads one file's picture, on any thread; a null image when it gives none.
    using FileReader = std::function<QImage(const QString &path)>;

    explicit VbImageList(QObject *parent = nullptr);
    ~VbImageList() override;

    int Count() const { return int(m_images.size()); }

    // Appends; returns the new picture's index (Count() afterwards).
    int add(const QIcon &picture, const QString &key = {});
    // Inserts at `index` (1 = first), moving the later pictures on by one; an
    // index outside 1..Count()+1 appends. Returns the index it took.
    int insert(int index, const QIcon &picture, const QString &key = {});
    // Appends a picture that the reader makes from `path` later, with
    // `placeholder` shown meanwhile (and for good when the file gives none, or
    // `path` is empty). Returns its index.
    int addFile(const QString &path, const QIcon &placeholder);
    void clear();

    // Null for an index outside 1..Count(), an unknown key, or a null picture.
    QIcon picture(int index) const;
    QIcon picture(const QString &key) const;
    // The index of the first picture with `key` (keys compare without case);
    // 0 when none has it.
    int indexOf(const QString &key) const;

    // The size the pictures are shown at; an invalid size (the default) leaves
    // it to the list view. Applies to pictures added afterwards.
    QSize ImageSize() const { return m_size; }
    void setImageSize(const QSize &size);

    // How the pictures of addFile are read; set before adding them.
    void setFileReader(FileReader reader) { m_reader = std::move(reader); }
    // How many read pictures are kept in memory.
    int cacheSize() const { return int(m_loaded.maxCost()); }
    void setCacheSize(int pictures);
    // The pictures on screen and about it, the most wanted first: those not in
    // memory are read before any other. Replaces the last call's.
    void want(const QList<int> &indexes);
    // Of the pictures last wanted, how many are still being read.
    int wantedUnread() const;
    // Whether any file is still being read (on screen or in the background).
    bool isReading() const;

signals:
    // Pictures were added, inserted or cleared, the size changed, or a
    // picture of a file was read.
    void changed();

private:
    struct Image {
        QIcon picture;
        QString key;
        QString file;
        bool fromFile = false;
        bool unreadable = false;
    };
    struct Queue;
    QIcon fitted(const QIcon &picture) const;
    bool needsReading(int index) const;
    void startReading();
    void read(int generation, int index, const QImage &image);
    void stopReading();

    QList<Image> m_images;
    QSize m_size;
    FileReader m_reader;
    mutable QCache<int, QIcon> m_loaded;
    QSet<int> m_wanted;
    std::shared_ptr<Queue> m_queue;
    std::unique_ptr<QThreadPool> m_pool;
    int m_generation = 0;
    bool m_startPending = false;
};
