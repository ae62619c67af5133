// The program starts by showing the command window; everything after that
// happens in its event handlers. Started with "/registrieren:" or
// "/registrieren-benutzer:" it registers the listed file types instead,
// without a window.
#include "dialogs/RegistrationRequest.h"
#include "dialogs/ScriptedRegistration.h"
#include "main_window/Form1.h"
#include "platform/entry.h"
#include "platform/processes/process.h"

int platform::ProgramMain() {
  const std::wstring arguments = platform::OwnArgumentText();
  if (dialogs::IsRegistrationRequest(arguments))
    return dialogs::RegisterFromArguments(arguments, platform::SystemRegistry(), platform::SystemProcesses());
  main_window::Form1::Instance().Show();
  platform::RunEventLoop();
  return 0;
}
