// The tray icon's decisions: events, the shell's record, texts in fields, the hook's lists.
#include <gtest/gtest.h>

#include "tray/message_filter.h"
#include "tray/tray_events.h"

namespace orv {
namespace {

using E = TrayEvent;

// Faults: buttons or down/up/double click mixed up, codes beyond the mouse range raising
// events, the balloon timer stopped when the balloon shows or kept when it went away.
TEST(TrayEvents, EachNotificationCodeRaisesItsEvent) {
    const std::pair<std::uint32_t, TrayNotification> cases[] = {
        {511, {}}, {512, {E::MouseMove}}, {513, {E::MouseDown, 1}}, {514, {E::MouseUp, 1}}, {515, {E::MouseDblClick, 1}},
        {516, {E::MouseDown, 2}}, {517, {E::MouseUp, 2}}, {518, {E::MouseDblClick, 2}}, {519, {E::MouseDown, 4}},
        {520, {E::MouseUp, 4}}, {521, {E::MouseDblClick, 4}}, {522, {}}, {1025, {}}, {1026, {E::BalloonShow}},
        {1027, {E::BalloonHide, 0, true}}, {1028, {E::BalloonClose, 0, true}}, {1029, {E::BalloonClick, 0, true}},
        {1030, {}}, {0x10201, {}}};
    for (const auto& [code, expected] : cases) EXPECT_EQ(MapTrayNotification(code), expected) << code;
}

// Faults: the minor version (low word) read as the major, version 5 given the 6 record,
// balloons offered on the first shells or when the version is unknown.
TEST(TrayEvents, TheRecordFollowsTheShellsMajorVersion) {
    const std::tuple<std::optional<std::uint32_t>, NotifyRecord, bool> cases[] = {
        {std::nullopt, NotifyRecord::Unknown, false}, {0x00040047, NotifyRecord::V1, false}, {0x0004FFFF, NotifyRecord::V1, false},
        {0x00000006, NotifyRecord::V1, false}, {0x00050000, NotifyRecord::V2, true}, {0x00050032, NotifyRecord::V2, true},
        {0x00060000, NotifyRecord::V3, true}, {0x000A0000, NotifyRecord::V3, true}};
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
    const HookReport r{"cSystray", "ssc_Subclass", SetWindowLongFailed(1400)};
    EXPECT_EQ(r.LogText() + "|" + r.BoxTitle() + "|" + r.BoxText(),
              "cSystray.ssc_Subclass: SetWindowLong failed, error #1400|"
              "Error in cSystray.ssc_Subclass|SetWindowLong failed, error #1400.");
}

}  // namespace
}  // namespace orv
