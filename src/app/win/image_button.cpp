#include "app/win/image_button.h"

#include "base/win/handles.h"

namespace orv {

namespace {
constexpr wchar_t kImageButtonClass[] = L"OrvantaImageButton";
}  // namespace

bool ImageButton::Create(HWND parent, int id, const BarBox& frame, std::function<void()> onUp) {
    onUp_ = std::move(onUp);
    RegisterClassOnce(kImageButtonClass);
    return Window::Create(kImageButtonClass, L"", WS_CHILD | WS_VISIBLE, 0, frame.left, frame.top, frame.width,
                          frame.height, parent, id);
}

void ImageButton::Show(HBITMAP strip, int pressedOffset, const BarBox& frame) {
    strip_ = strip;
    pressedOffset_ = pressedOffset;
    MoveChildTo(hwnd(), frame.left, frame.top, frame.width, frame.height);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT ImageButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PaintDc pdc(hwnd());
            RECT rc{};
            GetClientRect(hwnd(), &rc);
            UniqueDc mem(CreateCompatibleDC(pdc.get()));
            SelectGuard sel(mem.get(), strip_);
            BitBlt(pdc.get(), 0, 0, rc.right, rc.bottom, mem.get(), pressed_ ? pressedOffset_ : 0, 0, SRCCOPY);
            return 0;
        }
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(hwnd());
            InvalidateRect(hwnd(), nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP:
            pressed_ = false;
            if (GetCapture() == hwnd()) ReleaseCapture();
            InvalidateRect(hwnd(), nullptr, FALSE);
            UpdateWindow(hwnd());
            if (onUp_) onUp_();
            return 0;
        case WM_CAPTURECHANGED:
            if (pressed_) {
                pressed_ = false;
                InvalidateRect(hwnd(), nullptr, FALSE);
            }
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace orv
