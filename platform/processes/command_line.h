#pragma once
// Splitting a Windows command line the way the platform does for a program's
// own name (argv[0]): a quoted name runs to the next quote, an unquoted one to
// the first blank or tab. Nothing else in the text is interpreted.
#include <string_view>

namespace platform {

struct SplitCommandLine {
  std::wstring_view program;  // as written, quotes included
  std::wstring_view rest;     // everything after the blanks that follow it
};

SplitCommandLine SplitProgramName(std::wstring_view commandLine);

// The program name without its surrounding quotes.
std::wstring_view UnquotedProgram(std::wstring_view program);

}  // namespace platform
