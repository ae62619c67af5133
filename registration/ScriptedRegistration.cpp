#include "registration/ScriptedRegistration.h"

#include "registration/RegistrationRequest.h"
#include "platform/message_box.h"

namespace registration {

int RegisterFromArguments(std::wstring_view argumentText, platform::RegistryCalls& registry,
                          platform::ProcessCalls& processes) {
  const std::optional<Request> request = ParseRequest(FileTypes(), argumentText);
  if (!request) return kExitUnknownEntry;
  const Outcome outcome = RegisterAsRequested(*request, registry, processes);
  // A deployment running as SYSTEM has no one to close a message: the exit
  // code speaks there.
  if (outcome.failure && !request->quiet && processes.Interactive())
    platform::ShowMessage(nullptr, outcome.failure->MessageText(), platform::Buttons::Ok);
  return outcome.exitCode;
}

}  // namespace registration
