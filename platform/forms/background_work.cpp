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

// A key pressed and not yet handled (its release does not count).
bool KeyWaiting() {
  MSG msg;
  return ::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE | PM_NOYIELD) ||
         ::PeekMessageW(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE | PM_NOYIELD);
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
  bool key = false;
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
  return key ? Waited::KeyPressed : Waited::GaveUp;
}

void BackgroundWork::Release() {
  if (::InterlockedDecrement(&shares_) == 0) delete this;
}

}  // namespace platform
