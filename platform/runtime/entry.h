#pragma once

namespace platform {

// The program's start, called by the platform's entry point once the common
// controls are ready. COM is not: what needs it (the suggestion list, a start
// through the shell) initialises it on this thread at first use, so that a
// start that never needs it never loads it. Returns the exit code if it ever
// returns.
int ProgramMain();

}  // namespace platform
