#include "platform/processes/start_command.h"

#include <algorithm>
#include <cwctype>

#include "platform/processes/command_line.h"

namespace platform {

namespace {

// The platform's limit for a command line, its terminating zero not counted.
// Longer lines are refused here: some implementations cut them short.
constexpr std::size_t kLongestCommandLine = 32766;

bool IsBlank(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c == L' ' || c == L'\t'; });
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

std::optional<StartFailure> Failure(ProcessCalls& calls, unsigned long code) {
  if (code == 0) return std::nullopt;
  return StartFailure{code, calls.ErrorText(code)};
}

bool IsBlankAt(std::wstring_view text, std::size_t at) { return text[at] == L' ' || text[at] == L'\t'; }

// The program part as process creation finds it. An unquoted name with
// blanks is tried up to each blank in turn ("C:\Program", then
// "C:\Program Files\App\setup", ...), with and without ".exe", and the
// first that names a file wins; the shell must get the same program.
SplitCommandLine ProgramAsFound(ProcessCalls& calls, std::wstring_view commandLine) {
  const SplitCommandLine plain = SplitProgramName(commandLine);
  if (commandLine.empty() || commandLine.front() == L'"') return plain;
  for (std::size_t end = plain.program.size(); end <= commandLine.size(); ++end) {
    if (end < commandLine.size() && !IsBlankAt(commandLine, end)) continue;
    const std::wstring candidate(commandLine.substr(0, end));
    if (!calls.IsFile(candidate) && !calls.IsFile(candidate + L".exe")) continue;
    std::size_t rest = end;
    while (rest < commandLine.size() && IsBlankAt(commandLine, rest)) ++rest;
    return {commandLine.substr(0, end), commandLine.substr(rest)};
  }
  return plain;
}

std::optional<StartFailure> ShellStart(ProcessCalls& calls, const wchar_t* verb, std::wstring_view commandLine,
                                       HWND__* owner) {
  const SplitCommandLine split = ProgramAsFound(calls, commandLine);
  return Failure(calls,
                 calls.ShellStart(verb, std::wstring(UnquotedProgram(split.program)), std::wstring(split.rest), owner));
}

// Shortcuts and .pif files are shell objects: only the shell can start them.
bool IsShellOnlyFile(ProcessCalls& calls, std::wstring_view commandLine) {
  const std::wstring_view file = UnquotedProgram(ProgramAsFound(calls, commandLine).program);
  return (EndsWithNoCase(file, L".lnk") || EndsWithNoCase(file, L".pif")) && calls.IsFile(std::wstring(file));
}

}  // namespace

StartMode StartModeFor(bool shift, bool ctrl) {
  if (shift && ctrl) return StartMode::Elevated;
  return shift ? StartMode::Console : StartMode::Normal;
}

std::wstring CommandProcessor(ProcessCalls& calls) {
  if (const auto comSpec = calls.Environment(L"ComSpec"); comSpec && !comSpec->empty() && calls.IsFile(*comSpec))
    return *comSpec;
  std::wstring folder = calls.SystemFolder();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + L"cmd.exe";
}

std::wstring ConsoleCommandLine(std::wstring_view processor, std::wstring_view commandLine) {
  // /s: the command processor takes the text between the outer quotes as it
  // is, whatever quotes it holds itself.
  return L"\"" + std::wstring(processor) + L"\" /s /k \"" + std::wstring(commandLine) + L"\"";
}

std::optional<StartFailure> StartCommandLine(ProcessCalls& calls, std::wstring_view commandLine, StartMode mode,
                                             HWND__* owner) {
  if (IsBlank(commandLine)) return StartFailure{kErrorFileNotFound, L"Es wurde kein Programm angegeben."};
  if (commandLine.size() > kLongestCommandLine) return Failure(calls, kErrorTooLong);
  switch (mode) {
    case StartMode::Console: {
      const std::wstring processor = CommandProcessor(calls);
      const std::wstring line = ConsoleCommandLine(processor, commandLine);
      if (line.size() > kLongestCommandLine) return Failure(calls, kErrorTooLong);
      return Failure(calls, calls.StartProcess(processor, line, true));
    }
    case StartMode::Elevated: return ShellStart(calls, L"runas", commandLine, owner);
    case StartMode::Normal: break;
  }
  const unsigned long code = calls.StartProcess(L"", std::wstring(commandLine), false);
  if (code != 0 && (code == kErrorElevationRequired || IsShellOnlyFile(calls, commandLine)))
    return ShellStart(calls, L"open", commandLine, owner);
  return Failure(calls, code);
}

}  // namespace platform
