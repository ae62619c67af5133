#pragma once
// The program's messages: caption "Vorlind", modal to the owner's window.
#include <string_view>

struct HWND__;

namespace platform {

enum class Buttons { Ok, YesNo };

// True when the user chose OK or Ja.
bool ShowMessage(HWND__* owner, std::wstring_view text, Buttons buttons, bool error = true);

}  // namespace platform
