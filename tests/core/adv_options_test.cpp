// The settings dialog's rules: the quality and counter texts, what it shows and stores, the rows.
#include <gtest/gtest.h>

#include "fakes.h"
#include "hotkeys/hotkey_ctl.h"
#include "settings/adv_options.h"

namespace orv {
namespace {

// Faults: a bound taken inclusively or the wrong way round, the spinner left outside 10..100,
// the fraction cut instead of rounded halves to even, a text without a number not read as 0.
TEST(AdvOptions, QualityStaysWithinTenToHundredAndCountersRoundHalvesToEven) {
    for (const auto& [text, replaced, spinner] :
         {std::tuple{"5", "10", 10}, {"150", "100", 100}, {"", "10", 10}, {"x9", "10", 10}, {"9.5", "10", 10}, {"-20", "10", 10},
          {"100.4", "100", 100}, {"10", "", 10}, {"100", "", 100}, {" 54.5q", "", 54}, {"55.5", "", 56}}) {
        const QualityCheck c = CheckQuality(text);
        EXPECT_EQ(std::pair(c.replacement.value_or(""), c.spinner), std::pair(std::string(replaced), spinner)) << text;
    }
    for (const auto& [text, value] : {std::pair{"2.5", 2}, {"3.5", 4}, {"12abc", 12}, {"abc", 0}, {"", 0}, {" -1.5", -2}, {"7e1", 70}})
        EXPECT_EQ(NumberBoxValue(text), value) << text;
}

// Faults: a case-sensitive search, the last match taken, a miss selecting the first entry.
TEST(AdvOptions, KeyListSelectsTheFirstNameInAnyCaseOrNone) {
    std::vector<std::string> names;
    for (const HotKeyName& n : HotKeyComboNames()) names.push_back(n.name);
    for (const auto& [key, index] : {std::pair{"f5", 51}, {"F16", 62}, {"SPACE", 46}, {"num5", 41}, {"0", 0}, {"a", 10}, {"F17", -1}, {"", -1}})
        EXPECT_EQ(KeyListIndex(names, key), index) << key;
    EXPECT_EQ(KeyListIndex({"x", "X"}, "X"), 0);
}

// Faults: a format of 2 shown as BMP or stored as 2, a quality below 10 stored as it was,
// two check boxes' values crossed, "StartUp" not written at once or as True, the autostart
// entry not following, Tray Tips not carried.
TEST(AdvOptions, ApplyStoresWhatLoadShowedWithStartUpWrittenAtOnce) {
    for (const bool on : {true, false}) {
        Settings s{on, !on, on, !on, on, !on, 2, "C:\\snaps", "Pic", 41, "last", on, 5};
        AdvOptionsValues v = LoadAdvOptions(s);
        EXPECT_TRUE(v.jpg);
        v.quality = CheckQuality(v.quality).replacement.value_or(v.quality);
        test::MemoryStore store;
        std::vector<bool> autoStart;
        Settings out;
        ApplyAdvOptions(v, out, store, [&](bool a) { autoStart.push_back(a); });
        s.SnapSaveFormat = 1, s.SnapJpgQuality = 10, s.SnapSaveLastFile.clear();
        EXPECT_EQ(std::tie(out.StartUpOn, out.SharedIconsOn, out.TrayTipsOn, out.SnapZoom, out.SnapSound, out.SnapSaveOn,
                           out.SnapSaveFormat, out.SnapSavePath, out.SnapSavePrefix, out.SnapSaveCount, out.SnapPreview, out.SnapJpgQuality),
                  std::tie(s.StartUpOn, s.SharedIconsOn, s.TrayTipsOn, s.SnapZoom, s.SnapSound, s.SnapSaveOn, s.SnapSaveFormat,
                           s.SnapSavePath, s.SnapSavePrefix, s.SnapSaveCount, s.SnapPreview, s.SnapJpgQuality));
        EXPECT_EQ(store.values, (std::map<std::string, std::string>{{"CONFIG/StartUp", on ? "1" : "0"}}));
        EXPECT_EQ(autoStart, std::vector<bool>{on});
    }
}


// Faults: the row written in another order (the key before the on box re-registers twice more),
// a modifier read from or written to its neighbour's box.
TEST(AdvOptions, ARowCopiesEveryFieldAndSavesOnFirstThenModifiersThenKey) {
    test::FakeHotkeys sys;
    HotkeyControls live;
    KHotKeyCtl ctl(sys, live), back(sys, live);
    ctl.SetHotKey("F5"), ctl.SetAltKey(true), ctl.Load(7);
    const HotkeyRowValues row = HotkeyRowFrom(ctl);
    EXPECT_EQ(std::tie(row.on, row.ctrl, row.shift, row.alt, row.win, row.key), std::make_tuple(true, true, false, true, false, "F5"));
    sys.journal.clear();
    SaveHotkeyRow({false, false, true, false, true, "f6"}, ctl);
    std::erase_if(sys.journal, [](const std::string& c) { return c.starts_with("add") || c.starts_with("delete"); });
    for (std::string& c : sys.journal) c = c.starts_with("un") ? "off" : c.substr(c.find(' ', c.find(' ', 9) + 1) + 1);
    EXPECT_EQ(sys.journal, (test::Journal{"off", "1 116", "off", "5 116", "off", "4 116", "off", "12 116", "off", "12 117"}));
    SaveHotkeyRow(HotkeyRowFrom(ctl), back);
    EXPECT_EQ(std::tuple(back.Enabled(), back.CtrlKey(), back.ShiftKey(), back.AltKey(), back.WinKey(), back.HotKey()),
              std::make_tuple(false, false, true, false, true, "f6"));
}

}  // namespace
}  // namespace orv
