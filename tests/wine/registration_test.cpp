// Registration for the current user and the folder rule, end to end: the
// real program writes the real registry of the Wine prefix. Wine's
// HKEY_CLASSES_ROOT does not merge the user's classes, so the per-user keys
// are read back under HKEY_CURRENT_USER directly.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver.h"
#include "registry_dump.h"

using namespace driver;

namespace {

const wchar_t* const kExtensions[] = {L".exe", L".com", L".bat", L".pif", L".lnk"};
const wchar_t* const kFileTypes[] = {L"exefile", L"comfile", L"batfile", L"piffile", L"lnkfile"};
const std::wstring kUserClasses = L"Software\\Classes";

std::wstring UserVerb(const std::wstring& extension) {
  return kUserClasses + L"\\SystemFileAssociations\\" + extension + L"\\shell\\Kommandozeile";
}

// Everything the machine's classes hold of the five types.
std::wstring MachineClasses() {
  std::wstring dump;
  for (int i = 0; i < 5; ++i)
    dump += DumpTree(HKEY_LOCAL_MACHINE, kUserClasses + L"\\" + kExtensions[i]) +
            DumpTree(HKEY_LOCAL_MACHINE, kUserClasses + L"\\" + kFileTypes[i]);
  return dump;
}

void Forget() {
  for (const wchar_t* extension : kExtensions) RegDeleteTreeW(HKEY_CURRENT_USER, UserVerb(extension).c_str());
  for (const wchar_t* type : kFileTypes)
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(type) + L"\\Shell\\Kommandozeile").c_str());
}

class Registration : public testing::Test {
 protected:
  void SetUp() override { Forget(); }
  void TearDown() override { Forget(); }
};

// Runs Vorlind until it ends; its exit code, or 99 when a window showed.
DWORD ExitCodeWithoutAWindow(const std::wstring& commandLine) {
  Process vorlind(commandLine);
  bool windowSeen = false;
  WaitUntil([&] {
    windowSeen = windowSeen || !VisibleWindows(vorlind.Id()).empty();
    return !vorlind.Running();
  });
  return windowSeen ? 99 : vorlind.ExitCode();
}

TEST_F(Registration, ForTheUserWritesOnlyTheUsersVerbsAndNothingOfTheMachines) {
  const std::wstring machine = MachineClasses();
  EXPECT_EQ(ExitCodeWithoutAWindow(VorlindCommand(L"/registrieren-benutzer:.exe,.LNK")), 0u);
  const std::wstring command = Quoted(VorlindPath()) + L" \"%1\"";
  EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, UserVerb(L".exe") + L"\\command"), command);
  EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, UserVerb(L".lnk") + L"\\command"), command);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, UserVerb(L".com")));
  EXPECT_EQ(MachineClasses(), machine) << "nothing for all users";
  // A user's key of the extension or the file type would hide the machine's.
  for (const wchar_t* name : {L".exe", L".lnk", L"exefile", L"lnkfile"})
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserClasses + L"\\" + name)) << name;

  // Quoted as a whole; an unknown entry answers 2 and the rest is registered.
  EXPECT_EQ(ExitCodeWithoutAWindow(VorlindCommand(L"\"/registrieren-benutzer:.bat,.txt\"")), 2u);
  EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, UserVerb(L".bat") + L"\\command"), command);
}

// A copy saved under another name registers itself, not a "Vorlind.exe".
TEST_F(Registration, TheCommandNamesTheRunningFileUnderItsOwnName) {
  VorlindCopy copy(L"geladen", true, L"Vorlind (1).exe", SafeFolder());
  EXPECT_EQ(ExitCodeWithoutAWindow(Quoted(copy.Exe()) + L" /registrieren:.exe"), 0u);
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, L"exefile\\Shell\\Kommandozeile\\command"),
            Quoted(copy.Folder() + L"\\Vorlind (1).exe") + L" \"%1\"");
  EXPECT_EQ(ExitCodeWithoutAWindow(Quoted(copy.Exe()) + L" /registrieren-benutzer:.exe"), 0u);
  EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, UserVerb(L".exe") + L"\\command"),
            Quoted(copy.Folder() + L"\\Vorlind (1).exe") + L" \"%1\"");
}

