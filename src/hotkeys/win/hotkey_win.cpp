#include "hotkeys/win/hotkey_win.h"

#include <commctrl.h>

#include <algorithm>

#include "base/win/utf.h"

namespace orv {

namespace {
constexpr UINT_PTR kSubclassId = 0x4B48;  // "KH"
HWND ToHwnd(HotkeyWindow window) { return reinterpret_cast<HWND>(window); }
int IdOf(std::int32_t atom) { return atom & 0xFFFF; }
}  // namespace

std::uint16_t Win32HotkeySystem::AddAtom(const std::string& name) { return GlobalAddAtomW(Widen(name).c_str()); }

std::string Win32HotkeySystem::AtomName(std::int32_t atom) {
    wchar_t name[256] = {};
    const UINT n = GlobalGetAtomNameW(static_cast<ATOM>(atom), name, 256);
    return Narrow(std::wstring_view(name, n));
}

void Win32HotkeySystem::DeleteAtom(std::int32_t atom) { GlobalDeleteAtom(static_cast<ATOM>(atom)); }

std::int32_t Win32HotkeySystem::RegisterHotKey(HotkeyWindow hwnd, std::int32_t id, std::int32_t modifiers,
                                               std::int32_t vk) {
    SetLastError(0);  // success leaves the last error as it was
    return ::RegisterHotKey(ToHwnd(hwnd), IdOf(id), static_cast<UINT>(modifiers), static_cast<UINT>(vk));
}

void Win32HotkeySystem::UnregisterHotKey(HotkeyWindow hwnd, std::int32_t id) { ::UnregisterHotKey(ToHwnd(hwnd), IdOf(id)); }

std::string Win32HotkeySystem::ErrorText(std::int32_t code) {
    wchar_t text[500] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                   static_cast<DWORD>(code), 0, text, 500, nullptr);
    return Narrow(std::wstring_view(text, n));
}

HotkeyWindows::~HotkeyWindows() {
    while (!hooked_.empty()) Unhook(hooked_.back());
}

void HotkeyWindows::Load(KHotKeyCtl& ctl, HWND window) {
    if (!IsWindow(window) || std::ranges::any_of(loaded_, [&](const auto& l) { return l.first == &ctl; })) return;
    ctl.Load(ToHotkeyWindow(window));
    loaded_.emplace_back(&ctl, window);
    if (std::ranges::find(hooked_, window) == hooked_.end() &&
        SetWindowSubclass(window, &HotkeyWindows::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        hooked_.push_back(window);
}

void HotkeyWindows::Stop(KHotKeyCtl& ctl) {
    ctl.StopHotkey();
    const auto it = std::ranges::find_if(loaded_, [&](const auto& l) { return l.first == &ctl; });
    if (it == loaded_.end()) return;
    const HWND window = it->second;
    loaded_.erase(it);
    if (std::ranges::none_of(loaded_, [&](const auto& l) { return l.second == window; })) Unhook(window);
}

void HotkeyWindows::Unhook(HWND window) {
    const auto it = std::ranges::find(hooked_, window);
    if (it == hooked_.end()) return;
    hooked_.erase(it);
    RemoveWindowSubclass(window, &HotkeyWindows::Proc, kSubclassId);
}

LRESULT CALLBACK HotkeyWindows::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) noexcept {
    auto& me = *reinterpret_cast<HotkeyWindows*>(self);
    try {
        if (msg == WM_HOTKEY) me.controls_.DispatchHotkey(ToHotkeyWindow(hwnd), static_cast<std::int32_t>(lp));
    } catch (...) {  // a handler's failure does not stop the message
    }
    if (msg == WM_NCDESTROY) me.Unhook(hwnd);  // the subclass must not outlive the window
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace orv
