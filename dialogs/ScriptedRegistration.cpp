#include "dialogs/ScriptedRegistration.h"

#include "dialogs/Form2.h"
#include "dialogs/RegistrationRequest.h"
#include "platform/message_box.h"
#include "platform/processes/process.h"

namespace dialogs {

int RegisterFromArguments(std::wstring_view argumentText) {
  const std::wstring folder = platform::ProgramFolder();
  platform::RegistryCalls& registry = platform::SystemRegistry();
  const std::vector<std::wstring> failed = RegisterRows(ListedRows(Form2::FileTypes(), argumentText), folder, registry);
  if (failed.empty()) return 0;
  // OK only: this copy never asks to elevate again.
  const FailureReport report =
      RegistrationFailure(failed, folder, FolderStorable(folder, registry), std::nullopt, false);
  platform::ShowMessage(nullptr, report.text, platform::Buttons::Ok);
  return 1;
}

}  // namespace dialogs
