#pragma once
// The process services a start needs, behind an interface so that tests can
// see every call and make any of them fail. The real implementation calls
// the Win32 functions (process.cpp).
#include <optional>
#include <string>

#include "platform/files/file_access.h"

struct HWND__;

namespace platform {

// The platform's error codes the program tells apart.
inline constexpr unsigned long kErrorFileNotFound = 2;
inline constexpr unsigned long kErrorPathNotFound = 3;
inline constexpr unsigned long kErrorDirectory = 267;  // ERROR_DIRECTORY: the folder cannot be used
inline constexpr unsigned long kErrorTooLong = 206;    // ERROR_FILENAME_EXCED_RANGE
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
  // (empty: none), to start in the folder given, never in another; the
  // owner's window parents any prompt. 0, or the error code.
  virtual unsigned long ShellStart(const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                                   const std::wstring& folder, HWND__* owner) = 0;
  // This process's current folder: the clicked file's folder when the shell
  // started it from the context menu.
  virtual std::wstring CurrentFolder() = 0;

  virtual bool IsFile(const std::wstring& path) = 0;    // exists and is no folder
  virtual bool IsFolder(const std::wstring& path) = 0;  // exists and is a folder
  virtual std::optional<std::wstring> Environment(const wchar_t* name) = 0;
  virtual std::wstring SystemFolder() = 0;
  virtual std::wstring ProgramFile() = 0;  // this program's own full path
  // Whether this process runs with an administrator's full token; nothing
  // when that cannot be found out.
  virtual std::optional<bool> Elevated() = 0;
  // Whether the account is a member of Administrators, elevated or not.
  virtual std::optional<bool> AdministratorsMember() = 0;
  // The platform's text for an error code, in the user's language.
  virtual std::wstring ErrorText(unsigned long code) = 0;

  // Starts a program through the shell's "runas" action (one consent
  // prompt) and waits for it to end. Meanwhile the thread's window messages
  // are handled, so no window freezes, and the owner stays disabled, so the
  // user cannot act in it. 0 with the program's exit code, or the error code.
  // No exit code when it started but its end is unknown: no process to
  // wait for, a wait that failed, or the program closing meanwhile.
  virtual unsigned long RunElevated(const std::wstring& file, const std::wstring& parameters, HWND__* owner,
                                    std::optional<unsigned long>& exitCode) = 0;
  // Who may change a file or folder; nothing when that cannot be read.
  virtual std::optional<FileAccess> Access(const std::wstring& path) = 0;
  // The SID of the account this process runs as.
  virtual std::wstring UserSid() = 0;
  // Where a file really lies, links resolved: 0, or the error code.
  virtual unsigned long FinalPath(const std::wstring& path, std::wstring& final) = 0;
  // Whether the entry itself is a reparse point; nothing when unknown.
  virtual std::optional<bool> ReparsePoint(const std::wstring& path) = 0;
  // The path with its short (8.3) names written in full.
  virtual std::wstring LongPath(const std::wstring& path) = 0;
  // GetDriveTypeW for the volume that holds the path, and the storage bus
  // of its drive letter's disk (0: unknown).
  virtual unsigned DriveType(const std::wstring& path) = 0;
  virtual unsigned StorageBus(const std::wstring& path) = 0;
  virtual bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) = 0;
  // Whether a window of this process can be seen by anyone: not in a
  // service's window station (a deployment running as SYSTEM), where a
  // message box would wait for ever.
  virtual bool Interactive() = 0;
};

ProcessCalls& SystemProcesses();

}  // namespace platform
