// CtlVideoOption: one desktop's row in the video settings dialog: a captioned frame with the
// on box over the caption's leading blanks, the video file with its label and a Browse
// button that opens the open-file dialog, and the Sound and Repeat boxes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "video/video_options.h"

namespace orv {

// The row's controls, by their identifiers within the row.
enum VideoOptionControl : int {
    kVoFrame = 10,  // FrameV
    kVoOn,          // chFrameOn
    kVoFileLabel,   // "Video File"
    kVoFile,        // txtFilePath
    kVoBrowse,      // cmdVideoPath
    kVoSound,       // chkSound
    kVoRepeat,      // chkRepeat
};

// The open-file dialog of Browse.
inline constexpr wchar_t kVideoBrowseTitle[] = L"Load Image";
inline constexpr wchar_t kVideoBrowseFilter[] = L"Video Files|*.avi;*.wmv;*.mpg|All Files|*.*";

class CtlVideoOption final : public Window {
public:
    // A row inside parent, tabbed into from the parent's keyboard; null on failure.
    static std::unique_ptr<CtlVideoOption> Create(HWND parent, int id);

    void Init(int myId) { myId_ = myId; }  // the desktop, 1 to 6
    int MyId() const { return myId_; }
    void SetCaption(const std::wstring& caption);
    const std::wstring& Caption() const { return caption_; }
    void SetBackColor(COLORREF color);
    COLORREF BackColor() const { return back_; }

    // The record of desktop MyId() into the controls (the frame follows the on box).
    void ReadSetting(const VideoOptions& options);
    // What the controls show, as a record.
    VideoOptionRecord Row() const;
    // Browse: a chosen file replaces the text; a cancel or a failure leaves it.
    void Browse();

    static int Height(UINT dpi);
    void Layout(int x, int y, int width, UINT dpi, HFONT font);

private:
    CtlVideoOption() = default;
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Check(int id, bool on) const { SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    void OnBoxChanged() const;  // the frame's controls follow the on box
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    int myId_ = 0;
    std::wstring caption_;
    COLORREF back_ = GetSysColor(COLOR_WINDOW);
    UniqueBrush brush_;
};

}  // namespace orv
