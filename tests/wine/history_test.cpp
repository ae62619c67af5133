// Earlier command lines, end to end: Vorlind started, started again for the
// same program, and the keys a person presses; the suggestion list where
// Wine shows it; what is stored in the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"

using namespace driver;

namespace {

constexpr wchar_t kVorlindKey[] = L"Software\\Vorlind";
constexpr wchar_t kHistoryKey[] = L"Software\\Vorlind\\Verlauf";

std::wstring Recorder() { return Quoted(RecorderPath()); }

// Stores the lines for the program as Vorlind does, the latest first.
void Plant(const std::wstring& program, const std::vector<std::wstring>& lines) {
  std::wstring data;
  for (const std::wstring& line : lines) data += line + L'\0';
  data += L'\0';
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kHistoryKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
  RegSetValueExW(key, program.c_str(), 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                 static_cast<DWORD>(data.size() * sizeof(wchar_t)));
  RegCloseKey(key);
}

// The lines stored for the program; "<none>" when there is no such value.
std::vector<std::wstring> Stored(const std::wstring& program) {
  wchar_t data[4096];
  DWORD size = sizeof data - sizeof(wchar_t), type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kHistoryKey, program.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size))
    return {L"<none>"};
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  std::vector<std::wstring> lines;
  for (const wchar_t* line = data; *line && line < data + size / sizeof(wchar_t); line += lstrlenW(line) + 1)
    lines.emplace_back(line);
  return lines;
}

std::pair<DWORD, DWORD> Selection(HWND text) {
  const auto both = static_cast<DWORD>(SendMessageW(text, EM_GETSEL, 0, 0));
  return {LOWORD(both), HIWORD(both)};
}

// The suggestion list of the process: a visible window of its own with a
// list box in it; nullptr when none shows.
HWND SuggestionList(DWORD processId, HWND main) {
  for (HWND window : VisibleWindows(processId))
    if (window != main && Child(window, L"ListBox")) return Child(window, L"ListBox");
  return nullptr;
}

// Waits until the text box shows the text: typed keys and the reading of
// its text reach the program in different queues.
bool Shows(HWND text, const std::wstring& expected) {
  return WaitUntil([&] { return TextOf(text) == expected; }, 5000);
}

class History : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kVorlindKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kVorlindKey); }
};

TEST_F(History, AStartedLineComesBackWithUpAndEnterStartsItAgain) {
  const std::wstring line = Recorder() + L" -erst \"x y\"";
  {
    const std::wstring record = FreshRecordPath();
    Window w(Recorder());
    ASSERT_TRUE(w.main);
    ASSERT_TRUE(Foreground(w.main));
    TypeText(L" -erst \"x y\"");
    PressKey(VK_RETURN);
    EXPECT_EQ(WaitForRecord(record), line);
    ASSERT_TRUE(w.process.WaitForExit());
  }
  EXPECT_EQ(Stored(RecorderPath()), std::vector<std::wstring>{line});

  const std::wstring record = FreshRecordPath();
  Window again(Recorder());
  ASSERT_TRUE(again.main);
  ASSERT_TRUE(Foreground(again.main));
  PressKey(VK_UP);
  EXPECT_TRUE(Shows(again.text, line));
  PressKey(VK_RETURN);
  EXPECT_EQ(WaitForRecord(record), line);
  EXPECT_TRUE(again.process.WaitForExit());
}

TEST_F(History, UpAndDownWalkThreeLinesAndEndAtTheEditedDraft) {
  const std::vector<std::wstring> lines{Recorder() + L" -drei", Recorder() + L" -zwei", Recorder() + L" -eins"};
  Plant(RecorderPath(), lines);
  Window w(Recorder());
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  TypeText(L" +entwurf");
  const std::wstring draft = Recorder() + L" +entwurf";
  ASSERT_TRUE(Shows(w.text, draft));
  const struct {
    WORD key;
    std::wstring shown;
  } steps[] = {{VK_UP, lines[0]},   {VK_UP, lines[1]},   {VK_UP, lines[2]}, {VK_UP, lines[2]},
               {VK_DOWN, lines[1]}, {VK_DOWN, lines[0]}, {VK_DOWN, draft},  {VK_DOWN, draft}};
  for (const auto& step : steps) {
    PressKey(step.key);
    EXPECT_TRUE(Shows(w.text, step.shown)) << TextOf(w.text);
    const auto length = static_cast<DWORD>(step.shown.size());
    EXPECT_EQ(Selection(w.text), std::make_pair(length, length)) << "the caret behind the text";
  }
  EXPECT_TRUE(w.process.Running());
}

