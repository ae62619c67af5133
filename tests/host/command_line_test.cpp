#include "platform/processes/command_line.h"

#include <gtest/gtest.h>

#include <string>

using platform::SplitProgramName;

namespace {

struct Case {
  const wchar_t* line;
  const wchar_t* program;
  const wchar_t* rest;
};

TEST(SplitProgramName, FollowsThePlatformRuleAndKeepsTheRestExactly) {
  const Case cases[] = {
      // The shell's verb: the clicked file arrives quoted, as it came.
      {LR"("C:\Tools\Vorlind.exe" "D:\Apps\tool.exe")", LR"("C:\Tools\Vorlind.exe")", LR"("D:\Apps\tool.exe")"},
      {L"Vorlind.exe", L"Vorlind.exe", L""},
      {L"", L"", L""},
      // Blanks and tabs that separate the name go; trailing ones stay.
      {L"Vorlind.exe \t  a  b  ", L"Vorlind.exe", L"a  b  "},
      // Quoted names may hold blanks and end at the next quote, no escapes.
      {LR"("C:\Program Files\V.exe"	"x" y)", LR"("C:\Program Files\V.exe")", LR"("x" y)"},
      {LR"("C:\a\"b.exe" c)", LR"("C:\a\")", LR"(b.exe" c)"},
      {LR"("C:\a.exe"rest)", LR"("C:\a.exe")", L"rest"},
      // A missing closing quote takes the whole line as the name.
      {LR"("C:\never closed  x)", LR"("C:\never closed  x)", L""},
      // Several quoted parts and stray quotes come through unchanged.
      {LR"(v.exe "a b" "c"" d" )", L"v.exe", LR"("a b" "c"" d" )"},
      // Quotes inside an unquoted name belong to it (found by fuzzing).
      {L"a\"b.exe \"x\"", L"a\"b.exe", L"\"x\""},
      // A line starting with a blank has an empty name.
      {L"  lead", L"", L"lead"},
      {L"v.exe \u00fcber \u043f\u0440\u0438", L"v.exe", L"\u00fcber \u043f\u0440\u0438"},
  };
  for (const Case& c : cases) {
    const auto split = SplitProgramName(c.line);
    EXPECT_EQ(std::wstring(split.program), c.program) << "line: " << testing::PrintToString(std::wstring(c.line));
    EXPECT_EQ(std::wstring(split.rest), c.rest) << "line: " << testing::PrintToString(std::wstring(c.line));
  }
}

TEST(SplitProgramName, HandlesAWholeMaximalCommandLine) {
  const std::wstring argument(32767 - 14, L'x');
  const std::wstring line = L"\"Vorlind.exe\" " + argument;
  EXPECT_EQ(SplitProgramName(line).rest, argument);
}

TEST(UnquotedProgram, StripsOnlyTheSurroundingQuotes) {
  EXPECT_EQ(platform::UnquotedProgram(LR"("C:\a b\x.lnk")"), LR"(C:\a b\x.lnk)");
  EXPECT_EQ(platform::UnquotedProgram(LR"(C:\x.lnk)"), LR"(C:\x.lnk)");
  EXPECT_EQ(platform::UnquotedProgram(LR"("C:\open)"), LR"(C:\open)");
  EXPECT_EQ(platform::UnquotedProgram(L"\""), L"");
  EXPECT_EQ(platform::UnquotedProgram(L"a\"b.exe"), L"a\"b.exe");
}

}  // namespace
