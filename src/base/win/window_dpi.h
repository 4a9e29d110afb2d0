// The DPI a window is drawn at, and the system fonts at that DPI. The per-monitor calls
// (Windows 10 1607 and later) are looked up at run time; older systems get the system DPI.
#pragma once

#include <windows.h>

#include "base/win/handles.h"

namespace orv {

inline constexpr UINT kBaseDpi = 96;

// The window's DPI (its monitor's under per-monitor awareness); the screen's for null.
UINT WindowDpi(HWND window);
inline int ScaleForDpi(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), kBaseDpi); }

// The system's non-client metrics with their fonts sized for dpi. False when unreadable.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi);

// The system's menu font and message font at dpi (null on failure).
UniqueFont MenuFontForDpi(UINT dpi);
UniqueFont MessageFontForDpi(UINT dpi, int heightPercent = 100, int weight = 0);

}  // namespace orv
