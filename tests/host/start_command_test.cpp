#include "platform/processes/start_command.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fake_processes.h"
#include "platform/processes/expansion.h"
#include "platform/runtime/library_search.h"

using platform::StartCommandLine;
using platform::StartMode;
using Lines = std::vector<std::wstring>;

namespace {

HWND__* const kOwner = reinterpret_cast<HWND__*>(0x1234);

TEST(StartCommandLine, PlainStartCreatesTheProcessWithTheTextAsItIs) {
  FakeProcesses fake;
  const std::wstring line = LR"("D:\Apps\tool.exe" -x "a b")";
  EXPECT_FALSE(StartCommandLine(fake, line, StartMode::Normal, kOwner));
  EXPECT_FALSE(StartCommandLine(fake, L" \t" + line, StartMode::Normal, kOwner));
  EXPECT_EQ(fake.starts, (Lines{L"process |" + line, L"process |" + line})) << "leading blanks are no part of it";
  fake.starts.resize(1);

  fake.starts.clear();
  fake.processResult = 2;
  const auto failure = StartCommandLine(fake, line, StartMode::Normal, kOwner);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->code, 2u);
  EXPECT_EQ(failure->reason, L"error 2");
  EXPECT_FALSE(failure->Declined());
  EXPECT_EQ(fake.starts.size(), 1u) << "an ordinary failure goes to no other start";
}

