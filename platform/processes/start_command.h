#pragma once
// Starting the text of the command window: as it is, inside a command
// processor whose window stays open, or as administrator.
#include <optional>
#include <string>
#include <string_view>

#include "platform/processes/process_calls.h"

namespace platform {

enum class StartMode { Normal, Console, Elevated };

// Enter or a click alone starts normally, with Shift in a console, with Ctrl
// and Shift as administrator.
StartMode StartModeFor(bool shift, bool ctrl);

struct StartFailure {
  unsigned long code;   // the platform's error code
  std::wstring reason;  // the platform's text for it, in the user's language
  // The user said no to the consent prompt: nothing to report.
  bool Declined() const { return code == kErrorCancelled; }
};

// Starts the command line and does not wait for it.
// - Normal: as a new process. A shortcut (.lnk) or .pif, which process
//   creation cannot run, and a program that asks for administrator rights
//   (which process creation refuses) go to the shell's "open" action.
// - Console: "<command processor>" /s /k "<text>" in a new console.
// - Elevated: the shell's "runas" action.
// The shell gets the program part unquoted as the file and the rest of the
// text, unchanged, as its parameters.
std::optional<StartFailure> StartCommandLine(ProcessCalls& calls, std::wstring_view commandLine, StartMode mode,
                                             HWND__* owner);

// %ComSpec% when set and present, else cmd.exe in the system folder.
std::wstring CommandProcessor(ProcessCalls& calls);

// The command processor's line that runs the text and keeps its window open.
std::wstring ConsoleCommandLine(std::wstring_view processor, std::wstring_view commandLine);

}  // namespace platform
