#pragma once
// The process services a start needs, behind an interface so that tests can
// see every call and make any of them fail. The real implementation calls
// the Win32 functions (process.cpp).
#include <optional>
#include <string>

struct HWND__;

namespace platform {

// The platform's error codes the program tells apart.
inline constexpr unsigned long kErrorFileNotFound = 2;
inline constexpr unsigned long kErrorTooLong = 206;  // ERROR_FILENAME_EXCED_RANGE
inline constexpr unsigned long kErrorElevationRequired = 740;
inline constexpr unsigned long kErrorCancelled = 1223;  // the user declined

class ProcessCalls {
 public:
  virtual ~ProcessCalls() = default;

  // Creates a process with a normal, activated window and does not wait for
  // it; an empty application lets the platform take it from the command line.
  // 0, or the platform's error code.
  virtual unsigned long StartProcess(const std::wstring& application, const std::wstring& commandLine,
                                     bool newConsole) = 0;
  // Hands a file to the shell's action ("open", "runas") with parameters
  // (empty: none); the owner's window parents any prompt. 0, or the error code.
  virtual unsigned long ShellStart(const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                                   HWND__* owner) = 0;

  virtual bool IsFile(const std::wstring& path) = 0;  // exists and is no folder
  virtual std::optional<std::wstring> Environment(const wchar_t* name) = 0;
  virtual std::wstring SystemFolder() = 0;
  virtual std::wstring ProgramFile() = 0;  // this program's own full path
  // Whether this process runs with an administrator's full token; nothing
  // when that cannot be found out.
  virtual std::optional<bool> Elevated() = 0;
  // The platform's text for an error code, in the user's language.
  virtual std::wstring ErrorText(unsigned long code) = 0;
};

ProcessCalls& SystemProcesses();

}  // namespace platform
