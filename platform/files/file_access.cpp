#include "platform/files/file_access.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <winioctl.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/handles.h"

namespace platform {

namespace {

// Left as it is (empty) when the SID cannot be written.
void SidText(PSID sid, std::wstring& text) {
  wchar_t* converted = nullptr;
  if (!sid || !::ConvertSidToStringSidW(sid, &converted)) return;
  text = converted;
  ::LocalFree(converted);
}

struct LocalMemory {
  ~LocalMemory() { ::LocalFree(p); }
  void* p = nullptr;
};

// The level of the object's own mandatory label; medium where it has none,
// untrusted (0) where the list cannot be read.
unsigned long Integrity(PACL sacl) {
  for (DWORD i = 0; sacl && i < sacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(sacl, i, &ace)) return 0;
    const auto* header = static_cast<const ACE_HEADER*>(ace);
    if (header->AceType != SYSTEM_MANDATORY_LABEL_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) continue;
    // A label's SID is S-1-16-<level>: the level is its one sub-authority.
    return *::GetSidSubAuthority(&static_cast<SYSTEM_MANDATORY_LABEL_ACE*>(ace)->SidStart, 0);
  }
  return kMediumIntegrity;
}

HANDLE OpenForQuery(const wchar_t* path, DWORD access, DWORD flags) {
  return ::CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       flags, nullptr);
}

}  // namespace

std::optional<FileAccess> ReadFileAccess(const std::wstring& path) {
  PSID owner = nullptr;
  PACL dacl = nullptr, sacl = nullptr;
  LocalMemory descriptor;
  // The label needs no more right than the owner and the list (READ_CONTROL).
  const DWORD status = ::GetNamedSecurityInfoW(
      path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION,
      &owner, nullptr, &dacl, &sacl, &descriptor.p);
  if (status == ERROR_FILE_NOT_FOUND) return FileAccess{{}, {}, false};
  if (status != ERROR_SUCCESS) return std::nullopt;
  // One entry for each of the list's, those that do not apply dropped at the end.
  FileAccess access{{}, std::vector<AccessEntry>(dacl ? dacl->AceCount : 1)};
  SidText(owner, access.owner);
  access.integrity = Integrity(sacl);
  if (!dacl) {
    AccessEntry& everyone = access.entries[0];  // no list: Everyone, everything
    everyone.sid = L"S-1-1-0";
    everyone.mask = GENERIC_ALL;
    everyone.allows = true;
    return access;
  }
  std::size_t kept = 0;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(dacl, i, &ace)) return std::nullopt;
    const auto* header = static_cast<const ACE_HEADER*>(ace);
    if (header->AceFlags & INHERIT_ONLY_ACE) continue;  // only passed on to what is created inside
    const bool allows =
        header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
    const bool denies = header->AceType == ACCESS_DENIED_ACE_TYPE || header->AceType == ACCESS_DENIED_CALLBACK_ACE_TYPE;
    if (!allows && !denies) continue;
    // The allowed and denied entries share one layout: header, mask, SID.
    const auto* entry = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
    AccessEntry& out = access.entries[kept++];
    SidText(const_cast<DWORD*>(&entry->SidStart), out.sid);
    out.mask = entry->Mask;
    out.allows = allows;
  }
  while (access.entries.size() > kept) access.entries.pop_back();
  return access;
}

std::wstring CurrentUserSid() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  UniqueHandleObject owner(token);
  alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) return {};
  std::wstring sid;
  SidText(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, sid);
  return sid;
}

std::optional<bool> AdministratorsMember() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
  UniqueHandleObject owner(token);
  DWORD size = 0;
  ::GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
  const LocalMemory buffer{::LocalAlloc(LMEM_FIXED, size + sizeof(TOKEN_GROUPS))};
  if (!buffer.p || !::GetTokenInformation(token, TokenGroups, buffer.p, size, &size)) return std::nullopt;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  PSID sid = administrators;
  if (!::InitializeSid(sid, &nt, 2)) return std::nullopt;
  *::GetSidSubAuthority(sid, 0) = SECURITY_BUILTIN_DOMAIN_RID;
  *::GetSidSubAuthority(sid, 1) = DOMAIN_ALIAS_RID_ADMINS;
  const TOKEN_GROUPS& groups = *static_cast<const TOKEN_GROUPS*>(buffer.p);
  for (DWORD i = 0; i < groups.GroupCount; ++i) {
    // Enabled in an elevated token, for denying only in a filtered one:
    // a member either way. Elevation alone proves nothing (Backup Operators
    // get an elevatable token too).
    const DWORD attributes = groups.Groups[i].Attributes;
    if ((attributes & (SE_GROUP_ENABLED | SE_GROUP_USE_FOR_DENY_ONLY)) && ::EqualSid(groups.Groups[i].Sid, sid))
      return true;
  }
  return false;
}

