#include "platform/forms/background_work.h"

#include <windows.h>

#include "platform/handles.h"

namespace platform {

namespace {

DWORD WINAPI WorkThread(void* work) {
  static_cast<BackgroundWork*>(work)->Run();
  static_cast<BackgroundWork*>(work)->Release();
  return 0;
}

// The key pressed and not yet handled, or 0 (a release does not count).
// A key held down repeating, and Shift or Ctrl on their way to a
// combination, are taken from the queue to look behind them: the key state
// follows them, and the text box does nothing with them.
WPARAM KeyWaiting() {
  MSG msg;
  for (;;) {
    UINT kind = WM_KEYDOWN;
    if (!::PeekMessageW(&msg, nullptr, kind, kind, PM_NOREMOVE | PM_NOYIELD)) {
      kind = WM_SYSKEYDOWN;
      if (!::PeekMessageW(&msg, nullptr, kind, kind, PM_NOREMOVE | PM_NOYIELD)) return 0;
    }
    const bool repeat = (msg.lParam & 0x40000000) != 0;
    if (!repeat && msg.wParam != VK_SHIFT && msg.wParam != VK_CONTROL) return msg.wParam;
    ::PeekMessageW(&msg, nullptr, kind, kind, PM_REMOVE | PM_NOYIELD);
  }
}

}  // namespace

BackgroundWork::Waited BackgroundWork::Wait(unsigned milliseconds) {
  ::InterlockedIncrement(&shares_);
  const UniqueHandleObject thread(::CreateThread(nullptr, 0, &WorkThread, this, 0, nullptr));
  if (!thread) {
    Release();
    return Waited::GaveUp;
  }
  HANDLE handle = thread.get();
  const ULONGLONG until = ::GetTickCount64() + milliseconds;
  WPARAM key = 0;
  for (;;) {
    // Marks the keys queued so far as seen, so that only a key pressed
    // after it ends the wait below; one pressed before is found here.
    ::GetQueueStatus(QS_KEY);
    const ULONGLONG now = ::GetTickCount64();
    key = KeyWaiting();
    if (key || now >= until) break;
    if (::MsgWaitForMultipleObjects(1, &handle, FALSE, static_cast<DWORD>(until - now), QS_KEY) != WAIT_OBJECT_0 + 1)
      break;
  }
  if (::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return Waited::Finished;
  // A Tab pressed meanwhile asks to move on, as this one does.
  return key != 0 && key != VK_TAB ? Waited::KeyPressed : Waited::GaveUp;
}

void BackgroundWork::Release() {
  if (::InterlockedDecrement(&shares_) == 0) delete this;
}

}  // namespace platform
