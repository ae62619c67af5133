#pragma once

namespace platform {

// The program's start, called by the platform's entry point once COM and the
// common controls are ready. Returns the exit code if it ever returns.
int ProgramMain();

}  // namespace platform
