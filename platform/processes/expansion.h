#pragma once
// %NAME% read as the Run box reads it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/processes/process_calls.h"

namespace platform {

// The text with each %NAME% whose NAME is defined in this process's
// environment replaced by its value, by ExpandEnvironmentStringsW's rule: an
// undefined %NAME% and %% stay as written and the scan goes on behind them; a
// lone % stays. Nothing when the result would be longer than `longest`
// characters: a line is refused, never cut.
std::optional<std::wstring> Expanded(ProcessCalls& calls, std::wstring_view text, std::size_t longest);

}  // namespace platform
