#include "dialogs/FileTypes.h"

#include <algorithm>

#include "registry/Registry.h"

namespace dialogs {

std::wstring VerbCommand(std::wstring_view programFile) {
  // The platform's full path of a program at a drive root ("D:\Vorlind.exe")
  // holds its one backslash already.
  return L"\"" + std::wstring(programFile) + L"\" \"%1\"";
}

namespace {

template <typename Register>  // bool(const FileTypeRow&)
std::vector<std::wstring> EachRow(const std::vector<FileTypeRow>& rows, platform::RegistryCalls& calls,
                                  const Register& registerRow) {
  std::vector<std::wstring> failed;
  for (const FileTypeRow& row : rows)
    if (!registerRow(row)) failed.emplace_back(row.extension);
  if (!rows.empty()) calls.AssociationsChanged();
  return failed;
}

}  // namespace

std::vector<std::wstring> RegisterRows(const std::vector<FileTypeRow>& rows, std::wstring_view command,
                                       platform::RegistryCalls& calls) {
  return EachRow(rows, calls, [&](const FileTypeRow& row) {
    return registry::RegisterVerb(calls, row.extension, row.fileType, L"", L"", kVerbName, command);
  });
}

std::vector<std::wstring> RegisterRowsForUser(const std::vector<FileTypeRow>& rows, std::wstring_view command,
                                              platform::RegistryCalls& calls) {
  return EachRow(rows, calls, [&](const FileTypeRow& row) {
    return registry::RegisterVerbForUser(calls, row.extension, kVerbName, command);
  });
}

std::vector<FileTypeRow> RowsOf(const std::vector<FileTypeRow>& rows, const std::vector<std::wstring>& extensions) {
  std::vector<FileTypeRow> listed;
  for (const FileTypeRow& row : rows)
    if (std::find(extensions.begin(), extensions.end(), row.extension) != extensions.end()) listed.push_back(row);
  return listed;
}

std::vector<std::wstring> ExtensionsOf(const std::vector<FileTypeRow>& rows) {
  std::vector<std::wstring> extensions;
  extensions.reserve(rows.size());
  for (const FileTypeRow& row : rows) extensions.emplace_back(row.extension);
  return extensions;
}

std::wstring JoinedExtensions(const std::vector<std::wstring>& extensions, std::wstring_view separator) {
  std::wstring list;
  for (const std::wstring& extension : extensions) {
    if (!list.empty()) list += separator;
    list += extension;
  }
  return list;
}

bool CommandStorable(std::wstring_view command, const platform::RegistryCalls& calls) {
  return calls.ToAnsi(command).has_value();
}

}  // namespace dialogs
