#pragma once
// Vorlind copied to a folder of its own and registered from there, for a
// user who started it wherever the archive was unpacked:
//   Vorlind.exe /installieren:.exe,.lnk
//     into <Program Files>\Vorlind, registered for all users (run elevated)
//   Vorlind.exe /installieren-benutzer:.exe,.lnk
//     into the user's program folder (%LOCALAPPDATA%\Programs\Vorlind),
//     registered for the current user
// The lists follow the registration switches' rules (RegistrationRequest.h).
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/file_calls.h"
#include "registration/RegistrationRequest.h"
#include "registration/SelfCopy.h"

namespace registration {

inline constexpr std::wstring_view kInstallSwitch = L"/installieren:";
inline constexpr std::wstring_view kInstallForUserSwitch = L"/installieren-benutzer:";

std::optional<Request> ParseInstallRequest(const Rows& rows, std::wstring_view argumentText);
bool IsInstallRequest(std::wstring_view argumentText);

// "/installieren:.com,.pif": what the dialog hands an elevated copy.
std::wstring InstallRequest(const Rows& rows);

// What the user is told when the copy failed or was refused: the step, the
// file and the platform's text for the error.
FailureReport CopyFailure(const CopyResult& result, std::wstring_view destination, std::wstring_view errorText);

// Copies the running program and its LinkLabel.dll into the install folder
// of the request's scope (CopyProgram) and registers the listed types from
// there. A folder that fails the folder rule gets no file and no entry.
// Exit codes as RegisterAsRequested's; 3 also for a refused copy, 1 for a
// copy that failed. Nothing is registered unless the copy is complete.
Outcome InstallAsRequested(const Request& request, platform::RegistryCalls& registry, platform::ProcessCalls& processes,
                           platform::FileCalls& files, const platform::Sha256& linkLabelHash);

}  // namespace registration
