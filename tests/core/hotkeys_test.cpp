// The hotkey's atom name, atom and registration bookkeeping, key names, and the control's
// property rules, against a system that journals every call.
#include <gtest/gtest.h>

#include "fakes.h"
#include "hotkeys/hotkey_ctl.h"

namespace orv {
namespace {

using test::Journal;
using test::MemoryStore;

// Atoms from 0xC000 on; registration fails with `error` as the last error code.
struct FakeHotkeys final : HotkeySystem {
    std::uint16_t AddAtom(const std::string& name) override { return Log("add " + name), nextAtom++; }
    std::string AtomName(std::int32_t) override { return atomName; }
    void DeleteAtom(std::int32_t atom) override { Log("delete " + std::to_string(atom)); }
    std::int32_t RegisterHotKey(HotkeyWindow w, std::int32_t id, std::int32_t mods, std::int32_t vk) override {
        Log("register " + std::to_string(w) + " " + std::to_string(id) + " " + std::to_string(mods) + " " + std::to_string(vk));
        return result;
    }
    void UnregisterHotKey(HotkeyWindow w, std::int32_t id) override { Log("unregister " + std::to_string(w) + " " + std::to_string(id)); }
    std::int32_t LastError() override { return error; }
    std::string ErrorText(std::int32_t code) override { return std::string(" Code ") + std::to_string(code) + ".\r\n\0junk"; }
    void Log(const std::string& s) { journal.push_back(s); }
    Journal journal;
    std::uint16_t nextAtom = 0xC000;
    std::string atomName;
    std::int32_t result = 1, error = 0;
};

// Faults: flags named in another order or mixed up, the key code not padded to three digits.
TEST(HotKeyApi, AtomNameListsTheFlagsHighestFirstThenThePaddedKey) {
    const std::tuple<int, int, std::string> cases[] = {
        {2, 122, "CONTROL+122"}, {3, 65, "CONTROL+ALT+065"}, {12, 101, "WIN+SHIFT+101"}, {0, 9, "009"},
        {15, 127, "WIN+SHIFT+CONTROL+ALT+127"}, {4, 1234, "SHIFT+1234"}};
    for (const auto& [mods, vk, name] : cases) {
        KHotKeyApi k;
        k.Modifier = mods, k.VKey = vk;
        EXPECT_EQ(k.UniqueAtomName(), name) << name;
    }
}

// Faults: flags cleared that the name lacks, a case-blind search, the key taken from the
// wrong end or a non-number read as 0.
TEST(HotKeyApi, ReadFromAtomOnlySetsFlagsAndTakesANumericTail) {
    const std::tuple<std::string, int, int> cases[] = {  // from Shift and key 5
        {"CONTROL+122", 6, 122}, {"control+alt+122", 4, 122}, {"WIN+SHIFT+CONTROL+ALT+127", 15, 127},
        {"ALT+1234", 5, 234}, {"9", 4, 9}, {"CONTROL+F1x", 6, 5}, {"", 4, 0}};
    for (const auto& [name, mods, vk] : cases) {
        FakeHotkeys sys;
        sys.atomName = name;
        KHotKeyApi k;
        k.Modifier = kModShift, k.VKey = 5;
        k.ReadFromAtom(sys, -16384);
        EXPECT_EQ(std::pair(k.Modifier, k.VKey), std::pair(mods, vk)) << name;
        EXPECT_EQ(k.hAtom(), 0);
    }
}

// Faults: an atom deleted twice or one never added deleted, the old atom not deleted before a
// new one after a failed registration, hAtom cleared on unregistering, the atom not widened
// with its sign.
TEST(HotKeyApi, EachAddedAtomIsDeletedExactlyOnce) {
    FakeHotkeys sys;
    KHotKeyApi k;
    k.hwnd = 7, k.Modifier = kModControl, k.VKey = 122;
    k.Unregister(sys);
    k.Register(sys);
    k.Unregister(sys);
    k.Unregister(sys);
    EXPECT_EQ(std::tuple(k.hAtom(), k.hKey(), k.AtomHeld()), std::tuple(-16384, 0, false));
    sys.result = 0, sys.error = 1409;
    k.Register(sys);
    k.Unregister(sys);
    sys.result = 5, sys.error = 0;
    k.Register(sys);
    EXPECT_EQ(sys.journal, (Journal{"add CONTROL+122", "register 7 -16384 2 122", "unregister 7 -16384", "delete -16384",
                                    "add CONTROL+122", "register 7 -16383 2 122", "delete -16383", "add CONTROL+122",
                                    "register 7 -16382 2 122"}));
    EXPECT_EQ(k.hKey(), 5);
}

// Faults: failure judged by the result instead of the last error code, a code with the top bit
// set taken as a failure, the system's text passed on with its line end and NUL tail.
TEST(HotKeyApi, RegisterFailsByTheLastErrorCodeAlone) {
    const std::tuple<int, int, std::optional<std::string>> cases[] = {
        {1, 0, std::nullopt}, {0, 0, std::nullopt}, {1, 1409, "Code 1409."}, {0, 5, "Code 5."},
        {0, static_cast<std::int32_t>(0x80070005), std::nullopt}};
    for (const auto& [result, error, text] : cases) {
        FakeHotkeys sys;
        sys.result = result, sys.error = error;
        KHotKeyApi k;
        EXPECT_EQ(k.Register(sys), text) << error;
    }
}

// Faults: the low word read unsigned, the high word shifted arithmetically into 32 bits.
TEST(HotKeyApi, WordsAreSigned16BitHalves) {
    for (auto [v, hi, lo] : {std::tuple{0x007A0002, 122, 2}, {static_cast<std::int32_t>(0xFFFF8001u), -1, -32767},
                             {0x7FFFFFFF, 32767, -1}, {0, 0, 0}})
        EXPECT_EQ((std::pair<int, int>(HiWord(v), LoWord(v))), std::pair(hi, lo)) << v;
}

// Faults: single characters case-folded or taken byte-wise, names compared with case, prefixes
// or blanks accepted, names beyond the table (F17, Num10) matched.
TEST(HotKeyNames, NamesGiveTheirKeyCodes) {
    const std::pair<const char*, int> cases[] = {
        {"space", 32}, {"SPACE", 32}, {"Space", 32}, {"F17", 0}, {"5", 53}, {"Num5", 101}, {"nUM0", 96}, {"f10", 121},
        {"F16", 127}, {"a", 97}, {"F", 70}, {"", 0}, {" F1", 0}, {"F1 ", 0}, {"Num10", 0}, {"F0", 0}, {"ab", 0},
        {"é", 233}, {"€", 8364}, {"\xC3", 0}};
    for (auto [name, vk] : cases) EXPECT_EQ(GetPgmHotKeyFromStr(name), vk) << name;
}

// Faults: an entry missing, out of order or with a code its name does not give back.
TEST(HotKeyNames, TheDropDownListsSixtyThreeNamesThatReadBack) {
    const auto& names = HotKeyComboNames();
    ASSERT_EQ(names.size(), 63u);
    std::string joined;
    for (const auto& [name, vk] : names) {
        joined += name + " ";
        EXPECT_EQ(GetPgmHotKeyFromStr(name), vk) << name;
    }
    EXPECT_EQ(joined, "0 1 2 3 4 5 6 7 8 9 A B C D E F G H I J K L M N O P Q R S T U V W X Y Z Num0 Num1 Num2 Num3 "
                      "Num4 Num5 Num6 Num7 Num8 Num9 Space F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 F13 F14 F15 F16 ");
}

// Faults: settings read in another order or without re-registering, an empty stored key not
// replaced by the default, a disabled hotkey not re-registered on a key change, a press with
// other modifiers or while off firing, the first registration's failure reported, errors
// reported after the stop, the stop leaving the hotkey registered.
TEST(HotKeyCtl, SettingsAndKeyChangesReregisterAndOnlyExactPressesFire) {
    FakeHotkeys sys;
    KHotKeyCtl ctl(sys);
    int pressed = 0;
    std::vector<std::string> errors;
    ctl.onHotkeyPressed = [&] { ++pressed; };
    ctl.onErrorOccured = [&](const std::string& m, const std::string& s) { errors.push_back(m + "|" + s); };
    ctl.Init("HotKeySnap");
    sys.error = 1409;
    ctl.Load(9);
    sys.error = 0;
    MemoryStore store;
    store.values = {{"CONFIG/HotKeySnapKeyShift", "true"}, {"CONFIG/HotKeySnapKeyHot", ""}};
    ctl.ReadSetting(store, "F10");
    EXPECT_EQ(sys.journal, (Journal{"add CONTROL+122", "register 9 -16384 2 122", "unregister 9 -16384", "delete -16384",
                                    "add SHIFT+CONTROL+122",
                                    "register 9 -16383 6 122", "unregister 9 -16383", "delete -16383",
                                    "add SHIFT+CONTROL+121", "register 9 -16382 6 121"}));
    for (auto [vk, mods, on, fires] : {std::tuple{121, 6, true, 1}, {121, 2, true, 0}, {121, 14, true, 0},
                                       {122, 6, true, 0}, {121, 6, false, 0}}) {
        ctl.SetEnabled(on);
        pressed = 0;
        ctl.RaiseKeyPressEvent(vk, mods);
        EXPECT_EQ(pressed, fires) << vk << " " << mods << " " << on;
    }
    sys.journal.clear(), sys.error = 5;
    ctl.SetHotKey("Num5");
    EXPECT_EQ(sys.journal, (Journal{"add SHIFT+CONTROL+101", "register 9 -16381 6 101"}));
    EXPECT_EQ(errors, (std::vector<std::string>{"Code 5.|KHotKeyApi:Register"}));
    sys.journal.clear(), sys.error = 0;
    ctl.SetEnabled(true);
    EXPECT_EQ(ctl.StopHotkey(), 9);
    ctl.SetWinKey(true);
    EXPECT_EQ(sys.journal, (Journal{"delete -16381", "add SHIFT+CONTROL+101", "register 9 -16380 6 101",
                                    "unregister 9 -16380", "delete -16380"}));
}

// Faults: a value lost between writing and reading back (the off state above all).
TEST(HotKeyCtl, WrittenSettingsReadBackIntoAFreshControl) {
    FakeHotkeys sys;
    KHotKeyCtl a(sys), b(sys);
    a.Init("HotKeyDesk3"), b.Init("HotKeyDesk3");
    a.SetCtrlKey(false), a.SetAltKey(true), a.SetWinKey(true), a.SetHotKey("num6"), a.SetEnabled(false);
    MemoryStore store;
    a.WriteSetting(store);
    b.ReadSetting(store, "F7");
    EXPECT_EQ(std::tuple(b.CtrlKey(), b.ShiftKey(), b.AltKey(), b.WinKey(), b.HotKey(), b.VKey(), b.Enabled()),
              std::tuple(false, false, true, true, std::string("num6"), 102, false));
}

}  // namespace
}  // namespace orv
