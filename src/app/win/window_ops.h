// Top-level window operations against the real API.
#pragma once

#include <windows.h>

#include <unordered_map>

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
    // Shows or hides at once when the window's thread answers a probe; a window whose
    // application stopped responding gets the request in its queue instead, so it never
    // blocks us and still changes state when its application wakes up.
    bool Show(WindowId id, int showCmd) override;

private:
    static constexpr UINT kProbeTimeoutMs = 200;
    static constexpr ULONGLONG kProbeValidMs = 500;
    bool Responsive(HWND h, DWORD thread);
    std::unordered_map<DWORD, bool> probed_;  // thread -> answered, probed once per switch
    ULONGLONG probedAt_ = 0;
};

}  // namespace orv
