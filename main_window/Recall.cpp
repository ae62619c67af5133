#include "main_window/Recall.h"

namespace main_window {

namespace {

// The n-th line (from 1); false when there are fewer. Line 0 leaves `line`
// as it is.
bool NthLine(std::wstring_view lines, std::size_t n, std::wstring_view& line) {
  for (std::size_t at = 0; n > 0; --n)
    if (!registry::NextLine(lines, at, line)) return false;
  return true;
}

}  // namespace

bool RecallStep(Recall& recall, bool back, std::wstring& text) {
  if (!back && recall.at == 0) return false;
  const std::size_t to = back ? recall.at + 1 : recall.at - 1;
  std::wstring_view line = recall.draft;
  if (!NthLine(recall.lines, to, line)) return false;
  if (recall.at == 0) recall.draft = text;
  recall.at = to;
  text = line;
  return true;
}

bool RecallRemove(Recall& recall, std::wstring_view text, std::wstring_view& shown) {
  if (recall.at == 0 || !NthLine(recall.lines, recall.at, shown) || shown != text) return false;
  recall.lines = registry::Without(recall.lines, text);
  if (!NthLine(recall.lines, recall.at, shown)) {
    recall.at = 0;
    shown = recall.draft;
  }
  return true;
}

}  // namespace main_window
