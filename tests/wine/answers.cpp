#include "answers.h"

#include <algorithm>

namespace {

Answers* g_answers = nullptr;

BOOL CALLBACK Answer(HWND hwnd, LPARAM) {
  wchar_t name[16];
  if (!IsWindowVisible(hwnd) || !GetClassNameW(hwnd, name, 16) || std::wstring(name) != L"#32770") return TRUE;
  Answers& a = *g_answers;
  a.text.clear();
  a.offered.clear();
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    a.text += WindowText(c) + L"\n";
    wchar_t kind[16];
    if (GetClassNameW(c, kind, 16) && std::wstring(kind) == L"Button" && IsWindowVisible(c))
      a.offered.push_back(GetDlgCtrlID(c));
  }
  const std::size_t index = static_cast<std::size_t>(a.seen++);
  int id = index < a.buttons.size() ? a.buttons[index] : IDOK;
  if (!GetDlgItem(hwnd, id)) id = GetDlgItem(hwnd, IDOK) ? IDOK : IDCANCEL;
  PostMessageW(GetDlgItem(hwnd, id), BM_CLICK, 0, 0);
  return FALSE;
}

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), Answer, 0); }

}  // namespace

bool Answers::Offers(int id) const { return std::find(offered.begin(), offered.end(), id) != offered.end(); }

Answering::Answering(Answers& answers) : timer_(SetTimer(nullptr, 0, 50, LookForDialog)) { g_answers = &answers; }

Answering::~Answering() {
  KillTimer(nullptr, timer_);
  g_answers = nullptr;
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}
