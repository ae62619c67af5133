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

std::optional<int> RunScripted(std::wstring_view argumentText, platform::RegistryCalls& registry,
                               platform::ProcessCalls& processes, platform::FileCalls& files,
                               const platform::Sha256& linkLabelHash) {
  if (const std::optional<Request> request = ParseRequest(FileTypes(), argumentText))
    return Reported(RegisterAsRequested(*request, registry, processes), request->quiet, processes);
  if (const std::optional<Request> request = ParseInstallRequest(FileTypes(), argumentText))
    return Reported(InstallAsRequested(*request, registry, processes, files, linkLabelHash), request->quiet, processes);
  return std::nullopt;
}

}  // namespace registration
