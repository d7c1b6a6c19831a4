#include "test_support.h"

#include "apps/routines.h"

// A test of the subjects: the routines the programs install, as at start.
void testsupport::installRoutines() { installProgramRoutines(); }
