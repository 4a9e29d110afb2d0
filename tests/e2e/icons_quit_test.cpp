#include "e2e/driver.h"

namespace orv::e2e {
namespace {

// Fault: a quit on desktop 4 leaves its files on the Desktop and desktop 1's in OrvDesk1, so
// the next start files desktop 4's under desktop 1, where a same-named file meets another.
TEST_F(AppTest, QuitOnDesktopFourWithIconsPerDesktopLeavesDesktopOnesFilesOnTheDesktop) {
    using test::ReadTree, test::Tree;
    SetSetting("CONFIG", "SharedIcons", "False");
    const fs::path desk = PathFromUtf8(DesktopFolder());
    const Tree one = {{"one.txt", "1"}, {"same.txt", "one's"}, {"Work/plan.txt", "plan"}, {"Grüße 日本.txt", "ü"}};
    const Tree four = {{"four.txt", "4"}, {"same.txt", "four's"}, {"Work/todo.txt", "todo"}};
    test::PlantTree(desk, one);
    for (const int desktop : {4, 1}) {  // quit there, start again, then over to 4 and back to 1
        ASSERT_TRUE(Start());
        ClickDesk(4);
        if (desktop == 4) test::PlantTree(desk, four);
        EXPECT_EQ(ReadTree(desk), four);
        ClickDesk(desktop);
        ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
        EXPECT_EQ(ReadTree(desk), one);
        EXPECT_EQ(ReadTree(IconFolder(4)), four);
        EXPECT_EQ(ReadTree(IconFolder(1)), Tree{});
    }
}

}  // namespace
}  // namespace orv::e2e
