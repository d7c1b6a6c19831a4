#include "window_closer.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

namespace bench {

namespace {
// Set on a window once it, or a widget in it, has painted; it goes with the window.
const char *const kPainted = "benchPainted";

bool painted(const QWidget *w) { return w->property(kPainted).toBool(); }

QMainWindow *shownMainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *main = qobject_cast<QMainWindow *>(w); main && main->isVisible())
            return main;
    return nullptr;
}
} // namespace

WindowCloser::WindowCloser(Mode mode, QObject *parent) : QObject(parent), m_mode(mode)
{
    qApp->installEventFilter(this);
    QTimer::singleShot(0, this, &WindowCloser::poll);
}

WindowCloser::~WindowCloser() { qApp->removeEventFilter(this); }

bool WindowCloser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
        QWidget *window = static_cast<QWidget *>(watched)->window();
        if (!painted(window))
            window->setProperty(kPainted, true);
    }
    return false;
}

void WindowCloser::poll()
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (modal->isVisible() && painted(modal)) {
            ++m_modalsClosed;
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        }
    } else if (m_mode == ModalThenMainWindow) {
        if (QMainWindow *main = shownMainWindow(); main && painted(main)) {
            closeMainWindowWhenIdle();
            return;
        }
    }
    QTimer::singleShot(0, this, &WindowCloser::poll);
}

void WindowCloser::closeMainWindowWhenIdle()
{
    if (m_waitingForIdle)
        return;
    m_waitingForIdle = true;
    connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
        [] {
            // Closed from the loop's own dispatch, not from inside its wait.
            if (QMainWindow *main = shownMainWindow())
                QMetaObject::invokeMethod(main, &QWidget::close, Qt::QueuedConnection);
        },
        Qt::SingleShotConnection);
}

} // namespace bench