std::wstring UserProgramFolder();
void Uninstall(const std::wstring& folder);

// From a folder everyone may change (Unix mode 0777 under Wine) nothing is
// registered, for all users or for the user: scripted, exit code 3 after the
// message; in the dialog, a message naming the folder and where to put
// Vorlind instead, and only the copies to its install folders as ways on.
TEST_F(Registration, NeverFromAFolderOthersCanChange) {
  VorlindCopy copy(L"offen", true, L"Vorlind.exe", SafeFolder());
  ASSERT_TRUE(copy.OpenToEveryone());
  const std::wstring machine = MachineClasses();
  {
    Process vorlind(Quoted(copy.Exe()) + L" /registrieren-benutzer:.exe,.lnk");
    HWND box = WaitForWindow(vorlind.Id(), L"Vorlind");
    ASSERT_TRUE(box) << "no message";
    const std::wstring message = MessageText(box);
    EXPECT_NE(message.find(copy.Folder()), std::wstring::npos) << message;
    EXPECT_NE(message.find(L"C:\\Program Files\\Vorlind"), std::wstring::npos) << message;
    ASSERT_TRUE(Foreground(box));
    PressKey(VK_RETURN);
    ASSERT_TRUE(vorlind.WaitForExit());
    EXPECT_EQ(vorlind.ExitCode(), 3u);
  }
  Process vorlind(Quoted(copy.Exe()) + L" x");
  const auto [dialog, box] = ApplyExe(vorlind);
  ASSERT_TRUE(box);
  EXPECT_NE(MessageText(box).find(copy.Folder()), std::wstring::npos) << MessageText(box);
  EXPECT_NE(MessageText(box).find(L"Benutzerprofil"), std::wstring::npos) << MessageText(box);
  const wchar_t* copyForMe = L"In meinen Programmordner kopieren und nur für mich eintragen";
  EXPECT_EQ(Choices(box), (std::vector<std::wstring>{L"Nach C:\\Program Files\\Vorlind kopieren und für alle "
                                                     L"Benutzer eintragen",
                                                     copyForMe, L"Abbrechen"}))
      << "no \"Nur für mich eintragen\"";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, UserVerb(L".exe")));
  // One choice, and Vorlind lies where only the user may change it.
  ASSERT_TRUE(ClickChoice(box, copyForMe));
  HWND done = WaitForWindow(vorlind.Id(), L"Vorlind");
  ASSERT_TRUE(done);
  const std::wstring installed = UserProgramFolder();
  EXPECT_NE(MessageText(done).find(installed), std::wstring::npos) << MessageText(done);
  ASSERT_TRUE(Foreground(done));
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
  EXPECT_EQ(MachineClasses(), machine);
  EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, UserVerb(L".exe") + L"\\command"),
            Quoted(installed + L"\\Vorlind.exe") + L" \"%1\"");
  Uninstall(installed);
}

