// The options dialog's ways on after a failed or refused registration, with
// the real forms and the real task dialog, and what Wine cannot bring: a
// process that is not elevated (Wine runs everything elevated), a declined
// consent prompt, an elevated copy's exit code, a non-interactive session.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "answers.h"
#include "dialogs/Form2.h"
#include "registration/ScriptedRegistration.h"
#include "fake_processes.h"
#include "fake_registry.h"
#include "main_window/Form1.h"

namespace {

using dialogs::Form2;
using Lines = std::vector<std::wstring>;

const std::wstring kProgram = FakeProcesses().ProgramFile();

void CALLBACK TickAndApply(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND dialog = Form2::Instance().Window();
  for (int box : {Form2::kCheck1, Form2::kCheck2, Form2::kCheck5})
    SendMessageW(GetDlgItem(dialog, box), BM_SETCHECK, BST_CHECKED, 0);
  PostMessageW(GetDlgItem(dialog, Form2::kCommand2), BM_CLICK, 0, 0);
}

// Ticks .exe, .com and .pif and presses "Ü&bernehmen" from inside the modal
// showing; for all users, .com and .pif fail as if access were denied.
struct Registering {
  FakeRegistry registry;
  FakeProcesses processes;
  Answers answers;

  explicit Registering(std::vector<int> buttons, std::optional<bool> elevated = false) {
    registry.failWhenAny = {"create 0x80000002 Software\\Classes\\.com", "create 0x80000002 Software\\Classes\\.pif"};
    processes.elevated = elevated;
    answers.buttons = std::move(buttons);
  }
  void Apply() {
    main_window::Form1::Instance().Show();
    Form2::Instance().UsePlatform(registry, processes);
    {
      Answering answering(answers);
      SetTimer(nullptr, 0, 0, TickAndApply);
      Form2::Instance().Show(platform::kModal);
    }
    Form2::Instance().UsePlatform(platform::SystemRegistry(), platform::SystemProcesses());
    EXPECT_FALSE(IsWindowVisible(Form2::Instance().Window())) << "the dialog hides as before";
  }
  int UserVerbsWritten() const {
    int n = 0;
    for (const std::string& line : registry.calls) n += line.rfind("setW ", 0) == 0;
    return n;
  }
};

TEST(RegistrationChoice, NotElevatedTheTaskDialogOffersAllUsersOnlyMeOrCancel) {
  Registering all({Form2::kForAllUsers});
  all.Apply();
  EXPECT_EQ(all.answers.seen, 1);
  EXPECT_EQ(all.answers.offered, (std::vector<int>{Form2::kForAllUsers, Form2::kForMe, IDCANCEL}));
  EXPECT_NE(all.answers.text.find(L".com, .pif"), std::wstring::npos) << all.answers.text;
  EXPECT_EQ(all.processes.starts,
            Lines{L"elevated and waited for " + kProgram + L"|/ohne-meldung /registrieren:.com,.pif"});
  EXPECT_EQ(all.processes.lastOwner, Form2::Instance().Window()) << "the dialog is disabled while it waits";

  Registering me({Form2::kForMe});
  me.Apply();
  EXPECT_TRUE(me.processes.starts.empty()) << "never an elevated copy: its user could be another";
  EXPECT_EQ(me.UserVerbsWritten(), 2);
  EXPECT_EQ(me.registry.WideText(platform::kCurrentUser,
                                 L"Software\\Classes\\SystemFileAssociations\\.pif\\shell\\Kommandozeile\\command"),
            L"\"" + kProgram + L"\" \"%1\"");
  EXPECT_EQ(me.answers.seen, 1) << "no message after success";

  Registering cancel({IDCANCEL});
  cancel.Apply();
  EXPECT_TRUE(cancel.processes.starts.empty());
  EXPECT_EQ(cancel.UserVerbsWritten(), 0);
}

TEST(RegistrationChoice, TheElevatedCopysFailureIsReportedAndADeclinedPromptIsNot) {
  Registering failed({Form2::kForAllUsers});
  failed.processes.exitCode = 1;
  failed.Apply();
  EXPECT_EQ(failed.answers.seen, 2);
  EXPECT_NE(failed.answers.text.find(L"(Exitcode 1)"), std::wstring::npos) << failed.answers.text;
  EXPECT_EQ(failed.answers.offered, std::vector<int>{IDOK});

  Registering declined({Form2::kForAllUsers});
  declined.processes.shellResult = platform::kErrorCancelled;
  declined.Apply();
  EXPECT_EQ(declined.answers.seen, 1);

  Registering unstartable({Form2::kForAllUsers});
  unstartable.processes.shellResult = 5;
  unstartable.Apply();
  EXPECT_EQ(unstartable.answers.seen, 2);
  EXPECT_NE(unstartable.answers.text.find(L"error 5"), std::wstring::npos) << unstartable.answers.text;
}

TEST(RegistrationChoice, ElevatedOrUnknownAMessageWithOkOnly) {
  for (std::optional<bool> elevated : {std::optional<bool>(true), std::optional<bool>()}) {
    Registering run({Form2::kForAllUsers}, elevated);
    run.Apply();
    EXPECT_EQ(run.answers.seen, 1);
    EXPECT_EQ(run.answers.offered, std::vector<int>{IDOK});
    EXPECT_TRUE(run.processes.starts.empty());
    EXPECT_EQ(run.answers.text.find(L"Starten Sie Vorlind als Administrator") == std::wstring::npos,
              elevated.has_value())
        << "an administrator is not told to become one";
  }
}

// A folder of the user's own, who is no administrator: the same answer
// elevated or not (an elevatable token is no membership).
TEST(RegistrationChoice, FromAFolderOthersCanChangeNothingForAllUsersIsEvenTried) {
  for (std::optional<bool> elevated : {std::optional<bool>(false), std::optional<bool>(true)}) {
    Registering run({Form2::kForMe}, elevated);
    run.processes.administrator = false;
    run.processes.access[LR"(C:\Program Files\Vorlind)"] =
        platform::FileAccess{run.processes.userSid, {{run.processes.userSid, 0x1F01FF, true}}};
    run.Apply();
    EXPECT_EQ(run.answers.offered,
              (std::vector<int>{Form2::kCopyForAllUsers, Form2::kCopyForMe, Form2::kForMe, IDCANCEL}));
    EXPECT_NE(run.answers.text.find(LR"(C:\Program Files\Vorlind)"), std::wstring::npos) << run.answers.text;
    for (const std::string& line : run.registry.calls) EXPECT_EQ(line.find("0x80000002"), std::string::npos) << line;
    EXPECT_EQ(run.UserVerbsWritten(), 3) << "all ticked types, for the user";
  }
  // Not elevated, the copy for all users is an elevated copy's, quiet.
  Registering copy({Form2::kCopyForAllUsers, IDOK});
  copy.processes.administrator = false;
  copy.processes.access[LR"(C:\Program Files\Vorlind)"] =
      platform::FileAccess{copy.processes.userSid, {{copy.processes.userSid, 0x1F01FF, true}}};
  copy.Apply();
  EXPECT_EQ(copy.processes.starts,
            Lines{L"elevated and waited for " + kProgram + L"|/ohne-meldung /installieren:.exe,.com,.pif"});
  EXPECT_EQ(copy.answers.seen, 2) << "and then where Vorlind lies now";
  copy.processes.exitCode = std::nullopt;
  copy.answers.seen = 0;
  copy.Apply();
  EXPECT_NE(copy.answers.text.find(L"ist nicht bekannt"), std::wstring::npos) << "never \"installed\"";
}

// The real wait: the started program runs while this thread's messages are
// handled (a timer fires) and the owner stays disabled; then its exit code.
HWND g_owner = nullptr;
int g_ticks = 0;
bool g_disabledMeanwhile = false;

void CALLBACK WhileWaiting(HWND, UINT, UINT_PTR timer, DWORD) {
  ++g_ticks;
  g_disabledMeanwhile = g_disabledMeanwhile || !IsWindowEnabled(g_owner);
  if (g_ticks == 3) KillTimer(nullptr, timer);
}

TEST(RegistrationChoice, WaitingForTheElevatedCopyKeepsTheOwnerDisabledAndItsThreadAlive) {
  g_owner = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                            nullptr, nullptr);
  SetTimer(nullptr, 0, 20, WhileWaiting);
  std::optional<unsigned long> exitCode;
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
  // ping waits about a second between its two echoes.
  EXPECT_EQ(platform::SystemProcesses().RunElevated(cmd, L"/c ping -n 2 127.0.0.1 >nul & exit 7", g_owner, exitCode),
            0u);
  EXPECT_EQ(exitCode, 7u);
  EXPECT_GE(g_ticks, 3) << "messages were handled while waiting";
  EXPECT_TRUE(g_disabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(g_owner)) << "enabled again afterwards";
  // The program closing meanwhile: no exit code, and the quit left for the event loop.
  SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR timer, DWORD) { KillTimer(nullptr, timer), PostQuitMessage(5); });
  EXPECT_EQ(platform::SystemProcesses().RunElevated(cmd, L"/c ping -n 2 127.0.0.1 >nul", g_owner, exitCode), 0u);
  EXPECT_FALSE(exitCode.has_value());
  MSG quit{};
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  DestroyWindow(g_owner);
}

// A deployment running as SYSTEM has nobody to close a message.
TEST(ScriptedRegistration, AMessageOnlyWhereSomeoneCanSeeIt) {
  for (bool interactive : {false, true}) {
    FakeRegistry registry;
    registry.failWhen = "create 0x80000002 Software\\Classes\\.com";
    FakeProcesses processes;
    processes.interactive = interactive;
    Answers answers;
    int exitCode = 0;
    {
      Answering answering(answers);
      exitCode = registration::RunScripted(L"/registrieren:.com", registry, processes, platform::SystemFiles(), {})
                     .value_or(-1);
    }
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(answers.seen, interactive ? 1 : 0);
  }
}

}  // namespace
