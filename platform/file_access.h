#pragma once
// Who may do what with a file or folder: its owner and the entries of its
// access list, read from the file system's security.
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct AccessEntry {
  std::wstring sid;    // "S-1-5-32-544"
  unsigned long mask;  // the rights the entry grants or denies
  bool allows;
};

struct FileAccess {
  std::wstring owner;                // the owner's SID: it may always change the permissions
  std::vector<AccessEntry> entries;  // only those that apply to the object itself
  bool exists = true;                // false: there is no such file, so nothing of it to change
};

// Nothing when the security cannot be read. A file system without access
// lists gives everybody every right.
std::optional<FileAccess> ReadFileAccess(const std::wstring& path);

// The SID of the account this process runs as; empty when unknown.
std::wstring CurrentUserSid();

}  // namespace platform
