// What a user needs on the first day, driven end to end: starting as
// administrator and in a console that stays open, the scripted registration,
// its failure from a folder the code page cannot name, and the removal file.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver.h"
#include "registry_dump.h"

using namespace driver;

namespace {

const wchar_t kCyrillic[] = L"\u041f\u0440\u0438\u0432\u0435\u0442";
const wchar_t* const kFileTypes[] = {L"exefile", L"comfile", L"batfile", L"piffile", L"lnkfile"};
const wchar_t* const kExtensions[] = {L".exe", L".com", L".bat", L".pif", L".lnk"};

std::wstring VerbKey(const std::wstring& type) { return type + L"\\Shell\\Kommandozeile"; }

void ForgetVerbs() {
  for (const wchar_t* type : kFileTypes) RegDeleteTreeW(HKEY_CLASSES_ROOT, VerbKey(type).c_str());
}

std::wstring AllTypes() {
  std::wstring dump;
  for (int i = 0; i < 5; ++i)
    dump += DumpTree(HKEY_CLASSES_ROOT, kExtensions[i]) + DumpTree(HKEY_CLASSES_ROOT, kFileTypes[i]);
  return dump;
}

// Waits for the failure message, checks it, answers OK and expects the window
// with its text and focus back.
void ExpectRefusedAndKept(Window& w, const std::wstring& typed, const std::wstring& reason = L"") {
  HWND box = WaitForWindow(w.process.Id(), L"Vorlind");
  ASSERT_TRUE(box) << "no message";
  EXPECT_NE(MessageText(box).find(L"konnte nicht ausgeführt werden"), std::wstring::npos);
  EXPECT_NE(MessageText(box).find(reason), std::wstring::npos) << MessageText(box);
  ASSERT_TRUE(Foreground(box));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_TRUE(w.process.Running());
  EXPECT_EQ(TextOf(w.text), typed);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(w.main) == w.text; }));
}

TEST(FirstDay, CtrlShiftEnterStartsAsAdministratorWithExactlyTheTypedParameters) {
  // Wine runs everything elevated and takes "runas" like "open": the started
  // program and its parameters are what can be seen here.
  const std::wstring record = FreshRecordPath();
  const std::wstring parameters = L"/p \"x y\" \u00fc";
  Window w(Quoted(RecorderPath()) + L" " + parameters);
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  PressKey(VK_RETURN, false, true, true);
  EXPECT_EQ(RecordedArguments(WaitForRecord(record)), parameters);
  EXPECT_TRUE(w.process.WaitForExit());

  const std::wstring missing = LR"("C:\nirgends\fehlt.exe" /x)";
  Window refused(missing);
  ASSERT_TRUE(refused.main);
  ASSERT_TRUE(Foreground(refused.main));
  PressKey(VK_RETURN, false, true, true);
  ExpectRefusedAndKept(refused, missing);
}

// Vorlind's current folder renamed away meanwhile (Wine's shell would start
// the program elsewhere): the start is refused, the folder named.
TEST(FirstDay, AStartFolderGoneMeanwhileIsNamedAndNothingStarts) {
  const std::wstring above = TestsFolder() + L"\\Ordner davor", folder = above + L"\\Arbeit", moved = above + L" weg";
  for (const std::wstring& gone : {moved + L"\\Arbeit", moved}) RemoveDirectoryW(gone.c_str());
  for (const std::wstring& made : {above, folder}) CreateDirectoryW(made.c_str(), nullptr);
  const std::wstring record = FreshRecordPath(), line = Quoted(RecorderPath()) + L" /x";
  Window w(line, folder);
  ASSERT_TRUE(w.main && MoveFileW(above.c_str(), moved.c_str()) && Foreground(w.main));
  PressKey(VK_RETURN, false, true, true);
  ExpectRefusedAndKept(w, line, L"nicht mehr vorhanden (gelöscht, umbenannt oder verschoben):\n\n" + folder);
  EXPECT_EQ(GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES) << "started all the same";
}

