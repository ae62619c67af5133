#include "platform/processes/command_line.h"

namespace platform {

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

SplitCommandLine SplitProgramName(std::wstring_view line) {
  std::size_t end = 0;
  if (!line.empty() && line.front() == L'"') {
    // No escapes inside the program name: it ends at the next quote, or at the
    // end of the text when that quote is missing.
    const std::size_t close = line.find(L'"', 1);
    end = close == std::wstring_view::npos ? line.size() : close + 1;
  } else {
    while (end < line.size() && !IsBlank(line[end])) ++end;
  }
  std::size_t rest = end;
  while (rest < line.size() && IsBlank(line[rest])) ++rest;
  return {{line.data(), end}, {line.data() + rest, line.size() - rest}};
}

std::wstring_view UnquotedProgram(std::wstring_view program) {
  if (!program.empty() && program.front() == L'"') {
    program.remove_prefix(1);
    if (!program.empty() && program.back() == L'"') program.remove_suffix(1);
  }
  return program;
}

}  // namespace platform
