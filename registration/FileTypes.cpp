#include "registration/FileTypes.h"

#include "platform/text.h"
#include "registry/Registry.h"

namespace registration {

const Rows& FileTypes() {
  static constexpr Rows rows{
      {1, L".exe", L"exefile"}, {2, L".com", L"comfile"}, {3, L".bat", L"batfile"},
      {5, L".pif", L"piffile"}, {4, L".lnk", L"lnkfile"},
  };
  return rows;
}

std::wstring VerbCommand(std::wstring_view programFile) {
  // The platform's full path of a program at a drive root ("D:\Vorlind.exe")
  // holds its one backslash already.
  return platform::Joined({L"\"", programFile, L"\" \"%1\""});
}

namespace {

Rows EachRow(const Rows& rows, std::wstring_view command, platform::RegistryCalls& calls, bool forUser) {
  Rows failed;
  for (const FileTypeRow& row : rows) {
    const bool registered =
        forUser ? registry::RegisterVerbForUser(calls, row.extension, kVerbName, command)
                : registry::RegisterVerbUnder(calls, platform::kLocalMachine, L"Software\\Classes\\", row.extension,
                                              row.fileType, L"", L"", kVerbName, command);
    if (!registered) failed.push_back(row);
  }
  if (!rows.empty()) calls.AssociationsChanged();
  return failed;
}

}  // namespace

Rows RegisterRows(const Rows& rows, std::wstring_view command, platform::RegistryCalls& calls) {
  return EachRow(rows, command, calls, false);
}

Rows RegisterRowsForUser(const Rows& rows, std::wstring_view command, platform::RegistryCalls& calls) {
  return EachRow(rows, command, calls, true);
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

}  // namespace registration
