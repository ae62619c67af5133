// The link control from LinkLabel.dll in a host of its own, which uses the
// control's GWLP_USERDATA as any host may.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <cwchar>

#include "platform/link_label/link_label_host.h"

namespace {

namespace link = platform::link_label;

TEST(LinkLabelControl, KeepsItsStateOutOfTheHostsUserData) {
  const platform::LinkLabelLibrary library = platform::LinkLabelLibrary::Load();
  HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr, nullptr, nullptr);
  HWND control = CreateWindowExW(0, platform::kLinkLabelClass, L"Vorlind", WS_CHILD | WS_VISIBLE, 0, 0, 200, 20, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(control);
  // The host's own block, as large as the control's state, so that a control
  // that took it for its state would write into it rather than past it.
  constexpr std::size_t kHostChars = 4096;
  auto* host = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kHostChars * sizeof(wchar_t)));
  ASSERT_TRUE(host);
  wcscpy(host, L"host");
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));

  auto* font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(control, link::kSetHyperlink, 0, reinterpret_cast<LPARAM>(L"mailto:vorlind@example.org"));
  SendMessageW(control, link::kSetColour, link::kVisited, RGB(1, 2, 3));
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(SendMessageW(control, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
  EXPECT_EQ(SendMessageW(control, link::kIsVisited, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrW(control, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(host));
  EXPECT_STREQ(host, L"host");
  for (std::size_t i = 5; i < kHostChars; ++i)
    ASSERT_EQ(host[i], 0) << "the control wrote into the host's block at " << i;

  DestroyWindow(parent);
  EXPECT_STREQ(host, L"host");
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, host)) << "the control freed the host's block";
}

// Asked in its own process, as the program itself or a tool in it might: the
// name without the access-key "&", unavailable while disabled, and after its
// window is gone an answer instead of freed state.
TEST(LinkLabelControl, AnswersForItselfUntilItsWindowGoes) {
  const platform::LinkLabelLibrary library = platform::LinkLabelLibrary::Load();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HWND control = CreateWindowExW(0, platform::kLinkLabelClass, L"&Vorlind && Co", WS_POPUP, 0, 0, 200, 20, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  IAccessible* link = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&link)),
            S_OK);
  VARIANT self{}, state{};
  self.vt = VT_I4;
  BSTR name = nullptr;
  ASSERT_EQ(link->get_accName(self, &name), S_OK);
  EXPECT_STREQ(name, L"Vorlind & Co");
  SysFreeString(name);
  long topic = -1;
  EXPECT_EQ(link->get_accHelpTopic(&name, self, &topic), S_FALSE);
  EXPECT_EQ(topic, 0);
  EXPECT_EQ(link->get_accHelpTopic(&name, self, nullptr), E_POINTER);
  // Disabled before its posted default action runs: the link is not followed.
  SendMessageW(control, link::kSetHyperlink, 0, reinterpret_cast<LPARAM>(L"mailto:vorlind@example.org"));
  EXPECT_EQ(link->accDoDefaultAction(self), S_OK);
  EnableWindow(control, FALSE);
  for (MSG msg; PeekMessageW(&msg, control, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
  EXPECT_EQ(SendMessageW(control, link::kIsVisited, 0, 0), 0);
  ASSERT_EQ(link->get_accState(self, &state), S_OK);
  EXPECT_EQ(state.lVal & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSABLE), STATE_SYSTEM_UNAVAILABLE);
  DestroyWindow(control);
  EXPECT_EQ(link->get_accState(self, &state), CO_E_OBJNOTCONNECTED);
  link->Release();
  CoUninitialize();
}

}  // namespace
