#include "main_window/DroppedPaths.h"

#include <gtest/gtest.h>

using main_window::InsertDroppedPaths;
using main_window::QuotedIfNeeded;

namespace {

TEST(QuotedIfNeeded, QuotesBlanksAndTheCommandProcessorsOwnCharacters) {
  EXPECT_EQ(QuotedIfNeeded(LR"(C:\Tools\x.exe)"), LR"(C:\Tools\x.exe)");
  EXPECT_EQ(QuotedIfNeeded(LR"(C:\Program Files\x.exe)"), LR"("C:\Program Files\x.exe")");
  for (wchar_t c : std::wstring(L"&()[]{}^=;!'+,`~\t")) {
    const std::wstring path = std::wstring(LR"(C:\a)") + c + L"b";
    EXPECT_EQ(QuotedIfNeeded(path), L"\"" + path + L"\"") << static_cast<int>(c);
  }
  EXPECT_EQ(QuotedIfNeeded(LR"(C:\a-b_c.d@e#f$%)"), LR"(C:\a-b_c.d@e#f$%)");
  EXPECT_EQ(QuotedIfNeeded(L"C:\\\u00c4rger"), L"C:\\\u00c4rger");
}

TEST(InsertDroppedPaths, InsertsAtTheCaretWithOneBlankTowardsNeighbouringText) {
  const std::vector<std::wstring> one{LR"(D:\data.txt)"};
  struct Case {
    const wchar_t* text;
    std::size_t start, end;
    std::vector<std::wstring> paths;
    const wchar_t* expected;
    std::size_t caret;
  } cases[] = {
      {L"", 0, 0, one, LR"(D:\data.txt)", 11},
      {LR"("C:\t.exe")", 10, 10, one, LR"("C:\t.exe" D:\data.txt)", 22},
      {LR"("C:\t.exe" )", 11, 11, one, LR"("C:\t.exe" D:\data.txt)", 22},
      {LR"("C:\t.exe" -x)", 11, 11, one, LR"("C:\t.exe" D:\data.txt -x)", 22},
      {LR"(a  b)", 2, 2, one, LR"(a D:\data.txt b)", 13},
      // A selection is replaced.
      {LR"(t.exe OLD -x)", 6, 9, one, LR"(t.exe D:\data.txt -x)", 17},
      {LR"(t.exe OLD)", 6, 9, {LR"(C:\a b)"}, LR"(t.exe "C:\a b")", 14},
      // Several paths in the order given; a selection given backwards counts too.
      {L"x", 1, 1, {L"C:\\1", L"C:\\2 3", L"C:\\4"}, LR"(x C:\1 "C:\2 3" C:\4)", 20},
      {L"abc", 3, 1, one, LR"(a D:\data.txt)", 13},
      // Nothing dropped changes nothing; positions past the end are clamped.
      {L"abc", 1, 2, {}, L"abc", 2},
      {L"abc", 9, 9, one, LR"(abc D:\data.txt)", 15},
  };
  for (const Case& c : cases) {
    const auto result = InsertDroppedPaths(c.text, c.start, c.end, c.paths);
    EXPECT_EQ(result.text, c.expected) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(result.caret, c.caret) << testing::PrintToString(std::wstring(c.text));
  }
}

// A drop posted by another program may carry any text; a quote would end the
// quotes around a name and let the rest run as a command.
TEST(AcceptableDrop, RefusesTheWholeDropWhenAnyNameHoldsAQuoteOrAControlCharacter) {
  EXPECT_TRUE(main_window::AcceptableDrop({LR"(C:\a b.txt)", L"D:\\\u00c4rger (1)\\x.exe"}, true));
  EXPECT_TRUE(main_window::AcceptableDrop({}, true));
  for (const wchar_t* bad : {LR"(C:\a" & calc & ")", LR"(C:\a|calc)", LR"(C:\a>C:\b)", LR"(C:\a<b)", LR"(C:\*.exe)",
                             LR"(C:\a?)", L"C:\\a\nb", L"C:\\a\tb", L"C:\\a\x1b", L"C:\\a\x7f"}) {
    EXPECT_FALSE(main_window::AcceptableDrop({LR"(C:\ok.txt)", bad}, false))
        << testing::PrintToString(std::wstring(bad));
  }
  // Expanded by the command processor even inside quotes: refused where any program may drop.
  for (const wchar_t* expanded : {LR"(C:\%PATH%.txt)", LR"(C:\a!b!.txt)"}) {
    EXPECT_TRUE(main_window::AcceptableDrop({expanded}, false));
    EXPECT_FALSE(main_window::AcceptableDrop({expanded}, true));
  }
}

}  // namespace
