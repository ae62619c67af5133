#include "registration/SelfCopy.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fake_files.h"
#include "registration/Installation.h"

namespace {

using registration::CopyStep;

platform::Bytes Bytes(const char* text) { return platform::Bytes(text, text + std::strlen(text)); }

TEST(CopyProgram, CopiesOnlyTheRunningFileAndItsOwnLibraryAndOnAnyFailureLeavesTheDestinationAsItWas) {
  const std::wstring source = L"C:\\Users\\Anna\\Downloads\\Vorlind", target = L"C:\\Program Files\\Vorlind";
  const std::wstring exe = source + L"\\Vorlind (1).exe", dll = source + L"\\LinkLabel.dll";
  const std::wstring newExe = target + L"\\Vorlind.exe", newDll = target + L"\\LinkLabel.dll";
  platform::Sha256 built{};
  FakeFiles().Hash(Bytes("dll"), built);
  const struct Case {
    std::wstring failing;
    unsigned long failure;
    const char* library;
    CopyStep step;
    std::wstring file;
    std::wstring failingToo = {};
    std::wstring stranded = {};  // replacing: "\n" and the aside that could not go back
  } cases[] = {
      {L"", 0, "dll", CopyStep::None, L""},
      {L"ReadProgram " + exe, 1006, "dll", CopyStep::Refused, exe},  // replaced since the start
      {L"ReadProgram " + exe, 5, "dll", CopyStep::Read, exe},
      {L"ReadFile " + dll, 2, "dll", CopyStep::Refused, dll},  // missing
      {L"", 0, "tampered", CopyStep::Refused, dll},
      {L"ReadFile " + dll, 5, "dll", CopyStep::Read, dll},
      {L"CreateFolder " + target, 5, "dll", CopyStep::Folder, target},
      {L"WriteFile " + newExe + L".neu", 112, "dll", CopyStep::Write, newExe + L".neu"},
      {L"WriteFile " + newDll + L".neu", 0, "dll", CopyStep::Check, newDll + L".neu"},  // damaged on the way
      {L"ReadFile " + newExe + L".neu", 5, "dll", CopyStep::Check, newExe + L".neu"},
      {L"Move " + newDll, 5, "dll", CopyStep::Move, newDll},  // the old one cannot be put aside
      {L"Move " + newDll + L".neu", 5, "dll", CopyStep::Move, newDll},
      {L"Move " + newExe, 5, "dll", CopyStep::Move, newExe},  // the old program cannot be put aside
      {L"Move " + newExe + L".neu", 5, "dll", CopyStep::Move, newExe},
      {L"Move " + newExe + L".neu", 5, "dll", CopyStep::Move, newExe, L"Move " + newDll + L".alt",
       L"\n" + newDll + L".alt"},
  };
  for (const Case& c : cases)
    for (const bool replacing : {false, true}) {
      SCOPED_TRACE(testing::PrintToString(c.failing) + c.library + (replacing ? " replacing" : ""));
      FakeFiles files;
      files.files = {{exe, Bytes("exe")}, {dll, Bytes(c.library)}};
      if (replacing) {  // with an aside an earlier copy could not delete
        files.files.insert(
            {{newExe, Bytes("old exe")}, {newDll, Bytes("old dll")}, {newExe + L".alt1", Bytes("older")}});
        files.folders = {target};
      }
      auto expected = files.files;
      expected.erase(newExe + L".alt1");  // gone after a complete copy; a failed one may delete it or not
      if (c.step == CopyStep::None) expected[newExe] = Bytes("exe"), expected[newDll] = Bytes("dll");
      const std::wstring stranded = replacing ? c.stranded : L"";
      if (!stranded.empty()) expected[stranded.substr(1)] = Bytes("old dll"), expected.erase(newDll);
      files.failing = c.failing;
      files.failingToo = c.failingToo;
      files.failure = c.failure;
      const registration::CopyResult result = registration::CopyProgram(files, exe, target, built);
      if (c.step != CopyStep::None) files.files.erase(newExe + L".alt1");
      EXPECT_EQ(result.failed, c.step);
      EXPECT_EQ(result.file, c.file);
      EXPECT_EQ(result.error, c.failure);
      EXPECT_EQ(result.stranded, stranded);
      EXPECT_EQ(files.files, expected) << "no temporary left, the destination as it was, but for what is stranded";
      EXPECT_EQ(files.folders.size(), c.step == CopyStep::None || replacing) << "a folder made for a failed copy goes";
      EXPECT_TRUE(stranded.empty() ||
                  registration::CopyFailure(result, target, L"").text.find(stranded) != std::wstring::npos);
    }
}

TEST(ParseInstallRequest, TakesTheListsOfTheRegistrationSwitches) {
  const auto request =
      registration::ParseInstallRequest(registration::FileTypes(), L" \"/installieren-benutzer:.LNK, .exe\"");
  ASSERT_TRUE(request && request->forUser && !request->unknownEntries);
  EXPECT_EQ(registration::JoinedExtensions(request->rows), L".exe, .lnk");
  EXPECT_FALSE(registration::IsInstallRequest(L"/registrieren:.exe"));
  EXPECT_EQ(registration::InstallRequest(request->rows), L"/installieren:.exe,.lnk");
}

}  // namespace
