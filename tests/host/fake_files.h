#pragma once
// File services over a map of paths to contents. The one call named in
// `failing` ("Move C:\x\Vorlind.exe.neu") fails with `failure`; a WriteFile
// named there with failure 0 writes the bytes damaged and reports success.
// A second call named in `failingToo` fails the same way.
#include <algorithm>
#include <map>
#include <set>

#include "platform/files/file_calls.h"

class FakeFiles : public platform::FileCalls {
 public:
  std::map<std::wstring, platform::Bytes> files;
  std::set<std::wstring> folders;  // those created, or there before
  std::wstring failing, failingToo;
  unsigned long failure = 0;

  unsigned long CreateFolder(const std::wstring& folder, std::wstring& created) override {
    if (Fails(L"CreateFolder", folder)) return failure;
    if (folders.insert(folder).second) created = folder;
    return 0;
  }
  unsigned long RemoveFolder(const std::wstring& folder) override { return folders.erase(folder) ? 0 : 2; }
  unsigned long ReadProgram(const std::wstring& path, platform::Bytes& bytes) override {
    return Fails(L"ReadProgram", path) ? failure : Read(path, bytes);
  }
  unsigned long ReadFile(const std::wstring& path, platform::Bytes& bytes) override {
    return Fails(L"ReadFile", path) ? failure : Read(path, bytes);
  }
  unsigned long WriteFile(const std::wstring& path, const platform::Bytes& bytes) override {
    if (Fails(L"WriteFile", path) && failure) return failure;
    files[path] = bytes;
    if (Fails(L"WriteFile", path)) files[path].push_back('!');
    return 0;
  }
  // Not SHA-256: the first bytes tell the tests' short contents apart.
  unsigned long Hash(const platform::Bytes& bytes, platform::Sha256& hash) override {
    hash = {};
    std::copy_n(bytes.begin(), std::min(bytes.size(), hash.size()), hash.begin());
    return 0;
  }
  unsigned long Move(const std::wstring& from, const std::wstring& to) override {
    if (Fails(L"Move", from) || !files.count(from)) return Fails(L"Move", from) ? failure : 2;
    files[to] = files[from];
    files.erase(from);
    return 0;
  }
  unsigned long Delete(const std::wstring& path) override { return files.erase(path) ? 0 : 2; }
  std::optional<std::wstring> InstallFolder(bool) override { return L"C:\\Program Files\\Vorlind"; }

 private:
  bool Fails(const wchar_t* call, const std::wstring& path) const {
    return failing == call + (L" " + path) || failingToo == call + (L" " + path);
  }
  unsigned long Read(const std::wstring& path, platform::Bytes& bytes) {
    if (!files.count(path)) return 2;
    bytes = files[path];
    return 0;
  }
};
