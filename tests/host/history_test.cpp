// The remembered lines over a fake registry: order, moving to the front, both
// bounds, program identity and letter case, the walk with the arrow keys,
// stored data Vorlind did not write, and a registry that fails.
#include "registry/History.h"

#include <gtest/gtest.h>

#include "fake_processes.h"
#include "fake_registry.h"
#include "main_window/Recall.h"
#include "platform/processes/start_command.h"

using registry::RememberLine;
using Lines = std::vector<std::wstring>;
using Bytes = std::vector<std::uint8_t>;

namespace {

const std::wstring kTool = LR"(C:\Apps\tool.exe)";

Lines Read(FakeRegistry& fake, const std::wstring& program) {
  const registry::LineList list = registry::ReadHistory(fake, program);
  Lines lines;
  std::wstring_view line;
  for (std::size_t at = 0; registry::NextLine(list, at, line);) lines.emplace_back(line);
  return lines;
}

Bytes Utf16(const std::wstring& text) {  // as the registry holds text
  Bytes bytes;
  for (wchar_t c : text) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8)});
  return bytes;
}

void Plant(FakeRegistry& fake, const std::wstring& name, std::uint32_t type, const Bytes& data) {
  platform::RegistryKey key = 0;
  fake.CreateKeyW(platform::kCurrentUser, LR"(Software\Vorlind\Verlauf)", 0, &key);
  fake.SetValueW(key, name.c_str(), type, data.data(), static_cast<std::uint32_t>(data.size()));
}

// What is stored under the name, as bytes; empty when there is no value.
Bytes Raw(const FakeRegistry& fake, std::wstring name) {
  for (wchar_t& c : name) c = FakeRegistry::Folded(c);
  const auto found = fake.wideValues.find(L"2147483649\\software\\vorlind\\verlauf|" + name);
  if (found == fake.wideValues.end()) return {};
  EXPECT_EQ(found->second.type, platform::kRegMultiString);
  return found->second.data;
}

Lines Split(const Bytes& data) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  Lines lines;
  std::wstring_view line;
  for (std::size_t at = 0; registry::NextLine(text, at, line);) lines.emplace_back(line);
  return lines;
}

std::wstring Program(int n) { return LR"(C:\P\)" + std::to_wstring(n) + L".exe"; }

TEST(History, LatestFirstMovedToTheFrontTwentyLinesAHundredPrograms) {
  FakeRegistry fake;
  for (const wchar_t* line : {L"a", L"b", L"c", L"b"}) RememberLine(fake, kTool, line);
  EXPECT_EQ(Raw(fake, kTool), Utf16(std::wstring(L"b\0c\0a\0\0", 7)));
  EXPECT_EQ(Raw(fake, L""), Utf16(kTool + std::wstring(2, L'\0'))) << "the order of the programs";

  for (int i = 1; i <= 25; ++i) RememberLine(fake, kTool, std::to_wstring(i));
  const Lines lines = Read(fake, kTool);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines.front() + L" " + lines.back(), L"25 6");

  for (int i = 1; i <= 99; ++i) RememberLine(fake, Program(i), L"x");
  RememberLine(fake, kTool, L"again");  // now Program(1) is the one used least recently
  RememberLine(fake, Program(100), L"x");
  EXPECT_TRUE(Raw(fake, Program(1)).empty());
  EXPECT_EQ(Read(fake, kTool).front(), L"again");
  EXPECT_EQ(Read(fake, Program(2)), Lines{L"x"});
  const Lines order = Split(Raw(fake, L""));
  ASSERT_EQ(order.size(), 100u);
  EXPECT_EQ(order[0] + L" " + order[1] + L" " + order.back(), Program(100) + L" " + kTool + L" " + Program(2));
}

// The program is the file process creation finds, whatever the letter case
// and however the line names it; lines themselves are compared exactly.
// A line's %NAME% is expanded to find it.
TEST(History, AProgramIsTheFileItsLineStartsWithoutRegardToLetterCase) {
  FakeProcesses files;
  files.files = {LR"(C:\My Apps\tool.exe)"};
  files.environment[L"A"] = LR"(C:\My Apps)";
  const std::wstring lines[] = {LR"("C:\My Apps\tool.exe" -a)", LR"(C:\My Apps\tool.exe -b)",
                                LR"(  "C:\My Apps\tool" -c)", LR"("c:\my apps\TOOL.EXE" -C)", LR"(%A%\tool -d)"};
  FakeRegistry fake;
  for (const std::wstring& line : lines) RememberLine(fake, platform::StartedProgram(files, line), line);
  EXPECT_EQ(Read(fake, LR"(C:\MY APPS\Tool.exe)"), (Lines{lines[4], lines[3], lines[2], lines[1], lines[0]}));
  EXPECT_EQ(Read(fake, LR"(C:\My Apps\other.exe)"), Lines{});
  // The order counts letters beyond ASCII the same in either case too.
  RememberLine(fake, L"C:\\\u00c4\\\u041f.exe", L"x");
  RememberLine(fake, L"c:\\\u00e4\\\u043f.exe", L"x");
  EXPECT_EQ(Split(Raw(fake, L"")).size(), 2u);
  // As the registry does: Ł, Č, Ő and Ş alike in either case, ß and ĸ, which have no pair, only themselves.
  for (const std::wstring pair :
       {L"\u0141\u0142", L"\u010c\u010d", L"\u0150\u0151", L"\u015e\u015f", L"\u00df\u1e9e", L"\u0138K"}) {
    FakeRegistry names;
    for (const wchar_t letter : pair) RememberLine(names, std::wstring(L"C:\\") + letter, L"x");
    EXPECT_EQ(Split(Raw(names, L"")).size(), pair[0] == 0xDF || pair[0] == 0x138 ? 2u : 1u);
  }
  RememberLine(fake, L"", L"x");
  EXPECT_EQ(Split(Raw(fake, L"")).size(), 2u) << "no program, nothing remembered";
}

