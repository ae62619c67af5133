#pragma once
// Registration without a window, for an elevated copy of the program and for
// administrators who deploy Vorlind by script:
//   Vorlind.exe /registrieren:.exe,.lnk
//   Vorlind.exe /registrieren-benutzer:.exe,.lnk
//   Vorlind.exe /installieren:.exe,.lnk
//   Vorlind.exe /installieren-benutzer:.exe,.lnk
#include <string_view>

#include "platform/file_calls.h"
#include "platform/processes/process_calls.h"
#include "platform/registry_calls.h"

namespace registration {

// Registers the verb for the listed file types in the dialog's table order,
// for all users only from a folder nobody but administrators may change.
// Returns the exit code (RegistrationRequest.h). A failure is shown in a
// message with OK only, and only where someone can see it.
int RegisterFromArguments(std::wstring_view argumentText, platform::RegistryCalls& registry,
                          platform::ProcessCalls& processes);

// Copies Vorlind to its install folder and registers it from there
// (Installation.h), with the same messages and exit codes.
int InstallFromArguments(std::wstring_view argumentText, platform::RegistryCalls& registry,
                         platform::ProcessCalls& processes, platform::FileCalls& files,
                         const platform::Sha256& linkLabelHash);

}  // namespace registration
