#include "controls/win/common_dlg_win.h"

#include <commdlg.h>

#include <string>

#include "base/win/log.h"

namespace orv {
namespace {

// The view command for one dialog, sent once to its file list.
struct ViewHook {
    std::int32_t command;
    bool sent = false;
};

// The explorer-style hook: a child dialog of the open-file dialog. Its notifications start
// once the file list exists, which is then told its view; every message gets the default.
UINT_PTR CALLBACK OpenFileHook(HWND dlg, UINT msg, WPARAM, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG) {
        auto* hook = lp ? reinterpret_cast<ViewHook*>(reinterpret_cast<const OPENFILENAMEW*>(lp)->lCustData) : nullptr;
        if (hook) hook->sent = false;
        SetWindowLongPtrW(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(hook));
    } else if (msg == WM_NOTIFY) {
        auto* hook = reinterpret_cast<ViewHook*>(GetWindowLongPtrW(dlg, DWLP_USER));
        if (hook && !hook->sent) {
            if (HWND list = FindWindowExW(GetParent(dlg), nullptr, L"SHELLDLL_DefView", nullptr)) {
                SendMessageW(list, WM_COMMAND, static_cast<WPARAM>(hook->command), 0);
                hook->sent = true;
            }
        }
    }
    return 0;
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

bool CCommonDlg::IsWin2000Plus() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // deprecated: the version test is the point here
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const bool queried = GetVersionExW(&info) != 0;
#if defined(__GNUC__) && !defined(_MSC_VER)
#pragma GCC diagnostic pop
#endif
    return cdlg::IsWin2000Plus(queried, info.dwPlatformId, info.dwMajorVersion);
}

void CCommonDlg::SetOSVersion() {
    structSize_ = IsWin2000Plus() ? sizeof(OPENFILENAMEW) : OPENFILENAME_SIZE_VERSION_400W;
}

bool CCommonDlg::VBGetOpenFileName(cdlg::OpenFileArgs& args) {
    apiReturn_ = 0;
    extendedError_ = 0;
    if (structSize_ == 0) SetOSVersion();

    const std::wstring filter = cdlg::ConvertFilter(args.filter);
    std::wstring file = cdlg::PathBuffer(args.filename);
    std::wstring title = cdlg::PathBuffer(args.fileTitle);
    ViewHook hook{args.shInitView};

    OPENFILENAMEW ofn{};
    ofn.lStructSize = structSize_;
    if (args.owner != cdlg::kNoOwner) ofn.hwndOwner = reinterpret_cast<HWND>(args.owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(args.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = cdlg::kPathChars;
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = cdlg::kPathChars;
    ofn.lpstrInitialDir = OrNull(args.initDir);
    ofn.lpstrTitle = OrNull(args.dlgTitle);
    ofn.lpstrDefExt = OrNull(args.defaultExt);
    ofn.Flags = cdlg::OpenFileFlags(args);
    ofn.FlagsEx = cdlg::OpenFileFlagsEx(args);  // read only with the full record
    if (cdlg::UsesViewHook(args)) {
        ofn.lpfnHook = OpenFileHook;
        ofn.lCustData = reinterpret_cast<LPARAM>(&hook);
    }

    apiReturn_ = GetOpenFileNameW(&ofn);
    cdlg::OpenFileOutcome outcome;
    outcome.apiReturn = apiReturn_;
    // A cancel leaves the library's code at 0; a failure sets it.
    if (apiReturn_ != 1) outcome.extendedError = CommDlgExtendedError();
    outcome.fileBuffer = file;
    outcome.titleBuffer = title;
    outcome.flags = ofn.Flags;
    outcome.filterIndex = static_cast<std::int32_t>(ofn.nFilterIndex);
    extendedError_ = static_cast<std::int32_t>(outcome.extendedError);
    if (extendedError_ != 0) Log("GetOpenFileNameW failed: extended error " + std::to_string(extendedError_));
    return cdlg::ApplyOpenFileOutcome(args, filter, outcome);
}

}  // namespace orv
