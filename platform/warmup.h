#pragma once

// The first window waits on work that every Qt program does once and that has
// nothing to do with our files: reading the font configuration (dozens of
// files under /etc/fonts), listing the fonts, loading the picture readers and
// the database driver, starting the threads the painter shares its work with. Done on threads of their own while the
// program takes its lock and opens its files, that wait is off the start-up.
//
// And the memory the first window and its lists take: some thousands of pages,
// each a fault into the kernel on first touch (several microseconds each in a
// virtual machine). The heap is made to grow in one reserve of huge pages,
// which takes a few dozen faults for the same memory.
namespace warmup {

// First thing in main(), before the application object is made: reserves the
// heap and reads the font configuration in the background.
void beforeApplication();
// Once the application object is made: does the rest of it in the background.
void afterApplication();
// Waits for all of it to end; call before the first widget is built, and
// before the application object goes. Does nothing when nothing was started
// or the wait is already over.
void finish();
// Once start-up has settled: the heap no longer keeps its reserve, and memory
// freed since goes back to the system as usual.
void releaseHeap();

} // namespace warmup
