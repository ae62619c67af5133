#include "platform/file_access.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "platform/handles.h"

namespace platform {

namespace {

std::wstring SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!sid || !::ConvertSidToStringSidW(sid, &text)) return {};
  std::wstring result(text);
  ::LocalFree(text);
  return result;
}

struct LocalMemory {
  ~LocalMemory() { ::LocalFree(p); }
  PSECURITY_DESCRIPTOR p = nullptr;
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
  FileAccess access{SidText(owner), {}};
  if (!dacl) {
    access.entries.push_back({L"S-1-1-0", GENERIC_ALL, true});  // no list: Everyone, everything
    return access;
  }
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
    access.entries.push_back({SidText(const_cast<DWORD*>(&entry->SidStart)), entry->Mask, allows});
  }
  return access;
}

std::wstring CurrentUserSid() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  UniqueHandleObject owner(token);
  alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) return {};
  return SidText(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

}  // namespace platform
