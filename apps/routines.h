#pragma once
// The subjects' routines the programs install at start: every subject module
// the programs are built with.

// Installs them (once is enough; again is harmless).
void installProgramRoutines();
