// The application's seven global hotkeys: KHK 0 starts a snapshot, KHKD 0..5 switch to
// desktops 1 to 6 (as many as the flavour has). Each control lives on a hidden window of its
// own, owned by the bar and never shown, where its WM_HOTKEY arrives.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/flavour.h"
#include "base/win/window_base.h"
#include "hotkeys/win/hotkey_win.h"
#include "settings/settings_store.h"

namespace orv {

inline constexpr int kHotkeyCount = 7;  // KHK 0, then KHKD 0..5

class AppHotkeys {
public:
    struct Handlers {
        std::function<void(int desk)> switchTo;  // a desktop hotkey: desktop 1 to 6
        std::function<void()> snapshot;          // the snapshot hotkey
    };
    AppHotkeys(const FlavourInfo& flavour, Handlers handlers);
    ~AppHotkeys() { Stop(); }
    AppHotkeys(const AppHotkeys&) = delete;
    AppHotkeys& operator=(const AppHotkeys&) = delete;

    // Each control: Init with its prefix, ReadSetting with its default key, then loaded on a
    // window of its own. A registration that fails goes to the log, the first one included.
    void Load(SettingsStore& store, HWND owner);
    void Save(SettingsStore& store) const;
    // In order KHK 0, KHKD 0..: Enabled = False, then StopHotkey; the hooks and windows go.
    void Stop();
    // KHK 0, then KHKD 0..5; null for a desktop hotkey the flavour lacks, before Load and after Stop.
    std::array<KHotKeyCtl*, kHotkeyCount> Controls();

private:
    class Host final : public Window {
    public:
        bool Make(HWND owner, const char* name);
    };
    struct Slot {
        std::unique_ptr<KHotKeyCtl> ctl;
        Host host;
    };
    void Pressed(int index) const;
    void LogFailure(int index, const std::string& message) const;

    const FlavourInfo& flavour_;
    Handlers handlers_;
    Win32HotkeySystem sys_;
    HotkeyControls live_;
    HotkeyWindows hooks_{live_};
    std::array<Slot, kHotkeyCount> slots_;  // after the hooks: a window going still finds them
    bool loaded_ = false;
};

}  // namespace orv
