#pragma once
// Completing a file or folder name in an argument with Tab, as the command
// processor does: which text is completed, which folder is looked in, and
// the line once a name is put in.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/processes/process_calls.h"

namespace main_window {

// The path that Tab completes. It ends at the caret: what follows stays.
struct PathSpot {
  std::size_t from = 0;  // where the path begins: the argument's start, or behind its option's "=" or ":"
  std::size_t to =
      0;              // where the text kept behind it begins: the caret, or behind a quote there that closes the path's
  std::wstring path;  // as typed up to the caret, quotes left out
  std::size_t name = 0;  // where its last part, the beginning of a name, starts in it
  bool quoted = false;   // a quote was typed in it, or its folder part needs one once expanded
  bool open = false;     // the caret stands in quotes that a quote further on closes: no other is written

  // The folder part as typed ("%TEMP%\", "C:", or empty), and the name's beginning.
  std::wstring_view Folder() const { return {path.data(), name}; }
  std::wstring_view Prefix() const { return {path.data() + name, path.size() - name}; }
};

// Where the arguments begin, the program's name split off as the platform
// splits it. No file is looked up: the program part that process creation
// finds (platform::FindProgram) may be longer, never shorter.
std::size_t ArgumentsFrom(std::wstring_view line);

// The path at the caret: the argument the caret stands in or right behind,
// from `argumentsFrom` on, arguments split as process creation splits them
// (quotes group blanks). Only its text up to the caret counts, and only
// where that looks like a path: it holds "\" or "/", or begins with a drive
// letter and ":", with "." or with %NAME%. Outside quotes, a "=" or a ":"
// that is no drive letter's ends an option's name: the path begins behind,
// and is none where it begins with two slashes (a URL's host, or a share's).
std::optional<PathSpot> PathAt(std::wstring_view line, std::size_t caret, std::size_t argumentsFrom);

// The folder whose names are offered: the folder part with each defined
// %NAME% expanded, a relative one in the current folder. Where the folder
// part, so expanded, needs quotes (a value that holds a blank), the spot is
// marked quoted: the program would get it as two arguments otherwise.
std::optional<std::wstring> FolderToList(platform::ProcessCalls& calls, PathSpot& spot);

struct Completion {
  std::wstring text;
  std::size_t caret;  // behind the completed path
};

// The line with the path replaced by its folder part as typed and the name,
// the two quoted where a quote was typed or where the command processor
// needs one (main_window::NeedsQuotes); a quote further on that closes the
// path's closes it still.
Completion Completed(std::wstring_view line, const PathSpot& spot, std::wstring_view name);

}  // namespace main_window
