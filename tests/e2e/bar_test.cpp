// The bar under the real mouse: its buttons' looks, its drag handles and its image buttons,
// observed through the screen's pixels and the bar's place.
#include <functional>

#include "app/win/bar_ids.h"
#include "e2e/driver.h"

namespace orv::e2e {
namespace {

TEST_F(AppTest, DeskButtonsShowHoverAndPressAndTheCurrentDesktopsScheme) {
    ASSERT_TRUE(Start());
    HWND one = GetDlgItem(Bar(), kIdDesk0), two = GetDlgItem(Bar(), kIdDesk0 + 1);
    ASSERT_EQ(MarkedDesk(), 1);  // the pointer is off the bar now
    Settle(Bar());
    const auto current = ButtonFace(one), other = ButtonFace(two);
    ASSERT_NE(current, other) << "the current desktop's button looks like the others";
    EXPECT_LT(GetRValue(current[2]), GetRValue(other[2])) << "scheme 1's blue is the deeper";
    // Under Wine a late echo of an earlier move may put the pointer back: each wait moves it again.
    auto hovered = [&](HWND b, const std::vector<COLORREF>& normal) {
        return WaitUntil([&] { return MouseAt(Centre(Rect(b))) && ButtonFace(b) != normal; }, 3000);
    };
    ASSERT_TRUE(hovered(one, current)) << "no hover look";
    const auto currentHover = ButtonFace(one);  // scheme 1's, for a button the pointer just left
    ASSERT_TRUE(hovered(two, other)) << "no hover look";
    const auto hover = ButtonFace(two);
    ASSERT_TRUE(MouseAt(Centre(Rect(two)), MOUSEEVENTF_LEFTDOWN));
    EXPECT_TRUE(WaitUntil([&] { return ButtonFace(two) != hover && ButtonFace(two) != other; }, 3000)) << "no press look";
    ASSERT_TRUE(MouseAt(Centre(Rect(two)), MOUSEEVENTF_LEFTUP));

    // Desktop 2 is current: its button takes scheme 1's colours, desktop 1's scheme 2's. (Under
    // Wine a button may keep its hover look when the pointer leaves it for another button.)
    auto is = [](const std::vector<COLORREF>& face, const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
        return face == a || face == b;
    };
    EXPECT_TRUE(WaitUntil([&] {
        return MouseOffBar(Bar()) && is(ButtonFace(two), current, currentHover) && is(ButtonFace(one), other, hover);
    }, 15000));
}

TEST_F(AppTest, EveryDragHandleMovesTheBarWithTheLeftButtonAlone) {
    ASSERT_TRUE(Start());
    auto child = [&](int id) { return Rect(GetDlgItem(Bar(), id)); };
    const std::pair<const char*, std::function<POINT(const RECT&)>> handles[] = {
        {"top border", [](const RECT& r) { return POINT{(r.left + r.right) / 2, r.top + 1}; }},
        {"bottom border", [](const RECT& r) { return POINT{(r.left + r.right) / 2, r.bottom - 2}; }},
        {"grip", [](const RECT& r) { return POINT{r.left + 5, (r.top + r.bottom) / 2}; }},
        {"between the groups", [&](const RECT& r) {
             return POINT{(child(kIdDesk0 + 5).right + child(kIdSnap).left) / 2, (r.top + r.bottom) / 2}; }},
    };
    const std::pair<DWORD, DWORD> right = {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
        both = {MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP},
        left = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (const auto& [name, where] : handles)
        for (const auto& [down, up] : {right, both, left}) {
            const RECT before = Rect(Bar());
            const POINT from = where(before);
            ASSERT_TRUE(MouseDrag(from, {from.x + 24, from.y + 16}, down, up)) << name;
            Settle(Bar());
            PumpFor(300);
            // The left button alone moves it with the pointer (Wine's move loop may miss the
            // first step); any other button state leaves it where it was.
            auto moved = [&](int dx, int dy) { return dx > 12 && dx <= 24 && dy > 8 && dy <= 16; };
            auto at = [&] {
                const RECT r = Rect(Bar());
                const int dx = r.left - before.left, dy = r.top - before.top;
                return down == MOUSEEVENTF_LEFTDOWN ? moved(dx, dy) : dx == 0 && dy == 0;
            };
            EXPECT_TRUE(WaitUntil(at, 5000)) << name << " with buttons " << down;
        }
}

TEST_F(AppTest, TheQuitImageAsksOnEveryReleaseAndTheHideImageHidesTheBar) {
    ASSERT_TRUE(Start());
    HWND quit = GetDlgItem(Bar(), kIdImgButton4);
    ASSERT_TRUE(MouseOffBar(Bar()));
    Settle(Bar());
    const auto up = ButtonFace(quit);
    ASSERT_TRUE(MouseAt(Centre(Rect(quit)), MOUSEEVENTF_LEFTDOWN));
    EXPECT_TRUE(WaitUntil([&] { return ButtonFace(quit) != up; }, 3000)) << "no pressed half";
    ASSERT_TRUE(MouseAt({Rect(Bar()).right + 60, Rect(Bar()).bottom + 60}, MOUSEEVENTF_LEFTUP));  // far from it
    ASSERT_TRUE(AnswerMessageBox(kAppTitle, kQuitQuestion, IDNO, 10000));
    EXPECT_TRUE(WaitUntil([&] { return ButtonFace(quit) == up; }, 3000)) << "the pressed half stays";
    EXPECT_TRUE(Responds(Bar()) && IsWindowVisible(Bar()));

    ASSERT_TRUE(ClickControl(Bar(), kIdImgButton5));
    EXPECT_TRUE(WaitVisible(Bar(), false));
}

}  // namespace
}  // namespace orv::e2e
