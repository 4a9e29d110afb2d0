// The video player on the real media control interface, with the sample videos as shipped.
#include <gtest/gtest.h>

#include "common/test_files.h"
#include "video/win/mci_port.h"

namespace orv {
namespace {
using namespace std::string_literals;

// Faults: the return buffer not read back (no mode), the short path or the parent handle lost
// on the way, the child style dropped, the error code read as success or its text lost, a
// close or a failed open that leaves a device open under the alias.
TEST(MciPort, SampleAvisPlayAsChildrenAndMissingOrBrokenFilesGiveTheErrorTextAndLeaveNothingOpen) {
    for (auto [name, content] : {std::pair{"cubeturn2.avi", ""}, {"Spheres2.avi", ""}, {"gone.avi", ""}, {"broken.avi", "RIFF\x10\x01\x01\x01AVI LIST junk"}}) {
        test::TempFolder t;
        const bool sample = name[0] != 'g' && name[0] != 'b';
        if (name[0] != 'g') test::WriteFile(t.path() / name, sample ? test::ReadFile(ORV_SOURCE_DIR "/res/videos/"s + name) : content);
        HWND window = CreateWindowExW(0, L"STATIC", L"orv video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 330, 260, nullptr, nullptr, nullptr, nullptr);
        Win32MediaControl port;
        OrvantaClass c{port};
        c.AliasName = test::UniqueName("orvvid"), c.hwndParent = ToMciWindow(window), c.SetFilename(t / name);
        std::string open = c.OpenMediaFile(c.hwndParent, c.AliasName, "AVIVideo"), mode;
        std::int32_t w = 0, h = 0;
        EXPECT_EQ(std::tuple(open == "Success", open.size() > 10, c.MoveVideoTo(c.hwndParent, 0, 0, w, h) == "Success", c.MediaLength),
                  std::tuple(sample, !sample, sample, sample ? "4" : "0")) << name << ": " << open;
        c.RePlayMEDIAFILE(0, true);
        HWND video = MciHwnd(std::atoi(c.getStatusInfo(7).c_str()));
        EXPECT_EQ(std::tuple(c.getStatusInfo(2), GetParent(video) == window && (GetWindowLongW(video, GWL_STYLE) & WS_CHILD), w, h),
                  sample ? std::tuple("playing"s, true, 330, 260) : std::tuple(""s, false, 330, 260)) << name;
        c.setCommand(5), DestroyWindow(window);
        EXPECT_NE(port.SendString("status " + c.AliasName + " mode", 256, mode), 0u) << "still open: " << name;
    }
}

}  // namespace
}  // namespace orv
