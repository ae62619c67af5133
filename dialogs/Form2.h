#pragma once
// "Dateitypen registrieren": chooses the file types whose context menu gets
// the verb, and registers it.
#include <string>

#include "registration/FileTypes.h"
#include "registration/RegistrationFailure.h"
#include "registration/RegistrationRequest.h"
#include "platform/files/file_calls.h"
#include "platform/forms/form.h"
#include "platform/processes/process_calls.h"
#include "platform/registry_calls.h"

namespace dialogs {

using registration::FailureReport;
using registration::Rows;

class Form2 final : public platform::Form {
 public:
  static Form2& Instance();

  enum Id : int { kCheck1 = 101, kCheck2, kCheck3, kCheck4, kCheck5, kCommand1, kCommand2 };
  // The ways on when registering for all users failed or was refused; the
  // copies where it was refused because of where Vorlind lies.
  enum ChoiceId : int { kForAllUsers = 1001, kForMe, kCopyForAllUsers, kCopyForMe };

  // Where registration, elevation and copying go; the system's unless a
  // test says otherwise.
  void UsePlatform(platform::RegistryCalls& registry, platform::ProcessCalls& processes,
                   platform::FileCalls& files = platform::SystemFiles());

 private:
  Form2();

  void Form_Load() override;
  void Click(int id) override;

  void Command1_Click();
  void Command2_Click();
  void RegisterForAllUsers(const Rows& rows);
  void Offer(const FailureReport& report, const Rows& rows, bool copyForMe = false, bool copyForAll = false);
  void RegisterForMe(const Rows& rows);
  bool ReportFailure(const registration::Outcome& outcome);
  bool RunElevated(const std::wstring& parameters, std::optional<unsigned long>& exitCode);
  void RegisterElevated(const Rows& rows);
  void CopyAndRegister(const Rows& rows, bool forUser);

  platform::RegistryCalls* registry_ = &platform::SystemRegistry();
  platform::ProcessCalls* processes_ = &platform::SystemProcesses();
  platform::FileCalls* files_ = &platform::SystemFiles();
};

}  // namespace dialogs
