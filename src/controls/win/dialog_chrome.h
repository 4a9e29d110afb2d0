// The frame our dialogs wear, consistent with the bar: a title strip and a bottom border strip
// in the bar's colours that drag the dialog, the close image (a small face like the bar's
// quit button), a dark rim; and the modal loop they run in with the bar as owner.
#pragma once

#include <windows.h>

#include <functional>

namespace orv::chrome {

// The bar's colours: the strips wear its body, the close image its buttons' face.
inline constexpr COLORREF kStripTop = RGB(0x3E, 0x53, 0x7A), kStripBottom = RGB(0x1A, 0x24, 0x38);
inline constexpr COLORREF kFaceTop = RGB(0x5E, 0x78, 0xA8), kFaceBottom = RGB(0x33, 0x45, 0x69);
inline constexpr COLORREF kFaceRim = RGB(0x0E, 0x15, 0x24), kCloseInk = RGB(0xFF, 0xC4, 0xB8);
inline constexpr COLORREF kTitleInk = RGB(0xF2, 0xF6, 0xFF);
inline constexpr COLORREF kFooter = RGB(0xE8, 0xEC, 0xF2), kRule = RGB(0xD2, 0xD8, 0xE2);

// Heights at 96 DPI of the title strip and the bottom border strip; the close image's size.
inline constexpr int kStrip = 30, kBorder = 7, kCloseSize = 20;

void Fill(HDC dc, const RECT& r, COLORREF c);
void Gradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom);

// The title strip's content: the icon, then the title in titleFont.
void DrawTitle(HDC dc, RECT r, HICON icon, HFONT titleFont, const wchar_t* title, UINT dpi);
// The close image in r: a rounded face with its cross.
void DrawCloseImage(HDC dc, const RECT& r, UINT dpi);
// Both strips across the client area all, and the rim around it.
void PaintStrips(HDC dc, const RECT& all, UINT dpi);
// The title strip and the close image as rectangles of a client area width pixels wide.
RECT TitleRect(int width, UINT dpi);
RECT CloseRect(int width, UINT dpi);
// A left button press at client row y on a strip drags the dialog; true when it did.
bool DragByStrip(HWND dlg, int y, UINT dpi);

// Runs a modal loop for dlg with owner disabled until done() holds. preTranslate sees every
// message first (true: handled). A WM_QUIT ends the loop after onQuit and is posted again.
void RunModal(HWND owner, const std::function<bool()>& done, const std::function<bool(MSG&)>& preTranslate,
              const std::function<void()>& onQuit);

// What a dialog of ours shows in its frame.
struct FrameParts {
    int titleId, closeId, okId;  // the title strip and close image (owner-drawn), the default button
    const wchar_t* title;
    HICON icon;
    HFONT titleFont;
    HBRUSH page;  // the controls' background,
    COLORREF pageColour;  // and its colour
    UINT dpi;
};
// The frame's share of a dialog's messages: drawing the title strip and close image, the
// controls' background, a press on a strip dragging the dialog, the default button. True,
// with the answer in result, when msg was one of them.
bool HandleFrame(HWND dlg, const FrameParts& parts, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// WM_ACTIVATE: the focus the dialog had when it lost activation comes back with it.
void KeepFocus(HWND dlg, WPARAM wp, HWND& lastFocus);
// WM_DPICHANGED: laid out for the new DPI, then moved where the system suggests (the layout
// sets the size).
void FollowDpi(HWND dlg, WPARAM wp, LPARAM lp, const std::function<void(UINT dpi)>& layout);

// The caption and icon of the bar, which the dialogs take as theirs.
HICON WindowIcon(HWND window);

}  // namespace orv::chrome
