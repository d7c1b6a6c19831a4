#pragma once

// The font configuration takes several milliseconds to read (dozens of files
// under /etc/fonts) the first time any text is measured or drawn. Reading it on
// a thread of its own while the program opens its files takes that wait off
// start-up; the first window then finds it ready.
namespace font_warmup {

// Starts reading the font configuration in the background. Call once, first
// thing in main(), before the application object is made.
void start();
// Waits for that reading to end; call before the first widget is built. Does
// nothing when start() was not called or the wait is already over.
void finish();

} // namespace font_warmup
