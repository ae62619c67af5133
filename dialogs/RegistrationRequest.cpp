#include "dialogs/RegistrationRequest.h"

#include <algorithm>
#include <cwctype>

namespace dialogs {

namespace {

bool SameNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool IsRegistrationRequest(std::wstring_view argumentText) {
  return SameNoCase(argumentText.substr(0, kRegisterSwitch.size()), kRegisterSwitch);
}

std::wstring RegistrationRequest(const std::vector<std::wstring>& extensions) {
  return std::wstring(kRegisterSwitch) + JoinedExtensions(extensions, L",");
}

std::vector<FileTypeRow> ListedRows(const std::vector<FileTypeRow>& rows, std::wstring_view argumentText) {
  std::vector<FileTypeRow> listed;
  if (!IsRegistrationRequest(argumentText)) return listed;
  const std::wstring_view list = argumentText.substr(kRegisterSwitch.size());
  for (const FileTypeRow& row : rows) {
    for (std::size_t at = 0; at <= list.size();) {
      const std::size_t comma = std::min(list.find(L',', at), list.size());
      if (SameNoCase(Trimmed(list.substr(at, comma - at)), row.extension)) {
        listed.push_back(row);
        break;
      }
      at = comma + 1;
    }
  }
  return listed;
}

FailureReport RegistrationFailure(const std::vector<std::wstring>& failedExtensions, std::wstring_view programFolder,
                                  bool folderStorable, std::optional<bool> elevated, bool mayAskToElevate) {
  if (!folderStorable) return {FolderFailureMessage(failedExtensions, programFolder), false};
  const bool ask = mayAskToElevate && elevated.has_value() && !*elevated;
  std::wstring text = FailureMessage(failedExtensions);
  if (ask) text += L"\n\nAls Administrator erneut versuchen?";
  return {text, ask};
}

}  // namespace dialogs