// An order an earlier version wrote, full, with two spellings of one program
// (the older last) and a value it does not name: the next write keeps the
// newer spelling's lines and deletes the orphan.
TEST(History, AWriteDeletesWhatTheOrderDoesNotNameAndNothingElse) {
  FakeRegistry fake;
  std::wstring order = LR"(C:\Ł\x.exe)" + std::wstring(1, L'\0');
  for (int i = 1; i <= 98; ++i) order += Program(i) + L'\0';
  Plant(fake, L"", platform::kRegMultiString, Utf16(order + LR"(C:\ł\x.exe)" + std::wstring(2, L'\0')));
  Plant(fake, LR"(C:\Ł\x.exe)", platform::kRegMultiString, Utf16(std::wstring(L"neu\0", 4)));
  Plant(fake, LR"(C:\Waise.exe)", platform::kRegMultiString, Utf16(std::wstring(L"x\0", 2)));
  // Also a name with a zero in it, whose part before the zero names a program
  // of the order: it is the only one that stays.
  const std::wstring planted = fake.wideValues.rbegin()->first;  // "<key>|<name>"
  fake.wideValues[planted.substr(0, planted.find(L'|') + 1) + LR"(c:\apps\tool.exe)" + std::wstring(1, L'\0') + L"x"] =
      fake.wideValues[planted];
  RememberLine(fake, kTool, L"a");
  RememberLine(fake, kTool, L"b");
  EXPECT_EQ(Read(fake, LR"(C:\Ł\x.exe)"), Lines{L"neu"});
  EXPECT_EQ(Read(fake, kTool), (Lines{L"b", L"a"}));
  EXPECT_TRUE(Raw(fake, LR"(C:\Waise.exe)").empty());
}

TEST(Recall, WalksBackAndForthAndEndsAtTheDraftAsTyped) {
  main_window::Recall recall{std::wstring(L"c\0b\0a\0", 6)};
  const struct {
    const wchar_t* typed;  // the text typed before the key, if any
    bool up;
    const wchar_t* shown;  // nullptr: the text stays
  } steps[] = {{nullptr, false, nullptr}, {nullptr, true, L"c"},      {nullptr, true, L"b"},
               {nullptr, true, L"a"},     {nullptr, true, nullptr},   {nullptr, false, L"b"},
               {nullptr, false, L"c"},    {nullptr, false, L"draft"}, {nullptr, false, nullptr},
               {L"edited", true, L"c"},   {nullptr, false, L"edited"}};
  std::wstring text = L"draft";
  for (const auto& step : steps) {
    if (step.typed) text = step.typed;
    const std::wstring before = text;
    EXPECT_EQ(main_window::RecallStep(recall, step.up, text), step.shown != nullptr);
    EXPECT_EQ(text, step.shown ? step.shown : before);
  }
  main_window::Recall none;
  EXPECT_FALSE(main_window::RecallStep(none, true, text));
}

// One line goes, compared exactly; a registry that fails to write or to
// read changes nothing.
TEST(History, ForgetLineRemovesThatLineAlone) {
  for (const char* failing : {"", "setW", "queryW"}) {
    FakeRegistry fake;
    for (const wchar_t* line : {L"a", L"b", L"c"}) RememberLine(fake, kTool, line);
    fake.failWhen = failing;
    for (const wchar_t* line : {L"b", L"C"}) registry::ForgetLine(fake, kTool, line);
    fake.failWhen.clear();
    EXPECT_EQ(Read(fake, kTool), *failing ? (Lines{L"c", L"b", L"a"}) : (Lines{L"c", L"a"}));
  }
}

