#include "app/file_shelf.h"

#include <gtest/gtest.h>

#include <random>

#include "base/paths.h"
#include "common/test_files.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

class FileShelf : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        root_ = fs::temp_directory_path() / ("orv-shelf-" + std::to_string(rd()));
        fs::create_directories(root_ / "desk");
        fs::create_directories(root_ / "icons");
    }
    void TearDown() override { fs::remove_all(root_); }
    static void Write(const fs::path& p, const std::string& text) { test::WriteFile(p, text); }
    static std::string Read(const fs::path& p) { return test::ReadFile(p); }
    fs::path root_;
};

TEST_F(FileShelf, EverythingMovesFilesAndFolders) {
    Write(root_ / "desk" / "a.txt", "a");
    Write(root_ / "desk" / "sub" / "deep" / "b.txt", "b");
    fs::create_directories(root_ / "desk" / "empty");
    MoveResult r = MoveAllEntries(root_ / "desk", root_ / "icons");
    EXPECT_EQ(r.skipped, 0);
    EXPECT_TRUE(fs::is_empty(root_ / "desk"));
    EXPECT_EQ(Read(root_ / "icons" / "a.txt"), "a");
    EXPECT_EQ(Read(root_ / "icons" / "sub" / "deep" / "b.txt"), "b");
    EXPECT_TRUE(fs::is_directory(root_ / "icons" / "empty"));
}

TEST_F(FileShelf, ArrivingFileReplacesAndFoldersMerge) {
    Write(root_ / "icons" / "same.txt", "arriving");
    Write(root_ / "desk" / "same.txt", "old");
    Write(root_ / "icons" / "dir" / "new.txt", "new");
    Write(root_ / "icons" / "dir" / "both.txt", "arriving");
    Write(root_ / "desk" / "dir" / "kept.txt", "kept");
    Write(root_ / "desk" / "dir" / "both.txt", "old");
    MoveResult r = MoveAllEntries(root_ / "icons", root_ / "desk");
    EXPECT_EQ(r.skipped, 0);
    EXPECT_TRUE(fs::is_empty(root_ / "icons"));
    EXPECT_EQ(Read(root_ / "desk" / "same.txt"), "arriving");
    EXPECT_EQ(Read(root_ / "desk" / "dir" / "new.txt"), "new");
    EXPECT_EQ(Read(root_ / "desk" / "dir" / "both.txt"), "arriving");
    EXPECT_EQ(Read(root_ / "desk" / "dir" / "kept.txt"), "kept");
}

TEST_F(FileShelf, FileAndFolderOfOneNameAreBothKept) {
    Write(root_ / "desk" / "x", "file");
    Write(root_ / "icons" / "x" / "inner.txt", "in");
    MoveResult r = MoveAllEntries(root_ / "desk", root_ / "icons");
    EXPECT_EQ(r.skipped, 1);
    EXPECT_EQ(Read(root_ / "desk" / "x"), "file");
    EXPECT_EQ(Read(root_ / "icons" / "x" / "inner.txt"), "in");
}

TEST_F(FileShelf, NonAsciiNamesMove) {
    const fs::path name = PathFromUtf8("Grüße – 日本.txt");
    Write(root_ / "desk" / name, "u");
    MoveAllEntries(root_ / "desk", root_ / "icons");
    EXPECT_EQ(Read(root_ / "icons" / name), "u");
    EXPECT_EQ(Utf8FromPath(name), "Grüße – 日本.txt");
}

TEST_F(FileShelf, MissingSourceOrTargetIsSafe) {
    EXPECT_EQ(MoveAllEntries(root_ / "nowhere", root_ / "icons").moved, 0);
    Write(root_ / "desk" / "a.txt", "a");
    MoveAllEntries(root_ / "desk", root_ / "made" / "later");
    EXPECT_EQ(Read(root_ / "made" / "later" / "a.txt"), "a");
}

TEST(PatternFolder, StripsTheWildcard) {
    EXPECT_EQ(PatternFolder("C:\\Desk\\*"), "C:\\Desk");
    EXPECT_EQ(PatternFolder("/tmp/x/*"), "/tmp/x");
    EXPECT_EQ(PatternFolder("C:\\Desk"), "C:\\Desk");
    EXPECT_EQ(PatternFolder("*"), "*");
}

}  // namespace
}  // namespace orv
