#include "registration/ScriptedRegistration.h"

#include "registration/Installation.h"
#include "registration/RegistrationRequest.h"
#include "platform/message_box.h"

namespace registration {

namespace {

int Reported(const Outcome& outcome, bool quiet, platform::ProcessCalls& processes) {
  // A deployment running as SYSTEM has no one to close a message: the exit
  // code speaks there.
  if (outcome.failure && !quiet && processes.Interactive())
    platform::ShowMessage(nullptr, outcome.failure->MessageText(), platform::Buttons::Ok);
  return outcome.exitCode;
}

}  // namespace

int RegisterFromArguments(std::wstring_view argumentText, platform::RegistryCalls& registry,
                          platform::ProcessCalls& processes) {
  const std::optional<Request> request = ParseRequest(FileTypes(), argumentText);
  if (!request) return kExitUnknownEntry;
  return Reported(RegisterAsRequested(*request, registry, processes), request->quiet, processes);
}

int InstallFromArguments(std::wstring_view argumentText, platform::RegistryCalls& registry,
                         platform::ProcessCalls& processes, platform::FileCalls& files,
                         const platform::Sha256& linkLabelHash) {
  const std::optional<Request> request = ParseInstallRequest(FileTypes(), argumentText);
  if (!request) return kExitUnknownEntry;
  return Reported(InstallAsRequested(*request, registry, processes, files, linkLabelHash), request->quiet, processes);
}

}  // namespace registration
