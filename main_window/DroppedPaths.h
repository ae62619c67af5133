#pragma once
// Paths dropped on the command window, put into its text where the caret is.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace main_window {

// Whether the command processor and the platform read a path back whole
// only quoted: it holds a blank or a character the command processor treats
// as its own syntax.
bool NeedsQuotes(std::wstring_view path);

// The path, quoted where it needs quotes.
std::wstring QuotedIfNeeded(std::wstring_view path);

// Whether the dropped names may go into the command line: none may hold a
// character no file name can have (a quote, < > | * ? or a control
// character), which a drop posted by another program can carry to break out
// of the quotes around a name or to chain commands. While the window runs
// elevated, any program of the desktop may drop on it, and none may hold %
// or ! either: the command processor expands them even inside quotes.
bool AcceptableDrop(const std::vector<std::wstring>& paths, bool elevated);

struct Insertion {
  std::wstring text;
  std::size_t caret;  // behind the last inserted path
};

// Replaces the selection [selStart, selEnd) with the paths, separated by
// blanks, and with one blank towards text directly before or after them
// where there is none.
Insertion InsertDroppedPaths(std::wstring_view text, std::size_t selStart, std::size_t selEnd,
                             const std::vector<std::wstring>& paths);

}  // namespace main_window
