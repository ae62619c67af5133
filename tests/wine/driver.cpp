#include "driver.h"

#include <aclapi.h>
#include <tlhelp32.h>

#include <cmath>
#include <cstdio>

#include "platform/processes/command_line.h"

namespace driver {

namespace {

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::string FileBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(file);
  return bytes;
}

std::wstring ModulePath() {
  wchar_t buffer[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::wstring(buffer, n);
}

void SendKeys(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // Let the target handle the keys before the test looks at the effect.
  Sleep(30);
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

}  // namespace

std::wstring TestsFolder() { return FolderOf(ModulePath()); }
std::wstring BinFolder() { return FolderOf(TestsFolder()) + L"\\bin"; }

// Registering needs a place nobody but administrators may change, wherever
// the checkout lies (one under /tmp has a folder above that everyone may
// change): the tests run Vorlind from C:\Program Files\Vorlind, as a user
// would, copied there from the build when it changed.
std::wstring VorlindPath() {
  static const std::wstring path = [] {
    const std::wstring folder = L"C:\\Program Files\\Vorlind";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* file : {L"\\Vorlind.exe", L"\\LinkLabel.dll"})
      if (FileBytes(BinFolder() + file) != FileBytes(folder + file))
        CopyFileW((BinFolder() + file).c_str(), (folder + file).c_str(), FALSE);
    return folder + L"\\Vorlind.exe";
  }();
  return path;
}

std::wstring SafeFolder() {
  CreateDirectoryW(L"C:\\Vorlind-Tests", nullptr);
  return L"C:\\Vorlind-Tests";
}

std::wstring UnixPathOf(const std::wstring& path) {
  wchar_t prefix[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
  std::wstring unix = std::wstring(prefix, n < MAX_PATH ? n : 0) + L"/drive_c" + path.substr(2);
  for (wchar_t& c : unix)
    if (c == L'\\') c = L'/';
  return unix;
}

bool UnixShell(const std::wstring& command) {
  std::wstring line = L"sh -c \"";
  for (wchar_t c : command) line += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
  line += L'"';
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // Named in full: without a name of its own, process creation would look
  // for "sh.exe".
  if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  // Wine hands out a handle for a Unix process that tells nothing of its
  // end: the caller polls for the effect.
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}
std::wstring RecorderPath() { return TestsFolder() + L"\\recorder.exe"; }
std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
std::wstring VorlindCommand(const std::wstring& argumentText) { return Quoted(VorlindPath()) + L" " + argumentText; }

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(20);
  }
}

Process::Process(const std::wstring& commandLine, const std::wstring& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring buffer = commandLine;
  if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    WaitForInputIdle(process_, 10000);
  }
}

Process::~Process() {
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool Process::WaitForExit(DWORD milliseconds) {
  return process_ && WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

bool Process::Running() { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

DWORD Process::ExitCode() {
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

HWND ChooseMenu(DWORD processId, HWND main, wchar_t menu, wchar_t entry, const std::wstring& caption) {
  if (!Foreground(main)) return nullptr;
  AltKey(menu);
  PressKey(static_cast<WORD>(towupper(entry)));
  return WaitForWindow(processId, caption);
}

Window::Window(const std::wstring& argumentText, const std::wstring& folder)
    : process(VorlindCommand(argumentText), folder) {
  main = WaitForWindow(process.Id(), L"Kommandozeile");
  if (main) {
    text = Child(main, L"Edit");
    button = Child(main, L"Button", L"&Ausführen");
    label = Child(main, L"Static");
  }
}

std::vector<HWND> VisibleWindows(DWORD processId) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->pid && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindProcessWindow(DWORD processId, const std::wstring& caption) {
  for (HWND hwnd : VisibleWindows(processId))
    if (TextOf(hwnd) == caption) return hwnd;
  return nullptr;
}

HWND WaitForWindow(DWORD processId, const std::wstring& caption, DWORD milliseconds) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindProcessWindow(processId, caption)) != nullptr; }, milliseconds);
  return found;
}

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text) {
  return FindWindowExW(parent, nullptr, className, text);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) found.push_back(child);
  return found;
}

