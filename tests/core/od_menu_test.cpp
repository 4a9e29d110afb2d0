#include "tray/od_menu_model.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace std::string_literals;

// Faults: a key in hex, the parts swapped, a handle above 2^31 printed unsigned; a second
// store that keeps the first caption; windows that share captions.
TEST(OdMenuModel, CaptionKeysAreDecimalWithTheSignedHandleAndALaterCaptionReplacesTheFirst) {
    for (auto [id, window, key] : {std::tuple{666u, 4660, "M666-4660"}, {12u, -5, "M12--5"}, {4294967295u, 0, "M4294967295-0"}})
        EXPECT_EQ(MenuCaptionKey(id, window), key);
    MenuCaptions c;
    c.Store(666, 10, "PopUp"), c.Store(666, 10, "Again"), c.Store(666, 11, "Other form");
    EXPECT_EQ(std::tuple(c.Find(666, 10), c.Find(666, 11), c.Find(667, 10)), std::tuple("Again", "Other form", ""));
}

// Faults: "|" left in the caption or taken from the middle; text after a NUL kept; a tab
// removed instead of becoming one blank.
TEST(OdMenuModel, PopupCaptionsLoseALeadingBarAndWhatFollowsANulAndTabsMeasureAsBlanks) {
    for (auto [raw, text, brk] : {std::tuple{"|Second"s, "Second", true}, {"A|B"s, "A|B", false}, {"||x"s, "|x", true},
                                  {"Open\0junk"s, "Open", false}, {"\0|x"s, "", false}, {""s, "", false}}) {
        const PopupCaption c = ReadPopupCaption(raw);
        EXPECT_EQ(c.text, text) << raw;
        EXPECT_EQ(c.columnBreak, brk) << raw;
    }
    EXPECT_EQ(MeasuredText("Open\tCtrl+O"), "Open Ctrl+O");
    EXPECT_EQ(MeasuredText("a\t\tb"), "a  b");
}

// Faults: the 50 also on bar items or missing on popups, the 6 missing in one direction,
// the extra room not following the DPI; the bar range off by one at either end.
TEST(OdMenuModel, ItemSizesAndTheBarRange) {
    for (auto [w, h, bar, dpi, size] : {std::tuple{100, 13, false, 96u, ItemSize{156, 19}}, {100, 13, true, 96u, ItemSize{106, 19}},
                                        {0, 0, false, 96u, ItemSize{56, 6}}, {150, 20, false, 144u, ItemSize{234, 29}},
                                        {150, 20, true, 144u, ItemSize{159, 29}}})
        EXPECT_EQ(MeasureItem(w, h, bar, dpi), size) << w << " " << bar << " " << dpi;
    EXPECT_EQ(LastBarId(3), 668u);
    for (auto [id, inside] : {std::pair{665u, false}, {666u, true}, {668u, true}, {669u, false}})
        EXPECT_EQ(IsBarItemId(id, LastBarId(3)), inside) << id;
}

// Faults: the class name matched at its start too (ToolbarWindow32), or case-sensitively.
TEST(OdMenuModel, TheToolbarEraseRuleWantsToolbarAfterTheFirstCharacter) {
    for (auto [name, match] : {std::pair{"ToolbarWindow32", false}, {"MSVB_Lib_Toolbar", true}, {"xTOOLBAR", true},
                               {"xtoolba", false}, {"", false}})
        EXPECT_EQ(IsToolbarClass(name), match) << name;
}

// Faults: black text not replaced, or replaced by the other item kind's colour.
TEST(OdMenuModel, ANormalTextColourOfZeroMeansBlackOnTheBarAndRedInPopups) {
    MenuStyle s;
    EXPECT_EQ(UnselectedTextColour(s, false), Rgb(0, 24, 24));
    s.normalText = 0;
    EXPECT_EQ(std::pair(UnselectedTextColour(s, true), UnselectedTextColour(s, false)), std::pair(Rgb(0, 0, 0), Rgb(255, 0, 0)));
}

// Faults: the identifier ranges off by one at either end, a switch taken for a command.
// (Which item does what, per flavour, the tray menu's own tests check through its form.)
TEST(OdMenuModel, CommandsByIdentifier) {
    for (auto [id, isSwitch, index] : {std::tuple{100, false, 0}, {108, false, 8}, {201, true, 1}, {206, true, 6}}) {
        const auto c = DecodeTrayCommand(id).value_or(TrayCommand{!isSwitch, -1});
        EXPECT_EQ(std::pair(c.isSwitch, c.index), std::pair(isSwitch, index)) << id;
    }
    for (int id : {102, 105, 110, 120, 200, 207, 99}) EXPECT_FALSE(DecodeTrayCommand(id)) << id;
}

}  // namespace
}  // namespace orv
