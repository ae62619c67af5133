#pragma once
// Registration without a window, for an elevated copy of the program and for
// administrators who deploy Vorlind by script:
//   Vorlind.exe /registrieren:.exe,.lnk
#include <string_view>

namespace dialogs {

// Registers the verb for the listed file types in the dialog's table order.
// Returns the exit code: 0 when all were registered (or none was known), 1
// after the failure message when any failed.
int RegisterFromArguments(std::wstring_view argumentText);

}  // namespace dialogs