// Leading blanks are no part of the program: the shell gets the recorder.
TEST(FirstDay, ALineWithLeadingBlanksStartsAsAdministratorToo) {
  const std::wstring record = FreshRecordPath();
  Window w(L"");
  ASSERT_TRUE(w.main);
  SetTextOf(w.text, L"  \t" + Quoted(RecorderPath()) + L" /x \"y z\"");
  ASSERT_TRUE(Foreground(w.main));
  PressKey(VK_RETURN, false, true, true);
  EXPECT_EQ(RecordedArguments(WaitForRecord(record)), L"/x \"y z\"");
  EXPECT_TRUE(w.process.WaitForExit());
}

// A batch file as administrator: through the command processor, quoted path
// or not, with its quoted arguments intact.
TEST(FirstDay, ABatchFileStartsAsAdministratorWithItsArgumentsIntact) {
  const std::wstring batch = TestsFolder() + L"\\run recorder.bat";
  WriteFileText(batch, "@\"%~dp0recorder.exe\" %*\r\n");
  for (const std::wstring& program : {Quoted(batch), batch}) {
    SCOPED_TRACE(testing::PrintToString(program));
    const std::wstring record = FreshRecordPath();
    Window w(L"");
    ASSERT_TRUE(w.main);
    SetTextOf(w.text, program + L" /p \"x y\"");
    ASSERT_TRUE(Foreground(w.main));
    PressKey(VK_RETURN, false, true, true);
    EXPECT_EQ(RecordedArguments(WaitForRecord(record)), L"/p \"x y\"");
    EXPECT_TRUE(w.process.WaitForExit());
  }
}

