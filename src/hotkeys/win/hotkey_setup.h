// KHotKeySetup: the settings dialog's row for one hotkey: a captioned frame with the on box
// over the caption's leading blanks, the four modifier boxes and the key list. A row whose
// hotkey is on but held by another program says so, so the user picks another combination.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "hotkeys/hotkey_ctl.h"

namespace orv {

// The row's controls, by their identifiers within the row.
enum HotkeySetupControl : int {
    kSetupFrame = 10,  // FrameHK
    kSetupOn,          // chkHKOn
    kSetupCtrl,        // chkHK1 (0) .. (3)
    kSetupShift,
    kSetupAlt,
    kSetupWin,
    kSetupKey,         // cmbHK
    kSetupTaken,       // the mark of a combination another program holds
};

inline constexpr wchar_t kTakenText[] = L"Taken by another program";

class KHotKeySetup final : public Window {
public:
    // A row inside parent, tabbed into from the parent's keyboard; null on failure.
    static std::unique_ptr<KHotKeySetup> Create(HWND parent, int id);

    void SetCaption(const std::wstring& caption);
    void SetBackColor(COLORREF color);
    // The control's keys and state into the row; the key list gets its names first.
    void SetHKControls(const KHotKeyCtl& khk);
    // The row into the control, through its setters (which re-register its hotkey).
    void SaveHKControls(KHotKeyCtl& khk) const;

    static int Height(UINT dpi);
    void Layout(int x, int y, int width, UINT dpi, HFONT font);

private:
    KHotKeySetup() = default;
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void OnBoxChanged();  // the frame's controls follow the on box
    void ShowTaken(bool taken);
    void NameOnBox();
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    std::wstring caption_;
    COLORREF back_ = GetSysColor(COLOR_WINDOW);
    UniqueBrush brush_;
    HWND tips_ = nullptr;
    bool taken_ = false;
};

}  // namespace orv
