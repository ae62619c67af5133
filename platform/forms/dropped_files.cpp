// Files and folders dropped from the shell on a form that accepts them.
#include "platform/forms/form_window.h"

#include <shellapi.h>

#include "platform/processes/process_calls.h"
#include "platform/system_function.h"

namespace platform {

void Form::Live::AcceptFiles() {
  // An elevated program gets the drop messages of a non-elevated shell only
  // when it lets them through the message filter. Any program of the
  // desktop may then send them, so only an elevated program lets them
  // through, and only the two a drop needs.
  if (!SystemProcesses().Elevated().value_or(false)) return;
  constexpr UINT kCopyGlobalData = 0x0049;  // carries the dropped names across
  for (UINT message : {UINT{WM_DROPFILES}, kCopyGlobalData})
    ::ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
}

LRESULT Form::Live::OnDropFiles(HDROP drop) {
  using DragQueryFileFunction = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
  using DragFinishFunction = void(WINAPI*)(HDROP);
  // The shell is loaded only when something is dropped.
  const auto dragQueryFile = SystemFunction<DragQueryFileFunction>(L"shell32.dll", "DragQueryFileW");
  const auto dragFinish = SystemFunction<DragFinishFunction>(L"shell32.dll", "DragFinish");
  if (!dragQueryFile || !dragFinish) return 0;
  // One path for each name, those without a name dropped at the end.
  std::vector<std::wstring> paths(dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0));
  std::size_t kept = 0;
  for (UINT i = 0; i < paths.size(); ++i) {
    std::wstring& path = paths[kept];
    path.resize(dragQueryFile(drop, i, nullptr, 0));
    if (path.empty()) continue;
    path.resize(dragQueryFile(drop, i, path.data(), static_cast<UINT>(path.size() + 1)));
    ++kept;
  }
  while (paths.size() > kept) paths.pop_back();
  dragFinish(drop);
  if (paths.empty()) return 0;
  ::SetForegroundWindow(hwnd_);  // the user goes on typing here
  form_.FilesDropped(paths);
  return 0;
}

}  // namespace platform
