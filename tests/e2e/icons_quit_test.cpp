// Icons per desktop across a quit and the next start.
#include "e2e/driver.h"

namespace orv::e2e {
namespace {

using test::PlantTree;
using test::ReadTree;
using test::Tree;

// Faults: a quit on desktop 4 leaves its files on the Desktop and desktop 1's in OrvDesk1,
// so the next start files desktop 4's under desktop 1 and a same-named file replaces one.
TEST_F(AppTest, QuitOnDesktopFourWithIconsPerDesktopLeavesDesktopOnesFilesOnTheDesktop) {
    SetSetting("CONFIG", "SharedIcons", "False");
    const fs::path desk = PathFromUtf8(DesktopFolder());
    const Tree one = {{"one.txt", "1"}, {"same.txt", "one's"}, {"Work/plan.txt", "one's plan"}, {"Grüße 日本.txt", "ü"}};
    const Tree four = {{"four.txt", "4"}, {"same.txt", "four's"}, {"Work/todo.txt", "four's todo"}};
    PlantTree(desk, one);
    ASSERT_TRUE(Start());
    ClickDesk(4);
    PlantTree(desk, four);
    ASSERT_TRUE(Quit(IDYES));
    ASSERT_TRUE(App().WaitExit(10000));
    EXPECT_EQ(ReadTree(desk), one);
    EXPECT_EQ(ReadTree(IconFolder(4)), four);
    EXPECT_EQ(ReadTree(IconFolder(1)), Tree{});

    ASSERT_TRUE(Start());
    ClickDesk(4);
    EXPECT_EQ(ReadTree(desk), four);
    EXPECT_EQ(ReadTree(IconFolder(1)), one);
    ClickDesk(1);
    EXPECT_EQ(ReadTree(desk), one);
    EXPECT_EQ(ReadTree(IconFolder(4)), four);
}

}  // namespace
}  // namespace orv::e2e
