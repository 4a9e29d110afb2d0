// The hotkeys on the real system: the global atom table and RegisterHotKey behind
// HotkeySystem, and the windows the hotkey controls are loaded on, each carrying a subclass
// that hands WM_HOTKEY to the live controls and passes every message on.
#pragma once

#include <windows.h>

#include <vector>

#include "hotkeys/hotkey_api.h"
#include "hotkeys/hotkey_ctl.h"

namespace orv {

inline HotkeyWindow ToHotkeyWindow(HWND window) { return reinterpret_cast<HotkeyWindow>(window); }

class Win32HotkeySystem final : public HotkeySystem {
public:
    std::uint16_t AddAtom(const std::string& name) override;
    std::string AtomName(std::int32_t atom) override;
    void DeleteAtom(std::int32_t atom) override;
    // The atom is the identifier: its 16 bits, whatever sign the caller gave them.
    std::int32_t RegisterHotKey(HotkeyWindow hwnd, std::int32_t id, std::int32_t modifiers, std::int32_t vk) override;
    void UnregisterHotKey(HotkeyWindow hwnd, std::int32_t id) override;
    std::int32_t LastError() override { return static_cast<std::int32_t>(GetLastError()); }
    std::string ErrorText(std::int32_t code) override;  // the system's text as it stands
};

class HotkeyWindows {
public:
    explicit HotkeyWindows(HotkeyControls& controls) : controls_(controls) {}
    ~HotkeyWindows();  // takes off every hook still in place
    HotkeyWindows(const HotkeyWindows&) = delete;
    HotkeyWindows& operator=(const HotkeyWindows&) = delete;

    // The control goes live on its window; the window is hooked once, however many controls.
    void Load(KHotKeyCtl& ctl, HWND window);
    // The control's hotkey ends; the window's hook goes with the last control loaded on it.
    void Stop(KHotKeyCtl& ctl);

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self) noexcept;
    void Unhook(HWND window);

    HotkeyControls& controls_;
    std::vector<std::pair<KHotKeyCtl*, HWND>> loaded_;
    std::vector<HWND> hooked_;
};

}  // namespace orv
