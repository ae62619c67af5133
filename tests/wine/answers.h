#pragma once
// Answers the dialogs that the program code shows inside a test program: a
// timer in the dialog's own modal loop finds the visible message box or task
// dialog of this thread, notes what it says and offers, and presses a button.
#include <windows.h>

#include <string>
#include <vector>

struct Answers {
  std::vector<int> buttons;  // the ids to press, one per dialog, in order; then IDOK/IDCANCEL
  int seen = 0;              // dialogs answered
  std::wstring text;         // the last one's texts, one control per line
  std::vector<int> offered;  // the last one's button ids

  bool Offers(int id) const;
};

// Answers dialogs while it lives.
class Answering {
 public:
  explicit Answering(Answers& answers);
  ~Answering();
  Answering(const Answering&) = delete;
  Answering& operator=(const Answering&) = delete;

 private:
  UINT_PTR timer_;
};

std::wstring WindowText(HWND hwnd);
