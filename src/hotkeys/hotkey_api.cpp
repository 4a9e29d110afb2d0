#include "hotkeys/hotkey_api.h"

#include <cstdio>

#include "base/text.h"

namespace orv {

namespace {
// The text up to its first NUL, without the blanks and line ends around it.
std::string Trim(std::string text) {
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
}  // namespace

std::string KHotKeyApi::UniqueAtomName() const {
    std::string name;
    if (WinKey()) name += "WIN+";
    if (ShiftKey()) name += "SHIFT+";
    if (ControlKey()) name += "CONTROL+";
    if (AltKey()) name += "ALT+";
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", static_cast<int>(VKey));
    return name + digits;
}

void KHotKeyApi::ReadFromAtom(HotkeySystem& sys, std::int32_t atom) {
    std::string name = sys.AtomName(atom);
    if (name.size() > 255) name.resize(255);
    if (name.find("WIN+") != std::string::npos) SetWinKey(true);
    if (name.find("SHIFT+") != std::string::npos) SetShiftKey(true);
    if (name.find("CONTROL+") != std::string::npos) SetControlKey(true);
    if (name.find("ALT+") != std::string::npos) SetAltKey(true);
    const std::string tail = "0" + name.substr(name.size() < 3 ? 0 : name.size() - 3);
    if (IsNumber(tail))
        if (auto vk = ParseInt32(tail)) VKey = *vk;
}

std::optional<std::string> KHotKeyApi::Register(HotkeySystem& sys) {
    if (atom_ != 0 && atomHeld_) sys.DeleteAtom(atom_);
    atom_ = static_cast<std::int16_t>(sys.AddAtom(UniqueAtomName()));
    atomHeld_ = true;
    key_ = sys.RegisterHotKey(hwnd, atom_, Modifier, VKey);
    const std::int32_t code = sys.LastError();
    failure_ = code > 0 ? code : 0;
    if (code > 0) return Trim(sys.ErrorText(code));
    return std::nullopt;
}

void KHotKeyApi::Unregister(HotkeySystem& sys) {
    failure_ = 0;
    if (key_ == 0) return;
    sys.UnregisterHotKey(hwnd, atom_);
    if (atomHeld_ && atom_ != 0) sys.DeleteAtom(atom_);
    atomHeld_ = false;
    key_ = 0;
}

std::int16_t HiWord(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(value) >> 16);
}
std::int16_t LoWord(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
}

}  // namespace orv
