#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <set>

#include "dialogs/CentreOverMain.h"
#include "registration/FileTypes.h"
#include "registration/FolderSafety.h"
#include "fake_registry.h"
#include "platform/runtime_error.h"
#include "platform/forms/form_layout.h"

using dialogs::CentreOverMain;

namespace {

TEST(CentreOverMain, CentresTheDialogOverTheMainWindowsOuterBounds) {
  // Main window 6105 x 1605 twips at (1000, 2000); dialog 3540 x 2850.
  const auto p = CentreOverMain(1000, 2000, 6105, 1605, 3540, 2850);
  EXPECT_FLOAT_EQ(p.Top, 1377.5f);  // taller: it reaches above the main window
  EXPECT_FLOAT_EQ(p.Left, 2282.5f);
  // Nothing clamps it to the screen.
  const auto high = CentreOverMain(0, 0, 6105, 1605, 3540, 2850);
  EXPECT_FLOAT_EQ(high.Top, -622.5f);
}

TEST(CentreOverMain, RoundsToSinglePrecisionOnceAtTheEnd) {
  // Stepwise single-precision arithmetic would round 16777217 to 16777216
  // first and end at 8388608; computing wide and rounding once gives 8388609.
  const auto p = CentreOverMain(0, 0.25f, 0, 16777216.0f, 0, -1.0f);
  EXPECT_EQ(p.Top, 8388609.0f);
}

TEST(CentreOverMain, RaisesTheOverflowErrorForResultsThatDoNotFit) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const auto& args :
       {std::array{inf, 0.f, 100.f, 100.f, 10.f, 10.f}, std::array{0.f, nan, 100.f, 100.f, 10.f, 10.f},
        std::array{0.f, FLT_MAX, 100.f, FLT_MAX, 10.f, -FLT_MAX}}) {
    try {
      CentreOverMain(args[0], args[1], args[2], args[3], args[4], args[5]);
      ADD_FAILURE() << "no error";
    } catch (const platform::RunTimeError& e) {
      EXPECT_EQ(e.Number(), platform::kOverflow);
    }
  }
}

TEST(DialogPosition, SameDpiFollowsTheTwipsRuleAndOtherDpisCentreInPixels) {
  // Same DPI: exactly CentreOverMain on the twips, rounded to the pixel.
  for (int dpi : {96, 120, 144}) {
    const dialogs::PixelRect main{101, 203, 409, 107};
    const auto at = dialogs::DialogPosition(main, dpi, 236, 190, dpi);
    const auto p = CentreOverMain(platform::PixelsToTwips(101, dpi), platform::PixelsToTwips(203, dpi),
                                  platform::PixelsToTwips(409, dpi), platform::PixelsToTwips(107, dpi),
                                  platform::PixelsToTwips(236, dpi), platform::PixelsToTwips(190, dpi));
    EXPECT_EQ(at.x, platform::TwipsToPixels(p.Left, dpi)) << dpi;
    EXPECT_EQ(at.y, platform::TwipsToPixels(p.Top, dpi)) << dpi;
  }
  // Main window on a 144-DPI monitor right of a 96-DPI one, dialog still at
  // 96: twips converted at one DPI and back at the other would put it a third
  // off; in physical pixels it is centred.
  const dialogs::PixelRect main{2200, 300, 614, 161};
  const auto at = dialogs::DialogPosition(main, 144, 236, 190, 96);
  EXPECT_EQ(at.x, 2200 + (614 - 236) / 2);
  EXPECT_EQ(at.y, 300 + static_cast<int>(std::lround((161 - 190) / 2.0)));
  const auto back = dialogs::DialogPosition({100, 100, 409, 107}, 96, 354, 285, 144);
  EXPECT_EQ(back.x, 100 + static_cast<int>(std::lround((409 - 354) / 2.0)));
  EXPECT_EQ(back.y, 100 + static_cast<int>(std::lround((107 - 285) / 2.0)));
}

// The command names the file that runs, under whatever name it was saved.
TEST(VerbCommand, QuotesTheRunningProgramFileAndThePlaceholder) {
  EXPECT_EQ(registration::VerbCommand(LR"(C:\Tools\Vorlind.exe)"), LR"("C:\Tools\Vorlind.exe" "%1")");
  EXPECT_EQ(registration::VerbCommand(LR"(D:\Vorlind.exe)"), LR"("D:\Vorlind.exe" "%1")");
  EXPECT_EQ(registration::VerbCommand(LR"(C:\Users\x\Downloads\Vorlind (1).exe)"),
            LR"("C:\Users\x\Downloads\Vorlind (1).exe" "%1")");
  EXPECT_EQ(registration::FolderOf(LR"(D:\Vorlind.exe)"), LR"(D:\)") << "a drive root keeps its backslash";
  EXPECT_EQ(registration::FolderOf(LR"(C:\Program Files\Vorlind\Vorlind.exe)"), LR"(C:\Program Files\Vorlind)");
}

