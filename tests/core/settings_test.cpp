#include "settings/settings.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "settings/control_settings.h"

namespace orv {
namespace {

using namespace test;
using namespace std::string_literals;

auto Fields(const Settings& s) {
    return std::tuple(s.StartUpOn, s.SharedIconsOn, s.TrayTipsOn, s.SnapZoom, s.SnapSound, s.SnapSaveOn, s.SnapSaveFormat,
                      s.SnapSavePath, s.SnapSavePrefix, s.SnapSaveCount, s.SnapSaveLastFile, s.SnapPreview,
                      s.SnapJpgQuality);
}

TEST(Settings, FirstStartTakesTheDefaultsAndUnconvertibleValuesLeaveTheVariable) {
    MemoryStore store;
    FakeSystem host;
    Settings s;
    LoadSettings(store, host, true, s);
    EXPECT_EQ(Fields(s), std::tuple(true, true, false, true, true, true, 1, "C:\\Docs"s, "Snap"s, 0, ""s, true, 80));
    EXPECT_EQ(host.journal, (Journal{"autostart on", "load hotkeys", "load video", "documents"}));
    EXPECT_EQ(store.writes, 0);

    store.values = {{"CONFIG/SharedIcons", "maybe"}, {"CONFIG/SnapZoom", "false"}, {"CONFIG/SnapSaveFormat", "4294967296"},
                    {"CONFIG/SnapSavePath", "D:\\Ünïcode"}, {"CONFIG/SnapSaveCount", "12"}, {"CONFIG/TrayTips", "true"},
                    {"CONFIG/SnapJpgQuality", "high"}, {"CONFIG/SnapPreview", "maybe"}};
    s.SharedIconsOn = false, s.SnapSaveFormat = 3, s.SnapJpgQuality = 55;
    host.journal.clear();
    LoadSettings(store, host, false, s);
    EXPECT_EQ(Fields(s), std::tuple(true, false, true, false, true, true, 3, "D:\\Ünïcode"s, "Snap"s, 12, ""s, true, 55));
    EXPECT_EQ(host.journal, (Journal{"autostart on", "load hotkeys", "documents"}));  // no video in flavour 1
}

TEST(Settings, StartUpIsOnForALeadingOneOrMinusOneAndOtherwiseRewritten) {
    for (auto [stored, on] : {std::pair{"1", true}, {"-1", true}, {"1.0", true}, {"1abc", true}, {" -1", true},
                              {"2", false}, {"0", false}, {"x", false}, {"", false}, {"-1.5", false}}) {
        MemoryStore store;
        store.values["CONFIG/StartUp"] = stored;
        FakeSystem host;
        Settings s;
        LoadSettings(store, host, false, s);
        EXPECT_EQ(std::tuple(s.StartUpOn, store.values["CONFIG/StartUp"], host.journal.front()),
                  std::tuple(on, on ? stored : "0", on ? "autostart on" : "autostart off")) << stored;
    }
}

TEST(Settings, SaveWritesEveryKeyInItsEncodingAndReadsBack) {
    Settings s;
    s.SharedIconsOn = s.SnapSound = s.TrayTipsOn = true, s.SnapSaveFormat = 2, s.SnapSavePath = "C:\\Shots", s.SnapSaveCount = -17;
    MemoryStore store;
    FakeSystem host;
    SaveSettings(store, host, true, s);
    EXPECT_EQ(store.values, (std::map<std::string, std::string>{
        {"CONFIG/StartUp", "0"}, {"CONFIG/SharedIcons", "True"}, {"CONFIG/TrayTips", "True"}, {"CONFIG/SnapZoom", "False"},
        {"CONFIG/SnapSound", "True"}, {"CONFIG/SnapSaveOn", "False"}, {"CONFIG/SnapSaveFormat", "2"},
        {"CONFIG/SnapSavePath", "C:\\Shots"}, {"CONFIG/SnapSavePrefix", ""}, {"CONFIG/SnapSaveCount", "-17"},
        {"CONFIG/SnapSaveLastFile", ""}, {"CONFIG/SnapPreview", "False"}, {"CONFIG/SnapJpgQuality", "0"}}));
    EXPECT_EQ(host.journal, (Journal{"autostart off", "save hotkeys", "save video"}));
    Settings back;
    LoadSettings(store, host, true, back);
    EXPECT_EQ(Fields(back), Fields(s));
}

TEST(Settings, BarPlacement) {
    struct Case { const char* x; const char* y; const char* top; int ex, ey; bool etop; };
    for (const Case& c : {Case{nullptr, nullptr, nullptr, 200, 200, true}, {"213.3333", "10.5", "0", 213, 10, false},
                          {"11.5", "-3", "1", 12, -3, true}, {"abc", "", "2", 0, 0, false},
                          {"  40px", "1e2", "1.0", 40, 100, true}, {"-2.5", "1e12", "-1", -2, 2147483647, false}}) {
        MemoryStore store;
        if (c.x) store.values = {{"CONFIG/POSX", c.x}, {"CONFIG/POSY", c.y}, {"CONFIG/TOPMOST", c.top}};
        BarPlacement p = ReadBarPlacement(store);
        EXPECT_EQ(std::tuple(p.x, p.y, p.topmost), std::tuple(c.ex, c.ey, c.etop)) << (c.x ? c.x : "-");
    }
    MemoryStore store;
    WriteBarPosition(store, 3200, 3000);
    WriteTopmost(store, false);  // pixels with their fraction
    EXPECT_EQ(store.values, (std::map<std::string, std::string>{
                                {"CONFIG/POSX", "213.3333"}, {"CONFIG/POSY", "200"}, {"CONFIG/TOPMOST", "0"}}));
}

// Faults: a huge, negative, non-finite or non-numeric text in any key crashes, overflows
// (UBSan: the bar's far edge past the 32-bit range), converts to what it does not say, or
// leaves the bar where no screen shows it.
TEST(Settings, GarbageInEveryKeyKeepsTheConversionsAndTheBarOnTheScreen) {
    constexpr int kMax = 2147483647, kMin = -kMax - 1;
    struct Case { const char* text; int pos; std::int32_t asInt; };  // asInt 0: refused, the variable stays
    for (const Case& c : {Case{"1e12", kMax, 0}, {"-1e12", kMin, 0}, {"1e400", 0, 0}, {"NaN", 0, 0}, {"inf", 0, 0},
                          {"-0", 0, 0}, {"99999999999999999999", kMax, 0}, {"", 0, 0}, {"-2147483648.5", kMin, kMin},
                          {" 4.5e1 ", 45, 45}, {"\x01\xff\u2603", 0, 0}}) {
        MemoryStore store;
        store.everywhere = c.text;
        FakeSystem host;
        Settings s;
        LoadSettings(store, host, true, s);
        DesktopLook(host, store, "D:").RestoreDesktopLook(3);
        const BarPlacement p = ReadBarPlacement(store), on = MoveWithin(p, 250, 30, {-1024, 0, 0, 768});
        const ScreenRect r = BarRectAt(p, 250, 30);
        EXPECT_EQ(std::tuple(s.SnapSaveFormat, host.colour, p.x, r.right - r.left, r.bottom - r.top),
                  std::tuple(c.asInt, static_cast<std::uint32_t>(c.asInt), c.pos, 250, 30)) << c.text;
        EXPECT_TRUE(on.x >= -1024 && on.x <= -250 && on.y >= 0 && on.y <= 738) << c.text;
    }
}

TEST(ControlSettings, HotkeysAndVideosReadTheirEncodingsAndWriteThemBack) {
    MemoryStore store;
    auto keys = [](const HotkeySetting& h) { return std::tuple(h.ctrl, h.shift, h.alt, h.win, h.key, h.on); };
    std::string defaults;  // the documented default key of each control, in control order
    for (const auto& c : HotkeyControlTable()) defaults += std::string(c.control) + ":" + c.prefix + "=" + c.defaultKey + " ";
    EXPECT_EQ(defaults, "KHK0:HotKeySnap=F10 KHKD0:HotKeyDesk1=F5 KHKD1:HotKeyDesk2=F6 KHKD2:HotKeyDesk3=F7 "
                        "KHKD3:HotKeyDesk4=F8 KHKD4:HotKeyDesk5=Num5 KHKD5:HotKeyDesk6=Num6 ");
    EXPECT_EQ(keys(ReadHotkeySetting(store, "HotKeyDesk5", "Num5")), std::tuple(true, false, false, false, "Num5"s, true));
    store.values = {{"CONFIG/HotKeyDesk2KeyCtrl", "False"}, {"CONFIG/HotKeyDesk2KeyShift", "TRUE"},
                    {"CONFIG/HotKeyDesk2KeyAlt", "garbage"}, {"CONFIG/HotKeyDesk2KeyWin", "-1"},
                    {"CONFIG/HotKeyDesk2KeyHot", ""},       {"CONFIG/HotKeyDesk2KeyOn", "0"}};
    // Garbage keeps the default, an empty key counts as missing.
    EXPECT_EQ(keys(ReadHotkeySetting(store, "HotKeyDesk2", "F6")), std::tuple(false, true, false, true, "F6"s, false));
    WriteHotkeySetting(store, "HotKeySnap", {false, true, true, false, "PrtScr", false});
    EXPECT_EQ(keys(ReadHotkeySetting(store, "HotKeySnap", "F10")), std::tuple(false, true, true, false, "PrtScr"s, false));
    EXPECT_EQ(store.values["CONFIG/HotKeySnapKeyAlt"], "True");

    // Video flags are on only when their leading number is exactly 1.
    for (auto [stored, on] : {std::pair{"1", true}, {"1.0", true}, {" 1x", true}, {"-1", false}, {"2", false}, {"x", false}}) {
        store.values["CONFIG/Video3On"] = store.values["CONFIG/Video3Repeat"] = stored;
        VideoSetting v = ReadVideoSetting(store, 3);
        EXPECT_EQ(std::tuple(v.on, v.repeat, v.sound), std::tuple(on, on, false)) << stored;
    }
    EXPECT_TRUE(VideoDefaultsPending(store));
    MarkVideoDefaultsWritten(store);
    EXPECT_FALSE(VideoDefaultsPending(store));
    WriteVideoSetting(store, 5, {true, false, true, "C:\\Vidéos\\sea.avi"});
    VideoSetting v = ReadVideoSetting(store, 5);
    EXPECT_EQ(std::tuple(v.on, v.repeat, v.sound, v.file, store.values["CONFIG/Video5On"]),
              std::tuple(true, true, false, "C:\\Vidéos\\sea.avi"s, "1"s));
}

}  // namespace
}  // namespace orv
