#include "main_window/Form1.h"

#include <array>

#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "main_window/resource.h"
#include "platform/process.h"

namespace main_window {

namespace {

using platform::Align;
using platform::Control;
using platform::ControlKind;
using platform::MenuEntry;

constexpr std::array kControls{
    Control{Form1::kLabel2, ControlKind::Label,
            L"Bitte geben Sie hinter dem Programmnamen die gewünschte Kommandozeile ein!",
            120, 120, 5775, 255, 2},
    Control{Form1::kText1, ControlKind::TextBox, L"", 120, 480, 4455, 285, 0},
    Control{Form1::kCommand1, ControlKind::PushButton, L"&Ausführen", 4680, 420, 1215, 375, 1,
            &platform::kBoldFont},
};

constexpr std::array kMenu{
    MenuEntry{Form1::kMDatei, L"&Datei", 0},
    MenuEntry{Form1::kMOptionen, L"&Optionen", Form1::kMDatei},
    MenuEntry{Form1::kMStrich1, platform::kSeparator, Form1::kMDatei},
    MenuEntry{Form1::kMBeenden, L"&Beenden", Form1::kMDatei},
    MenuEntry{Form1::kMInfo, L"&Info", 0},
    MenuEntry{Form1::kMUeber, L"Über &Vorlind", Form1::kMInfo},
};

constexpr platform::FormLayout kLayout{
    L"Kommandozeile", platform::Border::FixedSingle, 6015, 915, true, kIconProgram, kControls, kMenu};

constexpr int kEnter = 13;

}  // namespace

Form1& Form1::Instance() {
  static Form1 form;
  return form;
}

Form1::Form1() : Form(kLayout) {}

void Form1::Form_Load() { SetText(kText1, platform::OwnArgumentText()); }

void Form1::Click(int id) {
  switch (id) {
    case kCommand1: Command1_Click(); break;
    case kMOptionen: MOptionen_Click(); break;
    case kMBeenden: MBeenden_Click(); break;
    case kMUeber: MUeber_Click(); break;
  }
}

void Form1::KeyPress(int id, int& keyAscii) {
  if (id == kText1) Text1_KeyPress(keyAscii);
}

void Form1::CloseBox() { MBeenden_Click(); }

void Form1::Command1_Click() {
  const std::wstring commandLine = Text(kText1);
  if (const auto failure = platform::StartCommandLine(commandLine)) {
    // The user's text is kept: a typing error must not cost the whole line.
    MsgBox(L"Die Kommandozeile konnte nicht ausgeführt werden:\n\n" + commandLine + L"\n\n" + failure->reason,
           true);
    SetFocusTo(kText1);
    return;
  }
  platform::EndNow();
}

void Form1::Text1_KeyPress(int& keyAscii) {
  if (keyAscii == kEnter) Command1_Click();
}

void Form1::MOptionen_Click() { dialogs::Form2::Instance().Show(platform::kModal); }

void Form1::MUeber_Click() { dialogs::Form3::Instance().Show(platform::kModal); }

void Form1::MBeenden_Click() { platform::EndNow(); }

}  // namespace main_window
