// Splitting the program's own name off arbitrary command lines: the pieces
// must always be views into the line, and nothing but blanks may be lost.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/processes/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring line;
  for (std::size_t i = 0; i + 1 < size; i += 2) line += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  const auto split = platform::SplitProgramName(line);
  const std::wstring_view whole(line);

  if (split.program.data() != whole.data()) std::abort();
  const std::size_t gap = static_cast<std::size_t>(split.rest.data() - whole.data()) - split.program.size();
  if (split.program.size() + gap + split.rest.size() != whole.size()) std::abort();
  for (std::size_t i = 0; i < gap; ++i) {
    const wchar_t c = whole[split.program.size() + i];
    if (c != L' ' && c != L'\t') std::abort();
  }
  if (!split.rest.empty() && (split.rest.front() == L' ' || split.rest.front() == L'\t')) std::abort();
  if (!whole.empty() && whole.front() != L'"' && split.program.find_first_of(L" \t") != std::wstring_view::npos)
    std::abort();

  // A quoted name holds no further quote; an unquoted one is left as it is.
  const auto unquoted = platform::UnquotedProgram(split.program);
  const bool quoted = !whole.empty() && whole.front() == L'"';
  if (quoted ? unquoted.find(L'"') != std::wstring_view::npos : unquoted != split.program) std::abort();
  return 0;
}
