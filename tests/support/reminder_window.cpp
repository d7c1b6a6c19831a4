#include "reminder_window.h"

#include "events/frm_reminder.h"
#include "events/reminders.h"

#include <QPointer>
#include <QTimer>

namespace testsupport {

namespace {
QPointer<QTimer> g_watch;
int g_shown = 0;
} // namespace

void onReminderWindow(std::function<void(frm_reminder *)> act)
{
    stopWatchingReminderWindow();
    g_watch = new QTimer;
    g_watch->setInterval(5);
    QObject::connect(g_watch, &QTimer::timeout, [act] {
        QPointer<frm_reminder> w = reminders::reminderWindow();
        if (!w || !w->isVisible())
            return;
        stopWatchingReminderWindow();
        ++g_shown;
        act(w);
        if (w && w->isVisible())
            w->reject();
    });
    g_watch->start();
}

void stopWatchingReminderWindow()
{
    if (g_watch) {
        g_watch->stop();
        g_watch->deleteLater();
    }
    g_watch = nullptr;
}

int reminderWindowsShown() { return g_shown; }

void resetReminderWindowCount() { g_shown = 0; }

} // namespace testsupport
