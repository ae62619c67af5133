#include "registration/FolderSafety.h"

namespace registration {

namespace {

constexpr const wchar_t* kAdministrators = L"S-1-5-32-544";
constexpr const wchar_t* kSystem = L"S-1-5-18";
constexpr const wchar_t* kTrustedInstaller = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr std::wstring_view kOwnerRights = L"S-1-3-4";
constexpr unsigned kDriveFixed = 3;  // DRIVE_FIXED

bool Trusted(std::wstring_view sid, std::wstring_view trustedUser) {
  for (const wchar_t* const trusted : {kAdministrators, kSystem, kTrustedInstaller})
    if (sid == trusted) return true;
  return !trustedUser.empty() && sid == trustedUser;
}

// "C:\" for "C:\Tools\x", "\\server\share\" for "\\server\share\x";
// empty for anything else.
std::wstring RootOf(const std::wstring& path) {
  const wchar_t* const p = path.c_str();  // ends with a zero: each test stops at it
  if (p[0] && p[1] == L':' && p[2] == L'\\') return std::wstring(p, 3);
  if (p[0] != L'\\' || p[1] != L'\\') return {};
  const std::size_t server = path.find(L'\\', 2);
  const std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
  return share == std::wstring::npos ? path + L'\\' : std::wstring(p, share + 1);
}

// Disks carried from machine to machine (STORAGE_BUS_TYPE 1394, USB, SD,
// MMC), also where the system counts them as fixed: their access lists were
// written wherever they were prepared. An unknown bus (0) keeps the drive
// type's answer.
bool Travels(unsigned bus) { return bus == 4 || bus == 7 || bus == 12 || bus == 13; }

// Whether the path lies on the drive Windows runs from, which is part of the
// machine whatever its bus: a cheap laptop's soldered disk (eMMC) reports SD
// or MMC. The bus is asked of the path's drive letter, so is this.
bool OnSystemDrive(platform::ProcessCalls& calls, const std::wstring& path) {
  const std::wstring system = calls.SystemFolder();
  const wchar_t* const s = system.c_str();
  const wchar_t* const p = path.c_str();
  return s[0] && s[1] == L':' && p[1] == L':' && (s[0] | 0x20) == (p[0] | 0x20);
}

bool Refuse(Place& place, Refusal refusal, const std::wstring& path) {
  place.refusal = refusal;
  place.path = path;
  return true;
}

// Whether one entry on the way refuses the place: a reparse point of any
// kind (a junction or symbolic link; a volume mounted in a folder, whose
// path stays the same while the access list read for it is the mounted
// volume's root, not that of the folder that holds the mount point; a file
// or folder a cloud service synchronises, whose content is whatever the
// service's other ends put there); someone untrusted who may change it; or
// a label below medium integrity, which lets sandboxed processes write it.
bool Refused(platform::ProcessCalls& calls, const std::wstring& path, std::wstring_view trusted, unsigned long rights,
             Place& place) {
  const std::optional<bool> reparse = calls.ReparsePoint(path);
  const std::optional<platform::FileAccess> access = calls.Access(path);
  Refusal refusal = Refusal::LowIntegrity;
  if (reparse.value_or(false))
    refusal = Refusal::ReparsePoint;
  else if (!reparse || !access || OthersMayChange(*access, trusted, rights))
    refusal = Refusal::Unsafe;
  else if (!access->exists || access->integrity >= platform::kMediumIntegrity)
    return false;
  return Refuse(place, refusal, path);
}

bool FirstRefused(platform::ProcessCalls& calls, const std::wstring& program, std::wstring_view trusted, Place& place) {
  const std::wstring folder = FolderOf(program);
  const std::wstring library = PathIn(folder, L"LinkLabel.dll");
  // LinkLabel.dll must lie where its path says, as the program must. Only a
  // file that is not there is absent: a link whose target is missing is a
  // reparse point, found below.
  std::wstring final;
  const unsigned long error = calls.FinalPath(library, final);
  if (error == 0 ? !calls.SameIgnoringCase(library, final) : error != platform::kErrorFileNotFound)
    return Refuse(place, error ? Refusal::Unsafe : Refusal::ReparsePoint, library);
  for (const std::wstring* path : {&folder, &program, &library})
    if (Refused(calls, *path, trusted, kChangeRights, place)) return true;
  // Every folder above, up to the volume's root: whoever may rename one may
  // put a folder of their own, with a program of their own, in its place.
  const std::wstring root = RootOf(program);
  for (std::wstring above = folder; above.size() > root.size();) {
    above = FolderOf(above);
    if (above.size() < root.size()) above = root;  // "\\server\share" is the share's root
    if (Refused(calls, above, trusted, kRedirectRights, place)) return true;
  }
  return false;
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
  std::wstring folder(programFile.data(), slash);
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
  std::wstring final;
  unsigned long error = calls.FinalPath(programFile, final);
  if (error == platform::kErrorFileNotFound) {
    // Not there yet (a copy's destination): where its folder really lies.
    // No other failure means that the file is absent.
    std::wstring folder;
    error = calls.FinalPath(FolderOf(programFile), folder);
    final = PathIn(folder, programFile.c_str() + (programFile.find_last_of(L'\\') + 1));
  }
  if (error) return {programFile, Refusal::Unsafe, programFile};
  Place place{final, std::nullopt, {}};
  // Letter case and short names may differ; a link or substituted drive on
  // the way may not, for it can be pointed elsewhere later.
  if (!calls.SameIgnoringCase(calls.LongPath(programFile), final)) {
    Refuse(place, Refusal::Redirected, programFile);
  } else if (final.find(L'%') != std::wstring::npos) {
    Refuse(place, Refusal::Percent, final);
  } else if (scope == Scope::AllUsers && (calls.DriveType(final) != kDriveFixed ||
                                          (Travels(calls.StorageBus(final)) && !OnSystemDrive(calls, final)))) {
    Refuse(place, Refusal::NotFixedDisk, FolderOf(final));
  } else {
    const std::wstring user = calls.UserSid();
    const std::wstring_view trusted =
        TrustedUser(user, scope == Scope::CurrentUser ? std::optional<bool>(true) : calls.AdministratorsMember());
    FirstRefused(calls, final, trusted, place);
  }
  return place;
}

}  // namespace registration
