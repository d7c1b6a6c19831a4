#include "test_support.h"

// A test of the platform or of core alone: no subject is linked, and every
// routine the main window calls does nothing and answers False.
void testsupport::installRoutines() {}
