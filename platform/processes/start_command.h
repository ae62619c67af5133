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
  unsigned long code;     // the platform's error code
  std::wstring reason;    // the platform's text for it, in the user's language
  std::wstring expanded;  // the line as it was started, where %NAME% made it differ; else empty
  // The user said no to the consent prompt: nothing to report.
  bool Declined() const { return code == kErrorCancelled; }
};

// The program part of a command line as process creation finds it: leading
// blanks skipped; a quoted name runs to the next quote; an unquoted name with
// blanks is tried up to each blank in turn ("C:\Program", then
// "C:\Program Files\App\setup", ...), and the first that names a file wins.
// A name without an extension is only ever tried with ".exe" added.
struct ProgramPart {
  std::wstring_view text;  // as written, quotes included
  std::wstring_view rest;  // everything after the blanks that follow it
  std::wstring file;       // the file it names: unquoted, ".exe" added where process creation adds it
};
ProgramPart FindProgram(ProcessCalls& calls, std::wstring_view commandLine);

// Starts the command line and does not wait for it. Each %NAME% defined in
// this process's environment is first replaced by its value (Expanded),
// except in a line for the command processor (Console; a batch file run as
// administrator), which expands it itself: twice would change a value that
// holds "%". The length limits apply to the line as it is started.
// - Normal: as a new process. A shortcut (.lnk) or .pif, which process
//   creation cannot run, and a program that asks for administrator rights
//   (which process creation refuses) go to the shell's "open" action.
// - Console: "<command processor>" /s /k "<text>" in a new console.
// - Elevated: the shell's "runas" action; a batch file (.bat, .cmd) through
//   the command processor started that way, with /d /s /c "<text>" (no
//   AutoRun).
// The shell gets the program part's file and the rest of the line,
// unchanged, as its parameters. A line that the command processor would
// refuse (longer than it takes) is refused before anything starts.
std::optional<StartFailure> StartCommandLine(ProcessCalls& calls, std::wstring_view commandLine, StartMode mode,
                                             HWND__* owner);

// The message for a start that failed: the line as typed, as started where
// that differs, and the reason.
std::wstring FailureMessage(std::wstring_view commandLine, const StartFailure& failure);

// The program a line starts, as the history names it: the file that the line
// names once expanded, so that "%ProgramFiles%\x.exe" and
// "C:\Program Files\x.exe" are one program.
std::wstring StartedProgram(ProcessCalls& calls, std::wstring_view commandLine);

// %ComSpec% when set and present, else cmd.exe in the system folder.
std::wstring CommandProcessor(ProcessCalls& calls);

// The command processor's line that runs the text and keeps its window open.
std::wstring ConsoleCommandLine(std::wstring_view processor, std::wstring_view commandLine);

// The longest line the command processor takes, its terminating zero not counted.
inline constexpr std::size_t kLongestConsoleLine = 8191;

}  // namespace platform
