#pragma once
// Registration without a window, for an elevated copy of the program and for
// administrators who deploy Vorlind by script:
//   Vorlind.exe /registrieren:.exe,.lnk
//   Vorlind.exe /registrieren-benutzer:.exe,.lnk
//   Vorlind.exe /installieren:.exe,.lnk
//   Vorlind.exe /installieren-benutzer:.exe,.lnk
#include <optional>
#include <string_view>

#include "platform/files/file_calls.h"
#include "platform/processes/process_calls.h"
#include "platform/registry_calls.h"

namespace registration {

// Carries out what the arguments ask for, if they ask for one of the above:
// registers the verb for the listed file types in the dialog's table order,
// for all users only from a folder nobody but administrators may change;
// for /installieren: first copies Vorlind to its install folder
// (Installation.h). Returns the exit code (RegistrationRequest.h), nothing
// when the arguments ask for none. A failure is shown in a message with OK
// only, and only where someone can see it.
std::optional<int> RunScripted(std::wstring_view argumentText, platform::RegistryCalls& registry,
                               platform::ProcessCalls& processes, platform::FileCalls& files,
                               const platform::Sha256& linkLabelHash);

}  // namespace registration