ULONGLONG SizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// Places whose path someone may redirect later, made on the Unix side: the
// elevated copy's switch keeps it quiet, so the exit code alone answers.
TEST_F(Registration, RefusedWhereThePathCanBeRedirected) {
  const std::wstring base = SafeFolder();
  const std::wstring unixBase = UnixPathOf(base);
  const std::wstring unixProgram = L"'" + UnixPathOf(VorlindPath().substr(0, VorlindPath().rfind(L'\\'))) + L"'";
  struct Case {
    const wchar_t* what;
    std::wstring make;  // Unix shell commands
    std::wstring program;
    DWORD forAll, forUser;
  } cases[] = {
      {L"locked down inside a folder everyone may change",
       L"mkdir -p " + unixBase + L"/alle/v && chmod 0777 " + unixBase + L"/alle && cp " + unixProgram + L"/*.??? " +
           unixBase + L"/alle/v && chmod 0755 " + unixBase + L"/alle/v",
       base + L"\\alle\\v\\Vorlind.exe", 3, 3},
      {L"a symbolic link on the way", L"ln -sfn " + unixProgram + L" " + unixBase + L"/verweis",
       base + L"\\verweis\\Vorlind.exe", 3, 3},
      {L"a % in the path", L"mkdir -p " + unixBase + L"/a%b && cp " + unixProgram + L"/*.??? " + unixBase + L"/a%b",
       base + L"\\a%b\\Vorlind.exe", 3, 3},
      {L"LinkLabel.dll a symbolic link",
       L"mkdir -p " + unixBase + L"/dll-verweis && cp " + unixProgram + L"/Vorlind.exe " + unixBase +
           L"/dll-verweis && ln -sfn " + unixProgram + L"/LinkLabel.dll " + unixBase + L"/dll-verweis/LinkLabel.dll",
       base + L"\\dll-verweis\\Vorlind.exe", 3, 3},
      // Drive S: of the test prefix is a removable drive.
      {L"a removable drive", L"cp " + unixProgram + L"/*.??? \"$WINEPREFIX/dosdevices/s:/\"", L"S:\\Vorlind.exe", 3, 0},
  };
  const std::wstring machine = MachineClasses();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(UnixShell(c.make));
    ASSERT_TRUE(WaitUntil([&] { return SizeOf(c.program) == SizeOf(VorlindPath()); })) << "copied in full";
    if (c.program[0] == L'S') {
      ASSERT_TRUE(WaitUntil([] { return GetDriveTypeW(L"S:\\") == DRIVE_REMOVABLE; }));
    }
    EXPECT_EQ(ExitCodeWithoutAWindow(Quoted(c.program) + L" /ohne-meldung /registrieren:.exe"), c.forAll);
    EXPECT_EQ(ExitCodeWithoutAWindow(Quoted(c.program) + L" /ohne-meldung /registrieren-benutzer:.exe"), c.forUser);
    EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, UserVerb(L".exe")), c.forUser == 0);
    Forget();
  }
  EXPECT_EQ(MachineClasses(), machine) << "nothing for all users";
  UnixShell(L"rm -rf \"$WINEPREFIX\"/dosdevices/s:/* " + unixBase + L"/alle " + unixBase + L"/verweis " + unixBase +
            L"/a%b " + unixBase + L"/dll-verweis");
}

