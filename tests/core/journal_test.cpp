// The journal: its text survives a round trip, torn or garbage text is refused, recovery
// touches only windows still owned as recorded, and the switch writes it before any hide.
#include <gtest/gtest.h>

#include "app/desk_manager.h"
#include "app/journal.h"
#include "app/recovery.h"
#include "fakes.h"

namespace orv {
namespace {

using test::FakeSystem;
using test::Journal;

const JournalState kSample{4, 2, {
    {1, -5, kSwShowMaximized, {7, 0xFFFFFFFFFFFFFFFFull, "Notepad"}, "Grüße\t日本 100%\r\n"},
    {6, INT32_MAX, kSwShowMinimized, {UINT32_MAX, 1, ""}, ""},
    {2, INT32_MIN, kSwShowNormal, {0, 0, "a%41\x7F"}, "%"},
}};

// The end line of a body, as any reader of the format would compute it (FNV-1a, 32 bits).
std::string Close(const std::string& body, std::size_t count) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : body) h = (h ^ c) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%x", h);
    return body + "end\t" + std::to_string(count) + "\t" + hex + "\n";
}

TEST(Journal, RoundTripKeepsSignsExtremesAndEscapedText) {
    // Catches: a sign or 64-bit value cut, a tab or line feed in a title splitting the line.
    std::string why = "untouched";
    EXPECT_EQ(ParseJournal(FormatJournal(kSample), &why), kSample);
    EXPECT_EQ(ParseJournal(FormatJournal(JournalState{})), JournalState{});
}

TEST(Journal, EveryCutAndGarbageIsRefusedWithAReason) {
    // Catches: a torn write (any prefix) taken for a journal, and fields read past their rules.
    const std::string full = FormatJournal(kSample);
    for (std::size_t n = 0; n < full.size(); ++n) {
        std::string why;
        EXPECT_FALSE(ParseJournal(full.substr(0, n), &why)) << n;
        EXPECT_FALSE(why.empty()) << n;
    }
    const std::string head = "OrvantaJournal\t1\ncurrent\t2\nicons\t0\n";
    const std::string win = "window\t1\t5\t1\t7\t9\tC\tT\n";
    std::string flipped = full;
    flipped[full.find("Notepad")] = 'M';
    const std::string bad[] = {
        "", "garbage", std::string("\0\0\0\n", 4), "end\t0\t0\n", flipped, full + "x", full + full,
        Close("OrvantaJournal\t2\ncurrent\t2\nicons\t0\n", 0),            // another version
        Close(head, 1), Close(head + win, 0), Close(head + win, 2),       // the count disagrees
        Close("OrvantaJournal\t1\ncurrent\t0\nicons\t0\n", 0), Close("OrvantaJournal\t1\ncurrent\t7\nicons\t0\n", 0),
        Close("OrvantaJournal\t1\ncurrent\t2\nicons\t7\n", 0), Close("OrvantaJournal\t1\nicons\t0\ncurrent\t2\n", 0),
        Close("OrvantaJournal\t1\ncurrent\t2\n", 0), Close("OrvantaJournal\t1\r\ncurrent\t2\r\nicons\t0\r\n", 0),
        Close(head + "window\t0\t5\t1\t7\t9\tC\tT\n", 1), Close(head + "window\t7\t5\t1\t7\t9\tC\tT\n", 1),
        Close(head + "window\t1\t2147483648\t1\t7\t9\tC\tT\n", 1), Close(head + "window\t1\t5\t12\t7\t9\tC\tT\n", 1),
        Close(head + "window\t1\t5\t1\t-7\t9\tC\tT\n", 1), Close(head + "window\t1\t+5\t1\t7\t9\tC\tT\n", 1),
        Close(head + "window\t1\t 5\t1\t7\t9\tC\tT\n", 1), Close(head + "window\t1\t5\t1\t4294967296\t9\tC\tT\n", 1),
        Close(head + "window\t1\t5\t1\t7\t18446744073709551616\tC\tT\n", 1), Close(head + "window\t1\t5\t1\t7\t\tC\tT\n", 1),
        Close(head + "window\t1\t5\t1\t7\t9\tC\tT%G1\n", 1), Close(head + "window\t1\t5\t1\t7\t9\tC\tT%4\n", 1),
        Close(head + "window\t1\t5\t1\t7\t9\tC\n", 1), Close(head + "window\t1\t5\t1\t7\t9\tC\tT\tX\n", 1),
        Close(head + "wind\t1\t5\t1\t7\t9\tC\tT\n", 1), Close(head + "\n", 0),
    };
    for (const std::string& text : bad) {
        std::string why;
        EXPECT_FALSE(ParseJournal(text, &why)) << testing::PrintToString(text);
        EXPECT_FALSE(why.empty()) << testing::PrintToString(text);
    }
    EXPECT_TRUE(ParseJournal(Close(head + win, 1))) << "the hand-made lines above are right but for their fault";
}

