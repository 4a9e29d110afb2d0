#include "settings/settings.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct FakeHost : SettingsHost {
    void SetAutoStart(bool on) override { calls.push_back(on ? "autostart on" : "autostart off"); }
    std::string DocumentsFolder() override { calls.push_back("documents"); return "C:\\Docs"; }
    void LoadHotkeys() override { calls.push_back("load hotkeys"); }
    void SaveHotkeys() override { calls.push_back("save hotkeys"); }
    void LoadVideoSettings() override { calls.push_back("load video"); }
    void SaveVideoSettings() override { calls.push_back("save video"); }
    std::vector<std::string> calls;
};

TEST(Settings, FirstStartTakesTheDefaults) {
    MemoryStore store;
    FakeHost host;
    Settings s;
    LoadSettings(store, host, true, s);
    EXPECT_TRUE(s.StartUpOn);
    EXPECT_TRUE(s.SharedIconsOn);
    EXPECT_TRUE(s.SnapZoom && s.SnapSound && s.SnapSaveOn && s.SnapPreview);
    EXPECT_EQ(s.SnapSaveFormat, 1);
    EXPECT_EQ(s.SnapSavePath, "C:\\Docs");
    EXPECT_EQ(s.SnapSavePrefix, "Snap");
    EXPECT_EQ(s.SnapSaveCount, 0);
    EXPECT_EQ(s.SnapSaveLastFile, "");
    EXPECT_EQ(s.SnapJpgQuality, 80);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"autostart on", "load hotkeys", "load video", "documents"}));
    EXPECT_EQ(store.Writes(), 0);  // nothing is written on a plain load
}

TEST(Settings, StartUpValues) {
    struct Case { const char* stored; bool on; bool rewritten; };
    const Case cases[] = {{"1", true, false}, {"-1", true, false}, {"2", false, true}, {"0", false, true},
                          {"x", false, true}, {"1.0", true, false}, {"1abc", true, false}};
    for (const auto& c : cases) {
        MemoryStore store;
        store.Set("CONFIG", "StartUp", c.stored);
        FakeHost host;
        Settings s;
        LoadSettings(store, host, false, s);
        EXPECT_EQ(s.StartUpOn, c.on) << c.stored;
        EXPECT_EQ(*store.Get("CONFIG", "StartUp"), c.rewritten ? "0" : c.stored) << c.stored;
        EXPECT_EQ(host.calls.front(), c.on ? "autostart on" : "autostart off");
    }
}

TEST(Settings, UnconvertibleValuesLeaveTheVariable) {
    MemoryStore store;
    store.Set("CONFIG", "SharedIcons", "maybe");
    store.Set("CONFIG", "SnapJpgQuality", "high");
    store.Set("CONFIG", "SnapSaveCount", "12");
    store.Set("CONFIG", "SnapZoom", "false");
    store.Set("CONFIG", "SnapSavePath", "D:\\Ünïcode");
    FakeHost host;
    Settings s;
    s.SnapJpgQuality = 55;
    LoadSettings(store, host, false, s);
    EXPECT_FALSE(s.SharedIconsOn);
    EXPECT_EQ(s.SnapJpgQuality, 55);
    EXPECT_EQ(s.SnapSaveCount, 12);
    EXPECT_FALSE(s.SnapZoom);
    EXPECT_EQ(s.SnapSavePath, "D:\\Ünïcode");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"autostart on", "load hotkeys", "documents"}));  // no video in flavour 1
}

TEST(Settings, SaveWritesEveryKeyInItsEncodingAndRoundTrips) {
    Settings s;
    s.StartUpOn = false;
    s.SharedIconsOn = true;
    s.SnapSound = true;
    s.SnapSaveFormat = 2;
    s.SnapSavePath = "C:\\Shots";
    s.SnapSavePrefix = "Pic";
    s.SnapSaveCount = 17;
    s.SnapJpgQuality = 93;
    MemoryStore store;
    FakeHost host;
    SaveSettings(store, host, true, s);
    EXPECT_EQ(*store.Get("CONFIG", "StartUp"), "0");
    EXPECT_EQ(*store.Get("CONFIG", "SharedIcons"), "True");
    EXPECT_EQ(*store.Get("CONFIG", "SnapZoom"), "False");
    EXPECT_EQ(*store.Get("CONFIG", "SnapSaveFormat"), "2");
    EXPECT_EQ(*store.Get("CONFIG", "SnapSaveLastFile"), "");
    EXPECT_EQ(store.Size(), 12u);  // "StartUp", "SharedIcons" and ten snapshot keys
    EXPECT_EQ(host.calls, (std::vector<std::string>{"autostart off", "save hotkeys", "save video"}));

    Settings back;
    FakeHost host2;
    LoadSettings(store, host2, true, back);
    EXPECT_EQ(back.SnapSavePath, s.SnapSavePath);
    EXPECT_EQ(back.SnapSavePrefix, s.SnapSavePrefix);
    EXPECT_EQ(back.SnapSaveCount, s.SnapSaveCount);
    EXPECT_EQ(back.SnapJpgQuality, s.SnapJpgQuality);
    EXPECT_EQ(back.SnapSound, true);
    EXPECT_EQ(back.StartUpOn, false);
}

TEST(Settings, BarPlacement) {
    struct Case { const char* x; const char* y; const char* top; int ex, ey; bool etop; };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, 200, 200, true},
        {"213.3333", "10.5", "0", 213, 10, false},
        {"11.5", "-3", "1", 12, -3, true},
        {"abc", "", "2", 0, 0, false},
        {"  40px", "1e2", "1.0", 40, 100, true},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        if (c.x) store.Set("CONFIG", "POSX", c.x);
        if (c.y) store.Set("CONFIG", "POSY", c.y);
        if (c.top) store.Set("CONFIG", "TOPMOST", c.top);
        BarPlacement p = ReadBarPlacement(store);
        EXPECT_EQ(p.x, c.ex) << (c.x ? c.x : "-");
        EXPECT_EQ(p.y, c.ey);
        EXPECT_EQ(p.topmost, c.etop);
    }
}

TEST(Settings, BarPositionIsWrittenInPixelsWithItsFraction) {
    MemoryStore store;
    WriteBarPosition(store, 3200, 3000);
    EXPECT_EQ(*store.Get("CONFIG", "POSX"), "213.3333");
    EXPECT_EQ(*store.Get("CONFIG", "POSY"), "200");
    EXPECT_EQ(ReadBarPlacement(store).x, 213);
    WriteTopmost(store, false);
    EXPECT_EQ(*store.Get("CONFIG", "TOPMOST"), "0");
}

}  // namespace
}  // namespace orv
