// The path at any caret of any line, and the line once a name is put in:
// nothing is read outside the line, the path lies between the arguments'
// start and the caret, and the completed line keeps the text before the
// path and behind the caret unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../tests/host/fake_processes.h"
#include "main_window/PathCompletion.h"
#include "platform/processes/start_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static const wchar_t kAlphabet[] = L"a: \t\"=\\/.%C&x";
  std::wstring line;
  for (std::size_t i = 2; i < size; ++i) line += kAlphabet[data[i] % (sizeof kAlphabet / sizeof(wchar_t) - 1)];
  // Any caret, past the end too.
  const std::size_t caret = data[0] % (line.size() + 3);
  FakeProcesses fake;
  fake.environment = {{L"x", L"C:\\x y"}};
  // A program whose name ends at one of the blanks (no file's name holds a quote).
  const std::wstring program = line.substr(0, data[1] % (line.size() + 1));
  if ((data[1] & 1) && program.find(L'"') == std::wstring::npos) fake.files = {program};
  const std::size_t quick = main_window::ArgumentsFrom(line);
  const std::size_t full = line.size() - platform::FindProgram(fake, line).rest.size();
  if (quick > full) std::abort();  // the quick check never leaves out what the full one offers
  auto spot = main_window::PathAt(line, caret, full);
  if (!spot) return 0;
  if (!main_window::PathAt(line, caret, quick)) std::abort();
  if (spot->from < full || spot->from > caret || caret > spot->to || spot->to > line.size() || spot->to > caret + 1)
    std::abort();
  const auto folder = main_window::FolderToList(fake, *spot);
  if (folder && folder->empty()) std::abort();
  const auto completed = main_window::Completed(line, *spot, L"n m");
  const std::wstring& text = completed.text;
  const std::size_t kept = line.size() - spot->to;
  if (completed.caret > text.size() || text.size() - completed.caret != kept) std::abort();
  if (text.compare(0, spot->from, line, 0, spot->from) != 0 ||
      text.compare(completed.caret, kept, line, spot->to, kept))
    std::abort();
  return 0;
}
