// The video player on the real media control interface, with the sample videos as shipped.
#include <gtest/gtest.h>

#include "common/test_files.h"
#include "video/win/mci_port.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

struct Player {
    Win32MediaControl port;
    OrvantaClass c{port};
    test::TempFolder folder;
    HWND window = CreateWindowExW(0, L"STATIC", L"orv video test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 330, 260, nullptr,
                                  nullptr, nullptr, nullptr);
    Player(const std::string& name, const std::string& content) {
        c.AliasName = test::UniqueName("orvvid");
        c.hwndParent = ToMciWindow(window);
        if (!content.empty()) test::WriteFile(folder.path() / name, content);
        c.SetFilename(folder / name);
    }
    ~Player() { c.setCommand(5), DestroyWindow(window); }
    std::uint32_t Status(const std::string& what, std::string& answer) { return port.SendString("status " + c.AliasName + " " + what, 256, answer); }
};

// Faults: the return buffer not read back (no mode), the short path or the parent handle lost
// in the conversion, the child style dropped, the window size not taken from the parent, a
// close that leaves the device open.
TEST(MciPort, EachSampleAviPlaysAsAChildOfItsWindowAndCloses) {
    for (const char* name : {"cubeturn2.avi", "Spheres2.avi"}) {
        Player p(name, test::ReadFile(std::string(ORV_SOURCE_DIR "/res/videos/") + name));
        EXPECT_EQ(p.c.OpenMediaFile(p.c.hwndParent, p.c.AliasName, "AVIVideo"), "Success") << name;
        EXPECT_EQ(p.c.MediaLength + " " + p.c.LENGTHFORMAT(1), "4 00:04");
        std::int32_t w = 0, h = 0;
        EXPECT_EQ(p.c.MoveVideoTo(p.c.hwndParent, 0, 0, w, h), "Success");
        EXPECT_EQ(std::pair(w, h), std::pair(330, 260));
        p.c.RePlayMEDIAFILE(0, true);
        EXPECT_EQ(p.c.getStatusInfo(2), "playing");
        HWND video = MciHwnd(std::stoi("0" + p.c.getStatusInfo(7)));
        EXPECT_TRUE(GetParent(video) == p.window && (GetWindowLongW(video, GWL_STYLE) & WS_CHILD)) << name;
        p.c.setCommand(1);
        EXPECT_EQ(p.c.getStatusInfo(2), "stopped");
        p.c.setCommand(5);
        std::string mode;
        EXPECT_NE(p.Status("mode", mode), 0u) << "still open after close: " << name;
    }
}

// Faults: the error code read as success, the system's text lost, a failed open that leaves a
// device behind under the alias.
TEST(MciPort, AMissingOrBrokenFileGivesTheErrorTextAndLeavesNothingOpen) {
    for (const auto& [name, content, type] : {std::tuple{"gone.avi", "", "AVIVideo"}, {"broken.avi", "RIFF\x10\x01\x01\x01AVI LIST junk", "AVIVideo"},
                                             {"gone.wmv", "", ""}}) {
        Player p(name, content);
        std::string text = p.c.OpenMediaFile(p.c.hwndParent, p.c.AliasName, type);
        EXPECT_TRUE(text != "Success" && text.size() > 10) << name << ": " << text;
        std::int32_t w = 0, h = 0;
        EXPECT_NE(p.c.MoveVideoTo(p.c.hwndParent, 0, 0, w, h), "Success");
        EXPECT_NE(p.c.LastError, 0u);
        std::string mode;
        EXPECT_NE(p.Status("mode", mode), 0u) << name;
    }
}

}  // namespace
}  // namespace orv
