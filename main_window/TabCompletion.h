#pragma once
// Tab and Shift+Tab in the command window's text box: the names that
// complete the path at the caret, looked up off the window's thread, and
// the round through them.
#include <cstddef>
#include <string>

#include "main_window/PathCompletion.h"
#include "platform/forms/background_work.h"
#include "platform/forms/form.h"
#include "platform/processes/process_calls.h"

namespace main_window {

class TabCompletion {
 public:
  // Puts the next name into the text box (back: the one before) and the
  // caret behind it. False when nothing completes there, or the one name
  // there is stands typed in full: the key is left to move the focus. True,
  // the text as it was, when a key is typed while the folder is read: that
  // key goes into the text box, and the focus stays.
  bool Step(platform::Form& form, int textBox, bool back, platform::ProcessCalls& calls);

 private:
  // Reads the names that complete the path at the caret: Finished when
  // there are any; GaveUp when there are none, or none in time.
  platform::BackgroundWork::Waited LookUp(const std::wstring& line, std::size_t caret, platform::ProcessCalls& calls);

  class Lookup;

  // The round goes on while the text box shows what the last step left;
  // any edit, or the caret moved, starts a new one. Its lookup, which holds
  // the text as it stood before the round, the path and the names, is kept
  // (a share of it) until the next one finishes.
  Lookup* found_ = nullptr;
  std::size_t count_ = 0;
  std::size_t at_ = 0;
  std::wstring shown_;
  std::size_t caret_ = 0;
};

}  // namespace main_window
