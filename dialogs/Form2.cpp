#include "dialogs/Form2.h"

#include <array>
#include <vector>

#include "dialogs/PlaceOverMain.h"
#include "dialogs/FileTypes.h"
#include "dialogs/RegistrationRequest.h"
#include "platform/processes/process.h"

namespace dialogs {

namespace {

using platform::Control;
using platform::ControlKind;
using platform::kBoldFont;

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

}  // namespace

Form2& Form2::Instance() {
  static Form2 form;
  return form;
}

Form2::Form2() : Form(kLayout) {}

const std::vector<FileTypeRow>& Form2::FileTypes() {
  static const std::vector<FileTypeRow> rows{
      {kCheck1, L".exe", L"exefile"}, {kCheck2, L".com", L"comfile"}, {kCheck3, L".bat", L"batfile"},
      {kCheck5, L".pif", L"piffile"}, {kCheck4, L".lnk", L"lnkfile"},
  };
  return rows;
}

void Form2::UsePlatform(platform::RegistryCalls& registry, platform::ProcessCalls& processes) {
  registry_ = &registry;
  processes_ = &processes;
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
  const std::wstring folder = platform::ProgramFolder();
  const std::vector<std::wstring> failed = RegisterTicked(
      FileTypes(), [this](int checkBox) { return Value(checkBox) == kTicked; }, folder, *registry_);
  if (!failed.empty()) ReportFailure(failed, folder);
  Hide();
}

// Without administrator rights the user may try again elevated: a copy of
// this program, started through the consent prompt, registers the failed
// types without a window of its own.
void Form2::ReportFailure(const std::vector<std::wstring>& failed, const std::wstring& folder) {
  const FailureReport report =
      RegistrationFailure(failed, folder, FolderStorable(folder, *registry_), processes_->Elevated(), true);
  if (!report.askToElevate) {
    MsgBox(report.text, true);
    return;
  }
  if (!AskYesNo(report.text)) return;
  const unsigned long code =
      processes_->ShellStart(L"runas", processes_->ProgramFile(), RegistrationRequest(failed), Window());
  if (code != 0 && code != platform::kErrorCancelled)
    MsgBox(L"Vorlind konnte nicht als Administrator gestartet werden:\n\n" + processes_->ErrorText(code), true);
}

}  // namespace dialogs
