#pragma once
#include "platform/runtime_error.h"

namespace platform {

// Shows the run time's error message box and ends the program.
[[noreturn]] void ReportAndEnd(const RunTimeError& error);

// Runs a handler; whatever escapes it becomes the run-time error. Used at every
// boundary where the platform calls into the program.
template <typename Handler>
auto Guarded(Handler&& handler) noexcept {
  try {
    return handler();
  } catch (const RunTimeError& error) {
    ReportAndEnd(error);
  } catch (...) {
    ReportAndEnd(RunTimeError(51, L"Interner Fehler"));
  }
}

}  // namespace platform
