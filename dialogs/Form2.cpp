#include "dialogs/Form2.h"

#include <array>
#include <vector>

#include "dialogs/PlaceOverMain.h"
#include "built_link_label.h"
#include "registration/FolderSafety.h"
#include "registration/Installation.h"
#include "registration/RegistrationRequest.h"
#include "platform/task_dialog.h"
#include "platform/text.h"

namespace dialogs {

namespace {

using platform::Control;
using platform::ControlKind;
using platform::Filled;
using platform::Joined;
using platform::kBoldFont;
using platform::Widened;
using registration::Cause;
using registration::CauseOf;
using registration::CheckPlace;
using registration::Place;
using registration::RegistrationFailure;
using registration::Scope;

constexpr std::array kControls{
    Control{Form2::kCheck1, ControlKind::CheckBox, L"Zu .&exe-Dateien ins Kontextmenü", 120, 120, 3210, 255, 0,
            &kBoldFont},
    Control{Form2::kCheck2, ControlKind::CheckBox, L"Zu .&com-Dateien ins Kontextmenü", 120, 480, 3210, 255, 1,
            &kBoldFont},
    Control{Form2::kCheck3, ControlKind::CheckBox, L"Zu .&bat-Dateien ins Kontextmenü", 120, 840, 3210, 255, 2,
            &kBoldFont},
    Control{Form2::kCheck5, ControlKind::CheckBox, L"Zu .&pif-Dateien ins Kontextmenü", 120, 1200, 3210, 255, 6,
            &kBoldFont},
    Control{Form2::kCheck4, ControlKind::CheckBox, L"Zu .&lnk-Dateien ins Kontextmenü", 120, 1560, 3210, 255, 3,
            &kBoldFont},
    Control{Form2::kCommand1, ControlKind::PushButton, L"&Abbrechen", 120, 1980, 1455, 375, 4},
    Control{Form2::kCommand2, ControlKind::PushButton, L"Ü&bernehmen", 1860, 1980, 1455, 375, 5},
};

constexpr platform::FormLayout kLayout{
    L"Dateitypen registrieren", platform::Border::FixedDialog, 3450, 2475, false, 0, kControls};

constexpr int kTicked = 1;

constexpr const char* kWithConsent = "\nMit Administratorrechten, nach einer Rückfrage von Windows.";

}  // namespace

Form2& Form2::Instance() {
  static Form2& form = *new Form2;  // never destroyed: the program ends with ExitProcess
  return form;
}

Form2::Form2() : Form(kLayout) {}

void Form2::UsePlatform(platform::RegistryCalls& registry, platform::ProcessCalls& processes,
                        platform::FileCalls& files) {
  registry_ = &registry;
  processes_ = &processes;
  files_ = &files;
}

void Form2::Form_Load() { PlaceOverMain(*this); }

void Form2::Click(int id) {
  switch (id) {
    case kCommand1: Command1_Click(); break;
    case kCommand2: Command2_Click(); break;
  }
}

void Form2::Command1_Click() { Hide(); }

void Form2::Command2_Click() {
  const Rows ticked =
      TickedRows(registration::FileTypes(), [this](int box) { return Value(kCheck1 - 1 + box) == kTicked; });
  if (!ticked.empty()) RegisterForAllUsers(ticked);
  Hide();
}

// For all users only from a place nobody but administrators may change.
// Where that is refused, or the registry refuses it, the user may choose the
// consent prompt or the entry for their own account alone, where that place
// is safe for them.
void Form2::RegisterForAllUsers(const Rows& rows) {
  const std::optional<bool> elevated = processes_->Elevated();
  const Place all = CheckPlace(*processes_, Scope::AllUsers);
  if (all.refusal) {
    const Place mine = CheckPlace(*processes_, Scope::CurrentUser);
    const Place& refused = mine.refusal ? mine : all;
    const Scope scope = mine.refusal ? Scope::CurrentUser : Scope::AllUsers;
    // The elevated copy starts from where this program lies: where another
    // account may change that place, it could put its own program there for
    // the administrator to consent to. From there only a process elevated
    // already copies for all users (it copies the file it runs from).
    Offer(RegistrationFailure(CauseOf(*refused.refusal, scope), rows, refused.program, refused.path, elevated,
                              !mine.refusal),
          rows, true, !mine.refusal || elevated.value_or(false));
    return;
  }
  const std::wstring command = registration::VerbCommand(all.program);
  const Rows failed = registration::RegisterRows(rows, command, *registry_);
  if (failed.empty()) return;
  const Cause cause = registration::CommandStorable(command, *registry_) ? Cause::Refused : Cause::FolderName;
  Offer(RegistrationFailure(cause, failed, all.program, L"", elevated, true), failed);
}

// Where Vorlind may not be registered from where it lies, it offers to copy
// itself to its install folder and register from there.
void Form2::Offer(const FailureReport& report, const Rows& rows, bool copyForMe, bool copyForAll) {
  const std::optional<std::wstring> machine = copyForAll ? files_->InstallFolder(false) : std::nullopt;
  const std::optional<std::wstring> own = copyForMe ? files_->InstallFolder(true) : std::nullopt;
  if (!report.AsksAChoice() && !machine && !own) {
    MsgBox(report.MessageText(), true);
    return;
  }
  const std::wstring forAllText = Joined({"Für alle Benutzer eintragen", kWithConsent});
  const std::wstring copyForAllText =
      Filled("Nach \1 kopieren und für alle Benutzer eintragen\2", {machine.value_or(L""), kWithConsent});
  const std::wstring copyForMeText =
      Filled("In meinen Programmordner kopieren und nur für mich eintragen\nOhne Administratorrechte, nach \1.",
             {own.value_or(L"")});
  const std::wstring forMeText =
      Widened("Nur für mich eintragen\nOhne Administratorrechte; der Eintrag gilt nur für Ihr Benutzerkonto.");
  platform::Choice choices[platform::kMostChoices]{};
  std::size_t count = 0;
  if (report.offerAllUsers) choices[count++] = {kForAllUsers, forAllText.c_str(), true};
  if (machine) choices[count++] = {kCopyForAllUsers, copyForAllText.c_str(), true};
  if (own) choices[count++] = {kCopyForMe, copyForMeText.c_str()};
  if (report.offerForMe) choices[count++] = {kForMe, forMeText.c_str()};
  choices[count++] = {platform::kChoiceCancelled, L"Abbrechen"};  // at most four: copies come only without the first
  switch (platform::AskChoice(Window(), report.headline, report.text, std::span(choices, count), kForMe)) {
    case kForAllUsers: RegisterElevated(rows); break;
    case kForMe: RegisterForMe(rows); break;
    case kCopyForAllUsers: CopyAndRegister(rows, false); break;
    case kCopyForMe: CopyAndRegister(rows, true); break;
  }
}

// In this process, never in an elevated copy: elevated with another
// account's password, the current user would be that account.
void Form2::RegisterForMe(const Rows& rows) {
  ReportFailure(registration::RegisterAsRequested({true, rows, false}, *registry_, *processes_));
}

// Tells what failed, if anything; true when something did.
bool Form2::ReportFailure(const registration::Outcome& outcome) {
  if (outcome.failure) MsgBox(outcome.failure->MessageText(), true);
  return outcome.failure.has_value();
}

// A copy of this program, started through the consent prompt, does the work
// without a window or a message of its own; this dialog waits for it,
// disabled. False when it did not run (declined, or reported here). An end
// that could not be waited for leaves no exit code: no success to claim.
bool Form2::RunElevated(const std::wstring& parameters, std::optional<unsigned long>& exitCode) {
  const unsigned long code = processes_->RunElevated(processes_->ProgramFile(), parameters, Window(), exitCode);
  if (code == platform::kErrorCancelled) return false;  // the user said no to the consent prompt
  if (code != 0)
    MsgBox(Filled("Vorlind konnte nicht als Administrator gestartet werden:\n\n\1", {processes_->ErrorText(code)}),
           true);
  return code == 0;
}

void Form2::RegisterElevated(const Rows& rows) {
  std::optional<unsigned long> exitCode;
  if (RunElevated(registration::RegistrationRequest(rows), exitCode) && exitCode != 0ul)
    MsgBox(registration::ElevatedCopyFailed(exitCode), true);
}

// For all users through an elevated copy, unless this process is elevated
// already; for the current user always here. Afterwards the dialog says
// where Vorlind now lies.
void Form2::CopyAndRegister(const Rows& rows, bool forUser) {
  const std::optional<std::wstring> folder = files_->InstallFolder(forUser);
  if (!folder) return;
  if (!forUser && !processes_->Elevated().value_or(false)) {
    std::optional<unsigned long> exitCode;
    if (!RunElevated(Filled("\1 \2", {registration::kQuietSwitch, registration::InstallRequest(rows)}), exitCode))
      return;
    if (exitCode != 0ul) {
      MsgBox(registration::ElevatedCopyFailed(exitCode, *folder), true);
      return;
    }
  } else {
    if (ReportFailure(registration::InstallAsRequested({forUser, rows, false, true}, *registry_, *processes_, *files_,
                                                       registration::kBuiltLinkLabelSha256)))
      return;
  }
  MsgBox(registration::Installed(*folder, registration::FolderOf(processes_->ProgramFile())), false);
}

}  // namespace dialogs