TEST(StartCommandLine, ShortcutsAndProgramsThatNeedAdministratorRightsGoToTheShell) {
  struct Case {
    const char* what;
    std::wstring line;
    unsigned long processResult;
    std::vector<std::wstring> files;
    Lines expected;
  } cases[] = {
      {"elevation required",
       LR"("C:\Setup\setup.exe" /quiet "x y")",
       platform::kErrorElevationRequired,
       {},
       {LR"(process |"C:\Setup\setup.exe" /quiet "x y")", LR"(shell open C:\Setup\setup.exe|/quiet "x y")"}},
      {"elevation required, no parameters",
       LR"(C:\Setup\setup.exe)",
       platform::kErrorElevationRequired,
       {},
       {LR"(process |C:\Setup\setup.exe)", LR"(shell open C:\Setup\setup.exe|)"}},
      {"shortcut",
       LR"("C:\a b\x.LNK" -p)",
       193,
       {LR"(C:\a b\x.LNK)"},
       {LR"(process |"C:\a b\x.LNK" -p)", LR"(shell open C:\a b\x.LNK|-p)"}},
      {"pif", LR"(C:\old.pif)", 193, {LR"(C:\old.pif)"}, {LR"(process |C:\old.pif)", LR"(shell open C:\old.pif|)"}},
      {"a missing shortcut is an ordinary failure", LR"(C:\gone.lnk)", 2, {}, {LR"(process |C:\gone.lnk)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeProcesses fake;
    fake.processResult = c.processResult;
    fake.files = c.files;
    const auto failure = StartCommandLine(fake, c.line, StartMode::Normal, kOwner);
    EXPECT_EQ(fake.starts, c.expected);
    if (c.expected.size() == 2) {
      EXPECT_FALSE(failure);
      EXPECT_EQ(fake.lastOwner, kOwner) << "the prompt belongs to the main window";
    }
  }
}

// The shell gets the program that process creation found: an unquoted path
// with blanks runs to the first blank after which the name is a file.
TEST(StartCommandLine, TheShellGetsTheProgramProcessCreationFound) {
  struct Case {
    std::wstring line;
    std::vector<std::wstring> files;
    std::wstring expected;
  } cases[] = {
      {LR"(C:\Program Files\App\setup.exe /q "a b")",
       {LR"(C:\Program Files\App\setup.exe)"},
       LR"(shell runas C:\Program Files\App\setup.exe|/q "a b")"},
      // A name without extension is the file with ".exe" added.
      {LR"(C:\Program Files\App\setup /q)",
       {LR"(C:\Program Files\App\setup.exe)", LR"(C:\Program Files\App\setup)"},
       LR"(shell runas C:\Program Files\App\setup.exe|/q)"},
      {LR"("C:\Tools\x" /q)", {LR"(C:\Tools\x.exe)", LR"(C:\Tools\x)"}, LR"(shell runas C:\Tools\x.exe|/q)"},
      // The first name that exists wins, as for process creation.
      {LR"(C:\Program Files\x.exe)",
       {LR"(C:\Program.exe)", LR"(C:\Program Files\x.exe)"},
       LR"(shell runas C:\Program.exe|Files\x.exe)"},
      // ... but never a file without extension: process creation only tries
      // "C:\Program.exe".
      {LR"(C:\Program Files\x.exe -a)",
       {LR"(C:\Program)", LR"(C:\Program Files\x.exe)"},
       LR"(shell runas C:\Program Files\x.exe|-a)"},
      // A candidate longer than process creation looks up is never found.
      {LR"(C:\a )" + std::wstring(260, L'b') + L" -x",
       {LR"(C:\a )" + std::wstring(260, L'b') + L".exe"},
       LR"(shell runas C:\a|)" + std::wstring(260, L'b') + L" -x"},
      // Leading blanks are no part of the program.
      {L" \t"
       LR"("C:\Tools\x.exe" -a)",
       {},
       LR"(shell runas C:\Tools\x.exe|-a)"},
      {L"  "
       LR"(C:\My Tools\x.exe -a)",
       {LR"(C:\My Tools\x.exe)"},
       LR"(shell runas C:\My Tools\x.exe|-a)"},
      // Nothing found: the first blank ends it, and the shell reports it.
      {LR"(C:\nirgends da\x.exe -a)", {}, LR"(shell runas C:\nirgends|da\x.exe -a)"},
      {LR"(C:\My Links\tool.lnk -p)", {LR"(C:\My Links\tool.lnk)"}, LR"(shell runas C:\My Links\tool.lnk|-p)"},
  };
  for (const Case& c : cases) {
    FakeProcesses fake;
    fake.files = c.files;
    StartCommandLine(fake, c.line, StartMode::Elevated, kOwner);
    EXPECT_EQ(fake.starts, Lines{c.expected});
  }
  // An unquoted shortcut path with blanks is recognised as a shortcut too.
  FakeProcesses shortcut;
  shortcut.processResult = 193;
  shortcut.files = {LR"(C:\My Links\tool.lnk)"};
  EXPECT_FALSE(StartCommandLine(shortcut, LR"(C:\My Links\tool.lnk -p)", StartMode::Normal, kOwner));
  EXPECT_EQ(shortcut.starts.back(), LR"(shell open C:\My Links\tool.lnk|-p)");
  // So is one behind leading blanks, and a program that needs elevation.
  shortcut.starts.clear();
  EXPECT_FALSE(StartCommandLine(shortcut, LR"(  C:\My Links\tool.lnk -p)", StartMode::Normal, kOwner));
  EXPECT_EQ(shortcut.starts.back(), LR"(shell open C:\My Links\tool.lnk|-p)");
  FakeProcesses setup;
  setup.processResult = platform::kErrorElevationRequired;
  EXPECT_FALSE(StartCommandLine(setup, LR"(   "C:\Setup\setup.exe" /q)", StartMode::Normal, kOwner));
  EXPECT_EQ(setup.starts.back(), LR"(shell open C:\Setup\setup.exe|/q)");
}

// The shell's runas of a batch file mangles quotes: the command processor is
// started elevated instead, with the line as the console mode composes it.
// Without the user's AutoRun (/d), which the console mode keeps.
TEST(StartCommandLine, ABatchFileStartsElevatedThroughTheCommandProcessor) {
  for (const std::wstring line : {LR"("C:\My Scripts\a (1).bat" "x y" & z)", LR"(C:\s.CMD -q)"}) {
    FakeProcesses fake;
    fake.environment[L"ComSpec"] = LR"(C:\Users\x\cmd.exe)";  // the user's: never run elevated
    fake.files = {LR"(C:\Users\x\cmd.exe)"};
    EXPECT_FALSE(StartCommandLine(fake, line, StartMode::Elevated, kOwner));
    EXPECT_EQ(fake.starts, Lines{LR"(shell runas C:\Windows\System32\cmd.exe|/d /s /c ")" + line + L"\""});
  }
  // An unquoted path with blanks is quoted for the command processor, which
  // would end it at the first blank.
  FakeProcesses spaced;
  spaced.files = {LR"(C:\My Scripts\a.bat)"};
  EXPECT_FALSE(StartCommandLine(spaced, LR"(  C:\My Scripts\a.bat x "y")", StartMode::Elevated, kOwner));
  EXPECT_EQ(spaced.starts, Lines{LR"(shell runas C:\Windows\System32\cmd.exe|/d /s /c ""C:\My Scripts\a.bat" x "y"")"});
  // Too long for the command processor: refused before anything starts.
  FakeProcesses fake;
  const auto refused =
      StartCommandLine(fake, LR"("C:\a.bat" )" + std::wstring(8191, L'x'), StartMode::Elevated, kOwner);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->code, platform::kErrorTooLong);
  EXPECT_TRUE(fake.starts.empty());
}

