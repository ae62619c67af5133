#pragma once
// A question with a few ways on, each a command link: caption "Vorlind",
// modal to the owner's window.
#include <string>
#include <vector>

struct HWND__;

namespace platform {

struct Choice {
  int id;
  const wchar_t* text;          // the link's caption, then "\n" and a note under it
  bool needsElevation = false;  // shows the shield
};

inline constexpr int kChoiceCancelled = 2;  // IDCANCEL: Esc, the close box, or a choice with this id

// The id of the chosen link; kChoiceCancelled when the dialog was closed.
int AskChoice(HWND__* owner, const std::wstring& headline, const std::wstring& text, const std::vector<Choice>& choices,
              int defaultChoice);

}  // namespace platform
