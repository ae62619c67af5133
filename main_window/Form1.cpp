#include "main_window/Form1.h"

#include <array>

#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "main_window/DroppedPaths.h"
#include "main_window/resource.h"
#include "platform/processes/process.h"
#include "platform/processes/start_command.h"
#include "platform/registry_calls.h"

namespace main_window {

namespace {

using platform::Align;
using platform::Control;
using platform::ControlKind;
using platform::MenuEntry;

constexpr std::array kControls{
    Control{Form1::kLabel2, ControlKind::Label,
            L"Bitte geben Sie hinter dem Programmnamen die gewünschte Kommandozeile ein!", 120, 120, 5775, 255, 2},
    Control{Form1::kText1, ControlKind::TextBox, L"", 120, 480, 4455, 285, 0},
    Control{Form1::kCommand1, ControlKind::PushButton, L"&Ausführen", 4680, 420, 1215, 375, 1, &platform::kBoldFont},
};

constexpr std::array kMenu{
    MenuEntry{Form1::kMDatei, L"&Datei", 0},
    MenuEntry{Form1::kMOptionen, L"&Optionen", Form1::kMDatei},
    MenuEntry{Form1::kMVerlauf, L"&Verlauf löschen", Form1::kMDatei},
    MenuEntry{Form1::kMStrich1, platform::kSeparator, Form1::kMDatei},
    MenuEntry{Form1::kMBeenden, L"&Beenden", Form1::kMDatei},
    MenuEntry{Form1::kMInfo, L"&Info", 0},
    MenuEntry{Form1::kMUeber, L"Über &Vorlind", Form1::kMInfo},
};

constexpr platform::FormLayout kLayout{
    L"Kommandozeile", platform::Border::FixedSingle, 6015, 915, true, kIconProgram, kControls, kMenu, true};

constexpr int kEnter = 13;

}  // namespace

Form1& Form1::Instance() {
  static Form1& form = *new Form1;  // never destroyed: the program ends with ExitProcess
  return form;
}

Form1::Form1() : Form(kLayout) {}

// Of the remembered lines only those of the window's program are read.
void Form1::Form_Load() {
  const std::wstring argument = platform::OwnArgumentText();
  SetText(kText1, argument);
  recall_.program = platform::StartedProgram(*processes_, argument);
  recall_.lines = registry::ReadHistory(platform::SystemRegistry(), recall_.program);
}

void Form1::Click(int id) {
  switch (id) {
    case kCommand1: Command1_Click(); break;
    case kMOptionen: MOptionen_Click(); break;
    case kMVerlauf: MVerlauf_Click(); break;
    case kMBeenden: MBeenden_Click(); break;
    case kMUeber: MUeber_Click(); break;
  }
}

void Form1::KeyPress(int id, int& keyAscii) {
  if (id == kText1) Text1_KeyPress(keyAscii);
}

void Form1::KeyDown(int id, int& keyCode, int shift) {
  if (id == kText1) Text1_KeyDown(keyCode, shift);
}

void Form1::CloseBox() { MBeenden_Click(); }

void Form1::FilesDropped(const std::vector<std::wstring>& paths) { Form_OLEDragDrop(paths); }

void Form1::SuggestionRemoved(int id, const std::wstring& line) {
  if (id != kText1) return;
  recall_.lines = registry::Without(recall_.lines, line);
  Forget(line);
}

// Dropped files and folders go into the text where the caret is, quoted where
// needed, and the caret goes behind them.
void Form1::Form_OLEDragDrop(const std::vector<std::wstring>& paths) {
  // Not the shell's: nothing goes in, and nothing is said. Unknown counts as elevated.
  if (!AcceptableDrop(paths, processes_->Elevated().value_or(true))) return;
  const auto [start, end] = Selection(kText1);
  const Insertion inserted =
      InsertDroppedPaths(Text(kText1), static_cast<std::size_t>(start), static_cast<std::size_t>(end), paths);
  SetText(kText1, inserted.text);
  SetFocusTo(kText1);
  SetSelection(kText1, static_cast<int>(inserted.caret), static_cast<int>(inserted.caret));
}

void Form1::UseProcessCalls(platform::ProcessCalls& calls) { processes_ = &calls; }

// Shift starts the line in a console that stays open, Ctrl+Shift as
// administrator; alone, Enter and the button start it with %NAME% expanded.
// Once it runs the window goes at once, and the line is remembered (as
// typed) while nobody waits for it.
void Form1::Command1_Click() {
  const std::wstring commandLine = Text(kText1);
  const int shift = platform::ShiftState();
  const platform::StartMode mode =
      platform::StartModeFor((shift & platform::kShiftKey) != 0, (shift & platform::kCtrlKey) != 0);
  const auto failure = platform::StartCommandLine(*processes_, commandLine, mode, Window());
  if (!failure) {
    Hide();
    registry::RememberLine(platform::SystemRegistry(), platform::StartedProgram(*processes_, commandLine), commandLine);
    platform::EndNow();
  }
  if (failure->Declined()) return;  // the user said no to the consent prompt
  // The user's text is kept: a typing error must not cost the whole line.
  MsgBox(platform::FailureMessage(commandLine, *failure), true);
  SetFocusTo(kText1);
}

void Form1::Text1_KeyPress(int& keyAscii) {
  if (keyAscii != kEnter) return;
  keyAscii = 0;  // handled: after a failed start it must not reach the text box and beep
  Command1_Click();
}

// Ctrl+Shift+Enter types no character, so it is seen as a key. Up and Down
// alone walk the earlier lines, and Shift+Del takes the one shown out; Tab
// and Shift+Tab complete a path where one completes; the first key that may
// change the text brings the suggestions.
void Form1::Text1_KeyDown(int& keyCode, int shift) {
  if (keyCode == kEnter) {
    if (shift != (platform::kShiftKey | platform::kCtrlKey)) return;
    keyCode = 0;
    Command1_Click();
  } else if ((keyCode == platform::kKeyUp || keyCode == platform::kKeyDown) && shift == 0) {
    std::wstring text = Text(kText1);
    if (RecallStep(recall_, keyCode == platform::kKeyUp, text)) {
      SetText(kText1, text);
      SetFocusTo(kText1);  // the caret behind the text
    }
    keyCode = 0;
  } else if (keyCode == platform::kKeyDelete && shift == platform::kShiftKey && Text1_RemoveRecalled()) {
    keyCode = 0;
  } else if (keyCode == platform::kKeyTab) {
    if ((shift | platform::kShiftKey) == platform::kShiftKey &&
        completion_.Step(*this, kText1, shift != 0, *processes_))
      keyCode = 0;
  } else if (!suggesting_ && platform::ChangesText(keyCode)) {
    suggesting_ = true;
    Suggest(kText1, recall_.lines);
  }
}

// Only a line brought back and left as it is, with nothing selected: with a
// selection Shift+Del cuts, as always.
bool Form1::Text1_RemoveRecalled() {
  const auto [start, end] = Selection(kText1);
  const std::wstring line = Text(kText1);
  std::wstring_view shown;
  if (start != end || !RecallRemove(recall_, line, shown)) return false;
  Forget(line);
  SetText(kText1, shown);
  SetFocusTo(kText1);  // the caret behind the text
  return true;
}

// Forgets a line of the window's program: stored at once, and no longer offered.
void Form1::Forget(const std::wstring& line) {
  registry::ForgetLine(platform::SystemRegistry(), recall_.program, line);
  if (suggesting_) Suggest(kText1, recall_.lines);
}

void Form1::MOptionen_Click() { dialogs::Form2::Instance().Show(platform::kModal); }

// Forgets every remembered line at once; the text stays as it is.
void Form1::MVerlauf_Click() {
  registry::ForgetHistory(platform::SystemRegistry());
  recall_.lines.clear();
  recall_.at = 0;
  Suggest(kText1, recall_.lines);
}

void Form1::MUeber_Click() { dialogs::Form3::Instance().Show(platform::kModal); }

void Form1::MBeenden_Click() { platform::EndNow(); }

}  // namespace main_window
