#include "registration/FolderSafety.h"

#include <algorithm>

namespace registration {

namespace {

constexpr const wchar_t* kAdministrators = L"S-1-5-32-544";
constexpr const wchar_t* kSystem = L"S-1-5-18";
constexpr const wchar_t* kTrustedInstaller = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr const wchar_t* kOwnerRights = L"S-1-3-4";

bool Trusted(std::wstring_view sid, std::wstring_view trustedUser) {
  return sid == kAdministrators || sid == kSystem || sid == kTrustedInstaller ||
         (!trustedUser.empty() && sid == trustedUser);
}

}  // namespace

std::wstring_view TrustedUser(std::wstring_view userSid, std::optional<bool> elevated) {
  return elevated.value_or(false) ? userSid : std::wstring_view();
}

bool OthersMayChange(const platform::FileAccess& access, std::wstring_view trustedUser) {
  if (!access.exists) return false;  // whoever may create it there may change the folder
  bool ownerRightsListed = false;
  for (const platform::AccessEntry& entry : access.entries) {
    ownerRightsListed = ownerRightsListed || entry.sid == kOwnerRights;
    // Denied rights are not subtracted: what one account is denied another
    // entry may still allow, and a wrong "safe" costs more than a wrong "unsafe".
    if (entry.allows && (entry.mask & kChangeRights) && !Trusted(entry.sid, trustedUser)) return true;
  }
  return !ownerRightsListed && !Trusted(access.owner, trustedUser);
}

std::wstring FolderOf(std::wstring_view programFile) {
  const std::size_t slash = programFile.find_last_of(L"\\/");
  if (slash == std::wstring_view::npos) return {};
  std::wstring folder(programFile.substr(0, slash));
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return folder;
}

std::optional<std::wstring> UnsafePath(platform::ProcessCalls& calls, std::wstring_view programFile,
                                       std::optional<bool> elevated) {
  const std::wstring user = calls.UserSid();
  const std::wstring_view trusted = TrustedUser(user, elevated);
  const std::wstring folder = FolderOf(programFile);
  const std::wstring library = folder + (folder.ends_with(L'\\') ? L"" : L"\\") + L"LinkLabel.dll";
  for (const std::wstring& path : {folder, std::wstring(programFile), library}) {
    const std::optional<platform::FileAccess> access = calls.Access(path);
    if (!access || OthersMayChange(*access, trusted)) return path;
  }
  return std::nullopt;
}

}  // namespace registration