TEST_F(History, AnotherProgramSeesNoneOfThem) {
  Plant(RecorderPath(), {Recorder() + L" -a", Recorder() + L" -b"});
  const std::wstring other = LR"("C:\windows\notepad.exe")";
  Window w(other);
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  PressKey(VK_UP);
  TypeText(L" ");
  PressKey(VK_DOWN);
  EXPECT_TRUE(Shows(w.text, other + L" "));
  EXPECT_FALSE(SuggestionList(w.process.Id(), w.main));
}

TEST_F(History, AFailedStartIsNotRemembered) {
  const std::wstring missing = LR"("C:\nirgends\fehlt.exe" /x)";
  Window w(missing);
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  PressKey(VK_RETURN);
  HWND box = WaitForWindow(w.process.Id(), L"Vorlind");
  ASSERT_TRUE(box);
  ASSERT_TRUE(Foreground(box));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_EQ(Stored(LR"(C:\nirgends\fehlt.exe)"), std::vector<std::wstring>{L"<none>"});
  EXPECT_EQ(TextOf(w.text), missing);
}

TEST_F(History, VerlaufLoeschenForgetsEveryLineAndKeepsTheText) {
  Plant(RecorderPath(), {Recorder() + L" -a"});
  Plant(LR"(C:\windows\notepad.exe)", {L"notepad x"});
  Window w(Recorder());
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  TypeText(L" -");
  ASSERT_TRUE(WaitUntil([&] { return SuggestionList(w.process.Id(), w.main) != nullptr; }, 5000));
  PressKey(VK_ESCAPE);
  AltKey(L'd');
  PressKey('V');
  EXPECT_TRUE(WaitUntil([] {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kHistoryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return true;
    RegCloseKey(key);
    return false;
  })) << "the whole store is gone";
  EXPECT_EQ(TextOf(w.text), Recorder() + L" -");
  ASSERT_TRUE(Foreground(w.main));
  TypeText(L"a");  // the start of the forgotten line
  EXPECT_TRUE(Shows(w.text, Recorder() + L" -a"));
  EXPECT_FALSE(SuggestionList(w.process.Id(), w.main)) << "nothing left to suggest";
  PressKey(VK_UP);
  PressKey(VK_BACK);
  EXPECT_TRUE(Shows(w.text, Recorder() + L" -")) << "nothing left to recall";
  EXPECT_TRUE(w.process.Running()) << "no question, no end";
}

