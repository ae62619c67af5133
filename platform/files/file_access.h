#pragma once
// Who may do what with a file or folder: its owner and the entries of its
// access list, read from the file system's security.
#include <optional>
#include <string>
#include <vector>

namespace platform {

inline constexpr unsigned long kMediumIntegrity = 0x2000;  // SECURITY_MANDATORY_MEDIUM_RID

struct AccessEntry {
  std::wstring sid;    // "S-1-5-32-544"
  unsigned long mask;  // the rights the entry grants or denies
  bool allows;
};

struct FileAccess {
  std::wstring owner;                // the owner's SID: it may always change the permissions
  std::vector<AccessEntry> entries;  // only those that apply to the object itself
  bool exists = true;                // false: there is no such file, so nothing of it to change
  // The level of its mandatory label (SECURITY_MANDATORY_*_RID): medium
  // where it has none. Processes of a level at least as high may write it.
  unsigned long integrity = kMediumIntegrity;
};

// Nothing when the security cannot be read. A file system without access
// lists gives everybody every right.
std::optional<FileAccess> ReadFileAccess(const std::wstring& path);

// The SID of the account this process runs as; empty when unknown.
std::wstring CurrentUserSid();

// Whether the account this process runs as is a member of Administrators:
// the same answer for an elevated token and for a filtered one, which holds
// the group for denying only. Nothing when the token cannot be read.
std::optional<bool> AdministratorsMember();

// Where a file really lies: its path with every junction, symbolic link and
// substituted drive on the way resolved, without the "\\?\" prefix
// ("\\server\share\..." for a share). 0, or the error code when it cannot
// be opened (ERROR_FILE_NOT_FOUND also for a link whose target is missing).
unsigned long FinalPath(const std::wstring& path, std::wstring& final);

// Whether the file or folder itself (a link not followed) is a reparse
// point of any kind: a junction, a symbolic link, a volume mounted there, a
// cloud file. False where nothing is; nothing when it cannot be opened.
std::optional<bool> ReparsePoint(const std::wstring& path);

// The path with every short (8.3) name written in full; the path itself
// when that fails.
std::wstring LongPath(const std::wstring& path);

// GetDriveTypeW's answer for the volume that holds the path (a volume
// mounted in a folder is asked itself, not the drive above); 0 (unknown)
// when there is none.
unsigned DriveType(const std::wstring& path);

// The bus that the disk of the path's drive letter hangs on
// (STORAGE_BUS_TYPE: 7 USB, ...); 0 (unknown) for a share or when the disk
// cannot be asked.
unsigned StorageBus(const std::wstring& path);

// Whether two texts are equal ignoring letter case, as the file system and
// the registry compare names: across all of Unicode.
bool SameIgnoringCase(const std::wstring& a, const std::wstring& b);

}  // namespace platform
