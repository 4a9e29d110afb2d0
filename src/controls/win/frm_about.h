// frmAbout: the product name, the version, the years and the maker, and a link to the
// maker's web page. Not modal, one at a time: asking for it again brings the open one
// forward. Escape, Enter and "&Close" close it.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/handles.h"
#include "base/win/window_base.h"

namespace orv {

inline constexpr wchar_t kMakerWebAddress[] = L"https://www.quillon.example/orvanta";
inline constexpr wchar_t kAboutCopyright[] = L"\u00A9 2019\u20132026 Quillon";

// Child control identifiers.
enum AboutControl : int {
    kAboutAppName = 101,  // LblAppName
    kAboutVersion,        // lblVersion
    kAboutCopyR,          // lblCopyR
    kAboutUrlText,        // LblUrl
    kAboutUrlPicture,     // PicUrl
    kAboutClose,          // Command1
};

class FrmAbout final : public Window {
public:
    // Shows the box with the product's icon (owned by owner, which may be null), or brings
    // the open one forward. Returns its window, null on failure.
    static HWND Show(HICON icon, HWND owner = nullptr);
    // Closes the open box, if any (the tray icon's left click; shutdown). Not from inside
    // the box's own messages.
    static void Close();
    // The open box's window; null when none is open.
    static HWND Current();

    // "Version: " and major.minor.revision of the exe's version resource, plain decimals.
    static std::wstring VersionText();

    ~FrmAbout() override;

private:
    FrmAbout() = default;
    bool Build(HICON icon, HWND owner);
    void Layout(UINT dpi);
    void MakeLinkPictures(UINT dpi);
    void SetLinkHighlight(bool on);
    void OpenLink();
    void Paint(HDC dc);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    static LRESULT CALLBACK LinkProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) noexcept;
    static LRESULT CALLBACK KeyProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) noexcept;

    HICON icon_ = nullptr;
    HICON sizedIcon_ = nullptr;  // the product icon loaded at the layout's size, when the exe has it
    HWND picUrl_ = nullptr;
    bool urlActive_ = false;  // PicUrl's tag "1": the highlighted picture shows
    std::wstring linkAddress_;
    UniqueBitmap picUrlNormal_, picUrlActive_;
    UniqueFont nameFont_, textFont_, smallFont_;
    UINT dpi_ = 96;
    int footerTop_ = 0;
};

}  // namespace orv
