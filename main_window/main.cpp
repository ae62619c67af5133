// The program starts by showing the command window; everything after that
// happens in its event handlers. Started with "/registrieren:" or
// "/registrieren-benutzer:" it registers the listed file types instead,
// without a window; with "/installieren:" or "/installieren-benutzer:" it
// first copies itself to its install folder and registers from there. Where
// no one could see a window (a deployment running as SYSTEM that mistyped
// the switch), it ends at once instead of waiting for a user who will never
// come.
#include "built_link_label.h"
#include "registration/RegistrationRequest.h"
#include "registration/ScriptedRegistration.h"
#include "main_window/Form1.h"
#include "platform/runtime/entry.h"
#include "platform/processes/process.h"

int platform::ProgramMain() {
  const std::wstring arguments = platform::OwnArgumentText();
  platform::ProcessCalls& processes = platform::SystemProcesses();
  if (const std::optional<int> exitCode =
          registration::RunScripted(arguments, platform::SystemRegistry(), processes, platform::SystemFiles(),
                                    registration::kBuiltLinkLabelSha256))
    return *exitCode;
  if (!processes.Interactive()) return registration::kExitUnknownEntry;
  main_window::Form1::Instance().Show();
  platform::RunEventLoop();
  return 0;
}
