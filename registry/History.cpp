#include "registry/History.h"

#include <cstdint>
#include <vector>

#include "registry/KeysAndValues.h"

namespace registry {

namespace {

constexpr wchar_t kHistoryKey[] = L"Software\\Vorlind\\Verlauf";
constexpr wchar_t kOrder[] = L"";                    // the key's default value
constexpr std::uint32_t kReadAccess = 0x20019;       // KEY_READ
constexpr std::uint32_t kReadWriteAccess = 0x2001F;  // KEY_READ | KEY_WRITE

// A range of code points in one word: its first in the upper bits, how
// many follow it in the lowest eight.
constexpr std::uint32_t Range(std::uint32_t first, std::uint32_t last) { return first << 8 | (last - first); }

// What can make a line read otherwise than it runs: the controls (C0, DEL,
// C1), the line and paragraph separators, and every format character
// (general category Cf, Unicode 17): soft hyphen, the zero-width ones, the
// bidirectional marks, embeddings and isolates, the invisible operators, the
// byte order mark, interlinear annotation, the tags.
constexpr std::uint32_t kHidden[] = {
    Range(0x0000, 0x001F),   Range(0x007F, 0x009F),   Range(0x00AD, 0x00AD),   Range(0x0600, 0x0605),
    Range(0x061C, 0x061C),   Range(0x06DD, 0x06DD),   Range(0x070F, 0x070F),   Range(0x0890, 0x0891),
    Range(0x08E2, 0x08E2),   Range(0x180E, 0x180E),   Range(0x200B, 0x200F),   Range(0x2028, 0x202E),
    Range(0x2060, 0x2064),   Range(0x2066, 0x206F),   Range(0xFEFF, 0xFEFF),   Range(0xFFF9, 0xFFFB),
    Range(0x110BD, 0x110BD), Range(0x110CD, 0x110CD), Range(0x13430, 0x1343F), Range(0x1BCA0, 0x1BCA3),
    Range(0x1D173, 0x1D17A), Range(0xE0001, 0xE0001), Range(0xE0020, 0xE007F)};

bool Holds(std::wstring_view lines, std::wstring_view text, const platform::RegistryCalls* names) {
  std::wstring_view line;
  for (std::size_t at = 0; NextLine(lines, at, line);)
    if (SameText(line, text, names)) return true;
  return false;
}

// The largest REG_MULTI_SZ a list of `limit` lines can need; anything larger
// is not read at all.
std::uint32_t MostBytes(std::size_t limit) { return static_cast<std::uint32_t>((limit * (kLongestLine + 1) + 1) * 2); }

// The text of a REG_MULTI_SZ value; empty when there is none, when it has
// another type, or when it is larger than a list of `limit` lines can be
// (it is then not read at all). The registry holds UTF-16 code units, low
// byte first: on Windows that is a wchar_t, and the text is read in place;
// elsewhere (the host tests) it is converted.
std::wstring StoredText(platform::RegistryCalls& calls, platform::RegistryKey key, const wchar_t* name,
                        std::size_t limit) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  std::wstring text;
  if (calls.QueryValueW(key, name, &type, nullptr, &size) != 0 || type != platform::kRegMultiString ||
      size > MostBytes(limit))
    return text;
  // A value that grew since its size was asked for answers "more data": it is not read.
  if constexpr (sizeof(wchar_t) == 2) {
    text.resize((size + 1) / 2);
    if (calls.QueryValueW(key, name, &type, reinterpret_cast<std::uint8_t*>(text.data()), &size) != 0) size = 0;
  } else {
    std::vector<std::uint8_t> data(size);
    if (calls.QueryValueW(key, name, &type, data.data(), &size) != 0) size = 0;
    text.resize(size / 2);
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  text.resize(size / 2);  // an odd last byte is no character
  return text;
}

bool WriteLines(platform::RegistryCalls& calls, platform::RegistryKey key, const wchar_t* name, const LineList& lines) {
  const std::vector<std::uint8_t> data = Utf16Data(lines);  // the string's own zero ends the list
  return calls.SetValueW(key, name, platform::kRegMultiString, data.data(), static_cast<std::uint32_t>(data.size())) ==
         0;
}

// Deletes the values the order does not name: those of the programs that
// fell out of it, and any that two writes at once or another program left.
// The names are gathered first, one per line: the key must not change while
// they are. A name holding a zero cannot be named to the registry whole: it
// stays, and no other value is deleted in its place.
void DeleteUnnamed(platform::RegistryCalls& calls, platform::RegistryKey key, const LineList& order) {
  LineList unnamed;
  std::wstring name;
  for (std::uint32_t index = 0; calls.ValueNameW(key, index, name) == 0; ++index)
    if (!name.empty() && name.find(L'\0') == std::wstring::npos && !Holds(order, name, &calls))
      (unnamed += name) += L'\0';
  std::wstring_view gone;
  for (std::size_t at = 0; NextLine(unnamed, at, gone);) calls.DeleteValueW(key, gone.data());  // ends with its zero
}

}  // namespace

bool SameText(std::wstring_view a, std::wstring_view b, const platform::RegistryCalls* names) {
  return names ? names->SameName(a, b) : a == b;
}

bool ReadsAsItRuns(std::wstring_view line) {
  for (const wchar_t *p = line.data(), *end = p + line.size(); p != end; ++p) {
    auto c = static_cast<std::uint32_t>(*p);
    // A surrogate pair is one character beyond U+FFFF.
    if (c >= 0xD800 && c <= 0xDBFF && p + 1 != end && p[1] >= 0xDC00 && p[1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint32_t>(*++p) - 0xDC00);
    for (const std::uint32_t hidden : kHidden)
      if (c - (hidden >> 8) <= (hidden & 0xFF)) return false;  // below the first it wraps round
  }
  return true;
}

bool NextLine(std::wstring_view lines, std::size_t& at, std::wstring_view& line) {
  const std::size_t end = lines.find(L'\0', at);
  if (end == std::wstring_view::npos || end == at) return false;
  line = {lines.data() + at, end - at};
  at = end + 1;
  return true;
}

LineList KeptLines(std::wstring_view first, std::wstring_view stored, std::size_t limit,
                   const platform::RegistryCalls* names, LineList* dropped) {
  LineList kept;
  std::wstring_view line = first;
  // Each round takes the first line if there is one, then the stored ones.
  for (std::size_t at = 0, count = 0; (dropped || count < limit) && (!line.empty() || NextLine(stored, at, line));
       line = {}) {
    if (line.size() > kLongestLine || Holds(kept, line, names)) continue;
    LineList& into = count++ < limit ? kept : *dropped;
    (into += line) += L'\0';
  }
  return kept;
}

LineList Without(std::wstring_view lines, std::wstring_view line) {
  LineList kept;
  std::wstring_view each;
  for (std::size_t at = 0; NextLine(lines, at, each);)
    if (each != line) (kept += each) += L'\0';
  return kept;
}

LineList ReadHistory(platform::RegistryCalls& calls, const std::wstring& program) {
  platform::RegistryKey key = 0;
  if (program.empty() || calls.OpenKeyW(platform::kCurrentUser, kHistoryKey, kReadAccess, &key) != 0) return {};
  OpenKey open(calls, key);
  const LineList stored = KeptLines({}, StoredText(calls, key, program.c_str(), kLinesPerProgram), kLinesPerProgram);
  LineList offered;
  std::wstring_view line;
  for (std::size_t at = 0; NextLine(stored, at, line);)
    if (ReadsAsItRuns(line)) (offered += line) += L'\0';
  return offered;
}

void RememberLine(platform::RegistryCalls& calls, const std::wstring& program, std::wstring_view line) {
  platform::RegistryKey key = 0;
  if (program.empty() || calls.CreateKeyW(platform::kCurrentUser, kHistoryKey, kReadWriteAccess, &key) != 0) return;
  OpenKey history(calls, key);
  const wchar_t* name = program.c_str();
  WriteLines(calls, key, name, KeptLines(line, StoredText(calls, key, name, kLinesPerProgram), kLinesPerProgram));
  const LineList order = KeptLines(program, StoredText(calls, key, kOrder, kPrograms), kPrograms, &calls);
  // Only an order that is stored decides which values go.
  if (WriteLines(calls, key, kOrder, order)) DeleteUnnamed(calls, key, order);
}

void ForgetLine(platform::RegistryCalls& calls, const std::wstring& program, std::wstring_view line) {
  platform::RegistryKey key = 0;
  if (program.empty() || calls.OpenKeyW(platform::kCurrentUser, kHistoryKey, kReadWriteAccess, &key) != 0) return;
  OpenKey history(calls, key);
  const wchar_t* name = program.c_str();
  const LineList stored = KeptLines({}, StoredText(calls, key, name, kLinesPerProgram), kLinesPerProgram);
  const LineList kept = Without(stored, line);
  // Only where the line was read: a value that could not be read, or none,
  // is left as it is, not written empty.
  if (kept.size() != stored.size()) WriteLines(calls, key, name, kept);
}

void ForgetHistory(platform::RegistryCalls& calls) { calls.DeleteTreeW(platform::kCurrentUser, kHistoryKey); }

}  // namespace registry
