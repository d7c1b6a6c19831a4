#pragma once

// The first window waits on work that every Qt program does once and that has
// nothing to do with our files: reading the font configuration (dozens of
// files under /etc/fonts), listing the fonts, loading the picture readers and
// the database driver, starting the threads the painter shares its work with. Done on threads of their own while the program takes
// its lock and opens its files, that wait is off the start-up.
namespace warmup {

// First thing in main(), before the application object is made: reads the
// font configuration in the background.
void beforeApplication();
// Once the application object is made: does the rest of it in the background.
void afterApplication();
// Waits for all of it to end; call before the first widget is built, and
// before the application object goes. Does nothing when nothing was started
// or the wait is already over.
void finish();

} // namespace warmup