// Vorlind's current folder gone or out of reach: named, and nothing starts in
// another folder; a path not found while the folder is there is the program's.
TEST(StartCommandLine, AFolderTheShellCannotStartInIsNamedAndNothingStartsElsewhere) {
  const std::tuple<const wchar_t*, int, unsigned long, const wchar_t*> cases[] = {
      // the line, how often the folder is there, the shell's answer, a part of the reason
      {L"x.exe", 0, 0, L"nicht mehr vorhanden (gelöscht, umbenannt oder verschoben):\n\nD:\\Arbeit"},
      {L"a.bat", 1, platform::kErrorPathNotFound, L"nicht mehr vorhanden"},
      {L"a.bat", 2, platform::kErrorDirectory, L"nicht erreichbar:\n\nD:\\Arbeit\n\n"},
      {L"x.exe", 2, platform::kErrorPathNotFound, L"error 3"}};
  for (const auto& [line, folderLooks, shellResult, reason] : cases) {
    FakeProcesses fake;
    fake.folderLooks = folderLooks;
    fake.shellResult = shellResult;
    const auto failure = StartCommandLine(fake, line, StartMode::Elevated, kOwner);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->reason.find(reason), std::wstring::npos) << failure->reason;
    EXPECT_EQ(fake.starts.size(), folderLooks > 0 ? 1u : 0u) << "a second start, without the folder";
  }
}

TEST(StartCommandLine, TheShellsFailuresAndADeclinedPromptComeBack) {
  for (unsigned long shellResult : {platform::kErrorCancelled, 5ul}) {
    FakeProcesses fake;
    fake.processResult = platform::kErrorElevationRequired;
    fake.shellResult = shellResult;
    const auto failure = StartCommandLine(fake, L"setup.exe", StartMode::Normal, kOwner);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code, shellResult);
    EXPECT_EQ(failure->Declined(), shellResult == platform::kErrorCancelled);
  }
}

TEST(StartCommandLine, ElevatedStartsThroughRunAsWithTheRestUnchanged) {
  FakeProcesses fake;
  EXPECT_FALSE(StartCommandLine(fake, LR"("C:\Tools\x.exe"   -a  "b c" )", StartMode::Elevated, kOwner));
  EXPECT_FALSE(StartCommandLine(fake, LR"(C:\Tools\x.lnk)", StartMode::Elevated, kOwner));
  EXPECT_EQ(fake.starts, (Lines{LR"(shell runas C:\Tools\x.exe|-a  "b c" )", LR"(shell runas C:\Tools\x.lnk|)"}));
  EXPECT_EQ(fake.lastOwner, kOwner);

  fake.shellResult = platform::kErrorCancelled;
  const auto declined = StartCommandLine(fake, L"x.exe", StartMode::Elevated, kOwner);
  ASSERT_TRUE(declined);
  EXPECT_TRUE(declined->Declined());
}

