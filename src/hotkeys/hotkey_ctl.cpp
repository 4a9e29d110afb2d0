#include "hotkeys/hotkey_ctl.h"

#include "base/text.h"
#include "settings/control_settings.h"

namespace orv {

namespace {
// The code point of a text that is exactly one UTF-8 character, else nullopt.
std::optional<std::int32_t> SingleCharacter(std::string_view s) {
    if (s.empty()) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(s[0]);
    const std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
    if (len == 0 || s.size() != len) return std::nullopt;
    if (len == 1) return b0;
    std::int32_t cp = b0 & (0x7F >> len);
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b >> 6) != 2) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    return cp;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ContainsNoCase(a, b);
}
}  // namespace

const std::vector<HotKeyName>& HotKeyComboNames() {
    static const std::vector<HotKeyName> names = [] {
        std::vector<HotKeyName> v;
        for (char c = '0'; c <= '9'; ++c) v.push_back({std::string(1, c), c});
        for (char c = 'A'; c <= 'Z'; ++c) v.push_back({std::string(1, c), c});
        for (int i = 0; i <= 9; ++i) v.push_back({"Num" + std::to_string(i), 96 + i});
        v.push_back({"Space", 32});
        for (int i = 1; i <= 16; ++i) v.push_back({"F" + std::to_string(i), 111 + i});
        return v;
    }();
    return names;
}

std::int32_t GetPgmHotKeyFromStr(std::string_view name) {
    if (auto c = SingleCharacter(name)) return *c;
    for (const HotKeyName& k : HotKeyComboNames())
        if (k.name.size() > 1 && EqualNoCase(name, k.name)) return k.vk;
    return 0;
}

void HotkeyControls::Add(KHotKeyCtl& ctl) {
    if (!Find(ctl.UniqueKey())) items_.emplace_back(ctl.UniqueKey(), &ctl);
}

void HotkeyControls::RemoveWindow(HotkeyWindow hwnd) {
    std::erase_if(items_, [key = "hwnd:" + std::to_string(hwnd)](const auto& item) { return item.first == key; });
}

KHotKeyCtl* HotkeyControls::Find(const std::string& uniqueKey) const {
    for (const auto& [key, ctl] : items_)
        if (key == uniqueKey) return ctl;
    return nullptr;
}

void HotkeyControls::DispatchHotkey(HotkeyWindow hwnd, std::int32_t lParam) const {
    const auto items = items_;  // a handler may stop a control
    for (const auto& [key, ctl] : items)
        if (ctl->hwnd() == hwnd) ctl->RaiseKeyPressEvent(HiWord(lParam), LoWord(lParam));
}

void KHotKeyCtl::Register() {
    if (auto error = api_->Register(sys_))
        if (KHotKeyCtl* owner = controls_.Find(api_->UniqueKey())) owner->RaiseError(*error, kRegisterErrorSource);
}

void KHotKeyCtl::Load(HotkeyWindow hwnd) {
    if (hwnd <= 0 || !api_) return;
    hwnd_ = hwnd;
    api_->SetAltKey(alt_);
    api_->SetShiftKey(shift_);
    api_->SetControlKey(ctrl_);
    api_->SetWinKey(win_);
    api_->VKey = vkey_;
    api_->hwnd = hwnd;
    if (enabled_) Register();
    controls_.Add(*this);
}

HotkeyWindow KHotKeyCtl::StopHotkey() {
    if (hwnd_ == 0) return 0;
    controls_.RemoveWindow(hwnd_);
    if (api_) {
        api_->Unregister(sys_);
        api_.reset();
    }
    return hwnd_;
}

void KHotKeyCtl::SetEnabled(bool on) {
    if (!api_ || on == enabled_) return;
    enabled_ = on;
    if (on)
        Register();
    else
        api_->Unregister(sys_);
}

// The new value always reaches the hotkey object (a later switch-on registers what the control
// shows); the system hears of it only once the hotkey has had an atom.
void KHotKeyCtl::Reregister(const std::function<void(KHotKeyApi&)>& copy) {
    if (!api_) return;
    const bool registeredBefore = api_->hAtom() != 0;
    if (registeredBefore) api_->Unregister(sys_);
    copy(*api_);
    if (registeredBefore) Register();
}

void KHotKeyCtl::KeyChanged(bool& field, bool value, void (KHotKeyApi::*set)(bool)) {
    if (field == value) return;
    field = value;
    Reregister([&](KHotKeyApi& api) { (api.*set)(value); });
}

void KHotKeyCtl::SetAltKey(bool on) { KeyChanged(alt_, on, &KHotKeyApi::SetAltKey); }
void KHotKeyCtl::SetShiftKey(bool on) { KeyChanged(shift_, on, &KHotKeyApi::SetShiftKey); }
void KHotKeyCtl::SetCtrlKey(bool on) { KeyChanged(ctrl_, on, &KHotKeyApi::SetControlKey); }
void KHotKeyCtl::SetWinKey(bool on) { KeyChanged(win_, on, &KHotKeyApi::SetWinKey); }

void KHotKeyCtl::SetVKey(std::int32_t vk) {
    if (vk == vkey_) return;
    vkey_ = vk;
    Reregister([vk](KHotKeyApi& api) { api.VKey = vk; });
}

void KHotKeyCtl::SetHotKey(std::string name) {
    hotKey_ = std::move(name);
    SetVKey(GetPgmHotKeyFromStr(hotKey_));
}

void KHotKeyCtl::RaiseKeyPressEvent(std::int32_t vk, std::int32_t modifier) {
    if (enabled_ && api_ && KHotKeyApi(modifier, vk).MatchedKey(*api_) && onHotkeyPressed) onHotkeyPressed();
}

void KHotKeyCtl::ReadSetting(SettingsStore& store, const std::string& defaultHotKey) {
    const HotkeySetting h = ReadHotkeySetting(store, prefix_, defaultHotKey);
    SetCtrlKey(h.ctrl);
    SetShiftKey(h.shift);
    SetAltKey(h.alt);
    SetWinKey(h.win);
    hotKey_ = h.key;
    SetVKey(GetPgmHotKeyFromStr(hotKey_));
    SetEnabled(h.on);
}

void KHotKeyCtl::WriteSetting(SettingsStore& store) const {
    WriteHotkeySetting(store, prefix_, HotkeySetting{ctrl_, shift_, alt_, win_, hotKey_, enabled_});
}

}  // namespace orv
