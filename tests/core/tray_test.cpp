// The tray icon's decisions (events, the shell's record, texts in fields, the hook's lists)
// and the owner-drawn tray menu's (caption keys, captions, sizes, commands).
#include <gtest/gtest.h>

#include "tray/message_filter.h"
#include "tray/od_menu_model.h"
#include "tray/tray_events.h"

namespace orv {
namespace {

using E = TrayEvent;
using namespace std::string_literals;

// Faults: buttons or down/up/double click mixed up, codes beyond the mouse range raising
// events, the balloon timer stopped when the balloon shows or kept when it went away.
TEST(TrayEvents, EachNotificationCodeRaisesItsEvent) {
    const std::pair<std::uint32_t, TrayNotification> cases[] = {
        {511, {}}, {512, {E::MouseMove}}, {513, {E::MouseDown, 1}}, {514, {E::MouseUp, 1}}, {515, {E::MouseDblClick, 1}},
        {516, {E::MouseDown, 2}}, {518, {E::MouseDblClick, 2}}, {519, {E::MouseDown, 4}}, {521, {E::MouseDblClick, 4}},
        {522, {}}, {1025, {}}, {1026, {E::BalloonShow}},
        {1027, {E::BalloonHide, 0, true}}, {1028, {E::BalloonClose, 0, true}}, {1029, {E::BalloonClick, 0, true}},
        {1030, {}}, {0x10201, {}}};
    for (const auto& [code, expected] : cases) EXPECT_EQ(MapTrayNotification(code), expected) << code;
}

// Faults: the minor version (low word) read as the major, version 5 given the 6 record,
// balloons offered on the first shells or when the version is unknown.
TEST(TrayEvents, TheRecordFollowsTheShellsMajorVersion) {
    const std::tuple<std::optional<std::uint32_t>, NotifyRecord, bool> cases[] = {
        {std::nullopt, NotifyRecord::Unknown, false}, {0x00040047, NotifyRecord::V1, false}, {0x00000006, NotifyRecord::V1, false},
        {0x00050032, NotifyRecord::V2, true}, {0x00060000, NotifyRecord::V3, true}, {0x000A0000, NotifyRecord::V3, true}};
    for (const auto& [ms, record, balloons] : cases)
        EXPECT_TRUE(NotifyRecordFor(ms) == record && IsBalloonCapable(record) == balloons) << std::hex << ms.value_or(0);
}

// Faults: blanks inside the tip removed, one end kept; a field filled without room for the
// NUL; a surrogate pair cut in half at the field's end.
TEST(TrayEvents, TextsAreTrimmedAndCutToTheirFields) {
    for (auto [text, kept] : {std::pair{"  Orv  Solvane ", "Orv  Solvane"}, {" x", "x"}, {"x ", "x"}, {"   ", ""}, {"", ""}})
        EXPECT_EQ(TrimBlanks(text), kept) << '"' << text << '"';
    const std::u16string pairAt126 = std::u16string(126, u'a') + u"\U0001F600" + u"bb";
    const std::tuple<std::u16string, std::size_t, std::size_t> cases[] = {
        {std::u16string(127, u'a'), kTipField, 127}, {std::u16string(128, u'a'), kTipField, 127},
        {std::u16string(300, u'a'), kBalloonTextField, 255}, {std::u16string(64, u'a'), kBalloonTitleField, 63},
        {pairAt126, kTipField, 126}, {u"a" + pairAt126, kTipField, 127}, {u"ab", kTipField, 2}, {u"", kTipField, 0}};
    for (const auto& [text, field, length] : cases) EXPECT_EQ(FieldLength(text, field), length) << text.size() << "/" << field;
}

// Faults: a message listed twice filling the list, no room made by a removal, the two lists
// shared, "all" not taking every message, the reports' texts (hex in capitals).
TEST(MessageFilter, ThirtyTwoMessagesPerListOrAllAndTheReportsTexts) {
    MessageFilter f;
    for (std::uint32_t m = 1; m <= 32; ++m) ASSERT_EQ(f.Add(MessageWhen::After, m), "");
    EXPECT_EQ(f.Add(MessageWhen::After, 7), "") << "already listed";
    EXPECT_EQ(f.Add(MessageWhen::After, 512), "Message table overflow. Either increase the value of Const MSG_ENTRIES "
                                              "or use ALL_MESSAGES instead of specific message values");
    EXPECT_FALSE(f.Handles(MessageWhen::After, 512) || f.Handles(MessageWhen::Before, 7));
    EXPECT_EQ(f.Remove(MessageWhen::After, 7), "");
    EXPECT_EQ(f.Add(MessageWhen::After, 512), "");
    EXPECT_TRUE(f.Handles(MessageWhen::After, 512) && !f.Handles(MessageWhen::After, 7));
    EXPECT_EQ(f.Remove(MessageWhen::After, 0xC0DE), "Message &HC0DE not found in table");
    EXPECT_EQ(f.Remove(MessageWhen::Before, 512), "Message &H200 not found in table");

    EXPECT_TRUE(f.Add(MessageWhen::Before, f.kAllMessages).empty() && f.Handles(MessageWhen::Before, 0xC123));
    EXPECT_TRUE(f.Remove(MessageWhen::Before, f.kAllMessages).empty() && !f.Handles(MessageWhen::Before, 0xC123));
    EXPECT_EQ(SetWindowLongFailed(1400), "SetWindowLong failed, error #1400");  // the boxes and log lines: MessageHook's test
}

// Faults: a caption key in hex, its parts swapped (TM1), a handle above 2^31 printed unsigned;
// a second store that keeps the first caption; windows that share captions. Popup captions:
// "|" left in or taken from the middle; text after a NUL kept; a tab not one blank.
TEST(OdMenuModel, CaptionKeysStoredCaptionsAndPopupCaptions) {
    for (auto [id, window, key] : {std::tuple{666u, 4660, "M666-4660"}, {12u, -5, "M12--5"}, {4294967295u, 0, "M4294967295-0"}})
        EXPECT_EQ(MenuCaptionKey(id, window), key);
    MenuCaptions c;
    c.Store(666, 10, "PopUp"), c.Store(666, 10, "Again"), c.Store(666, 11, "Other form");
    EXPECT_EQ(std::tuple(c.Find(666, 10), c.Find(666, 11), c.Find(667, 10)), std::tuple("Again", "Other form", ""));
    for (auto [raw, text, brk] : {std::tuple{"|Second"s, "Second", true}, {"A|B"s, "A|B", false}, {"||x"s, "|x", true},
                                  {"Open\0junk"s, "Open", false}, {"\0|x"s, "", false}, {""s, "", false}})
        EXPECT_EQ(std::pair(ReadPopupCaption(raw).text, ReadPopupCaption(raw).columnBreak), std::pair(std::string(text), brk)) << raw;
    EXPECT_EQ(MeasuredText("a\tOpen\t\tb"), "a Open  b");
}

// Faults: the 50 also on bar items or missing on popups, the 6 missing in one direction, the
// extra room not following the DPI; the bar range off by one at either end; the toolbar class
// name matched at its start too (ToolbarWindow32) or case-sensitively; black text not
// replaced, or replaced by the other item kind's colour.
TEST(OdMenuModel, ItemSizesBarRangeToolbarRuleAndTextColour) {
    for (auto [w, h, bar, dpi, size] : {std::tuple{100, 13, false, 96u, ItemSize{156, 19}}, {100, 13, true, 96u, ItemSize{106, 19}},
                                        {150, 20, false, 144u, ItemSize{234, 29}}, {150, 20, true, 144u, ItemSize{159, 29}}})
        EXPECT_EQ(MeasureItem(w, h, bar, dpi), size) << w << " " << bar << " " << dpi;
    EXPECT_EQ(LastBarId(3), 668u);
    for (auto [id, inside] : {std::pair{665u, false}, {666u, true}, {668u, true}, {669u, false}})
        EXPECT_EQ(IsBarItemId(id, LastBarId(3)), inside) << id;
    for (auto [name, match] : {std::pair{"ToolbarWindow32", false}, {"MSVB_Lib_Toolbar", true}, {"xTOOLBAR", true},
                               {"xtoolba", false}, {"", false}})
        EXPECT_EQ(IsToolbarClass(name), match) << name;
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
