#include "main_window/DroppedPaths.h"

#include <algorithm>

#include "platform/text.h"

namespace main_window {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

bool NeedsQuotes(std::wstring_view path) {
  return path.find_first_of(L" \t&()[]{}^=;!'+,`~") != std::wstring_view::npos;
}

std::wstring QuotedIfNeeded(std::wstring_view path) {
  if (!NeedsQuotes(path)) return std::wstring(path);
  return platform::Filled("\"\1\"", {path});
}

bool AcceptableDrop(const std::vector<std::wstring>& paths, bool elevated) {
  const std::wstring_view refused = elevated ? L"\"<>|*?%!" : L"\"<>|*?";
  for (const std::wstring& path : paths)
    for (const wchar_t c : path)
      if (c < 0x20 || c == 0x7F || refused.find(c) != std::wstring_view::npos) return false;
  return true;
}

Insertion InsertDroppedPaths(std::wstring_view text, std::size_t selStart, std::size_t selEnd,
                             const std::vector<std::wstring>& paths) {
  // An edit box reports a selection made backwards with its ends swapped.
  const std::size_t from = std::min(std::min(selStart, selEnd), text.size());
  const std::size_t to = std::min(std::max(selStart, selEnd), text.size());
  if (paths.empty()) return {std::wstring(text), to};
  const std::wstring_view before(text.data(), from);
  const std::wstring_view after(text.data() + to, text.size() - to);
  std::wstring result(before);
  if (!before.empty() && !IsBlank(before.back())) result += L' ';
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) result += L' ';
    result += QuotedIfNeeded(paths[i]);
  }
  const std::size_t caret = result.size();
  if (!after.empty() && !IsBlank(after.front())) result += L' ';
  result += after;
  return {result, caret};
}

}  // namespace main_window
