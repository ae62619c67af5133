#include "platform/files/file_access.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

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

}  // namespace

std::optional<FileAccess> ReadFileAccess(const std::wstring& path) {
  PSID owner = nullptr;
  PACL dacl = nullptr;
  LocalMemory descriptor;
  const DWORD status =
      ::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              &owner, nullptr, &dacl, nullptr, &descriptor.p);
  if (status == ERROR_FILE_NOT_FOUND) return FileAccess{{}, {}, false};
  if (status != ERROR_SUCCESS) return std::nullopt;
  // One entry for each of the list's, those that do not apply dropped at the end.
  FileAccess access{{}, std::vector<AccessEntry>(dacl ? dacl->AceCount : 1)};
  SidText(owner, access.owner);
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

std::optional<std::wstring> FinalPath(const std::wstring& path) {
  // No rights asked for: even a file nobody may read has a final path.
  HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  UniqueHandleObject owner(file);
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()),
                                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return std::nullopt;
    if (n < final.size()) {
      final.resize(n);
      break;
    }
    final.resize(n);  // n counts the terminating zero when the buffer was too small
  }
  constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\", kLong = L"\\\\?\\";
  std::wstring_view shown = final;
  if (shown.starts_with(kUnc)) {
    // "\\?\UNC\server" is "\\server": the prefix's last backslash stays, another before it.
    final[kUnc.size() - 2] = L'\\';
    shown.remove_prefix(kUnc.size() - 2);
  } else if (shown.starts_with(kLong)) {
    shown.remove_prefix(kLong.size());
  }
  return std::wstring(shown);
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

unsigned DriveType(const std::wstring& root) { return ::GetDriveTypeW(root.c_str()); }

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace platform
