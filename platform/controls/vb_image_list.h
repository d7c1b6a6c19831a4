#pragma once
// An image list: the pictures a list view draws its items' icons from,
// counted from 1, optionally reached by a key ("close", "print", ...).
//
// A null picture still takes its place in the list and shows as no picture,
// so the indexes an owner counts while adding stay in step with the list.
// When an image size is set, every picture is kept at most that size (aspect
// kept), so a list of gallery thumbnails holds thumbnails, not whole photos.

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

class VbImageList : public QObject {
    Q_OBJECT
public:
    explicit VbImageList(QObject *parent = nullptr);

    int Count() const { return int(m_images.size()); }

    // Appends; returns the new picture's index (Count() afterwards).
    int add(const QIcon &picture, const QString &key = {});
    // Inserts at `index` (1 = first), moving the later pictures on by one; an
    // index outside 1..Count()+1 appends. Returns the index it took.
    int insert(int index, const QIcon &picture, const QString &key = {});
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

signals:
    // Pictures were added, inserted or cleared, or the size changed.
    void changed();

private:
    struct Image {
        QIcon picture;
        QString key;
    };
    QIcon fitted(const QIcon &picture) const;

    QList<Image> m_images;
    QSize m_size;
};
