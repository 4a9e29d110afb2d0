// One global hotkey of the application as its control holds it: a key name with its key code
// and four modifiers, on or off, kept in the settings, registered on the control's window.
// The key names are the one text form of a hotkey everywhere: the modifiers are never in it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/hotkey_api.h"
#include "settings/settings_store.h"

namespace orv {

// A one-character name gives its character's code; "F1".."F16", "Num0".."Num9" and "Space"
// (any letter case) their keys; anything else 0.
std::int32_t GetPgmHotKeyFromStr(std::string_view name);

struct HotKeyName {
    std::string name;
    std::int32_t vk;
};
// The names a key drop-down offers, in its order: "0".."9", "A".."Z", "Num0".."Num9",
// "Space", "F1".."F16".
const std::vector<HotKeyName>& HotKeyComboNames();

class KHotKeyCtl;

// The live hotkey controls, by their UniqueKey, in the order they came.
class HotkeyControls {
public:
    void Add(KHotKeyCtl& ctl);  // a key already present keeps its control
    void RemoveWindow(HotkeyWindow hwnd);
    KHotKeyCtl* Find(const std::string& uniqueKey) const;
    // The hotkey message on a window: each control of that window hears the key code (high
    // word) and the modifiers (low word) of lParam.
    void DispatchHotkey(HotkeyWindow hwnd, std::int32_t lParam) const;
    bool empty() const { return items_.empty(); }

private:
    std::vector<std::pair<std::string, KHotKeyCtl*>> items_;
};

class KHotKeyCtl {
public:
    KHotKeyCtl(HotkeySystem& sys, HotkeyControls& controls) : sys_(sys), controls_(controls) {}

    std::function<void()> onHotkeyPressed;
    std::function<void(const std::string& message, const std::string& source)> onErrorOccured;

    void Init(std::string prefix) { prefix_ = std::move(prefix); }
    // The control has its window: the hotkey goes onto it, registered when on, and the control
    // joins the live ones, where later registration failures find it (this first one does not).
    void Load(HotkeyWindow hwnd);
    // Ends the hotkey for good and leaves the live controls; the window (0 when never loaded)
    // is to be unhooked.
    HotkeyWindow StopHotkey();

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool AltKey() const { return alt_; }
    bool ShiftKey() const { return shift_; }
    bool CtrlKey() const { return ctrl_; }
    bool WinKey() const { return win_; }
    std::int32_t VKey() const { return vkey_; }
    const std::string& HotKey() const { return hotKey_; }
    // A changed key or modifier re-registers a hotkey that has been registered before, on or off.
    void SetAltKey(bool on);
    void SetShiftKey(bool on);
    void SetCtrlKey(bool on);
    void SetWinKey(bool on);
    void SetVKey(std::int32_t vk);
    void SetHotKey(std::string name);

    std::int32_t hAtom() const { return api_ ? api_->hAtom() : 0; }
    std::int32_t hKey() const { return api_ ? api_->hKey() : 0; }
    std::string UniqueKey() const { return api_ ? api_->UniqueKey() : std::string(); }
    // Why the hotkey is not registered while on: the system's code, else 0.
    std::int32_t RegisterFailure() const { return api_ && enabled_ ? api_->Failure() : 0; }
    HotkeyWindow hwnd() const { return hwnd_; }

    // A press of the hotkey on the control's window: fires only when on and exactly our keys.
    void RaiseKeyPressEvent(std::int32_t vk, std::int32_t modifier);
    void RaiseError(const std::string& message, const std::string& source) {
        if (onErrorOccured) onErrorOccured(message, source);
    }

    void ReadSetting(SettingsStore& store, const std::string& defaultHotKey);
    void WriteSetting(SettingsStore& store) const;

private:
    void KeyChanged(bool& field, bool value, void (KHotKeyApi::*copy)(bool));
    void Reregister(const std::function<void(KHotKeyApi&)>& copy);
    void Register();

    HotkeySystem& sys_;
    HotkeyControls& controls_;
    std::optional<KHotKeyApi> api_{std::in_place};
    std::string prefix_;
    std::string hotKey_;
    bool alt_ = false, shift_ = false, ctrl_ = true, win_ = false, enabled_ = true;
    std::int32_t vkey_ = 122;
    HotkeyWindow hwnd_ = 0;
};

}  // namespace orv
