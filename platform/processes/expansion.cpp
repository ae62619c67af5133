#include "platform/processes/expansion.h"

namespace platform {

std::optional<std::wstring> Expanded(ProcessCalls& calls, std::wstring_view text, std::size_t longest) {
  std::wstring expanded;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t open = text.find(L'%', at);
    const std::size_t close = open == std::wstring_view::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring_view::npos) {
      expanded.append(text.substr(at));
      break;
    }
    expanded.append(text.substr(at, open - at));
    const std::wstring name(text.substr(open + 1, close - open - 1));
    // A zero would end the name early and look up another one.
    const bool looked = !name.empty() && name.find(L'\0') == std::wstring::npos;
    const std::optional<std::wstring> value = looked ? calls.Environment(name.c_str()) : std::nullopt;
    expanded.append(value ? std::wstring_view(*value) : text.substr(open, close + 1 - open));
    at = close + 1;
    if (expanded.size() > longest) return std::nullopt;
  }
  if (expanded.size() > longest) return std::nullopt;
  return expanded;
}

}  // namespace platform
