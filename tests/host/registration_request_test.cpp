#include "dialogs/RegistrationRequest.h"

#include <gtest/gtest.h>

#include "fake_registry.h"

namespace {

const std::vector<dialogs::FileTypeRow> kRows{{1, L".exe", L"exefile"},
                                              {2, L".com", L"comfile"},
                                              {3, L".bat", L"batfile"},
                                              {5, L".pif", L"piffile"},
                                              {4, L".lnk", L"lnkfile"}};

// The listed rows' check boxes, in the order the rows came back.
std::vector<int> Listed(std::wstring_view argumentText) {
  std::vector<int> boxes;
  for (const auto& row : dialogs::ListedRows(kRows, argumentText)) boxes.push_back(row.checkBox);
  return boxes;
}

TEST(RegistrationRequest, TheArgumentTextRoundTripsAndListsKnownTypesOnly) {
  const std::wstring request = dialogs::RegistrationRequest({L".com", L".pif"});
  EXPECT_EQ(request, L"/registrieren:.com,.pif");
  EXPECT_TRUE(dialogs::IsRegistrationRequest(request));
  EXPECT_EQ(Listed(request), (std::vector<int>{2, 5}));

  // In the table's order, each once, whatever the list's order and case.
  EXPECT_EQ(Listed(L"/registrieren:.LNK, .foo,,exe, .Exe ,.lnk"), (std::vector<int>{1, 4}));
  EXPECT_EQ(Listed(L"/registrieren:.pif,.bat,.com,.exe"), (std::vector<int>{1, 2, 3, 5}));
  EXPECT_TRUE(Listed(L"/registrieren:").empty());
  EXPECT_TRUE(Listed(L"/registrieren:.txt").empty());

  // What the shell hands over never begins with "/".
  for (const wchar_t* text : {LR"("D:\registrieren:.exe")", L"registrieren:.exe", L"", L"/registriere"}) {
    EXPECT_FALSE(dialogs::IsRegistrationRequest(text)) << testing::PrintToString(std::wstring(text));
    EXPECT_TRUE(Listed(text).empty());
  }
}

TEST(RegistrationFailure, AsksToElevateOnlyWhereThatCanHelpAndMayBeAsked) {
  const std::vector<std::wstring> failed{L".com", L".pif"};
  const std::wstring plain = dialogs::FailureMessage(failed);
  const std::wstring question = L"\n\nAls Administrator erneut versuchen?";
  struct Case {
    bool folderStorable;
    std::optional<bool> elevated;
    bool mayAsk;
    bool asks;
  } cases[] = {
      {true, false, true, true},   {true, true, true, false},   {true, std::nullopt, true, false},
      {true, false, false, false}, {false, false, true, false}, {false, true, false, false},
  };
  for (const Case& c : cases) {
    const auto report = dialogs::RegistrationFailure(failed, LR"(C:\Tools)", c.folderStorable, c.elevated, c.mayAsk);
    EXPECT_EQ(report.askToElevate, c.asks);
    if (!c.folderStorable) {
      EXPECT_EQ(report.text, dialogs::FolderFailureMessage(failed, LR"(C:\Tools)"));
    } else {
      EXPECT_EQ(report.text, c.asks ? plain + question : plain);
    }
  }
}

TEST(RegistrationFailure, AFolderNameTheCodePageCannotHoldIsNamedAsTheCause) {
  FakeRegistry fake;
  const std::wstring cyrillic = L"C:\\\u041f\u0440\u043e";
  EXPECT_TRUE(dialogs::FolderStorable(LR"(C:\Tools)", fake));
  EXPECT_FALSE(dialogs::FolderStorable(cyrillic, fake));

  // Every ticked type fails before any registry call.
  const auto failed = dialogs::RegisterTicked(
      kRows, [](int box) { return box == 1 || box == 4; }, cyrillic, fake);
  EXPECT_EQ(failed, (std::vector<std::wstring>{L".exe", L".lnk"}));
  EXPECT_TRUE(fake.calls.empty());

  const std::wstring message = dialogs::FolderFailureMessage(failed, cyrillic);
  EXPECT_NE(message.find(L".exe, .lnk"), std::wstring::npos);
  EXPECT_NE(message.find(cyrillic), std::wstring::npos);
  EXPECT_NE(message.find(L"Codepage"), std::wstring::npos);
  EXPECT_EQ(message.find(L"Administrator"), std::wstring::npos) << "rights are not the problem";
}

}  // namespace
