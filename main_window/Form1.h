#pragma once
// The command window: shows the command line the program was given, lets the
// user add parameters and starts it.
#include "main_window/Recall.h"
#include "main_window/TabCompletion.h"
#include "platform/forms/form.h"
#include "platform/processes/process_calls.h"

namespace main_window {

class Form1 final : public platform::Form {
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
    kMVerlauf,
  };

  // Where the starts go; the system's process services unless a test says otherwise.
  void UseProcessCalls(platform::ProcessCalls& calls);

 private:
  Form1();

  void Form_Load() override;
  void Click(int id) override;
  void KeyPress(int id, int& keyAscii) override;
  void KeyDown(int id, int& keyCode, int shift) override;
  void CloseBox() override;
  void FilesDropped(const std::vector<std::wstring>& paths) override;
  void SuggestionRemoved(int id, const std::wstring& line) override;

  void Command1_Click();
  void Text1_KeyPress(int& keyAscii);
  void Text1_KeyDown(int& keyCode, int shift);
  bool Text1_RemoveRecalled();
  void Forget(const std::wstring& line);
  void MOptionen_Click();
  void MVerlauf_Click();
  void MUeber_Click();
  void MBeenden_Click();
  void Form_OLEDragDrop(const std::vector<std::wstring>& paths);

  platform::ProcessCalls* processes_ = &platform::SystemProcesses();
  Recall recall_;  // the earlier lines of the program the window was opened for
  bool suggesting_ = false;
  TabCompletion completion_;  // Tab's round through the names that complete a path
};

}  // namespace main_window
