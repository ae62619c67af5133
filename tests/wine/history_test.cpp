// Earlier command lines, end to end: Vorlind started, started again for the
// same program, the keys a person presses, the suggestion list where Wine
// shows it, and what the registry holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "driver.h"

using namespace driver;
using Lines = std::vector<std::wstring>;

namespace {

constexpr wchar_t kVorlindKey[] = L"Software\\Vorlind";
constexpr wchar_t kHistoryKey[] = L"Software\\Vorlind\\Verlauf";

std::wstring Recorder() { return Quoted(RecorderPath()); }

// Stores the lines for the program as Vorlind does, the latest first.
void Plant(const std::wstring& program, const Lines& lines) {
  std::wstring data;
  for (const std::wstring& line : lines) data += line + L'\0';
  RegSetKeyValueW(HKEY_CURRENT_USER, kHistoryKey, program.c_str(), REG_MULTI_SZ, data.c_str(),
                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

Lines Stored(const std::wstring& program) {
  wchar_t data[4096] = {};
  DWORD size = sizeof data - 2 * sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, kHistoryKey, program.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, data, &size))
    return {L"<none>"};
  Lines lines;
  for (const wchar_t* line = data; *line; line += lstrlenW(line) + 1) lines.emplace_back(line);
  return lines;
}

// Typed keys and the reading of a text reach the program in different queues.
bool Shows(HWND text, const std::wstring& expected) {
  return WaitUntil([&] { return TextOf(text) == expected; }, 5000);
}

// Wine's suggestion list: a window of the process holding a list box.
HWND SuggestionList(const Window& w, bool wait = false) {
  HWND list = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : VisibleWindows(w.process.Id()))
          if (window != w.main && (list = Child(window, L"ListBox"))) return true;
        return false;
      },
      wait ? 5000 : 0);
  return list;
}

class History : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kVorlindKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kVorlindKey); }
};

TEST_F(History, AStartedLineComesBackWithUpAndEnterStartsItAgain) {
  const std::wstring line = Recorder() + L" -erst \"x y\"";
  for (bool again : {false, true}) {
    const std::wstring record = FreshRecordPath();
    Window w(Recorder());
    ASSERT_TRUE(w.main);
    ASSERT_TRUE(Foreground(w.main));
    if (again) {
      PressKey(VK_UP);
    } else {
      TypeText(L" -erst \"x y\"");
    }
    EXPECT_TRUE(Shows(w.text, line));
    PressKey(VK_RETURN);
    EXPECT_EQ(WaitForRecord(record), line);
    ASSERT_TRUE(w.process.WaitForExit());
    EXPECT_EQ(Stored(RecorderPath()), Lines{line});
  }
}

TEST_F(History, UpAndDownWalkThreeLinesAndEndAtTheEditedDraft) {
  const Lines lines{Recorder() + L" -drei", Recorder() + L" -zwei", Recorder() + L" -eins"};
  Plant(RecorderPath(), lines);
  Window w(Recorder());
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  TypeText(L" +entwurf");
  const std::wstring draft = Recorder() + L" +entwurf";
  const struct {
    WORD key;
    std::wstring shown;
  } steps[] = {{0, draft},          {VK_UP, lines[0]},   {VK_UP, lines[1]}, {VK_UP, lines[2]}, {VK_UP, lines[2]},
               {VK_DOWN, lines[1]}, {VK_DOWN, lines[0]}, {VK_DOWN, draft},  {VK_DOWN, draft}};
  for (const auto& step : steps) {
    if (step.key) PressKey(step.key);
    EXPECT_TRUE(Shows(w.text, step.shown)) << TextOf(w.text);
    const auto end = static_cast<DWORD>(step.shown.size());
    EXPECT_EQ(SendMessageW(w.text, EM_GETSEL, 0, 0), MAKELRESULT(end, end)) << "the caret behind the text";
  }

  Window other(LR"("C:\windows\notepad.exe")");  // sees none of them
  ASSERT_TRUE(other.main);
  ASSERT_TRUE(Foreground(other.main));
  PressKey(VK_UP);
  TypeText(L" ");
  EXPECT_TRUE(Shows(other.text, LR"("C:\windows\notepad.exe" )"));
  EXPECT_FALSE(SuggestionList(other));
}

