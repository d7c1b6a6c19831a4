#pragma once
// Notes what a view asks of its delegate, for the tests that hold a long list
// to painting and measuring only what is shown.

#include <QAbstractItemDelegate>
#include <QSet>

// Stands in for a view's delegate, which still draws and measures every item,
// and notes the rows the view paints and how many sizes it measures.
class CountingDelegate : public QAbstractItemDelegate {
public:
    CountingDelegate(QAbstractItemDelegate *shown, QObject *parent) : QAbstractItemDelegate(parent), m_shown(shown) {}
    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painted.insert(index.row());
        m_shown->paint(p, option, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        ++measured;
        return m_shown->sizeHint(option, index);
    }
    mutable QSet<int> painted;
    mutable int measured = 0;

private:
    QAbstractItemDelegate *m_shown;
};