TEST(StartCommandLine, ConsoleKeepsTheCommandProcessorOpenInANewConsole) {
  FakeProcesses fake;
  fake.environment[L"ComSpec"] = LR"(D:\Shell\cmd.exe)";
  fake.files = {LR"(D:\Shell\cmd.exe)"};
  const std::wstring line = LR"("C:\My Tools\x.exe" -a "b c")";
  EXPECT_FALSE(StartCommandLine(fake, line, StartMode::Console, kOwner));
  EXPECT_EQ(fake.starts,
            Lines{LR"(process D:\Shell\cmd.exe|"D:\Shell\cmd.exe" /s /k ""C:\My Tools\x.exe" -a "b c""|console)"});
  fake.starts.clear();
  fake.files.push_back(LR"(C:\My Tools\x.exe)");
  EXPECT_FALSE(StartCommandLine(fake, LR"(C:\My Tools\x.exe -a)", StartMode::Console, kOwner));
  EXPECT_EQ(fake.starts,
            Lines{LR"(process D:\Shell\cmd.exe|"D:\Shell\cmd.exe" /s /k ""C:\My Tools\x.exe" -a"|console)"});

  // ComSpec unset, empty or pointing nowhere: cmd.exe in the system folder.
  for (const wchar_t* comSpec : {static_cast<const wchar_t*>(nullptr), L"", LR"(D:\nowhere\cmd.exe)"}) {
    FakeProcesses other;
    if (comSpec) other.environment[L"ComSpec"] = comSpec;
    EXPECT_EQ(platform::CommandProcessor(other), LR"(C:\Windows\System32\cmd.exe)");
  }
}

TEST(StartCommandLine, RefusesBlankTextAndLinesLongerThanThePlatformTakes) {
  for (StartMode mode : {StartMode::Normal, StartMode::Console, StartMode::Elevated}) {
    FakeProcesses fake;
    for (const wchar_t* blank : {L"", L"  \t "}) {
      const auto failure = StartCommandLine(fake, blank, mode, kOwner);
      ASSERT_TRUE(failure);
      EXPECT_EQ(failure->code, platform::kErrorFileNotFound);
    }
    const auto tooLong = StartCommandLine(fake, std::wstring(32767, L'x'), mode, kOwner);
    ASSERT_TRUE(tooLong);
    EXPECT_EQ(tooLong->code, platform::kErrorTooLong);
    EXPECT_TRUE(fake.starts.empty());
  }
  // The console's composed line counts, against what the command processor
  // takes: the text fits alone, not inside it.
  FakeProcesses fake;
  const std::size_t room =
      platform::kLongestConsoleLine - platform::ConsoleCommandLine(platform::CommandProcessor(fake), L"").size();
  const auto refused = StartCommandLine(fake, std::wstring(room + 1, L'x'), StartMode::Console, kOwner);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->code, platform::kErrorTooLong);
  EXPECT_NE(refused->reason.find(L"8191"), std::wstring::npos) << "the reason names the limit";
  EXPECT_TRUE(fake.starts.empty());
  EXPECT_FALSE(StartCommandLine(fake, std::wstring(room, L'x'), StartMode::Console, kOwner));
}

