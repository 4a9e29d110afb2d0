#include "video/video_options.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace orv {
namespace {

using test::MemoryStore;
using Values = std::map<std::string, std::string>;
using R = VideoOptionRecord;
auto Fields(const R& r) { return std::tuple(r.on, r.sound, r.repeat, r.file); }

// Faults: the defaults written for desktop 1, under a wrong desktop's keys or with a wrong
// file or flag, written again once "VideoDefault" is 0 (a desktop the user cleared comes
// back), "VideoDefault" not reset, the desktops read before the defaults are written, a flag
// read true from "-1" or "yes", the wrong desktop's keys read.
TEST(VideoOptions, LoadGivesTheFirstRunDefaultsOnceThenTheStoredRecords) {
    const std::string app = "C:\\Prog Ünï";
    const R off{};
    const struct {
        const char* name;
        Values stored;
        std::array<R, 6> want;
    } cases[] = {
        {"first run", {{"CONFIG/Video1On", "1"}, {"CONFIG/Video1File", "D:\\mine.avi"}},
         {R{true, false, false, "D:\\mine.avi"}, R{true, true, true, app + "\\Love.wmv"},
          R{true, false, true, app + "\\cubeturn2.avi"}, R{true, false, true, app + "\\Spheres2.avi"}, R{false, false, true, ""},
          R{true, true, true, app + "\\jurrassic.wmv"}}},
        {"later run, desktop 3 cleared",
         {{"CONFIG/VideoDefault", "0"}, {"CONFIG/Video2On", "-1"}, {"CONFIG/Video2Sound", "yes"}, {"CONFIG/Video2Repeat", "1"},
          {"CONFIG/Video6On", "1"}, {"CONFIG/Video6File", "E:\\Vidéo\\x.wmv"}, {"CONFIG/Video5File", ""}},
         {off, R{false, false, true, ""}, off, off, off, R{true, false, false, "E:\\Vidéo\\x.wmv"}}},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.values = c.stored;
        VideoOptions options;
        for (int desk = 1; desk <= 6; ++desk) LoadVideoSetting(store, options, desk, app);
        for (int desk = 1; desk <= 6; ++desk) EXPECT_EQ(Fields(options[desk]), Fields(c.want[desk - 1])) << c.name << " " << desk;
        EXPECT_EQ(store.values["CONFIG/VideoDefault"], "0") << c.name;
        EXPECT_EQ(store.values.count("CONFIG/Video1Sound"), 0u) << c.name;
    }
}

// Faults: OK looking at another row than the current desktop's (index off by one), a
// case-only file change taken for a change or a real one missed (a prefix, a trailing blank,
// another letter, a non-ASCII letter), a box change missed, a row not written back.
TEST(VideoOptions, OkWritesEveryRowAndReportsOnlyTheCurrentDesktopsChange) {
    VideoOptions shown;
    for (int d = 1; d <= 6; ++d) shown[d] = {d % 2 == 0, false, true, "C:\\V\\A" + std::to_string(d) + ".WMV"};
    shown[5].file = "D:\\Видео\\ÄÖ Ξ.avi";
    const struct {
        const char* name;
        int current, edited;
        void (*edit)(R&);
        bool changed;
    } cases[] = {
        {"unchanged", 2, 2, [](R&) {}, false},
        {"case only", 2, 2, [](R& r) { r.file = "c:\\v\\a2.wmv"; }, false},
        {"case only, not ASCII", 5, 5, [](R& r) { r.file = "d:\\видео\\äö ξ.AVI"; }, false},
        {"another letter", 5, 5, [](R& r) { r.file = "d:\\видео\\äö π.avi"; }, true},
        {"a prefix", 2, 2, [](R& r) { r.file = "C:\\V\\A2.WM"; }, true},
        {"a trailing blank", 1, 1, [](R& r) { r.file += " "; }, true},
        {"emptied", 6, 6, [](R& r) { r.file.clear(); }, true},
        {"sound", 6, 6, [](R& r) { r.sound = true; }, true},
        {"on", 1, 1, [](R& r) { r.on = true; }, true},
        {"repeat", 3, 3, [](R& r) { r.repeat = false; }, true},
        {"another desktop", 2, 4, [](R& r) { r.on = false, r.file = "X"; }, false},
    };
    for (const auto& c : cases) {
        VideoOptions options = shown;
        VideoOptionRows rows;
        for (int d = 1; d <= 6; ++d) rows[d - 1] = shown[d];
        c.edit(rows[c.edited - 1]);
        const VideoDialogResult r = AcceptVideoOptions(options, rows, c.current);
        EXPECT_EQ(std::tuple(r.IsOk, r.IsChanged, r.AppliesCurrentDesktop()), std::tuple(true, c.changed, c.changed)) << c.name;
        for (int d = 1; d <= 6; ++d) EXPECT_EQ(Fields(options[d]), Fields(rows[d - 1])) << c.name << " " << d;
    }
    EXPECT_FALSE((VideoDialogResult{false, true}.AppliesCurrentDesktop()));
}

}  // namespace
}  // namespace orv