std::wstring UserProgramFolder() {
  wchar_t local[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
  return std::wstring(local) + L"\\Programs\\Vorlind";
}

std::string Contents(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<none>";
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

void Uninstall(const std::wstring& folder) {
  for (const wchar_t* name : {L"\\Vorlind.exe", L"\\LinkLabel.dll"}) DeleteFileW((folder + name).c_str());
  RemoveDirectoryW(folder.c_str());
}

// Unpacked into a folder everyone may change (mode 0777 under Wine), Vorlind
// copies itself into the user's program folder and registers that copy; a
// LinkLabel.dll beside it that is not the one it was built with refuses the
// copy: nothing copied, nothing registered.
TEST_F(Registration, InstallsForTheUserOnlyTheFilesBuiltTogetherIntoTheUsersProgramFolder) {
  const std::wstring installed = UserProgramFolder();
  Uninstall(installed);
  {
    VorlindCopy copy(L"manipuliert");
    ASSERT_TRUE(copy.OpenToEveryone());
    WriteFileText(copy.Folder() + L"\\LinkLabel.dll", "MZ, nicht die gebaute");
    Process vorlind(Quoted(copy.Exe()) + L" /installieren-benutzer:.exe");
    HWND box = WaitForWindow(vorlind.Id(), L"Vorlind");
    ASSERT_TRUE(box) << "no message";
    EXPECT_NE(MessageText(box).find(copy.Folder() + L"\\LinkLabel.dll"), std::wstring::npos) << MessageText(box);
    ASSERT_TRUE(Foreground(box));
    PressKey(VK_RETURN);
    ASSERT_TRUE(vorlind.WaitForExit());
    EXPECT_EQ(vorlind.ExitCode(), 3u);
    EXPECT_EQ(GetFileAttributesW(installed.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing copied";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, UserVerb(L".exe"))) << "nothing registered";
  }
  VorlindCopy copy(L"entpackt");
  ASSERT_TRUE(copy.OpenToEveryone());
  EXPECT_EQ(ExitCodeWithoutAWindow(Quoted(copy.Exe()) + L" /installieren-benutzer:.exe"), 0u);
  EXPECT_EQ(Contents(installed + L"\\Vorlind.exe"), Contents(copy.Exe()));
  EXPECT_EQ(Contents(installed + L"\\LinkLabel.dll"), Contents(copy.Folder() + L"\\LinkLabel.dll"));
  EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, UserVerb(L".exe") + L"\\command"),
            Quoted(installed + L"\\Vorlind.exe") + L" \"%1\"");
  Uninstall(installed);
}

// Refused as the program folder above is open to everyone.
TEST_F(Registration, AFolderMadeForARefusedCopyIsRemoved) {
  const std::wstring installed = UserProgramFolder();
  Uninstall(installed);
  VorlindCopy programs(L"Programs", false, L"Vorlind.exe", installed.substr(0, installed.rfind(L"\\Programs")));
  ASSERT_TRUE(programs.OpenToEveryone());
  EXPECT_EQ(ExitCodeWithoutAWindow(VorlindCommand(L"/ohne-meldung /installieren-benutzer:.exe")), 3u);
  EXPECT_EQ(GetFileAttributesW(installed.c_str()), INVALID_FILE_ATTRIBUTES);
  Uninstall(installed);  // so that the open folder goes too
}

// Entfernen-Benutzer.reg as the release archive holds it.
TEST_F(Registration, EntfernenBenutzerRegRemovesTheUsersFiveVerbsAndHistoryAndNothingElse) {
  ASSERT_EQ(ExitCodeWithoutAWindow(VorlindCommand(L"/registrieren-benutzer:.exe,.com,.bat,.pif,.lnk")), 0u);
  ASSERT_EQ(ExitCodeWithoutAWindow(VorlindCommand(L"/registrieren:.exe")), 0u);
  HKEY key;
  const std::wstring foreign = kUserClasses + L"\\SystemFileAssociations\\.exe\\shell\\Fremd\\command";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, foreign.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  for (const wchar_t* extension : kExtensions) ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, UserVerb(extension)));
  // Where an earlier version's all-users entry could land through the merged view.
  const std::wstring stray = kUserClasses + L"\\exefile\\shell\\Kommandozeile\\command";
  RegSetKeyValueW(HKEY_CURRENT_USER, stray.c_str(), nullptr, REG_SZ, L"x", 4);
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Vorlind\\Verlauf", L"C:\\x.exe", REG_MULTI_SZ, L"x\0", 6);
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\VorlindNachbar", L"x", REG_SZ, L"", 2);

  const std::wstring file = BinFolder() + L"\\..\\package\\Vorlind\\Entfernen-Benutzer.reg";
  Process regedit(L"C:\\windows\\regedit.exe /s " + Quoted(file));
  ASSERT_TRUE(regedit.WaitForExit());
  for (const wchar_t* extension : kExtensions) EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, UserVerb(extension)));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, foreign)) << "another program's verb stays";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserClasses + L"\\exefile\\shell\\Kommandozeile"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"exefile\\Shell\\Kommandozeile")) << "the machine's entry stays";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Vorlind")) << "the remembered command lines go";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\VorlindNachbar")) << "a key named alike stays";
  RegDeleteTreeW(HKEY_CURRENT_USER, (kUserClasses + L"\\SystemFileAssociations\\.exe\\shell\\Fremd").c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VorlindNachbar");
  RegDeleteTreeW(HKEY_CURRENT_USER, (kUserClasses + L"\\exefile").c_str());
}

}  // namespace
