// Top-level window operations against the real API.
#pragma once

#include <windows.h>

#include "app/desk_windows.h"

namespace orv {

inline HWND ToHwnd(WindowId id) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(id)); }
inline WindowId ToId(HWND h) { return static_cast<WindowId>(reinterpret_cast<INT_PTR>(h)); }

class Win32WindowOps final : public WindowOps {
public:
    // Titles are read without sending messages, so a hung application cannot stall it.
    void EnumerateTopLevel(const std::function<void(WindowId, const std::string&)>& visit) override;
    int ShowCommand(WindowId id) override;
    int IsVisible(WindowId id) override;
    // Windows of our own thread are shown at once; every other window is shown
    // asynchronously, so a window whose application stopped responding never blocks us.
    bool Show(WindowId id, int showCmd) override;
};

}  // namespace orv
