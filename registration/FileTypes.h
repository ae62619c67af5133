#pragma once
// The file types whose context menu gets the verb, and their registration
// for all users or for the current user only.
#include <string>
#include <string_view>
#include <cstddef>
#include <initializer_list>

#include "platform/registry_calls.h"

namespace registration {

struct FileTypeRow {
  int checkBox;  // the number in its check box's name: 1 for Check1
  const wchar_t* extension;
  const wchar_t* fileType;
};

// Rows of the table below, each at most once, in the table's order: a few
// rows held in place, copied without an allocation.
class Rows {
 public:
  static constexpr std::size_t kMost = 8;  // the table has five

  constexpr Rows() = default;
  constexpr Rows(std::initializer_list<FileTypeRow> rows) {
    for (const FileTypeRow& row : rows) push_back(row);
  }
  constexpr void push_back(const FileTypeRow& row) {
    if (size_ < kMost) rows_[size_++] = row;
  }
  const FileTypeRow* begin() const { return rows_; }
  const FileTypeRow* end() const { return rows_ + size_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const FileTypeRow& operator[](std::size_t i) const { return rows_[i]; }

 private:
  FileTypeRow rows_[kMost]{};
  std::size_t size_ = 0;
};

// The file types, in the order they are registered.
const Rows& FileTypes();

inline constexpr const wchar_t* kVerbName = L"Kommandozeile";

// The command the shell runs for the verb: this program file, quoted, under
// the name it runs as ("Vorlind (1).exe" too), and the clicked file, quoted.
std::wstring VerbCommand(std::wstring_view programFile);

// Registers the verb for every row, in the rows' order, for all users
// (HKEY_LOCAL_MACHINE\Software\Classes) or for the current user only; a failed row does not
// stop the later ones. Afterwards the shell learns that associations
// changed. Returns the rows that failed.
Rows RegisterRows(const Rows& rows, std::wstring_view command, platform::RegistryCalls& calls);
Rows RegisterRowsForUser(const Rows& rows, std::wstring_view command, platform::RegistryCalls& calls);

template <typename Ticked>  // bool(int checkBox)
Rows TickedRows(const Rows& rows, const Ticked& ticked) {
  Rows chosen;
  for (const FileTypeRow& row : rows)
    if (ticked(row.checkBox)) chosen.push_back(row);
  return chosen;
}

// The rows' extensions: ".exe, .com"
std::wstring JoinedExtensions(const Rows& rows, std::wstring_view separator = L", ");

// Whether the machine's classes can store the command: it is written in the
// system's ANSI code page, which must hold the program's path.
bool CommandStorable(std::wstring_view command, const platform::RegistryCalls& calls);

}  // namespace registration
