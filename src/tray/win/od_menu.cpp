#include "tray/win/od_menu.h"

#include <string>

#include "base/win/log.h"
#include "base/win/utf.h"
#include "base/win/window_dpi.h"
#include "tray/win/od_menu_state.h"

namespace orv {

namespace odmenu {
State& Shared() {
    static State state;
    return state;
}

HFONT FontFor(UINT dpi) {
    State& s = Shared();
    if (!s.font || s.fontDpi != dpi) {
        s.font = MenuFontForDpi(dpi);
        s.fontDpi = dpi;
    }
    return s.font.get();
}
}  // namespace odmenu

using odmenu::Handle32;
using odmenu::Shared;

namespace {
constexpr wchar_t kOrigProcProp[] = L"ODMenuOrigProc";

WNDPROC OriginalProc(HWND form) { return reinterpret_cast<WNDPROC>(GetPropW(form, kOrigProcProp)); }

LRESULT CallOriginal(HWND form, UINT msg, WPARAM wp, LPARAM lp) {
    const WNDPROC orig = OriginalProc(form);
    return orig ? CallWindowProcW(orig, form, msg, wp, lp) : DefWindowProcW(form, msg, wp, lp);
}

// Fills a tool bar's area with the menu's background picture.
bool EraseToolbar(HDC dc) {
    const HWND w = WindowFromDC(dc);
    wchar_t cls[128] = {};
    if (!w || !GetClassNameW(w, cls, 128) || !IsToolbarClass(Narrow(cls))) return false;
    const HBRUSH brush = Shared().backgroundBrush.get();
    if (!brush) return false;
    RECT r;
    GetClientRect(w, &r);
    FillRect(dc, &r, brush);
    return true;
}
}  // namespace

void SetODMenuStyle(const MenuStyle& style, HBITMAP background) {
    auto& s = Shared();
    s.style = style;
    s.background = background;
    s.backgroundBrush.reset(background ? CreatePatternBrush(background) : nullptr);
    s.checkTile.reset();  // drawn in the style's colours
}

bool InstallODMenu(HWND form, bool convert) {
    if (!IsWindow(form)) return false;
    if (convert) ConvertMenuBar(form);
    if (Shared().forms.contains(form)) return true;
    SetLastError(0);
    const LONG_PTR prev = SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ODMenuWndProc));
    if (!prev && GetLastError()) {
        LogError("InstallODMenu: SetWindowLongPtrW");
        return false;
    }
    SetPropW(form, kOrigProcProp, reinterpret_cast<HANDLE>(prev));
    Shared().forms.insert(form);
    return true;
}

void RemoveODMenu(HWND form) {
    auto& s = Shared();
    if (!s.forms.erase(form)) return;
    if (s.forms.empty()) s.captions = MenuCaptions();
    const WNDPROC orig = OriginalProc(form);
    if (GetWindowLongPtrW(form, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&ODMenuWndProc)) {
        // Someone replaced the procedure after us: putting ours back would cut them off.
        Log("RemoveODMenu: the window procedure was replaced after ours; left in place");
        s.forms.insert(form);
        return;
    }
    SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(orig));
    RemovePropW(form, kOrigProcProp);
}

void ConvertMenuBar(HWND form) {
    const HMENU bar = GetMenu(form);
    const int count = bar ? GetMenuItemCount(bar) : 0;
    if (count <= 0) return;
    auto& s = Shared();
    s.lastBarId = LastBarId(count);
    // A maximised child form's bar starts with its system menu.
    for (int p = IsZoomed(form) ? 1 : 0; p < count; ++p) {
        wchar_t text[128] = {};
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
        mi.dwTypeData = text;
        mi.cch = 128;
        if (!GetMenuItemInfoW(bar, static_cast<UINT>(p), TRUE, &mi)) continue;
        if (text[0]) s.captions.Store(BarItemId(p), Handle32(form), Narrow(text));
        // The submenu stays with the item (ModifyMenu would destroy it).
        mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        mi.fType |= MFT_OWNERDRAW;
        mi.wID = BarItemId(p);
        mi.dwItemData = kBarItemData;
        SetMenuItemInfoW(bar, static_cast<UINT>(p), TRUE, &mi);
    }
    DrawMenuBar(form);
}

void ConvertPopupItems(HWND form, HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p) {
        wchar_t text[256] = {};
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        mi.dwTypeData = text;
        mi.cch = 256;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(p), TRUE, &mi)) continue;
        if (mi.fType & MFT_OWNERDRAW) continue;  // converted at an earlier opening
        const PopupCaption caption = ReadPopupCaption(Narrow(std::wstring_view(text, mi.cch)));
        MENUITEMINFOW set{};
        set.cbSize = sizeof set;
        set.fMask = MIIM_ID | MIIM_FTYPE;
        set.wID = mi.wID;
        set.fType = mi.fType | MFT_OWNERDRAW | (caption.columnBreak ? MFT_MENUBREAK : 0);
        SetMenuItemInfoW(menu, static_cast<UINT>(p), TRUE, &set);
        if (!caption.text.empty()) Shared().captions.Store(mi.wID, Handle32(form), caption.text);
    }
}

UniqueFont GetMenuFont(HWND form) { return MenuFontForDpi(WindowDpi(form)); }

ItemSize MeasureMenuItem(HWND form, UINT itemId, ULONG_PTR itemData) {
    const UINT dpi = WindowDpi(form);
    const std::wstring text = Widen(MeasuredText(Shared().captions.Find(itemId, Handle32(form))));
    SIZE extent{};
    if (!text.empty()) {
        UniqueWindowDc dc = GetWindowDc(form);
        if (dc) {
            SelectGuard font(dc.get().dc, odmenu::FontFor(dpi));
            GetTextExtentPoint32W(dc.get().dc, text.c_str(), static_cast<int>(text.size()), &extent);
        }
    }
    return MeasureItem(extent.cx, extent.cy, itemData == kBarItemData, dpi);
}

LRESULT CALLBACK ODMenuWndProc(HWND form, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    try {
        switch (msg) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (mis->CtlType != ODT_MENU) break;
            const ItemSize size = MeasureMenuItem(form, mis->itemID, mis->itemData);
            mis->itemWidth = static_cast<UINT>(size.width);
            mis->itemHeight = static_cast<UINT>(size.height);
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (dis->CtlType != ODT_MENU) break;
            DrawMenuItem(form, *dis);
            return TRUE;
        }
        case WM_INITMENUPOPUP: {
            const LRESULT r = CallOriginal(form, msg, wp, lp);
            if (!HIWORD(lp)) ConvertPopupItems(form, reinterpret_cast<HMENU>(wp));
            return r;
        }
        case WM_ERASEBKGND:
            if (EraseToolbar(reinterpret_cast<HDC>(wp))) return -1;
            break;
        case WM_NCDESTROY: {
            // Gone without RemoveODMenu: put the procedure back so nothing of ours is left.
            const WNDPROC orig = OriginalProc(form);
            RemoveODMenu(form);
            return orig ? CallWindowProcW(orig, form, msg, wp, lp) : DefWindowProcW(form, msg, wp, lp);
        }
        default:
            break;
        }
    } catch (...) {
        Log("ODMenuWndProc: an exception while drawing a menu item");
    }
    return CallOriginal(form, msg, wp, lp);
}

}  // namespace orv
