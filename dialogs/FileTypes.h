#pragma once
// The file types whose context menu gets the verb, and the registration of
// the ticked ones.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_calls.h"

namespace dialogs {

struct FileTypeRow {
  int checkBox;
  const wchar_t* extension;
  const wchar_t* fileType;
};

inline constexpr const wchar_t* kVerbName = L"Kommandozeile";

// The command the shell runs for the verb: this program, quoted, and the
// clicked file, quoted. The file name is fixed, whatever the running file is
// called.
std::wstring VerbCommand(std::wstring_view programFolder);

// Registers the verb for every ticked row, in the rows' order; a failed row
// does not stop the later ones. Returns the extensions that failed.
std::vector<std::wstring> RegisterRows(const std::vector<FileTypeRow>& rows, std::wstring_view programFolder,
                                       platform::RegistryCalls& calls);

template <typename Ticked>  // bool(int checkBox)
std::vector<std::wstring> RegisterTicked(const std::vector<FileTypeRow>& rows, const Ticked& ticked,
                                         std::wstring_view programFolder, platform::RegistryCalls& calls) {
  std::vector<FileTypeRow> chosen;
  for (const FileTypeRow& row : rows)
    if (ticked(row.checkBox)) chosen.push_back(row);
  return RegisterRows(chosen, programFolder, calls);
}

// "a, b, c"
std::wstring JoinedExtensions(const std::vector<std::wstring>& extensions, std::wstring_view separator = L", ");

// The message for failed registrations; empty when nothing failed.
std::wstring FailureMessage(const std::vector<std::wstring>& failedExtensions);

// Whether the registry can store the command built from this folder: the
// program's folder name must fit the system's ANSI code page.
bool FolderStorable(std::wstring_view programFolder, const platform::RegistryCalls& calls);

// The message for registrations that failed because of the folder's name.
std::wstring FolderFailureMessage(const std::vector<std::wstring>& failedExtensions, std::wstring_view programFolder);

}  // namespace dialogs
