#include "app/desk_windows.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace orv {
namespace {

using test::FakeWindowOps;
constexpr const char* kBar = " Orvanta Solvane";

TEST(Eligibility, ExcludedTitlesAreWholeAndCaseSensitive) {
    struct Case { const char* title; bool excluded; };
    const Case cases[] = {
        {"DDE Server Window", true}, {"Start Menu", true}, {"Windows Task Manager", true},
        {"OLEChannelWnd", true}, {"Spooler process", true}, {"Power Meter", true},
        {"Connections Tray", true}, {"SENS", true}, {"WIN95 RPC Wmsg Window", true},
        {"Program Manager", true}, {"Registry Editor", true}, {kBar, true},
        {"Tessara - Microsoft Visual Basic [design]", true},
        {"Registry Editor - HKCU", false}, {"registry editor", false}, {"Program Manager ", false},
        {"Orvanta Solvane", false}, {"sens", false}, {"Tessara", false},
        {"Tessara - Notepad", false}, {"Notepad", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsExcludedTitle(c.title, kBar), c.excluded) << c.title;
}

TEST(DeskWindows, EnumerationKeepsTitledWindowsWithTheirShowCommand) {
    FakeWindowOps ops;
    ops.Add("Alpha", kSwShowMinimized);
    ops.Add("");
    ops.Add("Gamma", kSwShowMaximized, 0);
    DeskWindows dw(ops, kBar);
    dw.Enumerate();
    ASSERT_EQ(dw.TopWindowList().size(), 2u);
    EXPECT_EQ(dw.TopWindowList()[0].title, "Alpha");
    EXPECT_EQ(dw.TopWindowList()[0].showCmd, kSwShowMinimized);
    EXPECT_EQ(dw.TopWindowList()[1].handle, 3);
}

TEST(DeskWindows, DepartureHidesAndRecordsOnlyEligibleVisibleWindows) {
    FakeWindowOps ops;
    WindowId a = ops.Add("Alpha");
    WindowId untitled = ops.Add("");
    WindowId bar = ops.Add(kBar);
    WindowId shell = ops.Add("Program Manager");
    WindowId hidden = ops.Add("Hidden", kSwShowNormal, 0);
    WindowId odd = ops.Add("Odd visibility", kSwShowNormal, 2);  // not exactly 1
    WindowId mini = ops.Add("Mini", kSwShowMinimized);
    DeskWindows dw(ops, kBar);
    dw.RecordDeparture(1);

    const auto& list = dw.DeskWindowList(1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].handle, a);
    EXPECT_EQ(list[1].handle, mini);
    EXPECT_EQ(list[1].showCmd, kSwShowMinimized);
    for (WindowId kept : {untitled, bar, shell, odd}) EXPECT_EQ(ops.W(kept).visible, kept == odd ? 2 : 1);
    EXPECT_EQ(ops.W(hidden).visible, 0);
    EXPECT_EQ(ops.W(a).visible, 0);
    EXPECT_EQ(ops.W(mini).visible, 0);
}

TEST(DeskWindows, DepartureHidesFromTheBottomUpAndKeepsEnumerationOrder) {
    FakeWindowOps ops;
    WindowId top = ops.Add("Top");
    ops.Add("Excluded", kSwShowNormal, 0);
    WindowId middle = ops.Add("Middle");
    WindowId bottom = ops.Add("Bottom");
    DeskWindows dw(ops, kBar);
    dw.RecordDeparture(1);
    const std::vector<std::pair<WindowId, int>> hides = {{bottom, kSwHide}, {middle, kSwHide}, {top, kSwHide}};
    EXPECT_EQ(ops.shows, hides);
    ASSERT_EQ(dw.DeskWindowList(1).size(), 3u);
    EXPECT_EQ(dw.DeskWindowList(1)[0].handle, top);
    EXPECT_EQ(dw.DeskWindowList(1)[2].handle, bottom);
}

TEST(DeskWindows, ReplayRestoresRecordedShowStatesInOrderAndKeepsTheList) {
    FakeWindowOps ops;
    WindowId a = ops.Add("A", kSwShowMaximized);
    WindowId b = ops.Add("B", kSwShowMinimized);
    WindowId c = ops.Add("C", kSwShowNormal);
    DeskWindows dw(ops, kBar);
    dw.RecordDeparture(3);
    ops.shows.clear();
    dw.Replay(3);
    const std::vector<std::pair<WindowId, int>> expected = {
        {a, kSwShowMaximized}, {b, kSwShowMinimized}, {c, kSwShowNormal}};
    EXPECT_EQ(ops.shows, expected);
    EXPECT_EQ(dw.DeskWindowList(3).size(), 3u);
}

TEST(DeskWindows, LeavingTwiceRecordsTheSecondTimeOnly) {
    FakeWindowOps ops;
    WindowId a = ops.Add("A");
    DeskWindows dw(ops, kBar);
    dw.RecordDeparture(2);
    dw.Replay(2);
    ops.W(a).visible = 0;  // the user hid it meanwhile
    WindowId b = ops.Add("B");
    dw.RecordDeparture(2);
    ASSERT_EQ(dw.DeskWindowList(2).size(), 1u);
    EXPECT_EQ(dw.DeskWindowList(2)[0].handle, b);
}

TEST(DeskWindows, ClosedWindowDoesNotStopTheReplay) {
    FakeWindowOps ops;
    WindowId a = ops.Add("A");
    WindowId b = ops.Add("B");
    DeskWindows dw(ops, kBar);
    dw.RecordDeparture(1);
    ops.W(a).closed = true;
    dw.Replay(1);
    EXPECT_EQ(ops.W(b).visible, 1);
    EXPECT_EQ(ops.shows.back(), (std::pair<WindowId, int>{b, kSwShowNormal}));
}

TEST(DeskWindows, TitleIsJudgedAtDeparture) {
    FakeWindowOps ops;
    WindowId a = ops.Add("Notes");
    DeskWindows dw(ops, kBar);
    ops.W(a).title = "Registry Editor";
    dw.RecordDeparture(1);
    EXPECT_TRUE(dw.DeskWindowList(1).empty());
    EXPECT_EQ(ops.W(a).visible, 1);
}

TEST(DeskWindows, DeskOutOfRangeIsRefused) {
    FakeWindowOps ops;
    DeskWindows dw(ops, kBar);
    EXPECT_THROW(dw.RecordDeparture(7), std::out_of_range);
    EXPECT_THROW(dw.Replay(0), std::out_of_range);
}

}  // namespace
}  // namespace orv
