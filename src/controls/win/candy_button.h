// CandyButton: the owner-drawn push button of every window of ours (the bar, the dialogs).
// A window class of its own, so code and dialog templates ("CandyButton" as the class name)
// both make one; the C++ object lives with the window and goes with it.
//
// Notifications reach the parent as a standard button's do: WM_COMMAND with BN_CLICKED for
// Click and BN_DOUBLECLICKED for DblClick, the control's id in the low word. The other
// events (MouseEnter, MouseLeave, MouseMove, MouseUp, MouseDown) go to a listener, if set.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "controls/candy.h"

namespace orv {

inline constexpr wchar_t kCandyButtonClass[] = L"CandyButton";

struct CandyMouse {
    int button = 0;  // 1 left, 2 right, 4 middle
    int shift = 0;   // 1 Shift, 2 Control, 4 Alt
    int x = 0, y = 0;
};

class CandyListener {
public:
    virtual void MouseEnter(HWND /*button*/) {}
    virtual void MouseLeave(HWND /*button*/) {}
    virtual void MouseMove(HWND /*button*/, const CandyMouse&) {}
    virtual void MouseDown(HWND /*button*/, const CandyMouse&) {}
    virtual void MouseUp(HWND /*button*/, const CandyMouse&) {}

protected:
    ~CandyListener() = default;
};

// Everything a button's face is painted from: a button's own state, or that of a button
// yet to be made (a window drawn before its buttons exist shows them all the same).
struct CandyFace {
    candy::Properties props;
    candy::Look look = candy::Look::Normal;
    bool enabled = true;
    bool focusCue = false;
    std::wstring_view caption;
    HFONT font = nullptr;  // null: the GUI font
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    UINT dpi = 96;
};

class CandyButton {
public:
    // Registers the window class (once per process; later calls are harmless).
    static bool Register();
    // A child button with the bar's look unless told otherwise; null on failure.
    static HWND Create(HWND parent, int id, int x, int y, int w, int h, const std::wstring& caption,
                       int style = 7, int colorScheme = 2);
    // The control behind a window of the class; null for any other window.
    static CandyButton* From(HWND hwnd);

    HWND hwnd() const { return hwnd_; }

    // Properties. Setters redraw where the control's look changes. Enabled is the window's
    // own (EnableWindow); Font is WM_SETFONT; Caption is the window text (SetWindowText).
    int ColorScheme() const;
    void SetColorScheme(int scheme);      // 1..6 load the scheme's four colours
    int BorderBrightness() const;
    void SetBorderBrightness(int value);  // clamped to -100..100
    COLORREF ColorBright() const;
    void SetColorBright(COLORREF c);      // each of the four colours resets the scheme to 0
    COLORREF ColorButtonUp() const;
    void SetColorButtonUp(COLORREF c);
    COLORREF ColorButtonHover() const;
    void SetColorButtonHover(COLORREF c);
    COLORREF ColorButtonDown() const;
    void SetColorButtonDown(COLORREF c);
    COLORREF ForeColor() const;
    void SetForeColor(COLORREF c);
    bool Checked() const;
    void SetChecked(bool on);             // latched look; the control never toggles it itself
    int Style() const;
    void SetStyle(int style);             // 0..8; rebuilds the window shape
    int PictureAlignment() const;
    void SetPictureAlignment(int alignment);  // 0..3
    // A bitmap or an icon, not owned: the caller keeps it alive while the button shows it.
    void SetPicture(HBITMAP bitmap);
    void SetPicture(HICON icon);
    bool DisplayHand() const;
    void SetDisplayHand(bool on);
    bool IconHighLite() const;
    void SetIconHighLite(bool on);
    COLORREF IconHighLiteColor() const;
    void SetIconHighLiteColor(COLORREF c);
    bool CaptionHighLite() const;
    void SetCaptionHighLite(bool on);
    COLORREF CaptionHighLiteColor() const;
    void SetCaptionHighLiteColor(COLORREF c);
    void SetListener(CandyListener* listener);  // not owned; null for none

    // Paints the whole face into dc (the window's own painting does it double-buffered).
    void Render(HDC dc);
    // A face of w x h painted at dc's origin; the window shape's corners are painted too, so
    // a caller drawing it outside a button clips them with ShapeRegion.
    static void Paint(HDC dc, int w, int h, const CandyFace& face);
    // The shape of a button of w x h with the given style, its client area at (x, y) in
    // the region's coordinates; null for a plain rectangle. The caller owns the region.
    static HRGN ShapeRegion(int style, int w, int h, int x, int y);

private:
    CandyButton() = default;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnMouseButton(UINT msg, WPARAM wp, LPARAM lp);
    // Paints the reaction's look, then raises its events; false when the window went away.
    bool Apply(const candy::Reaction& r, const CandyMouse& m);
    void Redraw(candy::Look look);
    void Invalidate() const { InvalidateRect(hwnd_, nullptr, FALSE); }
    void RebuildShape();

    // The shape the window wears: its client size, corner radius (0: none, the window is a
    // plain rectangle) and the client area's place in the window.
    struct Shape {
        int w = -1, h = -1, r = 0, dx = 0, dy = 0;
        bool operator==(const Shape&) const = default;
    };

    HWND hwnd_ = nullptr;
    Shape shape_;
    candy::Properties props_;
    candy::StateMachine machine_;
    candy::Look look_ = candy::Look::Normal;
    HFONT font_ = nullptr;          // WM_SETFONT's, not owned
    HBITMAP bitmap_ = nullptr;      // the picture, not owned
    HICON icon_ = nullptr;
    CandyListener* listener_ = nullptr;
    bool default_ = false;          // the dialog's default button
    bool enterDown_ = false;
    bool afterDblClick_ = false;    // the button-up that ends a double click is no click
};

}  // namespace orv