// The command processor takes at most 8191 characters: a longer console line
// is refused before anything starts, and the text stays.
TEST(FirstDay, AConsoleLineLongerThanTheCommandProcessorTakesIsRefusedAndKept) {
  const std::wstring record = FreshRecordPath();
  const std::wstring line = Quoted(RecorderPath()) + L" " + std::wstring(9000, L'x');
  Window w(L"");
  ASSERT_TRUE(w.main);
  SetTextOf(w.text, line);
  ASSERT_TRUE(Foreground(w.main));
  PressKey(VK_RETURN, false, true);
  ExpectRefusedAndKept(w, line);
  EXPECT_TRUE(ChildProcesses(w.process.Id(), L"cmd.exe").empty()) << "nothing started";
  EXPECT_EQ(GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Shift+Enter: the command processor runs the line and stays open; the
// console it leaves behind is ended here by its process id.
TEST(FirstDay, ShiftEnterRunsTheLineInAConsoleThatStaysOpen) {
  const std::wstring record = FreshRecordPath();
  const std::wstring parameters = L"-a \"b c\" d";
  Window w(Quoted(RecorderPath()) + L" " + parameters);
  ASSERT_TRUE(w.main);
  ASSERT_TRUE(Foreground(w.main));
  PressKey(VK_RETURN, false, true);
  EXPECT_EQ(RecordedArguments(WaitForRecord(record)), parameters);
  ASSERT_TRUE(w.process.WaitForExit());
  std::vector<DWORD> consoles;
  EXPECT_TRUE(WaitUntil([&] { return !(consoles = ChildProcesses(w.process.Id(), L"cmd.exe")).empty(); }, 5000))
      << "the command processor is gone: /k keeps it";
  for (DWORD console : consoles) EndProcess(console);
}

TEST(FirstDay, ShiftAndCtrlShiftWorkOnAClickOnAusfuehrenToo) {
  for (bool ctrl : {false, true}) {
    SCOPED_TRACE(ctrl ? "Ctrl+Shift" : "Shift");
    const std::wstring record = FreshRecordPath();
    Window w(Quoted(RecorderPath()) + L" --click");
    ASSERT_TRUE(w.main);
    ASSERT_TRUE(Foreground(w.main));
    ClickWith(w.button, true, ctrl);
    EXPECT_EQ(RecordedArguments(WaitForRecord(record)), L"--click");
    ASSERT_TRUE(w.process.WaitForExit());
    const std::vector<DWORD> consoles = ChildProcesses(w.process.Id(), L"cmd.exe");
    EXPECT_EQ(consoles.empty(), ctrl) << "a console only for Shift alone";
    for (DWORD console : consoles) EndProcess(console);
  }
}

class ScriptedRegistration : public testing::Test {
 protected:
  void SetUp() override { ForgetVerbs(); }
  void TearDown() override { ForgetVerbs(); }

  // Runs Vorlind with the argument text until it ends; false if a window of
  // its own ever showed.
  static bool RunsWithoutAWindow(Process& vorlind) {
    bool windowSeen = false;
    WaitUntil([&] {
      windowSeen = windowSeen || !VisibleWindows(vorlind.Id()).empty();
      return !vorlind.Running();
    });
    return !windowSeen;
  }
};

// Exit code 2 says that the list held an entry Vorlind does not know; the
// known ones are registered all the same.
TEST_F(ScriptedRegistration, RegistersExactlyTheListedKnownTypesWithoutAWindow) {
  {
    Process vorlind(VorlindCommand(L"/registrieren:.LNK,.foo,.exe"));
    EXPECT_TRUE(RunsWithoutAWindow(vorlind));
    EXPECT_EQ(vorlind.ExitCode(), 2u);
  }
  const std::wstring command = Quoted(VorlindPath()) + L" \"%1\"";
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, VerbKey(L"lnkfile") + L"\\command"), command);
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, VerbKey(L"exefile") + L"\\command"), command);
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, L".exe"), L"exefile");
  for (const wchar_t* other : {L"comfile", L"batfile", L"piffile"})
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, VerbKey(other))) << other;

  ForgetVerbs();
  const std::wstring afterForgetting = AllTypes();
  Process unknown(VorlindCommand(L"/registrieren:.txt,exe"));
  EXPECT_TRUE(RunsWithoutAWindow(unknown));
  EXPECT_EQ(unknown.ExitCode(), 2u);
  EXPECT_EQ(AllTypes(), afterForgetting) << "unknown entries write nothing";

  // A script may quote the whole switch; all known: exit code 0.
  Process quoted(VorlindCommand(L" \"/registrieren:.bat, .PIF\" "));
  EXPECT_TRUE(RunsWithoutAWindow(quoted));
  EXPECT_EQ(quoted.ExitCode(), 0u);
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, VerbKey(L"batfile") + L"\\command"), command);
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, VerbKey(L"piffile") + L"\\command"), command);
}

TEST_F(ScriptedRegistration, AFailureShowsItsMessageWithOkOnlyAndEndsWithExitCodeOne) {
  VorlindCopy copy(kCyrillic, false, L"Vorlind.exe", SafeFolder());
  const std::wstring before = AllTypes();
  Process vorlind(Quoted(copy.Exe()) + L" /registrieren:.exe,.bat");
  HWND box = WaitForWindow(vorlind.Id(), L"Vorlind");
  ASSERT_TRUE(box) << "no message";
  const std::wstring message = MessageText(box);
  EXPECT_NE(message.find(L".exe, .bat"), std::wstring::npos) << message;
  EXPECT_NE(message.find(L"Codepage"), std::wstring::npos) << message;
  EXPECT_TRUE(GetDlgItem(box, IDOK));
  EXPECT_FALSE(GetDlgItem(box, IDYES)) << "never asks again: it cannot loop";
  ASSERT_TRUE(Foreground(box));
  PressKey(VK_RETURN);
  ASSERT_TRUE(vorlind.WaitForExit());
  EXPECT_EQ(vorlind.ExitCode(), 1u);
  EXPECT_EQ(AllTypes(), before) << "not one key of a half-made entry";
}

