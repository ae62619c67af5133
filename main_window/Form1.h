#pragma once
// The command window: shows the command line the program was given, lets the
// user add parameters and starts it.
#include "platform/form.h"

namespace main_window {

class Form1 : public platform::Form {
 public:
  static Form1& Instance();

  enum Id : int {
    kLabel2 = 101,
    kText1,
    kCommand1,
    kMDatei = 201,
    kMOptionen,
    kMStrich1,
    kMBeenden,
    kMInfo,
    kMUeber,
  };

 private:
  Form1();

  void Form_Load() override;
  void Click(int id) override;
  void KeyPress(int id, int& keyAscii) override;
  void CloseBox() override;

  void Command1_Click();
  void Text1_KeyPress(int& keyAscii);
  void MOptionen_Click();
  void MUeber_Click();
  void MBeenden_Click();
};

}  // namespace main_window
