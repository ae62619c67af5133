#pragma once
// A question with a few ways on, each a command link: caption "Vorlind",
// modal to the owner's window.
#include <cstddef>
#include <span>
#include <string>

struct HWND__;

namespace platform {

struct Choice {
  int id;
  const wchar_t* text;          // the link's caption, then "\n" and a note under it
  bool needsElevation = false;  // shows the shield
};

inline constexpr int kChoiceCancelled = 2;      // IDCANCEL: Esc, the close box, or a choice with this id
inline constexpr std::size_t kMostChoices = 4;  // links beyond are not shown

// The id of the chosen link; kChoiceCancelled when the dialog was closed.
int AskChoice(HWND__* owner, const std::wstring& headline, const std::wstring& text, std::span<const Choice> choices,
              int defaultChoice);

}  // namespace platform
