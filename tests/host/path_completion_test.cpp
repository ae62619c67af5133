#include "main_window/PathCompletion.h"

#include <gtest/gtest.h>

#include "fake_processes.h"
#include "platform/processes/start_command.h"

using main_window::Completed;
using main_window::PathAt;

namespace {

constexpr std::size_t kEnd = ~std::size_t{0};

// Where Tab completes, and in which folder it looks (current folder D:\Arbeit).
TEST(PathAt, TheArgumentUpToTheCaretWhereItLooksLikeAPath) {
  FakeProcesses fake;
  fake.files = {LR"(C:\Program Files\App\app.exe)"};
  fake.environment = {{L"TEMP", LR"(C:\Temp)"}};
  const struct {
    const wchar_t* line;
    std::size_t caret;
    const wchar_t* folder;  // nullptr: nothing completes
    const wchar_t* prefix;
    const wchar_t* listed;
  } cases[] = {
      {LR"("C:\Apps\t.exe")", kEnd, nullptr},
      {LR"(  t.exe C:\Te)", kEnd, LR"(C:\)", L"Te", LR"(C:\)"},
      {LR"(t.exe C:\Te -x)", 11, LR"(C:\)", L"Te", LR"(C:\)"},
      {LR"(t.exe C:Te)", kEnd, L"C:", L"Te", L"C:"},
      {LR"(t.exe sub\a)", kEnd, LR"(sub\)", L"a", LR"(D:\Arbeit\sub\)"},
      {LR"(t.exe .\a/b)", kEnd, LR"(.\a/)", L"b", LR"(D:\Arbeit\.\a/)"},
      {L"t.exe .git", kEnd, L"", L".git", LR"(D:\Arbeit\)"},
      {LR"(t.exe \\srv\s\x)", kEnd, LR"(\\srv\s\)", L"x", LR"(\\srv\s\)"},
      {LR"(t.exe %TEMP%\x)", kEnd, LR"(%TEMP%\)", L"x", LR"(C:\Temp\)"},
      {LR"(t.exe %NONE%\x)", kEnd, LR"(%NONE%\)", L"x", LR"(D:\Arbeit\%NONE%\)"},
      {LR"(t.exe --out=C:\Te)", kEnd, LR"(C:\)", L"Te", LR"(C:\)"},
      {LR"(t.exe /log:.\be)", kEnd, LR"(.\)", L"be", LR"(D:\Arbeit\.\)"},
      {LR"(t.exe --out="C:\Mein Ordner\a)", kEnd, LR"(C:\Mein Ordner\)", L"a", LR"(C:\Mein Ordner\)"},
      {LR"(t.exe "a b" "C:\a=b:c\x)", kEnd, LR"(C:\a=b:c\)", L"x", LR"(C:\a=b:c\)"},
      // Not a path, not at an argument, or the program part.
      {L"t.exe file.txt", kEnd, nullptr},
      {L"t.exe -v", kEnd, nullptr},
      {L"t.exe 50%", kEnd, nullptr},
      {LR"(t.exe C:\Te )", kEnd, nullptr},
      {LR"(t.exe C:\Te)", 6, nullptr},
      {LR"(t.exe C:\Te)", 5, nullptr},
      {LR"(C:\Program Files\App\app.exe x)", 20, nullptr},
      {LR"(t.exe "C:\a b")", 50, nullptr},
  };
  for (const auto& c : cases) {
    const std::wstring_view line = c.line;
    const std::size_t caret = c.caret == kEnd ? line.size() : c.caret;
    const auto spot = PathAt(line, caret, line.size() - platform::FindProgram(fake, line).rest.size());
    ASSERT_EQ(spot.has_value(), c.folder != nullptr) << c.line;
    if (!spot) continue;
    EXPECT_EQ(spot->Folder(), c.folder) << c.line;
    EXPECT_EQ(spot->Prefix(), c.prefix) << c.line;
    EXPECT_EQ(main_window::FolderToList(fake, *spot), c.listed) << c.line;
    EXPECT_TRUE(PathAt(line, caret, main_window::ArgumentsFrom(line))) << "the quick check offers it too";
  }
}

// The folder part stays as typed; the path part alone is quoted where needed,
// and the caret goes behind it.
TEST(Completed, QuotesThePathPartWhereTheNameOrATypedQuoteAsksForIt) {
  const struct {
    const wchar_t* line;
    std::size_t caret;
    const wchar_t* name;
    const wchar_t* completed;  // | marks the caret
  } cases[] = {
      {LR"(t.exe C:\Te)", kEnd, L"Temp", LR"(t.exe C:\Temp|)"},
      {LR"(t.exe C:\Te -x)", 11, L"Temp", LR"(t.exe C:\Temp| -x)"},
      {LR"(t.exe --out=C:\M -x)", 16, L"Mein Ordner", LR"(t.exe --out="C:\Mein Ordner"| -x)"},
      {LR"(t.exe %TEMP%\a)", kEnd, L"a&b", LR"(t.exe "%TEMP%\a&b"|)"},
      {LR"(t.exe /log:x\a)", kEnd, L"a,b", LR"(t.exe /log:"x\a,b"|)"},
      {LR"(t.exe "C:\Te)", kEnd, L"Temp", LR"(t.exe "C:\Temp"|)"},
      {LR"(t.exe "C:\Mein Ordner\a" -x)", 24, L"a.txt", LR"(t.exe "C:\Mein Ordner\a.txt"| -x)"},
  };
  for (const auto& c : cases) {
    const std::wstring_view line = c.line;
    const auto spot = PathAt(line, c.caret == kEnd ? line.size() : c.caret, main_window::ArgumentsFrom(line));
    ASSERT_TRUE(spot) << c.line;
    const auto completion = Completed(line, *spot, c.name);
    std::wstring shown = completion.text;
    shown.insert(completion.caret, 1, L'|');
    EXPECT_EQ(shown, c.completed) << c.line;
  }
}

}  // namespace
