#pragma once
// "Dateitypen registrieren": chooses the file types whose context menu gets
// the verb, and registers it.
#include "platform/form.h"

namespace dialogs {

class Form2 : public platform::Form {
 public:
  static Form2& Instance();

  enum Id : int { kCheck1 = 101, kCheck2, kCheck3, kCheck4, kCheck5, kCommand1, kCommand2 };

 private:
  Form2();

  void Form_Load() override;
  void Click(int id) override;

  void Command1_Click();
  void Command2_Click();
};

}  // namespace dialogs