std::wstring TextOf(HWND window) {
  // WM_GETTEXT, not GetWindowTextW: the latter does not read another
  // process's controls.
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT n = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

void SetTextOf(HWND window, const std::wstring& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

RECT RectInClient(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

int DpiOf(HWND window) { return static_cast<int>(GetDpiForWindow(window)); }

int Px(float twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

HWND ActiveOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndActive;
}

bool Foreground(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = c;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(in);
    in.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendKeys(inputs);
}

void PressKey(WORD vk, bool alt, bool shift, bool ctrl) {
  std::vector<INPUT> inputs;
  if (alt) inputs.push_back(Key(VK_MENU, false));
  if (ctrl) inputs.push_back(Key(VK_CONTROL, false));
  if (shift) inputs.push_back(Key(VK_SHIFT, false));
  inputs.push_back(Key(vk, false));
  inputs.push_back(Key(vk, true));
  if (shift) inputs.push_back(Key(VK_SHIFT, true));
  if (ctrl) inputs.push_back(Key(VK_CONTROL, true));
  if (alt) inputs.push_back(Key(VK_MENU, true));
  SendKeys(inputs);
}

void ClickWith(HWND control, bool shift, bool ctrl) {
  RECT r;
  GetWindowRect(control, &r);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT mouse{};
  mouse.type = INPUT_MOUSE;
  mouse.mi.dx = ((r.left + r.right) / 2) * 65535 / (width - 1);
  mouse.mi.dy = ((r.top + r.bottom) / 2) * 65535 / (height - 1);
  std::vector<INPUT> inputs;
  if (ctrl) inputs.push_back(Key(VK_CONTROL, false));
  if (shift) inputs.push_back(Key(VK_SHIFT, false));
  for (DWORD flags : {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    mouse.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    inputs.push_back(mouse);
  }
  if (shift) inputs.push_back(Key(VK_SHIFT, true));
  if (ctrl) inputs.push_back(Key(VK_CONTROL, true));
  SendKeys(inputs);
}

std::vector<DWORD> ChildProcesses(DWORD parentId, const std::wstring& fileName) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (entry.th32ParentProcessID == parentId && _wcsicmp(entry.szExeFile, fileName.c_str()) == 0)
      found.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return found;
}

void EndProcess(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  if (!process) return;
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

std::wstring RecordedArguments(const std::wstring& record) {
  return std::wstring(platform::SplitProgramName(record).rest);
}

VorlindCopy::VorlindCopy(const std::wstring& folderName, bool withLinkLabel, const std::wstring& exeName,
                         const std::wstring& base)
    : folder_((base.empty() ? TestsFolder() : base) + L"\\" + folderName),
      exeName_(exeName),
      withLinkLabel_(withLinkLabel) {
  CreateDirectoryW(folder_.c_str(), nullptr);
  CopyFileW(VorlindPath().c_str(), Exe().c_str(), FALSE);
  if (withLinkLabel)
    CopyFileW((BinFolder() + L"\\LinkLabel.dll").c_str(), (folder_ + L"\\LinkLabel.dll").c_str(), FALSE);
}

VorlindCopy::~VorlindCopy() {
  DeleteFileW(Exe().c_str());
  if (withLinkLabel_) DeleteFileW((folder_ + L"\\LinkLabel.dll").c_str());
  RemoveDirectoryW(folder_.c_str());  // fails harmlessly where other files stay
}

bool VorlindCopy::OpenToEveryone() const {
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder_.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                            &descriptor) != ERROR_SUCCESS)
    return false;
  EXPLICIT_ACCESSW everyone{};
  everyone.grfAccessPermissions = GENERIC_ALL;
  everyone.grfAccessMode = GRANT_ACCESS;
  everyone.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
  everyone.Trustee.ptstrName = const_cast<wchar_t*>(L"EVERYONE");
  PACL opened = nullptr;
  const bool done =
      SetEntriesInAclW(1, &everyone, acl, &opened) == ERROR_SUCCESS &&
      SetNamedSecurityInfoW(const_cast<wchar_t*>(folder_.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, opened, nullptr) == ERROR_SUCCESS;
  LocalFree(opened);
  LocalFree(descriptor);
  return done;
}

std::vector<HWND> WindowsOfClass(DWORD processId, const std::wstring& className) {
  std::vector<HWND> found;
  for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    if (pid == processId && className == name) found.push_back(hwnd);
  }
  return found;
}

std::wstring MessageText(HWND box) {
  std::wstring text;
  for (HWND child : Children(box)) text += TextOf(child) + L"\n";
  return text;
}

namespace {
HWND ChoiceButton(HWND dialog, const std::wstring& caption) {
  for (HWND child : Children(dialog)) {
    wchar_t name[16] = L"";
    GetClassNameW(child, name, 16);
    if (_wcsicmp(name, L"Button") == 0 && TextOf(child).substr(0, TextOf(child).find(L'\n')) == caption) return child;
  }
  return nullptr;
}
}  // namespace

Applied ApplyExe(const Process& vorlind) {
  Applied applied;
  HWND main = WaitForWindow(vorlind.Id(), L"Kommandozeile");
  if (!main) return applied;
  applied.dialog = ChooseMenu(vorlind.Id(), main, L'd', L'o', L"Dateitypen registrieren");
  if (!applied.dialog) return applied;
  AltKey(L'e');
  PostMessageW(Child(applied.dialog, L"Button", L"Ü&bernehmen"), BM_CLICK, 0, 0);
  applied.box = WaitForWindow(vorlind.Id(), L"Vorlind");
  return applied;
}

std::vector<std::wstring> Choices(HWND dialog) {
  std::vector<std::wstring> captions;
  for (HWND child : Children(dialog)) {
    wchar_t name[16] = L"";
    GetClassNameW(child, name, 16);
    const std::wstring text = TextOf(child);
    if (_wcsicmp(name, L"Button") == 0 && IsWindowVisible(child)) captions.push_back(text.substr(0, text.find(L'\n')));
  }
  return captions;
}

bool ClickChoice(HWND dialog, const std::wstring& caption) {
  HWND button = ChoiceButton(dialog, caption);
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

void AltKey(wchar_t letter) { PressKey(static_cast<WORD>(towupper(letter)), true); }

void WriteFileText(const std::wstring& path, const std::string& text) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
}

std::wstring FreshRecordPath(const std::wstring& recorder) {
  const std::wstring path = recorder.substr(0, recorder.find_last_of(L'\\')) + L"\\recorder.record";
  DeleteFileW(path.c_str());
  return path;
}

std::wstring WaitForRecord(const std::wstring& path, DWORD milliseconds) {
  std::wstring text;
  WaitUntil(
      [&] {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        LARGE_INTEGER size{};
        GetFileSizeEx(file, &size);
        text.assign(static_cast<std::size_t>(size.QuadPart) / sizeof(wchar_t), L'\0');
        DWORD read = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
        CloseHandle(file);
        text.resize(read / sizeof(wchar_t));
        return !text.empty();
      },
      milliseconds);
  return text;
}

}  // namespace driver
