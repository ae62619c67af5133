#pragma once
// Whether Vorlind may be registered for all users from where it lies: every
// user's context menu would then run whatever lies there as the program, so
// nobody but administrators may be able to change it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_access.h"
#include "platform/processes/process_calls.h"

namespace registration {

// Rights that let an account replace, add or remove what lies in a folder or
// file, or give itself those rights: write and create, append, delete (also
// inside a folder), change the permissions, take ownership, and the generic
// write and all.
inline constexpr unsigned long kChangeRights = 0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000 | 0x40000000 | 0x10000000;

// Administrators, SYSTEM and TrustedInstaller may always change the
// program's files; the account that registers only while it runs elevated,
// for then it is an administrator itself. Its SID, or empty when it may not.
std::wstring_view TrustedUser(std::wstring_view userSid, std::optional<bool> elevated);

// Whether anyone but those accounts may change the object: an entry
// allowing a change right, or an owner (who may always change the
// permissions unless an OWNER RIGHTS entry says otherwise).
bool OthersMayChange(const platform::FileAccess& access, std::wstring_view trustedUser);

// The folder of a program file; a drive root keeps its backslash ("D:\").
std::wstring FolderOf(std::wstring_view programFile);

// The first of the program's folder, the program file and LinkLabel.dll
// beside it that others may change, or whose security cannot be read;
// nothing when none.
std::optional<std::wstring> UnsafePath(platform::ProcessCalls& calls, std::wstring_view programFile,
                                       std::optional<bool> elevated);

}  // namespace registration