const registration::Rows kRows{{1, L".exe", L"exefile"},
                               {2, L".com", L"comfile"},
                               {3, L".bat", L"batfile"},
                               {5, L".pif", L"piffile"},
                               {4, L".lnk", L"lnkfile"}};

const wchar_t kCommand[] = LR"("C:\Tools\Vorlind.exe" "%1")";

std::vector<std::string> Extensions(const FakeRegistry& fake) {
  std::vector<std::string> order;
  for (const std::string& line : fake.calls)
    // All users are written under HKEY_LOCAL_MACHINE\Software\Classes, never
    // through the merged HKEY_CLASSES_ROOT.
    if (line.rfind("create 0x80000002 Software\\Classes\\.", 0) == 0) order.push_back(line.substr(35, 4));
  return order;
}

TEST(RegisterRows, RegistersTickedRowsInTableOrderOnlyAndTellsTheShellOnce) {
  FakeRegistry fake;
  const std::set<int> ticked{4, 1, 5};
  const auto rows = registration::TickedRows(kRows, [&](int box) { return ticked.count(box) > 0; });
  EXPECT_TRUE(registration::RegisterRows(rows, kCommand, fake).empty());
  EXPECT_EQ(Extensions(fake), (std::vector<std::string>{".exe", ".pif", ".lnk"}));
  EXPECT_EQ(fake.DefaultText("Software\\Classes\\lnkfile\\Shell\\Kommandozeile\\command"),
            R"("C:\Tools\Vorlind.exe" "%1")");
  EXPECT_EQ(fake.calls.back(), "associations changed") << "after the last write, once";
  EXPECT_EQ(fake.associationsChanged, 1);

  FakeRegistry none;
  EXPECT_TRUE(
      registration::RegisterRows(registration::TickedRows(kRows, [](int) { return false; }), kCommand, none).empty());
  EXPECT_TRUE(none.calls.empty());
}

TEST(RegisterRows, AFailedRowDoesNotStopTheLaterOnesAndIsReported) {
  FakeRegistry fake;
  fake.failWhen = "create 0x80000002 Software\\Classes\\comfile\\Shell";  // as if access were denied there
  const auto failed = registration::RegisterRows(kRows, kCommand, fake);
  EXPECT_EQ(registration::JoinedExtensions(failed), L".com");
  EXPECT_EQ(Extensions(fake), (std::vector<std::string>{".exe", ".com", ".bat", ".pif", ".lnk"}));
  EXPECT_EQ(fake.associationsChanged, 1) << "what was written is announced all the same";
}

// Per user: one key per type under the user's SystemFileAssociations, in
// wide text, and never a key of the extension or of the file type itself.
TEST(RegisterRowsForUser, WritesOnlyTheVerbUnderTheUsersSystemFileAssociations) {
  FakeRegistry fake;
  const std::wstring cyrillic = L"\"C:\\\u041f\u0440\u0438\\Vorlind.exe\" \"%1\"";
  EXPECT_TRUE(registration::RegisterRowsForUser(kRows, cyrillic, fake).empty());
  for (const auto& row : kRows) {
    const std::wstring key = L"Software\\Classes\\SystemFileAssociations\\" + std::wstring(row.extension) +
                             L"\\shell\\Kommandozeile\\command";
    EXPECT_EQ(fake.WideText(platform::kCurrentUser, key), cyrillic) << FakeRegistry::Utf8(row.extension);
  }
  for (const std::string& line : fake.calls) {
    if (line == "associations changed") continue;
    EXPECT_NE(line.find("Software\\Classes\\SystemFileAssociations\\."), std::string::npos) << line;
    EXPECT_EQ(line.find("0x80000000"), std::string::npos) << line;
  }
  EXPECT_EQ(fake.associationsChanged, 1);

  FakeRegistry refused;
  refused.failWhen = "createW 0x80000001 Software\\Classes\\SystemFileAssociations\\.bat";
  EXPECT_EQ(registration::JoinedExtensions(registration::RegisterRowsForUser(kRows, kCommand, refused)), L".bat");
  FakeRegistry unclosed;
  unclosed.failWhen = "close Software\\Classes\\SystemFileAssociations\\.lnk";
  EXPECT_EQ(registration::JoinedExtensions(registration::RegisterRowsForUser(kRows, kCommand, unclosed)), L".lnk");
}

}  // namespace
