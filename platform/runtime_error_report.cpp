#include <windows.h>

#include <string>

#include "platform/runtime_error.h"

namespace platform {

void Raise(const RunTimeError& error) {
  wchar_t number[16];
  _itow_s(error.Number(), number, 16, 10);
  const std::wstring text = L"Laufzeitfehler '" + std::wstring(number) + L"':\n\n" + error.Text();
  // Task-modal: every window of the program is disabled while it shows, as
  // the error may come from any of them.
  ::MessageBoxW(nullptr, text.c_str(), L"Vorlind", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ::ExitProcess(1);
}

}  // namespace platform
