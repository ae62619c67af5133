#include <windows.h>

#include <string>

#include "platform/runtime_error.h"
#include "platform/text.h"

namespace platform {

void Raise(const RunTimeError& error) {
  // The program's error numbers are all positive.
  const std::wstring text =
      Filled("Laufzeitfehler '\1':\n\n\2", {Number(static_cast<unsigned long>(error.Number())), error.Text()});
  // Task-modal: every window of the program is disabled while it shows, as
  // the error may come from any of them.
  ::MessageBoxW(nullptr, text.c_str(), L"Vorlind", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ::ExitProcess(1);
}

}  // namespace platform