// Windows 1, 2, 3 ... with owners; Show and the journal file are logged into sys's journal.
struct FakeJournalOps final : JournalOps {
    FakeSystem& sys;
    std::map<WindowId, WindowOwner> owners;
    std::optional<std::string> file;
    explicit FakeJournalOps(FakeSystem& s) : sys(s) {}
    std::optional<WindowOwner> Owner(WindowId id) override {
        if (id < 1 || id > static_cast<WindowId>(sys.windows.size()) || sys.W(id).closed) return std::nullopt;
        return owners.count(id) ? owners[id] : WindowOwner{100, 5000, "App"};
    }
    bool IsVisible(WindowId id) override { return sys.IsVisible(id) == 1; }
    void ShowAsync(WindowId id, int cmd) override { sys.Show(id, cmd); }
    bool Write(const std::string& text, bool durable) override {
        const auto s = ParseJournal(text);
        if (!s) return sys.Log("journal unreadable");
        std::string line = "journal current " + std::to_string(s->currentDesk) + " icons " + std::to_string(s->iconsDesk);
        if (durable) line += " durable";
        for (const auto& w : s->windows) line += " " + std::to_string(w.desk) + ":" + w.title;
        file = text;
        return sys.Log(line);
    }
    std::optional<std::string> Read() override { return file; }
    void Remove() override { file.reset(), sys.Log("journal removed"); }
};

TEST(Journal, RecoveryShowsOnlyHiddenWindowsStillOwnedAsRecorded) {
    // Catches: showing a window of a process that reused the id or the handle, one closed
    // meanwhile, or one already visible; and losing the recorded show command.
    FakeSystem sys;
    FakeJournalOps ops(sys);
    const WindowOwner app{100, 5000, "App"};
    struct Case { const char* title; int visible; bool closed; WindowOwner now; bool shown; };
    const Case cases[] = {
        {"Mine", 0, false, app, true},
        {"Visible", 1, false, app, false},
        {"Closed", 0, true, app, false},
        {"Other pid", 0, false, {101, 5000, "App"}, false},
        {"Pid reused", 0, false, {100, 5001, "App"}, false},
        {"Other class", 0, false, {100, 5000, "Edit"}, false},
    };
    JournalState s{3, kIconsShared, {}};
    for (const Case& c : cases) {
        const WindowId id = sys.Add(c.title, kSwShowNormal, c.visible);
        sys.W(id).closed = c.closed;
        ops.owners[id] = c.now;
        s.windows.push_back({2, id, kSwShowMaximized, app, c.title});
    }
    int skipped = -1;
    EXPECT_EQ(RecoverWindows(s, ops, &skipped), 1);
    EXPECT_EQ(skipped, 5);
    EXPECT_EQ(sys.journal, Journal{"show Mine 3"});
}

struct Rig {
    FakeSystem sys;
    FakeJournalOps ops{sys};
    DeskJournal journal{ops};
    test::MemoryStore store;
    DeskWindows windows{sys, " Orvanta Solvane"};
    DesktopLook look{sys, store, "D\\"};
    DeskManager mgr{{windows, look, sys, sys, sys}, "Desk", "D\\OrvDesk"};
    Rig() { mgr.SetJournal(&journal); }
    Journal Take(std::string_view prefix) {
        Journal out;
        for (auto& l : std::exchange(sys.journal, {}))
            if (l.starts_with(prefix) || l.starts_with("move") || l.starts_with("journal")) out.push_back(l);
        return out;
    }
};

