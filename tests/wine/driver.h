#pragma once
// Drives the real Vorlind.exe the way a person does: starts it, finds its
// windows, types, clicks, and reads what the screen shows.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace driver {

std::wstring TestsFolder();  // where the test programs lie
std::wstring BinFolder();    // where Vorlind.exe and LinkLabel.dll lie
std::wstring VorlindPath();  // a copy in C:\Program Files\Vorlind, as installed
// C:\Vorlind-Tests: a folder whose folders above nobody else may change.
std::wstring SafeFolder();
// The Unix path of a path on drive C: of the prefix.
std::wstring UnixPathOf(const std::wstring& path);
// Runs a command of the Unix shell Wine runs under, for what only the Unix
// side can make: symbolic links, drives, file modes. True once it started;
// poll for the effect.
bool UnixShell(const std::wstring& command);
std::wstring RecorderPath();  // a program that records its own command line
std::wstring Quoted(const std::wstring& path);

// Polls until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 15000);

class Process {
 public:
  // Starts a program with the given command line and this process's
  // environment, and waits until it is idle.
  explicit Process(const std::wstring& commandLine, const std::wstring& folder = L"");
  ~Process();  // ends it if it still runs
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD Id() const { return id_; }
  bool WaitForExit(DWORD milliseconds = 15000);
  bool Running();
  DWORD ExitCode();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Starts Vorlind with the argument text behind its quoted path.
std::wstring VorlindCommand(const std::wstring& argumentText);

// Chooses a menu entry of Vorlind's main window by its access keys ("d",
// "O" for "&Datei" > "&Optionen") and waits for the window with that caption.
HWND ChooseMenu(DWORD processId, HWND main, wchar_t menu, wchar_t entry, const std::wstring& caption);

// Vorlind started with an argument text, and its command window's controls
// (nullptr when the window did not come).
struct Window {
  explicit Window(const std::wstring& argumentText, const std::wstring& folder = L"");
  Process process;
  HWND main = nullptr;
  HWND text = nullptr;
  HWND button = nullptr;
  HWND label = nullptr;
};

// A visible top-level window of the process with that caption (nullptr when
// none came in time).
HWND WaitForWindow(DWORD processId, const std::wstring& caption, DWORD milliseconds = 15000);
HWND FindProcessWindow(DWORD processId, const std::wstring& caption);
std::vector<HWND> VisibleWindows(DWORD processId);

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text = nullptr);
std::vector<HWND> Children(HWND parent);
std::wstring TextOf(HWND window);
void SetTextOf(HWND window, const std::wstring& text);
RECT RectInClient(HWND child);  // relative to its parent's client area
SIZE ClientSize(HWND window);
int DpiOf(HWND window);
int Px(float twips, int dpi);

HWND FocusOf(HWND window);  // the focused control of the window's thread
HWND ActiveOf(HWND window);

// Keyboard input to the foreground window.
bool Foreground(HWND window);  // true once it is the foreground window
void TypeText(const std::wstring& text);
void PressKey(WORD vk, bool alt = false, bool shift = false, bool ctrl = false);
// A left click in the middle of a control, with Shift and Ctrl held as given.
void ClickWith(HWND control, bool shift, bool ctrl);
void AltKey(wchar_t letter);  // Alt+letter, as for an access key

// Processes started by the given one that still run, by their file name
// ("cmd.exe").
std::vector<DWORD> ChildProcesses(DWORD parentId, const std::wstring& fileName);
void EndProcess(DWORD processId);

// The recorded command line's arguments (the recorder's own name split off).
std::wstring RecordedArguments(const std::wstring& record);

// A copy of Vorlind.exe (and LinkLabel.dll, unless told otherwise) in a
// folder of its own below the tests' folder (or the given one), under the
// given file name; removed again at the end.
class VorlindCopy {
 public:
  explicit VorlindCopy(const std::wstring& folderName, bool withLinkLabel = true,
                       const std::wstring& exeName = L"Vorlind.exe", const std::wstring& base = L"");
  ~VorlindCopy();
  VorlindCopy(const VorlindCopy&) = delete;
  VorlindCopy& operator=(const VorlindCopy&) = delete;
  const std::wstring& Folder() const { return folder_; }
  std::wstring Exe() const { return folder_ + L"\\" + exeName_; }
  // Lets Everyone change the folder, as a folder made directly under C:\ or
  // in a shared place does (under Wine: Unix mode 0777).
  bool OpenToEveryone() const;

 private:
  std::wstring folder_;
  std::wstring exeName_;
  bool withLinkLabel_;
};

// Every top-level window of the process of that window class, shown or not.
std::vector<HWND> WindowsOfClass(DWORD processId, const std::wstring& className);

// The texts of a message box's controls, one per line.
std::wstring MessageText(HWND box);

// In a started Vorlind: "&Datei" > "&Optionen", .exe ticked, "Ü&bernehmen"
// pressed; the dialog and the message that came then (nullptr when none).
struct Applied {
  HWND dialog = nullptr;
  HWND box = nullptr;
};
Applied ApplyExe(const Process& vorlind);

// A task dialog's command links: their captions (the first line of each
// button's text), and a click on the one with that caption.
std::vector<std::wstring> Choices(HWND dialog);
bool ClickChoice(HWND dialog, const std::wstring& caption);

void WriteFileText(const std::wstring& path, const std::string& text);

// Reads the file the recorder wrote (waits for it); empty when none came.
std::wstring WaitForRecord(const std::wstring& path, DWORD milliseconds = 15000);
// Where the given copy of the recorder records, with any old record removed.
std::wstring FreshRecordPath(const std::wstring& recorder = RecorderPath());

}  // namespace driver
