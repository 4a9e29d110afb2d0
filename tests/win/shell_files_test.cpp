#include <gtest/gtest.h>

#include "app/win/shell_files.h"
#include "base/win/handles.h"
#include "common/test_files.h"

namespace orv {
namespace {

using test::PlantTree;
using test::ReadTree;
using test::Tree;

// The shell's own move leaves a folder behind when the target holds one of that name.
TEST(ShellMoveFiles, FoldersMergeFilesReplaceNonAsciiNamesMoveAndNothingIsLeftBehind) {
    test::TempFolder t;
    PlantTree(t.path() / "Desktop", {{"note.txt", "on desktop"}, {"Projects/a.txt", "kept"}, {"Projects/same.txt", "old"}});
    PlantTree(t.path() / "OrvDesk2", {{"note.txt", "arriving"}, {"Projects/same.txt", "arriving"},
                                      {"Projects/Deep/b.txt", "deep"}, {"Übersicht – 日本/ß.txt", "unicode"}});
    ShellMoveFiles(t / "OrvDesk2" + "\\*", t / "Desktop");
    EXPECT_EQ(ReadTree(t.path() / "OrvDesk2"), Tree{});
    EXPECT_EQ(ReadTree(t.path() / "Desktop"), (Tree{{"note.txt", "arriving"}, {"Projects/a.txt", "kept"},
                                                    {"Projects/same.txt", "arriving"}, {"Projects/Deep/b.txt", "deep"},
                                                    {"Übersicht – 日本/ß.txt", "unicode"}}));
}

TEST(ShellMoveFiles, AMissingSourceOrAnOpenFileLosesNothing) {
    test::TempFolder t;
    ShellMoveFiles(t / "nowhere\\*", t / "target");  // nothing to do, nothing thrown
    EXPECT_EQ(ReadTree(t.path()), Tree{});
    PlantTree(t.path() / "src", {{"locked.txt", "busy"}, {"free.txt", "free"}});
    // Held open without delete sharing, a file can neither move nor be removed.
    UniqueHandle h(CreateFileW((t.path() / "src" / "locked.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(h.get(), INVALID_HANDLE_VALUE);
    ShellMoveFiles(t / "src\\*", t / "dst");
    h.reset();
    EXPECT_EQ(ReadTree(t.path() / "src"), (Tree{{"locked.txt", "busy"}}));
    EXPECT_EQ(ReadTree(t.path() / "dst")["free.txt"], "free");
}

}  // namespace
}  // namespace orv
