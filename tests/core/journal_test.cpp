// The journal: round trip, torn or garbage text refused, recovery touching only windows still
// owned as recorded, the switch writing before any hide, the Desktop folder put back.
#include <gtest/gtest.h>

#include <tuple>

#include "app/recovery.h"
#include "fakes.h"

namespace orv {
namespace {

using test::Journal;

TEST(Journal, RoundTripsAndRefusesEveryCutAndBadField) {
    // Catches: a sign, a 64-bit value or an escaped tab/line feed lost; a torn write, a
    // changed byte or a field outside its rules taken for a journal.
    JournalState s{4, 2, {JournalWindow{}, JournalWindow{}}};
    s.windows[0] = {1, -5, 3, WindowOwner{7, ~0ull, "Note\tpad%"}, "Grüße\r\n日本"};
    s.windows[1] = {6, INT32_MIN, 2, WindowOwner{~0u, 1, ""}, ""};
    const std::string full = FormatJournal(s), head = "OrvantaJournal\t1\ncurrent\t2\nicons\t0\n";
    EXPECT_EQ(ParseJournal(full), s);
    std::string why, changed = full;
    changed[full.find("pad")] = 'P';
    for (std::size_t n = 0; n < full.size(); ++n) EXPECT_FALSE(ParseJournal(full.substr(0, n), &why)) << n;
    for (const std::string& g : {std::string("garbage\n"), std::string("\0\n", 2), full + full, changed})
        EXPECT_FALSE(ParseJournal(g, &why));
    auto sealed = [](const std::string& body) {  // FNV-1a, as any reader of the format computes it
        std::uint32_t h = 2166136261u;
        for (unsigned char c : body) h = (h ^ c) * 16777619u;
        char end[32];
        std::snprintf(end, sizeof end, "end\t1\t%x\n", h);
        return body + end;
    };
    EXPECT_TRUE(ParseJournal(sealed(head + "window\t1\t5\t1\t7\t9\tC\tT\n")));
    for (const char* bad : {"wind\t1\t5\t1\t7\t9\tC\tT", "window\t0\t5\t1\t7\t9\tC\tT", "window\t1\t2147483648\t1\t7\t9\tC\tT",
             "window\t1\t+5\t1\t7\t9\tC\tT", "window\t1\t5\t12\t7\t9\tC\tT", "window\t1\t5\t1\t-7\t9\tC\tT",
             "window\t1\t5\t1\t7\t\tC\tT", "window\t1\t5\t1\t7\t9\tC\tT%4", "window\t1\t5\t1\t7\t9\tC"})
        EXPECT_FALSE(ParseJournal(sealed(head + bad + "\n"))) << bad;
    EXPECT_FALSE(ParseJournal(sealed("OrvantaJournal\t2\ncurrent\t2\nicons\t0\n")));
    EXPECT_FALSE(ParseJournal(sealed("OrvantaJournal\t1\ncurrent\t7\nicons\t0\n")));
}

TEST(Journal, ASlotGivesItsOwnJournalAndTheNewestWholeOneIsRead) {
    // Catches: a slot read to its end (the tail of a longer journal written there before
    // taken for part of the new one), a torn slot line trusted, a journal without a slot line
    // (as earlier versions wrote it) not read, a torn newest journal taken over the whole one
    // before it.
    const std::string a = FormatJournal({2, 0, {}}), b = FormatJournal({3, 0, {}});
    const JournalSlot slot = ParseSlot(FormatSlot(7, a) + "the slot's older, longer text");
    EXPECT_EQ(std::tuple(slot.number, slot.text, ParseSlot(a).text), std::tuple(7u, a, a));
    for (const char* torn : {"OrvantaSlot\t7\t5", "OrvantaSlot\t7\n", "OrvantaSlot\tx\t5\nabcde", "OrvantaSlot\t7\t6\nabcde",
                             "OrvantaSlot\t0\t5\nabcde"})
        EXPECT_EQ(ParseSlot(torn).text, "") << torn;
    std::string tornB = b;
    tornB[tornB.size() - 3] ^= 1;
    using Slots = std::vector<JournalSlot>;
    for (const auto& [slots, newest] : {std::pair<Slots, std::string>{{{3, a}, {4, tornB}}, a}, {{{4, b}, {3, a}}, b},
                                        {{{0, a}, {1, b}}, b}, {{{1, "x"}, {2, tornB}}, tornB}})
        EXPECT_EQ(NewestJournal(slots), newest) << newest;
    EXPECT_FALSE(NewestJournal({}));
}

// Windows 1, 2, 3 ... with owners; shows and journal writes go into sys's journal.
struct FakeJournalOps final : JournalOps {
    test::FakeSystem& sys;
    std::map<WindowId, WindowOwner> owners;
    std::optional<std::string> file;
    explicit FakeJournalOps(test::FakeSystem& s) : sys(s) {}
    int lookups = 0;
    std::optional<WindowOwner> Owner(WindowId id) override {
        ++lookups;
        return sys.W(id).closed ? std::nullopt : std::optional(owners.count(id) ? owners[id] : WindowOwner{100, 5000, "App"});
    }
    bool IsVisible(WindowId id) override { return !sys.W(id).closed && sys.W(id).visible == 1; }
    void ShowAsync(WindowId id, int cmd) override { sys.Show(id, cmd); }
    bool Write(const std::string& text, bool durable) override {
        const auto s = ParseJournal(text);
        std::string line = "journal " + std::to_string(s->currentDesk) + " icons " + std::to_string(s->iconsDesk);
        for (const auto& w : s->windows) line += " " + std::to_string(w.desk) + ":" + w.title;
        file = text;
        return sys.Log(line + (durable ? " durable" : ""));
    }
    std::optional<std::string> Read() override { return file; }
    void Remove() override { file.reset(), sys.Log("journal removed"); }
};

struct Rig {
    test::FakeSystem sys;
    FakeJournalOps ops{sys};
    DeskJournal journal{ops};
    test::MemoryStore store;
    DeskWindows windows{sys, "Bar"};
    DesktopLook look{sys, store, "D\\"};
    DeskManager mgr{{windows, look, sys, sys, sys}, "Desk", "D\\OrvDesk"};
    Rig() { mgr.SetJournal(&journal); }
    Journal Take() {  // shows, moves, journal writes and the colour
        Journal out;
        for (auto& l : std::exchange(sys.journal, {}))
            for (const char* p : {"show", "move", "journal", "colour"})
                if (l.starts_with(p)) out.push_back(l);
        return out;
    }
};

TEST(Journal, AnOwnerIsLookedUpOnceUntilItsHandleNamesAnotherThreadOrProcess) {
    // Catches: a departing window's owner looked up on every switch, the shown desktop's
    // owners forgotten, and a handle now of another thread or process journalled with the
    // owner it had before (recovery would then leave the window hidden).
    for (auto [thread, process] : {std::pair<std::uint32_t, std::uint32_t>{8, 100}, {7, 101}}) {
        Rig r;
        r.sys.Add("One");
        for (int desk : {2, 1, 2, 1}) r.mgr.DoAction(desk);
        EXPECT_EQ(r.ops.lookups, 1);
        r.sys.W(1).thread = thread;
        r.sys.W(1).process = process;
        r.ops.owners[1] = {process, 6000, "Other"};
        r.mgr.DoAction(2);
        EXPECT_EQ(ParseJournal(*r.ops.file)->windows.at(0).owner, (WindowOwner{process, 6000, "Other"})) << thread;
    }
}

TEST(Journal, RecoveryShowsOnlyHiddenWindowsStillOwnedAsRecorded) {
    // Catches: showing a window closed meanwhile, already visible, or whose handle now belongs
    // to another process (id or start time) or class; losing the recorded show command.
    Rig r;
    const WindowOwner app{100, 5000, "App"};
    JournalState s;
    for (const auto& [visible, owner] : {std::pair<int, WindowOwner>{0, app}, {1, app}, {0, {101, 5000, "App"}},
                                         {0, {100, 5001, "App"}}, {0, {100, 5000, "Edit"}}, {0, app}}) {
        const WindowId id = r.sys.Add(std::to_string(r.sys.windows.size() + 1), kSwShowNormal, visible);
        r.ops.owners[id] = owner;
        s.windows.push_back({2, id, kSwShowMaximized, app, ""});
    }
    r.sys.W(6).closed = true;
    int skipped = 0;
    EXPECT_EQ(std::tuple(RecoverWindows(s, r.ops, &skipped), skipped), std::tuple(1, 5));
    EXPECT_EQ(r.Take(), Journal{"show 1 3"});
}

TEST(Journal, SwitchWritesOncePerPhaseBeforeHidingAndShutdownRemovesItLast) {
    // Catches: a hide before the journal names the window, a write per window, the Desktop
    // folder's files named for the wrong desktop between the two moves, shown windows kept,
    // and the journal removed before every window is back.
    Rig r;
    r.sys.Add("One");
    r.mgr.DoAction(2);
    EXPECT_EQ(r.Take(), (Journal{"journal 2 icons 0 1:One", "show One 0", "colour 0"}));
    r.mgr.SetSharedIcons(false);
    r.sys.Add("Two");
    r.mgr.DoAction(1);
    EXPECT_EQ(r.Take(), (Journal{"journal 1 icons 2 1:One 2:Two durable", "show Two 0", "move Desk\\* -> D\\OrvDesk2",
                                 "journal 1 icons 1 1:One 2:Two durable", "move D\\OrvDesk1\\* -> Desk", "colour 0",
                                 "show One 8", "journal 1 icons 1 2:Two durable"}));
    r.mgr.RestoreAllDesktops();
    const Journal end = r.Take();
    EXPECT_EQ(Journal(end.end() - 2, end.end()), (Journal{"show Two 8", "journal removed"}));
}

TEST(Journal, RecoveryPutsTheDesktopFolderAndDesktopOnesLookBackOrIgnoresGarbage) {
    // Catches: files filed under the wrong desktop after a kill between the two moves,
    // desktop 1's files or look not put back, a garbage journal acted on or kept.
    for (auto [icons, expected] : {std::pair<int, Journal>{kIconsShared, {}}, {1, {"move D\\OrvDesk1\\* -> Desk"}},
                                   {4, {"move Desk\\* -> D\\OrvDesk4", "move D\\OrvDesk1\\* -> Desk"}}, {-1, {}}}) {
        Rig r;
        r.store.Set("DESK1", "1", "255");
        r.ops.file = icons < 0 ? "garbage" : FormatJournal({5, icons, {}});
        const RecoveryReport rep = RecoverJournal(r.ops, r.sys, r.look, "Desk", "D\\OrvDesk");
        if (icons >= 0) expected.push_back("colour 255");
        expected.push_back("journal removed");
        EXPECT_EQ(r.Take(), expected) << icons;
        EXPECT_EQ(rep.valid, icons >= 0);
    }
}

}  // namespace
}  // namespace orv
