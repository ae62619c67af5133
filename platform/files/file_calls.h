#pragma once
// The file services that copying the program needs, behind an interface so
// that tests can see every call and make any of them fail. The real
// implementation calls the Win32 functions (file_calls.cpp). Each call
// answers 0 or the platform's error code.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using Sha256 = std::array<unsigned char, 32>;
using Bytes = std::vector<unsigned char>;

// The file under the program's name is not the file this process runs from:
// it was replaced after the start (ERROR_FILE_INVALID).
inline constexpr unsigned long kErrorNotTheRunningFile = 1006;

class FileCalls {
 public:
  virtual ~FileCalls() = default;

  // The folder and the folders above it that are missing; an existing one is
  // fine. created: the outermost folder it created (empty: none).
  virtual unsigned long CreateFolder(const std::wstring& folder, std::wstring& created) = 0;
  // Removes a folder that is empty.
  virtual unsigned long RemoveFolder(const std::wstring& folder) = 0;
  // The bytes of the file this process runs from, read under the program's
  // name only when that name still leads to the running file.
  virtual unsigned long ReadProgram(const std::wstring& programFile, Bytes& bytes) = 0;
  virtual unsigned long ReadFile(const std::wstring& path, Bytes& bytes) = 0;
  // Creates the file anew (one there is deleted first), and returns once the
  // bytes are on the disk.
  virtual unsigned long WriteFile(const std::wstring& path, const Bytes& bytes) = 0;
  virtual unsigned long Hash(const Bytes& bytes, Sha256& hash) = 0;
  // Renames, replacing a file of the new name, written through to the disk.
  virtual unsigned long Move(const std::wstring& from, const std::wstring& to) = 0;
  virtual unsigned long Delete(const std::wstring& path) = 0;
  // Where Vorlind lies when installed: "<Program Files>\Vorlind" for all
  // users, "<the user's program folder>\Vorlind" for the current user.
  virtual std::optional<std::wstring> InstallFolder(bool forUser) = 0;
};

FileCalls& SystemFiles();

}  // namespace platform
