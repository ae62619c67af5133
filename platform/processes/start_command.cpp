#include "platform/processes/start_command.h"

#include "platform/processes/command_line.h"
#include "platform/processes/expansion.h"
#include "platform/text.h"

namespace platform {

namespace {

// The platform's limit for a command line, its terminating zero not counted.
// Longer lines are refused here: some implementations cut them short.
constexpr std::size_t kLongestCommandLine = 32766;

// Process creation looks an unquoted name up in a buffer of MAX_PATH
// characters: a longer candidate is never found.
constexpr std::size_t kLongestPath = 259;

bool IsBlankChar(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view WithoutLeadingBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  return text;
}

// Whether a file's name ends with one of two extensions of three letters
// (".bat"), letter case ignored.
bool EndsWithNoCase(std::wstring_view file, const wchar_t* one, const wchar_t* other) {
  if (file.size() < 4) return false;
  const std::wstring_view ending(file.data() + file.size() - 4, 4);
  return SameNoCase(ending, {one, 4}) || SameNoCase(ending, {other, 4});
}

// A dot in the last part of the path.
bool HasExtension(std::wstring_view name) {
  const std::size_t dot = name.find_last_of(L'.');
  return dot != std::wstring_view::npos && name.find_first_of(L"\\/", dot) == std::wstring_view::npos;
}

// The file process creation tries for a name: the name itself, or with
// ".exe" added when it has no extension.
std::wstring TriedFile(std::wstring_view name) { return Joined({name, HasExtension(name) ? "" : ".exe"}); }

// The starts below give 0, the platform's error code, or one of the four
// largest codes (no platform code is that large) for a line the command
// processor would refuse, one that expanding made too long, or a start folder
// the shell cannot use; the failure's text is made once, from the code.
constexpr unsigned long kTooLongForTheCommandProcessor = ~0UL;
constexpr unsigned long kTooLongExpanded = ~1UL;

bool IsBatchFile(std::wstring_view file) { return EndsWithNoCase(file, L".bat", L".cmd"); }

// The two for Vorlind's current folder, which a start through the
// shell cannot use: it is gone (deleted, or it or a folder above renamed), or
// the started program cannot reach it (an elevated session does not have the
// user's mapped network drives).
constexpr unsigned long kFolderGone = ~2UL;
constexpr unsigned long kFolderUnreachable = ~3UL;

// The shell starts in Vorlind's current folder, or nothing starts: without a
// folder an elevated program would begin in System32. The folder is looked at
// first, as some shells start the program elsewhere when it is missing, and
// again after the shell refused a folder or a path: gone by then, the refusal
// was the folder's; still there, an invalid folder is one the started program
// cannot reach, and a path not found is the program's.
unsigned long ShellStartHere(ProcessCalls& calls, const wchar_t* verb, const std::wstring& file,
                             const std::wstring& parameters, HWND__* owner) {
  const std::wstring folder = calls.CurrentFolder();
  if (!calls.IsFolder(folder)) return kFolderGone;
  const unsigned long code = calls.ShellStart(verb, file, parameters, folder, owner);
  if (code != kErrorDirectory && code != kErrorPathNotFound) return code;
  if (!calls.IsFolder(folder)) return kFolderGone;
  return code == kErrorDirectory ? kFolderUnreachable : code;
}

unsigned long ShellStart(ProcessCalls& calls, const wchar_t* verb, std::wstring_view commandLine, HWND__* owner) {
  const ProgramPart program = FindProgram(calls, commandLine);
  return ShellStartHere(calls, verb, program.file, std::wstring(program.rest), owner);
}

// Shortcuts and .pif files are shell objects: only the shell can start them.
bool IsShellOnlyFile(ProcessCalls& calls, std::wstring_view commandLine) {
  const std::wstring file = FindProgram(calls, commandLine).file;
  return EndsWithNoCase(file, L".lnk", L".pif") && calls.IsFile(file);
}

// The line as the command processor must get it: an unquoted program part
// with blanks, which process creation resolves, would end at the first blank
// there, so it is quoted.
std::wstring ForTheCommandProcessor(ProcessCalls& calls, std::wstring_view commandLine) {
  const ProgramPart program = FindProgram(calls, commandLine);
  if (program.text.front() == L'"' || program.text.find_first_of(L" \t") == std::wstring_view::npos)
    return std::wstring(WithoutLeadingBlanks(commandLine));
  return Joined({"\"", program.text, program.rest.empty() ? "\"" : "\" ", program.rest});
}

// cmd.exe in the system folder.
std::wstring SystemCommandProcessor(ProcessCalls& calls) {
  std::wstring processor = calls.SystemFolder();
  if (!processor.empty() && processor.back() != L'\\') processor += L'\\';
  processor += L"cmd.exe";
  return processor;
}

// The shell's own way to start a batch file elevated runs cmd /C "%1" %*,
// whose quote rule mangles a quoted path followed by quoted arguments: the
// command processor is started elevated directly, with the whole line. It is
// the system's own: the environment's ComSpec is the user's to change, and
// this one is run with an administrator's rights. For the same reason /d: no
// AutoRun command, which the user's key in HKEY_CURRENT_USER names and any
// of the user's programs may change.
unsigned long StartBatchElevated(ProcessCalls& calls, std::wstring_view commandLine, HWND__* owner) {
  const std::wstring processor = SystemCommandProcessor(calls);
  const std::wstring parameters = Filled("/d /s /c \"\1\"", {ForTheCommandProcessor(calls, commandLine)});
  if (processor.size() + 3 + parameters.size() > kLongestConsoleLine) return kTooLongForTheCommandProcessor;
  return ShellStartHere(calls, L"runas", processor, parameters, owner);
}

// `expanded` gets the line as started where %NAME% was expanded in it.
unsigned long Start(ProcessCalls& calls, std::wstring_view commandLine, StartMode mode, HWND__* owner,
                    std::wstring& expanded) {
  if (commandLine.size() > kLongestCommandLine) return kErrorTooLong;
  if (mode == StartMode::Console) {
    const std::wstring processor = CommandProcessor(calls);
    const std::wstring line = ConsoleCommandLine(processor, ForTheCommandProcessor(calls, commandLine));
    if (line.size() > kLongestConsoleLine) return kTooLongForTheCommandProcessor;
    return calls.StartProcess(processor, line, true);
  }
  std::optional<std::wstring> line = Expanded(calls, commandLine, kLongestCommandLine);
  if (!line) return kTooLongExpanded;
  // A batch file's line goes to the command processor as typed.
  if (mode == StartMode::Elevated && IsBatchFile(FindProgram(calls, *line).file))
    return StartBatchElevated(calls, commandLine, owner);
  expanded = std::move(*line);
  if (mode == StartMode::Elevated) return ShellStart(calls, L"runas", expanded, owner);
  // Without leading blanks, which would give the program an empty name of
  // its own among its arguments.
  const unsigned long code = calls.StartProcess({}, std::wstring(WithoutLeadingBlanks(expanded)), false);
  if (code != 0 && (code == kErrorElevationRequired || IsShellOnlyFile(calls, expanded)))
    return ShellStart(calls, L"open", expanded, owner);
  return code;
}

// Why the shell could not start in Vorlind's current folder.
std::wstring FolderText(const std::wstring& folder, bool gone) {
  return Filled("Der Ordner, in dem sie starten sollte, ist \1:\n\n\2\3",
                {gone ? "nicht mehr vorhanden (gelöscht, umbenannt oder verschoben)"
                      : "für das gestartete Programm nicht erreichbar",
                 folder,
                 gone ? ""
                      : "\n\nEin als Administrator gestartetes Programm sieht die Netzlaufwerke nicht, die Sie mit "
                        "Ihrem eigenen Konto verbunden haben. Öffnen Sie Vorlind in einem Ordner auf einem lokalen "
                        "Laufwerk oder über den Netzwerkpfad (\\\\Server\\Freigabe)."});
}

}  // namespace

ProgramPart FindProgram(ProcessCalls& calls, std::wstring_view commandLine) {
  const std::wstring_view line = WithoutLeadingBlanks(commandLine);
  const SplitCommandLine plain = SplitProgramName(line);
  // ".exe" added only when the file with it exists.
  const auto named = [&](std::wstring_view text, std::wstring_view rest, std::wstring_view name) {
    ProgramPart part{text, rest, TriedFile(name)};
    if (!HasExtension(name) && !calls.IsFile(part.file)) part.file = name;
    return part;
  };
  if (line.empty() || line.front() == L'"') return named(plain.program, plain.rest, UnquotedProgram(plain.program));
  for (std::size_t end = plain.program.size(); end <= line.size() && end <= kLongestPath; ++end) {
    if (end < line.size() && !IsBlankChar(line[end])) continue;
    const std::wstring_view program(line.data(), end);
    const std::wstring tried = TriedFile(program);
    if (tried.size() > kLongestPath || !calls.IsFile(tried)) continue;
    std::size_t rest = end;
    while (rest < line.size() && IsBlankChar(line[rest])) ++rest;
    return {program, {line.data() + rest, line.size() - rest}, tried};
  }
  return named(plain.program, plain.rest, plain.program);
}

StartMode StartModeFor(bool shift, bool ctrl) {
  if (shift && ctrl) return StartMode::Elevated;
  return shift ? StartMode::Console : StartMode::Normal;
}

std::wstring CommandProcessor(ProcessCalls& calls) {
  if (const auto comSpec = calls.Environment(L"ComSpec"); comSpec && !comSpec->empty() && calls.IsFile(*comSpec))
    return *comSpec;
  return SystemCommandProcessor(calls);
}

std::wstring ConsoleCommandLine(std::wstring_view processor, std::wstring_view commandLine) {
  // /s: the command processor takes the text between the outer quotes as it
  // is, whatever quotes it holds itself.
  return Filled("\"\1\" /s /k \"\2\"", {processor, commandLine});
}

std::optional<StartFailure> StartCommandLine(ProcessCalls& calls, std::wstring_view commandLine, StartMode mode,
                                             HWND__* owner) {
  std::wstring expanded;
  std::wstring reason;
  unsigned long code = kErrorFileNotFound;
  if (WithoutLeadingBlanks(commandLine).empty()) {
    reason = Widened("Es wurde kein Programm angegeben.");
  } else {
    code = Start(calls, commandLine, mode, owner, expanded);
    if (code == 0) return std::nullopt;
    if (expanded == commandLine) expanded.clear();
    static_assert(kLongestConsoleLine == 8191 && kLongestCommandLine == 32766, "the messages name the limits");
    if (code == kFolderGone || code == kFolderUnreachable) {
      reason = FolderText(calls.CurrentFolder(), code == kFolderGone);
      code = kErrorDirectory;
    } else if (code >= kTooLongExpanded) {
      reason =
          Widened(code == kTooLongExpanded
                      ? "Mit eingesetzten Umgebungsvariablen wäre sie länger als 32766 Zeichen."
                      : "Die Kommandozeile ist für den Befehlsprozessor zu lang: er nimmt höchstens 8191 Zeichen.");
      code = kErrorTooLong;
    } else {
      reason = calls.ErrorText(code);
    }
  }
  return StartFailure{code, std::move(reason), std::move(expanded)};
}

std::wstring FailureMessage(std::wstring_view commandLine, const StartFailure& failure) {
  const bool expanded = !failure.expanded.empty();
  return Filled(
      "Die Kommandozeile konnte nicht ausgeführt werden:\n\n\1\2\3\n\n\4",
      {commandLine, expanded ? "\n\nMit eingesetzten Umgebungsvariablen:\n\n" : "", failure.expanded, failure.reason});
}

std::wstring StartedProgram(ProcessCalls& calls, std::wstring_view commandLine) {
  const std::optional<std::wstring> expanded = Expanded(calls, commandLine, kLongestCommandLine);
  return FindProgram(calls, expanded ? std::wstring_view(*expanded) : commandLine).file;
}

}  // namespace platform