// Where a process or the shell gets the line, %NAME% is expanded once; the
// command processor gets it as typed and expands it itself.
TEST(StartCommandLine, ExpandsNamesExceptForTheCommandProcessor) {
  const std::pair<StartMode, const wchar_t*> cases[] = {
      {StartMode::Normal, LR"(%X% %W%|shell open C:\T\x.lnk|a%T%b)"},
      {StartMode::Elevated, LR"(%X% %W%|shell runas C:\T\x.lnk|a%T%b)"},
      {StartMode::Elevated, LR"(%S% %W%|shell runas C:\Windows\System32\cmd.exe|/d /s /c "%S% %W%")"},
      {StartMode::Console,
       LR"(%X% %W%|process C:\Windows\System32\cmd.exe|"C:\Windows\System32\cmd.exe" /s /k "%X% %W%"|console)"}};
  for (const auto& [mode, row] : cases) {
    const std::wstring line(row, std::wcschr(row, L'|'));
    FakeProcesses fake;
    fake.environment = {{L"X", LR"(C:\T\x.lnk)"}, {L"W", L"a%T%b"}, {L"S", LR"(C:\T\s.bat)"}};
    fake.files = {LR"(C:\T\x.lnk)", LR"(C:\T\s.bat)"};
    fake.processResult = 193;  // a shortcut, which only the shell starts
    StartCommandLine(fake, line, mode, kOwner);
    EXPECT_EQ(fake.starts.back(), std::wcschr(row, L'|') + 1);
  }
}

TEST(StartCommandLine, AFailureShowsTheLineAsTypedAndAsStartedWhereTheyDiffer) {
  FakeProcesses fake;
  fake.environment = {{L"T", LR"(C:\T)"}, {L"L", std::wstring(32765, L'l')}};
  fake.processResult = 2;
  const auto message = [&](const wchar_t* line, StartMode mode) {
    return platform::FailureMessage(line, *StartCommandLine(fake, line, mode, kOwner));
  };
  const std::wstring head = L"Die Kommandozeile konnte nicht ausgeführt werden:\n\n";
  EXPECT_EQ(message(LR"(%T%\x.exe)", StartMode::Normal),
            head + L"%T%\\x.exe\n\nMit eingesetzten Umgebungsvariablen:\n\nC:\\T\\x.exe\n\nerror 2");
  EXPECT_EQ(message(L"x %L%", StartMode::Normal),
            head + L"x %L%\n\nMit eingesetzten Umgebungsvariablen wäre sie länger als 32766 Zeichen.");
}

// Libraries loaded by name come from System32 alone, never from the program's folder (0x200, 0x1000), a
// library's own (0x100) or the current one (0x400). Read here: Wine takes its own from beside the program.
TEST(LibrarySearch, System32Alone) { EXPECT_EQ(platform::kLibrarySearch, 0x800u); }

TEST(StartModeFor, ShiftForAConsoleCtrlAndShiftForAdministrator) {
  EXPECT_EQ(platform::StartModeFor(false, false), StartMode::Normal);
  EXPECT_EQ(platform::StartModeFor(false, true), StartMode::Normal);
  EXPECT_EQ(platform::StartModeFor(true, false), StartMode::Console);
  EXPECT_EQ(platform::StartModeFor(true, true), StartMode::Elevated);
}

}  // namespace

TEST(Expanded, DefinedNamesBecomeTheirValuesAndEverythingElseStaysAsTyped) {
  FakeProcesses fake;
  fake.environment = {{L"USERPROFILE", LR"(C:\Users\Ana)"}, {L"E", L""}, {L"P", L"%USERPROFILE%"}};
  const wchar_t* const cases[][2] = {
      {LR"(tool.exe %USERPROFILE%\Desktop\a.txt)", LR"(tool.exe C:\Users\Ana\Desktop\a.txt)"},
      {L"ffmpeg -i bild%03d.png", L"ffmpeg -i bild%03d.png"},
      {L"%UNDEFINED%E%", L"%UNDEFINED%E%"},  // the scan goes on behind an undefined name
      {L"%%E%", L"%%E%"},
      {L"a%E%b 50%", L"ab 50%"},
      {L"%P%", L"%USERPROFILE%"},  // a value is not expanded again
  };
  for (const auto& [typed, expanded] : cases) EXPECT_EQ(platform::Expanded(fake, typed, 100), expanded) << typed;
  EXPECT_EQ(platform::Expanded(fake, L"%USERPROFILE%", 11), std::nullopt) << "refused, not cut";
  EXPECT_EQ(platform::Expanded(fake, L"%USERPROFILE%", 12), LR"(C:\Users\Ana)");
}
