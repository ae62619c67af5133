#pragma once
// Alt+letter on a form.
#include <windows.h>

namespace platform {

// Handles the access key of a form's control; false when no control has it,
// so the key goes on to the menu bar.
bool PressAccessKey(HWND form, wchar_t letter);

}  // namespace platform
