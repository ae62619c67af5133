#pragma once
// The command lines started from the command window, remembered per program
// for the current user:
//
//   HKEY_CURRENT_USER\Software\Vorlind\Verlauf
//     (default)       REG_MULTI_SZ  the programs, the one used last first
//     <program file>  REG_MULTI_SZ  its command lines, the latest first
//
// A program is named by the file process creation finds for a line with
// %NAME% expanded (platform::StartedProgram), never empty, so the key's
// default value is free for the order. The order
// compares programs as the registry compares value names (letter case
// ignored across Unicode), so that each of its entries names a value of its
// own. Every write reads the stored value afresh and replaces it whole, and
// deletes the values the order does not name: two windows ending at once may
// lose one line, but each value is always one complete list.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry_calls.h"

namespace registry {

inline constexpr std::size_t kLinesPerProgram = 20;
inline constexpr std::size_t kPrograms = 100;
inline constexpr std::size_t kLongestLine = 32767;  // what the text box holds

// Lines as REG_MULTI_SZ holds them: each followed by a zero; the string's
// own terminating zero ends the list.
using LineList = std::wstring;

// The same text: exactly, or, given the registry's calls, as the registry
// compares names.
bool SameText(std::wstring_view a, std::wstring_view b, const platform::RegistryCalls* names);

// Steps through a list: the line that starts at `at`, and `at` behind its
// zero. False at an empty line or a last line without its zero, which end
// the list.
bool NextLine(std::wstring_view lines, std::size_t& at, std::wstring_view& line);

// What is worth keeping of stored REG_MULTI_SZ text, in order: at most
// `limit` lines, none longer than kLongestLine, none the same as an earlier
// one (compared as SameText does). A first line given goes in front of the
// stored ones, which moves it to the front. The lines beyond the limit go to
// `dropped`, if given.
LineList KeptLines(std::wstring_view first, std::wstring_view stored, std::size_t limit,
                   const platform::RegistryCalls* names = nullptr, LineList* dropped = nullptr);

// The lines without the given one (compared exactly), in their order.
LineList Without(std::wstring_view lines, std::wstring_view line);

// Whether a line reads as what it runs: it holds no control character, no
// line or paragraph separator and no format character (the invisible ones,
// and the marks and overrides that reorder bidirectional text). Anyone can
// write to the store, and such characters can hide part of a line.
bool ReadsAsItRuns(std::wstring_view line);

// The program's remembered lines that read as what they run, latest first;
// none when nothing readable is stored.
LineList ReadHistory(platform::RegistryCalls& calls, const std::wstring& program);

// Remembers a started line under its program, and forgets the program used
// least recently beyond kPrograms. A write that fails changes nothing else.
void RememberLine(platform::RegistryCalls& calls, const std::wstring& program, std::wstring_view line);

// Forgets one remembered line of the program (compared exactly); the others
// keep their order.
void ForgetLine(platform::RegistryCalls& calls, const std::wstring& program, std::wstring_view line);

// Forgets every remembered line.
void ForgetHistory(platform::RegistryCalls& calls);

}  // namespace registry