// All users: nothing, and the code page named as the cause. The user may
// register for their own account, which the wide functions store.
TEST(OptionsDialog, AFolderNameTheCodePageCannotHoldOffersTheEntryForTheUserAlone) {
  ForgetVerbs();
  VorlindCopy copy(kCyrillic, true, L"Vorlind.exe", SafeFolder());
  const std::wstring before = AllTypes();
  const std::wstring userKey = L"Software\\Classes\\SystemFileAssociations\\.exe\\shell\\Kommandozeile";
  RegDeleteTreeW(HKEY_CURRENT_USER, userKey.c_str());
  for (const wchar_t* choice : {L"Abbrechen", L"Nur für mich eintragen"}) {
    SCOPED_TRACE(choice);
    Process vorlind(Quoted(copy.Exe()) + L" x");
    const auto [dialog, box] = ApplyExe(vorlind);
    ASSERT_TRUE(box);
    const std::wstring message = MessageText(box);
    EXPECT_NE(message.find(L"Codepage"), std::wstring::npos) << message;
    EXPECT_NE(message.find(kCyrillic), std::wstring::npos) << message;
    EXPECT_EQ(message.find(L"erfordert"), std::wstring::npos) << "rights are not the problem: " << message;
    EXPECT_EQ(Choices(box), (std::vector<std::wstring>{L"Nur für mich eintragen", L"Abbrechen"}))
        << "for all users it would not help";
    ASSERT_TRUE(ClickChoice(box, choice));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
    EXPECT_EQ(AllTypes(), before);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, VerbKey(L"exefile")));
  }
  EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, userKey + L"\\command"), Quoted(copy.Exe()) + L" \"%1\"");
  RegDeleteTreeW(HKEY_CURRENT_USER, userKey.c_str());
}

// The removal file as the release archive holds it.
std::wstring RemovalFile() { return BinFolder() + L"\\..\\package\\Vorlind\\Entfernen.reg"; }

// The dump without the verb keys' blocks.
std::wstring WithoutVerbs(const std::wstring& dump) {
  std::wstring kept;
  bool skipping = false;
  for (std::size_t at = 0; at < dump.size();) {
    const std::size_t end = dump.find(L'\n', at);
    const std::wstring line = dump.substr(at, end - at + 1);
    at = end + 1;
    if (line.front() == L'[') {
      std::wstring lower = line;  // key names keep whatever case they were made with
      CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
      skipping = lower.find(L"\\shell\\kommandozeile]") != std::wstring::npos ||
                 lower.find(L"\\shell\\kommandozeile\\") != std::wstring::npos;
    }
    if (!skipping) kept += line;
  }
  return kept;
}

TEST(Removal, EntfernenRegRemovesTheFiveVerbsAndNothingElse) {
  ForgetVerbs();
  {
    Process vorlind(VorlindCommand(L"/registrieren:.exe,.com,.bat,.pif,.lnk"));
    ASSERT_TRUE(vorlind.WaitForExit());
    ASSERT_EQ(vorlind.ExitCode(), 0u);
  }
  // A verb of another program, and an open verb, must survive.
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"batfile\\Shell\\Fremd\\command", 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t foreign[] = L"fremd.exe \"%1\"";
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(foreign), sizeof foreign);
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"exefile\\Shell\\open\\command", 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  const std::wstring registered = AllTypes();
  for (const wchar_t* type : kFileTypes) ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, VerbKey(type))) << type;

  ASSERT_NE(GetFileAttributesW(RemovalFile().c_str()), INVALID_FILE_ATTRIBUTES);
  Process regedit(L"C:\\windows\\regedit.exe /s " + Quoted(RemovalFile()));
  ASSERT_TRUE(regedit.WaitForExit());
  for (const wchar_t* type : kFileTypes) EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, VerbKey(type))) << type;
  EXPECT_EQ(AllTypes(), WithoutVerbs(registered));
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, L"batfile\\Shell\\Fremd\\command"), foreign);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"batfile\\Shell\\Fremd");
}

}  // namespace
