#pragma once
// Texts joined from parts in one call. A chain of + builds and frees a
// temporary string per step, in code at every place it is written; one
// function does it once for the whole program. The program's own texts may
// be given as UTF-8, half the size of UTF-16 for German, and are widened
// here.
#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

// Two words: a UTF-8 part is marked by a size no text has.
class TextPart {
 public:
  TextPart(const char* utf8) : data_(utf8), size_(kUtf8) {}                     // NOLINT(google-explicit-constructor)
  TextPart(const wchar_t* text) : TextPart(std::wstring_view(text)) {}          // NOLINT(google-explicit-constructor)
  TextPart(std::wstring_view text) : data_(text.data()), size_(text.size()) {}  // NOLINT(google-explicit-constructor)
  TextPart(const std::wstring& text) : TextPart(std::wstring_view(text)) {}     // NOLINT(google-explicit-constructor)
  void AppendTo(std::wstring& text) const;

 private:
  static constexpr std::size_t kUtf8 = ~std::size_t{0};
  const void* data_;
  std::size_t size_;
};

std::wstring Joined(std::initializer_list<TextPart> parts);

// A text of the program's own (UTF-8) with each "\1" to "\7" in it replaced
// by the first to seventh of the parts: one pattern rather than a part for
// each piece of text between the values, which costs code at every call.
std::wstring Filled(const char* pattern, std::initializer_list<TextPart> parts);

// A text of the program's own, given as UTF-8.
std::wstring Widened(const char* utf8);

// Whether two texts are the same, letter case ignored as towlower ignores it.
bool SameNoCase(std::wstring_view a, std::wstring_view b);

// Decimal digits of n.
std::wstring Number(unsigned long n);

}  // namespace platform
