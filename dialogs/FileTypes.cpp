#include "dialogs/FileTypes.h"

#include "registry/Registry.h"

namespace dialogs {

std::wstring VerbCommand(std::wstring_view programFile) {
  // The platform's full path of a program at a drive root ("D:\Vorlind.exe")
  // holds its one backslash already.
  return L"\"" + std::wstring(programFile) + L"\" \"%1\"";
}

namespace {

template <typename Register>  // bool(const FileTypeRow&)
Rows EachRow(const Rows& rows, platform::RegistryCalls& calls, const Register& registerRow) {
  Rows failed;
  for (const FileTypeRow& row : rows)
    if (!registerRow(row)) failed.push_back(row);
  if (!rows.empty()) calls.AssociationsChanged();
  return failed;
}

}  // namespace

Rows RegisterRows(const Rows& rows, std::wstring_view command, platform::RegistryCalls& calls) {
  return EachRow(rows, calls, [&](const FileTypeRow& row) {
    return registry::RegisterVerb(calls, row.extension, row.fileType, L"", L"", kVerbName, command);
  });
}

Rows RegisterRowsForUser(const Rows& rows, std::wstring_view command, platform::RegistryCalls& calls) {
  return EachRow(rows, calls, [&](const FileTypeRow& row) {
    return registry::RegisterVerbForUser(calls, row.extension, kVerbName, command);
  });
}

std::wstring JoinedExtensions(const Rows& rows, std::wstring_view separator) {
  std::wstring list;
  for (const FileTypeRow& row : rows) {
    if (!list.empty()) list += separator;
    list += row.extension;
  }
  return list;
}

bool CommandStorable(std::wstring_view command, const platform::RegistryCalls& calls) {
  return calls.ToAnsi(command).has_value();
}

}  // namespace dialogs
