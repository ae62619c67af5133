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
  const wchar_t* const cases[][3] = {
      // the line; the folder part as typed | the name's beginning (none: nothing completes); the folder listed
      {LR"(  t.exe C:\Te)", LR"(C:\|Te)", LR"(C:\)"},
      {LR"(t.exe C:Te)", L"C:|Te", L"C:"},
      {LR"(t.exe sub\a)", LR"(sub\|a)", LR"(D:\Arbeit\sub\)"},
      {LR"(t.exe %TEMP%\x)", LR"(%TEMP%\|x)", LR"(C:\Temp\)"},
      {LR"(t.exe --out=C:\Te)", LR"(C:\|Te)", LR"(C:\)"},
      {LR"(t.exe /log:.\be)", LR"(.\|be)", LR"(D:\Arbeit\.\)"},
      {LR"(t.exe --out="C:\Mein Ordner\a)", LR"(C:\Mein Ordner\|a)", LR"(C:\Mein Ordner\)"},
      {LR"(t.exe "a b" "C:\a=b:c\x)", LR"(C:\a=b:c\|x)", LR"(C:\a=b:c\)"},  // = and : quoted
      {LR"(t.exe \\srv\share\a)", LR"(\\srv\share\|a)", LR"(\\srv\share\)"},
      {L"t.exe file.txt", L""},
      {L"curl.exe https://intranet.example/api/Te", L""},  // a lookup would log on to that host
      {LR"(t.exe --in=\\srv\share\a)", L""},
      {LR"(t.exe C:\Te )", L""},
      {LR"("C:\Apps\t.exe")", L""},
      {LR"(C:\Program Files\App\app.exe)", L""},  // the program part as process creation finds it
  };
  for (const auto& [typed, split, listed] : cases) {
    const std::wstring_view line = typed;
    auto spot = PathAt(line, line.size(), line.size() - platform::FindProgram(fake, line).rest.size());
    EXPECT_EQ(spot ? std::wstring(spot->Folder()) + L'|' + std::wstring(spot->Prefix()) : L"", split) << typed;
    if (!spot || !listed) continue;
    EXPECT_EQ(main_window::FolderToList(fake, *spot), listed) << typed;
  }
}

// The path part alone is quoted where needed; the caret (|) goes behind it.
TEST(Completed, QuotesThePathPartWhereTheNameOrATypedQuoteAsksForIt) {
  FakeProcesses fake;
  fake.environment = {{L"ProgramFiles", LR"(C:\Program Files)"}};
  const wchar_t* const cases[][3] = {
      // the line with the caret, the name put in, the line then
      {LR"(t.exe C:\Te| -x)", L"Temp", LR"(t.exe C:\Temp| -x)"},
      {LR"(t.exe --out=C:\M| -x)", L"Mein Ordner", LR"(t.exe --out="C:\Mein Ordner"| -x)"},
      {LR"(t.exe %TEMP%\a|)", L"a&b", LR"(t.exe "%TEMP%\a&b"|)"},
      {LR"(t.exe %ProgramFiles%\To|)", L"Tool", LR"(t.exe "%ProgramFiles%\Tool"|)"},  // a blank once expanded
      {LR"(t.exe "C:\Te|)", L"Temp", LR"(t.exe "C:\Temp"|)"},
      {LR"(t.exe "C:\Mein Ordner\a|" -x)", L"a.txt", LR"(t.exe "C:\Mein Ordner\a.txt"| -x)"},
      {LR"(t.exe "C:\Mein Ordner\a|b" -x)", L"a.txt", LR"(t.exe "C:\Mein Ordner\a.txt|b" -x)"},  // that quote closes it
  };
  for (const auto& [typed, name, completed] : cases) {
    std::wstring line = typed;
    const std::size_t caret = line.find(L'|');
    line.erase(caret, 1);
    auto spot = PathAt(line, caret, main_window::ArgumentsFrom(line));
    ASSERT_TRUE(spot && main_window::FolderToList(fake, *spot)) << typed;
    auto completion = main_window::Completed(line, *spot, name);
    EXPECT_EQ(completion.text.insert(completion.caret, 1, L'|'), completed);
  }
}

}  // namespace
