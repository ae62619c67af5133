#pragma once
// Alt+letter on a form.
#include <windows.h>

namespace platform {

// Handles the access key of a form's control: a key of one control presses
// it, a key several controls share moves the focus to the next of them.
// False when no control has it, so the key goes on to the menu bar.
bool PressAccessKey(HWND form, wchar_t letter);

}  // namespace platform
