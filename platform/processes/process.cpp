#include "platform/processes/process.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cwctype>

#include "platform/processes/command_line.h"
#include "platform/handles.h"
#include "platform/processes/process_calls.h"
#include "platform/system_function.h"
#include "platform/text.h"

namespace platform {

namespace {

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

unsigned long ShellExecuteWith(const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                               const wchar_t* folder, HWND owner, UniqueHandleObject& process) {
  using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  // The shell's actions want COM on this thread.
  if (const auto coInitializeEx = SystemFunction<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx"))
    coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto shellExecuteEx = SystemFunction<ShellExecuteExFunction>(L"shell32.dll", "ShellExecuteExW");
  if (!shellExecuteEx) return ERROR_MOD_NOT_FOUND;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // NOASYNC: the program may end right after this call, so the shell must
  // have finished starting the target before it returns.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = owner;
  info.lpVerb = verb;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.lpDirectory = folder;
  info.nShow = SW_SHOWNORMAL;
  if (!shellExecuteEx(&info)) return ::GetLastError();
  process.reset(info.hProcess);
  return 0;
}

// Waits for the handle while this thread's windows keep painting and
// answering; a quit message is put back for the event loop. True when the
// handle was signalled.
bool WaitHandlingMessages(HANDLE handle) {
  for (;;) {
    const DWORD woken = ::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken != WAIT_OBJECT_0 + 1) return woken == WAIT_OBJECT_0;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

class Win32Processes final : public ProcessCalls {
 public:
  unsigned long StartProcess(const std::wstring& application, const std::wstring& commandLine,
                             bool newConsole) override {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    std::wstring buffer(commandLine);  // CreateProcessW may write into its command line
    if (!::CreateProcessW(application.empty() ? nullptr : application.c_str(), buffer.data(), nullptr, nullptr, FALSE,
                          newConsole ? CREATE_NEW_CONSOLE : 0, nullptr, nullptr, &startup, &process))
      return ::GetLastError();
    UniqueHandleObject processHandle(process.hProcess);
    UniqueHandleObject threadHandle(process.hThread);
    return 0;
  }

  // Without a folder an elevated program would start in the system folder,
  // not in the one the user works in: a folder the shell refuses is reported.
  unsigned long ShellStart(const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                           const std::wstring& folder, HWND owner) override {
    if (folder.empty()) return ERROR_DIRECTORY;
    UniqueHandleObject process;
    return ShellExecuteWith(verb, file, parameters, folder.c_str(), owner, process);
  }

  std::wstring CurrentFolder() override {
    std::wstring folder;
    // The size asked for counts the zero; the one written does not.
    for (DWORD size = ::GetCurrentDirectoryW(0, nullptr), n = 0; size > 0; size = n) {
      folder.resize(size);
      n = ::GetCurrentDirectoryW(size, folder.data());
      if (n < size) {
        folder.resize(n);
        return folder;
      }
    }
    return {};
  }

  unsigned long RunElevated(const std::wstring& file, const std::wstring& parameters, HWND owner,
                            std::optional<unsigned long>& exitCode) override {
    UniqueHandleObject process;
    exitCode.reset();
    if (const unsigned long code = ShellExecuteWith(L"runas", file, parameters, nullptr, owner, process)) return code;
    if (!process) return 0;  // the shell gave no process to wait for: its end is unknown
    const BOOL wasEnabled = owner && !::EnableWindow(owner, FALSE);
    const bool ended = WaitHandlingMessages(process.get());
    if (wasEnabled) ::EnableWindow(owner, TRUE);
    DWORD code = 0;
    // Not waited for to the end (the wait failed, or the program is closing): unknown.
    if (ended && ::GetExitCodeProcess(process.get(), &code)) exitCode = code;
    return 0;
  }

  std::optional<FileAccess> Access(const std::wstring& path) override { return ReadFileAccess(path); }

  std::wstring UserSid() override { return CurrentUserSid(); }
  std::optional<bool> AdministratorsMember() override { return platform::AdministratorsMember(); }
  unsigned long FinalPath(const std::wstring& path, std::wstring& final) override {
    return platform::FinalPath(path, final);
  }
  std::optional<bool> ReparsePoint(const std::wstring& path) override { return platform::ReparsePoint(path); }
  std::wstring LongPath(const std::wstring& path) override { return platform::LongPath(path); }
  unsigned DriveType(const std::wstring& path) override { return platform::DriveType(path); }
  unsigned StorageBus(const std::wstring& path) override { return platform::StorageBus(path); }
  bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) override {
    return platform::SameIgnoringCase(a, b);
  }

  bool Interactive() override {
    USEROBJECTFLAGS flags{};
    DWORD size = 0;
    // Unknown counts as unseen: a deployment must never wait on a box.
    return ::GetUserObjectInformationW(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &size) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
  }

  bool IsFile(const std::wstring& path) override {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool IsFolder(const std::wstring& path) override {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::optional<std::wstring> Environment(const wchar_t* name) override {
    std::wstring value(::GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    if (value.empty()) return std::nullopt;
    value.resize(::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
  }

  std::wstring SystemFolder() override {
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
  }

  std::wstring ProgramFile() override { return ModulePath(nullptr); }

  std::optional<bool> Elevated() override {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    UniqueHandleObject owner(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) return std::nullopt;
    return elevation.TokenIsElevated != 0;
  }

  std::wstring ErrorText(unsigned long code) override {
    wchar_t* buffer = nullptr;
    const DWORD n =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : Filled("Fehler \1", {Number(code)});
    ::LocalFree(buffer);
    while (!text.empty() && std::iswspace(text.back())) text.pop_back();
    return text;
  }
};

}  // namespace

ProcessCalls& SystemProcesses() {
  static Win32Processes processes;  // stateless: one instance serves every call
  return processes;
}

std::wstring OwnArgumentText() { return std::wstring(SplitProgramName(::GetCommandLineW()).rest); }

std::wstring ProgramFolder() {
  std::wstring path = ModulePath(nullptr);
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return path;
  path.resize(slash);
  if (path.size() == 2 && path[1] == L':') path += L'\\';  // "D:" is the drive's current folder
  return path;
}

void EndNow(unsigned exitCode) { ::ExitProcess(exitCode); }

}  // namespace platform