// Whatever another program or a person left in the store, Vorlind starts,
// uses what it can read and replaces the program's value with a sound list.
TEST_F(History, BadStoredDataNeverStopsAStart) {
  const std::wstring reg = L"C:\\windows\\system32\\reg.exe add HKCU\\Software\\Vorlind\\Verlauf ";
  const std::wstring value = L"/v " + Quoted(RecorderPath()) + L" ";
  const struct Row {
    const char* what;
    std::wstring arguments;
    std::wstring recalled;  // what Up shows
  } rows[] = {
      {"a string", value + L"/t REG_SZ /d x", Recorder()},
      {"a number", value + L"/t REG_DWORD /d 7", Recorder()},
      {"an odd number of bytes", value + L"/t REG_BINARY /d 410042", Recorder()},
      {"an empty list", value + L"/t REG_MULTI_SZ /d \"\"", Recorder()},
      {"a list", value + L"/t REG_MULTI_SZ /d \"gelesen\\0gelesen\\0zwei\"", L"gelesen"},
      {"the order a number", L"/ve /t REG_DWORD /d 7", Recorder()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    RegDeleteTreeW(HKEY_CURRENT_USER, kVorlindKey);
    Process planting(reg + row.arguments + L" /f");
    ASSERT_TRUE(planting.WaitForExit());
    ASSERT_EQ(planting.ExitCode(), 0u);
    const std::wstring record = FreshRecordPath();
    Window w(Recorder());
    ASSERT_TRUE(w.main);
    ASSERT_TRUE(Foreground(w.main));
    PressKey(VK_UP);
    EXPECT_TRUE(Shows(w.text, row.recalled)) << TextOf(w.text);
    SetTextOf(w.text, Recorder() + L" -neu");
    PressKey(VK_RETURN);
    EXPECT_EQ(RecordedArguments(WaitForRecord(record)), L"-neu");
    ASSERT_TRUE(w.process.WaitForExit());
    const std::vector<std::wstring> stored = Stored(RecorderPath());
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(stored.front(), Recorder() + L" -neu");
  }

  // Thousands of values of other programs.
  RegDeleteTreeW(HKEY_CURRENT_USER, kVorlindKey);
  for (int i = 0; i < 3000; ++i) Plant(L"C:\\P\\" + std::to_wstring(i) + L".exe", {L"x"});
  Plant(RecorderPath(), {Recorder() + L" -gefunden"});
  Window w(Recorder());
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  PressKey(VK_UP);
  EXPECT_TRUE(Shows(w.text, Recorder() + L" -gefunden"));
}

// Wine draws the platform's suggestion list as a window of its own right
// under the text box. Up and Down move in it, Esc closes it, and Enter in
// every form starts the text box's line with one press.
TEST_F(History, SuggestionsShowUnderTheTextBoxAndEnterStartsAtOnce) {
  const std::vector<std::wstring> lines{Recorder() + L" -gamma", Recorder() + L" -alpha", Recorder() + L" -beta"};
  const struct {
    const char* what;
    bool shift, ctrl;
  } enters[] = {{"Enter", false, false}, {"Shift+Enter", true, false}, {"Ctrl+Shift+Enter", true, true}};
  for (const auto& enter : enters) {
    SCOPED_TRACE(enter.what);
    Plant(RecorderPath(), lines);
    const std::wstring record = FreshRecordPath();
    Window w(Recorder());
    ASSERT_TRUE(w.main);
    ASSERT_TRUE(Foreground(w.main));
    TypeText(L" -");
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (list = SuggestionList(w.process.Id(), w.main)) != nullptr; }, 5000));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    RECT text, shown;
    GetWindowRect(w.text, &text);
    GetWindowRect(GetParent(list), &shown);
    EXPECT_EQ(shown.left, text.left);
    EXPECT_EQ(shown.top, text.bottom + 1);
    EXPECT_EQ(shown.right - shown.left, text.right - text.left);

    PressKey(VK_DOWN);  // into the list: its first line is in the text box
    std::wstring picked;
    EXPECT_TRUE(WaitUntil([&] { return (picked = TextOf(w.text)) != Recorder() + L" -"; }, 5000));
    EXPECT_NE(std::find(lines.begin(), lines.end(), picked), lines.end()) << picked;
    EXPECT_TRUE(IsWindowVisible(list));
    PressKey(VK_RETURN, false, enter.shift, enter.ctrl);
    EXPECT_EQ(RecordedArguments(WaitForRecord(record, 5000)), RecordedArguments(picked)) << "one press starts it";
    ASSERT_TRUE(w.process.WaitForExit());
    for (DWORD console : ChildProcesses(w.process.Id(), L"cmd.exe")) EndProcess(console);
  }

  Window w(Recorder());
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  TypeText(L" -");
  HWND list = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (list = SuggestionList(w.process.Id(), w.main)) != nullptr; }, 5000));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(list); }, 3000));
  EXPECT_EQ(TextOf(w.text), Recorder() + L" -");
  EXPECT_TRUE(w.process.Running());
  EXPECT_EQ(FocusOf(w.main), w.text);
}

// A line from the list that cannot be started: the message as always, then
// the text box with its text and without the list.
TEST_F(History, AFailedStartFromTheListLeavesTheTextAndNoList) {
  const std::wstring missing = LR"("C:\nirgends\fehlt.exe")";
  Plant(LR"(C:\nirgends\fehlt.exe)", {missing + L" -a"});
  Window w(missing);
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  TypeText(L" -");
  HWND list = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (list = SuggestionList(w.process.Id(), w.main)) != nullptr; }, 5000));
  PressKey(VK_DOWN);
  ASSERT_TRUE(Shows(w.text, missing + L" -a"));
  PressKey(VK_RETURN);
  HWND box = WaitForWindow(w.process.Id(), L"Vorlind");
  ASSERT_TRUE(box);
  EXPECT_FALSE(IsWindowVisible(list));
  ASSERT_TRUE(Foreground(box));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(w.main) == w.text; }));
  EXPECT_EQ(TextOf(w.text), missing + L" -a");
  EXPECT_FALSE(IsWindowVisible(list)) << "the list stays closed";
  EXPECT_EQ(Stored(LR"(C:\nirgends\fehlt.exe)"), std::vector<std::wstring>{missing + L" -a"}) << "nothing new";
}

TEST_F(History, EntfernenBenutzerRegRemovesTheStore) {
  Plant(RecorderPath(), {Recorder() + L" -a"});
  HKEY other = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VorlindNachbar", 0, nullptr, 0, KEY_WRITE, nullptr, &other,
                            nullptr),
            0);
  RegCloseKey(other);
  const std::wstring removal = BinFolder() + L"\\..\\package\\Vorlind\\Entfernen-Benutzer.reg";
  ASSERT_NE(GetFileAttributesW(removal.c_str()), INVALID_FILE_ATTRIBUTES);
  Process regedit(L"C:\\windows\\regedit.exe /s " + Quoted(removal));
  ASSERT_TRUE(regedit.WaitForExit());
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kVorlindKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VorlindNachbar", 0, KEY_READ, &key), ERROR_SUCCESS)
      << "a key whose name only begins alike stays";
  RegCloseKey(key);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VorlindNachbar");
}

}  // namespace
