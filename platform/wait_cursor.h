#pragma once
// The hourglass for the length of a scope: shown when made, and the default
// pointer back when the scope ends, however it ends.

#include <QGuiApplication>

namespace ui {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace ui