TEST(Journal, SwitchWritesBeforeHidingAndNamesTheFilesOfEachPhase) {
    // Catches: a hide before the journal names the window, a write per window, the Desktop
    // folder's files attributed to the wrong desktop between the two moves, and the journal
    // removed at shutdown before the windows are back.
    Rig r;
    r.sys.Add("One");
    r.sys.Add("Two");
    r.mgr.DoAction(2);  // shared icons: one write, before the hides
    EXPECT_EQ(r.Take("show"), (Journal{"journal current 2 icons 0 1:One 1:Two", "show Two 0", "show One 0"}));
    r.mgr.SetSharedIcons(false);
    r.sys.Add("Three");
    r.mgr.DoAction(3);
    EXPECT_EQ(r.Take("show"), (Journal{"journal current 3 icons 2 durable 1:One 1:Two 2:Three", "show Three 0",
                                       "move Desk\\* -> D\\OrvDesk2", "journal current 3 icons 3 durable 1:One 1:Two 2:Three",
                                       "move D\\OrvDesk3\\* -> Desk"}));
    r.mgr.DoAction(1);  // the windows shown again leave the journal
    EXPECT_EQ(r.Take("show"), (Journal{"journal current 1 icons 3 durable 1:One 1:Two 2:Three", "move Desk\\* -> D\\OrvDesk3",
                                       "journal current 1 icons 1 durable 1:One 1:Two 2:Three", "move D\\OrvDesk1\\* -> Desk",
                                       "show One 1", "show Two 1", "journal current 1 icons 1 durable 2:Three"}));
    r.mgr.DoAction(4);
    r.mgr.RestoreAllDesktops();
    const Journal end = r.Take("show");
    ASSERT_FALSE(end.empty());
    EXPECT_EQ(end.back(), "journal removed");
    EXPECT_EQ(end[end.size() - 2], "show Three 1");
}

TEST(Journal, RecoveryPutsTheDesktopFolderBackToDesktopOneFromEveryPhase) {
    // Catches: the Desktop folder's files filed under the wrong desktop after a kill between
    // the two moves, desktop 1's files not brought back, desktop 1's look not put back, a
    // garbage journal acted on or left to be read again.
    struct Case { int icons; Journal moves; };
    const Case cases[] = {
        {kIconsShared, {}},
        {1, {"move D\\OrvDesk1\\* -> Desk"}},
        {4, {"move Desk\\* -> D\\OrvDesk4", "move D\\OrvDesk1\\* -> Desk"}},
    };
    for (const Case& c : cases) {
        Rig r;
        r.store.Set("DESK1", "1", "255");
        r.ops.file = FormatJournal({5, c.icons, {}});
        const RecoveryReport rep = RecoverJournal(r.ops, r.sys, r.look, "Desk", "D\\OrvDesk");
        Journal expected = c.moves;
        expected.insert(expected.end(), {"colour 255", "journal removed"});  // the look, then the journal goes
        EXPECT_EQ(r.Take("colour"), expected) << c.icons;
        EXPECT_TRUE(rep.valid && rep.currentDesk == 5) << c.icons;
    }
    Rig r;
    r.sys.Add("Hidden", kSwShowNormal, 0);
    r.ops.file = FormatJournal({2, 3, {{2, 1, kSwShowNormal, {100, 5000, "App"}, "Hidden"}}}).substr(0, 60);
    const RecoveryReport rep = RecoverJournal(r.ops, r.sys, r.look, "Desk", "D\\OrvDesk");
    EXPECT_TRUE(rep.found && !rep.valid);
    EXPECT_EQ(DescribeRecovery(rep), "Journal ignored (no end line)");
    EXPECT_EQ(r.sys.journal, Journal{"journal removed"});
}

}  // namespace
}  // namespace orv
