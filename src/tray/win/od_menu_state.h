// modODMenu's application-wide state, shared by its two files (not for other callers).
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>

#include "base/win/handles.h"
#include "tray/od_menu_model.h"

namespace orv::odmenu {

struct State {
    MenuCaptions captions;
    std::uint32_t lastBarId = kFirstBarId - 1;
    MenuStyle style = kTrayMenuStyle;
    HBITMAP background = nullptr;
    UniqueBrush backgroundBrush;
    std::set<HWND> forms;  // forms with the procedure installed
    UniqueFont font;       // the menu font at fontDpi, made on first use
    UINT fontDpi = 0;
    UniqueBitmap checkTile;  // the check mark's picture at checkTileSize
    int checkTileSize = 0;
};
State& Shared();

// The signed 32-bit value of a window handle, as the caption keys hold it.
inline std::int32_t Handle32(HWND w) { return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(w)); }
// The cached menu font for dpi (owned by the state).
HFONT FontFor(UINT dpi);

}  // namespace orv::odmenu
