// Values of any type, length and text through the registry module over the
// recording fake: the size written must be what the conversion produced (plus
// the terminating zero) and never reach beyond the record's fields; text the
// code page cannot hold must write nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../tests/host/fake_registry.h"
#include "registry/KeysAndValues.h"
#include "registry/Registry.h"

namespace {

std::wstring TakeText(const std::uint8_t*& data, std::size_t& size) {
  std::wstring text;
  while (size >= 2) {
    const wchar_t c = static_cast<wchar_t>(data[0] | (data[1] << 8));
    data += 2;
    size -= 2;
    if (c == 0xFFFF) break;  // field separator
    text += c;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  registry::ValueRecord value;
  std::memcpy(&value.Type, data, 4);
  std::memcpy(&value.Length, data + 4, 4);
  value.Byte = data[8];
  value.Number = value.Length ^ 0x5A5A5A5A;
  data += 9;
  size -= 9;
  value.Type %= 8;
  value.Text = TakeText(data, size);
  const std::wstring name = TakeText(data, size);
  const std::wstring subKey = TakeText(data, size);

  FakeRegistry fake;
  const bool ok = registry::SetValue(fake, {platform::kClassesRoot, subKey}, name, value);
  const auto ansi = fake.ToAnsi(value.Text);
  const bool representable = fake.ToAnsi(subKey) && fake.ToAnsi(name) && (ansi || (value.Type != 1 && value.Type != 2));
  if (!representable && !fake.calls.empty()) std::abort();
  if (representable && !ok) std::abort();
  if (ok && !fake.written.empty()) {
    const auto& bytes = fake.written.begin()->second;
    if ((value.Type == 1 || value.Type == 2) && (bytes.size() != ansi->size() + 1 || bytes.back() != 0)) std::abort();
    if (value.Type == 3 && bytes.size() > 1) std::abort();
    if (value.Type == 4 && bytes.size() > 4) std::abort();
  }

  FakeRegistry verb;
  const bool registered = registry::RegisterVerb(verb, name, subKey, L"", L"", L"Kommandozeile", value.Text);
  if (verb.calls.size() > 18) std::abort();
  if (registered != (verb.calls.size() == 18)) std::abort();
  return 0;
}