unsigned long FinalPath(const std::wstring& path, std::wstring& final) {
  // No rights asked for: even a file nobody may read has a final path.
  HANDLE file = OpenForQuery(path.c_str(), 0, FILE_FLAG_BACKUP_SEMANTICS);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
  UniqueHandleObject owner(file);
  std::wstring text(MAX_PATH, L'\0');
  DWORD n = 0;
  // n counts the terminating zero when the buffer was too small.
  while ((n = ::GetFinalPathNameByHandleW(file, text.data(), static_cast<DWORD>(text.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS)) >= text.size())
    text.resize(n);
  if (n == 0) return ::GetLastError();
  text.resize(n);
  // "\\?\C:\..." is "C:\...", and "\\?\UNC\server\..." is "\\server\...": that
  // prefix's last backslash stays, another before it. Each test stops at the
  // text's zero.
  wchar_t* const p = text.data();
  std::size_t skip = 0;
  if (p[0] == L'\\' && p[1] == L'\\' && p[2] == L'?' && p[3] == L'\\') {
    skip = 4;
    if (p[4] == L'U' && p[5] == L'N' && p[6] == L'C' && p[7] == L'\\') p[skip = 6] = L'\\';
  }
  final = text.c_str() + skip;
  return 0;
}

std::optional<bool> ReparsePoint(const std::wstring& path) {
  // The entry itself, not what it points to; backup semantics open a folder.
  HANDLE file =
      OpenForQuery(path.c_str(), FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS);
  if (file == INVALID_HANDLE_VALUE)
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<bool>(false) : std::nullopt;
  UniqueHandleObject owner(file);
  FILE_ATTRIBUTE_TAG_INFO info{};
  if (!::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &info, sizeof info)) return std::nullopt;
  return (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::wstring LongPath(const std::wstring& path) {
  const DWORD n = ::GetLongPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD written = ::GetLongPathNameW(path.c_str(), full.data(), n);
  if (written == 0 || written >= n) return path;
  full.resize(written);
  return full;
}

unsigned DriveType(const std::wstring& path) {
  // The root of the volume that holds the path: "C:\", or "C:\Mnt\" where a
  // volume is mounted in that folder. It is no longer than the path.
  std::wstring root(path.size() + 2, L'\0');
  if (!::GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) return DRIVE_UNKNOWN;
  return ::GetDriveTypeW(root.c_str());
}

unsigned StorageBus(const std::wstring& path) {
  // The volume of the path's drive letter (\\.\C:), which anyone may ask
  // what it is; a share has none. A volume mounted in a folder below is a
  // reparse point on the way, refused by the caller whatever its bus.
  wchar_t device[] = L"\\\\.\\?:";
  const wchar_t* const drive = path.c_str();
  if (!drive[0] || drive[1] != L':') return 0;
  device[4] = drive[0];
  HANDLE volume = OpenForQuery(device, 0, 0);
  if (volume == INVALID_HANDLE_VALUE) return 0;
  UniqueHandleObject owner(volume);
  STORAGE_PROPERTY_QUERY query{StorageDeviceProperty, PropertyStandardQuery, {}};
  STORAGE_DEVICE_DESCRIPTOR descriptor{};  // its fixed part: the bus comes before the device's names
  DWORD size = 0;
  if (!::DeviceIoControl(volume, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &descriptor, sizeof descriptor,
                         &size, nullptr) ||
      size < offsetof(STORAGE_DEVICE_DESCRIPTOR, RawPropertiesLength))
    return 0;
  return descriptor.BusType;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace platform
