#pragma once
// Whether Vorlind may be registered from where it lies. The context menu
// runs whatever lies there as the program: for all users in every user's
// session, for the current user in theirs. So the path registered is the
// path the file really lies under, and nobody but those trusted for the
// scope may change the program, its control, its folder, or any folder
// above it in a way that puts another file there.
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/file_access.h"
#include "platform/processes/process_calls.h"

namespace registration {

enum class Scope { AllUsers, CurrentUser };

// Rights that let an account replace, add or remove what lies in a folder or
// file, or give itself those rights: write and create, append, delete (also
// inside a folder), change the permissions, take ownership, and the generic
// write and all.
inline constexpr unsigned long kChangeRights = 0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000 | 0x40000000 | 0x10000000;
// In a folder above, creating files and folders is harmless (every "C:\"
// grants it); deleting or renaming the folder or what it holds, changing
// its permissions or owner, and the generic write and all are not.
inline constexpr unsigned long kRedirectRights = 0x40 | 0x10000 | 0x40000 | 0x80000 | 0x40000000 | 0x10000000;

// Administrators, SYSTEM and TrustedInstaller may always change the
// program's files; the account that registers too where it is a member of
// Administrators (all users) or always (the current user's own entry). Its
// SID, or empty when it is not trusted.
std::wstring_view TrustedUser(std::wstring_view userSid, std::optional<bool> administrator);

// Whether anyone but those accounts holds one of the rights, or owns the
// object (an owner may always change the permissions unless an OWNER RIGHTS
// entry says otherwise).
bool OthersMayChange(const platform::FileAccess& access, std::wstring_view trustedUser,
                     unsigned long rights = kChangeRights);

// The folder of a program file; a drive root keeps its backslash ("D:\").
std::wstring FolderOf(std::wstring_view programFile);

// A file's path in a folder: "C:\Program Files\Vorlind" + "Vorlind.exe".
std::wstring PathIn(std::wstring_view folder, std::wstring_view name);

// Why registering from a place is refused.
enum class Refusal {
  Redirected,    // a link or substituted drive on the way: it may point elsewhere later
  Percent,       // a "%" in the path, which the shell reads as a placeholder
  NotFixedDisk,  // a removable, network or optical drive, or a disk on USB, 1394, SD or MMC not Windows' (all users)
  Unsafe,        // someone untrusted may change the program, its folder or one above
  ReparsePoint,  // the program, LinkLabel.dll or a folder on the way is a link, mount point or cloud file
  LowIntegrity,  // one of them is labelled below medium integrity: sandboxed processes may write it
};

struct Place {
  std::wstring program;            // where the program really lies: registered and checked
  std::optional<Refusal> refusal;  // nothing: registering from here is allowed
  std::wstring path;               // what failed: the folder or file; for Redirected the path started from
};

// Where the running program lies and whether it may be registered from there
// for the scope. Security that cannot be read, and a path that cannot be
// resolved or examined, count as unsafe.
Place CheckPlace(platform::ProcessCalls& calls, Scope scope);

// The same check for a program file at a given path (a copy's destination,
// which may not exist yet: then its folder's real path counts).
Place CheckPlaceOf(platform::ProcessCalls& calls, const std::wstring& programFile, Scope scope);

}  // namespace registration
