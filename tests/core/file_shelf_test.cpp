#include "app/file_shelf.h"

#include <gtest/gtest.h>

#include "common/test_files.h"

namespace orv {
namespace {

using test::PlantTree;
using test::ReadTree;
using test::Tree;

TEST(MoveAllEntries, FilesReplaceFoldersMergeAndAFileMeetingAFolderStays) {
    test::TempFolder t;
    PlantTree(t.path() / "icons", {{"same.txt", "arriving"}, {"dir/deep/new.txt", "new"}, {"dir/both.txt", "arriving"},
                                   {"empty/", ""}, {"x", "file"}});
    PlantTree(t.path() / "desk", {{"same.txt", "old"}, {"dir/kept.txt", "kept"}, {"dir/both.txt", "old"},
                                  {"x/inner.txt", "in"}});
    EXPECT_EQ(MoveAllEntries(t.path() / "icons", t.path() / "desk").skipped, 1);
    EXPECT_EQ(ReadTree(t.path() / "icons"), (Tree{{"x", "file"}}));
    EXPECT_EQ(ReadTree(t.path() / "desk"), (Tree{{"same.txt", "arriving"}, {"dir/deep/new.txt", "new"},
                                                 {"dir/both.txt", "arriving"}, {"dir/kept.txt", "kept"},
                                                 {"empty/", ""}, {"x/inner.txt", "in"}}));
}

TEST(MoveAllEntries, AMissingSourceDoesNothingAndAMissingTargetIsMade) {
    test::TempFolder t;
    EXPECT_EQ(MoveAllEntries(t.path() / "nowhere", t.path() / "icons").moved, 0);
    PlantTree(t.path() / "desk", {{"a.txt", "a"}});
    EXPECT_EQ(MoveAllEntries(t.path() / "desk", t.path() / "made" / "later").moved, 1);
    EXPECT_EQ(ReadTree(t.path()), (Tree{{"desk/", ""}, {"made/later/a.txt", "a"}}));
}

}  // namespace
}  // namespace orv
