// The first start shows the bar before its default wallpapers are made.
#include "app/desktop_look.h"
#include "e2e/driver.h"
#include "settings/win/registry_mod.h"

namespace orv::e2e {
namespace {

// Faults: a desktop entered while the pictures are still being made keeps no wallpaper for
// good, or gets a torn file.
TEST_F(AppTest, ADesktopEnteredRightAfterTheFirstStartGetsItsDefaultWallpaper) {
    ASSERT_TRUE(Start());
    ClickDesk(6);  // the last picture made
    const std::string wall = DataPath("Wall6.bmp");
    EXPECT_TRUE(WaitUntil([&] { return RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper") == wall; }, 10000));
    EXPECT_EQ(test::ReadFile(PathFromUtf8(wall)).substr(0, 2), "BM");
}

}  // namespace
}  // namespace orv::e2e
