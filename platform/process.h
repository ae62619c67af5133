#pragma once
// Process services: the program's own command line and folder, starting a
// command line, and the immediate end.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The argument text of this process's command line, the program's own name
// split off by the platform's rule, otherwise exactly as handed over.
std::wstring OwnArgumentText();

// The folder of the running program file. Ends with "\" only at a drive root
// ("D:\"), like every other folder path the platform hands out.
std::wstring ProgramFolder();

struct StartFailure {
  unsigned long code;   // the platform's error code
  std::wstring reason;  // the platform's text for it, in the user's language
};

// Starts the command line as a new process with a normal, activated window
// and does not wait for it. A shortcut (.lnk) or .pif, which process creation
// cannot run, is opened by the shell with the rest of the text as parameters.
std::optional<StartFailure> StartCommandLine(std::wstring_view commandLine);

// Ends the process at once: no further event is handled, no clean-up runs.
[[noreturn]] void EndNow(unsigned exitCode = 0);

}  // namespace platform
