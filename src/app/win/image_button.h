// The bar's small picture buttons (quit, hide): a strip seen through a frame.
#pragma once

#include <windows.h>

#include <functional>

#include "app/bar_layout.h"
#include "base/win/window_base.h"

namespace orv {

// A small picture button: a strip shown through a frame, its pressed half while the button
// is down. The action runs on the mouse up, wherever the pointer is then.
class ImageButton final : public Window {
public:
    // Made in the frame's place (a strip comes with Show).
    bool Create(HWND parent, int id, const BarBox& frame, std::function<void()> onUp);
    // The strip (not owned), where its pressed half starts, and the frame's place.
    void Show(HBITMAP strip, int pressedOffset, const BarBox& frame);

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool pressed_ = false;
    HBITMAP strip_ = nullptr;
    int pressedOffset_ = 0;
    std::function<void()> onUp_;
};

}  // namespace orv
