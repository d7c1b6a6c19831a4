// The anchor of bench_startup: a minimal Qt program that shows one empty main
// window. Its closer ends it once the window has painted and the event loop is
// idle, as it ends the program measured beside it.

#include "window_closer.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bench::WindowCloser closer(bench::WindowCloser::ModalThenMainWindow);
    QMainWindow w;
    // The size the main program's window opens at, so that both paint the same area.
    w.resize(1180, 720);
    w.show();
    return app.exec();
}
