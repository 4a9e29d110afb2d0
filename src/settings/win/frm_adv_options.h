// frmAdvOptions: the settings dialog. Shown modally with the bar as owner, it edits the
// general options, the seven hotkeys and the snapshot options; there is no cancel: OK, the
// close image, Escape and every other way of closing apply what it shows.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "hotkeys/hotkey_ctl.h"
#include "hotkeys/win/hotkey_setup.h"
#include "settings/settings.h"

namespace orv {

struct AdvOptionsContext {
    Settings& settings;
    std::array<KHotKeyCtl*, 7> hotkeys;  // KHK 0, then KHKD 0..5; a null entry: that row is hidden
    SettingsStore& store;
    std::function<void(bool)> setAutoStart;
    std::wstring helpFile;
    // The chosen folder, or empty when the user cancelled.
    std::function<std::wstring(HWND owner, const std::wstring& title, const std::wstring& start)> browseForFolder;
    HWND bar;  // its caption and icon become the dialog's
};

// Child control identifiers.
enum AdvOptionsControl : int {
    kAdvOk = IDOK,  // cmdOk
    kAdvTitle = 100,  // lblTitle
    kAdvClose,        // imgButton
    kAdvGeneral,      // FrmSettings
    kAdvStartup,      // chkStartup
    kAdvSharedIcons,  // chkSharedIcons
    kAdvTrayTips,     // chkTrayTips
    kAdvDesk0,        // KHKSetupDesk (0) .. (5)
    kAdvSnapFrame = kAdvDesk0 + 6,  // FrameSnap, drawn by the dialog
    kAdvSnapSetup,    // KHKSnapSetup
    kAdvSnapSound,    // chkSnapSound
    kAdvShowZoom,     // chkShowZoom
    kAdvAutoSave,     // chkSnapAutoSave
    kAdvPreview,      // chkSnapPreview
    kAdvBmp,          // OptSnap (0)
    kAdvJpg,          // OptSnap (1)
    kAdvPathLabel,    // lblStSnap "Save Path"
    kAdvPath,         // txtSnapFilePath
    kAdvBrowse,       // cmdSnapPath
    kAdvPrefixLabel,  // lblStSnap "File Name"
    kAdvPrefix,       // TxtSnapFilePrefix
    kAdvCount,        // txtSnapCount
    kAdvQualityLabel, // lblStSnap "Quality"
    kAdvQuality,      // txtJpgQuality
    kAdvSpinner,      // vsJpgQuality
    kAdvHelp,         // cmdHelp
};

inline constexpr wchar_t kAdvOptionsClass[] = L"OrvantaAdvOptions";

class FrmAdvOptions final : public Window {
public:
    // Shows the dialog and returns when it has applied and closed.
    static void Show(HWND owner, AdvOptionsContext& context);

    ~FrmAdvOptions() override;

private:
    explicit FrmAdvOptions(AdvOptionsContext& context) : ctx_(context) {}
    bool Build(HWND owner);
    bool MakeControls();
    void Load();
    void Layout(UINT dpi);
    void Apply();
    void Help();
    void Browse();
    void QualityChanged();
    bool PreTranslate(MSG& m);
    void NameForScreenReaders();
    void Paint(HDC dc);
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Check(int id, bool on) const { SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    std::wstring Text(int id) const;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    AdvOptionsContext& ctx_;
    std::unique_ptr<KHotKeySetup> snapSetup_;
    std::array<std::unique_ptr<KHotKeySetup>, 6> deskSetup_;
    HWND tips_ = nullptr;
    HICON icon_ = nullptr;
    UniqueFont font_, titleFont_;
    UniqueBrush page_;
    UINT dpi_ = 96;
    int footerTop_ = 0;
    bool done_ = false;
    bool escapeDown_ = false;
    HWND lastFocus_ = nullptr;
    HRESULT com_ = E_FAIL;                 // this thread's COM, for the names below
    ComPtr<IAccPropServices> accProps_;    // names of the boxes without a label of their own
};

}  // namespace orv
