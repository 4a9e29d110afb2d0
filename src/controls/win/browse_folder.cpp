#include "controls/win/browse_folder.h"

#include <ole2.h>
#include <shlobj.h>

#include "app/win/app_paths.h"
#include "base/win/handles.h"
#include "base/win/utf.h"
#include "controls/common_dlg.h"

namespace orv {
namespace {

// LastBrowseFolder lives for the whole run; the dialogs run on the user-interface thread.
cdlg::BrowseFolderState& State() {
    static cdlg::BrowseFolderState state;
    return state;
}

// OLE on this thread for the new dialog style, for the dialog's lifetime.
class OleScope {
public:
    OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    ~OleScope() {
        if (ok_) OleUninitialize();
    }

private:
    bool ok_;
};

// The file-system path of an item, empty when it has none.
std::wstring PathOf(LPCITEMIDLIST item) {
    wchar_t buffer[cdlg::kPathChars] = {};
    if (!SHGetPathFromIDListW(item, buffer)) return {};
    return cdlg::BeforeNul({buffer, cdlg::kPathChars});
}

int CALLBACK BrowseCallback(HWND dlg, UINT msg, LPARAM lp, LPARAM data) noexcept {
    auto& state = *reinterpret_cast<cdlg::BrowseFolderState*>(data);
    try {
        if (msg == BFFM_INITIALIZED) {
            const std::wstring start = state.LastBrowseFolder();
            SendMessageW(dlg, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start.c_str()));
            state.OnInitialized();
        } else if (msg == BFFM_SELCHANGED) {
            if (state.OnSelectionChanged(PathOf(reinterpret_cast<LPCITEMIDLIST>(lp))))
                SendMessageW(dlg, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(state.LastBrowseFolder().c_str()));
        }
    } catch (...) {  // out of memory: the dialog goes on without the status text
    }
    return 0;
}

}  // namespace

std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& startFolder) {
    cdlg::BrowseFolderState& state = State();
    state.Begin(startFolder, Widen(ProgramFolder()));
    OleScope ole;

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = cdlg::kBrowseFlags;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);
    const UniqueTaskMem<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
    return chosen ? PathOf(chosen.get()) : std::wstring();
}

}  // namespace orv
