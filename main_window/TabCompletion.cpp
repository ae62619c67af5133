#include "main_window/TabCompletion.h"

#include <utility>

#include "platform/files/folder_names.h"
#include "platform/forms/background_work.h"
#include "platform/processes/start_command.h"
#include "registry/History.h"

namespace main_window {

namespace {

using Waited = platform::BackgroundWork::Waited;

constexpr std::size_t kMostNames = 1000;
// How long the window waits for a folder before Tab moves the focus after all.
constexpr unsigned kPatience = 300;  // ms

}  // namespace

// Finds the path and reads its folder. Everything it uses is its own: the
// window may have stopped waiting for it long ago.
class TabCompletion::Lookup final : public platform::BackgroundWork {
 public:
  Lookup(platform::ProcessCalls& calls, std::wstring text, std::size_t caret)
      : line(std::move(text)), calls_(calls), caret_(caret) {}

  void Run() override {
    // The program part as process creation finds it, files looked up.
    auto found = PathAt(line, caret_, line.size() - platform::FindProgram(calls_, line).rest.size());
    const auto folder = found ? FolderToList(calls_, *found) : std::nullopt;
    if (!folder) return;
    spot = std::move(*found);
    // Elevated, and where that is unknown, no name that the command
    // processor would expand, as with dropped names.
    const bool elevated = calls_.Elevated().value_or(true);
    names = platform::NamesBeginningWith(*folder, spot.Prefix(), elevated ? L"%!" : L"", kMostNames);
  }

  PathSpot spot;
  std::wstring names;       // each followed by a zero
  const std::wstring line;  // as it stood before the round

 private:
  platform::ProcessCalls& calls_;  // the system's, which any thread may call
  const std::size_t caret_;
};

bool TabCompletion::Step(platform::Form& form, int textBox, bool back, platform::ProcessCalls& calls) {
  const std::wstring text = form.Text(textBox);
  const auto [start, end] = form.Selection(textBox);
  if (start != end) return false;
  const auto caret = static_cast<std::size_t>(end);
  if (count_ > 0 && text == shown_ && caret == caret_) {
    at_ = (at_ + (back ? count_ - 1 : 1)) % count_;
  } else {
    // A key typed meanwhile: the Tab is swallowed, so that the key goes
    // into the text box rather than to „Ausführen“.
    const Waited looked = LookUp(text, caret, calls);
    if (looked != Waited::Finished) return looked == Waited::KeyPressed;
    at_ = back ? count_ - 1 : 0;
  }
  std::wstring_view name;
  for (std::size_t from = 0, n = 0; n <= at_; ++n) registry::NextLine(found_->names, from, name);
  Completion completed = Completed(found_->line, found_->spot, name);
  // The one name there is, typed in full already (a path just dropped):
  // the key moves on rather than stay caught here.
  if (count_ == 1 && completed.text == text) return false;
  form.SetText(textBox, completed.text);
  form.SetSelection(textBox, static_cast<int>(completed.caret), static_cast<int>(completed.caret));
  shown_ = std::move(completed.text);
  caret_ = completed.caret;
  return true;
}

Waited TabCompletion::LookUp(const std::wstring& line, std::size_t caret, platform::ProcessCalls& calls) {
  count_ = 0;
  // No thread for a Tab that only moves the focus.
  if (!PathAt(line, caret, ArgumentsFrom(line))) return Waited::GaveUp;
  auto* lookup = new Lookup(calls, line, caret);
  const Waited waited = lookup->Wait(kPatience);
  if (waited != Waited::Finished) {
    lookup->Release();
    return waited;
  }
  if (found_) found_->Release();
  found_ = lookup;
  for (const wchar_t c : lookup->names) count_ += c == L'\0';
  return count_ > 0 ? waited : Waited::GaveUp;
}

}  // namespace main_window
