// The argument text of a scripted registration, whatever a script hands
// over: the listed types come back in the table's order, each once, only
// when they were listed, and the flag for unknown entries is exact.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <string>

#include "registration/RegistrationRequest.h"

namespace {

const registration::Rows kRows{{1, L".exe", L"exefile"},
                               {2, L".com", L"comfile"},
                               {3, L".bat", L"batfile"},
                               {5, L".pif", L"piffile"},
                               {4, L".lnk", L"lnkfile"}};

std::wstring Lower(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i < size; ++i) {
    // Mostly the characters that matter here, so the fuzzer reaches them.
    static const wchar_t kAlphabet[] = L"/registrieren-benutzer:.exe,.COM,.bat,.pif,.lnk \t\"x\u00e4";
    text += data[i] < 0xC0 ? kAlphabet[data[i] % (sizeof kAlphabet / sizeof(wchar_t) - 1)] : wchar_t(data[i] << 4);
  }
  const auto request = registration::ParseRequest(kRows, text);
  const std::wstring lower = Lower(text);
  if (!request) {
    // A switch right at the start is always seen.
    if (lower.rfind(L"/registrieren:", 0) == 0 || lower.rfind(L"/registrieren-benutzer:", 0) == 0) std::abort();
    return 0;
  }
  if (lower.find(L"/registrieren") == std::wstring::npos) std::abort();
  // Each row at most once, in the table's order, and each named in the text.
  int last = -1;
  for (const auto& row : request->rows) {
    int index = 0;
    while (kRows[static_cast<std::size_t>(index)].checkBox != row.checkBox) ++index;
    if (index <= last) std::abort();
    last = index;
    if (lower.find(row.extension) == std::wstring::npos) std::abort();
  }
  // The dialog's own request for these rows reads back as exactly them.
  const auto again = registration::ParseRequest(kRows, registration::RegistrationRequest(request->rows));
  if (!again || again->rows.size() != request->rows.size() || again->forUser) std::abort();
  if (again->unknownEntries != request->rows.empty()) std::abort();
  return 0;
}
