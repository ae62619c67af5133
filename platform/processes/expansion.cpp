#include "platform/processes/expansion.h"

namespace platform {

std::optional<std::wstring> Expanded(ProcessCalls& calls, std::wstring_view text, std::size_t longest) {
  std::wstring expanded;
  std::size_t open = std::wstring::npos;  // where a "%" that may begin a name stands in it
  for (const wchar_t c : text) {
    expanded += c;
    if (c != L'%') continue;
    const std::size_t close = expanded.size() - 1;
    if (open == std::wstring::npos) {
      open = close;
      continue;
    }
    // The name is read in place, a zero for the closing "%". A zero in it
    // would end it early and look up another one.
    wchar_t* const closing = expanded.data() + close;
    *closing = L'\0';
    const std::optional<std::wstring> value = close > open + 1 && expanded.find(L'\0', open) == close
                                                  ? calls.Environment(expanded.c_str() + open + 1)
                                                  : std::nullopt;
    *closing = L'%';
    if (value) {
      expanded.resize(open);
      expanded += *value;
      if (expanded.size() > longest) return std::nullopt;
    }
    open = std::wstring::npos;
  }
  if (expanded.size() > longest) return std::nullopt;
  return expanded;
}

}  // namespace platform
