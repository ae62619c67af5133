#pragma once
// Registration without the dialog: the argument texts that ask for it, for
// an elevated copy of the program and for deployments by script, and the
// exit codes that answer.
//   Vorlind.exe /registrieren:.exe,.lnk            for all users
//   Vorlind.exe /registrieren-benutzer:.exe,.lnk   for the current user only
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registration/FileTypes.h"
#include "registration/RegistrationFailure.h"
#include "platform/processes/process_calls.h"

namespace registration {

// No path the shell hands over begins with "/", so the verb's own use is
// never mistaken for either.
inline constexpr std::wstring_view kRegisterSwitch = L"/registrieren:";
inline constexpr std::wstring_view kRegisterForUserSwitch = L"/registrieren-benutzer:";
// Put before either by the options dialog, which reports the exit code
// itself: the elevated copy then shows no message of its own, whose box
// could open behind the disabled dialog.
inline constexpr std::wstring_view kQuietSwitch = L"/ohne-meldung";

inline constexpr int kExitRegistered = 0;    // every listed entry was known and registered
inline constexpr int kExitFailed = 1;        // a known type could not be registered
inline constexpr int kExitUnknownEntry = 2;  // an entry is unknown, or the list is empty
inline constexpr int kExitUnsafeFolder = 3;  // refused because of where Vorlind lies; nothing written

struct Request {
  bool forUser;         // the current user only
  Rows rows;            // the known listed types, in the rows' order, each once
  bool unknownEntries;  // an entry Vorlind does not know, or none at all
  bool quiet = false;   // no message: the caller reports the exit code
};

// The request the argument text makes, also when the whole text is quoted or
// has blanks around it; nothing when it makes none. Extensions are compared
// without regard to case; empty entries between commas are no entries.
std::optional<Request> ParseRequest(const Rows& rows, std::wstring_view argumentText);

// The same for any pair of switches: the one for all users and the one for
// the current user.
std::optional<Request> ParseSwitch(const Rows& rows, std::wstring_view argumentText, std::wstring_view allUsersSwitch,
                                   std::wstring_view forUserSwitch);

bool IsRegistrationRequest(std::wstring_view argumentText);

// "/ohne-meldung /registrieren:.com,.pif": what the dialog hands an
// elevated copy.
std::wstring RegistrationRequest(const Rows& rows);

struct Outcome {
  int exitCode;
  std::optional<FailureReport> failure;  // what to tell, where someone can see it
};

// Carries the request out, for the current user or for all users, only from
// a place safe for that scope (FolderSafety.h), with the path where the
// program really lies. It never asks: an elevated copy must not loop, and a
// script has nobody to answer.
Outcome RegisterAsRequested(const Request& request, platform::RegistryCalls& registry,
                            platform::ProcessCalls& processes);
// The same for the program file that lies there (a copy of this program).
Outcome RegisterAsRequested(const Request& request, platform::RegistryCalls& registry,
                            platform::ProcessCalls& processes, std::wstring_view programFile);

}  // namespace registration
