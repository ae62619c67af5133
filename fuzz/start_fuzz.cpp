// Starting any text in any mode over fake process services whose answers
// come from the input: no line longer than the platform (or, for the
// command processor, than it) takes is ever handed on, the shell never
// gets an empty file for a line whose program is not quoted, and what the
// shell gets is the line's own rest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../tests/host/fake_processes.h"
#include "platform/processes/start_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Long inputs only make the fake's file list slow: length comes from repeats.
  if (size < 4 || size > 512) return 0;
  FakeProcesses fake;
  const auto mode = static_cast<platform::StartMode>(data[0] % 3);
  static const unsigned long kAnswers[] = {0, 2, 5, 193, platform::kErrorElevationRequired, platform::kErrorCancelled};
  fake.processResult = kAnswers[data[1] % 6];
  fake.shellResult = kAnswers[data[2] % 6];
  const std::size_t repeat = data[3] % 32 == 0 ? 4000 : 1;  // now and then a line near the limits
  std::wstring line;
  static const wchar_t kAlphabet[] = L"C:\\a b.exe\"\t.lnk.bat.cmd.pif x";
  for (std::size_t i = 4; i < size; ++i) {
    const wchar_t c = kAlphabet[data[i] % (sizeof kAlphabet / sizeof(wchar_t) - 1)];
    if (data[i] >= 0xF0) {
      fake.files.push_back(line);  // what was built so far is a file
      fake.files.push_back(line + L".exe");
    }
    line.append(repeat, c);
  }
  const auto failure = platform::StartCommandLine(fake, line, mode, nullptr);
  if (!failure && fake.starts.empty()) std::abort();  // success means something started
  for (const std::wstring& start : fake.starts) {
    const std::size_t bar = start.find(L'|');
    const std::wstring handed = start.substr(bar + 1);
    if (start.rfind(L"process ", 0) == 0) {
      const bool console = handed.size() >= 8 && handed.compare(handed.size() - 8, 8, L"|console") == 0;
      const std::wstring commandLine = console ? handed.substr(0, handed.size() - 8) : handed;
      if (commandLine.size() > 32766) std::abort();
      if (console && commandLine.size() > platform::kLongestConsoleLine) std::abort();
    } else {
      const std::wstring file = start.substr(start.find(L' ', 6) + 1, bar - start.find(L' ', 6) - 1);
      std::size_t first = line.find_first_not_of(L" \t");
      if (file.empty() && first != std::wstring::npos && line[first] != L'"') std::abort();
      const bool viaProcessor = handed.rfind(L"/d /s /c \"", 0) == 0;
      if (viaProcessor && file.size() + handed.size() + 3 > platform::kLongestConsoleLine) std::abort();
      if (!viaProcessor && line.find(handed) == std::wstring::npos) std::abort();
    }
  }
  return 0;
}
