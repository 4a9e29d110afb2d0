// Hotkey atoms, registration, key names and the control's rules, on a system that journals calls.
#include <gtest/gtest.h>

#include "fakes.h"
#include "hotkeys/hotkey_ctl.h"

namespace orv {
namespace {

using test::FakeHotkeys, test::Journal, test::MemoryStore, std::to_string;


// Faults: flags named in another order or mixed up, the key not padded to three digits; on
// reading back: flags cleared that the name lacks, a case-blind search, the key taken from the
// wrong end or a non-number read as 0.
TEST(HotKeyApi, AtomNamesListFlagsHighestFirstAndReadBackOnlySettingFlags) {
    for (const auto& [mods, vk, name] : {std::tuple{2, 122, "CONTROL+122"}, {3, 65, "CONTROL+ALT+065"}, {12, 101, "WIN+SHIFT+101"},
                                         {0, 9, "009"}, {15, 127, "WIN+SHIFT+CONTROL+ALT+127"}, {4, 1234, "SHIFT+1234"}}) {
        KHotKeyApi k{mods, vk};
        EXPECT_EQ(k.UniqueAtomName(), name);
    }
    for (const auto& [name, mods, vk] : {std::tuple{"CONTROL+122", 6, 122}, {"control+alt+122", 4, 122}, {"ALT+1234", 5, 234},
                                         {"WIN+SHIFT+CONTROL+ALT+127", 15, 127}, {"9", 4, 9}, {"CONTROL+F1x", 6, 5}, {"", 4, 0}}) {
        FakeHotkeys sys;
        sys.atomName = name;
        KHotKeyApi k{kModShift, 5};
        k.ReadFromAtom(sys, -16384);
        EXPECT_EQ(std::tuple(k.Modifier, k.VKey, k.hAtom()), std::tuple(mods, vk, 0)) << name;
    }
}

// Faults: an atom deleted twice or one never added deleted, a held atom not deleted before the
// next after a failed registration, hAtom cleared on unregistering, the atom not sign-widened.
TEST(HotKeyApi, EachAddedAtomIsDeletedExactlyOnce) {
    FakeHotkeys sys;
    KHotKeyApi k{kModControl, 122, 7};
    k.Unregister(sys), k.Register(sys), k.Unregister(sys), k.Unregister(sys);
    EXPECT_EQ(std::tuple(k.hAtom(), k.hKey(), k.AtomHeld()), std::tuple(-16384, 0, false));
    sys.result = 0, sys.error = 1409;
    k.Register(sys), k.Unregister(sys);
    sys.result = 5, sys.error = 0;
    k.Register(sys);
    EXPECT_EQ(sys.journal, (Journal{"add CONTROL+122", "register 7 -16384 2 122", "unregister 7 -16384", "delete -16384",
                                    "add CONTROL+122", "register 7 -16383 2 122", "delete -16383", "add CONTROL+122",
                                    "register 7 -16382 2 122"}));
}

// Faults: failure judged by the result and not the last error code, a code with the top bit set
// taken as a failure, the text passed on with its line end and NUL tail; words read unsigned.
TEST(HotKeyApi, RegisterFailsByTheLastErrorCodeAloneAndWordsAreSigned) {
    using Text = std::optional<std::string>;
    for (const auto& [result, error, text] : {std::tuple{1, 0, Text()}, {0, 0, Text()}, {1, 1409, Text("Code 1409.")},
                                              {0, 5, Text("Code 5.")}, {0, static_cast<int>(0x80070005), Text()}}) {
        FakeHotkeys sys;
        sys.result = result, sys.error = error;
        EXPECT_EQ(KHotKeyApi().Register(sys), text) << error;
    }
    for (auto [v, hi, lo] : {std::tuple{0x007A0002, 122, 2}, {static_cast<int>(0xFFFF8001u), -1, -32767}, {0x7FFFFFFF, 32767, -1}})
        EXPECT_EQ((std::pair<int, int>(HiWord(v), LoWord(v))), std::pair(hi, lo)) << v;
}

// Faults: single characters case-folded or taken byte-wise, names compared with case, blanks
// accepted, names beyond the table matched; a drop-down entry missing, misplaced or with a code
// its name does not give back.
TEST(HotKeyNames, NamesGiveTheirKeyCodesAndTheDropDownListsSixtyThree) {
    for (auto [name, vk] : {std::pair{"space", 32}, {"SPACE", 32}, {"F17", 0}, {"5", 53}, {"Num5", 101}, {"nUM0", 96},
                            {"f10", 121}, {"F16", 127}, {"a", 97}, {"F", 70}, {"", 0}, {" F1", 0}, {"F1 ", 0}, {"Num10", 0},
                            {"F0", 0}, {"ab", 0}, {"é", 233}, {"€", 8364}, {"\xC3", 0}})
        EXPECT_EQ(GetPgmHotKeyFromStr(name), vk) << name;
    std::string joined;
    for (const auto& [name, vk] : HotKeyComboNames()) {
        joined += name + " ";
        EXPECT_EQ(GetPgmHotKeyFromStr(name), vk) << name;
    }
    EXPECT_EQ(joined, "0 1 2 3 4 5 6 7 8 9 A B C D E F G H I J K L M N O P Q R S T U V W X Y Z Num0 Num1 Num2 Num3 "
                      "Num4 Num5 Num6 Num7 Num8 Num9 Space F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 F13 F14 F15 F16 ");
}

// Faults: settings applied out of order or not re-registering, an empty stored key kept, a key
// change on a disabled hotkey not re-registered, presses with other modifiers, on another window
// or while off firing, key and modifiers swapped, the first registration's failure reported, a
// value (the off state above all) lost on writing, the stop leaving the hotkey registered or live.
TEST(HotKeyCtl, SettingsAndKeyChangesReregisterAndOnlyExactPressesFire) {
    FakeHotkeys sys;
    HotkeyControls live;
    KHotKeyCtl ctl(sys, live), other(sys, live);
    int pressed = 0;
    std::vector<std::string> errors;  // message|source
    ctl.onHotkeyPressed = [&] { ++pressed; };
    ctl.onErrorOccured = [&](const std::string& m, const std::string& s) { errors.push_back(m + "|" + s); };
    ctl.Init("HotKeySnap");
    sys.error = 1409, ctl.Load(9), other.Load(8);
    EXPECT_EQ(ctl.RegisterFailure(), 1409);  // the settings dialog marks the row as taken
    sys.error = 0, sys.journal.clear();
    MemoryStore store;
    store.values = {{"CONFIG/HotKeySnapKeyShift", "true"}, {"CONFIG/HotKeySnapKeyHot", ""}};
    ctl.ReadSetting(store, "F10");
    EXPECT_EQ(sys.journal, (Journal{"unregister 9 -16384", "delete -16384", "add SHIFT+CONTROL+122", "register 9 -16382 6 122",
                                    "unregister 9 -16382", "delete -16382", "add SHIFT+CONTROL+121", "register 9 -16381 6 121"}));
    for (auto [hwnd, vk, mods, on, fires] : {std::tuple{9, 121, 6, true, 1}, {9, 121, 2, true, 0}, {9, 121, 14, true, 0},
                                             {9, 122, 6, true, 0}, {8, 121, 6, true, 0}, {9, 121, 6, false, 0}}) {
        ctl.SetEnabled(on), pressed = 0;
        live.DispatchHotkey(hwnd, vk << 16 | mods);
        EXPECT_EQ(pressed, fires) << vk << " " << mods << " " << on;
    }
    sys.journal.clear(), sys.error = 5, ctl.SetHotKey("Num5");
    EXPECT_EQ(sys.journal, (Journal{"add SHIFT+CONTROL+101", "register 9 -16380 6 101"}));
    EXPECT_EQ(errors, (std::vector<std::string>{"Code 5.|KHotKeyApi:Register"}));
    MemoryStore written;
    KHotKeyCtl fresh(sys, live);
    fresh.Init("HotKeySnap"), ctl.WriteSetting(written), fresh.ReadSetting(written, "F7");
    EXPECT_EQ(std::tuple(fresh.CtrlKey(), fresh.ShiftKey(), fresh.AltKey(), fresh.WinKey(), fresh.HotKey(), fresh.VKey(), fresh.Enabled()),
              std::tuple(true, true, false, false, std::string("Num5"), 101, false));
    sys.journal.clear(), sys.error = 0, ctl.SetEnabled(true);
    EXPECT_EQ(ctl.RegisterFailure(), 0);  // a stale failure would mark a free hotkey as taken
    EXPECT_EQ(ctl.StopHotkey(), 9);
    EXPECT_EQ(std::pair(live.Find("hwnd:9"), live.Find("hwnd:8")), std::pair(static_cast<KHotKeyCtl*>(nullptr), &other));
    ctl.SetWinKey(true);
    EXPECT_EQ(sys.journal, (Journal{"delete -16380", "add SHIFT+CONTROL+101", "register 9 -16379 6 101",
                                    "unregister 9 -16379", "delete -16379"}));
}

}  // namespace
}  // namespace orv
