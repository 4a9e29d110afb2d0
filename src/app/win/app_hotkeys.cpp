#include "app/win/app_hotkeys.h"

#include "app/tray_texts.h"
#include "base/win/fatal.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "settings/control_settings.h"

namespace orv {

namespace {
constexpr wchar_t kHostClass[] = L"OrvantaZ.Hotkey";

std::string Purpose(int index) { return index == 0 ? "the snapshot hotkey" : "the hotkey of desktop " + std::to_string(index); }
}  // namespace

bool AppHotkeys::Host::Make(HWND owner, const char* name) {
    // A popup owned by the bar that is never shown: out of sight, out of the task list, and
    // its thread's hotkey messages reach it like any window's.
    return RegisterClassOnce(kHostClass) &&
           Create(kHostClass, Widen(name).c_str(), WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, 0, 0, 0, 0, owner);
}

AppHotkeys::AppHotkeys(const FlavourInfo& flavour, Handlers handlers)
    : flavour_(flavour), handlers_(std::move(handlers)) {}

void AppHotkeys::Load(SettingsStore& store, HWND owner) {
    if (loaded_) return;
    loaded_ = true;
    const auto& table = HotkeyControlTable();
    for (int i = 0; i < kHotkeyCount && i <= flavour_.desktopHotkeys; ++i) {
        Slot& s = slots_[i];
        s.ctl = std::make_unique<KHotKeyCtl>(sys_, live_);
        KHotKeyCtl& ctl = *s.ctl;
        ctl.Init(table[i].prefix);
        ctl.ReadSetting(store, table[i].defaultKey);
        ctl.onHotkeyPressed = [this, i] { Pressed(i); };
        ctl.onErrorOccured = [this, i](const std::string& message, const std::string&) { LogFailure(i, message); };
        if (!s.host.Make(owner, table[i].control)) {
            LogError(std::string("The window of ") + Purpose(i));
            continue;
        }
        hooks_.Load(ctl, s.host.hwnd());
        // The control hears of its own failures only once it is live, after this first one.
        if (const std::int32_t code = ctl.RegisterFailure()) LogFailure(i, ErrorText(static_cast<DWORD>(code)));
    }
}

void AppHotkeys::Save(SettingsStore& store) const {
    for (const Slot& s : slots_)
        if (s.ctl) s.ctl->WriteSetting(store);
}

void AppHotkeys::Stop() {
    for (Slot& s : slots_) {
        if (!s.ctl) continue;
        s.ctl->SetEnabled(false);
        hooks_.Stop(*s.ctl);  // StopHotkey, and the window's hook with its last control
    }
    for (Slot& s : slots_)
        if (s.host.hwnd()) DestroyWindow(s.host.hwnd());
}

std::array<KHotKeyCtl*, kHotkeyCount> AppHotkeys::Controls() {
    std::array<KHotKeyCtl*, kHotkeyCount> controls{};
    for (int i = 0; i < kHotkeyCount; ++i)
        if (slots_[i].ctl && slots_[i].host.hwnd()) controls[i] = slots_[i].ctl.get();
    return controls;
}

void AppHotkeys::Pressed(int index) const {
    // A failure inside a switch must not be swallowed by the hook: hidden windows come back.
    try {
        if (index == 0) {
            if (handlers_.snapshot) handlers_.snapshot();
        } else if (handlers_.switchTo) {
            handlers_.switchTo(index);
        }
    } catch (...) {
        FatalFromException("a hotkey's handler");
    }
}

void AppHotkeys::LogFailure(int index, const std::string& message) const {
    const KHotKeyCtl& c = *slots_[index].ctl;
    Log("Hotkey " + HotkeyCombination(c.CtrlKey(), c.ShiftKey(), c.AltKey(), c.WinKey(), c.HotKey()) + " (" +
        Purpose(index) + ") is not registered: " + message);
}

}  // namespace orv
