#include "platform/form_window.h"
#include "platform/twips.h"

namespace platform {

namespace {

UniqueFont CreateFontAt(const Font& font, int dpi) {
  return UniqueFont(::CreateFontW(-PointsToPixels(font.points, dpi), 0, 0, 0, font.weight, FALSE,
                                  font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                  font.face));
}

}  // namespace

void Form::Live::SetIcons(int resource) {
  // The big icon for Alt+Tab and the task bar, the small one for the caption.
  const int dpi = static_cast<int>(::GetDpiForWindow(hwnd_));
  const std::pair<WPARAM, int> icons[] = {{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}};
  for (const auto& [which, metric] : icons) {
    const int size = ::GetSystemMetricsForDpi(metric, dpi);
    const auto icon = static_cast<HICON>(
        ::LoadImageW(Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_SHARED));
    ::SendMessageW(hwnd_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
}

// Sizes the window and its controls from their twips at the current DPI.
void Form::Live::ApplyDpi() {
  fonts_.clear();
  defaultFont_ = CreateFontAt(kDefaultFont, dpi_);
  const FormLayout& layout = form_.layout_;
  RECT outer{0, 0, TwipsToPixels(layout.clientWidth, dpi_), TwipsToPixels(layout.clientHeight, dpi_)};
  ::AdjustWindowRectExForDpi(&outer, style_, ::GetMenu(hwnd_) != nullptr, exStyle_, dpi_);
  ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Control& c : layout.controls) {
    HWND control = ControlWindow(c.id);
    HFONT font = defaultFont_.get();
    if (c.font) {
      fonts_.push_back(CreateFontAt(*c.font, dpi_));
      font = fonts_.back().get();
    }
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SetWindowPos(control, nullptr, TwipsToPixels(c.left, dpi_), TwipsToPixels(c.top, dpi_),
                   TwipsToPixels(c.width, dpi_), TwipsToPixels(c.height, dpi_),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::Live::CentreOnWorkArea() {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &info);
  RECT r;
  ::GetWindowRect(hwnd_, &r);
  const RECT& work = info.rcWork;
  const int x = work.left + ((work.right - work.left) - (r.right - r.left)) / 2;
  const int y = work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2;
  ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace platform
