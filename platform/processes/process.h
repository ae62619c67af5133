#pragma once
// Process services: the program's own command line and folder, and the
// immediate end. Starting a command line: start_command.h.
#include <string>

namespace platform {

// The argument text of this process's command line, the program's own name
// split off by the platform's rule, otherwise exactly as handed over.
std::wstring OwnArgumentText();

// The folder of the running program file. Ends with "\" only at a drive root
// ("D:\"), like every other folder path the platform hands out.
std::wstring ProgramFolder();

// Ends the process at once: no further event is handled, no clean-up runs.
[[noreturn]] void EndNow(unsigned exitCode = 0);

}  // namespace platform
