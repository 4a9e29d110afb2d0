// One system-wide hotkey: modifier flags, virtual-key code and target window, the global atom
// that identifies it and its registration. The atom table and the hotkey calls sit behind
// HotkeySystem so the decisions run without the platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orv {

using HotkeyWindow = std::intptr_t;

// Modifier flags, the system's values.
inline constexpr std::int32_t kModAlt = 1, kModControl = 2, kModShift = 4, kModWin = 8;
inline constexpr const char* kRegisterErrorSource = "KHotKeyApi:Register";
// The system's code for a combination that another program (or another window) holds.
inline constexpr std::int32_t kHotkeyAlreadyRegistered = 1409;

class HotkeySystem {
public:
    virtual ~HotkeySystem() = default;
    virtual std::uint16_t AddAtom(const std::string& name) = 0;  // 0 when it fails
    virtual std::string AtomName(std::int32_t atom) = 0;          // at most 255 characters
    virtual void DeleteAtom(std::int32_t atom) = 0;
    virtual std::int32_t RegisterHotKey(HotkeyWindow hwnd, std::int32_t id, std::int32_t modifiers, std::int32_t vk) = 0;
    virtual void UnregisterHotKey(HotkeyWindow hwnd, std::int32_t id) = 0;
    // The thread's last error code, read right after a call, and the system's text for a code.
    virtual std::int32_t LastError() = 0;
    virtual std::string ErrorText(std::int32_t code) = 0;
};

class KHotKeyApi {
public:
    KHotKeyApi() = default;
    KHotKeyApi(std::int32_t modifier, std::int32_t vkey, HotkeyWindow window = 0)
        : Modifier(modifier), VKey(vkey), hwnd(window) {}

    bool AltKey() const { return (Modifier & kModAlt) != 0; }
    bool ControlKey() const { return (Modifier & kModControl) != 0; }
    bool ShiftKey() const { return (Modifier & kModShift) != 0; }
    bool WinKey() const { return (Modifier & kModWin) != 0; }
    void SetAltKey(bool on) { SetFlag(kModAlt, on); }
    void SetControlKey(bool on) { SetFlag(kModControl, on); }
    void SetShiftKey(bool on) { SetFlag(kModShift, on); }
    void SetWinKey(bool on) { SetFlag(kModWin, on); }

    std::int32_t hAtom() const { return atom_; }
    std::int32_t hKey() const { return key_; }
    bool AtomHeld() const { return atomHeld_; }
    // The error code of the last registration, 0 when it succeeded or the hotkey is unregistered.
    std::int32_t Failure() const { return failure_; }

    bool MatchedKey(const KHotKeyApi& test) const {
        return test.AltKey() == AltKey() && test.ControlKey() == ControlKey() && test.ShiftKey() == ShiftKey() &&
               test.VKey == VKey && test.WinKey() == WinKey();
    }
    // "hwnd:" and the window in decimal: the key of the window's records.
    std::string UniqueKey() const { return "hwnd:" + std::to_string(hwnd); }
    // "WIN+", "SHIFT+", "CONTROL+", "ALT+" as held, then the key code in at least three digits.
    std::string UniqueAtomName() const;
    // Sets the flags named in the atom's name (never clears one) and takes the key code from
    // its last three characters when they read as a number.
    void ReadFromAtom(HotkeySystem& sys, std::int32_t atom);
    // Adds a fresh atom (deleting the one still held) and registers on it. Failure is what the
    // last error code says, not the result: then the system's text for it.
    std::optional<std::string> Register(HotkeySystem& sys);
    // Only while registered: unregisters and deletes the atom, which keeps its value.
    void Unregister(HotkeySystem& sys);

    std::int32_t Modifier = 0;
    std::int32_t VKey = 0;
    HotkeyWindow hwnd = 0;

private:
    void SetFlag(std::int32_t flag, bool on) { Modifier = on ? (Modifier | flag) : (Modifier & ~flag); }
    std::int32_t atom_ = 0;
    std::int32_t key_ = 0;
    bool atomHeld_ = false;
    std::int32_t failure_ = 0;
};

// The upper 16 bits, and the lower 16 bits, each read as a signed 16-bit value.
std::int16_t HiWord(std::int32_t value);
std::int16_t LoWord(std::int32_t value);

}  // namespace orv
