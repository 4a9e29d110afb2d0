#include "app/flavour.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Flavour, SecondFlavourIsInForce) {
    const auto& f = CurrentFlavour();
    EXPECT_EQ(f.flavour, 2);
    EXPECT_STREQ(f.appName, "OrvantaZ");
    EXPECT_STREQ(f.appTitle, " Orvanta Solvane");
    EXPECT_EQ(f.desktopHotkeys, 6);
    EXPECT_TRUE(f.hasVideo);
    EXPECT_EQ(Flavour(1).desktopHotkeys, 4);
    EXPECT_STREQ(Flavour(1).iconFolderPrefix, "\\TessDesk");
}

TEST(Flavour, FoldersAreJoinedAsTheyStand) {
    const auto& f = CurrentFlavour();
    auto a = ResolveFolders(f, "C:\\Prog", "C:\\Users\\u\\Desktop", "C:\\Users\\u\\AppData\\Roaming");
    EXPECT_EQ(a.dataFolder, "C:\\Users\\u\\AppData\\Roaming\\Quillon\\Orvanta\\");
    // The suffix ends in a separator, so the joined paths hold a doubled one.
    EXPECT_EQ(a.WallpaperCopy(3), "C:\\Users\\u\\AppData\\Roaming\\Quillon\\Orvanta\\\\Wall3.bmp");
    EXPECT_EQ(a.IconFolder(f, 6), "C:\\Users\\u\\AppData\\Roaming\\Quillon\\Orvanta\\\\OrvDesk6");
    EXPECT_EQ(a.DefaultPicture(2), "C:\\Prog\\bg2.jpg");
    EXPECT_EQ(a.HelpFile(f), "C:\\Prog\\Orvanta.pdf");

    auto noAppData = ResolveFolders(f, "C:\\Prog", "", "");
    EXPECT_EQ(noAppData.dataBase, "C:\\Prog");
    EXPECT_EQ(noAppData.dataFolder, "C:\\Prog\\Quillon\\Orvanta\\");
}

}  // namespace
}  // namespace orv
