#pragma once
// How a benchmark lets a program's windows come up and then closes them as a
// user would, without a timer of its own deciding when.
//
// A zero-timer posted again on every pass of whichever event loop runs (the
// program's own, or the loop of a modal window that runs inside its start-up)
// watches the windows. A modal window, once it has painted, is closed with
// Esc's answer (rejected). In ModalThenMainWindow mode the program's main
// window, once it has painted with no modal window over it, is closed at the
// event loop's first wait for events: when the program has nothing left to do.

#include <QObject>

namespace bench {

class WindowCloser : public QObject {
public:
    enum Mode { ModalOnly, ModalThenMainWindow };
    explicit WindowCloser(Mode mode, QObject *parent = nullptr);
    ~WindowCloser() override;

    // How many modal windows it has closed.
    int modalsClosed() const { return m_modalsClosed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void poll();
    void closeMainWindowWhenIdle();

    Mode m_mode;
    int m_modalsClosed = 0;
    bool m_waitingForIdle = false;
};

} // namespace bench
