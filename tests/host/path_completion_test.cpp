#include "main_window/PathCompletion.h"

#include <gtest/gtest.h>

#include "fake_processes.h"
#include "platform/processes/start_command.h"

using main_window::PathAt;

namespace {

// Where Tab completes at the end of a line, and in which folder it looks
// (current folder D:\Arbeit).
TEST(PathAt, TheArgumentAtTheCaretWhereItLooksLikeAPath) {
  FakeProcesses fake;
  fake.files = {LR"(C:\Program Files\App\app.exe)"};
  fake.environment = {{L"TEMP", LR"(C:\Temp)"}};
  const struct {
    const wchar_t* line;
    const wchar_t* folder;  // nullptr: nothing completes
    const wchar_t* prefix;
    const wchar_t* listed;
  } cases[] = {
      {LR"(  t.exe C:\Te)", LR"(C:\)", L"Te", LR"(C:\)"},
      {LR"(t.exe C:Te)", L"C:", L"Te", L"C:"},
      {LR"(t.exe sub\a)", LR"(sub\)", L"a", LR"(D:\Arbeit\sub\)"},
      {LR"(t.exe %TEMP%\x)", LR"(%TEMP%\)", L"x", LR"(C:\Temp\)"},
      {LR"(t.exe --out=C:\Te)", LR"(C:\)", L"Te", LR"(C:\)"},
      {LR"(t.exe /log:.\be)", LR"(.\)", L"be", LR"(D:\Arbeit\.\)"},
      {LR"(t.exe --out="C:\Mein Ordner\a)", LR"(C:\Mein Ordner\)", L"a", LR"(C:\Mein Ordner\)"},
      {LR"(t.exe "a b" "C:\a=b:c\x)", LR"(C:\a=b:c\)", L"x", LR"(C:\a=b:c\)"},  // = and : quoted
      {L"t.exe file.txt"},
      {LR"(t.exe C:\Te )"},
      {LR"("C:\Apps\t.exe")"},
      {LR"(C:\Program Files\App\app.exe)"},  // the program part as process creation finds it
  };
  for (const auto& c : cases) {
    const std::wstring_view line = c.line;
    const auto spot = PathAt(line, line.size(), line.size() - platform::FindProgram(fake, line).rest.size());
    ASSERT_EQ(spot.has_value(), c.folder != nullptr) << c.line;
    if (!spot) continue;
    EXPECT_EQ(spot->Folder(), c.folder) << c.line;
    EXPECT_EQ(spot->Prefix(), c.prefix) << c.line;
    EXPECT_EQ(main_window::FolderToList(fake, *spot), c.listed) << c.line;
  }
}

// The path part alone is quoted where needed; the caret (|) goes behind it.
TEST(Completed, QuotesThePathPartWhereTheNameOrATypedQuoteAsksForIt) {
  const struct {
    const wchar_t* line;  // | marks the caret
    const wchar_t* name;
    const wchar_t* completed;
  } cases[] = {
      {LR"(t.exe C:\Te| -x)", L"Temp", LR"(t.exe C:\Temp| -x)"},
      {LR"(t.exe --out=C:\M| -x)", L"Mein Ordner", LR"(t.exe --out="C:\Mein Ordner"| -x)"},
      {LR"(t.exe %TEMP%\a|)", L"a&b", LR"(t.exe "%TEMP%\a&b"|)"},
      {LR"(t.exe "C:\Te|)", L"Temp", LR"(t.exe "C:\Temp"|)"},
      {LR"(t.exe "C:\Mein Ordner\a|" -x)", L"a.txt", LR"(t.exe "C:\Mein Ordner\a.txt"| -x)"},
  };
  for (const auto& c : cases) {
    std::wstring line = c.line;
    const std::size_t caret = line.find(L'|');
    line.erase(caret, 1);
    const auto spot = PathAt(line, caret, main_window::ArgumentsFrom(line));
    ASSERT_TRUE(spot) << c.line;
    auto completion = main_window::Completed(line, *spot, c.name);
    EXPECT_EQ(completion.text.insert(completion.caret, 1, L'|'), c.completed);
  }
}

}  // namespace
