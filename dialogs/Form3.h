#pragma once
// "Info": the product, its version and how to reach the team.
#include "platform/forms/form.h"

namespace dialogs {

class Form3 final : public platform::Form {
 public:
  static Form3& Instance();

  enum Id : int { kLabel1 = 101, kLabel2, kLabel3, kContactLabel, kLabel4, kLabel5 };

 private:
  Form3();

  void Form_Load() override;
};

}  // namespace dialogs
