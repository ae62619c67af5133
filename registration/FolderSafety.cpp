#include "registration/FolderSafety.h"

namespace registration {

namespace {

constexpr const wchar_t* kAdministrators = L"S-1-5-32-544";
constexpr const wchar_t* kSystem = L"S-1-5-18";
constexpr const wchar_t* kTrustedInstaller = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr const wchar_t* kOwnerRights = L"S-1-3-4";
constexpr unsigned kDriveFixed = 3;  // DRIVE_FIXED

bool Trusted(std::wstring_view sid, std::wstring_view trustedUser) {
  return sid == kAdministrators || sid == kSystem || sid == kTrustedInstaller ||
         (!trustedUser.empty() && sid == trustedUser);
}

// "C:\" for "C:\Tools\x", "\\server\share\" for "\\server\share\x";
// empty for anything else.
std::wstring RootOf(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return path.substr(0, 3);
  if (!path.starts_with(L"\\\\")) return {};
  const std::size_t server = path.find(L'\\', 2);
  const std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
  return share == std::wstring::npos ? path + L'\\' : path.substr(0, share + 1);
}

std::optional<std::wstring> FirstUnsafe(platform::ProcessCalls& calls, const std::wstring& program,
                                        std::wstring_view trusted) {
  const std::wstring folder = FolderOf(program);
  const std::wstring library = PathIn(folder, L"LinkLabel.dll");
  for (const std::wstring* path : {&folder, &program, &library}) {
    const std::optional<platform::FileAccess> access = calls.Access(*path);
    if (!access || OthersMayChange(*access, trusted)) return *path;
  }
  // Every folder above, up to the volume's root: whoever may rename one may
  // put a folder of their own, with a program of their own, in its place.
  const std::wstring root = RootOf(program);
  for (std::wstring above = folder; above.size() > root.size();) {
    above = FolderOf(above);
    if (above.size() < root.size()) above = root;  // "\\server\share" is the share's root
    const std::optional<platform::FileAccess> access = calls.Access(above);
    if (!access || OthersMayChange(*access, trusted, kRedirectRights)) return above;
  }
  return std::nullopt;
}

}  // namespace

std::wstring_view TrustedUser(std::wstring_view userSid, std::optional<bool> administrator) {
  return administrator.value_or(false) ? userSid : std::wstring_view();
}

bool OthersMayChange(const platform::FileAccess& access, std::wstring_view trustedUser, unsigned long rights) {
  if (!access.exists) return false;  // whoever may create it there may change the folder
  bool ownerRightsListed = false;
  for (const platform::AccessEntry& entry : access.entries) {
    ownerRightsListed = ownerRightsListed || entry.sid == kOwnerRights;
    // Denied rights are not subtracted: what one account is denied another
    // entry may still allow, and a wrong "safe" costs more than a wrong "unsafe".
    // OWNER RIGHTS grants its rights to whoever owns the object.
    const std::wstring_view who = entry.sid == kOwnerRights ? std::wstring_view(access.owner) : entry.sid;
    if (entry.allows && (entry.mask & rights) && !Trusted(who, trustedUser)) return true;
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

std::wstring PathIn(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (!path.ends_with(L'\\')) path += L'\\';
  return path += name;
}

Place CheckPlace(platform::ProcessCalls& calls, Scope scope) { return CheckPlaceOf(calls, calls.ProgramFile(), scope); }

Place CheckPlaceOf(platform::ProcessCalls& calls, const std::wstring& programFile, Scope scope) {
  std::optional<std::wstring> final = calls.FinalPath(programFile);
  if (!final) {
    // Not there yet (a copy's destination): where its folder really lies.
    const std::wstring folder = FolderOf(programFile);
    if (const std::optional<std::wstring> real = calls.FinalPath(folder))
      final = PathIn(*real, std::wstring_view(programFile).substr(programFile.find_last_of(L'\\') + 1));
  }
  if (!final) return {programFile, Refusal::Unsafe, programFile};
  Place place{*final, std::nullopt, {}};
  // Letter case and short names may differ; a link or substituted drive on
  // the way may not, for it can be pointed elsewhere later.
  if (!calls.SameIgnoringCase(calls.LongPath(programFile), *final)) {
    place.refusal = Refusal::Redirected;
    place.path = programFile;
  } else if (final->find(L'%') != std::wstring::npos) {
    place.refusal = Refusal::Percent;
    place.path = *final;
  } else if (scope == Scope::AllUsers && calls.DriveType(RootOf(*final)) != kDriveFixed) {
    place.refusal = Refusal::NotFixedDisk;
    place.path = FolderOf(*final);
  } else {
    const std::wstring user = calls.UserSid();
    const std::wstring_view trusted =
        TrustedUser(user, scope == Scope::CurrentUser ? std::optional<bool>(true) : calls.AdministratorsMember());
    if (std::optional<std::wstring> unsafe = FirstUnsafe(calls, *final, trusted)) {
      place.refusal = Refusal::Unsafe;
      place.path = std::move(*unsafe);
    }
  }
  return place;
}

}  // namespace registration
