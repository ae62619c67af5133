#include "main_window/Recall.h"

namespace main_window {

bool RecallStep(Recall& recall, bool back, std::wstring& text) {
  if (!back && recall.at == 0) return false;
  const std::size_t to = back ? recall.at + 1 : recall.at - 1;
  std::wstring_view line = recall.draft;
  for (std::size_t at = 0, n = 0; n < to; ++n)
    if (!registry::NextLine(recall.lines, at, line)) return false;
  if (recall.at == 0) recall.draft = text;
  recall.at = to;
  text = line;
  return true;
}

}  // namespace main_window
