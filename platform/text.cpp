#include "platform/text.h"

#include <cwctype>

namespace platform {

namespace {

// Appends UTF-8 up to its end or a placeholder (a byte below the tab); where
// it stopped. Two- and three-byte sequences: the program's texts hold nothing
// beyond the Basic Multilingual Plane.
const unsigned char* AppendUtf8(std::wstring& text, const unsigned char* p) {
  while (*p > 8) {
    unsigned c = *p++;
    if (c >= 0xE0) {
      c = (c & 0x0F) << 12 | (p[0] & 0x3F) << 6 | (p[1] & 0x3F);
      p += 2;
    } else if (c >= 0xC0) {
      c = (c & 0x1F) << 6 | (p[0] & 0x3F);
      ++p;
    }
    text += static_cast<wchar_t>(c);
  }
  return p;
}

}  // namespace

void TextPart::AppendTo(std::wstring& text) const {
  if (size_ != kUtf8)
    text.append(static_cast<const wchar_t*>(data_), size_);
  else
    AppendUtf8(text, static_cast<const unsigned char*>(data_));
}

std::wstring Joined(std::initializer_list<TextPart> parts) {
  std::wstring text;
  for (const TextPart& part : parts) part.AppendTo(text);
  return text;
}

std::wstring Filled(const char* pattern, std::initializer_list<TextPart> parts) {
  std::wstring text;
  for (auto* p = reinterpret_cast<const unsigned char*>(pattern); *(p = AppendUtf8(text, p)); ++p)
    parts.begin()[*p - 1].AppendTo(text);
  return text;
}

std::wstring Widened(const char* utf8) { return Joined({utf8}); }

bool SameNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (const wchar_t *x = a.data(), *y = b.data(), *end = x + a.size(); x != end; ++x, ++y)
    if (std::towlower(*x) != std::towlower(*y)) return false;
  return true;
}

std::wstring Number(unsigned long n) {
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + n % 10));
    n /= 10;
  } while (n);
  return digits;
}

}  // namespace platform
