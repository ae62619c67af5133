// The remembered command lines over a fake registry: order, moving to the
// front, both bounds, program identity and letter case, the walk with the
// arrow keys, and stored data that is not what Vorlind writes.
#include "registry/History.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_processes.h"
#include "fake_registry.h"
#include "main_window/Recall.h"
#include "platform/processes/start_command.h"

using registry::ReadHistory;
using registry::RememberLine;
using Lines = std::vector<std::wstring>;

namespace {

constexpr wchar_t kKey[] = LR"(Software\Vorlind\Verlauf)";
const std::wstring kTool = LR"(C:\Apps\tool.exe)";

Lines Split(const registry::LineList& list) {
  Lines lines;
  std::wstring_view line;
  for (std::size_t at = 0; registry::NextLine(list, at, line);) lines.emplace_back(line);
  return lines;
}

Lines Read(FakeRegistry& fake, const std::wstring& program) { return Split(ReadHistory(fake, program)); }

// UTF-16 code units, low byte first, as the registry holds text.
std::vector<std::uint8_t> Utf16(const std::wstring& text) {
  std::vector<std::uint8_t> bytes;
  for (wchar_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

void Plant(FakeRegistry& fake, const std::wstring& name, std::uint32_t type, const std::vector<std::uint8_t>& data) {
  platform::RegistryKey key = 0;
  ASSERT_EQ(fake.CreateKeyW(platform::kCurrentUser, kKey, 0, &key), 0);
  fake.SetValueW(key, name.c_str(), type, data.data(), static_cast<std::uint32_t>(data.size()));
  fake.CloseKey(key);
}

// The stored list of a value, read back without Vorlind's own parser.
Lines Stored(const FakeRegistry& fake, const std::wstring& name) {
  std::wstring path = std::to_wstring(platform::kCurrentUser) + L"\\" + kKey + L"|" + name;
  for (wchar_t& c : path) c = static_cast<wchar_t>(std::towlower(c));
  const auto found = fake.wideValues.find(path);
  if (found == fake.wideValues.end()) return {L"<none>"};
  EXPECT_EQ(found->second.type, platform::kRegMultiString);
  const auto& d = found->second.data;
  std::wstring text;
  for (std::size_t i = 0; i + 1 < d.size(); i += 2) text += static_cast<wchar_t>(d[i] | (d[i + 1] << 8));
  EXPECT_GE(text.size(), 1u);
  EXPECT_EQ(text.back(), L'\0') << "a list ends with an empty line";
  return Split(text);
}

std::wstring Program(int n) { return LR"(C:\P\)" + std::to_wstring(n) + L".exe"; }

TEST(History, LatestFirstAndAStartedLineMovesToTheFront) {
  FakeRegistry fake;
  for (const wchar_t* line : {L"a", L"b", L"c", L"b"}) RememberLine(fake, kTool, kTool + L" -" + line);
  EXPECT_EQ(Read(fake, kTool), (Lines{kTool + L" -b", kTool + L" -c", kTool + L" -a"}));
  EXPECT_EQ(Stored(fake, kTool), Read(fake, kTool));
  EXPECT_EQ(Stored(fake, L""), Lines{kTool}) << "the order of the programs";
}

TEST(History, KeepsTwentyLinesPerProgram) {
  FakeRegistry fake;
  for (int i = 1; i <= 25; ++i) RememberLine(fake, kTool, L"line " + std::to_wstring(i));
  const Lines lines = Read(fake, kTool);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines.front(), L"line 25");
  EXPECT_EQ(lines.back(), L"line 6");
}

TEST(History, KeepsAHundredProgramsForgettingTheOneUsedLeastRecently) {
  FakeRegistry fake;
  for (int i = 1; i <= 100; ++i) RememberLine(fake, Program(i), L"x " + std::to_wstring(i));
  RememberLine(fake, Program(1), L"again");  // 2 is now the one used least recently
  RememberLine(fake, Program(101), L"new");
  EXPECT_EQ(Stored(fake, Program(2)), Lines{L"<none>"});
  EXPECT_EQ(Read(fake, Program(1)), (Lines{L"again", L"x 1"}));
  EXPECT_EQ(Read(fake, Program(3)), Lines{L"x 3"});
  const Lines order = Stored(fake, L"");
  ASSERT_EQ(order.size(), 100u);
  EXPECT_EQ(order[0], Program(101));
  EXPECT_EQ(order[1], Program(1));
  EXPECT_EQ(order.back(), Program(3));
}

// The program is the file process creation finds, whatever the letter case
// and however the line names it.
TEST(History, AProgramIsTheFileItsLineStartsWithoutRegardToLetterCase) {
  FakeProcesses files;
  files.files = {LR"(C:\My Apps\tool.exe)"};
  const std::wstring lines[] = {
      LR"("C:\My Apps\tool.exe" -a)",
      LR"(C:\My Apps\tool.exe -b)",
      LR"(  "C:\My Apps\tool" -c)",
      LR"("c:\my apps\TOOL.EXE" -d)",
  };
  FakeRegistry fake;
  for (const std::wstring& line : lines) RememberLine(fake, platform::FindProgram(files, line).file, line);
  EXPECT_EQ(Read(fake, LR"(C:\MY APPS\Tool.exe)"), (Lines{lines[3], lines[2], lines[1], lines[0]}));
  EXPECT_EQ(Stored(fake, L"").size(), 1u) << "one program in the order";
  EXPECT_EQ(Read(fake, LR"(C:\My Apps\other.exe)"), Lines{});

  // Letters beyond ASCII count as the same in either case too; lines are
  // compared exactly.
  RememberLine(fake, L"C:\\\u00c4rger\\\u041f.exe", L"x -A");
  RememberLine(fake, L"c:\\\u00e4rger\\\u043f.exe", L"x -a");
  RememberLine(fake, L"c:\\\u00e4rger\\\u043f.exe", L"x -A");
  EXPECT_EQ(Stored(fake, L"").size(), 2u);
  EXPECT_EQ(Read(fake, L"c:\\\u00e4rger\\\u043f.exe"), (Lines{L"x -A", L"x -a"}));
}

TEST(History, NoProgramNoHistory) {
  FakeRegistry fake;
  RememberLine(fake, L"", L"x");
  EXPECT_TRUE(fake.calls.empty()) << "the empty name is the key's own value";
  EXPECT_EQ(Read(fake, L""), Lines{});
}

TEST(History, ForgettingRemovesTheWholeKey) {
  FakeRegistry fake;
  RememberLine(fake, kTool, L"a");
  registry::ForgetHistory(fake);
  EXPECT_EQ(fake.wideKeys.count(L"2147483649\\software\\vorlind\\verlauf"), 0u);
  EXPECT_EQ(Read(fake, kTool), Lines{});
}

// Up and Down from the draft and back, as the keys are pressed one by one.
TEST(Recall, WalksBackAndForthAndEndsAtTheDraftAsTyped) {
  struct Step {
    bool up;
    const wchar_t* shown;  // nullptr: the text stays
  };
  const struct Case {
    const char* what;
    registry::LineList lines;
    std::vector<Step> steps;
  } cases[] = {
      {"three lines",
       std::wstring(L"c\0b\0a\0", 6),
       {{false, nullptr},
        {true, L"c"},
        {true, L"b"},
        {true, L"a"},
        {true, nullptr},
        {false, L"b"},
        {false, L"c"},
        {false, L"draft"},
        {false, nullptr},
        {true, L"c"}}},
      {"no lines", L"", {{true, nullptr}, {false, nullptr}}},
      {"one line", std::wstring(L"a\0", 2), {{true, L"a"}, {true, nullptr}, {false, L"draft"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    main_window::Recall recall{c.lines};
    std::wstring text = L"draft";
    for (const Step& step : c.steps) {
      const std::wstring before = text;
      EXPECT_EQ(main_window::RecallStep(recall, step.up, text), step.shown != nullptr);
      EXPECT_EQ(text, step.shown ? step.shown : before);
    }
  }
}

TEST(Recall, TheDraftIsTheTextAsItStoodBeforeTheFirstUpChangesIncluded) {
  main_window::Recall recall{std::wstring(L"old\0", 4)};
  std::wstring text = L"first";
  ASSERT_TRUE(main_window::RecallStep(recall, true, text));
  ASSERT_TRUE(main_window::RecallStep(recall, false, text));
  EXPECT_EQ(text, L"first");
  text = L"first, edited";  // typed at the draft
  ASSERT_TRUE(main_window::RecallStep(recall, true, text));
  EXPECT_EQ(text, L"old");
  ASSERT_TRUE(main_window::RecallStep(recall, false, text));
  EXPECT_EQ(text, L"first, edited");
}

// Stored values that Vorlind did not write: what parses is used, the rest is
// ignored, and the next start writes a sound list.
TEST(History, BadStoredDataIsUsedAsFarAsItParses) {
  const std::wstring tooLong(32768, L'x');
  const struct Case {
    const char* what;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    Lines read;
  } cases[] = {
      {"a string, not a list", platform::kRegString, Utf16(std::wstring(L"a\0", 2)), {}},
      {"a number", 4, {1, 0, 0, 0}, {}},
      {"binary", 3, Utf16(std::wstring(L"a\0\0", 3)), {}},
      {"empty", platform::kRegMultiString, {}, {}},
      {"only the end", platform::kRegMultiString, {0, 0}, {}},
      {"one byte", platform::kRegMultiString, {'a'}, {}},
      {"sound", platform::kRegMultiString, Utf16(std::wstring(L"a\0b\0\0", 5)), {L"a", L"b"}},
      {"without the list's end", platform::kRegMultiString, Utf16(std::wstring(L"a\0b\0", 4)), {L"a", L"b"}},
      {"last line cut short", platform::kRegMultiString, Utf16(std::wstring(L"a\0b", 3)), {L"a"}},
      {"an odd last byte",
       platform::kRegMultiString,
       [] {
         auto d = Utf16(std::wstring(L"a\0b\0", 4));
         d.push_back('c');
         return d;
       }(),
       {L"a", L"b"}},
      {"an empty line ends it", platform::kRegMultiString, Utf16(std::wstring(L"a\0\0b\0\0", 6)), {L"a"}},
      {"repeats", platform::kRegMultiString, Utf16(std::wstring(L"a\0b\0a\0\0", 7)), {L"a", L"b"}},
      {"a line longer than a text box holds",
       platform::kRegMultiString,
       Utf16(L"a" + std::wstring(1, L'\0') + tooLong + std::wstring(L"\0b\0", 3)),
       {L"a", L"b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry fake;
    Plant(fake, kTool, c.type, c.data);
    EXPECT_EQ(Read(fake, kTool), c.read);
    RememberLine(fake, kTool, L"new");
    Lines expected{L"new"};
    expected.insert(expected.end(), c.read.begin(), c.read.end());
    EXPECT_EQ(Stored(fake, kTool), expected);
  }

  // More lines than are kept: the first twenty.
  std::wstring many;
  for (int i = 0; i < 30; ++i) (many += std::to_wstring(i)) += L'\0';
  FakeRegistry fake;
  Plant(fake, kTool, platform::kRegMultiString, Utf16(many));
  const Lines lines = Read(fake, kTool);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines.back(), L"19");
}

TEST(History, AValueLargerThanTwentyLinesCanBeIsNotEvenRead) {
  FakeRegistry fake;
  Plant(fake, kTool, platform::kRegMultiString, std::vector<std::uint8_t>(21 * 32768 * 2, 'a'));
  fake.calls.clear();
  EXPECT_EQ(Read(fake, kTool), Lines{});
  int queries = 0;
  for (const std::string& call : fake.calls) queries += call.rfind("queryW", 0) == 0;
  EXPECT_EQ(queries, 1) << "only its size was asked for";
}

TEST(History, ABadOrderListIsReplacedAndTheLineIsRememberedAllTheSame) {
  for (std::uint32_t type : {platform::kRegString, platform::kRegMultiString}) {
    FakeRegistry fake;
    Plant(fake, L"", type, Utf16(std::wstring(L"C:\\x.exe\0C:\\X.EXE\0", 18)));
    RememberLine(fake, kTool, L"a");
    EXPECT_EQ(Read(fake, kTool), Lines{L"a"});
    const Lines kept = type == platform::kRegString ? Lines{kTool} : Lines{kTool, L"C:\\x.exe"};
    EXPECT_EQ(Stored(fake, L""), kept) << "repeats differing in case count once";
  }
}

// A key that cannot be opened, created, read or written: nothing crashes,
// and no half-made list stays behind.
TEST(History, RegistryFailuresAreSilent) {
  const struct Case {
    const char* failing;
    Lines readMeanwhile;
    Lines storedAfterwards;
  } cases[] = {
      {"openW", {}, {L"after", L"before"}},
      {"createW", {L"before"}, {L"before"}},
      {"queryW", {}, {L"after"}},  // a list that cannot be read is replaced
      {"setW", {L"before"}, {L"before"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing);
    FakeRegistry fake;
    RememberLine(fake, kTool, L"before");
    fake.failWhen = c.failing;
    RememberLine(fake, kTool, L"after");
    EXPECT_EQ(Read(fake, kTool), c.readMeanwhile);
    fake.failWhen.clear();
    EXPECT_EQ(Stored(fake, kTool), c.storedAfterwards);
  }
}

}  // namespace
