// The video settings dialog on a test window, driven through its own loop: the rows, OK,
// Escape, the close image and Browse with the real open-file dialog.
#include "video/win/frm_video_options.h"

#include <gtest/gtest.h>
#include <dlgs.h>

#include <functional>
#include <vector>

#include "base/win/utf.h"
#include "common/test_files.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

using namespace std::string_literals;
using Step = std::function<void(HWND)>;

// Steps run one per tick of a thread timer while the dialog's loop runs (also inside the
// open-file dialog's loop); the last closes it.
std::vector<Step> g_steps;
size_t g_next = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    const HWND dlg = FindWindowW(kVideoOptionsClass, nullptr);
    if (!dlg) return;
    if (g_next < g_steps.size()) return g_steps[g_next++](dlg);
    ADD_FAILURE() << "the dialog is still open";
    PostMessageW(dlg, WM_CLOSE, 0, 0);
}
HWND Row(HWND dlg, int desk, int id) { return GetDlgItem(GetDlgItem(dlg, kVidRow0 + desk - 1), id); }
std::wstring Text(HWND w) { wchar_t t[300] = {}; return GetWindowTextW(w, t, 300), t; }
bool Checked(HWND w) { return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Key(HWND dlg, WPARAM vk) { for (UINT m : {WM_KEYDOWN, WM_KEYUP}) PostMessageW(GetFocus() ? GetFocus() : dlg, m, vk, 0); }
void Click(HWND w) { PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4)), PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(4, 4)); }
HWND OpenFileDialog() { const HWND d = FindWindowW(L"#32770", nullptr); return IsWindowVisible(d) ? d : nullptr; }

struct Bench {
    HWND bar = CreateWindowW(L"STATIC", L" Bar caption", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    VideoOptions options;
    int applied = 0;
    VideoOptionsContext ctx{options, [] { return 2; }, bar, nullptr, [this] { ++applied; }};
    Bench() { for (int d = 1; d <= 6; ++d) options[d] = {d % 2 == 0, d == 2, d != 3, "C:\\V\\Ä" + std::to_string(d) + ".WMV"}; }
    ~Bench() { DestroyWindow(bar); }
    VideoDialogResult Run(std::vector<Step> steps) {
        g_steps = std::move(steps), g_next = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 60, &Tick);
        const VideoDialogResult r = FrmVideoOptions::Show(bar, ctx);
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_next, g_steps.size()) << "steps left";
        return r;
    }
};

auto Fields(const VideoOptionRecord& r) { return std::tuple(r.on, r.sound, r.repeat, r.file); }

// The rows as the dialog shows them, checked against records (desktops 1 to 6 at 1..6), with
// their captions; a row's controls are enabled exactly when its on box is ticked.
VideoOptionRows Shown(HWND dlg, const VideoOptionRecord* want = nullptr) {
    VideoOptionRows rows;
    for (int d = 1; d <= 6; ++d) {
        rows[d - 1] = {Checked(Row(dlg, d, kVoOn)), Checked(Row(dlg, d, kVoSound)), Checked(Row(dlg, d, kVoRepeat)),
                       Narrow(Text(Row(dlg, d, kVoFile)))};
        EXPECT_EQ(std::tuple(IsWindowEnabled(Row(dlg, d, kVoBrowse)) != 0, Text(Row(dlg, d, kVoFrame))),
                  std::tuple(rows[d - 1].on, L"      Orvanta " + std::to_wstring(d))) << d;
        if (want) {
            EXPECT_EQ(Fields(rows[d - 1]), Fields(want[d])) << d;
        }
    }
    return rows;
}

