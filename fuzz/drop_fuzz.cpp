// Dropped names into any text at any selection: the text around the
// selection survives unchanged, every name arrives, the caret lies inside
// the text right behind the last name, and a drop that is refused leaves
// the text as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "main_window/DroppedPaths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::size_t selStart = data[0], selEnd = data[1];
  const std::size_t split = data[2] % (size - 3 + 1);
  std::wstring text;
  std::vector<std::wstring> paths(1);
  static const wchar_t kAlphabet[] = L"ab \t\"&()^|C:\\\n%!";
  for (std::size_t i = 3; i < size; ++i) {
    const wchar_t c = kAlphabet[data[i] % (sizeof kAlphabet / sizeof(wchar_t) - 1)];
    if (i - 3 < split) {
      text += c;
    } else if (data[i] == 0xFF) {
      paths.emplace_back();  // next name
    } else {
      paths.back() += c;
    }
  }
  std::erase(paths, std::wstring());  // the shell hands over no empty name, and a drop has one at least
  if (paths.empty()) return 0;
  const auto result = main_window::InsertDroppedPaths(text, selStart, selEnd, paths);
  const std::size_t from = std::min(std::min(selStart, selEnd), text.size());
  const std::size_t to = std::min(std::max(selStart, selEnd), text.size());
  if (result.caret > result.text.size()) std::abort();
  if (result.text.compare(0, from, text, 0, from) != 0) std::abort();
  const std::wstring after = text.substr(to);
  if (result.text.size() < after.size() || result.text.compare(result.text.size() - after.size(), after.size(), after))
    std::abort();
  std::size_t at = from;
  for (const std::wstring& path : paths) {
    const std::size_t found = result.text.find(main_window::QuotedIfNeeded(path), at);
    if (found == std::wstring::npos || found > result.caret) std::abort();
    at = found + main_window::QuotedIfNeeded(path).size();
  }
  if (at != result.caret) std::abort();
  // A refused drop is one the form never inserts: it must hold a quote or
  // a control character, or, elevated, % or !.
  const bool elevated = data[2] & 0x80;
  bool suspicious = false;
  for (const std::wstring& path : paths)
    for (wchar_t c : path)
      suspicious = suspicious || c == L'"' || c == L'|' || c < 0x20 || (elevated && (c == L'%' || c == L'!'));
  if (main_window::AcceptableDrop(paths, elevated) == suspicious) std::abort();
  return 0;
}
