#include "platform/files/file_calls.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/handles.h"
#include "platform/system_function.h"

namespace platform {

namespace {

constexpr GUID kProgramFiles{0x905e63b6, 0xc1bf, 0x494e, {0xb2, 0x9c, 0x65, 0xb7, 0x32, 0xd3, 0xd2, 0x1a}};
constexpr GUID kUserProgramFiles{0x5cd7aee2, 0x2219, 0x4a67, {0xb8, 0x5d, 0x6c, 0x9c, 0xe1, 0x56, 0x60, 0xcb}};
constexpr GUID kLocalAppData{0xf1b32785, 0x6fba, 0x4fcf, {0x9d, 0x55, 0x7b, 0x8e, 0x7f, 0x15, 0x70, 0x91}};

// A file larger than this is no part of Vorlind.
constexpr LONGLONG kLargestFile = 16 << 20;

UniqueHandleObject Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE file = ::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueHandleObject(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

unsigned long ReadAll(HANDLE file, Bytes& bytes) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) return ::GetLastError();
  if (size.QuadPart > kLargestFile) return ERROR_FILE_TOO_LARGE;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && !::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return ::GetLastError();
  return read == bytes.size() ? 0 : ERROR_HANDLE_EOF;
}

struct View {
  ~View() {
    if (p) ::UnmapViewOfFile(p);
  }
  void* p = nullptr;
};

// Whether the file behind the handle is the one this process's image was
// mapped from: compared by the memory manager, whatever name either has now.
unsigned long IsRunningImage(HANDLE file) {
  using SameFunction = LONG(NTAPI*)(PVOID image, PVOID view);
  const auto same = reinterpret_cast<SameFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtAreMappedFilesTheSame")));
  if (!same) return ERROR_PROC_NOT_FOUND;
  UniqueHandleObject mapping(::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) return ::GetLastError();
  View view{::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0)};
  if (!view.p) return ::GetLastError();
  return same(::GetModuleHandleW(nullptr), view.p) == 0 ? 0 : kErrorNotTheRunningFile;
}

std::wstring KnownFolder(const GUID& id, DWORD flags) {
  using GetPathFunction = HRESULT(WINAPI*)(REFGUID, DWORD, HANDLE, PWSTR*);
  using FreeFunction = void(WINAPI*)(void*);
  // The shell and COM are loaded here, when a copy is made, not at start-up.
  const auto getPath = SystemFunction<GetPathFunction>(L"shell32.dll", "SHGetKnownFolderPath");
  const auto free = SystemFunction<FreeFunction>(L"ole32.dll", "CoTaskMemFree");
  PWSTR path = nullptr;
  if (!getPath || !free || FAILED(getPath(id, flags, nullptr, &path))) return {};
  std::wstring folder(path);
  free(path);
  return folder;
}

class Win32Files final : public FileCalls {
 public:
  unsigned long CreateFolder(const std::wstring& folder, std::wstring& created) override {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    if (::CreateDirectoryW(folder.c_str(), nullptr)) {
      created = folder;
      return 0;
    }
    const DWORD error = ::GetLastError();
    const std::size_t slash = folder.find_last_of(L'\\');
    if (error != ERROR_PATH_NOT_FOUND || slash == std::wstring::npos || slash < 3) return error;
    // The folder above is created first, and named as the outermost.
    if (const unsigned long parent = CreateFolder(std::wstring(folder.data(), slash), created)) return parent;
    return ::CreateDirectoryW(folder.c_str(), nullptr) ? 0 : ::GetLastError();
  }

  unsigned long RemoveFolder(const std::wstring& folder) override {
    return ::RemoveDirectoryW(folder.c_str()) ? 0 : ::GetLastError();
  }

  unsigned long ReadProgram(const std::wstring& programFile, Bytes& bytes) override {
    // Renaming the running program is allowed, writing to it is not: the
    // file found under its name, once shown to be the running one, holds
    // what runs.
    const UniqueHandleObject file = Open(programFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (!file) return ::GetLastError();
    if (const unsigned long error = IsRunningImage(file.get())) return error;
    return ReadAll(file.get(), bytes);
  }

  unsigned long ReadFile(const std::wstring& path, Bytes& bytes) override {
    const UniqueHandleObject file = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    return file ? ReadAll(file.get(), bytes) : ::GetLastError();
  }

  unsigned long WriteFile(const std::wstring& path, const Bytes& bytes) override {
    // A new file of its own: one left there (a hard link to another file, or
    // with an access list of someone else's) is never written through.
    ::DeleteFileW(path.c_str());
    const UniqueHandleObject file = Open(path, GENERIC_WRITE, 0, CREATE_NEW);
    if (!file) return ::GetLastError();
    DWORD written = 0;
    if (!bytes.empty() && !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
      return ::GetLastError();
    if (written != bytes.size()) return ERROR_WRITE_FAULT;
    return ::FlushFileBuffers(file.get()) ? 0 : ::GetLastError();
  }

  unsigned long Hash(const Bytes& bytes, Sha256& hash) override {
    using HashFunction = LONG(WINAPI*)(void*, PUCHAR, ULONG, PUCHAR, ULONG, PUCHAR, ULONG);
    // SHA-256's own algorithm handle (BCRYPT_SHA256_ALG_HANDLE): nothing to open or close.
    void* const kSha256 = reinterpret_cast<void*>(0x41);
    // Loaded for the copy alone.
    const auto hashBytes = SystemFunction<HashFunction>(L"bcrypt.dll", "BCryptHash");
    if (!hashBytes) return ERROR_PROC_NOT_FOUND;
    const LONG status = hashBytes(kSha256, nullptr, 0, const_cast<PUCHAR>(bytes.data()),
                                  static_cast<ULONG>(bytes.size()), hash.data(), static_cast<ULONG>(hash.size()));
    return status == 0 ? 0 : ERROR_INVALID_FUNCTION;
  }

  unsigned long Move(const std::wstring& from, const std::wstring& to) override {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : ::GetLastError();
  }

  unsigned long Delete(const std::wstring& path) override { return ::DeleteFileW(path.c_str()) ? 0 : ::GetLastError(); }

  std::optional<std::wstring> InstallFolder(bool forUser) override {
    std::wstring folder = KnownFolder(forUser ? kUserProgramFiles : kProgramFiles, KF_FLAG_DONT_VERIFY);
    // Wine does not know the user's program folder; Windows puts it there.
    if (folder.empty() && forUser && !(folder = KnownFolder(kLocalAppData, 0)).empty()) folder += L"\\Programs";
    if (folder.empty()) return std::nullopt;
    folder += L"\\Vorlind";
    return folder;
  }
};

}  // namespace

FileCalls& SystemFiles() {
  static Win32Files files;  // stateless: one instance serves every call
  return files;
}

}  // namespace platform
