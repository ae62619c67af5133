#pragma once
// What the user is told when registering failed or is refused, and which
// ways on the message offers.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registration/FileTypes.h"

namespace registration {

enum class Cause {
  Refused,         // the registry refused the write under HKEY_CLASSES_ROOT
  FolderName,      // the system's code page cannot hold the program's path
  UnsafeFolder,    // others may change the program's files: not for all users
  RefusedForUser,  // the registry refused the write for the current user
};

struct FailureReport {
  std::wstring headline;
  std::wstring text;
  bool offerAllUsers = false;  // "Für alle Benutzer eintragen", through the consent prompt
  bool offerForMe = false;     // "Nur für mich eintragen"
  bool AsksAChoice() const { return offerAllUsers || offerForMe; }
  // Both in one text, for a message with OK only.
  std::wstring MessageText() const { return headline + L"\n\n" + text; }
};

// The report for types that could not be registered (for UnsafeFolder: that
// were not). unsafePath names what others may change. Only the dialog
// (mayAsk) offers a choice, never the elevated copy or a script; it offers
// to register for all users only to a process known not to run elevated, and
// to register for the user alone wherever that helps.
FailureReport RegistrationFailure(Cause cause, const Rows& rows, std::wstring_view programFile,
                                  std::wstring_view unsafePath, std::optional<bool> elevated, bool mayAsk);

// The message after the elevated copy ended with an exit code other than 0.
std::wstring ElevatedCopyFailed(unsigned long exitCode);

}  // namespace registration
