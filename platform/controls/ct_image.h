#pragma once
// The icon store: the program's pictures in numbered groups, each picture
// counted from 1. The main program's store holds group 0 (the program's own
// icons), group 1 (one icon per species id) and group 2 (the printout icons);
// the reminder program's store holds its tray menu's pictures in group 0.
//
// The pictures are compiled into the program, so no icon theme or font is
// needed at run time. An index without a picture gives a null picture, which
// every control treats as "none".

#include <QIcon>
#include <QPixmap>
#include <QString>

class CtImage {
public:
    enum class Store { Main, Tray };

    explicit CtImage(Store store = Store::Main);

    bool hasPicture(int group, int index) const;
    // 32x32; null when the store has no picture there.
    QPixmap picture(int group, int index) const;
    // The same picture with its 16x16 drawing for menus and small icons; null
    // when the store has no picture there.
    QIcon icon(int group, int index) const;

private:
    QString path(int group, int index, bool small) const;

    Store m_store;
};
