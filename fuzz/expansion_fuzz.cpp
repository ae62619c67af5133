// Expanding any line over an environment whose values hold "%", nothing and
// many thousand characters: nothing is read outside the line (it lies in a
// buffer of exactly its size), a line is refused exactly where its whole
// expansion passes the limit and is never cut, and a start hands on the
// whole expansion or refuses it.
//
// Input: two bytes for the limit, then one byte per character of the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "../tests/host/fake_processes.h"
#include "platform/processes/expansion.h"
#include "platform/processes/start_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 4096) return 0;
  const std::size_t limit = data[0] | (data[1] << 8);
  static const wchar_t kAlphabet[] = L"%%%ABL x\\\"\0\u00e9";
  const std::size_t length = size - 2;
  const std::unique_ptr<wchar_t[]> line(new wchar_t[length]);
  for (std::size_t i = 0; i < length; ++i) line[i] = kAlphabet[data[i + 2] % (sizeof kAlphabet / sizeof(wchar_t))];
  const std::wstring_view text(line.get(), length);

  FakeProcesses fake;
  fake.environment = {{L"A", L"x"}, {L"B", L"%A%"}, {L"AB", L""}, {L"L", std::wstring(20000, L'l')}};
  const auto whole = platform::Expanded(fake, text, ~std::size_t{0});
  if (!whole) std::abort();  // without a limit nothing is refused
  const auto limited = platform::Expanded(fake, text, limit);
  if (whole->size() <= limit ? limited != whole : limited.has_value()) std::abort();

  const auto failure = platform::StartCommandLine(fake, text, platform::StartMode::Normal, nullptr);
  if (whole->size() > 32766 && (!failure || failure->code != platform::kErrorTooLong || !fake.starts.empty()))
    std::abort();
  for (const std::wstring& start : fake.starts)
    if (start.size() > 32766 + 9 || whole->find(start.substr(9)) == std::wstring::npos) std::abort();
  return 0;
}
