#pragma once
// The hourglass over the whole program for the life of a scope: long work shows
// it, and it goes again on every way out, a failure or an early return included.

#include <QApplication>
#include <QCursor>

class Hourglass {
public:
    Hourglass() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~Hourglass() { release(); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;

    // Puts the normal pointer back before the scope ends (before a window or a
    // message box that the user must answer).
    void release()
    {
        if (m_on) {
            QApplication::restoreOverrideCursor();
            m_on = false;
        }
    }

private:
    bool m_on = true;
};
