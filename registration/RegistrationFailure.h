#pragma once
// What the user is told when registering failed or is refused, and which
// ways on the message offers.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registration/FileTypes.h"
#include "registration/FolderSafety.h"

namespace registration {

enum class Cause {
  Refused,         // the registry refused the write under HKEY_LOCAL_MACHINE\Software\Classes
  FolderName,      // the system's code page cannot hold the program's path
  UnsafeFolder,    // others may change the program's files: not for all users
  RefusedForUser,  // the registry refused the write for the current user
  UnsafeForUser,   // other accounts may change them: not even for the current user
  Redirected,      // a link on the way: the path started from is not where the file lies
  Percent,         // a "%" in the path, which the shell would read as a placeholder
  NotFixedDisk,    // a removable, network or optical drive, or a carried disk: not for all users
  ReparsePoint,    // a link, mount point or cloud file on the way, whose path stays the same
  LowIntegrity,    // labelled below medium integrity: sandboxed processes may change it
};

// The cause for a place refused for a scope.
Cause CauseOf(Refusal refusal, Scope scope);

struct FailureReport {
  std::wstring headline;
  std::wstring text;
  bool offerAllUsers = false;  // "Für alle Benutzer eintragen", through the consent prompt
  bool offerForMe = false;     // "Nur für mich eintragen"
  bool AsksAChoice() const { return offerAllUsers || offerForMe; }
  // Both in one text, for a message with OK only.
  std::wstring MessageText() const { return headline + L"\n\n" + text; }
};

// The report for types that could not be registered (for a refused place:
// that were not). path names what failed: what others may change, or for
// Redirected the path started from (programFile is where the file lies).
// Only the dialog (mayAsk) offers a choice, never the elevated copy or a
// script; it offers to register for all users only to a process known not
// to run elevated, and to register for the user alone wherever that helps
// (the caller asks only where the current user's place is safe).
FailureReport RegistrationFailure(Cause cause, const Rows& rows, std::wstring_view programFile, std::wstring_view path,
                                  std::optional<bool> elevated, bool mayAsk);

// The message after the elevated copy ended with an exit code other than 0,
// or when its end is unknown (no exit code); with a folder, the copy that
// was to copy Vorlind there.
std::wstring ElevatedCopyFailed(std::optional<unsigned long> exitCode, std::wstring_view installFolder = {});

// The message after Vorlind copied itself to its install folder and
// registered from there.
std::wstring Installed(std::wstring_view installFolder, std::wstring_view unpackedFolder);

}  // namespace registration
