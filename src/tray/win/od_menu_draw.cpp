// DrawMenuItem: one owner-drawn item, painted off-screen and copied to the menu in one blit.
#include <string>

#include "base/win/utf.h"
#include "base/win/window_dpi.h"
#include "tray/win/od_menu.h"
#include "tray/win/od_menu_state.h"

namespace orv {

namespace {

struct ItemLook {
    int width = 0, height = 0;
    bool bar = false, separator = false;
    bool selected = false, disabled = false, checked = false, hot = false;
    std::wstring text, shortcut;  // the caption's parts before and after a tab
};

void Fill(HDC dc, const RECT& r, COLORREF c) {
    SetDCBrushColor(dc, c);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A wash of colour over what is there: alpha of 255 is the colour alone.
void Wash(HDC dc, const RECT& r, COLORREF c, BYTE alpha) {
    UniqueDc one(CreateCompatibleDC(dc));
    UniqueBitmap pixel(CreateCompatibleBitmap(dc, 1, 1));
    if (!one || !pixel) return;
    SelectGuard sel(one.get(), pixel.get());
    SetPixelV(one.get(), 0, 0, c);
    GdiAlphaBlend(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, one.get(), 0, 0, 1, 1,
                  BLENDFUNCTION{AC_SRC_OVER, 0, alpha, 0});
}

// The check mark's tile: a light square in the frame colour with the tick inside.
UniqueBitmap MakeCheckTile(HDC like, int size, const MenuStyle& s) {
    UniqueBitmap tile(CreateCompatibleBitmap(like, size, size));
    UniqueDc dc(CreateCompatibleDC(like));
    if (!tile || !dc) return {};
    SelectGuard sel(dc.get(), tile.get());
    const RECT all{0, 0, size, size};
    Fill(dc.get(), all, s.selectedFrame);
    const RECT inner{1, 1, size - 1, size - 1};
    Fill(dc.get(), inner, RGB(236, 244, 252));
    UniquePen pen(CreatePen(PS_SOLID, std::max(2, size / 8), s.selectedFrame));
    SelectGuard p(dc.get(), pen.get());
    const POINT tick[] = {{size * 5 / 20, size * 10 / 20}, {size * 8 / 20, size * 14 / 20}, {size * 15 / 20, size * 6 / 20}};
    Polyline(dc.get(), tick, 3);
    return tile;
}

void DrawText(HDC dc, const ItemLook& look, int x, int y, const std::wstring& text) {
    const UINT state = look.disabled ? DSS_DISABLED : DSS_NORMAL;
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), static_cast<WPARAM>(text.size()), x, y, 0,
               0, DST_PREFIXTEXT | state);
}

void PaintItem(HDC dc, const ItemLook& look, POINT origin, UINT dpi) {
    const auto& st = odmenu::Shared();
    const MenuStyle& s = st.style;
    const RECT all{0, 0, look.width, look.height};
    const int col = look.bar ? 0 : MenuPictureColumn(dpi);
    const int gap = ScaleForDpi(s.spacing, dpi);

    // The background picture, aligned with the menu rather than with the item.
    if (st.backgroundBrush) {
        SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
        FillRect(dc, &all, st.backgroundBrush.get());
    } else {
        Fill(dc, all, GetSysColor(COLOR_MENU));
    }
    SetBkColor(dc, s.textBack);
    if (!look.bar) Wash(dc, RECT{0, 0, col, look.height}, s.textBack, 48);  // the picture column

    if (look.separator) {
        RECT line{col + gap, look.height / 2, look.width - kSeparatorRightGap, look.height / 2 + 2};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool selected = look.selected && !look.disabled;
    if (selected) {
        if (s.selectionStyle == 1) {
            Fill(dc, all, s.selectedFrame);
            const RECT inner{1, 1, look.width - 1, look.height - 1};
            Fill(dc, inner, s.selectedBack);
        } else {
            Fill(dc, all, s.selectedBack);
        }
    }
    if (look.bar && look.hot && !selected) {
        RECT edge = all;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    if (!look.bar && look.checked) {
        const int size = col - 2 * gap;
        auto& cache = odmenu::Shared();
        if (!cache.checkTile || cache.checkTileSize != size) {
            cache.checkTile = MakeCheckTile(dc, size, s);
            cache.checkTileSize = size;
        }
        UniqueDc tiles(CreateCompatibleDC(dc));
        if (tiles && cache.checkTile) {
            SelectGuard sel(tiles.get(), cache.checkTile.get());
            BitBlt(dc, gap, (look.height - size) / 2, size, size, tiles.get(), 0, 0, SRCCOPY);
        }
    } else if (!look.bar && selected) {
        RECT edge{1, 1, col, look.height - 1};
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }

    SelectGuard font(dc, odmenu::FontFor(dpi));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? s.selectedText : UnselectedTextColour(s, look.bar));
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"Ag", 2, &extent);
    const int y = (look.height - extent.cy) / 2;
    const int x = look.bar ? (look.width - [&] {
        SIZE t{};
        GetTextExtentPoint32W(dc, look.text.c_str(), static_cast<int>(look.text.size()), &t);
        return static_cast<int>(t.cx);
    }()) / 2 : col + 3 * gap;
    DrawText(dc, look, x, y, look.text);
    if (!look.shortcut.empty()) {
        SIZE t{};
        GetTextExtentPoint32W(dc, look.shortcut.c_str(), static_cast<int>(look.shortcut.size()), &t);
        DrawText(dc, look, look.width - t.cx - 6 * gap, y, look.shortcut);
    }
}

bool IsSeparator(const DRAWITEMSTRUCT& item) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(reinterpret_cast<HMENU>(item.hwndItem), item.itemID, FALSE, &mi) &&
           (mi.fType & MFT_SEPARATOR);
}

}  // namespace

void DrawMenuItem(HWND form, const DRAWITEMSTRUCT& item) { DrawMenuItem(form, item, WindowDpi(form)); }

void DrawMenuItem(HWND form, const DRAWITEMSTRUCT& item, UINT dpi) {
    const auto& st = odmenu::Shared();
    ItemLook look;
    look.width = item.rcItem.right - item.rcItem.left;
    look.height = item.rcItem.bottom - item.rcItem.top;
    if (look.width <= 0 || look.height <= 0) return;
    look.bar = IsBarItemId(item.itemID, st.lastBarId);
    look.selected = item.itemState & ODS_SELECTED;
    look.disabled = item.itemState & (ODS_DISABLED | ODS_GRAYED);
    look.checked = item.itemState & ODS_CHECKED;
    look.hot = item.itemState & ODS_HOTLIGHT;
    const std::wstring caption = Widen(st.captions.Find(item.itemID, odmenu::Handle32(form)));
    look.separator = caption.empty() && IsSeparator(item);
    const auto tab = caption.find(L'\t');
    look.text = caption.substr(0, tab);
    if (tab != std::wstring::npos) look.shortcut = caption.substr(tab + 1);

    UniqueDc mem(CreateCompatibleDC(item.hDC));
    UniqueBitmap canvas(CreateCompatibleBitmap(item.hDC, look.width, look.height));
    if (!mem || !canvas) return;
    SelectGuard sel(mem.get(), canvas.get());
    PaintItem(mem.get(), look, POINT{item.rcItem.left, item.rcItem.top}, dpi);
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, look.width, look.height, mem.get(), 0, 0, SRCCOPY);
}

}  // namespace orv
