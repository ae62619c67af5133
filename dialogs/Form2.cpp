#include "dialogs/Form2.h"

#include <array>
#include <vector>

#include "dialogs/PlaceOverMain.h"
#include "dialogs/FileTypes.h"
#include "main_window/Form1.h"
#include "platform/process.h"

namespace dialogs {

namespace {

using platform::Control;
using platform::ControlKind;
using platform::kBoldFont;

constexpr std::array kControls{
    Control{Form2::kCheck1, ControlKind::CheckBox, L"Zu .&exe-Dateien ins Kontextmenü", 120, 120, 3210, 255, 0, &kBoldFont},
    Control{Form2::kCheck2, ControlKind::CheckBox, L"Zu .&com-Dateien ins Kontextmenü", 120, 480, 3210, 255, 1, &kBoldFont},
    Control{Form2::kCheck3, ControlKind::CheckBox, L"Zu .&bat-Dateien ins Kontextmenü", 120, 840, 3210, 255, 2, &kBoldFont},
    Control{Form2::kCheck5, ControlKind::CheckBox, L"Zu .&pif-Dateien ins Kontextmenü", 120, 1200, 3210, 255, 6, &kBoldFont},
    Control{Form2::kCheck4, ControlKind::CheckBox, L"Zu .&lnk-Dateien ins Kontextmenü", 120, 1560, 3210, 255, 3, &kBoldFont},
    Control{Form2::kCommand1, ControlKind::PushButton, L"&Abbrechen", 120, 1980, 1455, 375, 4},
    Control{Form2::kCommand2, ControlKind::PushButton, L"Ü&bernehmen", 1860, 1980, 1455, 375, 5},
};

constexpr platform::FormLayout kLayout{
    L"Dateitypen registrieren", platform::Border::FixedDialog, 3450, 2475, false, 0, kControls};

// In the order the apply button handles them.
const std::vector<FileTypeRow> kFileTypes{
    {Form2::kCheck1, L".exe", L"exefile"}, {Form2::kCheck2, L".com", L"comfile"},
    {Form2::kCheck3, L".bat", L"batfile"}, {Form2::kCheck5, L".pif", L"piffile"},
    {Form2::kCheck4, L".lnk", L"lnkfile"},
};

constexpr int kTicked = 1;

}  // namespace

Form2& Form2::Instance() {
  static Form2 form;
  return form;
}

Form2::Form2() : Form(kLayout) { SetOwner(&main_window::Form1::Instance()); }

void Form2::Form_Load() { PlaceOverMain(*this); }

void Form2::Click(int id) {
  switch (id) {
    case kCommand1: Command1_Click(); break;
    case kCommand2: Command2_Click(); break;
  }
}

void Form2::Command1_Click() { Hide(); }

void Form2::Command2_Click() {
  const std::vector<std::wstring> failed =
      RegisterTicked(kFileTypes, [this](int checkBox) { return Value(checkBox) == kTicked; },
                     platform::ProgramFolder(), platform::SystemRegistry());
  if (!failed.empty()) MsgBox(FailureMessage(failed), true);
  Hide();
}

}  // namespace dialogs
