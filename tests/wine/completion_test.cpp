// Tab in the command window's text box, driven as a person would.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver.h"

using namespace driver;

namespace {

// Tab and Shift+Tab go round the names that complete a path; where none
// does, they move the focus as before.
TEST(TabCompletion, GoesRoundTheNamesAndMovesTheFocusWhereNoneComplete) {
  const std::wstring folder = SafeFolder() + L"\\Tab";
  CreateDirectoryW(folder.c_str(), nullptr);
  CreateDirectoryW((folder + L"\\a&c").c_str(), nullptr);
  // Not offered: another beginning, a hidden file, and (elevated, as under
  // Wine) names the command processor would expand.
  for (const wchar_t* name : {L"a b.txt", L"A(1).txt", L"ab.txt", L"b.txt", L"a%x%.txt", L"a!.txt", L"ah.txt"})
    WriteFileText(folder + L"\\" + name, "");
  SetFileAttributesW((folder + L"\\ah.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const std::wstring program = Quoted(RecorderPath());
  Window w(program);
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  const std::wstring head = program + L" --in=", quoted = L"\"" + folder;
  const std::wstring round[] = {quoted + L"\\a b.txt\"", quoted + L"\\a&c\"",     quoted + L"\\A(1).txt\"",
                                folder + L"\\ab.txt",    quoted + L"\\a b.txt\"", folder + L"\\ab.txt"};
  SetTextOf(w.text, head + folder + L"\\a -x");
  SendMessageW(w.text, EM_SETSEL, head.size() + folder.size() + 2, head.size() + folder.size() + 2);
  for (const std::wstring& path : round) {
    PressKey(VK_TAB, false, &path == &round[5]);  // the last one back with Shift+Tab
    EXPECT_TRUE(WaitUntil([&] { return TextOf(w.text) == head + path + L" -x"; }, 3000)) << TextOf(w.text);
    EXPECT_EQ(FocusOf(w.main), w.text);
  }
  // As the window opens, the caret behind the program; no option, no name, no folder.
  for (const std::wstring& line : {program, head + L"-v", head + folder + L"\\zz", head + L"C:\\nirgends\\a"}) {
    SetTextOf(w.text, line);
    SendMessageW(w.text, EM_SETSEL, line.size(), line.size());
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(w.main) == w.button; }, 3000)) << testing::PrintToString(line);
    PressKey(VK_TAB, false, true);
    EXPECT_EQ(FocusOf(w.main), w.text);
    EXPECT_EQ(TextOf(w.text), line);
  }
}

}  // namespace
