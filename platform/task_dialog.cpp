#include "platform/task_dialog.h"

#include <windows.h>
#include <commctrl.h>

namespace platform {

namespace {

HRESULT CALLBACK OnEvent(HWND dialog, UINT event, WPARAM, LPARAM, LONG_PTR data) {
  if (event != TDN_CREATED) return S_OK;
  for (const Choice& choice : *reinterpret_cast<const std::vector<Choice>*>(data))
    if (choice.needsElevation) ::SendMessageW(dialog, TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, choice.id, TRUE);
  return S_OK;
}

}  // namespace

int AskChoice(HWND owner, const std::wstring& headline, const std::wstring& text, const std::vector<Choice>& choices,
              int defaultChoice) {
  using TaskDialogFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
  // Version 6 of the common controls has it; the manifest asks for that one,
  // which is loaded already.
  HMODULE controls = ::GetModuleHandleW(L"comctl32.dll");
  const auto taskDialog = controls ? reinterpret_cast<TaskDialogFunction>(
                                         reinterpret_cast<void*>(::GetProcAddress(controls, "TaskDialogIndirect")))
                                   : nullptr;
  std::vector<TASKDIALOG_BUTTON> buttons;
  buttons.reserve(choices.size());
  for (const Choice& choice : choices) buttons.push_back({choice.id, choice.text});
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  config.dwFlags = TDF_USE_COMMAND_LINKS | TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.pszWindowTitle = L"Vorlind";
  config.pszMainIcon = TD_WARNING_ICON;
  config.pszMainInstruction = headline.c_str();
  config.pszContent = text.c_str();
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.data();
  config.nDefaultButton = defaultChoice;
  config.pfCallback = OnEvent;
  config.lpCallbackData = reinterpret_cast<LONG_PTR>(&choices);
  int chosen = kChoiceCancelled;
  if (!taskDialog || FAILED(taskDialog(&config, &chosen, nullptr, nullptr))) {
    // Without the task dialog the user still learns what happened.
    const std::wstring message = headline + L"\n\n" + text;
    ::MessageBoxW(owner, message.c_str(), L"Vorlind", MB_OK | MB_ICONWARNING);
    return kChoiceCancelled;
  }
  return chosen;
}

}  // namespace platform
