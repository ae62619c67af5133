#include "platform/process.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>

#include "platform/command_line.h"
#include "platform/handles.h"

namespace platform {

namespace {

constexpr std::size_t kLongestCommandLine = 32766;

std::wstring ModulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: try again with more room
  }
}

std::wstring ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  wchar_t number[16];
  _ultow_s(code, number, 16, 10);
  std::wstring text = n ? std::wstring(buffer, n) : L"Fehler " + std::wstring(number);
  ::LocalFree(buffer);
  while (!text.empty() && std::iswspace(text.back())) text.pop_back();
  return text;
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - tail.size(),
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

// Shortcuts and .pif files are shell objects: only the shell can start them.
bool IsShellOnlyFile(std::wstring_view path) {
  if (!EndsWithNoCase(path, L".lnk") && !EndsWithNoCase(path, L".pif")) return false;
  const std::wstring file(path);
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shell and COM are loaded only when a shortcut is started: loading them
// at start-up costs every start time and memory that only this path needs.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

std::optional<StartFailure> OpenWithShell(std::wstring_view commandLine) {
  using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  // The shell's open action wants COM on this thread.
  if (const auto coInitializeEx = SystemFunction<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx"))
    coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto shellExecuteEx = SystemFunction<ShellExecuteExFunction>(L"shell32.dll", "ShellExecuteExW");
  if (!shellExecuteEx) return StartFailure{ERROR_MOD_NOT_FOUND, ErrorText(ERROR_MOD_NOT_FOUND)};

  const SplitCommandLine split = SplitProgramName(commandLine);
  const std::wstring file(UnquotedProgram(split.program));
  const std::wstring parameters(split.rest);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // NOASYNC: the program ends right after this call, so the shell must have
  // finished starting the target before it returns.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!shellExecuteEx(&info)) {
    const DWORD code = ::GetLastError();
    return StartFailure{code, ErrorText(code)};
  }
  UniqueHandleObject process(info.hProcess);
  return std::nullopt;
}

}  // namespace

std::wstring OwnArgumentText() {
  return std::wstring(SplitProgramName(::GetCommandLineW()).rest);
}

std::wstring ProgramFolder() {
  std::wstring path = ModulePath(nullptr);
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return path;
  path.resize(slash);
  if (path.size() == 2 && path[1] == L':') path += L'\\';  // "D:" is the drive's current folder
  return path;
}

std::optional<StartFailure> StartCommandLine(std::wstring_view commandLine) {
  if (std::all_of(commandLine.begin(), commandLine.end(), [](wchar_t c) { return c == L' ' || c == L'\t'; })) {
    return StartFailure{ERROR_FILE_NOT_FOUND, L"Es wurde kein Programm angegeben."};
  }
  // The platform's limit counts the terminating zero. Refuse longer lines
  // here: some implementations cut them short instead of failing.
  if (commandLine.size() > kLongestCommandLine) {
    return StartFailure{ERROR_FILENAME_EXCED_RANGE, ErrorText(ERROR_FILENAME_EXCED_RANGE)};
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::wstring buffer(commandLine);  // CreateProcessW may write into its command line
  if (::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
    UniqueHandleObject processHandle(process.hProcess);
    UniqueHandleObject threadHandle(process.hThread);
    return std::nullopt;
  }
  const DWORD code = ::GetLastError();
  if (IsShellOnlyFile(UnquotedProgram(SplitProgramName(commandLine).program))) {
    return OpenWithShell(commandLine);
  }
  return StartFailure{code, ErrorText(code)};
}

void EndNow(unsigned exitCode) { ::ExitProcess(exitCode); }

}  // namespace platform
