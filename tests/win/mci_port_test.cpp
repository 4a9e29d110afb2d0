// The video player on the real media control interface, run by the media process, with the
// sample videos as shipped.
#include <gtest/gtest.h>

#include "common/test_files.h"
#include "base/win/handles.h"
#include "base/win/utf.h"
#include "video/win/media_process.h"

namespace orv {
namespace {
using namespace std::string_literals;

// Faults: the return buffer not read back (no mode), the short path or the parent handle lost
// on the way, the child style dropped, the error code read as success or its text lost, a
// close or a failed open that leaves a device open under the alias; the device opened in the
// program's own process, a command or its answer lost on the way there and back, a media
// process that died never replaced.
TEST(MciPort, SampleAvisPlayAsChildrenAndMissingOrBrokenFilesGiveTheErrorTextAndLeaveNothingOpen) {
    auto port = MediaProcess::Create(Widen(ORV_PROGRAM));
    ASSERT_TRUE(port);
    for (auto [name, content] : {std::pair{"cubeturn2.avi", ""}, {"Spheres2.avi", ""}, {"gone.avi", ""}, {"broken.avi", "RIFF\x10\x01\x01\x01AVI LIST junk"}}) {
        test::TempFolder t;
        const bool sample = name[0] != 'g' && name[0] != 'b';
        if (name[0] != 'g') test::WriteFile(t.path() / name, sample ? test::ReadFile(ORV_SOURCE_DIR "/res/videos/"s + name) : content);
        HWND window = CreateWindowExW(0, L"STATIC", L"orv video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 330, 260, nullptr, nullptr, nullptr, nullptr);
        OrvantaClass c{*port};
        c.AliasName = test::UniqueName("orvvid"), c.hwndParent = ToMciWindow(window), c.SetFilename(t / name);
        std::string open = c.OpenMediaFile(c.hwndParent, c.AliasName, "AVIVideo"), mode;
        std::int32_t w = 0, h = 0;
        EXPECT_EQ(std::tuple(open == "Success", open.size() > 10, c.MoveVideoTo(c.hwndParent, 0, 0, w, h) == "Success", c.MediaLength),
                  std::tuple(sample, !sample, sample, sample ? "4" : "0")) << name << ": " << open;
        c.RePlayMEDIAFILE(0, true);
        HWND video = MciHwnd(std::atoi(c.getStatusInfo(7).c_str()));
        DWORD owner = 0;
        GetWindowThreadProcessId(video, &owner);
        EXPECT_EQ(std::tuple(c.getStatusInfo(2), GetParent(video) == window && (GetWindowLongW(video, GWL_STYLE) & WS_CHILD), owner == port->ProcessId() && owner != GetCurrentProcessId(), w, h),
                  sample ? std::tuple("playing"s, true, true, 330, 260) : std::tuple(""s, false, false, 330, 260)) << name;
        c.setCommand(5), DestroyWindow(window);
        EXPECT_NE(port->SendString("status " + c.AliasName + " mode", 256, mode), 0u) << "still open: " << name;
    }
    // A media process that died: the next command starts another.
    const DWORD first = port->ProcessId();
    UniqueHandle dead(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, first));
    ASSERT_TRUE(dead && TerminateProcess(dead.get(), 1) && WaitForSingleObject(dead.get(), 5000) == WAIT_OBJECT_0);
    test::TempFolder t;
    test::WriteFile(t.path() / "cubeturn2.avi", test::ReadFile(ORV_SOURCE_DIR "/res/videos/cubeturn2.avi"));
    OrvantaClass c{*port};
    c.AliasName = test::UniqueName("orvvid"), c.SetFilename(t / "cubeturn2.avi");
    HWND window = CreateWindowExW(0, L"STATIC", L"orv video", WS_OVERLAPPEDWINDOW, 20, 20, 330, 260, nullptr, nullptr, nullptr, nullptr);
    const std::string open = c.OpenMediaFile(ToMciWindow(window), c.AliasName, "AVIVideo");
    EXPECT_EQ(std::tuple(open, c.getStatusInfo(2), port->ProcessId() != first), std::tuple("Success"s, "stopped"s, true));
    c.setCommand(5), DestroyWindow(window);
}

}  // namespace
}  // namespace orv
