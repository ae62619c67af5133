// Stored history of any type, size and text, as another program or a broken
// write may leave it: what is kept must always be a sound list (at most the
// limit, no line empty, too long or the same as another, each from the
// input and in its order), keeping it again changes nothing, and a line
// remembered over the stored data is first in what is read back unless it
// holds a character that hides what it runs.
//
// Input: one byte of flags (bit 0: compared as registry names, bit 1: the
// limit for programs, bits 2-4: the stored value's type), then UTF-16 text; a first
// line to put in front ends at the code unit 0xFFFF, if there is one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "../tests/host/fake_registry.h"
#include "registry/History.h"

namespace {

std::vector<std::wstring> Lines(std::wstring_view list) {
  std::vector<std::wstring> lines;
  std::wstring_view line;
  std::size_t at = 0;
  while (registry::NextLine(list, at, line)) lines.emplace_back(line);
  if (at != list.size()) std::abort();  // a kept list is whole: every line followed by its zero
  return lines;
}

// The input lines in order, each as NextLine finds it, the first one first.
std::vector<std::wstring> InputLines(std::wstring_view first, std::wstring_view stored) {
  std::vector<std::wstring> lines;
  if (!first.empty()) lines.emplace_back(first);
  std::wstring_view line;
  for (std::size_t at = 0; registry::NextLine(stored, at, line);) lines.emplace_back(line);
  return lines;
}

void CheckKept(std::wstring_view first, std::wstring_view stored, std::size_t limit,
               const platform::RegistryCalls* names) {
  registry::LineList dropped;
  const registry::LineList kept = registry::KeptLines(first, stored, limit, names, &dropped);
  const std::vector<std::wstring> lines = Lines(kept);
  const std::vector<std::wstring> input = InputLines(first, stored);
  if (lines.size() > limit) std::abort();
  if (!dropped.empty() && lines.size() != limit) std::abort();
  std::size_t from = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty() || lines[i].size() > registry::kLongestLine) std::abort();
    for (std::size_t j = 0; j < i; ++j)
      if (registry::SameText(lines[i], lines[j], names)) std::abort();
    while (from < input.size() && input[from] != lines[i]) ++from;  // in the input, in its order
    if (from++ == input.size()) std::abort();
  }
  if (!first.empty() && first.size() <= registry::kLongestLine && (lines.empty() || lines[0] != first)) std::abort();
  if (registry::KeptLines({}, kept, limit, names) != kept) std::abort();
  // Nothing is lost but repeats and lines too long: the rest is kept or dropped.
  const std::vector<std::wstring> gone = Lines(dropped);
  for (const std::wstring& line : input) {
    if (line.size() > registry::kLongestLine) continue;
    bool found = false;
    for (const std::vector<std::wstring>* where : {&lines, &gone})
      for (const std::wstring& l : *where) found = found || registry::SameText(l, line, names);
    if (!found) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t limit = data[0] & 2 ? registry::kPrograms : registry::kLinesPerProgram;
  const std::uint32_t type = (data[0] >> 2) & 7;
  std::wstring text;
  for (std::size_t i = 1; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  const std::size_t separator = text.find(L'\xFFFF');
  // A first line is what a text box holds or a program's name: no zero in it.
  std::wstring first = separator == std::wstring::npos ? L"" : text.substr(0, separator);
  first.resize(std::wcslen(first.c_str()));
  const std::wstring stored = separator == std::wstring::npos ? text : text.substr(separator + 1);
  FakeRegistry fake;
  CheckKept(first, stored, limit, data[0] & 1 ? &fake : nullptr);

  // The same bytes as a stored value of that type, read and written back.
  const std::wstring program = L"C:\\Tools\\x.exe";
  platform::RegistryKey key = 0;
  fake.CreateKeyW(platform::kCurrentUser, L"Software\\Vorlind\\Verlauf", 0, &key);
  fake.SetValueW(key, program.c_str(), type, data + 1, static_cast<std::uint32_t>(size - 1));
  fake.SetValueW(key, L"", type, data + 1, static_cast<std::uint32_t>(size - 1));
  fake.CloseKey(key);
  const std::vector<std::wstring> before = Lines(registry::ReadHistory(fake, program));
  if (before.size() > registry::kLinesPerProgram) std::abort();
  const std::wstring line = first.empty() ? L"x -y" : first;
  registry::RememberLine(fake, program, line);
  const std::vector<std::wstring> after = Lines(registry::ReadHistory(fake, program));
  if (line.size() <= registry::kLongestLine && registry::ReadsAsItRuns(line) && (after.empty() || after[0] != line))
    std::abort();
  return 0;
}
