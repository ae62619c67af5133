#pragma once
// Process services that record every start as a line of text and answer
// with whatever a test sets: a failing process creation, a declined consent
// prompt, a missing ComSpec.
#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "platform/processes/process_calls.h"

class FakeProcesses : public platform::ProcessCalls {
 public:
  std::vector<std::wstring> starts;  // "process <application>|<command line>|console" ...
  unsigned long processResult = 0;   // what StartProcess answers
  unsigned long shellResult = 0;     // what ShellStart answers
  std::vector<std::wstring> files;   // IsFile is true for these
  std::map<std::wstring, std::wstring> environment;
  std::optional<bool> elevated = false;
  HWND__* lastOwner = nullptr;
  std::optional<unsigned long> exitCode = 0;  // what the elevated copy ends with; nothing: unknown
  // What Access answers for a path; any other is as in C:\Program Files:
  // owned by Administrators, changed by Administrators and SYSTEM only.
  std::map<std::wstring, std::optional<platform::FileAccess>> access;
  std::wstring userSid = L"S-1-5-21-1-2-3-1001";
  bool interactive = true;

  unsigned long StartProcess(const std::wstring& application, const std::wstring& commandLine,
                             bool newConsole) override {
    starts.push_back(L"process " + application + L"|" + commandLine + (newConsole ? L"|console" : L""));
    return processResult;
  }
  unsigned long ShellStart(const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                           const std::wstring& folder, HWND__* owner) override {
    // A shell start in any folder but Vorlind's current one shows it.
    starts.push_back(L"shell " + std::wstring(verb) + L" " + file + L"|" + parameters +
                     (folder == CurrentFolder() ? L"" : L"|in " + folder));
    lastOwner = owner;
    return shellResult;
  }
  std::wstring CurrentFolder() override { return LR"(D:\Arbeit)"; }
  bool IsFile(const std::wstring& path) override {
    for (const std::wstring& f : files)
      if (f == path) return true;
    return false;
  }
  int folderLooks = 99;  // how often the current folder is found a folder (then it is gone)
  bool IsFolder(const std::wstring& path) override { return path == CurrentFolder() && folderLooks-- > 0; }
  std::optional<std::wstring> Environment(const wchar_t* name) override {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  }
  std::wstring SystemFolder() override { return LR"(C:\Windows\System32)"; }
  std::wstring programFile = LR"(C:\Program Files\Vorlind\Vorlind.exe)";
  std::wstring ProgramFile() override { return programFile; }
  std::optional<bool> Elevated() override { return elevated; }
  std::wstring ErrorText(unsigned long code) override { return L"error " + std::to_wstring(code); }
  unsigned long RunElevated(const std::wstring& file, const std::wstring& parameters, HWND__* owner,
                            std::optional<unsigned long>& code) override {
    starts.push_back(L"elevated and waited for " + file + L"|" + parameters);
    lastOwner = owner;
    code = shellResult == 0 ? exitCode : std::nullopt;
    return shellResult;
  }
  std::optional<platform::FileAccess> Access(const std::wstring& path) override {
    const auto found = access.find(path);
    if (found != access.end()) return found->second;
    return platform::FileAccess{
        L"S-1-5-32-544",
        {{L"S-1-5-18", 0x1F01FF, true}, {L"S-1-5-32-544", 0x1F01FF, true}, {L"S-1-5-32-545", 0x1200A9, true}}};
  }
  std::wstring UserSid() override { return userSid; }
  // Where each path really lies (any other: where it is) or its error, its long form,
  // the reparse points, and the drive type and bus of the volume a path starts with.
  std::map<std::wstring, std::optional<std::wstring>> finalPaths, longPaths;
  std::map<std::wstring, unsigned long> finalPathErrors;
  std::map<std::wstring, std::optional<bool>> reparsePoints;
  std::map<std::wstring, unsigned> driveTypes, buses;
  std::optional<bool> administrator = true;
  std::optional<bool> AdministratorsMember() override { return administrator; }
  unsigned long FinalPath(const std::wstring& path, std::wstring& final) override {
    const auto found = finalPaths.find(path);
    final = found != finalPaths.end() && found->second ? *found->second : path;
    return finalPathErrors.count(path) ? finalPathErrors[path] : 0;
  }
  std::optional<bool> ReparsePoint(const std::wstring& p) override {
    return reparsePoints.count(p) ? reparsePoints[p] : false;
  }
  std::wstring LongPath(const std::wstring& path) override {
    const auto found = longPaths.find(path);
    return found != longPaths.end() && found->second ? *found->second : path;
  }
  unsigned DriveType(const std::wstring& path) override { return OfVolume(driveTypes, path, 3); }
  unsigned StorageBus(const std::wstring& path) override { return OfVolume(buses, path, 0); }
  static unsigned OfVolume(const std::map<std::wstring, unsigned>& volumes, const std::wstring& path, unsigned other) {
    for (const auto& [start, value] : volumes)
      if (path.starts_with(start)) return value;
    return other;
  }
  bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) override {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return towupper(x) == towupper(y); });
  }
  bool Interactive() override { return interactive; }
};