// Stored values Vorlind did not write: what parses is used, the rest is
// ignored, and the next start writes a sound list.
TEST(History, BadStoredDataIsUsedAsFarAsItParses) {
  Bytes oddByte = Utf16(std::wstring(L"a\0b\0", 4));
  oddByte.push_back('c');
  std::wstring many;
  for (int i = 0; i < 30; ++i) (many += std::to_wstring(i)) += L'\0';
  std::wstring controls;  // each kind, then characters beside them that are none
  for (const wchar_t c : {0x01, 0x1F, 0x7F, 0x80, 0x200E, 0x200F, 0x202A, 0x202E, 0x2066, 0x2069, 0x061C, 0x2028,
                          0x2029, 0x20, 0xA0, 0x202F, 0x2065})
    (controls += {L'a', c}) += L'\0';
  // Format characters, then some beside them that are none; beyond U+FFFF in
  // surrogate pairs, as the registry holds them (a tag, U+110BD, U+1D173; U+1F600).
  std::wstring formats(L"a\xDB40\xDC41\0a\xD804\xDCBD\0a\xD834\xDD73\0a\xD83D\xDE00\0", 16);
  for (const wchar_t c : {0xAD, 0x600, 0x200B, 0x200D, 0x2060, 0x2064, 0x206A, 0x206F, 0xFEFF, 0xFFF9, 0xFFFB, 0xAC,
                          0x200A, 0x2070, 0xFFFC})
    (formats += {L'a', c}) += L'\0';
  const struct {
    const char* what;
    std::uint32_t type;
    Bytes data;
    Lines read;
  } cases[] = {
      {"a string", platform::kRegString, Utf16(std::wstring(L"a\0", 2)), {}},
      {"a number", 4, {1, 0, 0, 0}, {}},
      {"empty", platform::kRegMultiString, {}, {}},
      {"one byte", platform::kRegMultiString, {'a'}, {}},
      {"without the list's end", platform::kRegMultiString, Utf16(std::wstring(L"a\0b\0", 4)), {L"a", L"b"}},
      {"last line cut short", platform::kRegMultiString, Utf16(std::wstring(L"a\0b", 3)), {L"a"}},
      {"an odd last byte", platform::kRegMultiString, oddByte, {L"a", L"b"}},
      {"an empty line ends it", platform::kRegMultiString, Utf16(std::wstring(L"a\0\0b\0\0", 6)), {L"a"}},
      {"repeats", platform::kRegMultiString, Utf16(std::wstring(L"a\0b\0a\0\0", 7)), {L"a", L"b"}},
      {"a line longer than a text box holds",
       platform::kRegMultiString,
       Utf16(std::wstring(32768, L'x') + std::wstring(L"\0b\0", 3)),
       {L"b"}},
      {"controls", platform::kRegMultiString, Utf16(controls), {L"a ", L"a\u00a0", L"a\u202f", L"a\u2065"}},
      {"format characters",
       platform::kRegMultiString,
       Utf16(formats),
       {L"a\xD83D\xDE00", L"a\u00ac", L"a\u200a", L"a\u2070", L"a\ufffc"}},
      {"thirty lines", platform::kRegMultiString, Utf16(many), {L"0",  L"1",  L"2",  L"3",  L"4",  L"5",  L"6",
                                                                L"7",  L"8",  L"9",  L"10", L"11", L"12", L"13",
                                                                L"14", L"15", L"16", L"17", L"18", L"19"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry fake;
    Plant(fake, kTool, c.type, c.data);
    Plant(fake, L"", c.type, c.data);  // the order of the programs
    EXPECT_EQ(Read(fake, kTool), c.read);
    RememberLine(fake, kTool, L"new");
    Lines expected{L"new"};
    expected.insert(expected.end(), c.read.begin(), c.read.end());
    EXPECT_EQ(Read(fake, kTool),
              Lines(expected.begin(), expected.begin() + std::min<std::size_t>(expected.size(), 20)));
    EXPECT_EQ(Split(Raw(fake, L"")).front(), kTool);
  }
  // A value larger than twenty lines can be is not even read.
  FakeRegistry fake;
  Plant(fake, kTool, platform::kRegMultiString, Bytes(21 * 32768 * 2, 'a'));
  fake.calls.clear();
  EXPECT_EQ(Read(fake, kTool), Lines{});
  EXPECT_EQ(std::count_if(fake.calls.begin(), fake.calls.end(), [](auto& c) { return c.rfind("queryW", 0) == 0; }), 1);
}

// A key that cannot be opened, created, read or written: nothing crashes,
// and no half-made list stays behind.
TEST(History, RegistryFailuresAreSilent) {
  const struct {
    const char* failing;
    Lines readMeanwhile, storedAfterwards;
  } cases[] = {
      {"openW", {}, {L"after", L"before"}},
      {"createW", {L"before"}, {L"before"}},
      {"queryW", {}, {L"after"}},  // a list that cannot be read is replaced
      {"setW", {L"before"}, {L"before"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    FakeRegistry fake;
    RememberLine(fake, kTool, L"before");
    fake.failWhen = c.failing;
    RememberLine(fake, kTool, L"after");
    EXPECT_EQ(Read(fake, kTool), c.readMeanwhile);
    fake.failWhen.clear();
    EXPECT_EQ(Read(fake, kTool), c.storedAfterwards);
  }
  FakeRegistry fake;
  RememberLine(fake, kTool, L"a");
  registry::ForgetHistory(fake);
  EXPECT_EQ(fake.wideKeys.count(L"2147483649\\software\\vorlind\\verlauf"), 0u);
}

}  // namespace
