#include "registration/RegistrationRequest.h"

#include "platform/text.h"
#include "registration/FolderSafety.h"

namespace registration {

namespace {

using platform::SameNoCase;

bool StartsNoCase(std::wstring_view text, std::wstring_view start) {
  return text.size() >= start.size() && SameNoCase({text.data(), start.size()}, start);
}

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

// A script may quote the whole switch: "/registrieren:.exe, .lnk".
std::wstring_view Unwrapped(std::wstring_view text) {
  text = Trimmed(text);
  if (text.empty() || text.front() != L'"') return text;
  text.remove_prefix(1);
  if (!text.empty() && text.back() == L'"') text.remove_suffix(1);
  return Trimmed(text);
}

}  // namespace

std::optional<Request> ParseRequest(const Rows& rows, std::wstring_view argumentText) {
  return ParseSwitch(rows, argumentText, kRegisterSwitch, kRegisterForUserSwitch);
}

std::optional<Request> ParseSwitch(const Rows& rows, std::wstring_view argumentText, std::wstring_view allUsersSwitch,
                                   std::wstring_view forUserSwitch) {
  std::wstring_view text = Unwrapped(argumentText);
  const bool quiet = StartsNoCase(text, kQuietSwitch);
  if (quiet) text = Trimmed({text.data() + kQuietSwitch.size(), text.size() - kQuietSwitch.size()});
  Request request{StartsNoCase(text, forUserSwitch), {}, false, quiet};
  const std::wstring_view prefix = request.forUser ? forUserSwitch : allUsersSwitch;
  if (!StartsNoCase(text, prefix)) return std::nullopt;
  const std::wstring_view list(text.data() + prefix.size(), text.size() - prefix.size());
  unsigned listed = 0;  // a bit per row
  bool anyEntry = false;
  for (std::size_t at = 0; at <= list.size();) {
    const std::size_t comma = std::min(list.find(L',', at), list.size());
    const std::wstring_view entry = Trimmed({list.data() + at, comma - at});
    at = comma + 1;
    if (entry.empty()) continue;
    anyEntry = true;
    std::size_t index = 0;
    while (index < rows.size() && !SameNoCase(entry, rows[index].extension)) ++index;
    if (index == rows.size())
      request.unknownEntries = true;
    else
      listed |= 1u << index;
  }
  request.unknownEntries = request.unknownEntries || !anyEntry;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (listed >> i & 1u) request.rows.push_back(rows[i]);
  return request;
}

bool IsRegistrationRequest(std::wstring_view argumentText) { return ParseRequest({}, argumentText).has_value(); }

std::wstring RegistrationRequest(const Rows& rows) {
  return platform::Filled("\1 \2\3", {kQuietSwitch, kRegisterSwitch, JoinedExtensions(rows, L",")});
}

Outcome RegisterAsRequested(const Request& request, platform::RegistryCalls& registry,
                            platform::ProcessCalls& processes) {
  return RegisterAsRequested(request, registry, processes, processes.ProgramFile());
}

Outcome RegisterAsRequested(const Request& request, platform::RegistryCalls& registry,
                            platform::ProcessCalls& processes, std::wstring_view programFile) {
  const int done = request.unknownEntries ? kExitUnknownEntry : kExitRegistered;
  if (request.rows.empty()) return {done, std::nullopt};
  const Scope scope = request.forUser ? Scope::CurrentUser : Scope::AllUsers;
  const Place place = CheckPlaceOf(processes, std::wstring(programFile), scope);
  const std::optional<bool> elevated = processes.Elevated();
  const auto failure = [&](int exitCode, Cause cause, const Rows& rows, std::wstring_view path = {}) {
    return Outcome{exitCode, RegistrationFailure(cause, rows, place.program, path, elevated, false)};
  };
  if (place.refusal) return failure(kExitUnsafeFolder, CauseOf(*place.refusal, scope), request.rows, place.path);
  const std::wstring command = VerbCommand(place.program);
  if (request.forUser) {
    const Rows failed = RegisterRowsForUser(request.rows, command, registry);
    if (!failed.empty()) return failure(kExitFailed, Cause::RefusedForUser, failed);
  } else {
    const Rows failed = RegisterRows(request.rows, command, registry);
    if (!failed.empty())
      return failure(kExitFailed, CommandStorable(command, registry) ? Cause::Refused : Cause::FolderName, failed);
  }
  return {done, std::nullopt};
}

}  // namespace registration
