// The program starts by showing the command window; everything after that
// happens in its event handlers. Started with "/registrieren:" or
// "/registrieren-benutzer:" it registers the listed file types instead,
// without a window. Where no one could see a window (a deployment running
// as SYSTEM that mistyped the switch), it ends at once instead of waiting
// for a user who will never come.
#include "dialogs/RegistrationRequest.h"
#include "dialogs/ScriptedRegistration.h"
#include "main_window/Form1.h"
#include "platform/entry.h"
#include "platform/processes/process.h"

int platform::ProgramMain() {
  const std::wstring arguments = platform::OwnArgumentText();
  platform::ProcessCalls& processes = platform::SystemProcesses();
  if (dialogs::IsRegistrationRequest(arguments))
    return dialogs::RegisterFromArguments(arguments, platform::SystemRegistry(), processes);
  if (!processes.Interactive()) return dialogs::kExitUnknownEntry;
  main_window::Form1::Instance().Show();
  platform::RunEventLoop();
  return 0;
}
