#pragma once
// The program's run-time error: raised where something cannot go on; it is
// reported in the run time's message box, then the program ends. There are
// no exceptions: raising reports and ends at once.
#include <string>
#include <utility>

namespace platform {

class RunTimeError {
 public:
  RunTimeError(int number, std::wstring text) : number_(number), text_(std::move(text)) {}
  int Number() const { return number_; }
  const std::wstring& Text() const { return text_; }

 private:
  int number_;
  std::wstring text_;
};

// Error numbers the program raises.
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kFileNotFound = 53;
inline constexpr int kComponentMissing = 339;

// Shows the run time's error message box and ends the program.
[[noreturn]] void Raise(const RunTimeError& error);

}  // namespace platform
