#include "registration/RegistrationRequest.h"

#include <gtest/gtest.h>

#include "registration/FolderSafety.h"
#include "fake_processes.h"
#include "fake_registry.h"

namespace {

using registration::Cause;

const registration::Rows kRows{{1, L".exe", L"exefile"},
                               {2, L".com", L"comfile"},
                               {3, L".bat", L"batfile"},
                               {5, L".pif", L"piffile"},
                               {4, L".lnk", L"lnkfile"}};

// The listed rows' check boxes, in the order the rows came back.
std::vector<int> Boxes(const registration::Request& request) {
  std::vector<int> boxes;
  for (const auto& row : request.rows) boxes.push_back(row.checkBox);
  return boxes;
}

TEST(ParseRequest, ReadsBothSwitchesQuotedOrNotAndFlagsUnknownEntries) {
  const std::wstring request = registration::RegistrationRequest({kRows[1], kRows[3]});
  EXPECT_EQ(request, L"/ohne-meldung /registrieren:.com,.pif") << "the dialog reports the exit code itself";
  struct Case {
    std::wstring text;
    bool forUser;
    std::vector<int> boxes;
    bool unknown;
    bool quiet = false;
  } cases[] = {
      {request, false, {2, 5}, false, true},
      {L"/Ohne-Meldung  /registrieren-benutzer:.exe", true, {1}, false, true},
      // In the table's order, each once, whatever the list's order and case.
      {L"/registrieren:.pif,.bat,.com,.exe", false, {1, 2, 3, 5}, false},
      {L"/REGISTRIEREN:.LNK, .Exe ,.lnk", false, {1, 4}, false},
      {L"/registrieren-benutzer:.exe,.lnk", true, {1, 4}, false},
      // Quoted as a whole, or with blanks around it, as scripts hand it over.
      {L"\"/registrieren-benutzer:.exe, .lnk\"", true, {1, 4}, false},
      {L"  \t/registrieren:.bat  ", false, {3}, false},
      {L" \"/registrieren:.bat\" ", false, {3}, false},
      // Unknown entries are flagged; the known ones are still listed.
      {L"/registrieren:.LNK, .foo,,exe", false, {4}, true},
      {L"/registrieren:.txt", false, {}, true},
      {L"/registrieren:", false, {}, true},
      {L"/registrieren-benutzer: , ", true, {}, true},
      {L"/registrieren:.exe,", false, {1}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    const auto parsed = registration::ParseRequest(kRows, c.text);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(registration::IsRegistrationRequest(c.text));
    EXPECT_EQ(parsed->forUser, c.forUser);
    EXPECT_EQ(Boxes(*parsed), c.boxes);
    EXPECT_EQ(parsed->unknownEntries, c.unknown);
    EXPECT_EQ(parsed->quiet, c.quiet);
  }
  // What the shell hands over never begins with "/".
  for (const wchar_t* text : {LR"("D:\registrieren:.exe")", L"registrieren:.exe", L"", L"/registriere",
                              L"/registrieren-benutzer", L"\"\"", L"x /registrieren:.exe"}) {
    EXPECT_FALSE(registration::ParseRequest(kRows, text)) << testing::PrintToString(std::wstring(text));
  }
}

TEST(RegistrationFailure, OffersEachWayOnlyWhereItCanHelpAndMayBeAsked) {
  const registration::Rows failed{kRows[1], kRows[3]};
  const std::wstring program = LR"(C:\Tools\Vorlind.exe)";
  const std::optional<bool> no = false, yes = true, unknown;
  struct Case {
    Cause cause;
    std::optional<bool> elevated;
    bool mayAsk;
    bool allUsers, forMe;
  } cases[] = {
      // The dialog, not elevated: the consent prompt or the entry for oneself.
      {Cause::Refused, no, true, true, true},
      // Elevated already, or unknown: nothing to offer, a message.
      {Cause::Refused, yes, true, false, false},
      {Cause::Refused, unknown, true, false, false},
      // The code page or an unsafe folder: for oneself only, elevated or not.
      {Cause::FolderName, no, true, false, true},
      {Cause::FolderName, yes, true, false, true},
      {Cause::UnsafeFolder, no, true, false, true},
      {Cause::UnsafeFolder, yes, true, false, true},
      // The elevated copy and scripts never ask.
      {Cause::Refused, no, false, false, false},
      {Cause::UnsafeFolder, no, false, false, false},
      {Cause::FolderName, no, false, false, false},
      {Cause::RefusedForUser, no, true, false, false},
      // A place refused: for oneself only where the caller found it safe for them.
      {Cause::NotFixedDisk, no, true, false, true},
      {Cause::UnsafeForUser, no, true, false, false},
      {Cause::Redirected, no, true, false, false},
      {Cause::Percent, no, true, false, false},
      {Cause::ReparsePoint, no, true, false, false},
      {Cause::LowIntegrity, no, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.cause) << " elevated=" << c.elevated.value_or(-1)
                                    << " mayAsk=" << c.mayAsk);
    const auto report =
        registration::RegistrationFailure(c.cause, failed, program, LR"(C:\Tools)", c.elevated, c.mayAsk);
    EXPECT_EQ(report.offerAllUsers, c.allUsers);
    EXPECT_EQ(report.offerForMe, c.forMe);
    const std::wstring text = report.MessageText();
    if (c.cause == Cause::Refused || c.cause == Cause::FolderName || c.cause == Cause::RefusedForUser) {
      EXPECT_NE(text.find(L".com, .pif"), std::wstring::npos) << text;
    }
    // Only a process that is not elevated is told to start as administrator.
    EXPECT_EQ(text.find(L"Starten Sie Vorlind als Administrator") != std::wstring::npos,
              c.cause == Cause::Refused && !c.allUsers && c.elevated != yes)
        << text;
  }
}

TEST(RegistrationFailure, NamesTheCauseOfEachKind) {
  const std::wstring cyrillic = L"C:\\\u041f\u0440\u043e\\Vorlind (1).exe";
  const auto folderName = registration::RegistrationFailure(Cause::FolderName, {kRows[0]}, cyrillic, L"", false, false);
  EXPECT_NE(folderName.text.find(L"C:\\\u041f\u0440\u043e"), std::wstring::npos);
  EXPECT_NE(folderName.text.find(L"Codepage"), std::wstring::npos);
  EXPECT_EQ(folderName.text.find(L"Administrator"), std::wstring::npos) << "rights are not the problem";

  const auto unsafe = registration::RegistrationFailure(Cause::UnsafeFolder, {kRows[0]}, LR"(C:\Tools\Vorlind (1).exe)",
                                                        LR"(C:\Tools\LinkLabel.dll)", true, true);
  for (const wchar_t* part :
       {LR"(C:\Tools)", LR"(C:\Tools\LinkLabel.dll)", L"Vorlind (1).exe", LR"(C:\Program Files\Vorlind)"})
    EXPECT_NE(unsafe.text.find(part), std::wstring::npos) << part;

  const auto redirected = registration::RegistrationFailure(Cause::Redirected, {kRows[0]}, LR"(C:\Real\Vorlind.exe)",
                                                            LR"(C:\Link\Vorlind.exe)", true, true);
  for (const wchar_t* part : {LR"(C:\Real\Vorlind.exe)", LR"(C:\Link\Vorlind.exe)"})
    EXPECT_NE(redirected.text.find(part), std::wstring::npos) << part;
  const auto forUser = registration::RegistrationFailure(Cause::UnsafeForUser, {kRows[0]},
                                                         LR"(C:\Users\Public\Vorlind.exe)", LR"(C:\Users)", true, true);
  for (const wchar_t* part : {LR"(C:\Users\Public)", LR"(C:\Users)", L"Benutzerprofil", LR"(C:\Program Files\Vorlind)"})
    EXPECT_NE(forUser.text.find(part), std::wstring::npos) << part;

  EXPECT_NE(registration::ElevatedCopyFailed(3).find(L"(Exitcode 3)"), std::wstring::npos);
  EXPECT_NE(registration::ElevatedCopyFailed(1).find(L"HKEY_LOCAL_MACHINE\\Software\\Classes"), std::wstring::npos);
  EXPECT_NE(registration::ElevatedCopyFailed(3221225477ul).find(L"(Exitcode 3221225477)"), std::wstring::npos);
}

// Access lists as Windows and Wine give them, and who may change the object.
TEST(OthersMayChange, AnyChangeRightOfAnUntrustedAccountOrOwnerMakesItUnsafe) {
  const std::wstring user = L"S-1-5-21-1-2-3-1001";
  const platform::AccessEntry admins{L"S-1-5-32-544", 0x1F01FF, true}, system{L"S-1-5-18", 0x1F01FF, true},
      usersRead{L"S-1-5-32-545", 0x1200A9, true};
  struct Case {
    const char* what;
    platform::FileAccess access;
    bool administrator;
    bool unsafe;
  } cases[] = {
      {"Program Files", {L"S-1-5-32-544", {admins, system, usersRead}}, false, false},
      {"Wine 0755", {user, {{user, 0x1F01FF, true}, system, {L"S-1-1-0", 0x1200A9, true}}}, true, false},
      {"Wine 0777", {user, {{user, 0x1F01FF, true}, system, {L"S-1-1-0", 0x1301FF, true}}}, true, true},
      {"the user's own folder, no administrator", {user, {{user, 0x1F01FF, true}, admins}}, false, true},
      {"the user's own folder, an administrator", {user, {{user, 0x1F01FF, true}, admins}}, true, false},
      {"Authenticated Users may modify", {L"S-1-5-32-544", {admins, {L"S-1-5-11", 0x1301BF, true}}}, false, true},
      {"Users may append only", {L"S-1-5-32-544", {admins, {L"S-1-5-32-545", 0x4, true}}}, false, true},
      {"generic write", {L"S-1-5-32-544", {admins, {L"S-1-5-32-545", 0x40000000, true}}}, false, true},
      {"take ownership", {L"S-1-5-32-544", {admins, {L"S-1-5-32-545", 0x80000, true}}}, false, true},
      {"write attributes only", {L"S-1-5-32-544", {admins, {L"S-1-5-32-545", 0x1201A9, true}}}, false, false},
      {"a denial does not make it safe",
       {L"S-1-5-32-544", {{L"S-1-1-0", 0x2, false}, {L"S-1-1-0", 0x2, true}, admins}},
       false,
       true},
      {"an untrusted owner may change the permissions", {L"S-1-5-21-9-9-9-1002", {admins}}, false, true},
      {"OWNER RIGHTS of a trusted owner", {L"S-1-5-32-544", {admins, {L"S-1-3-4", 0x1F01FF, true}}}, false, false},
      {"unless OWNER RIGHTS says otherwise",
       {L"S-1-5-21-9-9-9-1002", {admins, {L"S-1-3-4", 0x20000, true}}},
       false,
       false},
      {"TrustedInstaller",
       {L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
        {{L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", 0x1F01FF, true}, usersRead}},
       false,
       false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(registration::OthersMayChange(c.access, registration::TrustedUser(user, c.administrator)), c.unsafe)
        << c.what;
  }
}

// Where the program lies, what is checked on the way, and who is trusted.
TEST(CheckPlace, TheWholePathForEachScope) {
  const std::wstring user = FakeProcesses().userSid;
  const platform::FileAccess open{L"S-1-5-32-544", {{L"S-1-1-0", 0x1301FF, true}}},
      createOnly{L"S-1-5-32-544", {{L"S-1-5-11", 0x4 | 0x2 | 0x1200A9, true}}},
      mayRename{L"S-1-5-32-544", {{L"S-1-5-11", 0x10000, true}}}, owned{user, {{user, 0x1F01FF, true}}},
      low{L"S-1-5-32-544", {}, true, 0x1000};
  using R = registration::Refusal;
  const auto all = registration::Scope::AllUsers, mine = registration::Scope::CurrentUser;
  struct Case {
    const char* what;
    std::wstring program;
    registration::Scope scope;
    std::map<std::wstring, std::optional<platform::FileAccess>> access;
    std::optional<R> refusal;
    std::wstring path;
    std::optional<std::wstring> final = std::nullopt;
    std::optional<bool> administrator = true;
    unsigned driveType = 3;
    unsigned bus = 0;          // of the volume, with the drive type
    std::wstring volume = {};  // where that volume is mounted: the program's drive unless given
    std::map<std::wstring, std::optional<bool>> reparse = {};
    std::map<std::wstring, unsigned long> unresolved = {};  // FinalPath's errors
    std::map<std::wstring, std::wstring> linked = {};       // FinalPath's answers
  } cases[] = {
      // clang-format off
      {"Program Files", LR"(C:\Program Files\Vorlind\Vorlind.exe)", all, {}, {}, {}},
      {"the folder", LR"(C:\Tools\Vorlind.exe)", all, {{LR"(C:\Tools)", open}}, R::Unsafe, LR"(C:\Tools)"},
      {"the program", LR"(C:\T\Vorlind (1).exe)", all, {{LR"(C:\T\Vorlind (1).exe)", open}}, R::Unsafe, LR"(C:\T\Vorlind (1).exe)"},
      {"the control", LR"(D:\Vorlind.exe)", all, {{LR"(D:\LinkLabel.dll)", open}}, R::Unsafe, LR"(D:\LinkLabel.dll)"},
      {"no control: the folder's matter", LR"(C:\T\Vorlind.exe)", all, {{LR"(C:\T\LinkLabel.dll)", platform::FileAccess{{}, {}, false}}}, {}, {}},
      {"unreadable: unsafe", LR"(C:\T\Vorlind.exe)", all, {{LR"(C:\T\LinkLabel.dll)", std::nullopt}}, R::Unsafe, LR"(C:\T\LinkLabel.dll)"},
      {"a folder above others may rename", LR"(C:\Tools\Vorlind\Vorlind.exe)", all, {{LR"(C:\Tools)", mayRename}}, R::Unsafe, LR"(C:\Tools)"},
      {"the root above", LR"(C:\Tools\Vorlind\Vorlind.exe)", all, {{LR"(C:\)", open}}, R::Unsafe, LR"(C:\)"},
      {"a share's root above", LR"(\\srv\apps\V\Vorlind.exe)", mine, {{LR"(\\srv\apps\)", open}}, R::Unsafe, LR"(\\srv\apps\)"},
      {"creating in a folder above is allowed", LR"(C:\Tools\Vorlind\Vorlind.exe)", all, {{LR"(C:\Tools)", createOnly}}, {}, {}},
      {"but not in the program's folder", LR"(C:\Tools\Vorlind.exe)", all, {{LR"(C:\Tools)", createOnly}}, R::Unsafe, LR"(C:\Tools)"},
      {"own folder, administrator", LR"(C:\Own\Vorlind.exe)", all, {{LR"(C:\Own)", owned}}, {}, {}},
      {"own folder, no administrator", LR"(C:\Own\Vorlind.exe)", all, {{LR"(C:\Own)", owned}}, R::Unsafe, LR"(C:\Own)", std::nullopt, false},
      {"own folder, for oneself", LR"(C:\Own\Vorlind.exe)", mine, {{LR"(C:\Own)", owned}}, {}, {}, std::nullopt, false},
      {"Public, for oneself", LR"(C:\Users\Public\Vorlind.exe)", mine, {{LR"(C:\Users\Public)", open}}, R::Unsafe, LR"(C:\Users\Public)"},
      {"letter case and short names", LR"(C:\PROGRA~1\Vorlind\vorlind.exe)", all, {}, {}, {}, LR"(C:\Program Files\Vorlind\Vorlind.exe)"},
      {"a link on the way", LR"(C:\Link\Vorlind.exe)", mine, {}, R::Redirected, LR"(C:\Link\Vorlind.exe)", LR"(C:\Real\Vorlind.exe)"},
      {"a substituted drive", LR"(S:\Vorlind.exe)", all, {}, R::Redirected, LR"(S:\Vorlind.exe)", LR"(C:\Program Files\Vorlind\Vorlind.exe)"},
      {"a %", LR"(C:\100%\Vorlind.exe)", mine, {}, R::Percent, LR"(C:\100%\Vorlind.exe)"},
      {"a removable drive", LR"(E:\Vorlind.exe)", all, {}, R::NotFixedDisk, LR"(E:\)", std::nullopt, true, 2},
      {"a removable drive, for oneself", LR"(E:\Vorlind.exe)", mine, {}, {}, {}, std::nullopt, true, 2},
      {"a share", LR"(\\srv\apps\Vorlind.exe)", all, {}, R::NotFixedDisk, LR"(\\srv\apps)", std::nullopt, true, 4},
      {"a USB disk counted as fixed", LR"(E:\V\Vorlind.exe)", all, {}, R::NotFixedDisk, LR"(E:\V)", {}, true, 3, 7},
      {"the system's own disk on MMC (eMMC)", LR"(C:\Program Files\V\Vorlind.exe)", all, {}, {}, {}, {}, true, 3, 13},
      {"the volume mounted in a folder is asked", LR"(C:\Mnt\V\Vorlind.exe)", all, {}, R::NotFixedDisk, LR"(C:\Mnt\V)", {}, true, 2, 0, LR"(C:\Mnt\)"},
      {"a mount point above", LR"(C:\Mnt\V\Vorlind.exe)", all, {}, R::ReparsePoint, LR"(C:\Mnt)", {}, true, 3, 0, {}, {{LR"(C:\Mnt)", true}}},
      {"a cloud file, for oneself", LR"(C:\OneDrive\Vorlind.exe)", mine, {}, R::ReparsePoint, LR"(C:\OneDrive\Vorlind.exe)", {}, true, 3, 0, {}, {{LR"(C:\OneDrive\Vorlind.exe)", true}}},
      {"an entry that cannot be examined", LR"(C:\T\Vorlind.exe)", all, {}, R::Unsafe, LR"(C:\T)", {}, true, 3, 0, {}, {{LR"(C:\T)", std::nullopt}}},
      {"the control a link", LR"(C:\T\Vorlind.exe)", mine, {}, R::ReparsePoint, LR"(C:\T\LinkLabel.dll)", {}, true, 3, 0, {}, {}, {}, {{LR"(C:\T\LinkLabel.dll)", LR"(D:\LinkLabel.dll)"}}},
      {"the control a dangling link", LR"(C:\T\Vorlind.exe)", mine, {}, R::ReparsePoint, LR"(C:\T\LinkLabel.dll)", {}, true, 3, 0, {}, {{LR"(C:\T\LinkLabel.dll)", true}}, {{LR"(C:\T\LinkLabel.dll)", 2}}},
      {"the program unresolved", LR"(C:\T\Vorlind.exe)", mine, {}, R::Unsafe, LR"(C:\T\Vorlind.exe)", {}, true, 3, 0, {}, {}, {{LR"(C:\T\Vorlind.exe)", 5}}},
      {"not there yet", LR"(C:\T\Vorlind.exe)", all, {}, {}, {}, {}, true, 3, 0, {}, {}, {{LR"(C:\T\Vorlind.exe)", 2}}},
      {"a low label above, for oneself", LR"(C:\Low\T\Vorlind.exe)", mine, {{LR"(C:\Low)", low}}, R::LowIntegrity, LR"(C:\Low)"},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeProcesses fake;
    fake.access = c.access;
    fake.administrator = c.administrator;
    const std::wstring volume = c.volume.empty() ? c.program.substr(0, 3) : c.volume;
    fake.driveTypes[volume] = c.driveType;
    fake.buses[volume] = c.bus;
    fake.reparsePoints = c.reparse;
    fake.finalPathErrors = c.unresolved;
    fake.finalPaths.insert(c.linked.begin(), c.linked.end());
    fake.programFile = c.program;
    if (c.final) fake.finalPaths[c.program] = c.final;
    if (c.program.find(L'~') != std::wstring::npos)
      fake.longPaths[c.program] = LR"(C:\Program Files\Vorlind\vorlind.exe)";
    const registration::Place place = registration::CheckPlace(fake, c.scope);
    EXPECT_EQ(place.program, c.final.value_or(c.program));
    EXPECT_EQ(place.refusal, c.refusal);
    EXPECT_EQ(place.path, c.path);
  }
}

// The scripted registration: what it writes and the exit code that answers.
TEST(RegisterAsRequested, ExitCodesAndWhatIsWritten) {
  const platform::FileAccess open{L"S-1-5-32-544", {{L"S-1-1-0", 0x1301FF, true}}};
  const std::wstring folder = LR"(C:\Program Files\Vorlind)";
  struct Case {
    const wchar_t* text;
    bool unsafeFolder;
    const char* failWhen;
    int exitCode;
    bool message;
    int verbsForAll, verbsForUser;
  } cases[] = {
      {L"/registrieren:.exe,.lnk", false, "", 0, false, 2, 0},
      {L"/registrieren:.exe,.foo", false, "", 2, false, 1, 0},
      {L"/registrieren:", false, "", 2, false, 0, 0},
      {L"/registrieren:.exe,.com", false, "create 0x80000002 Software\\Classes\\comfile", 1, true, 1, 0},
      {L"/registrieren:.exe,.com,.foo", false, "create 0x80000002 Software\\Classes\\comfile", 1, true, 1, 0},
      {L"/registrieren:.exe,.foo", true, "", 3, true, 0, 0},
      {L"/registrieren-benutzer:.exe,.lnk", true, "", 3, true, 0, 0},
      {L"/registrieren-benutzer:.exe,.lnk,bat", false, "", 2, false, 0, 2},
      {L"/registrieren-benutzer:.exe,.lnk", false, "createW 0x80000001 Software\\Classes\\SystemFileAssociations\\.lnk",
       1, true, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(FakeRegistry::Utf8(c.text));
    FakeRegistry registry;
    registry.failWhen = c.failWhen;
    FakeProcesses processes;
    if (c.unsafeFolder) processes.access[folder] = open;
    const auto request = registration::ParseRequest(kRows, c.text);
    ASSERT_TRUE(request);
    const registration::Outcome outcome = registration::RegisterAsRequested(*request, registry, processes);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
    EXPECT_EQ(outcome.failure.has_value(), c.message);
    if (outcome.failure) {
      EXPECT_FALSE(outcome.failure->AsksAChoice());
    }
    int forAll = 0, forUser = 0;
    for (const std::string& line : registry.calls) {
      forAll += line.rfind("set ", 0) == 0 && line.find("\\command ") != std::string::npos;
      forUser += line.rfind("setW ", 0) == 0;
    }
    EXPECT_EQ(forAll, c.verbsForAll);
    EXPECT_EQ(forUser, c.verbsForUser);
    if (c.exitCode == 3) {
      EXPECT_TRUE(registry.calls.empty()) << "refused: nothing written";
    }
  }
}

}  // namespace