// Faults: a row showing another desktop's record or not its caption, a row's controls not
// following its on box, the dialog not topmost or without the bar's caption; OK not writing
// another desktop's row, applying for it or for a case-only change, not applying for a real
// change of the current desktop; Enter not being OK; Escape or the close image writing
// anything or applying; Escape closing on its press.
TEST(FrmVideoOptions, OkWritesEveryRowAndAppliesOnlyARealChangeOfTheCurrentDesktop) {
    const Step ok = [](HWND dlg) { Click(GetDlgItem(dlg, IDOK)); }, enter = [](HWND dlg) { Key(dlg, VK_RETURN); };
    const std::vector<Step> escape = {[](HWND dlg) { PostMessageW(dlg, WM_KEYDOWN, VK_ESCAPE, 0); }, [](HWND dlg) {
        EXPECT_TRUE(IsWindowVisible(dlg)) << "closed on the press";
        PostMessageW(dlg, WM_KEYUP, VK_ESCAPE, 0);
    }};
    const struct {
        const char* name;
        Step edit;
        std::vector<Step> close;
        bool written, isChanged;
    } cases[] = {
        {"another desktop", [](HWND dlg) { PostMessageW(Row(dlg, 3, kVoOn), BM_CLICK, 0, 0); }, {ok}, true, false},
        {"case only", [](HWND dlg) { SetWindowTextW(Row(dlg, 2, kVoFile), L"c:\\v\\ä2.wmv"); }, {enter}, true, false},
        {"current desktop", [](HWND dlg) { PostMessageW(Row(dlg, 2, kVoRepeat), BM_CLICK, 0, 0); }, {ok}, true, true},
        {"escape", [](HWND dlg) { PostMessageW(Row(dlg, 2, kVoOn), BM_CLICK, 0, 0); }, escape, false, false},
        {"close image", [](HWND dlg) { SetWindowTextW(Row(dlg, 2, kVoFile), L"D:\\x.avi"); },
         {[](HWND dlg) { Click(GetDlgItem(dlg, kVidClose)); }}, false, false},
    };
    for (const auto& c : cases) {
        Bench b;
        const VideoOptions before = b.options;
        VideoOptionRows shown;
        std::vector<Step> steps{[&](HWND dlg) {
                                    EXPECT_EQ(std::tuple(Text(dlg), (GetWindowLongW(dlg, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0),
                                              std::tuple(L" Bar caption"s, true));
                                    Shown(dlg, before.data());
                                },
                                c.edit, [&](HWND dlg) { shown = Shown(dlg); }};
        steps.insert(steps.end(), c.close.begin(), c.close.end());
        const VideoDialogResult r = b.Run(steps);
        EXPECT_EQ(std::tuple(r.IsOk, r.IsChanged, b.applied), std::tuple(c.written, c.isChanged, c.isChanged ? 1 : 0)) << c.name;
        for (int d = 1; d <= 6; ++d) EXPECT_EQ(Fields(b.options[d]), Fields(c.written ? shown[d - 1] : before[d])) << c.name << d;
    }
}

// Faults: Browse not opening the open-file dialog with its title and video filter, not at
// the current folder or not with the row's text; a chosen file not taken, a cancel clearing it.
TEST(FrmVideoOptions, BrowseFillsTheFileFromTheOpenFileDialog) {
    test::TempFolder dir;
    test::WriteFile(dir.path() / "clip.avi", "RIFF");
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    Bench b;
    std::wstring title, filter, initial;
    const Step browse = [](HWND dlg) { PostMessageW(Row(dlg, 6, kVoBrowse), BM_CLICK, 0, 0); };
    const auto press = [](int id) { return [id](HWND) { PostMessageW(OpenFileDialog(), WM_COMMAND, id, 0); }; };
    b.Run({browse, [&](HWND) {
               const HWND d = test::WaitFor([] { return OpenFileDialog() != nullptr; }, 3000) ? OpenFileDialog() : nullptr;
               title = Text(d), filter = Text(GetDlgItem(d, cmb1)), initial = Text(GetDlgItem(d, edt1));
               SetDlgItemTextW(d, edt1, L"clip.avi");
           },
           press(IDOK), browse, [](HWND) { test::WaitFor([] { return OpenFileDialog() != nullptr; }, 3000); }, press(IDCANCEL),
           [&](HWND dlg) {
               EXPECT_EQ(Text(Row(dlg, 6, kVoFile)), (dir.path() / "clip.avi").wstring());
               Key(dlg, VK_RETURN);
           }});
    std::filesystem::current_path(cwd);
    // The dialog shows the initial file's name without its folder.
    EXPECT_EQ(std::tuple(title, filter, initial), std::tuple(L"Load Image"s, L"Video Files"s, L"Ä6.WMV"s));
    EXPECT_EQ(b.options[6].file, Narrow((dir.path() / "clip.avi").wstring()));
}

}  // namespace
}  // namespace orv
