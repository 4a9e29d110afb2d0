#include "settings/control_settings.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(HotkeySettings, DefaultsPerControl) {
    MemoryStore store;
    const char* keys[] = {"F10", "F5", "F6", "F7", "F8", "Num5", "Num6"};
    int i = 0;
    for (const auto& c : HotkeyControls()) {
        HotkeySetting h = ReadHotkeySetting(store, c.prefix, c.defaultKey);
        EXPECT_TRUE(h.ctrl);
        EXPECT_FALSE(h.shift || h.alt || h.win);
        EXPECT_TRUE(h.on);
        EXPECT_EQ(h.key, keys[i++]) << c.prefix;
    }
    EXPECT_STREQ(HotkeyControls()[0].prefix, "HotKeySnap");
    EXPECT_STREQ(HotkeyControls()[6].prefix, "HotKeyDesk6");
}

TEST(HotkeySettings, StoredValuesAndBadOnes) {
    MemoryStore store;
    store.Set("CONFIG", "HotKeyDesk2KeyCtrl", "False");
    store.Set("CONFIG", "HotKeyDesk2KeyShift", "TRUE");
    store.Set("CONFIG", "HotKeyDesk2KeyAlt", "garbage");  // unconvertible: the default stays
    store.Set("CONFIG", "HotKeyDesk2KeyWin", "-1");
    store.Set("CONFIG", "HotKeyDesk2KeyHot", "");         // empty counts as missing
    store.Set("CONFIG", "HotKeyDesk2KeyOn", "0");
    HotkeySetting h = ReadHotkeySetting(store, "HotKeyDesk2", "F6");
    EXPECT_FALSE(h.ctrl);
    EXPECT_TRUE(h.shift);
    EXPECT_FALSE(h.alt);
    EXPECT_TRUE(h.win);
    EXPECT_EQ(h.key, "F6");
    EXPECT_FALSE(h.on);

    WriteHotkeySetting(store, "HotKeySnap", {false, true, true, false, "PrtScr", false});
    EXPECT_EQ(*store.Get("CONFIG", "HotKeySnapKeyCtrl"), "False");
    EXPECT_EQ(*store.Get("CONFIG", "HotKeySnapKeyAlt"), "True");
    EXPECT_EQ(*store.Get("CONFIG", "HotKeySnapKeyHot"), "PrtScr");
    HotkeySetting back = ReadHotkeySetting(store, "HotKeySnap", "F10");
    EXPECT_EQ(back.key, "PrtScr");
    EXPECT_TRUE(back.shift && back.alt && !back.ctrl && !back.on);
}

TEST(VideoSettings, FlagsAreOnOnlyWhenExactlyOne) {
    struct Case { const char* stored; bool on; };
    const Case cases[] = {{"1", true}, {"1.0", true}, {"-1", false}, {"2", false}, {"x", false}, {"0", false}};
    for (const auto& c : cases) {
        MemoryStore store;
        store.Set("CONFIG", "Video3On", c.stored);
        store.Set("CONFIG", "Video3Repeat", c.stored);
        VideoSetting v = ReadVideoSetting(store, 3);
        EXPECT_EQ(v.on, c.on) << c.stored;
        EXPECT_EQ(v.repeat, c.on) << c.stored;
        EXPECT_FALSE(v.sound);
    }
}

TEST(VideoSettings, RoundTripAndTheDefaultsMarker) {
    MemoryStore store;
    EXPECT_TRUE(VideoDefaultsPending(store));
    MarkVideoDefaultsWritten(store);
    EXPECT_FALSE(VideoDefaultsPending(store));
    EXPECT_EQ(*store.Get("CONFIG", "VideoDefault"), "0");

    WriteVideoSetting(store, 5, {true, false, true, "C:\\Vidéos\\sea.avi"});
    EXPECT_EQ(*store.Get("CONFIG", "Video5On"), "1");
    EXPECT_EQ(*store.Get("CONFIG", "Video5Sound"), "0");
    VideoSetting v = ReadVideoSetting(store, 5);
    EXPECT_TRUE(v.on && v.repeat && !v.sound);
    EXPECT_EQ(v.file, "C:\\Vidéos\\sea.avi");
    EXPECT_EQ(ReadVideoSetting(store, 6).file, "");
}

}  // namespace
}  // namespace orv