TEST_F(History, VerlaufLoeschenForgetsEveryLineAndKeepsTheText) {
  Plant(RecorderPath(), {Recorder() + L" -a"});
  Plant(LR"(C:\windows\notepad.exe)", {L"notepad x"});
  Window w(Recorder());
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  TypeText(L" -");
  ASSERT_TRUE(SuggestionList(w, true));
  PressKey(VK_ESCAPE);
  AltKey(L'd');
  PressKey('V');
  HKEY key = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return RegOpenKeyExW(HKEY_CURRENT_USER, kHistoryKey, 0, KEY_READ, &key) != 0; }));
  EXPECT_EQ(TextOf(w.text), Recorder() + L" -");
  ASSERT_TRUE(Foreground(w.main));
  TypeText(L"a");  // the start of the forgotten line
  EXPECT_TRUE(Shows(w.text, Recorder() + L" -a"));
  EXPECT_FALSE(SuggestionList(w)) << "nothing left to suggest";
  PressKey(VK_UP);
  PressKey(VK_BACK);
  EXPECT_TRUE(Shows(w.text, Recorder() + L" -")) << "nothing left to recall";
  EXPECT_TRUE(w.process.Running()) << "no question, no end";
}

// Shift+Del forgets the line highlighted in Wine's list (which lets the text
// box see the key) or brought back with Up; with a selection it cuts.
TEST_F(History, ShiftDelForgetsTheLineShownInTheListOrAfterUp) {
  const Lines lines{Recorder() + L" -d", Recorder() + L" -c", Recorder() + L" -b", Recorder() + L" -a"};
  Plant(RecorderPath(), lines);
  Window w(Recorder());
  ASSERT_TRUE(w.main && Foreground(w.main));
  TypeText(L" -");
  HWND list = SuggestionList(w, true);
  ASSERT_TRUE(list);
  PressKey(VK_DOWN);  // Wine sorts the list: -a first
  ASSERT_TRUE(Shows(w.text, lines[3]));
  PressKey(VK_DELETE, false, true);
  EXPECT_TRUE(Shows(w.text, Recorder() + L" -"));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(list) && SendMessageW(list, LB_GETCOUNT, 0, 0) == 3; }, 5000));
  PressKey(VK_ESCAPE);
  PressKey(VK_UP);
  ASSERT_TRUE(Shows(w.text, lines[0]));
  SendMessageW(w.text, EM_SETSEL, 0, -1);
  for (WORD key : {VK_DELETE, VK_UP, VK_DELETE, VK_DELETE}) PressKey(key, false, key == VK_DELETE);
  EXPECT_TRUE(Shows(w.text, Recorder() + L" -")) << "the draft";
  EXPECT_EQ(Stored(RecorderPath()), Lines{lines[0]}) << "the line cut is kept";
}

// Whatever another program or a person left in the store: Vorlind starts,
// uses what it can read and writes a sound list.
TEST_F(History, BadStoredDataPlantedWithRegAddNeverStopsAStart) {
  const std::wstring value = L"/v " + Recorder() + L" ";
  const struct {
    const char* what;
    std::wstring arguments;
    std::wstring recalled;  // what Up shows
  } rows[] = {
      {"a string", value + L"/t REG_SZ /d x", Recorder()},
      {"a number", value + L"/t REG_DWORD /d 7", Recorder()},
      {"an odd number of bytes", value + L"/t REG_BINARY /d 410042", Recorder()},
      {"repeats", value + L"/t REG_MULTI_SZ /d gelesen\\0gelesen\\0zwei", L"gelesen"},
      {"the order a number", L"/ve /t REG_DWORD /d 7", Recorder()},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    RegDeleteTreeW(HKEY_CURRENT_USER, kVorlindKey);
    Process reg(L"C:\\windows\\system32\\reg.exe add HKCU\\Software\\Vorlind\\Verlauf " + row.arguments + L" /f");
    ASSERT_TRUE(reg.WaitForExit());
    ASSERT_EQ(reg.ExitCode(), 0u);
    for (int i = 0; i < 3000; ++i) Plant(L"C:\\P\\" + std::to_wstring(i) + L".exe", {L"x"});  // thousands of values
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
    EXPECT_EQ(Stored(RecorderPath()).front(), Recorder() + L" -neu");
  }
}

