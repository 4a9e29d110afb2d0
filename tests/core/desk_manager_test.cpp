#include "app/desk_manager.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "settings/settings_store.h"

namespace orv {
namespace {

using test::FakeLookOps;
using test::FakeWindowOps;

// Every seam writes into one journal so the order of the switch can be checked.
struct Journal {
    std::vector<std::string> lines;
    void Add(std::string s) { lines.push_back(std::move(s)); }
};

class JournalWindows : public FakeWindowOps {
public:
    explicit JournalWindows(Journal& j) : j_(j) {}
    bool Show(WindowId id, int cmd) override {
        j_.Add("show " + W(id).title + " " + std::to_string(cmd));
        return FakeWindowOps::Show(id, cmd);
    }
private:
    Journal& j_;
};

class JournalLook : public FakeLookOps {
public:
    explicit JournalLook(Journal& j) : j_(j) {}
    void SetBackgroundColor(std::uint32_t c) override {
        j_.Add("colour " + std::to_string(c));
        FakeLookOps::SetBackgroundColor(c);
    }
    std::uint32_t GetBackgroundColor() override {
        j_.Add("save look");
        return FakeLookOps::GetBackgroundColor();
    }
private:
    Journal& j_;
};

struct JournalShelf : IconShelf {
    explicit JournalShelf(Journal& j) : j(j) {}
    void ShellMoveFiles(const std::string& from, const std::string& to) override { j.Add("move " + from + " -> " + to); }
    Journal& j;
};

struct FakeUi : DeskUi {
    explicit FakeUi(Journal& j) : j(j) {}
    void MarkCurrentDesk(int d) override { j.Add("mark " + std::to_string(d)); }
    void HideBar() override { j.Add("hide bar"); }
    bool ConfirmQuit() override {
        j.Add("ask quit");
        if (reenter) reenter();
        return answer;
    }
    void EndApplication() override { j.Add("end"); }
    Journal& j;
    bool answer = false;
    std::function<void()> reenter;
};

struct FakeVideo : DesktopVideo {
    explicit FakeVideo(Journal& j) : j(j) {}
    bool VideoRunning() const override { return running; }
    void StopDesktopVideo() override { j.Add("stop video"); running = false; }
    bool VideoOn(int d) const override { return d == onDesk; }
    void PlayDesktopVideo(int d) override { j.Add("play video " + std::to_string(d)); running = true; }
    void ReleaseVideo() override { j.Add("release video"); running = false; }
    Journal& j;
    bool running = false;
    int onDesk = 0;
};

struct Rig {
    Journal j;
    JournalWindows ops{j};
    JournalLook lookOps{j};
    MemoryStore store;
    DeskWindows windows{ops, " Orvanta Solvane"};
    DesktopLook look{lookOps, store, "D\\"};
    JournalShelf shelf{j};
    FakeVideo video{j};
    FakeUi ui{j};
    DeskManager mgr{{windows, look, shelf, video, ui}, "Desk", "D\\\\OrvDesk"};
};

TEST(DeskManager, SwitchRunsItsStepsInOrder) {
    Rig r;
    r.ops.Add("One");
    r.mgr.SetSharedIcons(false);
    r.mgr.DoAction(2);
    const std::vector<std::string> expected = {
        "mark 2",
        "show One 0",                          // the old desktop's windows go first
        "save look",                           // then its look is saved
        "move Desk\\* -> D\\\\OrvDesk1",       // its icons leave
        "move D\\\\OrvDesk2\\* -> Desk",       // the new desktop's icons arrive
        "colour 0",                            // its look is restored
    };
    EXPECT_EQ(r.j.lines, expected);
    EXPECT_EQ(r.mgr.CurrentDesk(), 2);

    r.j.lines.clear();
    r.mgr.DoAction(1);
    ASSERT_FALSE(r.j.lines.empty());
    EXPECT_EQ(r.j.lines.back(), "show One 1");  // the new desktop's windows come last
}

TEST(DeskManager, SharedIconsLeaveTheDesktopFolderAlone) {
    Rig r;
    r.mgr.SetSharedIcons(true);
    r.mgr.DoAction(3);
    for (const auto& l : r.j.lines) EXPECT_EQ(l.rfind("move", 0), std::string::npos) << l;
}

TEST(DeskManager, CurrentDesktopOnlyRefreshesTheMarks) {
    Rig r;
    r.ops.Add("One");
    r.mgr.DoAction(1);
    EXPECT_EQ(r.j.lines, std::vector<std::string>{"mark 1"});
}

TEST(DeskManager, RequestsByIndex) {
    struct Case { int index; std::vector<std::string> expected; int desk; };
    const Case cases[] = {
        {0, {"mark 0"}, 1},
        {-5, {"mark -5"}, 1},
        {7, {}, 1},
        {50, {}, 1},
        {90, {"hide bar"}, 1},
        {99, {"ask quit"}, 1},
        {100, {}, 1},
        {250, {}, 1},
    };
    for (const auto& c : cases) {
        Rig r;
        r.mgr.DoAction(c.index);
        EXPECT_EQ(r.j.lines, c.expected) << c.index;
        EXPECT_EQ(r.mgr.CurrentDesk(), c.desk);
        EXPECT_FALSE(r.mgr.Busy());
    }
}

TEST(DeskManager, QuitEndsOnlyOnYes) {
    Rig r;
    r.ui.answer = true;
    r.mgr.DoAction(kActionQuit);
    EXPECT_EQ(r.j.lines, (std::vector<std::string>{"ask quit", "end"}));
}

TEST(DeskManager, RequestsWhileBusyAreDropped) {
    Rig r;
    r.ui.reenter = [&] { r.mgr.DoAction(4); };  // a hotkey pressed while the question is open
    r.mgr.DoAction(kActionQuit);
    EXPECT_EQ(r.mgr.CurrentDesk(), 1);
    EXPECT_EQ(r.j.lines, std::vector<std::string>{"ask quit"});
    r.mgr.DoAction(4);  // afterwards it runs
    EXPECT_EQ(r.mgr.CurrentDesk(), 4);
}

TEST(DeskManager, VideoDesktopIsNeitherSavedNorRestored) {
    Rig r;
    r.video.onDesk = 2;
    r.mgr.DoAction(2);
    EXPECT_EQ(r.j.lines.back(), "play video 2");
    r.j.lines.clear();
    r.mgr.DoAction(3);
    EXPECT_EQ(r.j.lines, (std::vector<std::string>{"mark 3", "stop video", "colour 0"}));
    EXPECT_FALSE(r.store.Get("DESK2", "1").has_value());
}

TEST(DeskManager, EachDesktopGetsBackExactlyItsWindows) {
    Rig r;
    WindowId a = r.ops.Add("A", kSwShowMinimized);
    r.mgr.DoAction(2);
    WindowId b = r.ops.Add("B", kSwShowMaximized);
    r.mgr.DoAction(1);
    EXPECT_EQ(r.ops.W(a).visible, 1);
    EXPECT_EQ(r.ops.W(a).showCmd, kSwShowMinimized);
    EXPECT_EQ(r.ops.W(b).visible, 0);
    r.mgr.DoAction(2);
    EXPECT_EQ(r.ops.W(a).visible, 0);
    EXPECT_EQ(r.ops.W(b).visible, 1);
    EXPECT_EQ(r.ops.W(b).showCmd, kSwShowMaximized);
}

TEST(DeskManager, ShutdownFromDesktopFourBringsEveryWindowBackAndDesktopOnesLook) {
    Rig r;
    r.lookOps.colour = 255;  // desktop 1 is left with this colour on the screen
    std::vector<WindowId> ids;
    for (int desk = 1; desk <= 4; ++desk) {
        ids.push_back(r.ops.Add("W" + std::to_string(desk), desk == 2 ? kSwShowMinimized : kSwShowNormal));
        if (desk < 4) r.mgr.DoAction(desk + 1);
        r.lookOps.colour = 0;
    }
    ASSERT_EQ(r.mgr.CurrentDesk(), 4);
    r.j.lines.clear();
    r.mgr.RestoreAllDesktops();
    EXPECT_EQ(r.j.lines.front(), "release video");
    EXPECT_EQ(r.j.lines[1], "colour 255");
    for (WindowId id : ids) EXPECT_EQ(r.ops.W(id).visible, 1);
    EXPECT_EQ(r.ops.W(ids[1]).showCmd, kSwShowMinimized);
}

}  // namespace
}  // namespace orv
