#pragma once
// Process services that record every start as a line of text and answer
// with whatever a test sets: a failing process creation, a declined consent
// prompt, a missing ComSpec.
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

  unsigned long StartProcess(const std::wstring& application, const std::wstring& commandLine,
                             bool newConsole) override {
    starts.push_back(L"process " + application + L"|" + commandLine + (newConsole ? L"|console" : L""));
    return processResult;
  }
  unsigned long ShellStart(const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                           HWND__* owner) override {
    starts.push_back(L"shell " + std::wstring(verb) + L" " + file + L"|" + parameters);
    lastOwner = owner;
    return shellResult;
  }
  bool IsFile(const std::wstring& path) override {
    for (const std::wstring& f : files)
      if (f == path) return true;
    return false;
  }
  std::optional<std::wstring> Environment(const wchar_t* name) override {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  }
  std::wstring SystemFolder() override { return LR"(C:\Windows\System32)"; }
  std::wstring ProgramFile() override { return LR"(C:\Program Files\Vorlind\Vorlind.exe)"; }
  std::optional<bool> Elevated() override { return elevated; }
  std::wstring ErrorText(unsigned long code) override { return L"error " + std::to_wstring(code); }
};
