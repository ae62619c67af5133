#pragma once
// The file types whose context menu gets the verb, and their registration
// for all users or for the current user only.
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_calls.h"

namespace registration {

struct FileTypeRow {
  int checkBox;  // the number in its check box's name: 1 for Check1
  const wchar_t* extension;
  const wchar_t* fileType;
};

using Rows = std::vector<FileTypeRow>;

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
