#include "main_window/PathCompletion.h"

#include "main_window/DroppedPaths.h"
#include "platform/processes/command_line.h"
#include "platform/processes/expansion.h"
#include "platform/text.h"
#include "registration/FolderSafety.h"

namespace main_window {

namespace {

// A path expanded beyond the platform's longest is none.
constexpr std::size_t kLongestPath = 32767;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsLetter(wchar_t c) { return (c | 0x20) >= L'a' && (c | 0x20) <= L'z'; }
bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }
// Of a text that ends with a zero.
bool HasDrive(const wchar_t* path) { return IsLetter(path[0]) && path[1] == L':'; }

// A ":" at `at` right behind a drive letter that begins the path at `from`,
// quoted or not.
bool IsDriveColon(const wchar_t* line, std::size_t from, std::size_t at) {
  const std::size_t letter = at - 1;
  return (letter == from || (letter == from + 1 && line[from] == L'"')) && IsLetter(line[letter]);
}

}  // namespace

std::size_t ArgumentsFrom(std::wstring_view line) {
  std::size_t blanks = 0;
  while (blanks < line.size() && IsBlank(line.data()[blanks])) ++blanks;
  return line.size() - platform::SplitProgramName({line.data() + blanks, line.size() - blanks}).rest.size();
}

std::optional<PathSpot> PathAt(std::wstring_view line, std::size_t caret, std::size_t argumentsFrom) {
  if (caret > line.size() || caret <= argumentsFrom) return std::nullopt;
  const wchar_t* const text = line.data();
  std::size_t from = caret;  // caret: no argument yet
  bool inQuotes = false;
  bool behindOption = false;  // the path begins behind a "=" or ":"
  for (std::size_t i = argumentsFrom; i < caret; ++i) {
    const wchar_t c = text[i];
    if (c == L'"') inQuotes = !inQuotes;
    if (!inQuotes && IsBlank(c)) {
      from = caret;
      continue;
    }
    if (from == caret) {
      from = i;
      behindOption = false;
    }
    if (!inQuotes && (c == L'=' || (c == L':' && !IsDriveColon(text, from, i)))) {
      from = i + 1;
      behindOption = true;
    }
  }
  PathSpot spot;
  spot.from = from;
  spot.to = inQuotes && caret < line.size() && text[caret] == L'"' ? caret + 1 : caret;
  spot.open = inQuotes && spot.to == caret && line.find(L'"', caret) != std::wstring_view::npos;
  std::wstring& path = spot.path;
  for (std::size_t i = from; i < caret; ++i) {
    const wchar_t c = text[i];
    if (c == L'"') {
      spot.quoted = true;
      continue;
    }
    path += c;
    if (IsSlash(c)) spot.name = path.size();
  }
  const wchar_t* const typed = path.c_str();
  // "https://host/..." is no path, and "=\\host\..." names a share typed as
  // an option's value: neither is looked up, for a lookup would log on to
  // that host over the network with the user's account.
  if (behindOption && IsSlash(typed[0]) && IsSlash(typed[1])) return std::nullopt;
  if (spot.name == 0 && HasDrive(typed)) spot.name = 2;
  if (spot.name > 0 || typed[0] == L'.' || (typed[0] == L'%' && path.find(L'%', 2) != std::wstring::npos)) return spot;
  return std::nullopt;
}

std::optional<std::wstring> FolderToList(platform::ProcessCalls& calls, PathSpot& spot) {
  std::optional<std::wstring> folder = platform::Expanded(calls, spot.Folder(), kLongestPath);
  spot.quoted = spot.quoted || (folder && NeedsQuotes(*folder));
  if (!folder || HasDrive(folder->c_str()) || IsSlash((*folder)[0])) return folder;
  return registration::PathIn(calls.CurrentFolder(), *folder);
}

Completion Completed(std::wstring_view line, const PathSpot& spot, std::wstring_view name) {
  const std::wstring_view folder = spot.Folder();
  const bool quoted = spot.quoted || NeedsQuotes(folder) || NeedsQuotes(name);
  const wchar_t* const quote = quoted ? L"\"" : L"";
  return {platform::Joined({std::wstring_view(line.data(), spot.from), quote, folder, name, spot.open ? L"" : quote,
                            std::wstring_view(line.data() + spot.to, line.size() - spot.to)}),
          spot.from + spot.name + name.size() + (quoted ? 2 : 0) - spot.open};
}

}  // namespace main_window
