#include "platform/message_box.h"

#include <windows.h>

#include <string>

namespace platform {

bool ShowMessage(HWND owner, std::wstring_view text, Buttons buttons, bool error) {
  const std::wstring copy(text);
  const UINT style = (buttons == Buttons::YesNo ? MB_YESNO : MB_OK) | (error ? MB_ICONERROR : MB_ICONINFORMATION);
  const int answer = ::MessageBoxW(owner, copy.c_str(), L"Vorlind", style);
  return answer == IDOK || answer == IDYES;
}

}  // namespace platform
