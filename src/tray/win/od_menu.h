// modODMenu: turns the items of a form's menus into owner-drawn items and paints them with
// the menu font, the style's colours and a background picture. One set of state for the
// application (the caption cache, the last bar identifier, the style), on the user-interface
// thread only.
#pragma once

#include <windows.h>

#include "base/win/handles.h"
#include "tray/od_menu_model.h"

namespace orv {

// The style values and the background picture (painted as a pattern brush; not owned, it
// must live while menus are drawn). Set once before a menu is first shown.
void SetODMenuStyle(const MenuStyle& style, HBITMAP background);

// Replaces the form's window procedure by ODMenuWndProc, keeping the previous one in the
// window property "ODMenuOrigProc"; with convert, the menu bar is converted first. False
// when the procedure could not be replaced (the menus then stay as they are).
bool InstallODMenu(HWND form, bool convert);
// Puts the previous procedure back; the caption cache goes with the last form.
void RemoveODMenu(HWND form);

void ConvertMenuBar(HWND form);
LRESULT CALLBACK ODMenuWndProc(HWND form, UINT msg, WPARAM wp, LPARAM lp) noexcept;
void ConvertPopupItems(HWND form, HMENU menu);
ItemSize MeasureMenuItem(HWND form, UINT itemId, ULONG_PTR itemData);
// The system's menu font at the window's DPI; the caller owns it.
UniqueFont GetMenuFont(HWND form);
// Paints one item at the form's DPI; the DPI may be given (tests, a menu on another monitor).
void DrawMenuItem(HWND form, const DRAWITEMSTRUCT& item);
void DrawMenuItem(HWND form, const DRAWITEMSTRUCT& item, UINT dpi);

// The width of the picture column at the left of popup items.
inline int MenuPictureColumn(UINT dpi) { return MulDiv(20, static_cast<int>(dpi), 96); }
// A separator's line ends this far before the item's right end.
inline constexpr int kSeparatorRightGap = 5;

}  // namespace orv