// What anyone could have written to the store: a line whose bidirectional
// override makes it read otherwise than it runs, a full order with two
// spellings of one program (the older, ł, last) and a value it does not
// name. The line is neither recalled nor suggested; after a start the newer
// spelling keeps its lines and the orphan is gone. Lines that a zero-width
// space or a tag makes read otherwise are not offered either.
TEST_F(History, PlantedLinesAndValuesAreCheckedAndTidied) {
  Plant(RecorderPath(), {Recorder() + L" -gut", Recorder() + L" -\u202Egnp.exe", Recorder() + L" -\u200Bx",
                         Recorder() + L" -\U000E0041"});
  Lines order{L"C:\\\u0141\\a.exe"};
  for (int i = 1; i <= 98; ++i) order.push_back(L"C:\\P\\" + std::to_wstring(i) + L".exe");
  order.push_back(L"C:\\\u0142\\a.exe");
  Plant(L"", order);
  Plant(order.front(), {L"a.exe -neu"});
  Plant(L"C:\\Waise.exe", {L"waise"});
  Window w(Recorder());
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  PressKey(VK_UP);
  PressKey(VK_UP);  // the oldest line offered stays
  EXPECT_TRUE(Shows(w.text, Recorder() + L" -gut"));
  PressKey(VK_DOWN);
  TypeText(L" -");
  HWND list = SuggestionList(w, true);
  ASSERT_TRUE(list);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
  PressKey(VK_ESCAPE);
  PressKey(VK_RETURN);
  ASSERT_TRUE(w.process.WaitForExit());
  EXPECT_EQ(Stored(order.back()), Lines{L"a.exe -neu"});
  EXPECT_EQ(Stored(L"C:\\Waise.exe"), Lines{L"<none>"});
}

// Wine draws the suggestion list as a window of its own right under the
// text box. Down moves into it, and Enter in every form starts the text
// box's line with one press; a line that fails leaves the text, no list
// and nothing remembered; Esc closes the list.
TEST_F(History, SuggestionsShowUnderTheTextBoxAndEnterStartsAtOnce) {
  const Lines lines{Recorder() + L" -gamma", Recorder() + L" -alpha"};
  const std::wstring missing = LR"("C:\nirgends\fehlt.exe")";
  const Lines failing{missing + L" -b", missing + L" -a"};
  const struct {
    const char* what;
    bool shift, ctrl;
    const Lines& lines;
  } cases[] = {{"Enter", false, false, lines},
               {"Shift+Enter", true, false, lines},
               {"Ctrl+Shift+Enter", true, true, lines},
               {"Enter, failing", false, false, failing}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring program = c.lines[0].substr(0, c.lines[0].find(L'"', 1) + 1);
    Plant(program.substr(1, program.size() - 2), c.lines);
    const std::wstring record = FreshRecordPath();
    Window w(program);
    ASSERT_TRUE(w.main);
    ASSERT_TRUE(Foreground(w.main));
    TypeText(L" -");
    HWND list = SuggestionList(w, true);
    ASSERT_TRUE(list);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    RECT text, shown;
    GetWindowRect(w.text, &text);
    GetWindowRect(GetParent(list), &shown);
    EXPECT_EQ(shown.left, text.left);
    EXPECT_EQ(shown.top, text.bottom + 1);
    EXPECT_EQ(shown.right - shown.left, text.right - text.left);
    PressKey(VK_DOWN);  // Wine sorts the list: its first line goes into the text box
    ASSERT_TRUE(Shows(w.text, c.lines[1]));
    PressKey(VK_RETURN, false, c.shift, c.ctrl);
    if (&c.lines == &failing) {
      HWND box = WaitForWindow(w.process.Id(), L"Vorlind");
      ASSERT_TRUE(box);
      ASSERT_TRUE(Foreground(box));
      PressKey(VK_RETURN);
      EXPECT_TRUE(WaitUntil([&] { return FocusOf(w.main) == w.text; }));
      EXPECT_EQ(TextOf(w.text), c.lines[1]);
      EXPECT_FALSE(IsWindowVisible(list)) << "the list stays closed";
      EXPECT_EQ(Stored(missing.substr(1, missing.size() - 2)), failing) << "nothing remembered";
      TypeText(L"x");
      EXPECT_TRUE(Shows(w.text, c.lines[1] + L"x"));
      PressKey(VK_BACK);  // the list comes back: Enter did not switch it off
      ASSERT_TRUE(SuggestionList(w, true));
      PressKey(VK_ESCAPE);
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(list); }, 3000)) << "Esc closes it";
      EXPECT_TRUE(w.process.Running());
      continue;
    }
    EXPECT_EQ(RecordedArguments(WaitForRecord(record, 5000)), L"-alpha") << "one press starts it";
    ASSERT_TRUE(w.process.WaitForExit());
    for (DWORD console : ChildProcesses(w.process.Id(), L"cmd.exe")) EndProcess(console);
    // What a case started is torn down by Wine a moment after it ends (the
    // console's window, the shell's start as administrator), and that can
    // take the foreground from the next case's new window while it is typed
    // into: the next case starts once that has settled.
    Sleep(2500);
  }
}

}  // namespace
