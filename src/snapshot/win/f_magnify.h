// fMagnify: the zoom window shown while a snapshot area is chosen. It shows the screen
// around the pointer enlarged (5:1 at first), a crosshair as wide as one enlarged pixel with
// a marker at its crossing, the pointer's coordinates and the factor; its scroll bar and F1
// to F5 change the factor; a double click closes it, a drag with the left button moves it.
// The arithmetic is snapshot/snap_rules.h.
#pragma once

#include <windows.h>

#include <memory>

#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "snapshot/snap_rules.h"

namespace orv {

inline constexpr wchar_t kMagnifyClass[] = L"OrvantaMagnify";
inline constexpr wchar_t kMagnifyTitle[] = L"Capture - Esc to Cancel";
enum MagnifyId : int {
    kMagPicture = 10,  // Picture1
    kMagScroll,        // VScroll1
    kMagPosition,      // Label1
    kMagFactor,        // Label2
};

class FMagnify final : public Window {
public:
    // Made in the top-left corner of the screen, topmost, shown. Null when it cannot be made.
    static std::unique_ptr<FMagnify> Create(HWND owner);
    ~FMagnify() override;

    // F1 to F5 (no Shift, no Alt): true when the key set a factor.
    bool OnZoomKey(unsigned virtualKey);
    // Set when the user closes it with a double click; the owner lets it go.
    bool Closed() const { return closed_; }

private:
    FMagnify() = default;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    static LRESULT CALLBACK PictureProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) noexcept;
    void LayOut();
    void ScrollChanged();
    void Tick();
    void PaintPicture(HDC dc) const;
    ZoomParts Parts() const;

    HWND picture_ = nullptr, scroll_ = nullptr, position_ = nullptr, factor_ = nullptr;
    UniqueFont font_;
    UniqueBrush labelBack_;
    int value_ = kZoomScrollStart;
    POINT centre_{};  // the last accepted centre of the view
    bool closed_ = false;
};

}  // namespace orv
