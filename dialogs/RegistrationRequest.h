#pragma once
// Registration as administrator: what the user is told when registering
// failed, and the argument text that lets an elevated copy of the program
// register the failed file types without showing a window.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/FileTypes.h"

namespace dialogs {

// "/registrieren:.com,.pif". No path the shell hands over begins with "/",
// so the verb's own use is never mistaken for it.
inline constexpr std::wstring_view kRegisterSwitch = L"/registrieren:";

bool IsRegistrationRequest(std::wstring_view argumentText);
std::wstring RegistrationRequest(const std::vector<std::wstring>& extensions);

// The rows whose extension the request lists, compared without regard to
// case, in the rows' order; unknown entries select nothing.
std::vector<FileTypeRow> ListedRows(const std::vector<FileTypeRow>& rows, std::wstring_view argumentText);

struct FailureReport {
  std::wstring text;
  bool askToElevate;  // the text ends with the question; the answer is Ja or Nein
};

// What to tell the user when file types could not be registered. Only a
// process that is known not to run elevated offers to try again as
// administrator, and only where that may help (not for a folder name the
// registry cannot store) and where it is allowed to ask (the elevated copy
// never asks again, so it can never loop).
FailureReport RegistrationFailure(const std::vector<std::wstring>& failedExtensions, std::wstring_view programFolder,
                                  bool folderStorable, std::optional<bool> elevated, bool mayAskToElevate);

}  // namespace dialogs
