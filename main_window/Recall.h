#pragma once
// Earlier command lines brought back with the arrow keys, as a command
// processor does: Up goes back a line, Down forward again and at last to the
// draft, the text as it stood before the first Up.
#include <cstddef>
#include <string>

#include "registry/History.h"

namespace main_window {

struct Recall {
  registry::LineList lines;  // the latest first
  std::size_t at = 0;        // 0: the draft is shown; n: the n-th line
  std::wstring draft;
  std::wstring program;  // whose lines they are
};

// One step back (Up) or forward (Down) from the text shown; false when the
// text stays: at the oldest line, at the draft, or without lines.
bool RecallStep(Recall& recall, bool back, std::wstring& text);

// Takes the line shown out of the lines (Shift+Del); `shown` gets the text to
// show then: the line older than it, or the draft when there is none. False,
// and nothing changed, when the draft is shown or the text is no longer the
// line brought back.
bool RecallRemove(Recall& recall, std::wstring_view text, std::wstring_view& shown);

}  // namespace main_window
